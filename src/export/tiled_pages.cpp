// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/tiled_pages.h"

#include "saving/buffered_save.h"

#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace exporting {

namespace {

constexpr int PdfResolution = 1200;
constexpr double MarkHalfMm = 5.0;
constexpr double MarkCircleMm = 2.5;
// Far beyond any gear: a picture this many sheets across is refused.
constexpr int MaxSheetsPerSide = 200;

int SheetsFor(double content, double area, double overlap) {
    if (content <= area) return 1;
    const double step = area - overlap;
    const double n = std::ceil((content - overlap) / step);
    return static_cast<int>(std::clamp(n, 1.0, double{MaxSheetsPerSide}));
}

QSizeF AreaOf(Paper paper, bool landscape) {
    const QSizeF page = PageSizeOf(paper).size(QPageSize::Millimeter);
    QSizeF area(page.width() - 2 * PageMarginMm, page.height() - 2 * PageMarginMm - TileLabelMm);
    if (landscape)
        area =
            QSizeF(page.height() - 2 * PageMarginMm, page.width() - 2 * PageMarginMm - TileLabelMm);
    return area;
}

void Mark(QPainter& p, QPointF at) {
    p.drawLine(at - QPointF(MarkHalfMm, 0), at + QPointF(MarkHalfMm, 0));
    p.drawLine(at - QPointF(0, MarkHalfMm), at + QPointF(0, MarkHalfMm));
    p.drawEllipse(at, MarkCircleMm, MarkCircleMm);
}

// The marks of every overlap: on the centre line of each overlap band, at
// the middle of each sheet beside it, and where two bands cross.
void PaintMarks(QPainter& p, const TileGrid& g, double overlap) {
    QPen pen(Qt::black, 0.2);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (int c = 1; c < g.Columns; ++c) {
        const double x = c * g.StepX + overlap / 2;
        for (int r = 0; r < g.Rows; ++r)
            Mark(p, QPointF(x, r * g.StepY + g.Tile.height() / 2));
        for (int r = 1; r < g.Rows; ++r)
            Mark(p, QPointF(x, r * g.StepY + overlap / 2));
    }
    for (int r = 1; r < g.Rows; ++r) {
        const double y = r * g.StepY + overlap / 2;
        for (int c = 0; c < g.Columns; ++c)
            Mark(p, QPointF(c * g.StepX + g.Tile.width() / 2, y));
    }
}

void PaintLabel(QPainter& p, const TileGrid& g, int r, int c, const QString& title, double perMm) {
    QFont f = p.font();
    f.setPointSizeF(8);
    p.setFont(f);
    p.setPen(Qt::black);
    const QRectF box(0, (g.Tile.height() + 1) * perMm, g.Tile.width() * perMm,
                     (TileLabelMm - 1) * perMm);
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("%1   sheet row %2 of %3, column %4 of %5   (overlap %6 mm: lay "
                              "the marks over each other)")
                   .arg(title)
                   .arg(r + 1)
                   .arg(g.Rows)
                   .arg(c + 1)
                   .arg(g.Columns)
                   .arg(TileOverlapMm));
}

} // namespace

TileGrid PlanTiles(QSizeF contentMm, QSizeF areaMm, double overlapMm) {
    TileGrid g;
    g.Tile = areaMm;
    g.Columns = SheetsFor(contentMm.width(), areaMm.width(), overlapMm);
    g.Rows = SheetsFor(contentMm.height(), areaMm.height(), overlapMm);
    g.StepX = areaMm.width() - overlapMm;
    g.StepY = areaMm.height() - overlapMm;
    return g;
}

TileGrid PlanTiles(QSizeF contentMm, Paper paper) {
    TileGrid portrait = PlanTiles(contentMm, AreaOf(paper, false), TileOverlapMm);
    TileGrid landscape = PlanTiles(contentMm, AreaOf(paper, true), TileOverlapMm);
    landscape.Landscape = true;
    return landscape.Pages() < portrait.Pages() ? landscape : portrait;
}

int WriteTiledPdf(const QString& fileName, QSizeF contentMm, Paper paper, const QString& title,
                  const std::function<void(QPainter&)>& paint, QString* error) {
    const TileGrid g = PlanTiles(contentMm, paper);
    const bool saved = saving::SaveThroughBuffer(
        fileName,
        [&](QIODevice& device, QString*) {
            QPdfWriter writer(&device);
            writer.setTitle(title);
            writer.setCreator(QStringLiteral("KESTROVE"));
            writer.setResolution(PdfResolution);
            writer.setPageLayout(QPageLayout(
                PageSizeOf(paper), g.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                QMarginsF(PageMarginMm, PageMarginMm, PageMarginMm, PageMarginMm),
                QPageLayout::Millimeter));
            QPainter p;
            if (!p.begin(&writer)) return false;
            p.setRenderHint(QPainter::Antialiasing);
            const double perMm = PdfResolution / 25.4;
            bool first = true;
            for (int r = 0; r < g.Rows; ++r) {
                for (int c = 0; c < g.Columns; ++c) {
                    if (!first) writer.newPage();
                    first = false;
                    p.save();
                    p.scale(perMm, perMm); // painter units: millimetres
                    const QPointF origin(c * g.StepX, r * g.StepY);
                    p.translate(-origin);
                    p.setClipRect(QRectF(origin, g.Tile));
                    paint(p);
                    if (g.Pages() > 1) PaintMarks(p, g, TileOverlapMm);
                    p.restore();
                    // The label in device pixels, where the font's points are points.
                    if (g.Pages() > 1) PaintLabel(p, g, r, c, title, perMm);
                }
            }
            return p.end();
        },
        error);
    return saved ? g.Pages() : 0;
}

} // namespace exporting
