#pragma once

// The conversion of one point from one coordinate system into another, one function per pair of
// systems. Geographic coordinates are (latitude, longitude, height) in radians and metres,
// geocentric ones (X, Y, Z), plane ones (northing, easting, height). Zone parameters are as the
// dispatcher passes them: Zone65 the 1965 zone, Meridian packed DDMMSS, ZoneCode the 2000 zone
// (1-4, 0 chosen from the point) or 5 for the 1992 system; S the UTM strip (1-6, 0 chosen from the
// point); K the Warszawa system code (8 Warszawa 75, 14 Warszawa 25). A conversion that cannot be
// computed throws (std::domain_error, std::invalid_argument); the dispatcher reports it.

// Zone parameters, then the input point, then the outputs.
void Wgs84BlhToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Wgs84BlhToBlh1942(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH);
void Wgs84BlhToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Wgs84BlhToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Wgs84BlhToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Wgs84BlhToXy4283(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Wgs84BlhToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Wgs84BlhToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Wgs84BlhToAlbers(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Wgs84XyzToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Wgs84XyzToBlh1942(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH);
void Wgs84XyzToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Wgs84XyzToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Wgs84XyzToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Wgs84XyzToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Wgs84XyzToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Blh1942ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH);
void Blh1942ToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH);
void Blh1942ToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                     double& OutX, double& OutY, double& OutH);
void Blh1942ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                     double& OutX, double& OutY, double& OutH);
void Blh1942ToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                     double& OutX, double& OutY, double& OutH);
void Blh1942ToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH);
void Blh1942ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH);
void Blh1942ToAlbers(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                     double& OutX, double& OutY, double& OutH);
void Xy1942ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Xy1942ToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Xy1942ToBlh1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                     double& OutX, double& OutY, double& OutH);
void Xy1942ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH);
void Xy1942ToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH);
void Xy1942ToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Xy1942ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Xy1965ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Xy1965ToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Xy1965ToBlh1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                     double& OutX, double& OutY, double& OutH);
void Xy1965ToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH);
void Xy1965ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH);
void Xy1965ToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH);
void Xy1965ToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Xy1965ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg80ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg80ToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg80ToBlh1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                     double& OutX, double& OutY, double& OutH);
void Puwg80ToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH);
void Puwg80ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH);
void Puwg80ToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg80ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Xy4283ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg1992ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Puwg1992ToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Puwg1992ToBlh1942(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH);
void Puwg1992ToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg1992ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg1992ToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg1992ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Puwg2000ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Puwg2000ToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Puwg2000ToBlh1942(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH);
void Puwg2000ToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg2000ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg2000ToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);
void Puwg2000ToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void Puwg2000ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH);
void AlbersToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH);
void AlbersToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH);

// As above with the UTM strip in the third place.
void Xy1965ToUtm(double Zone65, double Meridian, double S, double X, double Y, double H,
                 double& OutX, double& OutY, double& OutH);
void Puwg80ToUtm(double Zone65, double Meridian, double S, double X, double Y, double H,
                 double& OutX, double& OutY, double& OutH);
void UtmToXy1965(double Zone65, double Meridian, double S, double X, double Y, double H,
                 double& OutX, double& OutY, double& OutH);
void UtmToPuwg80(double Zone65, double Meridian, double S, double X, double Y, double H,
                 double& OutX, double& OutY, double& OutH);

// The Warszawa system code first.
void Wgs84BlhToWarszawa(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH);
void Xy1942ToWarszawa(double K, double Zone65, double Meridian, double ZoneCode, double X, double Y,
                      double H, double& OutX, double& OutY, double& OutH);
void Xy1965ToWarszawa(double K, double Zone65, double Meridian, double ZoneCode, double X, double Y,
                      double H, double& OutX, double& OutY, double& OutH);
void Puwg1992ToWarszawa(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH);
void Puwg2000ToWarszawa(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH);
void WarszawaToWgs84Blh(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH);
void WarszawaToXy1942(double K, double Zone65, double Meridian, double ZoneCode, double X, double Y,
                      double H, double& OutX, double& OutY, double& OutH);
void WarszawaToXy1965(double K, double Zone65, double Meridian, double ZoneCode, double X, double Y,
                      double H, double& OutX, double& OutY, double& OutH);
void WarszawaToPuwg1992(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH);
void WarszawaToPuwg2000(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH);

// The UTM strip alone.
void Wgs84BlhToUtm(double S, double X, double Y, double H, double& OutX, double& OutY,
                   double& OutH);
void Blh1942ToUtm(double S, double X, double Y, double H, double& OutX, double& OutY, double& OutH);
void UtmToWgs84Blh(double S, double X, double Y, double H, double& OutX, double& OutY,
                   double& OutH);
void UtmToBlh1942(double S, double X, double Y, double H, double& OutX, double& OutY, double& OutH);

// The 1942 meridian and the UTM strip.
void Xy1942ToUtm(double Meridian, double S, double X, double Y, double H, double& OutX,
                 double& OutY, double& OutH);
void UtmToXy1942(double Meridian, double S, double X, double Y, double H, double& OutX,
                 double& OutY, double& OutH);

// The 1992/2000 zone value (5 the 1992 system) and the UTM strip.
void Puwg1992ToUtm(double ZoneCode, double S, double X, double Y, double H, double& OutX,
                   double& OutY, double& OutH);
void Puwg2000ToUtm(double ZoneCode, double S, double X, double Y, double H, double& OutX,
                   double& OutY, double& OutH);
void UtmToPuwg1992(double ZoneCode, double S, double X, double Y, double H, double& OutX,
                   double& OutY, double& OutH);
void UtmToPuwg2000(double ZoneCode, double S, double X, double Y, double H, double& OutX,
                   double& OutY, double& OutH);

// Plane similarity between Borowa Gora and the 1942 system (meridian 150000 or 210000); no height.
void Xy1942ToBorowaGora(double Meridian, double X, double Y, double& OutX, double& OutY);
void BorowaGoraToXy1942(double Meridian, double X, double Y, double& OutX, double& OutY);
