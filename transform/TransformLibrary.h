#pragma once

#include <array>

#include "platform/ModuleLoader.h"

// The outside transformation library, loaded at first use from "lib32\Rumbo.dll" and bound by
// nine function names; only transMultiTrans is called. Once bound it stays loaded.

// System numbers of the outside library that the callers treat specially.
inline constexpr int SysCodePivot = 9000;
inline constexpr int SysCodeGeographic = 9999;  // radians at the library, degrees in the data
inline constexpr int SysCodeDirect15 = 10015;
inline constexpr int SysCodeDirect18 = 10018;
inline constexpr int SysCodeDirect21 = 10021;
inline constexpr int SysCodeDirect24 = 10024;

// transMultiTrans: source, target, X, Y, Z, then where the results go; the callers pass the very
// variables that hold X, Y and Z.
using TTransMultiTrans = int (*)(int Source, int Target, double X, double Y, double Z, double* OutX,
                                 double* OutY, double* OutZ);

inline constexpr int kTransformLibraryFunctionCount = 9;
extern const std::array<const char*, kTransformLibraryFunctionCount> TransformLibraryNames;

extern platform::ModuleHandle TransformLibraryHandle;
extern std::array<void*, kTransformLibraryFunctionCount> TransformLibraryEntries;

// 0 bound (now or before), -1 the library cannot be loaded, -2 a function is missing (the library
// is freed again). A failed binding is tried again on the next call.
int BindTransformLibrary();
TTransMultiTrans TransMultiTrans();

// One point through the library by the callers' rules: degrees in and out for the geographic
// system, one call from the pivot and the direct systems, two calls through the pivot from any
// other. X and Y are replaced; Z is the third coordinate handed on between calls. false when the
// library cannot be bound (the point is unchanged).
bool TransformWithLibrary(int Source, int Target, double& X, double& Y, double& Z);

// One map point (X northing, Y easting) through a bound library by the same rules, with 0 as the
// third coordinate (the points carry none, and the library's height of the point before, a
// geocentric Z after the pivot for one, means nothing for the next). A point the library reports
// as not transformed, or that comes back non-finite, is refused: false, and it keeps its
// coordinates, which would otherwise be the input half converted.
bool TransformPointWithLibrary(TTransMultiTrans call, int Source, int Target, double& X, double& Y);

// Clears the handle and the entries (unit initialisation); the finalisation does nothing.
void InitTransformLibrary();
