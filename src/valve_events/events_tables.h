// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's three tables, filled from a result. The numbers are the
// command line's, rounded for the eye; the tool tip and the copied or saved
// text keep every digit.

#include "analysis/design_checks.h"
#include "analysis/events_report.h"
#include "analysis/report_format.h"
#include "analysis/sensitivity.h"

#include <QString>

class QStandardItemModel;
class QTableWidget;

namespace events_window {

// Decimals shown: settings and lengths 4, percent and degrees 2.
int Decimals(kes::ColumnKind kind);
// An absent number is an empty cell.
QString CellText(std::optional<double> v, int decimals);

// Mid gear is shown above the table, so its column is left out.
constexpr size_t FirstShownColumn = 1;
// A report column's heading: its group ("Front port", "Rear port", "Front -
// rear") over its name with the unit ("Cut-off %", "Lead"). Each heading
// item keeps the CSV field name under FieldNameRole and as its tool tip.
QString ReportHeading(size_t column);
constexpr int FieldNameRole = 0x0102; // Qt::UserRole + 2
// With a compared report, each number is followed by the compared design's
// figure in the same row and the difference (current - compared).
void FillReportTable(QTableWidget& table, const kes::EventsReport& r,
                     const kes::EventsReport* compared = nullptr);
void FillChecksTable(QTableWidget& table, const kes::DesignChecks& c);

// Columns: id, name, display name, setting, offset, direction, then front
// and rear of each quantity. Each number's item sorts by its value.
constexpr int SensitivityKeyColumns = 6;
int SensitivityColumn(int port, kes::SensitivityQuantity q);
void FillSensitivityModel(QStandardItemModel& model, const kes::SensitivityTable& t);
// The sort role of the sensitivity items.
constexpr int SortRole = 0x0101; // Qt::UserRole + 1

} // namespace events_window
