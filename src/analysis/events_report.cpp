// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/events_report.h"

#include "analysis/precise_mid_gear.h"

namespace kes {

namespace {

std::optional<double> Difference(const std::optional<double>& a, const std::optional<double>& b) {
    if (!a || !b) return std::nullopt;
    return *a - *b;
}

void FillDifferences(ReportRow& row) {
    const PortEventSet& f = row.Events.Front;
    const PortEventSet& r = row.Events.Rear;
    row.CutOffDiff = Difference(f.Pct(CutOff), r.Pct(CutOff));
    row.ReleaseDiff = Difference(f.Pct(Release), r.Pct(Release));
    row.CompressionDiff = Difference(f.Pct(Compression), r.Pct(Compression));
    row.LeadDiff = Difference(f.Lead, r.Lead);
}

// Events found on the part of a turn that closed belong to no real motion of
// the gear: a row that does not close has none, as for an event that never
// happens.
void DropEvents(TurnEvents& e) {
    e.Front = PortEventSet{};
    e.Rear = PortEventSet{};
    e.ValveTravel.reset();
    e.MinValveOffset.reset();
    e.MaxValveOffset.reset();
}

// The rows in order: each setting once, mid gear twice (forward first).
struct RowPlan {
    double Setting;
    std::optional<double> Offset;
    RunDirection Direction;
};

template <class Emit>
void PlanRows(const ReportDef& def, const std::optional<double>& mid, Emit&& emit) {
    const auto side = [&](double setting, const std::optional<double>& offset) {
        if (offset && *offset == 0.0) {
            emit(RowPlan{setting, offset, RunDirection::Forward});
            emit(RowPlan{setting, offset, RunDirection::Reverse});
        } else {
            const bool reverse = offset && *offset < 0.0;
            emit(RowPlan{setting, offset, reverse ? RunDirection::Reverse : RunDirection::Forward});
        }
    };
    if (!def.Settings.empty()) {
        for (double s : def.Settings)
            side(s, mid ? std::optional<double>(s - *mid) : std::nullopt);
        return;
    }
    if (!mid) return; // offsets mean nothing without mid gear
    for (double o : def.Offsets)
        side(*mid + o, o);
}

} // namespace

ReportDef DefaultReportDef(const Mechanism& m) {
    ReportDef def;
    const double norm = m.Frame.RevArmNorm, max = m.Frame.RevArmMax;
    def.Offsets.push_back(0.0);
    for (double f : {0.25, 0.5, 0.75, 1.0}) {
        def.Offsets.push_back(f * norm);
        def.Offsets.push_back(-f * norm);
    }
    def.Offsets.push_back(max);
    def.Offsets.push_back(-max);
    return def;
}

namespace {

// stopAtOpen: stop at the first row that does not close, which ends the rows.
bool FillReport(const Mechanism& m, const ReportDef& def, EventsReport& out, bool stopAtOpen) {
    PreciseLinkage linkage(m);
    out.MidGear = PreciseMidGear(m);
    out.Centres = FindDeadCentres(linkage);
    size_t n = 0;
    bool closes = true;
    PlanRows(def, out.MidGear, [&](const RowPlan& plan) {
        if (stopAtOpen && !closes) return;
        if (out.Rows.size() <= n) out.Rows.emplace_back();
        ReportRow& row = out.Rows[n++];
        row.Setting = plan.Setting;
        row.Offset = plan.Offset;
        row.Direction = plan.Direction;
        ComputeTurnEvents(linkage, out.Centres, plan.Setting, plan.Direction, row.Events);
        if (!row.Closes()) {
            DropEvents(row.Events);
            closes = false;
        }
        FillDifferences(row);
    });
    out.Rows.resize(n);
    out.CutOffs.reset();
    if (stopAtOpen && !closes) return false;
    if (def.WantedCutOffPct && out.MidGear)
        out.CutOffs = FindCutOffSettings(linkage, out.Centres, *out.MidGear, m.Frame.RevArmMax,
                                         *def.WantedCutOffPct);
    return closes;
}

} // namespace

void ComputeReport(const Mechanism& m, const ReportDef& def, EventsReport& out) {
    FillReport(m, def, out, false);
}

bool ComputeClosingReport(const Mechanism& m, const ReportDef& def, EventsReport& out) {
    return FillReport(m, def, out, true);
}

EventsReport ComputeReport(const Mechanism& m, const ReportDef& def) {
    EventsReport out;
    ComputeReport(m, def, out);
    return out;
}

} // namespace kes
