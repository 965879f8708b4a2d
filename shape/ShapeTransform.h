#pragma once

#include <array>
#include <cstdint>

// Unit rules of the shapefile transformations (TShape::TransformShape and
// TShape::TransformShapeMulti, shape/ShapeTransform.cpp).

// Factors to metres of the planar units, by their index in the units dialog: metres, kilometres,
// foot, statute mile, nautical mile.
inline constexpr std::array<double, 5> kPlanarUnitFactors = {1.0, 1000.0, 0.3048, 1609.344, 1852.0};
// The factor of a planar unit index; an index outside the table counts as metres.
double PlanarUnitFactor(std::int32_t index);
// The angular format index of decimal degrees ("SSS.DDDD"), the only one offered.
inline constexpr std::int32_t kAngularDegrees = 0;

// Dispatcher systems whose coordinates are held in the shape's planar unit (the other plane
// systems are always metres), and those held as angles.
bool HeldInPlanarUnit(int system);
bool HeldAsAngles(int system);

// Results of TShape::TransformShapeMulti.
inline constexpr std::int32_t kMultiTransformDone = 0;
inline constexpr std::int32_t kMultiTransformNoLibrary = -1;     // nothing changed
inline constexpr std::int32_t kMultiTransformPointsFailed = -2;  // those points kept as they were
