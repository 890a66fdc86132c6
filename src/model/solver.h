#pragma once
// The linkage solver: positions of every pin from the dimensions, the driver
// angle and the reverse-arm setting, then the port openings. No allocation;
// failures are reported through SolveError, never by exceptions.

#include "model/model.h"

namespace kes {

void SolveLinkage(Model& m);
void SolvePortOpenings(Model& m);

// The guards, shared with the diagrams. Each returns the guarded value.
float GuardDivisor(Model& m, float v);
float GuardRoot(Model& m, float v);
float GuardCosine(Model& m, float v);
void RaiseSolveError(Model& m);

} // namespace kes
