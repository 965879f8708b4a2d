#include "model/PlaneGeometry.h"

#include <cmath>

namespace {
// pi and 2 pi in extended precision.
constexpr long double kPi = 3.1415926535897932385L;
constexpr long double kTwoPi = 6.283185307179586477L;
}  // namespace

double Azimuth(double DY, double DX) {
    if (DX == 0.0) return DY >= 0.0 ? 1.5707963267948966 : 4.71238898038469;
    long double a = std::atan(static_cast<long double>(DY) / DX);
    if (DX < 0.0) a += kPi;
    if (a < 0.0L) a += kTwoPi;
    return static_cast<double>(a);
}

double Hypot(double A, double B) {
    return static_cast<double>(
        std::sqrt(static_cast<long double>(A) * A + static_cast<long double>(B) * B));
}

void LineCoefficients(double& A, double& B, double& C, double XA, double YA, double XB, double YB) {
    A = YB - YA;
    B = XA - XB;
    C = static_cast<double>(static_cast<long double>(XB) * YA - static_cast<long double>(XA) * YB);
}

void PerpendicularLine(double& A2, double& B2, double& C2, double A, double B, double /*C*/,
                       double PX, double PY) {
    const double a2 = B;
    const double b2 = -A;
    A2 = a2;
    B2 = b2;
    C2 = static_cast<double>(
        -(static_cast<long double>(a2) * PX + static_cast<long double>(b2) * PY));
}

void SolveLinear2(double& X, double& Y, double A1, double B1, double C1, double A2, double B2,
                  double C2) {
    double d =
        static_cast<double>(static_cast<long double>(A1) * B2 - static_cast<long double>(A2) * B1);
    if (std::fabs(d) < 1e-13) d = 1e-13;
    Y = static_cast<double>(
        -(static_cast<long double>(A1) * C2 - static_cast<long double>(A2) * C1) / d);
    X = static_cast<double>(
        (static_cast<long double>(B1) * C2 - static_cast<long double>(B2) * C1) / d);
}

void LineIntersection(double& X, double& Y, double X1, double Y1, double X2, double Y2, double X3,
                      double Y3, double X4, double Y4) {
    const double dx1 = X2 - X1, dy1 = Y2 - Y1;
    const double ex = X4 - X3, ey = Y4 - Y3;
    const double gx = X3 - X1, gy = Y3 - Y1;
    const long double n = static_cast<long double>(gx) * ey - static_cast<long double>(ex) * gy;
    const long double d = static_cast<long double>(dx1) * ey - static_cast<long double>(ex) * dy1;
    if (std::fabs(d) <= 1e-30L) return;
    const long double t = n / d;
    X = static_cast<double>(X1 + t * dx1);
    Y = static_cast<double>(Y1 + t * dy1);
}

void PerpendicularFoot(double& FX, double& FY, double X1, double Y1, double X2, double Y2,
                       double PX, double PY) {
    double a = 0, b = 0, c = 0;
    LineCoefficients(a, b, c, X2, Y2, X1, Y1);
    double a2 = 0, b2 = 0, c2 = 0;
    PerpendicularLine(a2, b2, c2, a, b, c, PX, PY);
    double qx = 0, qy = 0;
    SolveLinear2(qx, qy, a, b, c, a2, b2, c2);
    FX = qx;
    FY = qy;
    LineIntersection(FX, FY, X1, Y1, X2, Y2, PX, PY, qx, qy);
}

bool PointInRect(const double& X, const double& Y, double MinX, double MinY, double MaxX,
                 double MaxY) {
    return MinX < X && X < MaxX && MinY < Y && Y < MaxY;
}

double DistanceToSegment(bool& OnSegment, double X1, double Y1, double X2, double Y2, double PX,
                         double PY) {
    double fx = 0, fy = 0;
    PerpendicularFoot(fx, fy, X1, Y1, X2, Y2, PX, PY);
    OnSegment = (fx - X1) * (fx - X2) <= 0 && (fy - Y1) * (fy - Y2) <= 0;
    return Hypot(fy - PY, fx - PX);
}
