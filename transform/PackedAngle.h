#pragma once

// Angles of the transformation module: radians inside, packed ±DDDMMSS.s (degrees * 10000 +
// minutes * 100 + seconds) in the tables and zone parameters.

// Replaces a packed angle by the same angle in radians; the sign applies to the whole angle.
void DmsToRad(double& Value);
// Replaces an angle in radians by the packed angle. A value a hair below a whole minute or degree
// becomes that whole minute or degree.
void RadToDms(double& Value);
// Sine over cosine.
double Tan(double Value);
