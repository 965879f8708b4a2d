#include "transform/GaussKrueger.h"

#include <cmath>
#include <stdexcept>

#include "model/ComplexValue.h"
#include "model/DmsAngle.h"

namespace {

// The foot-point iteration steps with a fixed mean meridian radius; it converges linearly by a
// factor below 0.01 per step, so the bound is never reached for finite input.
constexpr double kMeanMeridianRadius = 6383000.0;
constexpr int kFootPointStepLimit = 1000;

}  // namespace

double RadiusFactorV(double B) {
    const double c = std::cos(B);
    return std::sqrt(1.0 + CurrentEllipsoid.Ep2 * c * c);
}

double PrimeVerticalRadius(double B) {
    return CurrentEllipsoid.C / RadiusFactorV(B);
}

double MeridianRadius(double B) {
    const double v = RadiusFactorV(B);
    return PrimeVerticalRadius(B) / (v * v);
}

double MeridianArc(double B) {
    const double e2 = CurrentEllipsoid.E2;
    const double e4 = e2 * e2;
    const double e6 = e4 * e2;
    const double a0 = 1.0 - e2 / 4.0 - 3.0 * e4 / 64.0 - 5.0 * e6 / 256.0;
    const double a2 = 3.0 / 8.0 * (e2 + e4 / 4.0 + 15.0 * e6 / 128.0);
    const double a4 = 15.0 / 256.0 * (e4 + 3.0 * e6 / 4.0);
    const double a6 = 35.0 * e6 / 3072.0;
    return CurrentEllipsoid.A *
           (a0 * B - a2 * std::sin(2.0 * B) + a4 * std::sin(4.0 * B) - a6 * std::sin(6.0 * B));
}

void GaussKruegerForward(double B, double Omega, double M0, double& X, double& Y) {
    const double t = std::tan(B);
    const double t2 = t * t, t4 = t2 * t2, t6 = t4 * t2;
    const double n = PrimeVerticalRadius(B);
    const double psi = n / MeridianRadius(B);
    const double psi2 = psi * psi, psi3 = psi2 * psi, psi4 = psi3 * psi;
    const double s = std::sin(B), c = std::cos(B);
    const double c3 = c * c * c, c5 = c3 * c * c, c7 = c5 * c * c;
    const double w = Omega, w2 = w * w, w3 = w2 * w, w4 = w3 * w, w5 = w4 * w, w6 = w5 * w,
                 w7 = w6 * w, w8 = w7 * w;
    X = M0 * (MeridianArc(B) +
              n * s *
                  (w2 / 2.0 * c + w4 / 24.0 * c3 * (4.0 * psi2 + psi - t2) +
                   w6 / 720.0 * c5 *
                       (8.0 * psi4 * (11.0 - 24.0 * t2) - 28.0 * psi3 * (1.0 - 6.0 * t2) +
                        psi2 * (1.0 - 32.0 * t2) - 2.0 * psi * t2 + t4) +
                   w8 / 40320.0 * c7 * (1385.0 - 3111.0 * t2 + 543.0 * t4 - t6)));
    Y = M0 * n *
        (w * c + w3 / 6.0 * c3 * (psi - t2) +
         w5 / 120.0 * c5 *
             (4.0 * psi3 * (1.0 - 6.0 * t2) + psi2 * (1.0 + 8.0 * t2) - 2.0 * psi * t2 + t4) +
         w7 / 5040.0 * c7 * (61.0 - 479.0 * t2 + 179.0 * t4 - t6));
}

void GaussKruegerInverse(double X, double Y, double M0, double& B, double& Omega) {
    if (!std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(M0) || M0 == 0.0) {
        throw std::domain_error("Gauss-Krueger inverse: input out of range");
    }
    const double m = X / M0;
    double phi = m / kMeanMeridianRadius;
    double arc = MeridianArc(phi);
    int steps = 0;
    while (std::fabs(arc - m) >= 0.0001) {
        if (++steps > kFootPointStepLimit || !std::isfinite(arc)) {
            throw std::domain_error("Gauss-Krueger inverse: foot point does not converge");
        }
        phi += (m - arc) / kMeanMeridianRadius;
        arc = MeridianArc(phi);
    }
    const double t = std::tan(phi);
    const double t2 = t * t, t4 = t2 * t2, t6 = t4 * t2;
    const double n = PrimeVerticalRadius(phi);
    const double mr = MeridianRadius(phi);
    const double psi = n / mr;
    const double psi2 = psi * psi, psi3 = psi2 * psi, psi4 = psi3 * psi;
    const double u = Y / (M0 * n);
    const double u3 = u * u * u, u5 = u3 * u * u, u7 = u5 * u * u;
    const double y2 = Y * Y, y4 = y2 * y2, y6 = y4 * y2, y8 = y4 * y4;
    const double m3 = M0 * M0 * M0, m5 = m3 * M0 * M0, m7 = m5 * M0 * M0;
    const double n3 = n * n * n, n5 = n3 * n * n, n7 = n5 * n * n;
    B = phi + (t / (M0 * mr)) *
                  (-y2 / (2.0 * M0 * n) +
                   y4 / (24.0 * m3 * n3) * (-4.0 * psi2 + 9.0 * psi * (1.0 - t2) + 12.0 * t2) -
                   y6 / (720.0 * m5 * n5) *
                       (8.0 * psi4 * (11.0 - 24.0 * t2) - 12.0 * psi3 * (21.0 - 71.0 * t2) +
                        15.0 * psi2 * (15.0 - 98.0 * t2 + 15.0 * t4) +
                        180.0 * psi * (5.0 * t2 - 3.0 * t4) + 360.0 * t4) +
                   y8 / (40320.0 * m7 * n7) * (1385.0 + 3633.0 * t2 + 4095.0 * t4 + 1575.0 * t6));
    Omega = (u - u3 / 6.0 * (psi + 2.0 * t2) +
             u5 / 120.0 *
                 (-4.0 * psi3 * (1.0 - 6.0 * t2) + psi2 * (9.0 - 68.0 * t2) + 72.0 * psi * t2 +
                  24.0 * t4) -
             u7 / 5040.0 * (61.0 + 662.0 * t2 + 1320.0 * t4 + 720.0 * t6)) /
            std::cos(phi);
}

void QuasiStereoForward(const TProjectionRow& Row, double B, double L, double& X, double& Y) {
    double lambda0 = 0.0;
    DmsToRadians(Row.Lambda0(), lambda0);
    double x = 0.0, y = 0.0;
    GaussKruegerForward(B, L - lambda0, 1.0, x, y);
    const double twoR = 2.0 * Row.R();
    const TComplexValue z{(x - Row.SmallX0()) / twoR, y / twoR};
    TComplexValue w;
    ComplexTanSeries(z, w);
    X = twoR * Row.M0() * w.Re + Row.X0();
    Y = twoR * Row.M0() * w.Im + Row.Y0();
}

void QuasiStereoInverse(const TProjectionRow& Row, double X, double Y, double& B, double& L) {
    const double twoR = 2.0 * Row.R();
    const double scale = twoR * Row.M0();
    const TComplexValue z{(X - Row.X0()) / scale, (Y - Row.Y0()) / scale};
    TComplexValue w;
    ComplexAtanSeries(z, w);
    const double x = twoR * w.Re + Row.SmallX0();
    const double y = twoR * w.Im;
    double omega = 0.0;
    GaussKruegerInverse(x, y, 1.0, B, omega);
    double lambda0 = 0.0;
    DmsToRadians(Row.Lambda0(), lambda0);
    L = omega + lambda0;
}
