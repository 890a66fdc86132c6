// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Balancing the events: NLopt's derivative-free local methods move the free
// dimensions within their bounds. A run has two phases: when the design is
// infeasible, the repair (balance_repair.h) first makes it feasible; then J
// (balance_objective.h) is made as small as the method can, keeping every
// design it accepts feasible. Free dimensions that move no event are left
// out first. When the repair is stuck with the default free set, the
// best-ranked other dimensions are added (balance_suggest.h). Nothing here
// changes the design handed in.

#include "analysis/balance_def.h"
#include "analysis/balance_failures.h"
#include "analysis/balance_objective.h"
#include "analysis/balance_suggest.h"
#include "analysis/events_report.h"
#include "model/model.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kes {

struct BalanceProgress {
    int Evaluations = 0;
    int Phase = 2;                       // 1: repairing, 2: balancing
    std::optional<double> Infeasibility; // of the design just evaluated, while repairing
    std::optional<double> Current;       // J of the design just evaluated; absent when infeasible
    std::optional<double> Best;
};

struct BalanceControl {
    // Set from any thread to stop; the run keeps the best design so far.
    const std::atomic<bool>* Cancel = nullptr;
    // Called on the optimising thread after every evaluation.
    std::function<void(const BalanceProgress&)> Progress;
};

struct BalanceChange {
    int Id = 0;
    float Before = 0.0f;
    float After = 0.0f;
    double Percent() const; // (After - Before) / |Before| * 100, 0 when Before is 0
};

struct BalanceResult {
    std::string Error; // a bad def (unknown id, empty or reversed bounds); nothing was run
    BalanceEvaluation Start;
    // True when the result is feasible: a feasible start, or one the repair
    // made feasible. Otherwise the changes are the least infeasible design
    // the repair reached, never to be applied.
    bool Feasible = false;
    int Phase = 0; // the phase that ended the run: 1 repair, 2 balancing, 0 none run
    std::optional<double> ObjectiveBefore, ObjectiveAfter;
    double InfeasibilityAfter = 0.0; // what the repair could not remove
    int Evaluations = 0;
    bool Cancelled = false;
    // Every free dimension in the def's order, then those added.
    std::vector<BalanceChange> Changes;
    std::vector<int> Added;               // freed by the run, the repair being stuck
    std::vector<int> LeftOut;             // free, but moving no event: left as they are
    std::vector<BalanceFailure> Failures; // of the result, when infeasible
    std::vector<FreeSuggestion> Suggestions;
    std::string Suggestion;     // the line to show when no feasible design was found
    Mechanism Balanced;         // the start with the changes, mid gear found
    EventsReport Before, After; // at the def's settings

    bool Changed() const;
    bool Repaired() const { return Feasible && !Start.Feasible(); }
};

BalanceResult RunBalance(const Mechanism& start, const BalanceDef& def,
                         const BalanceControl& control = {});

// What to free, without a run: the ranking at the design as it stands (the
// def's free dimensions excluded) and the line that says it.
struct FreeAdviceResult {
    std::vector<BalanceFailure> Failures;
    std::vector<FreeSuggestion> Ranked;
    std::string Line;
};
FreeAdviceResult SuggestFreeDimensions(const Mechanism& m, const BalanceDef& def);

// Sets every changed dimension through SetDimension and finds mid gear.
// Returns false when mid gear cannot be found (the dimensions are set).
bool ApplyBalance(Mechanism& m, const BalanceResult& result);

} // namespace kes
