// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report's tables as texts: the dimension tables, the precise valve
// events and the design checks, ready for a page. A number that cannot be
// computed prints as "-".

#include "analysis/design_checks.h"
#include "analysis/events_report.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace exporting {

struct TextTable {
    QString Title;
    QStringList Header;
    std::vector<QStringList> Rows;
    // Relative widths of the columns; the page shares its width by them.
    std::vector<double> Widths;
    // Columns written flush left (the others are right-aligned numbers).
    std::vector<int> LeftColumns;
};

// Fixed decimals, "-" when absent, an ASCII minus.
QString Number(std::optional<double> v, int decimals);

// Decimals of the printed figures.
inline constexpr int LengthDecimals = 4;
inline constexpr int PercentDecimals = 2;
inline constexpr int DegreeDecimals = 2;

// Frame (ids 1..15 and the reverse-arm travels), Baker assembly (16..28)
// and cylinder (101..122): id, name and value.
std::vector<TextTable> DimensionTables(const kes::Mechanism& m);
// Each port's events by setting, then the front - rear differences with
// the valve travel and the closure.
std::vector<TextTable> EventsTables(const kes::EventsReport& r);
// One line per check: its level and its text.
TextTable ChecksTable(const kes::DesignChecks& checks);
// The report's overall lines above the tables: mid gear, the dead centres
// and the stroke.
QStringList ReportSummary(const kes::EventsReport& r);

} // namespace exporting
