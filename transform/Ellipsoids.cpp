#include "transform/Ellipsoids.h"

#include <cmath>

#include "transform/TransformTexts.h"

constinit std::array<TEllipsoidRow, kEllipsoidCount> EllipsoidTable;
constinit std::array<TProjectionRow, kProjectionCount> ProjectionTable;
int CurrentEllipsoidIndex = 0;
TCurrentEllipsoid CurrentEllipsoid;

void InitEllipsoidTables() {
    EllipsoidTable = {};
    ProjectionTable = {};
    struct Ellipsoid {
        const char* name;
        double a, invF;
    };
    static constexpr Ellipsoid kEllipsoids[kEllipsoidCount] = {
        {"Clarke 1866", 6378206.0, 294.98},   {"Hayford 1909", 6378388.0, 297.0},
        {"Clarke 1880", 6378249.0, 293.47},   {"Bessel 1841", 6377397.0, 299.15},
        {"Everest 1830", 6377276.0, 300.8},   {"Krasowski 1940", 6378245.0, 298.3},
        {"GRS 80", 6378137.0, 298.257222101}, {"WGS-84", 6378137.0, 298.257223563},
    };
    for (int i = 0; i < kEllipsoidCount; ++i) {
        EllipsoidTable[i].Name = kEllipsoids[i].name;
        EllipsoidTable[i].A = kEllipsoids[i].a;
        EllipsoidTable[i].InvF = kEllipsoids[i].invF;
    }
    // lambda0, X0, Y0, m0, R, x0, centre latitude.
    static constexpr std::array<double, 10> kRows[kProjectionCount - 1] = {
        {210500, 5467000.0, 4637000.0, 0.9998, 6382390.1649837, 5610467.5770417, 503730},
        {213010, 5806000.0, 4603000.0, 0.9998, 6384119.4273046, 5874939.874115, 530007},
        {170030, 5999000.0, 3501000.0, 0.9998, 6384536.7935655, 5939644.7701117, 533500},
        {164020, 5627000.0, 3703000.0, 0.9998, 6383155.1651299, 5726819.6678288, 514015},
        {185730, -4700000.0, 237000.0, 0.999983, 0.0, 0.0, 0.0},
        {191000, 500000.0, 500000.0, 0.9997142857, 6383515.6754446, 5781989.9020447, 521000},
    };
    for (int i = 0; i < kProjectionCount - 1; ++i) {
        ProjectionTable[i].Name = transform_texts::ProjectionName(i);
        ProjectionTable[i].Values = kRows[i];
    }
    ProjectionTable[kProjectionAlbers].Name = transform_texts::ProjectionName(kProjectionAlbers);
    ProjectionTable[kProjectionAlbers].Values = {
        0.9075712110370514, 0.9075712110370514, 0.9075712110370514, 0.33161255787892263, 0.0, 0.0};
}

void SelectEllipsoid() {
    if (CurrentEllipsoidIndex < 0 || CurrentEllipsoidIndex >= kEllipsoidCount) {
        CurrentEllipsoidIndex = 0;
    }
    TEllipsoidRow& row = EllipsoidTable[CurrentEllipsoidIndex];
    TCurrentEllipsoid& e = CurrentEllipsoid;
    e.A = row.A;
    e.F = 1.0 / row.InvF;
    e.B = e.A * (1.0 - e.F);
    e.C = e.A * e.A / e.B;
    e.E2 = (e.A * e.A - e.B * e.B) / (e.A * e.A);
    e.Ep2 = (e.A * e.A - e.B * e.B) / (e.B * e.B);
    e.E = std::sqrt(e.E2);
    row.E = e.E;
    row.E2 = e.E2;
    row.Ep2 = e.Ep2;
}
