#include "transform/Albers.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "transform/Ellipsoids.h"

TAlbersState AlbersState;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kLatitudeStepLimit = 100;

double Q(double s) {
    const TAlbersState& st = AlbersState;
    return st.OneMinusE2 * (s / (1.0 - st.E2 * s * s) -
                            (1.0 / st.TwoE) * std::log((1.0 - st.E * s) / (1.0 + st.E * s)));
}

double M(double phi) {
    const double s = std::sin(phi);
    return std::cos(phi) / std::sqrt(1.0 - AlbersState.E2 * s * s);
}

}  // namespace

int AlbersSetup(double A, double F, double Phi0, double Lambda0, double Phi1, double Phi2,
                double FalseEasting, double FalseNorthing) {
    TAlbersState& st = AlbersState;
    st.A = A;
    st.F = F;
    st.Phi0 = Phi0;
    st.Lambda0 = Lambda0 > kPi ? Lambda0 - 2.0 * kPi : Lambda0;
    st.Phi1 = Phi1;
    st.Phi2 = Phi2;
    st.FalseEasting = FalseEasting;
    st.FalseNorthing = FalseNorthing;
    st.E2 = 2.0 * F - F * F;
    st.E = std::sqrt(st.E2);
    st.OneMinusE2 = 1.0 - st.E2;
    st.TwoE = 2.0 * st.E;
    const double q0 = Q(std::sin(Phi0));
    const double m1 = M(Phi1);
    const double q1 = Q(std::sin(Phi1));
    if (std::fabs(Phi1 - Phi2) <= 1e-10) {
        st.N = std::sin(Phi1);
    } else {
        const double m2 = M(Phi2);
        const double q2 = Q(std::sin(Phi2));
        st.N = (m1 * m1 - m2 * m2) / (q2 - q1);
    }
    st.C = m1 * m1 + st.N * q1;
    st.AOverN = A / st.N;
    st.Rho0 = st.C >= st.N * q0 ? st.AOverN * std::sqrt(st.C - st.N * q0) : 0.0;
    return 0;
}

int AlbersForward(double Phi, double Lambda, double& X, double& Y) {
    const TAlbersState& st = AlbersState;
    double dLambda = Lambda - st.Lambda0;
    if (dLambda > kPi) dLambda -= 2.0 * kPi;
    if (dLambda < -kPi) dLambda += 2.0 * kPi;
    const double nq = st.N * Q(std::sin(Phi));
    const double rho = st.C >= nq ? st.AOverN * std::sqrt(st.C - nq) : 0.0;
    const double theta = st.N * dLambda;
    X = rho * std::sin(theta) + st.FalseEasting;
    Y = st.Rho0 - rho * std::cos(theta) + st.FalseNorthing;
    return 0;
}

int AlbersInverse(double X, double Y, double& Phi, double& Lambda) {
    if (!std::isfinite(X) || !std::isfinite(Y)) {
        throw std::domain_error("Albers inverse: input out of range");
    }
    TAlbersState& st = AlbersState;
    double x = X - st.FalseEasting;
    double y = Y - st.FalseNorthing;
    double d = st.Rho0 - y;
    double rho = std::sqrt(x * x + d * d);
    if (st.N < 0.0) {
        rho = -rho;
        x = -x;
        y = -y;
        d = -d;
    }
    // At the apex the polar angle keeps the value of the previous inverse: the point is the pole.
    if (rho != 0.0) st.Theta = std::atan2(x, d);
    const double rn = rho * st.N / st.A;
    const double q = (st.C - rn * rn) / st.N;
    const double qp = 1.0 - (st.OneMinusE2 / st.TwoE) * std::log((1.0 - st.E) / (1.0 + st.E));
    double phi = 0.0;
    if (std::fabs(std::fabs(qp) - std::fabs(q)) <= 1e-6) {
        phi = q >= 0.0 ? kPi / 2.0 : -kPi / 2.0;
    } else if (q / 2.0 > 1.0) {
        phi = kPi / 2.0;
    } else if (q / 2.0 < -1.0) {
        phi = -kPi / 2.0;
    } else {
        phi = std::asin(q / 2.0);
        for (int step = 0;; ++step) {
            if (step >= kLatitudeStepLimit) {
                throw std::domain_error("Albers inverse: latitude does not converge");
            }
            const double t = std::sin(phi);
            const double w = 1.0 - st.E2 * t * t;
            const double delta = (w * w / (2.0 * std::cos(phi))) *
                                 (q / st.OneMinusE2 - t / w +
                                  (1.0 / st.TwoE) * std::log((1.0 - st.E * t) / (1.0 + st.E * t)));
            phi += delta;
            if (!std::isfinite(phi)) {
                throw std::domain_error("Albers inverse: latitude does not converge");
            }
            if (std::fabs(delta) <= 4.85e-10) break;
        }
    }
    Phi = std::clamp(phi, -kPi / 2.0, kPi / 2.0);
    double lambda = st.Theta / st.N + st.Lambda0;
    if (lambda > kPi) lambda -= 2.0 * kPi;
    if (lambda < -kPi) lambda += 2.0 * kPi;
    Lambda = std::clamp(lambda, -kPi, kPi);
    return 0;
}

namespace {

void SetUpPig() {
    const TEllipsoidRow& krasowski = EllipsoidTable[kEllipsoidKrasowski];
    const TProjectionRow& row = ProjectionTable[kProjectionAlbers];
    AlbersSetup(krasowski.A, 1.0 / krasowski.InvF, row.Values[2], row.Values[3], row.Values[0],
                row.Values[1], row.Values[5], row.Values[4]);
}

}  // namespace

void AlbersPigForward(double B, double L, double& X, double& Y) {
    SetUpPig();
    double easting = 0.0, northing = 0.0;
    AlbersForward(B, L, easting, northing);
    X = northing;
    Y = easting;
}

void AlbersPigInverse(double X, double Y, double& B, double& L) {
    SetUpPig();
    AlbersInverse(Y, X, B, L);
}
