#include "transform/TransformLibrary.h"

#include <cmath>
#include <numbers>

const std::array<const char*, kTransformLibraryFunctionCount> TransformLibraryNames = {
    "transInversQuasiStereo_Krasowski",
    "transInversGaussKruger",
    "transBLH_XYZ",
    "transXYZ_XYZ",
    "transXYZ_BLH",
    "transBLH_BLH",
    "transGaussKruger",
    "transQuasiStereo",
    "transMultiTrans",
};

platform::ModuleHandle TransformLibraryHandle = nullptr;
std::array<void*, kTransformLibraryFunctionCount> TransformLibraryEntries{};

namespace {
constexpr int kMultiTransIndex = 8;
}  // namespace

int BindTransformLibrary() {
    if (TransformLibraryHandle != nullptr) return 0;
    TransformLibraryHandle = platform::LoadLibrary("lib32\\Rumbo.dll");
    if (TransformLibraryHandle == nullptr) return -1;
    for (int i = 0; i < kTransformLibraryFunctionCount; ++i) {
        TransformLibraryEntries[i] =
            platform::GetProcAddress(TransformLibraryHandle, TransformLibraryNames[i]);
        if (TransformLibraryEntries[i] == nullptr) {
            platform::FreeLibrary(TransformLibraryHandle);
            TransformLibraryHandle = nullptr;
            TransformLibraryEntries = {};
            return -2;
        }
    }
    return 0;
}

TTransMultiTrans TransMultiTrans() {
    return reinterpret_cast<TTransMultiTrans>(TransformLibraryEntries[kMultiTransIndex]);
}

namespace {

// The callers' rules for one point: degrees in and out for the geographic system, one call from
// the pivot and the direct systems, two through the pivot from any other. True when every call
// reported success.
bool CallByRules(TTransMultiTrans call, int Source, int Target, double& X, double& Y, double& Z) {
    if (Source == SysCodeGeographic) {
        X *= std::numbers::pi / 180.0;
        Y *= std::numbers::pi / 180.0;
    }
    bool done = false;
    switch (Source) {
        case SysCodePivot:
        case SysCodeDirect15:
        case SysCodeDirect18:
        case SysCodeDirect21:
        case SysCodeDirect24:
            done = call(Source, Target, X, Y, Z, &X, &Y, &Z) == 0;
            break;
        default:
            done = call(Source, SysCodePivot, X, Y, Z, &X, &Y, &Z) == 0;
            done = call(SysCodePivot, Target, X, Y, Z, &X, &Y, &Z) == 0 && done;
            break;
    }
    if (Target == SysCodeGeographic) {
        X *= 180.0 / std::numbers::pi;
        Y *= 180.0 / std::numbers::pi;
    }
    return done;
}

}  // namespace

bool TransformWithLibrary(int Source, int Target, double& X, double& Y, double& Z) {
    if (BindTransformLibrary() != 0) return false;
    CallByRules(TransMultiTrans(), Source, Target, X, Y, Z);
    return true;
}

bool TransformPointWithLibrary(TTransMultiTrans call, int Source, int Target, double& X,
                               double& Y) {
    double x = X, y = Y, z = 0.0;
    if (!CallByRules(call, Source, Target, x, y, z) || !std::isfinite(x) || !std::isfinite(y))
        return false;
    X = x;
    Y = y;
    return true;
}

void InitTransformLibrary() {
    TransformLibraryHandle = nullptr;
    TransformLibraryEntries = {};
}
