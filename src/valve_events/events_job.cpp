#include "valve_events/events_job.h"

namespace events_window {

EventsResult ComputeEvents(const kes::Mechanism& design, uint64_t generation,
                           bool withSensitivity) {
    EventsResult r;
    r.Generation = generation;
    const kes::ReportDef def = kes::DefaultReportDef(design);
    r.Report = kes::ComputeReport(design, def);
    r.Checks = kes::RunDesignChecks(design, r.Report);
    if (withSensitivity) r.Sensitivity = kes::ComputeSensitivity(design, def, 1);
    return r;
}

} // namespace events_window
