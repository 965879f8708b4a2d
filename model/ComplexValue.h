#pragma once

// Complex arithmetic for the conformal mappings. Every routine reads all its inputs before it
// writes its output, so the output may be one of the inputs.

struct TComplexValue {
    double Re = 0.0;
    double Im = 0.0;
};

void ComplexAdd(const TComplexValue& Z1, const TComplexValue& Z2, TComplexValue& R);
void ComplexMul(const TComplexValue& Z1, const TComplexValue& Z2, TComplexValue& R);
void ComplexScale(const TComplexValue& Z, TComplexValue& R, double K);
// R := Z (1 + Z^2/3 + 2 Z^4/15 + 17 Z^6/315 + 62 Z^8/2835)
void ComplexTanSeries(const TComplexValue& Z, TComplexValue& R);
// R := Z (1 - Z^2/3 + Z^4/5 - Z^6/7 + Z^8/9)
void ComplexAtanSeries(const TComplexValue& Z, TComplexValue& R);
