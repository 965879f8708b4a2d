#pragma once

// What loading and unloading the library does for its settings: the conversion settings and the
// dBase attribute choice are read from the registry and the attribute slots get their initial
// contents; unloading leaves all of them empty again. Called by the library's start-up and
// shut-down, once each.
void InitializeSettingsUnits();
void FinalizeSettingsUnits();
