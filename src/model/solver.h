// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The linkage solver: positions of every pin from the dimensions, the driver
// angle and the reverse-arm setting, then the port openings. No allocation;
// failures are reported through SolveError, never by exceptions.

#include "model/model.h"

namespace kes {

void SolveLinkage(Mechanism& m);
void SolvePortOpenings(Mechanism& m);

// The guards, shared with the diagrams. Each returns the guarded value.
float GuardDivisor(Mechanism& m, float v);
float GuardRoot(Mechanism& m, float v);
float GuardCosine(Mechanism& m, float v);
void RaiseSolveError(Mechanism& m);

} // namespace kes
