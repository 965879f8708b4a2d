#pragma once

#include <cstdint>
#include <memory>

#include "transform/trs_trans.h"

// The one-byte-coded transformation of one point: the source system in the high four bits of the
// code, the target in the low four, the whole byte 255 the user-defined transformation.
enum TCoordinateSystem : int {
    csWgs84Blh = 0,
    csWgs84Xyz = 1,
    cs1942Blh = 2,
    cs1942Xy = 3,
    cs1965 = 4,
    csPuwg80 = 5,
    cs4283 = 6,
    csBorowaGora = 7,
    csWarszawa75 = 8,
    csPuwg1992 = 9,
    csPuwg2000 = 10,
    csUtm = 11,
    csAlbers = 12,
    csUnused13 = 13,
    csWarszawa25 = 14,
};
inline constexpr std::uint8_t csUserTransformation = 255;

// Results of TransformPoint.
inline constexpr int kTransformDone = 0;
inline constexpr int kTransformNoPair = -2;
inline constexpr int kTransformCalcError = -3;
inline constexpr int kTransformCorrectionFailed = -4;

// The code byte of a pair of systems.
constexpr std::uint8_t MakeTransformCode(int Source, int Target) {
    return static_cast<std::uint8_t>(((Source & 15) << 4) | (Target & 15));
}

// Zone65: the 1965 zone (above 10: with the zone correction). Meridian: radians. ZoneCode: 100
// added for full UTM coordinates, the tens digit the UTM strip, the units digit the 2000 zone (5:
// the 1992 system); for 1965 to 1965 the target zone. The outputs always receive the input first.
// A pair whose conversion fails to compute (non-finite result, no zone) gives -3.
int TransformPoint(std::uint8_t Code, double Zone65, double Meridian, double ZoneCode, double X,
                   double Y, double H, double* OutX, double* OutY, double* OutH);

// The user-defined transformation for code 255 (null outside load and unload), created by
// InitTransformDispatcher and released by DoneTransformDispatcher only.
extern std::unique_ptr<TTrsTrans>& UserTransformation;

void InitTransformDispatcher();
void DoneTransformDispatcher();
