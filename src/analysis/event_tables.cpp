// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/event_tables.h"

#include "analysis/port_events.h"
#include "analysis/steam_simulation.h"
#include "model/format.h"

#include <ostream>

namespace analysis {

namespace {

// The columns after row and rev_arm, in the order the header names them.
constexpr PortEvent CsvColumns[] = {FrontAdmission, FrontRelease,   RearAdmission,
                                    RearRelease,    FrontCutOff,    FrontCompression,
                                    RearCutOff,     RearCompression};

std::string Cell(double v, int decimals) {
    return kes::FormatFixed(v, 0, decimals);
}

} // namespace

void WritePortEventsCsv(const PortEventTable& table, std::ostream& out) {
    out << "row,rev_arm,front_admission,front_release,rear_admission,rear_release,"
           "front_cutoff,front_compression,rear_cutoff,rear_compression\n";
    for (int row = 0; row < PortRowCount; ++row) {
        out << row << ',' << Cell(table.Setting[row], 4);
        for (PortEvent e : CsvColumns) {
            out << ',';
            if (table.Found(row, e)) out << Cell(table.Percent(row, e), 2);
        }
        out << '\n';
    }
}

void WriteSteamCutOffsCsv(const SteamCutOffs& c, std::ostream& out) {
    out << "position_number,position,front_cutoff,rear_cutoff\n";
    for (int n = 1; n <= c.PositionCount; ++n) {
        out << n << ',' << Cell(c.Setting[n], 4) << ',';
        if (c.FrontFound[n]) out << Cell(c.Front[n], 1);
        out << ',';
        if (c.RearFound[n]) out << Cell(c.Rear[n], 1);
        out << '\n';
    }
}

} // namespace analysis
