// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design checks: pass, warning and failure lines, each with the numbers
// that decide it. The limits are in design_thresholds.h.

#include "analysis/events_report.h"

#include <string>
#include <vector>

namespace kes {

enum class CheckLevel { Pass, Warning, Failure };
const char* CheckLevelText(CheckLevel l); // "pass", "warning", "failure"

struct CheckLine {
    CheckLevel Level = CheckLevel::Pass;
    std::string Topic; // a short key: "closure", "mid_gear", "lead", ...
    std::string Text;
};

struct DesignChecks {
    std::vector<CheckLine> Lines;
    bool AnyFailure() const;
    bool AnyWarning() const;
};

// Checks a design against a report of it (normally the default report).
DesignChecks RunDesignChecks(const Mechanism& m, const EventsReport& report);
// The same with the default report.
DesignChecks RunDesignChecks(const Mechanism& m);

} // namespace kes
