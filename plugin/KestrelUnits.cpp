#include "plugin/KestrelUnits.h"

#include "plugin/SettingsUnits.h"
#include "transform/TransformUnits.h"

// Order of the units:
//   1. coordinate transformations: ellipsoid and projection tables, the conformal and
//      user-transformation objects, the geoid table;
//   2. map model: the number-format object GlobalNumberFormat is a constant that holds no state
//      (the separator is the process's), so it exists from the start and needs no step;
//   3. plug-in settings: conversion settings and attribute choice from the registry, the
//      attribute slots.

void InitializeLibraryUnits() noexcept {
    try {
        InitializeTransformUnits();
    } catch (...) {
    }
    try {
        InitializeSettingsUnits();
    } catch (...) {
        // A registry that fails to read leaves the defaults; loading goes on.
    }
}

void FinalizeLibraryUnits() noexcept {
    try {
        FinalizeSettingsUnits();
    } catch (...) {
    }
    try {
        FinalizeTransformUnits();
    } catch (...) {
    }
}

// The shared library's load and unload. Only Kestrel.so links this file. The load may run before
// the library's own dynamic initialisers, so every global the units fill is constinit.
[[gnu::constructor]] static void KestrelLoad() {
    InitializeLibraryUnits();
}

[[gnu::destructor]] static void KestrelUnload() {
    FinalizeLibraryUnits();
}
