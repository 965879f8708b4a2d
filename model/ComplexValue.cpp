#include "model/ComplexValue.h"

namespace {

using Extended = long double;

// W * T with the intermediate products in extended precision, stored as doubles.
TComplexValue Mul(const TComplexValue& a, const TComplexValue& b) {
    return {static_cast<double>(static_cast<Extended>(a.Re) * b.Re -
                                static_cast<Extended>(a.Im) * b.Im),
            static_cast<double>(static_cast<Extended>(a.Re) * b.Im +
                                static_cast<Extended>(b.Re) * a.Im)};
}

// Horner's scheme on W = Z * Z: T := W * k0, then for each further constant T.re += k, T := W * T;
// finally T.re += 1 and R := Z * T.
template <int N>
void HornerSeries(const TComplexValue& Z, TComplexValue& R, double first,
                  const Extended (&rest)[N]) {
    const TComplexValue w = Mul(Z, Z);
    TComplexValue t{w.Re * first, w.Im * first};
    for (const Extended k : rest) {
        t.Re = static_cast<double>(t.Re + k);
        t = Mul(w, t);
    }
    t.Re = static_cast<double>(t.Re + 1.0L);
    R = Mul(Z, t);
}

}  // namespace

void ComplexAdd(const TComplexValue& Z1, const TComplexValue& Z2, TComplexValue& R) {
    R = {Z1.Re + Z2.Re, Z1.Im + Z2.Im};
}

void ComplexMul(const TComplexValue& Z1, const TComplexValue& Z2, TComplexValue& R) {
    R = Mul(Z1, Z2);
}

void ComplexScale(const TComplexValue& Z, TComplexValue& R, double K) {
    R = {Z.Re * K, Z.Im * K};
}

void ComplexTanSeries(const TComplexValue& Z, TComplexValue& R) {
    static constexpr Extended kRest[] = {17.0L / 315.0L, 2.0L / 15.0L, 1.0L / 3.0L};
    HornerSeries(Z, R, 0.021869488536155203, kRest);
}

void ComplexAtanSeries(const TComplexValue& Z, TComplexValue& R) {
    static constexpr Extended kRest[] = {-1.0L / 7.0L, 1.0L / 5.0L, -1.0L / 3.0L};
    HornerSeries(Z, R, 1.0 / 9.0, kRest);
}
