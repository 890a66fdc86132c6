// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One computation of the window: the report, the checks and, when asked,
// the sensitivities of a copy of the design. Runs on a worker thread; the
// copy is its own, so the animation goes on with the model meanwhile.

#include "analysis/design_checks.h"
#include "analysis/events_report.h"
#include "analysis/sensitivity.h"
#include "model/model.h"

#include <cstdint>
#include <optional>

namespace events_window {

struct EventsResult {
    uint64_t Generation = 0; // which request this answers
    kes::EventsReport Report;
    kes::DesignChecks Checks;
    std::optional<kes::SensitivityTable> Sensitivity;
    // The charts' settings, across the whole reverser range.
    std::optional<kes::EventsReport> Charts;
    // The same for the compared design, when there is one.
    std::optional<kes::EventsReport> ComparedReport;
    std::optional<kes::EventsReport> ComparedCharts;
};

struct EventsWanted {
    bool Sensitivity = false;
    bool Charts = false;
};

// The default report of the design, its checks, the sensitivities and the
// charts when wanted, and the same report and charts of the compared design
// when there is one (on one thread: the other core draws the animation).
EventsResult ComputeEvents(const kes::Mechanism& design, uint64_t generation, EventsWanted wanted,
                           const kes::Mechanism* compared = nullptr);

} // namespace events_window
