#pragma once

#include <cstdint>

// The projection of each Polish system on its fixed ellipsoid: 1965, GUGIK 80 and the 1942
// Gauss-Krueger on Krasowski; UTM, 2000 and 1992 on WGS-84. Each selects its ellipsoid row and
// puts the previous index back. The plain Gauss-Krueger systems take and give the longitude
// difference from the strip's meridian and bare scaled coordinates without false values.

// Zones 1-5 (11-15 read as 1-5); any other zone returns false and leaves the outputs untouched.
bool Xy1965Forward(std::uint8_t Zone, double B, double L, double& X, double& Y);
bool Xy1965Inverse(std::uint8_t Zone, double X, double Y, double& B, double& L);
bool Puwg80Forward(double B, double L, double& X, double& Y);
bool Puwg80Inverse(double X, double Y, double& B, double& L);
bool Xy1942Forward(double B, double Omega, double& X, double& Y);
bool Xy1942Inverse(double X, double Y, double& B, double& Omega);
bool UtmForward(double B, double Omega, double& X, double& Y);
bool UtmInverse(double X, double Y, double& B, double& Omega);
bool Puwg2000Forward(double B, double Omega, double& X, double& Y);
bool Puwg2000Inverse(double X, double Y, double& B, double& Omega);
bool Puwg1992Forward(double B, double Omega, double& X, double& Y);
bool Puwg1992Inverse(double X, double Y, double& B, double& Omega);

// A zone given as a double, rounded to the nearest integer; a value that is not finite or lies
// outside 0-255 gives 0, which no conversion accepts.
std::uint8_t ZoneByte(double Zone);

// A zone or strip given as a double, rounded to the nearest integer; -1 for a value that is not
// finite or lies outside -1000 to 1000, so that no nonsense value reads as "choose automatically".
int ZoneNumber(double Zone);
