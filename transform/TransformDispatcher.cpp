#include "transform/TransformDispatcher.h"

#include <cmath>

#include "platform/UiService.h"
#include "transform/PackedAngle.h"
#include "transform/PairFunctions.h"
#include "transform/PolishProjections.h"
#include "transform/TransformTexts.h"
#include "transform/UnitStorage.h"
#include "transform/ZoneCorrection65.h"

namespace {
constinit UnitStorage<std::unique_ptr<TTrsTrans>> userTransformation;
}  // namespace
constinit std::unique_ptr<TTrsTrans>& UserTransformation = userTransformation.object;

namespace {

// The values of one call as the pair functions receive them.
struct Call {
    int source = 0, target = 0;
    double zone65 = 0.0, meridian = 0.0, zoneCode = 0.0, strip = 0.0;
    double x = 0.0, y = 0.0, h = 0.0;
    double *outX = nullptr, *outY = nullptr, *outH = nullptr;
};

using Std = void (*)(double, double, double, double, double, double, double&, double&, double&);
using War = void (*)(double, double, double, double, double, double, double, double&, double&,
                     double&);
using Str = void (*)(double, double, double, double, double&, double&, double&);
using Two = void (*)(double, double, double, double, double, double&, double&, double&);

bool Run(Std f, const Call& c, double p1, double p2, double p3) {
    f(p1, p2, p3, c.x, c.y, c.h, *c.outX, *c.outY, *c.outH);
    return true;
}
// Pattern A, B, C and D of the parameters.
bool A(Std f, const Call& c) {
    return Run(f, c, c.zone65, c.meridian, 0.0);
}
bool B(Std f, const Call& c) {
    return Run(f, c, 0.0, 0.0, 0.0);
}
bool C(Std f, const Call& c) {
    return Run(f, c, c.zone65, c.meridian, 5.0);
}
bool D(Std f, const Call& c) {
    return Run(f, c, c.zone65, c.meridian, c.zoneCode);
}
bool S(Str f, const Call& c) {
    f(c.strip, c.x, c.y, c.h, *c.outX, *c.outY, *c.outH);
    return true;
}
bool S2(Two f, const Call& c, double p1) {
    f(p1, c.strip, c.x, c.y, c.h, *c.outX, *c.outY, *c.outH);
    return true;
}
// Warszawa pairs: the code of the Warszawa side first.
bool W(War f, const Call& c, int k) {
    f(k, c.zone65, c.meridian, c.zoneCode, c.x, c.y, c.h, *c.outX, *c.outY, *c.outH);
    return true;
}
bool IsWarszawa(int code) {
    return code == csWarszawa75 || code == csWarszawa25;
}

// Calls the pair function of (source, target); false when there is none.
bool CallPair(const Call& c) {
    const int t = c.target;
    switch (c.source) {
        case csWgs84Blh:
            if (IsWarszawa(t)) return W(Wgs84BlhToWarszawa, c, t);
            switch (t) {
                case csWgs84Xyz:
                    return A(Wgs84BlhToWgs84Xyz, c);
                case cs1942Blh:
                    return A(Wgs84BlhToBlh1942, c);
                case cs1942Xy:
                    return A(Wgs84BlhToXy1942, c);
                case cs1965:
                    return A(Wgs84BlhToXy1965, c);
                case csPuwg80:
                    return B(Wgs84BlhToPuwg80, c);
                case cs4283:
                    return A(Wgs84BlhToXy4283, c);
                case csPuwg1992:
                    return C(Wgs84BlhToPuwg1992, c);
                case csPuwg2000:
                    return D(Wgs84BlhToPuwg2000, c);
                case csUtm:
                    return S(Wgs84BlhToUtm, c);
                case csAlbers:
                    return B(Wgs84BlhToAlbers, c);
            }
            return false;
        case csWgs84Xyz:
            switch (t) {
                case csWgs84Blh:
                    return A(Wgs84XyzToWgs84Blh, c);
                case cs1942Blh:
                    return A(Wgs84XyzToBlh1942, c);
                case cs1942Xy:
                    return A(Wgs84XyzToXy1942, c);
                case cs1965:
                    return A(Wgs84XyzToXy1965, c);
                case csPuwg80:
                    return B(Wgs84XyzToPuwg80, c);
                case csPuwg1992:
                    return C(Wgs84XyzToPuwg1992, c);
                case csPuwg2000:
                    return D(Wgs84XyzToPuwg2000, c);
            }
            return false;
        case cs1942Blh:
            switch (t) {
                case csWgs84Blh:
                    return A(Blh1942ToWgs84Blh, c);
                case csWgs84Xyz:
                    return A(Blh1942ToWgs84Xyz, c);
                case cs1942Xy:
                    return A(Blh1942ToXy1942, c);
                case cs1965:
                    return A(Blh1942ToXy1965, c);
                case csPuwg80:
                    return B(Blh1942ToPuwg80, c);
                case csPuwg1992:
                    return C(Blh1942ToPuwg1992, c);
                case csPuwg2000:
                    return D(Blh1942ToPuwg2000, c);
                case csUtm:
                    return S(Blh1942ToUtm, c);
                case csAlbers:
                    return B(Blh1942ToAlbers, c);
            }
            return false;
        case cs1942Xy:
            if (IsWarszawa(t)) return W(Xy1942ToWarszawa, c, t);
            switch (t) {
                case csWgs84Blh:
                    return A(Xy1942ToWgs84Blh, c);
                case csWgs84Xyz:
                    return A(Xy1942ToWgs84Xyz, c);
                case cs1942Blh:
                    return A(Xy1942ToBlh1942, c);
                case cs1965:
                    return A(Xy1942ToXy1965, c);
                case csPuwg80:
                    return Run(Xy1942ToPuwg80, c, 0.0, c.meridian, 0.0);
                case csBorowaGora:
                    Xy1942ToBorowaGora(c.meridian, c.x, c.y, *c.outX, *c.outY);
                    *c.outH = c.h;
                    return true;
                case csPuwg1992:
                    return C(Xy1942ToPuwg1992, c);
                case csPuwg2000:
                    return D(Xy1942ToPuwg2000, c);
                case csUtm:
                    return S2(Xy1942ToUtm, c, c.meridian);
            }
            return false;
        case cs1965:
            if (IsWarszawa(t)) return W(Xy1965ToWarszawa, c, t);
            switch (t) {
                case csWgs84Blh:
                    return A(Xy1965ToWgs84Blh, c);
                case csWgs84Xyz:
                    return A(Xy1965ToWgs84Xyz, c);
                case cs1942Blh:
                    return A(Xy1965ToBlh1942, c);
                case cs1942Xy:
                    return A(Xy1965ToXy1942, c);
                case cs1965:
                    return D(Xy1965ToXy1965, c);
                case csPuwg80:
                    return Run(Xy1965ToPuwg80, c, c.zone65, 0.0, 0.0);
                case csPuwg1992:
                    return C(Xy1965ToPuwg1992, c);
                case csPuwg2000:
                    return D(Xy1965ToPuwg2000, c);
                case csUtm:
                    return Run(Xy1965ToUtm, c, c.zone65, c.meridian, c.strip);
            }
            return false;
        case csPuwg80:
            switch (t) {
                case csWgs84Blh:
                    return B(Puwg80ToWgs84Blh, c);
                case csWgs84Xyz:
                    return B(Puwg80ToWgs84Xyz, c);
                case cs1942Blh:
                    return B(Puwg80ToBlh1942, c);
                case cs1942Xy:
                    return Run(Puwg80ToXy1942, c, 0.0, c.meridian, 0.0);
                case cs1965:
                    return Run(Puwg80ToXy1965, c, c.zone65, 0.0, 0.0);
                case csPuwg1992:
                    return Run(Puwg80ToPuwg1992, c, 0.0, 0.0, 5.0);
                case csPuwg2000:
                    return Run(Puwg80ToPuwg2000, c, 0.0, 0.0, c.zoneCode);
                case csUtm:
                    return Run(Puwg80ToUtm, c, 0.0, 0.0, c.strip);
            }
            return false;
        case cs4283:
            if (t == csWgs84Blh) return A(Xy4283ToWgs84Blh, c);
            return false;
        case csBorowaGora:
            if (t != cs1942Xy) return false;
            BorowaGoraToXy1942(c.meridian, c.x, c.y, *c.outX, *c.outY);
            *c.outH = c.h;
            return true;
        case csWarszawa75:
        case csWarszawa25:
            switch (t) {
                case csWgs84Blh:
                    return W(WarszawaToWgs84Blh, c, c.source);
                case cs1942Xy:
                    return W(WarszawaToXy1942, c, c.source);
                case cs1965:
                    return W(WarszawaToXy1965, c, c.source);
                case csPuwg1992:
                    WarszawaToPuwg1992(c.source, c.zone65, c.meridian, 5.0, c.x, c.y, c.h, *c.outX,
                                       *c.outY, *c.outH);
                    return true;
                case csPuwg2000:
                    return W(WarszawaToPuwg2000, c, c.source);
            }
            return false;
        case csPuwg1992:
            if (IsWarszawa(t)) return W(Puwg1992ToWarszawa, c, t);
            switch (t) {
                case csWgs84Blh:
                    return D(Puwg1992ToWgs84Blh, c);
                case csWgs84Xyz:
                    return D(Puwg1992ToWgs84Xyz, c);
                case cs1942Blh:
                    return D(Puwg1992ToBlh1942, c);
                case cs1942Xy:
                    return D(Puwg1992ToXy1942, c);
                case cs1965:
                    return D(Puwg1992ToXy1965, c);
                case csPuwg80:
                    return D(Puwg1992ToPuwg80, c);
                case csPuwg2000:
                    return D(Puwg1992ToPuwg2000, c);
                case csUtm:
                    return S2(Puwg1992ToUtm, c, c.zoneCode);
            }
            return false;
        case csPuwg2000:
            if (IsWarszawa(t)) return W(Puwg2000ToWarszawa, c, t);
            switch (t) {
                case csWgs84Blh:
                    return D(Puwg2000ToWgs84Blh, c);
                case csWgs84Xyz:
                    return D(Puwg2000ToWgs84Xyz, c);
                case cs1942Blh:
                    return D(Puwg2000ToBlh1942, c);
                case cs1942Xy:
                    return D(Puwg2000ToXy1942, c);
                case cs1965:
                    return D(Puwg2000ToXy1965, c);
                case csPuwg80:
                    return D(Puwg2000ToPuwg80, c);
                case csPuwg1992:
                    return D(Puwg2000ToPuwg1992, c);
                case csPuwg2000:
                    return D(Puwg2000ToPuwg2000, c);
                case csUtm:
                    return S2(Puwg2000ToUtm, c, c.zoneCode);
            }
            return false;
        case csUtm:
            switch (t) {
                case csWgs84Blh:
                    return S(UtmToWgs84Blh, c);
                case cs1942Blh:
                    return S(UtmToBlh1942, c);
                case cs1942Xy:
                    return S2(UtmToXy1942, c, c.meridian);
                case cs1965:
                    return Run(UtmToXy1965, c, c.zone65, c.meridian, c.strip);
                case csPuwg80:
                    return Run(UtmToPuwg80, c, c.zone65, c.meridian, c.strip);
                case csPuwg1992:
                    return S2(UtmToPuwg1992, c, c.zoneCode);
                case csPuwg2000:
                    return S2(UtmToPuwg2000, c, c.zoneCode);
            }
            return false;
        case csAlbers:
            if (t == csPuwg80) return D(AlbersToPuwg80, c);
            if (t == csPuwg1992) return D(AlbersToPuwg1992, c);
            return false;
    }
    return false;
}

double StripPrefix(int strip) {
    return strip >= 0 && strip <= 5 ? strip * 1000000.0 : 0.0;
}

int ZoneOf(double zone65) {
    const int zone = ZoneNumber(zone65);
    return zone < 0 ? 0 : zone;
}

}  // namespace

int TransformPoint(std::uint8_t Code, double Zone65, double Meridian, double ZoneCode, double X,
                   double Y, double H, double* OutX, double* OutY, double* OutH) {
    double sinkX = 0.0, sinkY = 0.0, sinkH = 0.0;
    if (OutX == nullptr) OutX = &sinkX;
    if (OutY == nullptr) OutY = &sinkY;
    if (OutH == nullptr) OutH = &sinkH;
    try {
        int result = kTransformDone;
        bool correctionIn = false, correctionOut = false;
        *OutX = X;
        *OutY = Y;
        *OutH = H;
        RadToDms(Meridian);
        if (Code == csUserTransformation) {
            if (UserTransformation)
                UserTransformation->Transform(true, X, Y, H, *OutX, *OutY, *OutH);
            return kTransformDone;
        }
        Call c;
        c.source = Code >> 4;
        c.target = Code & 15;
        if (c.source != c.target && Zone65 > 10.0 && (c.source == cs1965 || c.target == cs1965)) {
            Zone65 -= 10.0;
            correctionIn = true;
            correctionOut = true;
        }
        if (c.source == cs1965 && c.target == cs1965 && ZoneCode > 10.0) {
            if (Zone65 > 10.0) {
                Zone65 -= 10.0;
                correctionIn = true;
            }
            ZoneCode -= 10.0;
            correctionOut = true;
        }
        bool full = false;
        if (ZoneCode >= 100.0) {
            ZoneCode -= 100.0;
            full = true;
        }
        int strip = 0;
        if (ZoneCode > 9.0 && c.source != cs1965) {
            const double s = std::trunc(ZoneCode / 10.0);
            strip = s < 1000.0 ? static_cast<int>(s) : 0;
            ZoneCode -= 10.0 * s;
        }
        if (c.source == cs1965 && correctionIn) {
            double cx = X, cy = Y;
            if (GugikCorrectInverse(ZoneOf(Zone65), cx, cy, X, Y) != 0) {
                return kTransformCorrectionFailed;
            }
            X = cx;
            Y = cy;
        }
        if (c.source == csUtm && !full) Y += StripPrefix(strip);

        c.zone65 = Zone65;
        c.meridian = Meridian;
        c.zoneCode = ZoneCode;
        c.strip = strip;
        c.x = X;
        c.y = Y;
        c.h = H;
        c.outX = OutX;
        c.outY = OutY;
        c.outH = OutH;
        if (!CallPair(c)) {
            result = kTransformNoPair;
        } else if (!std::isfinite(*OutX) || !std::isfinite(*OutY) || !std::isfinite(*OutH)) {
            // A floating-point fault in the chain: the conversion failed.
            return kTransformCalcError;
        }

        if (c.target == csUtm && !full) *OutY -= StripPrefix(strip);
        if (c.source == cs1965 && c.target == cs1965) Zone65 = ZoneCode;
        if (c.target == cs1965 && correctionOut) {
            double cx = *OutX, cy = *OutY;
            if (GugikCorrectForward(ZoneOf(Zone65), cx, cy, *OutX, *OutY) != 0) {
                platform::MessageBox(0, transform_texts::CorrectionTooLarge(), "", platform::MB_OK);
                return kTransformCorrectionFailed;
            }
            *OutX = cx;
            *OutY = cy;
        }
        return result;
    } catch (...) {
        return kTransformCalcError;
    }
}

void InitTransformDispatcher() {
    UserTransformation = std::make_unique<TTrsTrans>();
}

void DoneTransformDispatcher() {
    try {
        UserTransformation.reset();
    } catch (...) {
    }
}
