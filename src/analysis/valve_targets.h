// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Designing the valve to targets, the valve designer's classic step done on
// the precise events: given the lead wanted (at mid gear, or the same over
// the range), the cut-off wanted at normal full gear and, if asked, the
// exhaust lap, find the steam laps (and, when the lead needs it, the
// combination lever) by a bounded least-squares fit on the balancing's
// optimiser, then balance front and rear with the targets held.

#include "analysis/balance.h"
#include "model/model.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kes {

struct TargetsDef {
    double Lead = 0.03;              // length units
    bool LeadOverRange = false;      // false: at mid gear; true: at every balance setting too
    double FullGearCutOffPct = 75.0; // at mid gear +/- RevArmNorm, both ports
    // The exhaust lap wanted on both ports (negative: exhaust clearance);
    // absent: the exhaust laps as they stand.
    std::optional<double> ExhaustLap;
    // The dimensions the fit may move; empty: the steam laps, then the
    // combination lever as well when the laps alone miss the targets.
    std::vector<int> Free;
    // The balancing that follows (free dimensions, settings, method).
    BalanceDef Balance;
};

// The defaults: lead 0.03 at mid gear, 75 %, the exhaust laps kept, the
// default balancing.
TargetsDef DefaultTargetsDef(const Mechanism& m);

// What the targets ask for against what the design gives.
struct TargetsReached {
    std::optional<double> LeadFront, LeadRear; // at mid gear
    // Front forward, rear forward, front reverse, rear reverse.
    std::array<std::optional<double>, 4> FullGearCutOff{};
    std::optional<double> MeanFullGearCutOff;
    // Front minus rear at full gear (the mean of both ways): the gear's own
    // angularity, which no lap takes away.
    std::optional<double> FrontRearSpread;
    std::optional<double> ExhaustLapFront, ExhaustLapRear;
};
TargetsReached MeasureTargets(const Mechanism& m);

struct TargetsResult {
    std::string Error; // a bad def; nothing was run
    bool Feasible = false;
    bool LeverFreed = false;  // the fit needed the combination lever
    std::vector<int> FitFree; // what the fit moved
    BalanceResult Fit;        // the fit to the targets
    BalanceResult Balance;    // the balancing from the fitted design
    TargetsReached Before, After;
    std::vector<BalanceChange> Changes;     // every dimension changed, start to end
    Mechanism Designed;                     // the start with the changes, mid gear found
    EventsReport ReportBefore, ReportAfter; // at the balance settings
    int Evaluations = 0;
    bool Cancelled = false;
};

TargetsResult RunTargets(const Mechanism& start, const TargetsDef& def,
                         const BalanceControl& control = {});

} // namespace kes
