#include "model/DmsAngle.h"

#include <cmath>

namespace {

constexpr long double kPi = 3.1415926535897932385L;

}  // namespace

bool SplitDmsAngle(double X, double& Radians, double& DecimalDegrees, double& Degrees,
                   double& Minutes, double& Seconds) {
    // The parts are computed in doubles: exact for every angle that can be valid, and free of the
    // overflow a 32-bit product would suffer for large negative inputs.
    const double d = std::trunc(X / 10000.0);
    bool valid = d < 360.0;
    const double r = X - d * 10000.0;
    const double m = std::trunc(r / 100.0);
    valid = valid && m < 60.0;
    const double s = r - m * 100.0;
    valid = valid && s < 60.0;
    DecimalDegrees = static_cast<double>(static_cast<long double>(d) + m / 60.0L + s / 3600.0L);
    Degrees = d;
    Minutes = m;
    Seconds = s;
    Radians = static_cast<double>(kPi * DecimalDegrees / 180.0L);
    return valid;
}

bool DmsToRadians(double X, double& Radians) {
    double decimalDegrees = 0, degrees = 0, minutes = 0, seconds = 0;
    return SplitDmsAngle(X, Radians, decimalDegrees, degrees, minutes, seconds);
}
