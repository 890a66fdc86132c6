// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first phase of a run on an infeasible design: NLopt moves the free
// dimensions to make the infeasibility (balance_objective.h) as small as it
// can, and stops as soon as every lead is a margin above the least lead,
// every port cuts off and the linkage closes up to +/- RevArmMax.

#include "analysis/balance.h"
#include "analysis/balance_objective.h"

#include <vector>

namespace kes {

struct RepairOutcome {
    bool Feasible = false;
    std::vector<double> X; // the feasible design, else the least infeasible seen
    BalanceEvaluation Evaluation;
    int Evaluations = 0;
    bool Cancelled = false;
};

// x0: the free dimensions' start values in def.Free's order; evaluationsSoFar
// counts on in the progress reports.
RepairOutcome RepairDesign(BalanceObjective& objective, const BalanceDef& def,
                           const std::vector<double>& x0, const BalanceControl& control,
                           int evaluationsSoFar);

} // namespace kes
