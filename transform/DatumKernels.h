#pragma once

// The geodetic kernels the pair conversions chain: geographic and geocentric coordinates on the
// Krasowski and WGS 84 ellipsoids, the datum shifts of 1942 and 42/83, the Gauss-Krueger series of
// the 1942 and 42/83 systems, and the zones of the 2000, 1992 and UTM systems. Angles are radians.
// A kernel that cannot compute a result (non-finite input, no convergence, no zone) throws
// std::domain_error; the dispatcher reports it as a calculation error.

void BlhToXyzKrasowski(double B, double L, double H, double& X, double& Y, double& Z);
void BlhToXyzWgs84(double B, double L, double H, double& X, double& Y, double& Z);
// The longitude is the plain arctangent of Y / X (between -90 and +90 degrees). A point on the
// Z axis has no longitude and is refused.
void XyzToBlhKrasowski(double X, double Y, double Z, double& B, double& L, double& H);
void XyzToBlhWgs84(double X, double Y, double Z, double& B, double& L, double& H);

void DatumShift1942ToWgs84(double X, double Y, double Z, double& OutX, double& OutY, double& OutZ);
void DatumShiftWgs84To1942(double X, double Y, double Z, double& OutX, double& OutY, double& OutZ);
void DatumShift4283ToWgs84(double X, double Y, double Z, double& OutX, double& OutY, double& OutZ);
void DatumShiftWgs84To4283(double X, double Y, double Z, double& OutX, double& OutY, double& OutZ);

void MeridianArc1942(double B, double A, double E2, double Ep2, double& Arc, double& N, double& M,
                     double& T, double& Eta2, double& V2);
// Meridian packed DDMMSS; Y carries the system's false easting.
void GaussKruegerForward1942(double Meridian, double B, double L, double& X, double& Y);
void GaussKruegerInverse1942(double Meridian, double X, double Y, double& B, double& L);
void GaussKruegerForward4283(double Meridian, double B, double L, double& X, double& Y);
void GaussKruegerInverse4283(double Meridian, double X, double Y, double& B, double& L);

// Mode 0 chooses from a longitude (radians), mode 1 from an easting (metres). Zone 0 asks for the
// choice and receives the zone found (0 when none fits); the result is the central meridian in
// radians, 0 for no zone.
double DetectZone2000(int Mode, int& Zone, double Value);
double DetectZoneUtm(int Mode, int& Strip, double Value);

// Zones 1-4 of the 2000 system and zone 5 (the 1992 system); UTM strips 1-6. A zone outside the
// tables throws: the point has no defined projection.
void Zone2000Forward(int Zone, double Omega, double B, double& X, double& Y);
void Zone2000Inverse(int Zone, double Y, double X, double& B, double& Omega);
void ZoneUtmForward(int Strip, double Omega, double B, double& X, double& Y);
void ZoneUtmInverse(int Strip, double Y, double X, double& B, double& Omega);

void Puwg2000ToBlCore(double ZoneCode, double X, double Y, double H, double& B, double& L,
                      double& OutH);
