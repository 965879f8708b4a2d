#include "transform/DatumKernels.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "transform/PackedAngle.h"
#include "transform/PolishProjections.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kIterationLimit = 100;

[[noreturn]] void Fail(const char* what) {
    throw std::domain_error(what);
}

void BlhToXyz(double a, double f, double B, double L, double H, double& X, double& Y, double& Z) {
    const double e2 = 2.0 * f - f * f;
    const double s = std::sin(B);
    const double n = a / std::sqrt(1.0 - e2 * s * s);
    X = (n + H) * std::cos(B) * std::cos(L);
    Y = (n + H) * std::cos(B) * std::sin(L);
    Z = (n * (1.0 - e2) + H) * s;
}

void XyzToBlh(double a, double b, double X, double Y, double Z, double& B, double& L, double& H) {
    if (!std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(Z)) Fail("geocentric: not finite");
    const double p = std::sqrt(X * X + Y * Y);
    if (p == 0.0) Fail("geocentric: no longitude");
    const double e2 = (a * a - b * b) / (a * a);
    const double l = std::atan(Y / X);
    double h = std::sqrt(X * X + Y * Y + Z * Z) - a;
    double lat = std::atan((Z / p) / (1.0 - a * e2 / (h + a)));
    for (int step = 0; step < kIterationLimit; ++step) {
        const double s = std::sin(lat);
        const double n = a / std::sqrt(1.0 - e2 * s * s);
        const double h2 = p / std::cos(lat) - n;
        const double lat2 = std::atan((Z / p) / (1.0 - n * e2 / (n + h2)));
        if (std::fabs(lat - lat2) <= 1e-11 && std::fabs(h - h2) <= 1e-5) {
            B = lat2;
            L = l;
            H = h2;
            return;
        }
        lat = lat2;
        h = h2;
    }
    Fail("geocentric: latitude does not converge");
}

// X' = X + t + R * (X, Y, Z) with a full 3x3 matrix R.
void LinearShift(const double (&t)[3], const double (&r)[3][3], double X, double Y, double Z,
                 double& OutX, double& OutY, double& OutZ) {
    const double x = X + t[0] + (r[0][0] * X + r[0][1] * Y + r[0][2] * Z);
    const double y = Y + t[1] + (r[1][0] * X + r[1][1] * Y + r[1][2] * Z);
    const double z = Z + t[2] + (r[2][0] * X + r[2][1] * Y + r[2][2] * Z);
    OutX = x;
    OutY = y;
    OutZ = z;
}

// Bursa-Wolf with rotations packed DDMMSS (0.13 is 0.13 arc-seconds).
void BursaWolf(double r1, double r2, double r3, double s, const double (&t)[3], double X, double Y,
               double Z, double& OutX, double& OutY, double& OutZ) {
    DmsToRad(r1);
    DmsToRad(r2);
    DmsToRad(r3);
    const double x = (1.0 + s) * (X + r3 * Y - r2 * Z) + t[0];
    const double y = (1.0 + s) * (Y - r3 * X + r1 * Z) + t[1];
    const double z = (1.0 + s) * (Z + r2 * X - r1 * Y) + t[2];
    OutX = x;
    OutY = y;
    OutZ = z;
}

constexpr double kKrasowskiA = 6378245.0;

// The series of the 1942 and 42/83 systems, differing only in b and the false easting.
void GaussKruegerForwardSeries(double b, double fe, double Meridian, double B, double L, double& X,
                               double& Y) {
    const double a = kKrasowskiA;
    const double e2 = 0.006693421623;
    const double ep2 = (a * a - b * b) / (b * b);
    double lambda0 = Meridian;
    DmsToRad(lambda0);
    const double w = L - lambda0;
    const double t = std::tan(B);
    const double t2 = t * t, t4 = t2 * t2;
    const double c = std::cos(B), s = std::sin(B);
    const double eta2 = ep2 * c * c;
    const double n = a / std::sqrt(1.0 - e2 * s * s);
    const double e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
    const double ka =
        1.0 + 3.0 * e2 / 4.0 + 45.0 * e4 / 64.0 + 175.0 * e6 / 256.0 + 11025.0 * e8 / 16384.0;
    const double kb = 3.0 * e2 / 4.0 + 15.0 * e4 / 16.0 + 525.0 * e6 / 512.0 + 2205.0 * e8 / 2048.0;
    const double kc = 15.0 * e4 / 64.0 + 105.0 * e6 / 256.0 + 2205.0 * e8 / 4096.0;
    const double kd = 35.0 * e6 / 512.0 + 315.0 * e8 / 2048.0;
    const double ke = 315.0 * e8 / 16384.0;
    const double arc = a * (1.0 - e2) *
                       (ka * B - (kb / 2.0) * std::sin(2.0 * B) + (kc / 4.0) * std::sin(4.0 * B) -
                        (kd / 6.0) * std::sin(6.0 * B) + (ke / 8.0) * std::sin(8.0 * B));
    const double c3 = c * c * c, c5 = c3 * c * c;
    const double w2 = w * w, w3 = w2 * w, w4 = w3 * w, w5 = w4 * w, w6 = w5 * w;
    X = arc + n * s *
                  (w2 * c / 2.0 + w4 * c3 / 24.0 * (5.0 - t2 + 9.0 * eta2 + 4.0 * eta2 * eta2) +
                   w6 * c5 / 720.0 * (61.0 - 58.0 * t2 + t4 + 270.0 * eta2 - 330.0 * t2 * eta2));
    Y = fe + n * (w * c + w3 * c3 / 6.0 * (1.0 - t2 + eta2) +
                  w5 * c5 / 120.0 * (5.0 - 18.0 * t2 + t4 + 14.0 * eta2 - 58.0 * t2 * eta2));
}

void GaussKruegerInverseSeries(double fe, double Meridian, double X, double Y, double& B,
                               double& L) {
    if (!std::isfinite(X) || !std::isfinite(Y)) Fail("Gauss-Krueger 1942: not finite");
    constexpr double a = kKrasowskiA, e2 = 0.00669342162, ep2 = 0.00673852541;
    const double y = Y - fe;
    double b1 = 52.0 * kPi / 180.0;
    double arc = 0, n = 0, m = 0, t = 0, eta2 = 0, v2 = 0;
    for (int step = 0;; ++step) {
        if (step >= kIterationLimit) Fail("Gauss-Krueger 1942: foot point does not converge");
        MeridianArc1942(b1, a, e2, ep2, arc, n, m, t, eta2, v2);
        const double delta = (X - arc) / m;
        b1 += delta;
        if (!std::isfinite(b1)) Fail("Gauss-Krueger 1942: foot point does not converge");
        if (std::fabs(delta) <= 4.848136816903219e-9) break;
    }
    MeridianArc1942(b1, a, e2, ep2, arc, n, m, t, eta2, v2);
    const double t2 = t * t, t4 = t2 * t2;
    const double y2 = y * y, y4 = y2 * y2, y6 = y4 * y2;
    const double n3 = n * n * n, n5 = n3 * n * n;
    const double u = y / n, u3 = u * u * u, u5 = u3 * u * u;
    B = b1 - t * y2 / (2.0 * m * n) +
        t * y4 / (24.0 * m * n3) * (5.0 + 3.0 * t2 + eta2 - 9.0 * t2 * eta2 - 4.0 * eta2 * eta2) -
        t * y6 / (720.0 * m * n5) * (61.0 + 90.0 * t2 + 45.0 * t4);
    double lambda0 = Meridian;
    DmsToRad(lambda0);
    L = lambda0 + (u - u3 / 6.0 * (1.0 + 2.0 * t2 + eta2) +
                   u5 / 120.0 * (5.0 + 28.0 * t2 + 24.0 * t4 + 6.0 * eta2 + 8.0 * t2 * eta2)) /
                      std::cos(b1);
}

// False eastings: 6-degree zones of 1942, 3-degree zones of 42/83.
double FalseEasting1942(double Meridian) {
    return (Meridian / 10000.0 + 3.0) * 1000000.0 / 6.0 + 500000.0;
}
double FalseEasting4283(double Meridian) {
    return Meridian / 10000.0 * 1000000.0 / 3.0 + 500000.0;
}

double Degrees(double radians) {
    return radians * 180.0 / kPi;
}
double Radians(double degrees) {
    return degrees * kPi / 180.0;
}

// Half a zone width from the meridian, the boundary included; a billionth of a degree absorbs
// the rounding of the conversion to degrees.
bool Within(double longitudeDeg, double meridianDeg, double half) {
    return std::fabs(longitudeDeg - meridianDeg) <= half + 1e-9;
}

}  // namespace

void BlhToXyzKrasowski(double B, double L, double H, double& X, double& Y, double& Z) {
    BlhToXyz(kKrasowskiA, 1.0 / 298.3, B, L, H, X, Y, Z);
}

void BlhToXyzWgs84(double B, double L, double H, double& X, double& Y, double& Z) {
    BlhToXyz(6378137.0, 0.003352810664331551, B, L, H, X, Y, Z);
}

void XyzToBlhKrasowski(double X, double Y, double Z, double& B, double& L, double& H) {
    XyzToBlh(kKrasowskiA, 6356863.018773047, X, Y, Z, B, L, H);
}

void XyzToBlhWgs84(double X, double Y, double Z, double& B, double& L, double& H) {
    XyzToBlh(6378137.0, 6356752.3141, X, Y, Z, B, L, H);
}

void DatumShift1942ToWgs84(double X, double Y, double Z, double& OutX, double& OutY, double& OutZ) {
    static constexpr double t[3] = {33.4297, -146.5746, -76.2865};
    static constexpr double r[3][3] = {{-8.4078048e-7, -4.08959962e-6, -2.5614575e-7},
                                       {4.08960007e-6, -8.4078196e-7, 1.73888389e-6},
                                       {2.5613864e-7, -1.73888494e-6, -8.4077363e-7}};
    LinearShift(t, r, X, Y, Z, OutX, OutY, OutZ);
}

void DatumShiftWgs84To1942(double X, double Y, double Z, double& OutX, double& OutY, double& OutZ) {
    static constexpr double t[3] = {-33.4297, 146.5746, 76.2865};
    static constexpr double r[3][3] = {{8.407644e-7, 4.08960694e-6, 2.5613907e-7},
                                       {-4.0896065e-6, 8.4076292e-7, -1.73888787e-6},
                                       {-2.5614618e-7, 1.73888682e-6, 8.4077125e-7}};
    LinearShift(t, r, X, Y, Z, OutX, OutY, OutZ);
}

void DatumShift4283ToWgs84(double X, double Y, double Z, double& OutX, double& OutY, double& OutZ) {
    static constexpr double t[3] = {24.0, -123.0, -94.0};
    BursaWolf(0.13, 0.25, -0.02, -1.1e-6, t, X, Y, Z, OutX, OutY, OutZ);
}

void DatumShiftWgs84To4283(double X, double Y, double Z, double& OutX, double& OutY, double& OutZ) {
    static constexpr double t[3] = {-24.0, 123.0, 94.0};
    BursaWolf(-0.13, -0.25, 0.02, 1.1e-6, t, X, Y, Z, OutX, OutY, OutZ);
}

void MeridianArc1942(double B, double A, double E2, double Ep2, double& Arc, double& N, double& M,
                     double& T, double& Eta2, double& V2) {
    Arc = 6367558.49686 * B - 16036.48027 * std::sin(2.0 * B) + 16.82806 * std::sin(4.0 * B) -
          0.02197 * std::sin(6.0 * B) + 0.00003 * std::sin(8.0 * B);
    const double s = std::sin(B), c = std::cos(B);
    N = A / std::sqrt(1.0 - E2 * s * s);
    Eta2 = Ep2 * c * c;
    V2 = 1.0 + Eta2;
    M = std::sqrt(1.0 + Ep2) * A / (V2 * std::sqrt(V2));
    T = Tan(B);
}

void GaussKruegerForward1942(double Meridian, double B, double L, double& X, double& Y) {
    GaussKruegerForwardSeries(6356863.0, FalseEasting1942(Meridian), Meridian, B, L, X, Y);
}

void GaussKruegerInverse1942(double Meridian, double X, double Y, double& B, double& L) {
    GaussKruegerInverseSeries(FalseEasting1942(Meridian), Meridian, X, Y, B, L);
}

void GaussKruegerForward4283(double Meridian, double B, double L, double& X, double& Y) {
    GaussKruegerForwardSeries(6356863.018773047, FalseEasting4283(Meridian), Meridian, B, L, X, Y);
}

void GaussKruegerInverse4283(double Meridian, double X, double Y, double& B, double& L) {
    GaussKruegerInverseSeries(FalseEasting4283(Meridian), Meridian, X, Y, B, L);
}

double DetectZone2000(int Mode, int& Zone, double Value) {
    static constexpr double kMeridians[4] = {15.0, 18.0, 21.0, 24.0};
    if (Zone != 0) {
        if (Zone >= 1 && Zone <= 4) return Radians(kMeridians[Zone - 1]);
        if (Zone == 5) return Radians(19.0);
        return 0.0;
    }
    double meridian = 0.0;
    if (Mode == 0) {
        const double longitude = Degrees(Value);
        for (int i = 0; i < 4; ++i) {
            if (Within(longitude, kMeridians[i], 1.5)) {
                Zone = i + 1;
                meridian = kMeridians[i];
            }
        }
    } else {
        const double n = std::trunc(Value / 1000000.0);
        for (int i = 0; i < 4; ++i) {
            if (3.0 * n == kMeridians[i]) {
                Zone = i + 1;
                meridian = kMeridians[i];
            }
        }
    }
    return Radians(meridian);
}

double DetectZoneUtm(int Mode, int& Strip, double Value) {
    if (Strip != 0) return Strip >= 1 && Strip <= 6 ? Radians(6.0 * Strip - 3.0) : 0.0;
    double meridian = 0.0;
    if (Mode == 0) {
        const double longitude = Degrees(Value);
        for (int i = 1; i <= 6; ++i) {
            if (Within(longitude, 6.0 * i - 3.0, 3.0)) {
                Strip = i;
                meridian = 6.0 * i - 3.0;
            }
        }
    } else {
        const double n = std::trunc(Value / 1000000.0);
        if (n >= 1.0 && n <= 6.0) {
            Strip = static_cast<int>(n);
            meridian = 6.0 * n - 3.0;
        }
    }
    return Radians(meridian);
}

void Zone2000Forward(int Zone, double Omega, double B, double& X, double& Y) {
    if (Zone >= 1 && Zone <= 4) {
        Puwg2000Forward(B, Omega, X, Y);
        Y += (Zone + 4) * 1000000.0 + 500000.0;
    } else if (Zone == 5) {
        Puwg1992Forward(B, Omega, X, Y);
        Y += 500000.0;
        X -= 5300000.0;
    } else {
        Fail("2000 system: no zone");
    }
}

void Zone2000Inverse(int Zone, double Y, double X, double& B, double& Omega) {
    if (Zone >= 1 && Zone <= 4) {
        Puwg2000Inverse(X, Y - ((Zone + 4) * 1000000.0 + 500000.0), B, Omega);
    } else if (Zone == 5) {
        Puwg1992Inverse(X + 5300000.0, Y - 500000.0, B, Omega);
    } else {
        Fail("2000 system: no zone");
    }
}

void ZoneUtmForward(int Strip, double Omega, double B, double& X, double& Y) {
    if (Strip < 1 || Strip > 6) Fail("UTM: no strip");
    UtmForward(B, Omega, X, Y);
    Y += (Strip + 0.5) * 1000000.0;
}

void ZoneUtmInverse(int Strip, double Y, double X, double& B, double& Omega) {
    if (Strip < 1 || Strip > 6) Fail("UTM: no strip");
    UtmInverse(X, Y - (Strip + 0.5) * 1000000.0, B, Omega);
}

void Puwg2000ToBlCore(double ZoneCode, double X, double Y, double H, double& B, double& L,
                      double& OutH) {
    int zone = ZoneNumber(ZoneCode);
    const double meridian = DetectZone2000(1, zone, Y);
    double omega = 0.0;
    Zone2000Inverse(zone, Y, X, B, omega);
    L = omega + meridian;
    OutH = H;
}
