#pragma once

// Start-up and shut-down of the transformation module, called by the library's load and unload:
// fills the ellipsoid and projection tables, creates the Warszawa polynomials and the user
// transformation, clears the zone correction and the outside-library binding, and reads the geoid
// table from the executable's folder (telling the user when it cannot). The finalisation frees
// what the initialisation created, in reverse order; a bound outside library stays loaded.
void InitializeTransformUnits();
void FinalizeTransformUnits();
