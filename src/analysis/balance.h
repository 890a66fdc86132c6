#pragma once
// Balancing the events: NLopt's derivative-free local methods move the free
// dimensions within their bounds to make J (balance_objective.h) as small
// as they can. Only feasible designs are kept: the result is the best
// feasible design seen, never an infeasible one, and at worst the design as
// it was. Nothing here changes the design handed in.

#include "analysis/balance_def.h"
#include "analysis/balance_objective.h"
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
    std::optional<double> Current; // J of the design just evaluated; absent when infeasible
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
    // True when the result is feasible. The start is the fallback, so this
    // is false only when the start itself is not.
    bool Feasible = false;
    std::optional<double> ObjectiveBefore, ObjectiveAfter;
    int Evaluations = 0;
    bool Cancelled = false;
    std::vector<BalanceChange> Changes; // every free dimension, in the def's order
    Mechanism Balanced;                 // the start with the changes, mid gear found
    EventsReport Before, After;         // at the def's settings

    bool Changed() const;
};

BalanceResult RunBalance(const Mechanism& start, const BalanceDef& def,
                         const BalanceControl& control = {});

// Sets every changed dimension through SetDimension and finds mid gear.
// Returns false when mid gear cannot be found (the dimensions are set).
bool ApplyBalance(Mechanism& m, const BalanceResult& result);

} // namespace kes
