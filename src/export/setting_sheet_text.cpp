// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/setting_sheet_text.h"

namespace exporting {

std::vector<TextTable> SettingSheetTables(const kes::SettingSheet& s) {
    std::vector<TextTable> tables;
    for (const bool rear : {false, true}) {
        TextTable t;
        t.Title = rear ? QStringLiteral("Rear port") : QStringLiteral("Front port");
        t.Header = {QStringLiteral("Notch"),     QStringLiteral("Dir"),
                    QStringLiteral("Travel"),    QStringLiteral("Lead"),
                    QStringLiteral("Admission"), QStringLiteral("Cut-off"),
                    QStringLiteral("Release"),   QStringLiteral("Compression")};
        t.Widths = {1.2, 0.6, 1, 1, 1, 1, 1, 1};
        t.LeftColumns = {1};
        for (const kes::SheetNotch& n : s.Notches) {
            const kes::SheetPort& p = rear ? n.Rear : n.Front;
            t.Rows.push_back({Number(n.Offset, LengthDecimals),
                              QString::fromLatin1(kes::RunDirectionText(n.Direction)),
                              Number(n.ValveTravel, LengthDecimals), Number(p.Lead, LengthDecimals),
                              Number(p.Admission, LengthDecimals), Number(p.CutOff, LengthDecimals),
                              Number(p.Release, LengthDecimals),
                              Number(p.Compression, LengthDecimals)});
        }
        tables.push_back(std::move(t));
    }
    return tables;
}

QStringList SettingSheetSummary(const kes::SettingSheet& s) {
    return {QStringLiteral("Crosshead travel %1; front dead centre at crank %2 deg, rear at %3 "
                           "deg.")
                .arg(Number(s.Stroke, LengthDecimals), Number(s.FrontDeadCentreDeg, DegreeDecimals),
                     Number(s.RearDeadCentreDeg, DegreeDecimals)),
            QStringLiteral("Each event is the crosshead's distance from its front dead centre "
                           "when it happens; the notch is the reverse-arm setting from mid "
                           "gear, forward +; \"-\" where an event does not happen.")};
}

} // namespace exporting
