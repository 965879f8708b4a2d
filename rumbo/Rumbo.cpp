// The outside transformation library. Its systems, by number:
//   9000         WGS 84 geocentric X, Y, Z (metres): the pivot of two-step transformations
//   9999         WGS 84 geographic: latitude, longitude (radians), ellipsoidal height (metres)
//   10015-10024  the 2000 system on the meridians 15, 18, 21, 24 degrees (zones 5-8)
//   2180         the 1992 system
// Plane systems are (northing, easting, ellipsoidal height) on GRS 80, projected by the Krueger
// series of the transverse Mercator to the sixth order in the third flattening (well below a
// millimetre within a zone). transMultiTrans converts any of these into any other; an unknown
// number gives -1 with the input copied to the outputs. The other eight functions work on single
// steps on GRS 80 (or the Krasowski ellipsoid where their name says so).
#include <cmath>
#include <numbers>

#define RUMBO_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr double kPi = std::numbers::pi;

struct Ellipsoid {
    double a, f;
};
constexpr Ellipsoid kGrs80{6378137.0, 1.0 / 298.257222101};
constexpr Ellipsoid kKrasowski{6378245.0, 1.0 / 298.3};

struct Projection {
    double lon0, k0, falseNorthing, falseEasting;
};

// Geographic to geocentric and back (Bowring's start, iterated to full precision).
void ToGeocentric(const Ellipsoid& el, double b, double l, double h, double& x, double& y,
                  double& z) {
    const double e2 = el.f * (2.0 - el.f);
    const double n = el.a / std::sqrt(1.0 - e2 * std::sin(b) * std::sin(b));
    x = (n + h) * std::cos(b) * std::cos(l);
    y = (n + h) * std::cos(b) * std::sin(l);
    z = (n * (1.0 - e2) + h) * std::sin(b);
}

bool ToGeographic(const Ellipsoid& el, double x, double y, double z, double& b, double& l,
                  double& h) {
    const double e2 = el.f * (2.0 - el.f);
    const double p = std::hypot(x, y);
    if (!std::isfinite(p) || !std::isfinite(z) || (p == 0.0 && z == 0.0)) return false;
    l = std::atan2(y, x);
    double lat = std::atan2(z, p * (1.0 - e2));
    for (int i = 0; i < 10; ++i) {
        const double s = std::sin(lat);
        const double n = el.a / std::sqrt(1.0 - e2 * s * s);
        lat = std::atan2(z + e2 * n * s, p);
    }
    const double s = std::sin(lat), c = std::cos(lat);
    const double n = el.a / std::sqrt(1.0 - e2 * s * s);
    h = std::fabs(c) > 1e-10 ? p / c - n : std::fabs(z) - n * (1.0 - e2);
    b = lat;
    return true;
}

// Krueger's series of the transverse Mercator.
struct Krueger {
    double n, A, alpha[7], beta[7];
    explicit Krueger(const Ellipsoid& el) {
        n = el.f / (2.0 - el.f);
        const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n, n6 = n5 * n;
        A = el.a / (1.0 + n) * (1.0 + n2 / 4.0 + n4 / 64.0 + n6 / 256.0);
        alpha[1] =
            n / 2 - 2 * n2 / 3 + 5 * n3 / 16 + 41 * n4 / 180 - 127 * n5 / 288 + 7891 * n6 / 37800;
        alpha[2] =
            13 * n2 / 48 - 3 * n3 / 5 + 557 * n4 / 1440 + 281 * n5 / 630 - 1983433 * n6 / 1935360;
        alpha[3] = 61 * n3 / 240 - 103 * n4 / 140 + 15061 * n5 / 26880 + 167603 * n6 / 181440;
        alpha[4] = 49561 * n4 / 161280 - 179 * n5 / 168 + 6601661 * n6 / 7257600;
        alpha[5] = 34729 * n5 / 80640 - 3418889 * n6 / 1995840;
        alpha[6] = 212378941 * n6 / 319334400;
        beta[1] =
            n / 2 - 2 * n2 / 3 + 37 * n3 / 96 - n4 / 360 - 81 * n5 / 512 + 96199 * n6 / 604800;
        beta[2] = n2 / 48 + n3 / 15 - 437 * n4 / 1440 + 46 * n5 / 105 - 1118711 * n6 / 3870720;
        beta[3] = 17 * n3 / 480 - 37 * n4 / 840 - 209 * n5 / 4480 + 5569 * n6 / 90720;
        beta[4] = 4397 * n4 / 161280 - 11 * n5 / 504 - 830251 * n6 / 7257600;
        beta[5] = 4583 * n5 / 161280 - 108847 * n6 / 3991680;
        beta[6] = 20648693 * n6 / 638668800;
    }
};

void TmForward(const Ellipsoid& el, const Projection& pr, double b, double l, double& north,
               double& east) {
    const Krueger k(el);
    const double e = std::sqrt(el.f * (2.0 - el.f));
    const double dl = l - pr.lon0;
    const double t = std::sinh(std::atanh(std::sin(b)) - e * std::atanh(e * std::sin(b)));
    const double xi = std::atan2(t, std::cos(dl));
    const double eta = std::atanh(std::sin(dl) / std::sqrt(1.0 + t * t));
    double x = xi, y = eta;
    for (int j = 1; j <= 6; ++j) {
        x += k.alpha[j] * std::sin(2 * j * xi) * std::cosh(2 * j * eta);
        y += k.alpha[j] * std::cos(2 * j * xi) * std::sinh(2 * j * eta);
    }
    north = pr.k0 * k.A * x + pr.falseNorthing;
    east = pr.k0 * k.A * y + pr.falseEasting;
}

void TmInverse(const Ellipsoid& el, const Projection& pr, double north, double east, double& b,
               double& l) {
    const Krueger k(el);
    const double e = std::sqrt(el.f * (2.0 - el.f));
    const double xi0 = (north - pr.falseNorthing) / (pr.k0 * k.A);
    const double eta0 = (east - pr.falseEasting) / (pr.k0 * k.A);
    double xi = xi0, eta = eta0;
    for (int j = 1; j <= 6; ++j) {
        xi -= k.beta[j] * std::sin(2 * j * xi0) * std::cosh(2 * j * eta0);
        eta -= k.beta[j] * std::cos(2 * j * xi0) * std::sinh(2 * j * eta0);
    }
    const double chi = std::asin(std::sin(xi) / std::cosh(eta));
    // Conformal to geodetic latitude by Newton's method on tan.
    const double tc = std::tan(chi);
    double tp = tc;
    for (int i = 0; i < 8; ++i) {
        const double s = std::sinh(e * std::atanh(e * tp / std::sqrt(1.0 + tp * tp)));
        const double tc1 = tp * std::sqrt(1.0 + s * s) - s * std::sqrt(1.0 + tp * tp);
        const double d = (tc - tc1) / std::sqrt(1.0 + tc1 * tc1) * (1.0 + (1.0 - e * e) * tp * tp) /
                         ((1.0 - e * e) * std::sqrt(1.0 + tp * tp));
        tp += d;
    }
    b = std::atan(tp);
    l = pr.lon0 + std::atan2(std::sinh(eta), std::cos(xi));
}

bool PlaneSystem(int number, Projection& pr) {
    const double deg = kPi / 180.0;
    switch (number) {
        case 10015:
            pr = {15 * deg, 0.999923, 0.0, 5500000.0};
            return true;
        case 10018:
            pr = {18 * deg, 0.999923, 0.0, 6500000.0};
            return true;
        case 10021:
            pr = {21 * deg, 0.999923, 0.0, 7500000.0};
            return true;
        case 10024:
            pr = {24 * deg, 0.999923, 0.0, 8500000.0};
            return true;
        case 2180:
            pr = {19 * deg, 0.9993, -5300000.0, 500000.0};
            return true;
    }
    return false;
}

// Any system to WGS 84 geocentric.
bool ToPivot(int number, double a, double b, double c, double& x, double& y, double& z) {
    if (number == 9000) {
        x = a, y = b, z = c;
        return true;
    }
    if (number == 9999) {
        ToGeocentric(kGrs80, a, b, c, x, y, z);
        return true;
    }
    Projection pr{};
    if (!PlaneSystem(number, pr)) return false;
    double lat = 0.0, lon = 0.0;
    TmInverse(kGrs80, pr, a, b, lat, lon);
    ToGeocentric(kGrs80, lat, lon, c, x, y, z);
    return true;
}

bool FromPivot(int number, double x, double y, double z, double& a, double& b, double& c) {
    if (number == 9000) {
        a = x, b = y, c = z;
        return true;
    }
    double lat = 0.0, lon = 0.0, h = 0.0;
    if (number == 9999) {
        if (!ToGeographic(kGrs80, x, y, z, lat, lon, h)) return false;
        a = lat, b = lon, c = h;
        return true;
    }
    Projection pr{};
    if (!PlaneSystem(number, pr)) return false;
    if (!ToGeographic(kGrs80, x, y, z, lat, lon, h)) return false;
    TmForward(kGrs80, pr, lat, lon, a, b);
    c = h;
    return true;
}

int Copy(double x, double y, double z, double* ox, double* oy, double* oz) {
    *ox = x, *oy = y, *oz = z;
    return -1;
}

}  // namespace

RUMBO_EXPORT int transMultiTrans(int Source, int Target, double X, double Y, double Z, double* OutX,
                                 double* OutY, double* OutZ) {
    double gx = 0.0, gy = 0.0, gz = 0.0, a = 0.0, b = 0.0, c = 0.0;
    if (!ToPivot(Source, X, Y, Z, gx, gy, gz) || !FromPivot(Target, gx, gy, gz, a, b, c)) {
        return Copy(X, Y, Z, OutX, OutY, OutZ);
    }
    *OutX = a, *OutY = b, *OutZ = c;
    return 0;
}

RUMBO_EXPORT int transBLH_XYZ(double B, double L, double H, double* X, double* Y, double* Z) {
    ToGeocentric(kGrs80, B, L, H, *X, *Y, *Z);
    return 0;
}

RUMBO_EXPORT int transXYZ_BLH(double X, double Y, double Z, double* B, double* L, double* H) {
    return ToGeographic(kGrs80, X, Y, Z, *B, *L, *H) ? 0 : Copy(X, Y, Z, B, L, H);
}

RUMBO_EXPORT int transXYZ_XYZ(double X, double Y, double Z, double* OutX, double* OutY,
                              double* OutZ) {
    *OutX = X, *OutY = Y, *OutZ = Z;
    return 0;
}

RUMBO_EXPORT int transBLH_BLH(double B, double L, double H, double* OutB, double* OutL,
                              double* OutH) {
    *OutB = B, *OutL = L, *OutH = H;
    return 0;
}

// Gauss-Krueger with scale 1 on the given central meridian (radians), no false values.
RUMBO_EXPORT int transGaussKruger(double B, double L, double Lon0, double* X, double* Y) {
    TmForward(kGrs80, {Lon0, 1.0, 0.0, 0.0}, B, L, *X, *Y);
    return 0;
}

RUMBO_EXPORT int transInversGaussKruger(double X, double Y, double Lon0, double* B, double* L) {
    TmInverse(kGrs80, {Lon0, 1.0, 0.0, 0.0}, X, Y, *B, *L);
    return 0;
}

// No quasi-stereographic systems are defined in this library: both refuse.
RUMBO_EXPORT int transQuasiStereo(double, double, double, double*, double*) {
    return -1;
}

RUMBO_EXPORT int transInversQuasiStereo_Krasowski(double, double, double, double*, double*) {
    static_cast<void>(kKrasowski);
    return -1;
}
