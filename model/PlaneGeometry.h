#pragma once

// Plane geometry on the system's axes: X is the first coordinate (northing), Y the second
// (easting), and an azimuth turns from the X axis towards the Y axis. No state, no allocation.

// Direction of (DX, DY) in radians, in [0, 2 pi).
double Azimuth(double DY, double DX);
// Length of the vector (A, B).
double Hypot(double A, double B);

// Line A x + B y + C = 0 through (XA, YA) and (XB, YB).
void LineCoefficients(double& A, double& B, double& C, double XA, double YA, double XB, double YB);
// Line through (PX, PY) perpendicular to A x + B y + C = 0.
void PerpendicularLine(double& A2, double& B2, double& C2, double A, double B, double C, double PX,
                       double PY);
// Solves A1 x + B1 y + C1 = 0, A2 x + B2 y + C2 = 0; a vanishing determinant is replaced by 1e-13.
void SolveLinear2(double& X, double& Y, double A1, double B1, double C1, double A2, double B2,
                  double C2);
// Intersection of the lines (X1,Y1)-(X2,Y2) and (X3,Y3)-(X4,Y4); X and Y untouched when parallel.
void LineIntersection(double& X, double& Y, double X1, double Y1, double X2, double Y2, double X3,
                      double Y3, double X4, double Y4);
// Foot of the perpendicular from (PX, PY) to the line of the segment (X1,Y1)-(X2,Y2).
void PerpendicularFoot(double& FX, double& FY, double X1, double Y1, double X2, double Y2,
                       double PX, double PY);
// True strictly inside the rectangle; a point on an edge is outside.
bool PointInRect(const double& X, const double& Y, double MinX, double MinY, double MaxX,
                 double MaxY);
// Distance from (PX, PY) to the segment's line; OnSegment tells whether the foot lies between
// the ends (within their closed coordinate ranges).
double DistanceToSegment(bool& OnSegment, double X1, double Y1, double X2, double Y2, double PX,
                         double PY);
