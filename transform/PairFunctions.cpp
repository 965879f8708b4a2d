#include "transform/PairFunctions.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "transform/Albers.h"
#include "transform/DatumKernels.h"
#include "transform/Konforemna.h"
#include "transform/PackedAngle.h"
#include "transform/PolishProjections.h"
#include "transform/ZoneCorrection65.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kZone1992 = 5.0;
constexpr int kWarszawa75 = 8;
constexpr int kWarszawa25 = 14;

// One point of a chain.
struct P {
    double x = 0.0, y = 0.0, h = 0.0;
};

// A 1965 zone outside 1-5 and 11-15 has no projection. The conversion is refused rather than
// carrying on with whatever the outputs held.
[[noreturn]] void NoZone65() {
    throw std::invalid_argument("1965 system: no such zone");
}

const TKonforemna& Polynomial(const TKonforemna* k) {
    if (k == nullptr) throw std::logic_error("Warszawa polynomials not initialised");
    return *k;
}

// Into Warszawa: 1965 point of zone 2 through the forward correction (its result ignored).
void Local65ToWarszawa(double K, const P& p65, double& OutX, double& OutY, double& OutH) {
    double cx = p65.x, cy = p65.y;
    GugikCorrectForward(2, cx, cy, p65.x, p65.y);
    Xy1965ToWarszawa(K, 0.0, 0.0, 0.0, cx, cy, p65.h, OutX, OutY, OutH);
}

// Out of Warszawa: to 1965 and through the inverse correction (its result ignored).
P WarszawaToLocal65(double K, double X, double Y, double H) {
    P p{X, Y, H};
    WarszawaToXy1965(K, 0.0, 0.0, 0.0, X, Y, H, p.x, p.y, p.h);
    double cx = p.x, cy = p.y;
    GugikCorrectInverse(2, cx, cy, p.x, p.y);
    return {cx, cy, p.h};
}

// The similarity of the Borowa Gora pairs: one row per direction and meridian.
struct Similarity {
    double dx, dy, k, thetaSeconds;
};

const Similarity& BorowaRow(bool toward1942, double Meridian) {
    static constexpr Similarity kTo1942[2] = {{621.6466, -76.6475, 1.0000126927, 1.464862},
                                              {660.7069, -116.2235, 1.0000067271, 1.3580396}};
    static constexpr Similarity kFrom1942[2] = {{-621.6466, 76.6475, 0.9999873074, -1.464862},
                                                {-660.7069, 116.2235, 0.9999932729, -1.3580396}};
    // No parameters exist for other meridians.
    int index = -1;
    if (std::fabs(Meridian - 150000.0) < 0.01) index = 0;
    if (std::fabs(Meridian - 210000.0) < 0.01) index = 1;
    if (index < 0) throw std::invalid_argument("Borowa Gora: no parameters for this meridian");
    return toward1942 ? kTo1942[index] : kFrom1942[index];
}

void ApplySimilarity(const Similarity& s, double X, double Y, double& OutX, double& OutY) {
    double theta = s.thetaSeconds;
    DmsToRad(theta);
    const double c = std::cos(theta), sn = std::sin(theta);
    const double x = s.k * X * c - s.k * Y * sn + s.dx;
    const double y = s.k * X * sn + s.k * Y * c + s.dy;
    OutX = x;
    OutY = y;
}

}  // namespace

// ---- WGS 84 geographic ----

void Wgs84BlhToWgs84Xyz(double, double, double, double X, double Y, double H, double& OutX,
                        double& OutY, double& OutH) {
    BlhToXyzWgs84(X, Y, H, OutX, OutY, OutH);
}

void Wgs84BlhToBlh1942(double, double, double, double X, double Y, double H, double& OutX,
                       double& OutY, double& OutH) {
    P g, k;
    BlhToXyzWgs84(X, Y, H, g.x, g.y, g.h);
    DatumShiftWgs84To1942(g.x, g.y, g.h, k.x, k.y, k.h);
    XyzToBlhKrasowski(k.x, k.y, k.h, OutX, OutY, OutH);
}

void Wgs84BlhToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Wgs84BlhToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    GaussKruegerForward1942(Meridian, b.x, b.y, OutX, OutY);
    OutH = b.h;
}

void Wgs84BlhToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Wgs84BlhToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToXy1965(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Wgs84BlhToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Wgs84BlhToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToPuwg80(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Wgs84BlhToXy4283(double, double Meridian, double, double X, double Y, double H, double& OutX,
                      double& OutY, double& OutH) {
    P g, k, b;
    BlhToXyzWgs84(X, Y, H, g.x, g.y, g.h);
    DatumShiftWgs84To4283(g.x, g.y, g.h, k.x, k.y, k.h);
    XyzToBlhKrasowski(k.x, k.y, k.h, b.x, b.y, b.h);
    GaussKruegerForward4283(Meridian, b.x, b.y, OutX, OutY);
    OutH = b.h;
}

void Wgs84BlhToPuwg1992(double, double, double ZoneCode, double X, double Y, double H, double& OutX,
                        double& OutY, double& OutH) {
    int zone = ZoneNumber(ZoneCode);
    const double meridian = DetectZone2000(0, zone, Y);
    Zone2000Forward(zone, Y - meridian, X, OutX, OutY);
    OutH = H;
}

void Wgs84BlhToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH) {
    Wgs84BlhToPuwg1992(Zone65, Meridian, ZoneCode, X, Y, H, OutX, OutY, OutH);
}

void Wgs84BlhToAlbers(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Wgs84BlhToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    AlbersPigForward(b.x, b.y, OutX, OutY);
    OutH = b.h;
}

void Wgs84BlhToUtm(double S, double X, double Y, double H, double& OutX, double& OutY,
                   double& OutH) {
    int strip = ZoneNumber(S);
    const double meridian = DetectZoneUtm(0, strip, Y);
    ZoneUtmForward(strip, Y - meridian, X, OutX, OutY);
    OutH = H;
}

void Wgs84BlhToWarszawa(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH) {
    P p;
    Wgs84BlhToXy1965(Zone65, Meridian, ZoneCode, X, Y, H, p.x, p.y, p.h);
    Local65ToWarszawa(K, p, OutX, OutY, OutH);
}

// ---- WGS 84 geocentric ----

void Wgs84XyzToWgs84Blh(double, double, double, double X, double Y, double H, double& OutX,
                        double& OutY, double& OutH) {
    XyzToBlhWgs84(X, Y, H, OutX, OutY, OutH);
}

void Wgs84XyzToBlh1942(double, double, double, double X, double Y, double H, double& OutX,
                       double& OutY, double& OutH) {
    P k;
    DatumShiftWgs84To1942(X, Y, H, k.x, k.y, k.h);
    XyzToBlhKrasowski(k.x, k.y, k.h, OutX, OutY, OutH);
}

void Wgs84XyzToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Wgs84XyzToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    GaussKruegerForward1942(Meridian, b.x, b.y, OutX, OutY);
    OutH = b.h;
}

void Wgs84XyzToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Wgs84XyzToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToXy1965(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Wgs84XyzToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Wgs84XyzToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToPuwg80(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Wgs84XyzToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH) {
    P g;
    Wgs84XyzToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToPuwg1992(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Wgs84XyzToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH) {
    Wgs84XyzToPuwg1992(Zone65, Meridian, ZoneCode, X, Y, H, OutX, OutY, OutH);
}

// ---- 1942 geographic ----

void Blh1942ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH) {
    P g;
    Blh1942ToWgs84Xyz(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    XyzToBlhWgs84(g.x, g.y, g.h, OutX, OutY, OutH);
}

void Blh1942ToWgs84Xyz(double, double, double, double X, double Y, double H, double& OutX,
                       double& OutY, double& OutH) {
    P k;
    BlhToXyzKrasowski(X, Y, H, k.x, k.y, k.h);
    DatumShift1942ToWgs84(k.x, k.y, k.h, OutX, OutY, OutH);
}

void Blh1942ToXy1942(double, double Meridian, double, double X, double Y, double H, double& OutX,
                     double& OutY, double& OutH) {
    const double lambda0 = (Meridian / 10000.0) * kPi / 180.0;
    const double z = std::round(Meridian / 60000.0 + 0.001);
    P p;
    Xy1942Forward(X, Y - lambda0, p.x, p.y);
    OutX = p.x;
    OutY = p.y + 500000.0 + z * 1000000.0;
    OutH = H;
}

void Blh1942ToXy1965(double Zone65, double, double, double X, double Y, double H, double& OutX,
                     double& OutY, double& OutH) {
    if (!Xy1965Forward(ZoneByte(Zone65), X, Y, OutX, OutY)) NoZone65();
    OutH = H;
}

void Blh1942ToPuwg80(double, double, double, double X, double Y, double H, double& OutX,
                     double& OutY, double& OutH) {
    Puwg80Forward(X, Y, OutX, OutY);
    OutH = H;
}

void Blh1942ToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH) {
    P g;
    Blh1942ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToPuwg1992(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Blh1942ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH) {
    Blh1942ToPuwg1992(Zone65, Meridian, ZoneCode, X, Y, H, OutX, OutY, OutH);
}

void Blh1942ToAlbers(double, double, double, double X, double Y, double H, double& OutX,
                     double& OutY, double& OutH) {
    AlbersPigForward(X, Y, OutX, OutY);
    OutH = H;
}

void Blh1942ToUtm(double S, double X, double Y, double H, double& OutX, double& OutY,
                  double& OutH) {
    P g;
    Blh1942ToWgs84Blh(0.0, 0.0, 0.0, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToUtm(S, g.x, g.y, g.h, OutX, OutY, OutH);
}

// ---- 1942 plane ----

void Xy1942ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P g;
    Xy1942ToWgs84Xyz(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    XyzToBlhWgs84(g.x, g.y, g.h, OutX, OutY, OutH);
}

void Xy1942ToWgs84Xyz(double, double Meridian, double, double X, double Y, double H, double& OutX,
                      double& OutY, double& OutH) {
    P b, k;
    GaussKruegerInverse1942(Meridian, X, Y, b.x, b.y);
    BlhToXyzKrasowski(b.x, b.y, H, k.x, k.y, k.h);
    DatumShift1942ToWgs84(k.x, k.y, k.h, OutX, OutY, OutH);
}

void Xy1942ToBlh1942(double, double Meridian, double, double X, double Y, double H, double& OutX,
                     double& OutY, double& OutH) {
    const double lambda0 = (Meridian / 10000.0) * kPi / 180.0;
    const double z = std::round(Meridian / 60000.0 + 0.001);
    P b;
    Xy1942Inverse(X, Y - 500000.0 - z * 1000000.0, b.x, b.y);
    OutX = b.x;
    OutY = b.y + lambda0;
    OutH = H;
}

void Xy1942ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH) {
    P b;
    Xy1942ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToXy1965(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Xy1942ToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH) {
    P b;
    Xy1942ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToPuwg80(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Xy1942ToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P g;
    Xy1942ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToPuwg1992(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Xy1942ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    Xy1942ToPuwg1992(Zone65, Meridian, ZoneCode, X, Y, H, OutX, OutY, OutH);
}

void Xy1942ToUtm(double Meridian, double S, double X, double Y, double H, double& OutX,
                 double& OutY, double& OutH) {
    P g;
    Xy1942ToWgs84Blh(0.0, Meridian, 0.0, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToUtm(S, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Xy1942ToWarszawa(double K, double Zone65, double Meridian, double ZoneCode, double X, double Y,
                      double H, double& OutX, double& OutY, double& OutH) {
    P p;
    Xy1942ToXy1965(Zone65, Meridian, ZoneCode, X, Y, H, p.x, p.y, p.h);
    Local65ToWarszawa(K, p, OutX, OutY, OutH);
}

void Xy1942ToBorowaGora(double Meridian, double X, double Y, double& OutX, double& OutY) {
    ApplySimilarity(BorowaRow(false, Meridian), X, Y, OutX, OutY);
}

void BorowaGoraToXy1942(double Meridian, double X, double Y, double& OutX, double& OutY) {
    ApplySimilarity(BorowaRow(true, Meridian), X, Y, OutX, OutY);
}

// ---- 1965 ----

void Xy1965ToBlh1942(double Zone65, double, double, double X, double Y, double H, double& OutX,
                     double& OutY, double& OutH) {
    if (!Xy1965Inverse(ZoneByte(Zone65), X, Y, OutX, OutY)) NoZone65();
    OutH = H;
}

void Xy1965ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH) {
    P b;
    Xy1965ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToXy1965(ZoneCode, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Xy1965ToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH) {
    P b;
    Xy1965ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToXy1942(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Xy1965ToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH) {
    P b;
    Xy1965ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToPuwg80(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Xy1965ToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Xy1965ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToWgs84Xyz(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Xy1965ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Xy1965ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToWgs84Blh(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Xy1965ToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P g;
    Xy1965ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToPuwg1992(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Xy1965ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    Xy1965ToPuwg1992(Zone65, Meridian, ZoneCode, X, Y, H, OutX, OutY, OutH);
}

void Xy1965ToWarszawa(double K, double, double, double, double X, double Y, double H, double& OutX,
                      double& OutY, double& OutH) {
    const int k = ZoneNumber(K);
    if (k == kWarszawa75) {
        Polynomial(Wawa65_75.get()).Transform(X, Y, OutX, OutY);
    } else if (k == kWarszawa25) {
        Polynomial(Wawa65_25.get()).Transform(X, Y, OutX, OutY);
    } else {
        return;
    }
    OutH = H;
}

void Xy1965ToUtm(double Zone65, double Meridian, double S, double X, double Y, double H,
                 double& OutX, double& OutY, double& OutH) {
    P g;
    Xy1965ToWgs84Blh(Zone65, Meridian, 0.0, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToUtm(S, g.x, g.y, g.h, OutX, OutY, OutH);
}

// ---- GUGIK 80 ----

void Puwg80ToBlh1942(double, double, double, double X, double Y, double H, double& OutX,
                     double& OutY, double& OutH) {
    Puwg80Inverse(X, Y, OutX, OutY);
    OutH = H;
}

void Puwg80ToWgs84Blh(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Puwg80ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToWgs84Blh(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Puwg80ToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Puwg80ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToWgs84Xyz(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Puwg80ToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH) {
    P b;
    Puwg80ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToXy1942(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Puwg80ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH) {
    P b;
    Puwg80ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToXy1965(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Puwg80ToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Puwg80ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToPuwg1992(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Puwg80ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    Puwg80ToBlh1942(Zone65, Meridian, ZoneCode, X, Y, H, b.x, b.y, b.h);
    Blh1942ToPuwg2000(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Puwg80ToUtm(double, double, double S, double X, double Y, double H, double& OutX, double& OutY,
                 double& OutH) {
    P b;
    Puwg80ToBlh1942(0.0, 0.0, 0.0, X, Y, H, b.x, b.y, b.h);
    Blh1942ToUtm(S, b.x, b.y, b.h, OutX, OutY, OutH);
}

// ---- 42/83 ----

void Xy4283ToWgs84Blh(double, double Meridian, double, double X, double Y, double H, double& OutX,
                      double& OutY, double& OutH) {
    P b, k, g;
    GaussKruegerInverse4283(Meridian, X, Y, b.x, b.y);
    BlhToXyzKrasowski(b.x, b.y, H, k.x, k.y, k.h);
    DatumShift4283ToWgs84(k.x, k.y, k.h, g.x, g.y, g.h);
    XyzToBlhWgs84(g.x, g.y, g.h, OutX, OutY, OutH);
}

// ---- 1992 ----

void Puwg1992ToWgs84Blh(double, double, double, double X, double Y, double H, double& OutX,
                        double& OutY, double& OutH) {
    Puwg2000ToBlCore(kZone1992, X, Y, H, OutX, OutY, OutH);
}

void Puwg1992ToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg1992ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToWgs84Xyz(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg1992ToBlh1942(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg1992ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToBlh1942(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg1992ToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg1992ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToXy1942(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg1992ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg1992ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToXy1965(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg1992ToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P g, b;
    Puwg1992ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToBlh1942(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, b.x, b.y, b.h);
    Blh1942ToPuwg80(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Puwg1992ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg1992ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToPuwg2000(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg1992ToWarszawa(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH) {
    P p;
    Puwg1992ToXy1965(Zone65, Meridian, ZoneCode, X, Y, H, p.x, p.y, p.h);
    Local65ToWarszawa(K, p, OutX, OutY, OutH);
}

void Puwg1992ToUtm(double ZoneCode, double S, double X, double Y, double H, double& OutX,
                   double& OutY, double& OutH) {
    P g;
    if (ZoneNumber(ZoneCode) == 5) {
        Puwg1992ToWgs84Blh(0.0, 0.0, ZoneCode, X, Y, H, g.x, g.y, g.h);
    } else {
        Puwg2000ToWgs84Blh(0.0, 0.0, ZoneCode, X, Y, H, g.x, g.y, g.h);
    }
    Wgs84BlhToUtm(S, g.x, g.y, g.h, OutX, OutY, OutH);
}

// ---- 2000 ----

void Puwg2000ToWgs84Blh(double, double, double ZoneCode, double X, double Y, double H, double& OutX,
                        double& OutY, double& OutH) {
    Puwg2000ToBlCore(ZoneCode, X, Y, H, OutX, OutY, OutH);
}

void Puwg2000ToPuwg2000(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg2000ToWgs84Blh(Zone65, Meridian, Zone65, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToPuwg2000(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg2000ToWgs84Xyz(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg2000ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToWgs84Xyz(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg2000ToBlh1942(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                       double H, double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg2000ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToBlh1942(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg2000ToXy1942(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg2000ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToXy1942(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg2000ToXy1965(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg2000ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToXy1965(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg2000ToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P g, b;
    Puwg2000ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToBlh1942(Zone65, Meridian, ZoneCode, g.x, g.y, g.h, b.x, b.y, b.h);
    Blh1942ToPuwg80(Zone65, Meridian, ZoneCode, b.x, b.y, b.h, OutX, OutY, OutH);
}

void Puwg2000ToPuwg1992(double Zone65, double Meridian, double ZoneCode, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH) {
    P g;
    Puwg2000ToWgs84Blh(Zone65, Meridian, ZoneCode, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToPuwg1992(Zone65, Meridian, kZone1992, g.x, g.y, g.h, OutX, OutY, OutH);
}

void Puwg2000ToWarszawa(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH) {
    P p;
    Puwg2000ToXy1965(Zone65, Meridian, ZoneCode, X, Y, H, p.x, p.y, p.h);
    Local65ToWarszawa(K, p, OutX, OutY, OutH);
}

void Puwg2000ToUtm(double ZoneCode, double S, double X, double Y, double H, double& OutX,
                   double& OutY, double& OutH) {
    Puwg1992ToUtm(ZoneCode, S, X, Y, H, OutX, OutY, OutH);
}

// ---- UTM ----

void UtmToWgs84Blh(double S, double X, double Y, double H, double& OutX, double& OutY,
                   double& OutH) {
    int strip = ZoneNumber(S);
    const double meridian = DetectZoneUtm(1, strip, Y);
    double b = 0.0, omega = 0.0;
    ZoneUtmInverse(strip, Y, X, b, omega);
    OutX = b;
    OutY = omega + meridian;
    OutH = H;
}

void UtmToBlh1942(double S, double X, double Y, double H, double& OutX, double& OutY,
                  double& OutH) {
    P g;
    UtmToWgs84Blh(S, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToBlh1942(0.0, 0.0, 0.0, g.x, g.y, g.h, OutX, OutY, OutH);
}

void UtmToXy1942(double Meridian, double S, double X, double Y, double H, double& OutX,
                 double& OutY, double& OutH) {
    P g;
    UtmToWgs84Blh(S, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToXy1942(0.0, Meridian, 0.0, g.x, g.y, g.h, OutX, OutY, OutH);
}

void UtmToXy1965(double Zone65, double Meridian, double S, double X, double Y, double H,
                 double& OutX, double& OutY, double& OutH) {
    P g;
    UtmToWgs84Blh(S, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToXy1965(Zone65, Meridian, 0.0, g.x, g.y, g.h, OutX, OutY, OutH);
}

void UtmToPuwg80(double Zone65, double Meridian, double S, double X, double Y, double H,
                 double& OutX, double& OutY, double& OutH) {
    P b;
    UtmToBlh1942(S, X, Y, H, b.x, b.y, b.h);
    Blh1942ToPuwg80(Zone65, Meridian, 0.0, b.x, b.y, b.h, OutX, OutY, OutH);
}

void UtmToPuwg1992(double, double S, double X, double Y, double H, double& OutX, double& OutY,
                   double& OutH) {
    P g;
    UtmToWgs84Blh(S, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToPuwg1992(0.0, 0.0, kZone1992, g.x, g.y, g.h, OutX, OutY, OutH);
}

void UtmToPuwg2000(double ZoneCode, double S, double X, double Y, double H, double& OutX,
                   double& OutY, double& OutH) {
    P g;
    UtmToWgs84Blh(S, X, Y, H, g.x, g.y, g.h);
    Wgs84BlhToPuwg2000(0.0, 0.0, ZoneCode, g.x, g.y, g.h, OutX, OutY, OutH);
}

// ---- Albers ----

void AlbersToPuwg80(double Zone65, double Meridian, double ZoneCode, double X, double Y, double H,
                    double& OutX, double& OutY, double& OutH) {
    P b;
    AlbersPigInverse(X, Y, b.x, b.y);
    Blh1942ToPuwg80(Zone65, Meridian, ZoneCode, b.x, b.y, H, OutX, OutY, OutH);
}

void AlbersToPuwg1992(double Zone65, double Meridian, double, double X, double Y, double H,
                      double& OutX, double& OutY, double& OutH) {
    P b;
    AlbersPigInverse(X, Y, b.x, b.y);
    Blh1942ToPuwg1992(Zone65, Meridian, kZone1992, b.x, b.y, H, OutX, OutY, OutH);
}

// ---- Warszawa ----

void WarszawaToXy1965(double K, double, double, double, double X, double Y, double H, double& OutX,
                      double& OutY, double& OutH) {
    const int k = ZoneNumber(K);
    if (k == kWarszawa75) {
        Polynomial(Wawa75_65.get()).Transform(X, Y, OutX, OutY);
    } else if (k == kWarszawa25) {
        Polynomial(Wawa25_65.get()).Transform(X, Y, OutX, OutY);
    } else {
        return;
    }
    OutH = H;
}

void WarszawaToWgs84Blh(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH) {
    const P p = WarszawaToLocal65(K, X, Y, H);
    Xy1965ToWgs84Blh(Zone65, Meridian, ZoneCode, p.x, p.y, p.h, OutX, OutY, OutH);
}

void WarszawaToXy1942(double K, double Zone65, double Meridian, double ZoneCode, double X, double Y,
                      double H, double& OutX, double& OutY, double& OutH) {
    const P p = WarszawaToLocal65(K, X, Y, H);
    Xy1965ToXy1942(Zone65, Meridian, ZoneCode, p.x, p.y, p.h, OutX, OutY, OutH);
}

void WarszawaToPuwg1992(double K, double Zone65, double Meridian, double, double X, double Y,
                        double H, double& OutX, double& OutY, double& OutH) {
    const P p = WarszawaToLocal65(K, X, Y, H);
    Xy1965ToPuwg1992(Zone65, Meridian, kZone1992, p.x, p.y, p.h, OutX, OutY, OutH);
}

void WarszawaToPuwg2000(double K, double Zone65, double Meridian, double ZoneCode, double X,
                        double Y, double H, double& OutX, double& OutY, double& OutH) {
    const P p = WarszawaToLocal65(K, X, Y, H);
    Xy1965ToPuwg2000(Zone65, Meridian, ZoneCode, p.x, p.y, p.h, OutX, OutY, OutH);
}
