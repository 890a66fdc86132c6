// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The balancing objective on the precise report. Over the chosen settings
//   J = sum (front cut-off - rear cut-off)^2 + sum ((front lead - rear lead) / 0.01)^2,
// cut-offs in points of the stroke, leads in length units, so 0.01 of lead
// difference weighs like a point of cut-off; plus the weighted optional
// terms of BalanceWeights. The MEP term runs the def's probe at every
// chosen row that has its events, on the lane of that row.
//
// A design is infeasible when mid gear cannot be found, when the linkage
// does not close over the whole turn at some setting up to +/- RevArmMax,
// when a port loses its cut-off at a chosen setting, or when a port's lead
// is not above MinLead there. A port that never opens (too little travel
// for its lap) has no cut-off either; its lead is what fails.
//
// How far a design is from feasible, for the repair:
//   sum max(0, MinLead + margin - lead)^2 / 0.01^2 over the chosen settings
//   and both ports, + a penalty for each port that opens but never cuts
//   off, + a larger one for each setting at which the linkage does not
//   close; 0 for a feasible design.

#include "analysis/balance_def.h"
#include "analysis/events_report.h"
#include "analysis/work_lanes.h"
#include "model/model.h"

#include <memory>
#include <optional>
#include <vector>

namespace kes {

enum class BalanceProblem {
    None,
    BadDimension,
    NoMidGear,
    DoesNotClose,
    LostCutOff,
    NoLead,
    NoAdmission,
    NoMep,
};
const char* BalanceProblemText(BalanceProblem p);

struct BalanceEvaluation {
    BalanceProblem Problem = BalanceProblem::None;
    double ProblemSetting = 0.0; // where it happens (X of the reverse-arm top)
    std::optional<double> Objective;
    double Infeasibility = 0.0;
    bool Feasible() const { return Problem == BalanceProblem::None; }
};

// Evaluates designs that differ from a start in the free dimensions only.
// Each lane of threads holds its own copy of the design and reports its
// share of the settings; nothing is allocated per evaluation.
class BalanceObjective {
  public:
    BalanceObjective(const Mechanism& start, const BalanceDef& def);
    ~BalanceObjective();
    BalanceObjective(const BalanceObjective&) = delete;
    BalanceObjective& operator=(const BalanceObjective&) = delete;

    size_t Size() const { return ids_.size(); }
    // x: the free dimensions' values, in the def's order. The quick check
    // scans the closure over the turn at the chosen settings, at mid gear
    // and at +/- RevArmMax; the full check also at every eighth of
    // RevArmMax either side.
    BalanceEvaluation Evaluate(const double* x, bool fullScan);
    // The full closure scan of the design last evaluated.
    BalanceEvaluation ScanFully();

    struct Lane;
    struct Entry {
        double Value = 0.0; // an offset from mid gear, or a setting
        bool Main = true;   // in the two balance sums
        bool MidGear = false;
        bool FullGear = false;
        const ReportRow* Forward = nullptr; // of the design last evaluated
        const ReportRow* Reverse = nullptr;
        std::optional<BalanceMep> MepForward = {}, MepReverse = {}; // when the MEP term is on
    };

  private:
    void RunLanes(int phase);
    BalanceEvaluation Combine();
    double Objective() const;
    void ProbeMeps(Lane& lane) const;

    std::vector<int> ids_;
    BalanceWeights weights_;
    double minLead_ = 0.0;
    BalanceMepProbe mep_; // empty when the MEP term is off
    std::vector<Entry> entries_;
    std::vector<std::pair<size_t, size_t>> pairs_; // forward entry, reverse entry
    std::vector<double> quickScan_, fullScan_;     // offsets from mid gear
    std::vector<std::unique_ptr<Lane>> lanes_;
    WorkLanes pool_;
    const double* x_ = nullptr;
    int phase_ = 0;
};

// J and the feasibility of a design as it stands, with the full scan.
BalanceEvaluation EvaluateBalance(const Mechanism& m, const BalanceDef& def);

} // namespace kes
