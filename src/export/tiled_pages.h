// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A full-size picture on paper: when it is larger than a page it is tiled
// over pages that overlap, each with alignment marks in the overlaps (the
// same marks at the same places of the picture on both pages), so the
// sheets can be laid edge over edge and taped into one.

#include "export/paper.h"

#include <QSizeF>
#include <QString>

#include <functional>

class QPainter;

namespace exporting {

// The overlap of neighbouring sheets and the room for a sheet's label.
inline constexpr double TileOverlapMm = 15.0;
inline constexpr double TileLabelMm = 6.0;

struct TileGrid {
    int Columns = 1;
    int Rows = 1;
    bool Landscape = false;
    QSizeF Tile;        // what one sheet shows, mm
    double StepX = 0.0; // from one column's left edge to the next, mm
    double StepY = 0.0;
    int Pages() const { return Columns * Rows; }
};

// The sheets a picture of contentMm needs on sheets that show areaMm,
// overlapping by overlapMm: one sheet when it fits.
TileGrid PlanTiles(QSizeF contentMm, QSizeF areaMm, double overlapMm);
// The same on the paper's printable area, in whichever orientation needs
// fewer sheets.
TileGrid PlanTiles(QSizeF contentMm, Paper paper);

// Paints the picture (in millimetres, origin at its top-left) on tiled
// pages of a PDF, through a temporary file. Returns the number of pages,
// or 0 and sets *error.
int WriteTiledPdf(const QString& fileName, QSizeF contentMm, Paper paper, const QString& title,
                  const std::function<void(QPainter&)>& paint, QString* error = nullptr);

} // namespace exporting
