#include "transform/PolishProjections.h"

#include <cmath>

#include "model/DmsAngle.h"
#include "transform/GaussKrueger.h"

namespace {

constexpr double kScaleZone5 = 0.999983;
constexpr double kScale1942 = 1.0;
constexpr double kScaleUtm = 0.9996;
constexpr double kScale2000 = 0.999923;
constexpr double kScale1992 = 0.9993;

// The 1965 zone 1-5 for zones 1-5 and 11-15, otherwise 0.
int Zone65(std::uint8_t zone) {
    if (zone >= 1 && zone <= 5) return zone;
    if (zone >= 11 && zone <= 15) return zone - 10;
    return 0;
}

double RowLambda0(const TProjectionRow& row) {
    double lambda0 = 0.0;
    DmsToRadians(row.Lambda0(), lambda0);
    return lambda0;
}

}  // namespace

std::uint8_t ZoneByte(double Zone) {
    const double r = std::round(Zone);
    if (!std::isfinite(r) || r < 0.0 || r > 255.0) return 0;
    return static_cast<std::uint8_t>(r);
}

int ZoneNumber(double Zone) {
    const double r = std::round(Zone);
    if (!std::isfinite(r) || r < -1000.0 || r > 1000.0) return -1;
    return static_cast<int>(r);
}

bool Xy1965Forward(std::uint8_t Zone, double B, double L, double& X, double& Y) {
    const int zone = Zone65(Zone);
    if (zone == 0) return false;
    TEllipsoidScope scope(kEllipsoidKrasowski);
    const TProjectionRow& row = ProjectionTable[kProjectionZone65First + zone - 1];
    if (zone < 5) {
        QuasiStereoForward(row, B, L, X, Y);
        return true;
    }
    double x = 0.0, y = 0.0;
    GaussKruegerForward(B, L - RowLambda0(row), kScaleZone5, x, y);
    X = x + row.X0();
    Y = y + row.Y0();
    return true;
}

bool Xy1965Inverse(std::uint8_t Zone, double X, double Y, double& B, double& L) {
    const int zone = Zone65(Zone);
    if (zone == 0) return false;
    TEllipsoidScope scope(kEllipsoidKrasowski);
    const TProjectionRow& row = ProjectionTable[kProjectionZone65First + zone - 1];
    if (zone < 5) {
        QuasiStereoInverse(row, X, Y, B, L);
        return true;
    }
    double omega = 0.0;
    GaussKruegerInverse(X - row.X0(), Y - row.Y0(), kScaleZone5, B, omega);
    L = omega + RowLambda0(row);
    return true;
}

bool Puwg80Forward(double B, double L, double& X, double& Y) {
    TEllipsoidScope scope(kEllipsoidKrasowski);
    QuasiStereoForward(ProjectionTable[kProjectionGugik80], B, L, X, Y);
    return true;
}

bool Puwg80Inverse(double X, double Y, double& B, double& L) {
    TEllipsoidScope scope(kEllipsoidKrasowski);
    QuasiStereoInverse(ProjectionTable[kProjectionGugik80], X, Y, B, L);
    return true;
}

bool Xy1942Forward(double B, double Omega, double& X, double& Y) {
    TEllipsoidScope scope(kEllipsoidKrasowski);
    GaussKruegerForward(B, Omega, kScale1942, X, Y);
    return true;
}

bool Xy1942Inverse(double X, double Y, double& B, double& Omega) {
    TEllipsoidScope scope(kEllipsoidKrasowski);
    GaussKruegerInverse(X, Y, kScale1942, B, Omega);
    return true;
}

bool UtmForward(double B, double Omega, double& X, double& Y) {
    TEllipsoidScope scope(kEllipsoidWgs84);
    GaussKruegerForward(B, Omega, kScaleUtm, X, Y);
    return true;
}

bool UtmInverse(double X, double Y, double& B, double& Omega) {
    TEllipsoidScope scope(kEllipsoidWgs84);
    GaussKruegerInverse(X, Y, kScaleUtm, B, Omega);
    return true;
}

bool Puwg2000Forward(double B, double Omega, double& X, double& Y) {
    TEllipsoidScope scope(kEllipsoidWgs84);
    GaussKruegerForward(B, Omega, kScale2000, X, Y);
    return true;
}

bool Puwg2000Inverse(double X, double Y, double& B, double& Omega) {
    TEllipsoidScope scope(kEllipsoidWgs84);
    GaussKruegerInverse(X, Y, kScale2000, B, Omega);
    return true;
}

bool Puwg1992Forward(double B, double Omega, double& X, double& Y) {
    TEllipsoidScope scope(kEllipsoidWgs84);
    GaussKruegerForward(B, Omega, kScale1992, X, Y);
    return true;
}

bool Puwg1992Inverse(double X, double Y, double& B, double& Omega) {
    TEllipsoidScope scope(kEllipsoidWgs84);
    GaussKruegerInverse(X, Y, kScale1992, B, Omega);
    return true;
}
