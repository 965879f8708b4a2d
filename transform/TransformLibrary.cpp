#include "transform/TransformLibrary.h"

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

bool TransformWithLibrary(int Source, int Target, double& X, double& Y, double& Z) {
    if (BindTransformLibrary() != 0) return false;
    const TTransMultiTrans call = TransMultiTrans();
    if (Source == SysCodeGeographic) {
        X *= std::numbers::pi / 180.0;
        Y *= std::numbers::pi / 180.0;
    }
    switch (Source) {
        case SysCodePivot:
        case SysCodeDirect15:
        case SysCodeDirect18:
        case SysCodeDirect21:
        case SysCodeDirect24:
            call(Source, Target, X, Y, Z, &X, &Y, &Z);
            break;
        default:
            call(Source, SysCodePivot, X, Y, Z, &X, &Y, &Z);
            call(SysCodePivot, Target, X, Y, Z, &X, &Y, &Z);
            break;
    }
    if (Target == SysCodeGeographic) {
        X *= 180.0 / std::numbers::pi;
        Y *= 180.0 / std::numbers::pi;
    }
    return true;
}

void InitTransformLibrary() {
    TransformLibraryHandle = nullptr;
    TransformLibraryEntries = {};
}
