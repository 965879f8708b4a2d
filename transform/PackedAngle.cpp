#include "transform/PackedAngle.h"

#include <cmath>
#include <numbers>

void DmsToRad(double& Value) {
    const double sign = Value >= 0.0 ? 1.0 : -1.0;
    const double a = std::fabs(Value);
    const double c = std::trunc(a / 100.0) * 100.0;
    const double d = std::trunc(a / 10000.0) * 10000.0;
    const double seconds = 0.36 * d + (a - c) + 0.6 * (c - d);
    Value = seconds * sign * std::numbers::pi / 648000.0;
}

void RadToDms(double& Value) {
    const double sign = Value >= 0.0 ? 1.0 : -1.0;
    const double s = std::fabs(Value) * 648000.0 / std::numbers::pi;
    const double m = std::trunc(s / 60.0);
    double d = std::trunc(m / 60.0);
    double seconds = s - 60.0 * m;
    double minutes = m - 60.0 * d;
    if (seconds > 59.9999) {
        minutes += 1.0;
        seconds = 0.0;
    }
    if (minutes > 59.9999) {
        d += 1.0;
        minutes = 0.0;
    }
    Value = sign * (d * 10000.0 + minutes * 100.0 + seconds);
}

double Tan(double Value) {
    return std::sin(Value) / std::cos(Value);
}
