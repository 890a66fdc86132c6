// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One NLopt run over the free dimensions scaled to 0..1 over their bounds,
// shared by the repair and the balancing.

#include "analysis/balance_def.h"

#include <vector>

namespace nlopt {
class opt;
}

namespace kes {

using UnitBoxObjective = double (*)(unsigned n, const double* y, double* gradient, void* data);

// Minimises f from y (updated to where the method stopped) within
// maxEvaluations. While it runs, running points at the optimiser, so f can
// force a stop. A forced stop, round-off or a failure of the method ends
// the run quietly: f's caller keeps what it has seen.
void MinimiseInUnitBox(BalanceMethod method, std::vector<double>& y, int maxEvaluations,
                       double relativeTolerance, UnitBoxObjective f, void* data,
                       nlopt::opt*& running);

// Asks the optimiser that running points at to stop after this evaluation.
void StopMinimising(nlopt::opt* running);

} // namespace kes
