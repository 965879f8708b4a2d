#pragma once

// What loading and unloading Kestrel.so runs, and nothing else: every unit's initialisation in
// dependency order, and the finalisations in reverse order. Neither lets an exception out.
void InitializeLibraryUnits() noexcept;
void FinalizeLibraryUnits() noexcept;
