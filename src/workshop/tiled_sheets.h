// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A full-size picture tiled over sheets that wastes no paper: only sheets
// that carry some of the picture are printed, the title group (the title
// block, the assembly key and the scale bar) stays whole on one sheet and
// clear of the picture, the alignment marks and sheet labels keep off the
// picture's texts, and each sheet is numbered "row/column". The sheet with
// the title group, which also carries the assembly key, is printed first.

#include "workshop/sheet_paper.h"
#include "workshop/title_block.h"

#include <QPoint>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace workshop {

inline constexpr double SheetMarginMm = 12.0;
inline constexpr double SheetOverlapMm = 15.0;
inline constexpr double SheetLabelMm = 6.0;

struct TiledPicture {
    QSizeF SizeMm;                        // origin at the top-left
    std::function<void(QPainter&)> Paint; // in millimetres
    std::vector<QRectF> Texts;            // the picture's texts: marks keep off them
    TitleInfo Title;
    // A scale bar of whole units under the title block: its length and ticks.
    double ScaleBarMm = 0.0;
    int ScaleBarTicks = 0;
    QString ScaleBarText;
};

struct TilePlan {
    bool Landscape = false;
    int Columns = 1, Rows = 1;
    QSizeF Tile; // what one sheet shows, mm
    double StepX = 0, StepY = 0;
    QSizeF ContentMm;           // the picture, with a strip added when the title group needs one
    std::vector<QPoint> Sheets; // (column, row) in print order; the first has the title group
    QRectF TitleGroupMm;        // in picture coordinates
    std::vector<QPointF> Marks;
    QRectF TileRect(QPoint sheet) const {
        return QRectF(sheet.x() * StepX, sheet.y() * StepY, Tile.width(), Tile.height());
    }
};

// Whichever orientation needs fewer sheets when the paper leaves it open.
TilePlan PlanTiledSheets(const TiledPicture& picture, const SheetPaper& paper);

// Returns the number of sheets written, or 0 and sets *error.
int WriteTiledSheets(const QString& fileName, const TiledPicture& picture, const SheetPaper& paper,
                     const QString& title, QString* error = nullptr);

// "2/3": row 2, column 3, counted from 1.
QString SheetNumber(QPoint sheet);

} // namespace workshop
