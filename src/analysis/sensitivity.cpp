// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/sensitivity.h"

#include "model/dimensions.h"

#include <algorithm>
#include <thread>

namespace kes {

namespace {

std::optional<double> Quantity(const ReportRow& row, bool front, SensitivityQuantity q) {
    const PortEventSet& p = front ? row.Events.Front : row.Events.Rear;
    switch (q) {
    case SensLead:
        return p.Lead;
    case SensCutOff:
        return p.Pct(CutOff);
    case SensRelease:
        return p.Pct(Release);
    case SensCompression:
        return p.Pct(Compression);
    default:
        return std::nullopt;
    }
}

// Rows of two reports match when they stand at the same offset (or, for
// absolute settings, the same place in the list) and run the same way.
bool SameRow(const ReportRow& a, const ReportRow& b) {
    return a.Direction == b.Direction && a.Offset.has_value() == b.Offset.has_value();
}

// One dimension: report the design a step above and a step below, and
// difference every quantity. The stored values are 32-bit, so the step that
// was really taken is divided out. A step whose linkage does not close at
// some setting is given up at once (a turn that does not close is the
// slowest to report, and has no events to difference): false then, and the
// cells stay empty.
bool OneDimension(const Mechanism& m, const ReportDef& def, int id, size_t rows,
                  SensitivityCell* cells, EventsReport& up, EventsReport& down) {
    for (size_t r = 0; r < rows; ++r)
        cells[r] = SensitivityCell{};
    const float value = GetDimension(m, id);
    Mechanism copy = m;
    SetDimension(copy, id, static_cast<float>(value + SensitivityStep));
    const double hi = GetDimension(copy, id);
    if (!ComputeClosingReport(copy, def, up)) return false;
    SetDimension(copy, id, static_cast<float>(value - SensitivityStep));
    const double lo = GetDimension(copy, id);
    if (!ComputeClosingReport(copy, def, down)) return false;
    const double taken = hi - lo;
    for (size_t r = 0; r < rows; ++r) {
        SensitivityCell& cell = cells[r];
        if (r >= up.Rows.size() || r >= down.Rows.size() || !(taken > 0.0)) continue;
        if (!SameRow(up.Rows[r], down.Rows[r])) continue;
        for (int port = 0; port < 2; ++port) {
            for (int q = 0; q < SensQuantityCount; ++q) {
                const auto a = Quantity(up.Rows[r], port == 0, static_cast<SensitivityQuantity>(q));
                const auto b =
                    Quantity(down.Rows[r], port == 0, static_cast<SensitivityQuantity>(q));
                if (a && b) cell[port][q] = (*a - *b) / taken * SensitivityStep;
            }
        }
    }
    return true;
}

} // namespace

const char* SensitivityQuantityName(SensitivityQuantity q) {
    switch (q) {
    case SensLead:
        return "lead";
    case SensCutOff:
        return "cutoff";
    case SensRelease:
        return "release";
    case SensCompression:
        return "compression";
    default:
        return "";
    }
}

SensitivityTable ComputeSensitivity(const Mechanism& m, const ReportDef& def, unsigned threads) {
    SensitivityTable table;
    for (int id = 1; id <= 122; ++id)
        if (IsDimensionId(id)) table.Ids.push_back(id);
    const EventsReport base = ComputeReport(m, def);
    for (const ReportRow& row : base.Rows)
        table.Rows.push_back(SensitivityRowKey{row.Offset, row.Setting, row.Direction});
    const size_t rows = table.Rows.size();
    table.Cells.resize(table.Ids.size() * rows);
    table.StepCloses.assign(table.Ids.size(), 1);

    unsigned n = threads ? threads : std::max(1u, std::thread::hardware_concurrency());
    n = std::min<unsigned>(n, static_cast<unsigned>(table.Ids.size()));
    // Each worker takes every n-th dimension, with its own reports.
    auto work = [&](unsigned first) {
        EventsReport up, down;
        for (size_t i = first; i < table.Ids.size(); i += n)
            table.StepCloses[i] =
                OneDimension(m, def, table.Ids[i], rows, &table.Cells[i * rows], up, down);
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < n; ++t)
        pool.emplace_back(work, t);
    work(0);
    for (std::thread& t : pool)
        t.join();
    return table;
}

} // namespace kes
