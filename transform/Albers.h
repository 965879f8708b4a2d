#pragma once

// The Albers equal-area conic projection on an ellipsoid, and the one Albers system of the
// projection table on the Krasowski ellipsoid.

struct TAlbersState {
    double A = 0.0, F = 0.0;
    double E2 = 0.0, E = 0.0, OneMinusE2 = 0.0, TwoE = 0.0;
    double Phi0 = 0.0, Lambda0 = 0.0, Phi1 = 0.0, Phi2 = 0.0;
    double FalseEasting = 0.0, FalseNorthing = 0.0;
    double N = 0.0, C = 0.0, AOverN = 0.0, Rho0 = 0.0;
    double Theta = 0.0;  // polar angle of the last inverse projection
};

extern TAlbersState AlbersState;

int AlbersSetup(double A, double F, double Phi0, double Lambda0, double Phi1, double Phi2,
                double FalseEasting, double FalseNorthing);
// Easting first, as the projection is published.
int AlbersForward(double Phi, double Lambda, double& X, double& Y);
// Throws std::domain_error for non-finite input or a latitude that does not converge.
int AlbersInverse(double X, double Y, double& Phi, double& Lambda);

// Northing first, as the rest of the system.
void AlbersPigForward(double B, double L, double& X, double& Y);
void AlbersPigInverse(double X, double Y, double& B, double& L);
