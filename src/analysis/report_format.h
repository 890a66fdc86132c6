// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The precise report, the design checks and the sensitivities as JSON and
// CSV, for the command line, the Valve Events window and the balancing. A
// number that cannot be computed is JSON null or an empty CSV cell; numbers
// are written in the fewest digits that read back to the same double.

#include "analysis/design_checks.h"
#include "analysis/events_report.h"
#include "analysis/sensitivity.h"

#include <optional>
#include <span>
#include <string>

namespace kes {

// "null" for an absent or non-finite number, else the shortest text that
// reads back exactly (-0 is written as 0).
std::string JsonNumber(std::optional<double> v);
// The same, but "" where JSON has null.
std::string CsvNumber(std::optional<double> v);
// A CSV cell: quoted when it holds a comma, a quote or a line break.
std::string CsvText(std::string_view text);

// {"mid_gear": M, "rows": [{"setting", "offset", "direction", "closes",
// "valve_travel", "front": {...}, "rear": {...}}]}, each port with "lead",
// "admission_pct", "admission_deg", "cutoff_pct", "cutoff_deg",
// "release_pct", "release_deg", "compression_pct", "compression_deg",
// "max_steam_opening", "max_exhaust_opening". When the report found the
// settings for a wanted cut-off, a last key "cutoff_settings" holds them.
std::string ReportJson(const EventsReport& r);

// The report's CSV columns: the same fields flattened (front_cutoff_pct and
// so on) after mid_gear, then the front - rear differences.
enum class ColumnKind { Text, Flag, Setting, Length, Percent, Degrees };
struct ReportColumn {
    const char* Name;
    ColumnKind Kind;
};
std::span<const ReportColumn> ReportColumns();
// A cell as a number (absent for the text and flag columns and for a
// number that cannot be computed) and as the CSV writes it.
std::optional<double> ReportCellNumber(const EventsReport& r, const ReportRow& row, size_t column);
std::string ReportCellText(const EventsReport& r, const ReportRow& row, size_t column);

// Header and one line per row, '\n' line ends. When the report found the
// settings for a wanted cut-off, a blank line and their own table follow.
std::string ReportCsv(const EventsReport& r, char separator = ',');

// "failure closure: The linkage ..." one line per check.
std::string ChecksText(const DesignChecks& c);
std::string ChecksCsv(const DesignChecks& c, char separator = ',');
// {"failures": n, "warnings": n, "lines": [{"level", "topic", "text"}]}
std::string ChecksJson(const DesignChecks& c);

// One line per dimension and reported row: id, name, display_name,
// setting, offset, direction, then front_lead, front_cutoff, front_release,
// front_compression and the same for the rear: the change for +0.001.
std::string SensitivityCsv(const SensitivityTable& t, char separator = ',');
// {"step": 0.001, "rows": [{"id", "name", "display_name", "setting",
// "offset", "direction", "front": {"lead", ...}, "rear": {...}}]}
std::string SensitivityJson(const SensitivityTable& t);

} // namespace kes
