// SPDX-License-Identifier: GPL-3.0-or-later
#include "workshop/setting_sheet_page.h"

#include "model/model.h"
#include "workshop/link_sheets.h"
#include "workshop/sheet_output.h"
#include "workshop/sheet_text.h"
#include "workshop/title_block.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace workshop {

namespace {

constexpr double MarginMm = 10.0;
constexpr double RowMm = 6.5;
constexpr double TextMm = 2.6;

} // namespace

void PaintSettingSheet(QPainter& p, const kes::Model& m, const kes::SettingSheet& sheet,
                       const SettingSheetPageDef& def) {
    const QSizeF page = def.Paper.SizeMm(def.Paper.Landscape.value_or(true));
    const int decimals = std::clamp(def.Decimals.value_or(DefaultDecimals(def.DesignUnit)), 0, 6);
    const QString unit = QString::fromLatin1(UnitText(def.DesignUnit));
    const auto num = [&](const std::optional<double>& v) {
        return v ? FormatLength(*v, decimals) : QStringLiteral("-");
    };
    const auto deg = [](const std::optional<double>& v) {
        return v ? QString::number(*v, 'f', 2) : QStringLiteral("-");
    };
    p.save();
    p.fillRect(QRectF(QPointF(0, 0), page), Qt::white);
    SheetText(p, QPointF(MarginMm, MarginMm + 6), QStringLiteral("Valve-setting sheet"), 6.0, true);
    SheetText(p, QPointF(MarginMm, MarginMm + 13),
              QStringLiteral("Crosshead travel %1 %2; front dead centre at crank %3 deg, rear at "
                             "%4 deg. Every crosshead position is its distance from the front "
                             "dead centre, in %2.")
                  .arg(num(sheet.Stroke), unit, deg(sheet.FrontDeadCentreDeg),
                       deg(sheet.RearDeadCentreDeg)),
              3.0);

    // The table: notch, direction, travel, then each port's lead and four events.
    const QString heads[] = {QStringLiteral("Notch"),   QStringLiteral("Dir"),
                             QStringLiteral("Travel"),  QStringLiteral("Lead"),
                             QStringLiteral("Adm."),    QStringLiteral("Cut-off"),
                             QStringLiteral("Release"), QStringLiteral("Compr.")};
    const double w0 = 22, w1 = 10, w = (page.width() - 2 * MarginMm - w0 - w1) / 11;
    double y = MarginMm + 22;
    p.setPen(QPen(Qt::black, ThinLineMm));
    const auto cell = [&](double x, double width, const QString& text, bool bold = false) {
        p.drawRect(QRectF(x, y, width, RowMm));
        SheetTextIn(p, QRectF(x + 1, y, width - 2, RowMm), Qt::AlignCenter, text, TextMm, bold);
    };
    {
        const double x0 = MarginMm + w0 + w1 + w;
        cell(MarginMm, w0 + w1 + w, QString());
        cell(x0, 5 * w, QStringLiteral("Front port"), true);
        cell(x0 + 5 * w, 5 * w, QStringLiteral("Rear port"), true);
        y += RowMm;
        double x = MarginMm;
        cell(x, w0, heads[0], true), x += w0;
        cell(x, w1, heads[1], true), x += w1;
        cell(x, w, heads[2], true), x += w;
        for (int port = 0; port < 2; ++port)
            for (int i = 3; i < 8; ++i)
                cell(x, w, heads[i], true), x += w;
        y += RowMm;
    }
    for (const kes::SheetNotch& n : sheet.Notches) {
        double x = MarginMm;
        cell(x, w0, QStringLiteral("%1%2").arg(n.Offset >= 0 ? "+" : "").arg(num(n.Offset))),
            x += w0;
        cell(x, w1, QString::fromLatin1(kes::RunDirectionText(n.Direction))), x += w1;
        cell(x, w, num(n.ValveTravel)), x += w;
        for (const kes::SheetPort* port : {&n.Front, &n.Rear})
            for (const auto& v :
                 {port->Lead, port->Admission, port->CutOff, port->Release, port->Compression})
                cell(x, w, num(v)), x += w;
        y += RowMm;
    }
    y += 8;
    // The largest openings at full gear: the notches furthest from mid gear.
    double full = 0.0;
    for (const kes::SheetNotch& n : sheet.Notches)
        full = std::max(full, std::fabs(n.Offset));
    SheetText(p, QPointF(MarginMm, y), QStringLiteral("Port openings at full gear"), 3.4, true);
    y += 5;
    for (const kes::SheetNotch& n : sheet.Notches) {
        if (std::fabs(n.Offset) != full) continue;
        SheetText(p, QPointF(MarginMm, y),
                  QStringLiteral("Notch %1 (%2): front steam %3, front exhaust %4, rear steam "
                                 "%5, rear exhaust %6 %7")
                      .arg(num(n.Offset), QString::fromLatin1(kes::RunDirectionText(n.Direction)),
                           num(n.Front.MaxSteamOpening), num(n.Front.MaxExhaustOpening),
                           num(n.Rear.MaxSteamOpening), num(n.Rear.MaxExhaustOpening), unit),
                  TextMm);
        y += 4.5;
    }
    y += 3;
    SheetText(p, QPointF(MarginMm, y),
              QStringLiteral("Notch: reverse-arm setting from mid gear (%1), forward +. Lead: "
                             "steam opening at the port's dead centre. \"-\": the event does not "
                             "happen.")
                  .arg(sheet.MidGear ? QStringLiteral("mid gear %1").arg(num(sheet.MidGear))
                                     : QStringLiteral("mid gear not found")),
              2.4);

    TitleInfo t = TitleFor(m, QStringLiteral("Valve-setting sheet"), def.SourceFile);
    t.Scale = QStringLiteral("-");
    t.Unit = unit;
    t.Extra = QStringLiteral("Check on the engine with a tram and a trammel");
    PaintTitleBlock(p,
                    QPointF(page.width() - MarginMm - TitleBlockMm.width(),
                            page.height() - MarginMm - TitleBlockMm.height()),
                    t);
    p.restore();
}

bool WriteSettingSheetPdf(const QString& fileName, const kes::Model& m,
                          const kes::SettingSheet& sheet, const SettingSheetPageDef& def,
                          QString* error) {
    const bool landscape = def.Paper.Landscape.value_or(true);
    return WritePdfPages(
               fileName, def.Paper, {PdfPage{def.Paper.SizeMm(landscape), landscape}},
               QStringLiteral("KESTROVE valve-setting sheet - %1")
                   .arg(QString::fromStdString(m.DataSetName)),
               [&](QPainter& p, int) { PaintSettingSheet(p, m, sheet, def); }, error) == 1;
}

} // namespace workshop
