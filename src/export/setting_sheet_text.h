// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The valve-setting sheet as the report's tables: for each notch the
// crosshead positions from the front dead centre at each event of one
// port, its lead and the valve travel; and the lines above them.

#include "analysis/setting_sheet.h"
#include "export/report_text.h"

namespace exporting {

// The front port's table, then the rear port's.
std::vector<TextTable> SettingSheetTables(const kes::SettingSheet& s);
// The crosshead travel, the dead centres and how the figures are measured.
QStringList SettingSheetSummary(const kes::SettingSheet& s);

} // namespace exporting
