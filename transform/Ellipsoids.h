#pragma once

#include <array>
#include <string>
#include <string_view>

// The reference ellipsoids, the named plane projections and the process-wide current ellipsoid
// that the projection operations read.

struct TEllipsoidRow {
    double A = 0.0;         // semi-major axis, metres
    double InvF = 0.0;      // inverse flattening
    double Unused = 0.0;    // read by nothing
    double E = 0.0;         // first eccentricity, written when the row is selected
    double E2 = 0.0;        // e^2, written when selected
    double Ep2 = 0.0;       // second eccentricity squared, written when selected
    std::string_view Name;  // Windows-1250, a static text
};

inline constexpr int kEllipsoidCount = 8;
inline constexpr int kEllipsoidKrasowski = 5;
inline constexpr int kEllipsoidGrs80 = 6;
inline constexpr int kEllipsoidWgs84 = 7;
extern std::array<TEllipsoidRow, kEllipsoidCount> EllipsoidTable;

// One named projection: a name and ten doubles. For the 1965 and GUGIK 80 rows the doubles are
// lambda0 (packed DDMMSS), X0 (false northing), Y0 (false easting), m0, R (radius of the
// quasi-stereographic sphere), x0 (Gauss-Krueger northing of the centre), the centre latitude
// (packed) and three unused values. The Albers row holds radians: phi1, phi2, phi0, lambda0,
// false northing, false easting.
struct TProjectionRow {
    std::string_view Name;  // Windows-1250, a static text
    std::array<double, 10> Values{};

    double Lambda0() const { return Values[0]; }
    double X0() const { return Values[1]; }
    double Y0() const { return Values[2]; }
    double M0() const { return Values[3]; }
    double R() const { return Values[4]; }
    double SmallX0() const { return Values[5]; }
};

inline constexpr int kProjectionCount = 7;
inline constexpr int kProjectionZone65First = 0;  // rows 0-4: zones 1-5 of system 1965
inline constexpr int kProjectionGugik80 = 5;
inline constexpr int kProjectionAlbers = 6;
extern std::array<TProjectionRow, kProjectionCount> ProjectionTable;

// The selected ellipsoid and its derived constants.
struct TCurrentEllipsoid {
    double A = 0.0;
    double F = 0.0;
    double B = 0.0;  // semi-minor axis
    double C = 0.0;  // polar radius of curvature a^2 / b
    double E2 = 0.0;
    double Ep2 = 0.0;
    double E = 0.0;
};

extern int CurrentEllipsoidIndex;
extern TCurrentEllipsoid CurrentEllipsoid;

// Fills both tables; runs once at load.
void InitEllipsoidTables();
// Derives CurrentEllipsoid from the row CurrentEllipsoidIndex names (an index outside the table
// selects row 0) and writes e, e^2 and e'^2 into the row.
void SelectEllipsoid();

// Selects a row for the lifetime of the object and puts the previous index back afterwards; the
// derived constants are not reselected on the way out.
class TEllipsoidScope {
  public:
    explicit TEllipsoidScope(int index) : saved_(CurrentEllipsoidIndex) {
        CurrentEllipsoidIndex = index;
        SelectEllipsoid();
    }
    ~TEllipsoidScope() { CurrentEllipsoidIndex = saved_; }
    TEllipsoidScope(const TEllipsoidScope&) = delete;
    TEllipsoidScope& operator=(const TEllipsoidScope&) = delete;

  private:
    int saved_;
};
