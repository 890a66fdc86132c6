// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What keeps a design from being balanced, setting by setting and port by
// port, and how a designer reads it: "at offset +/-0.4875 the valve travel
// 0.887 does not uncover the ports (laps 0.344): no admission".

#include "analysis/balance_def.h"
#include "analysis/balance_objective.h"
#include "analysis/events_report.h"
#include "model/model.h"

#include <optional>
#include <string>
#include <vector>

namespace kes {

enum BalancePort : int { FrontPort = 0, RearPort = 1, NoPort = -1 };

struct BalanceFailure {
    BalanceProblem Problem = BalanceProblem::None;
    double Setting = 0.0;
    std::optional<double> Offset; // from mid gear
    RunDirection Direction = RunDirection::Forward;
    int Port = NoPort; // NoPort: the linkage as a whole
    std::optional<double> Lead;
    std::optional<double> ValveTravel;
    std::optional<double> Lap; // the port's steam lap
};

// Every failure at the def's settings (each port: no lead above MinLead, no
// admission, a lost cut-off; the linkage not closing) and at the closure
// scan up to +/- RevArmMax. Empty for a feasible design.
std::vector<BalanceFailure> FindBalanceFailures(const Mechanism& m, const BalanceDef& def);

// One line a failure: both ports of a setting, and the two sides of mid gear
// at the same distance, in one line where they fail alike.
std::vector<std::string> BalanceFailureLines(const std::vector<BalanceFailure>& failures,
                                             double minLead);

// "The leads are negative at every setting", "The front lead is below 0.01
// at 3 of 8 settings", "The rear port loses its cut-off at 2 settings", ...
// joined with "; ". Empty when nothing fails.
std::string BalanceFailureSummary(const std::vector<BalanceFailure>& failures, size_t settings,
                                  double minLead);

} // namespace kes
