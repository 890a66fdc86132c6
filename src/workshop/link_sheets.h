// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link drawings: a sheet per link, drawn to a standard scale that fits
// the sheet, with its pin centres, every centre distance, arm length and
// back-set dimensioned in the design's unit, the pin holes' diameter, the
// link's and the design's name; and a last sheet with the frame pivots'
// coordinates from the axle centre.

#include "analysis/link_geometry.h"
#include "workshop/drawing_unit.h"
#include "workshop/sheet_paper.h"

#include <QPointF>
#include <QSizeF>
#include <QString>

#include <optional>

class QPainter;

namespace kes {
struct Model;
}

namespace workshop {

struct LinkSheetDef {
    Unit DesignUnit = Unit::Inch;
    std::optional<int> Decimals;       // DefaultDecimals of the unit when absent
    std::optional<double> PinDiameter; // design units; DefaultPinDiameter when absent
    SheetPaper Paper{DefaultPaperKind(), true, {}};
    QString SourceFile; // for the title block
};

int DecimalsOf(const LinkSheetDef& def);
// A length as the sheets write it: "4.000".
QString FormatLength(double v, int decimals);

// The standard scales a link or an arrangement is drawn at, largest first:
// 1:1, 1:2, 1:4, 1:5, 1:8, 1:10, then 1:20 and 1:50 for very large designs.
const std::vector<int>& StandardScales();

struct LinkSheetPlan {
    QSizeF PageMm;
    int ScaleDivisor = 1;    // drawn at 1:ScaleDivisor
    double MmPerUnit = 25.4; // on paper, after the scale
    QPointF OriginMm;        // where the link's frame origin (its first pin) lies
    double PinDiameter = 0.0;
    // Page position of a point of the link's frame.
    QPointF PageOf(double x, double y) const {
        return {OriginMm.x() + x * MmPerUnit, OriginMm.y() - y * MmPerUnit};
    }
};

LinkSheetPlan PlanLinkSheet(const kes::Model& m, const kes::GearLink& link,
                            const LinkSheetDef& def);
void PaintLinkSheet(QPainter& p, const kes::Model& m, const kes::GearLink& link,
                    const LinkSheetDef& def);
void PaintPivotSheet(QPainter& p, const kes::Model& m, const LinkSheetDef& def);

// A PDF of every link and the pivot sheet; or, for "x.svg", one file per
// sheet: "x-radius-bar.svg" ... and "x-pivots.svg". Returns the number of
// sheets written, or 0 and sets *error.
int WriteLinkSheets(const QString& fileName, const kes::Model& m, const LinkSheetDef& def,
                    QString* error = nullptr);
// The SVG name of one sheet of x.svg.
QString SheetFileName(const QString& fileName, const QString& id);

} // namespace workshop
