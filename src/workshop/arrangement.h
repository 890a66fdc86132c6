// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The general arrangement: the whole gear on one sheet at a chosen scale
// (1:1 to 1:10, or fitted to the sheet) at one crank angle and setting,
// every link drawn as its outline round its pin holes, the wheel, the
// crank circle, the cylinder and the valve chest, the fixed pivots and the
// two centre lines, with a title block kept in its own strip.

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

struct ArrangementDef {
    double CrankAngle = 0.0;         // degrees
    std::optional<double> Setting;   // mid gear when absent
    std::optional<int> ScaleDivisor; // 1:N; fitted to the sheet when absent
    Unit DesignUnit = Unit::Inch;
    std::optional<double> PinDiameter; // design units
    SheetPaper Paper{DefaultPaperKind(), true, {}};
    QString SourceFile;
};

// The scales the arrangement offers: 1:1, 1:2, 1:4, 1:5, 1:8, 1:10.
const std::vector<int>& ArrangementScales();
// "1:4" or "fit" into a divisor (nullopt for fit); false for anything else.
bool ParseArrangementScale(const std::string& text, std::optional<int>& divisor);

struct ArrangementPlan {
    QSizeF PageMm;
    double MmPerUnit = 0.0; // on paper
    QPointF AxleMm;         // the driver axle on the page
    QString ScaleText;      // "1:4" or "fit, 1:3.27"
};

// nullopt (and *error) when the linkage does not close there, or the gear
// does not fit the sheet at the chosen scale.
std::optional<ArrangementPlan> PlanArrangement(const kes::Model& m, const ArrangementDef& def,
                                               QString* error = nullptr);
bool PaintArrangement(QPainter& p, const kes::Model& m, const ArrangementDef& def);
// "x.pdf" or "x.svg": one sheet. False and *error when it cannot be drawn or written.
bool WriteArrangement(const QString& fileName, const kes::Model& m, const ArrangementDef& def,
                      QString* error = nullptr);

} // namespace workshop
