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
};

// The default report of the design, its checks, and the sensitivities when
// withSensitivity (on one thread: the other core draws the animation).
EventsResult ComputeEvents(const kes::Mechanism& design, uint64_t generation, bool withSensitivity);

} // namespace events_window
