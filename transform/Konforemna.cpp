#include "transform/Konforemna.h"

#include "transform/UnitStorage.h"

bool TKonforemna::SetCentres(int Degree, double InX, double InY, double OutX, double OutY) {
    if (Degree < 0 || Degree > kMaxDegree) return false;
    degree_ = Degree;
    inCentreX_ = InX;
    inCentreY_ = InY;
    outCentreX_ = OutX;
    outCentreY_ = OutY;
    return true;
}

bool TKonforemna::SetScales(double InScale, double OutScale) {
    inScale_ = InScale;
    outScale_ = OutScale;
    isSet_ = true;
    return true;
}

bool TKonforemna::SetCoefficient(int Index, double Re, double Im) {
    if (Index < 0 || Index > kMaxDegree) return false;
    coefficients_[Index] = {Re, Im};
    isSet_ = true;
    return false;
}

int TKonforemna::Transform(double X, double Y, double& OutX, double& OutY) const {
    // An output scale of zero (coefficients given without scales) would divide by zero.
    if (!isSet_ || outScale_ == 0.0) {
        OutX = 0.0;
        OutY = 0.0;
        return -1;
    }
    const TComplexValue z{(X - inCentreX_) * inScale_, (Y - inCentreY_) * inScale_};
    TComplexValue w = coefficients_[0];
    TComplexValue p = z;
    // Power by power, not Horner: the fitted coefficients were made for this order of summing.
    for (int k = 1; k <= degree_; ++k) {
        TComplexValue term;
        ComplexMul(coefficients_[k], p, term);
        ComplexAdd(w, term, w);
        ComplexMul(p, z, p);
    }
    OutX = w.Re / outScale_ + outCentreX_;
    OutY = w.Im / outScale_ + outCentreY_;
    return 0;
}

namespace {

struct FixedPolynomial {
    double inX, inY, outX, outY, inScale;
    double c[5][2];
};

void Apply(TKonforemna& k, const FixedPolynomial& p) {
    k.SetCentres(4, p.inX, p.inY, p.outX, p.outY);
    k.SetScales(p.inScale, 1.0);
    for (int i = 0; i <= 4; ++i) k.SetCoefficient(i, p.c[i][0], p.c[i][1]);
}

constexpr FixedPolynomial k65To75 = {5719435.1836,
                                     4560072.00643,
                                     -1842.61381,
                                     -9483.65276,
                                     1.81871590573957e-05,
                                     {{0.0542831787750892, 0.0120042466808813},
                                      {54991.2439637898, -375.071207651465},
                                      {1.67548360313169, -0.472672228846565},
                                      {-0.268122466779359, -0.0612177886055516},
                                      {-0.0357817910333897, 0.0211686302832859}}};
constexpr FixedPolynomial k75To65 = {-1842.61381,
                                     -9483.65276,
                                     5719435.1836,
                                     4560072.00643,
                                     1.81843788142297e-05,
                                     {{-0.054191747666407, -0.0123723893531243},
                                      {54982.3018964264, 375.010218070956},
                                      {-1.68452311036343, 0.438218895438575},
                                      {0.266405085621886, 0.0684420246242408},
                                      {0.0364317081931616, -0.0199333304380028}}};
constexpr FixedPolynomial k65To25 = {5720112.62709,
                                     4570843.75398,
                                     -1091.63793,
                                     1284.89655,
                                     2.86887228202585e-05,
                                     {{0.00163771199816032, 0.010204720865166},
                                      {34861.0194895757, -237.413025869405},
                                      {0.49288109805116, -0.142172821052764},
                                      {-0.237088442704323, -0.266533376936279},
                                      {0.0944717687530856, 0.268253855094477}}};
constexpr FixedPolynomial k25To65 = {-1091.63793,
                                     1284.89655,
                                     5720112.62709,
                                     4570843.75398,
                                     2.8684390384993e-05,
                                     {{-0.00156803293927984, -0.0102142291014706},
                                      {34856.4324693305, 237.381787622804},
                                      {-0.495621779639346, 0.132059484214224},
                                      {0.229734901604121, 0.272853185303606},
                                      {-0.0852816294448183, -0.271304398024448}}};

}  // namespace

TWawa65_75::TWawa65_75() {
    Apply(*this, k65To75);
}
TWawa75_65::TWawa75_65() {
    Apply(*this, k75To65);
}
TWawa65_25::TWawa65_25() {
    Apply(*this, k65To25);
}
TWawa25_65::TWawa25_65() {
    Apply(*this, k25To65);
}

namespace {
constinit UnitStorage<std::unique_ptr<TWawa65_75>> wawa65_75;
constinit UnitStorage<std::unique_ptr<TWawa75_65>> wawa75_65;
constinit UnitStorage<std::unique_ptr<TWawa65_25>> wawa65_25;
constinit UnitStorage<std::unique_ptr<TWawa25_65>> wawa25_65;
}  // namespace
constinit std::unique_ptr<TWawa65_75>& Wawa65_75 = wawa65_75.object;
constinit std::unique_ptr<TWawa75_65>& Wawa75_65 = wawa75_65.object;
constinit std::unique_ptr<TWawa65_25>& Wawa65_25 = wawa65_25.object;
constinit std::unique_ptr<TWawa25_65>& Wawa25_65 = wawa25_65.object;

void InitWarszawaPolynomials() {
    Wawa65_75 = std::make_unique<TWawa65_75>();
    Wawa75_65 = std::make_unique<TWawa75_65>();
    Wawa65_25 = std::make_unique<TWawa65_25>();
    Wawa25_65 = std::make_unique<TWawa25_65>();
}

void DoneWarszawaPolynomials() {
    Wawa25_65.reset();
    Wawa65_25.reset();
    Wawa75_65.reset();
    Wawa65_75.reset();
}
