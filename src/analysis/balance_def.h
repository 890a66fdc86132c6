// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the balancing may change and what it aims at: the free dimensions
// with their bounds, the settings the events are compared at, the weights
// of the optional terms and the optimiser's method and limits. The window,
// the command line and the tests all start from DefaultBalanceDef.

#include "analysis/events_report.h"
#include "analysis/valve_events.h"
#include "model/model.h"

#include <functional>
#include <optional>
#include <vector>

namespace kes {

// A dimension the optimiser may move, by id, and the range it may take.
struct BalanceFreeDim {
    int Id = 0;
    double Lower = 0.0; // length units
    double Upper = 0.0;
};

// The optional terms of the objective; a weight of 0 leaves a term out.
struct BalanceWeights {
    // The two front - rear sums of J; 0 leaves only the optional terms (a
    // fit to targets).
    double FrontRear = 1.0;
    // Forward against reverse cut-off at the same offset, each port, in
    // points of the stroke squared.
    double ForwardReverse = 0.0;
    // Each port's lead at mid gear held at MidGearLeadTarget (length units),
    // scaled like the lead term (0.01 weighs like a point of cut-off).
    double MidGearLead = 0.0;
    double MidGearLeadTarget = 0.0;
    // The lead term at every chosen setting too: a constant lead.
    bool LeadAtEverySetting = false;
    // Each port's cut-off at normal full gear (+/- RevArmNorm) held at
    // FullGearCutOffTarget, in percent of the stroke.
    double FullGearCutOff = 0.0;
    double FullGearCutOffTarget = 0.0;
    // Front against rear MEP at every chosen setting, each in percent of
    // the boiler pressure, squared: 1 % of the boiler pressure weighs like
    // a point of cut-off. Needs BalanceDef::Mep.
    double MepFrontRear = 0.0;
};

// Both ends' mean effective pressure at one setting and direction, in
// percent of the boiler pressure.
struct BalanceMep {
    double FrontPct = 0.0;
    double RearPct = 0.0;
};
// Works out BalanceMep on a lane's own copy of the design (mid gear found);
// absent where it cannot be computed. Called from several lanes at once,
// each with its own design, so it must keep no state of its own. The
// analysis knows no steam: the callers that know the engine data set it.
using BalanceMepProbe =
    std::function<std::optional<BalanceMep>(const Mechanism&, double setting, RunDirection)>;

enum class BalanceMethod { Bobyqa, Cobyla, NelderMead };
const char* BalanceMethodName(BalanceMethod m); // "BOBYQA", "COBYLA", "Nelder-Mead"

struct BalanceDef {
    std::vector<BalanceFreeDim> Free;
    // The settings the events are compared at (offsets from mid gear, or
    // absolute settings).
    ReportDef Settings;
    BalanceWeights Weights;
    // For the MEP term; without it the term is left out.
    BalanceMepProbe Mep;
    BalanceMethod Method = BalanceMethod::Bobyqa;
    int MaxEvaluations = 2000;
    // The optimiser stops when a step changes the free dimensions (scaled
    // to their ranges) or the objective by less than this fraction.
    double RelativeTolerance = 1e-8;
    // Further starts from points spread inside the bounds, after the run
    // from the design itself; 0 for none.
    int Multistart = 0;
    // How many threads share the settings of one evaluation; 0 lets the
    // machine decide.
    unsigned Threads = 0;
    // Every port's lead must exceed this at every chosen setting (length
    // units; 0 asks for a strictly positive lead).
    double MinLead = 0.0;
    // The evaluation limit of the repair that runs first when the design
    // is infeasible (each attempt).
    int MaxRepairEvaluations = 600;
    // The balancing's evaluation limit after a repair (which has moved the
    // design far and often freed more dimensions), to keep a run short.
    int MaxEvaluationsAfterRepair = 180;
    // When the repair cannot reach a feasible design with the free
    // dimensions, add the best-ranked others (at most MaxAdded) and try
    // again. On for the default free set, off when the user chose one.
    bool AddFreeWhenStuck = false;
    int MaxAdded = 3;
};

// The default free dimensions: the valve rod, the eccentric rod, the
// height of the gear mounting and the drop link.
inline constexpr int DefaultFreeDimensionIds[] = {10, 13, 14, 4};
// A free dimension's default range: its value +/- pct percent, at least
// +/- 0.1 design units.
constexpr double DefaultBoundsPct = 10.0;
constexpr double MinimumBoundsHalfWidth = 0.1;
BalanceFreeDim DefaultFreeDim(const Mechanism& m, int id, double pct = DefaultBoundsPct);

// Mid gear +/- 25, 50, 75 and 100 % of RevArmNorm: four forward, four reverse.
ReportDef DefaultBalanceSettings(const Mechanism& m);

// The four default free dimensions (more may be added when the repair is
// stuck), the eight default settings, the weights 0 (their targets from the
// design as it stands), BOBYQA, 2000 evaluations.
BalanceDef DefaultBalanceDef(const Mechanism& m);

} // namespace kes
