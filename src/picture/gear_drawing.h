// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear at one crank angle and reverse-arm setting, drawn full size for
// the workshop: the links, pins, wheel, cylinder and valve as the main
// window draws them, the user's lines and circles, the crank and eccentric
// circles, without steam or screen texts. One design unit is one inch or
// one millimetre on paper (the design does not know its unit); a scale bar
// and the data set's name go below. SVG is one sheet of the true size; PDF
// is tiled over pages when it is larger than one.

#include "export/paper.h"

#include <QPointF>
#include <QSizeF>
#include <QString>

#include <optional>

class QPainter;

namespace kes {
struct Model;
}

enum class DrawingUnit { Inch, Millimetre };

struct GearDrawingDef {
    double CrankAngle = 0.0; // degrees
    double Setting = 0.0;    // reverse-arm setting (X of its top)
    DrawingUnit Unit = DrawingUnit::Inch;
    exporting::Paper Paper = exporting::Paper::A4;
    std::optional<bool> Landscape; // PDF: whichever needs fewer sheets when absent
    QSizeF CustomPaperMm;          // for exporting::Paper::Custom
    // The title strip under the gear; the tiled PDF has its own title group.
    bool TitleStrip = true;
};

// Millimetres of paper per design unit.
double MmPerUnit(DrawingUnit unit);
// "in" or "mm"; nullopt for anything else.
std::optional<DrawingUnit> ParseDrawingUnit(const QString& text);

// Where things fall on the sheet, in millimetres from its top-left.
struct GearDrawingLayout {
    QSizeF SheetMm;
    QPointF AxleMm; // the driver axle's centre
    double MmPerUnit = 25.4;
    double CrankCircleRadiusMm = 0.0;
};

// Solves the gear at the def's angle and setting on a copy of the model
// and lays out the sheet. nullopt (and *error) when the linkage does not
// close there.
std::optional<GearDrawingLayout> PlanGearDrawing(const kes::Model& m, const GearDrawingDef& def,
                                                 QString* error = nullptr);

// Paints the sheet with the painter's units in millimetres. False when the
// linkage does not close.
bool PaintGearDrawing(QPainter& p, const kes::Model& m, const GearDrawingDef& def);

// Writes "x.svg" or "x.pdf" (decided by the name). Returns the number of
// pages written (1 for SVG), or 0 and sets *error.
int WriteGearDrawing(const QString& fileName, const kes::Model& m, const GearDrawingDef& def,
                     QString* error = nullptr);
