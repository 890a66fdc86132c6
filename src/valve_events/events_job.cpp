// SPDX-License-Identifier: GPL-3.0-or-later
#include "valve_events/events_job.h"

#include "valve_events/events_charts.h"

namespace events_window {

EventsResult ComputeEvents(const kes::Mechanism& design, uint64_t generation, EventsWanted wanted,
                           const kes::Mechanism* compared) {
    EventsResult r;
    r.Generation = generation;
    const kes::ReportDef def = kes::DefaultReportDef(design);
    r.Report = kes::ComputeReport(design, def);
    r.Checks = kes::RunDesignChecks(design, r.Report);
    if (wanted.Sensitivity) r.Sensitivity = kes::ComputeSensitivity(design, def, 1);
    if (wanted.Charts) r.Charts = kes::ComputeReport(design, ChartReportDef(design));
    if (compared) {
        r.ComparedReport = kes::ComputeReport(*compared, kes::DefaultReportDef(*compared));
        if (wanted.Charts)
            r.ComparedCharts = kes::ComputeReport(*compared, ChartReportDef(*compared));
    }
    return r;
}

} // namespace events_window
