// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/balance_repair.h"

#include "analysis/balance_nlopt.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kes {

namespace {

// A repair that has not cut its best infeasibility by StallShare within
// this many evaluations is stuck.
constexpr double StallShare = 0.02;
int StallEvaluations(unsigned n) {
    return 2 * static_cast<int>(n) + 10;
}

struct RepairState {
    BalanceObjective& Objective;
    const BalanceDef& Def;
    const BalanceControl& Control;
    int EvaluationsSoFar = 0;
    std::vector<double> X;
    RepairOutcome Out;
    double BestMeasure = std::numeric_limits<double>::infinity();
    double BestFeasibleMeasure = std::numeric_limits<double>::infinity();
    int LastGain = 0; // the evaluation that last cut the best measure by a fair share
    double GainFrom = std::numeric_limits<double>::infinity();
    nlopt::opt* Opt = nullptr;
};

double Measure(unsigned n, const double* y, double*, void* data) {
    RepairState& r = *static_cast<RepairState*>(data);
    if (r.Control.Cancel && r.Control.Cancel->load(std::memory_order_relaxed)) {
        r.Out.Cancelled = true;
        StopMinimising(r.Opt);
        return r.BestMeasure;
    }
    for (unsigned i = 0; i < n; ++i) {
        const BalanceFreeDim& f = r.Def.Free[i];
        r.X[i] = f.Lower + std::clamp(y[i], 0.0, 1.0) * (f.Upper - f.Lower);
    }
    ++r.Out.Evaluations;
    BalanceEvaluation ev = r.Objective.Evaluate(r.X.data(), false);
    if (ev.Feasible()) {
        // Only a design that could end the repair earns the full scan.
        const BalanceEvaluation scan = r.Objective.ScanFully();
        if (!scan.Feasible()) {
            ev.Problem = scan.Problem;
            ev.ProblemSetting = scan.ProblemSetting;
            ev.Infeasibility += scan.Infeasibility;
        }
    }
    const double measure = ev.Infeasibility;
    const bool feasible = ev.Feasible() && ev.Objective;
    if (feasible && measure < r.BestFeasibleMeasure) {
        r.BestFeasibleMeasure = measure;
        r.Out.Feasible = true;
        r.Out.X = r.X;
        r.Out.Evaluation = ev;
    }
    if (measure < r.GainFrom * (1.0 - StallShare)) {
        r.GainFrom = measure;
        r.LastGain = r.Out.Evaluations;
    }
    if (measure < r.BestMeasure) {
        r.BestMeasure = measure;
        if (!r.Out.Feasible) {
            r.Out.X = r.X;
            r.Out.Evaluation = ev;
        }
    }
    if (r.Control.Progress) {
        BalanceProgress p;
        p.Evaluations = r.EvaluationsSoFar + r.Out.Evaluations;
        p.Phase = 1;
        p.Infeasibility = measure;
        r.Control.Progress(p);
    }
    // Feasible with the margin: nothing left to repair. Stuck: the free
    // dimensions cannot do it, and the caller may free others.
    if (feasible && measure == 0.0) StopMinimising(r.Opt);
    if (r.Out.Evaluations - r.LastGain > StallEvaluations(n)) StopMinimising(r.Opt);
    return measure;
}

} // namespace

RepairOutcome RepairDesign(BalanceObjective& objective, const BalanceDef& def,
                           const std::vector<double>& x0, const BalanceControl& control,
                           int evaluationsSoFar) {
    RepairState r{objective, def, control, evaluationsSoFar, x0, {}};
    r.Out.X = x0;
    std::vector<double> y(x0.size());
    for (size_t i = 0; i < x0.size(); ++i) {
        const BalanceFreeDim& f = def.Free[i];
        y[i] = std::clamp((x0[i] - f.Lower) / (f.Upper - f.Lower), 0.0, 1.0);
    }
    MinimiseInUnitBox(def.Method, y, def.MaxRepairEvaluations, def.RelativeTolerance, Measure, &r,
                      r.Opt);
    return r.Out;
}

} // namespace kes
