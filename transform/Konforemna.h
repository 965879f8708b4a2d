#pragma once

#include <array>
#include <memory>

#include "model/ComplexValue.h"

// A plane conformal transformation by a complex polynomial: the point is moved to the input
// centre, scaled, taken as z = X + iY, mapped to c0 + c1 z + ... + cn z^n, scaled back and moved
// to the output centre. X is the northing and the real part.
class TKonforemna {
  public:
    static constexpr int kMaxDegree = 10;

    TKonforemna() = default;

    // A degree outside 0-10 is refused (result false, nothing changed).
    bool SetCentres(int Degree, double InX, double InY, double OutX, double OutY);
    bool SetScales(double InScale, double OutScale);
    // An index outside 0-10 is ignored. The result is always false, as callers never read it.
    bool SetCoefficient(int Index, double Re, double Im);
    // 0 done; -1 with both outputs 0.0 when nothing was set or the output scale is zero.
    int Transform(double X, double Y, double& OutX, double& OutY) const;

    int Degree() const { return degree_; }
    bool IsSet() const { return isSet_; }

  private:
    int degree_ = 0;
    bool isSet_ = false;
    double inCentreX_ = 0.0, inCentreY_ = 0.0;
    double outCentreX_ = 0.0, outCentreY_ = 0.0;
    double inScale_ = 0.0, outScale_ = 0.0;
    std::array<TComplexValue, kMaxDegree + 1> coefficients_{};
};

// The fixed polynomials between system 1965 and the local Warszawa systems.
class TWawa65_75 : public TKonforemna {
  public:
    TWawa65_75();
};
class TWawa75_65 : public TKonforemna {
  public:
    TWawa75_65();
};
class TWawa65_25 : public TKonforemna {
  public:
    TWawa65_25();
};
class TWawa25_65 : public TKonforemna {
  public:
    TWawa25_65();
};

// One instance of each, from load to unload (null outside that time).
extern std::unique_ptr<TWawa65_75>& Wawa65_75;
extern std::unique_ptr<TWawa75_65>& Wawa75_65;
extern std::unique_ptr<TWawa65_25>& Wawa65_25;
extern std::unique_ptr<TWawa25_65>& Wawa25_65;

void InitWarszawaPolynomials();
void DoneWarszawaPolynomials();
