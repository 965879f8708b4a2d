#include "transform/ZoneCorrection65.h"

bool CorrectionEnabled = false;
TCorrectionRoutine CorrectionRoutine = nullptr;

namespace {

int Correct(int zone, double& outX, double& outY, double inX, double inY, int direction) {
    outX = inX;
    outY = inY;
    if (!CorrectionEnabled || CorrectionRoutine == nullptr) return -1;
    try {
        const long double x = inX, y = inY;
        long double cx = x, cy = y;
        const int result = CorrectionRoutine(x, y, cx, cy, zone, direction);
        outX = static_cast<double>(cx);
        outY = static_cast<double>(cy);
        return result;
    } catch (...) {
        return -1;
    }
}

}  // namespace

int GugikCorrectForward(int Zone, double& OutX, double& OutY, double InX, double InY) {
    return Correct(Zone, OutX, OutY, InX, InY, 1);
}

int GugikCorrectInverse(int Zone, double& OutX, double& OutY, double InX, double InY) {
    return Correct(Zone, OutX, OutY, InX, InY, 2);
}

void InitZoneCorrection() {
    CorrectionEnabled = false;
    CorrectionRoutine = nullptr;
}
