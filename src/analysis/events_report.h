// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The precise events report: the valve events at a list of reverse-arm
// settings, both ports side by side with their front - rear differences.
// The window, the command line and the balancing all start from
// DefaultReportDef.

#include "analysis/cutoff_settings.h"
#include "analysis/valve_events.h"
#include "model/model.h"

#include <optional>
#include <vector>

namespace kes {

struct ReportDef {
    // Reverse-arm settings measured from mid gear, in length units. A
    // positive offset runs forward, a negative one in reverse, and 0 is
    // reported both ways.
    std::vector<double> Offsets;
    // Absolute settings (X of the reverse-arm top). When not empty they are
    // used instead of Offsets; their side of mid gear picks the direction.
    std::vector<double> Settings;
    // When set, the report also finds the settings that give this cut-off,
    // in percent of the stroke.
    std::optional<double> WantedCutOffPct;
};

// Mid gear, and mid gear +/- 25, 50, 75 and 100 % of RevArmNorm, and
// +/- RevArmMax.
ReportDef DefaultReportDef(const Mechanism& m);

struct ReportRow {
    double Setting = 0.0;
    std::optional<double> Offset; // from mid gear; absent without mid gear
    RunDirection Direction = RunDirection::Forward;
    TurnEvents Events;
    // Front minus rear: cut-off, release and compression in points of the
    // stroke, lead in length units.
    std::optional<double> CutOffDiff, ReleaseDiff, CompressionDiff, LeadDiff;
    // A row that does not close has no events, lead or openings.
    bool Closes() const { return Events.Closes; }
};

struct EventsReport {
    std::optional<double> MidGear;
    std::optional<DeadCentres> Centres;
    std::vector<ReportRow> Rows;
    std::optional<CutOffSettings> CutOffs; // when the def asks for them
};

// Works on its own copy of the mechanism. The second form reuses the rows
// the report already holds, so a caller that reports again and again
// allocates nothing after the first time.
EventsReport ComputeReport(const Mechanism& m, const ReportDef& def);
void ComputeReport(const Mechanism& m, const ReportDef& def, EventsReport& out);
// The same, but it gives up at the first row whose linkage does not close:
// that row is the last, and the answer is false. True when every row closes.
bool ComputeClosingReport(const Mechanism& m, const ReportDef& def, EventsReport& out);

} // namespace kes
