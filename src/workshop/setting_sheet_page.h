// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The valve-setting sheet on paper: the crosshead positions from the front
// dead centre at every event of both ports for each notch, the leads, the
// valve travel, the dead-centre angles, the crosshead travel and the port
// openings at full gear, with a title block.

#include "analysis/setting_sheet.h"
#include "workshop/drawing_unit.h"
#include "workshop/sheet_paper.h"

#include <QString>

class QPainter;

namespace kes {
struct Model;
}

namespace workshop {

struct SettingSheetPageDef {
    Unit DesignUnit = Unit::Inch;
    std::optional<int> Decimals;
    SheetPaper Paper{DefaultPaperKind(), true, {}};
    QString SourceFile;
};

void PaintSettingSheet(QPainter& p, const kes::Model& m, const kes::SettingSheet& sheet,
                       const SettingSheetPageDef& def);
// One page of PDF. False and *error when it cannot be written.
bool WriteSettingSheetPdf(const QString& fileName, const kes::Model& m,
                          const kes::SettingSheet& sheet, const SettingSheetPageDef& def,
                          QString* error = nullptr);

} // namespace workshop
