#pragma once

// Angles packed in one double as DDDMMSS.sss: degrees * 10000 + minutes * 100 + seconds.

// Splits a packed angle. Valid when degrees < 360, minutes < 60 and seconds < 60; there is no
// lower bound, so negative parts pass. The outputs are written whether the angle is valid or
// not. Degrees and minutes are truncated toward zero. A NaN or infinite X is invalid.
bool SplitDmsAngle(double X, double& Radians, double& DecimalDegrees, double& Degrees,
                   double& Minutes, double& Seconds);

// The packed angle in radians; the result is its validity as SplitDmsAngle reports it.
bool DmsToRadians(double X, double& Radians);
