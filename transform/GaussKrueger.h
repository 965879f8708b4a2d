#pragma once

#include "transform/Ellipsoids.h"

// Gauss-Krueger (transverse Mercator) and the quasi-stereographic projection built on it, on the
// current ellipsoid. Angles are radians; X is the northing and Y the easting, in metres.

double RadiusFactorV(double B);        // sqrt(1 + e'^2 cos^2 B)
double PrimeVerticalRadius(double B);  // N
double MeridianRadius(double B);       // M
double MeridianArc(double B);          // from the equator, metres

// Omega is the longitude difference from the central meridian; X and Y carry no false values.
void GaussKruegerForward(double B, double Omega, double M0, double& X, double& Y);
// Throws std::domain_error for a non-finite input or a foot point that does not converge.
void GaussKruegerInverse(double X, double Y, double M0, double& B, double& Omega);

void QuasiStereoForward(const TProjectionRow& Row, double B, double L, double& X, double& Y);
void QuasiStereoInverse(const TProjectionRow& Row, double X, double Y, double& B, double& L);
