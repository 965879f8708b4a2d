#pragma once

// Entry points of the 1965 zone correction. They hand a 1965 point to an installed correction
// routine; with none installed (the state after loading) they copy the input to the output and
// fail with -1.

// A correction routine: inputs X and Y, outputs X and Y, the zone (1-5) and the direction
// (1 forward: plain to corrected, 2 inverse); 0 for success, non-zero when the point lies outside
// the area the zone's correction covers.
using TCorrectionRoutine = int (*)(const long double& InX, const long double& InY,
                                   long double& OutX, long double& OutY, int Zone, int Direction);

// Process-wide; cleared at load. The system installs no routine.
extern bool CorrectionEnabled;
extern TCorrectionRoutine CorrectionRoutine;

// 0 corrected, non-zero failed (the outputs then hold the input, unless the routine wrote them).
int GugikCorrectForward(int Zone, double& OutX, double& OutY, double InX, double InY);
int GugikCorrectInverse(int Zone, double& OutX, double& OutY, double InX, double InY);

// Clears the flag and the routine (unit initialisation).
void InitZoneCorrection();
