// SPDX-License-Identifier: GPL-3.0-or-later
#include "workshop/tiled_sheets.h"

#include "workshop/sheet_output.h"
#include "workshop/sheet_text.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace workshop {

namespace {

constexpr double MarkHalfMm = 5.0;
constexpr double MarkCircleMm = 2.5;
constexpr double ClearMm = 3.0;    // kept between the title group and the picture
constexpr double KeyCellMm = 6.0;  // a sheet in the assembly key, at most
constexpr double KeyMaxMm = 70.0;  // the key's width at most
constexpr double BarRoomMm = 12.0; // the scale bar and its text under the title block
constexpr int MaxSheetsPerSide = 200;
constexpr double InkPixelsMaxSide = 4000.0;

// Where the picture carries ink, as a summed-area table, so any rectangle's
// ink is four look-ups.
class InkMap {
  public:
    InkMap(const TiledPicture& pic) {
        const double side = std::max(pic.SizeMm.width(), pic.SizeMm.height());
        perMm_ = std::min(1.0, InkPixelsMaxSide / std::max(side, 1.0));
        w_ = std::max(1, int(std::ceil(pic.SizeMm.width() * perMm_)));
        h_ = std::max(1, int(std::ceil(pic.SizeMm.height() * perMm_)));
        QImage img(w_, h_, QImage::Format_Grayscale8);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            p.scale(perMm_, perMm_);
            pic.Paint(p);
        }
        sum_.assign(size_t(w_ + 1) * size_t(h_ + 1), 0);
        for (int y = 0; y < h_; ++y) {
            const uchar* line = img.constScanLine(y);
            int row = 0;
            for (int x = 0; x < w_; ++x) {
                row += line[x] < 250 ? 1 : 0;
                At(x + 1, y + 1) = At(x + 1, y) + row;
            }
        }
    }
    bool Inked(const QRectF& mm) const {
        const int x0 = std::clamp(int(std::floor(mm.left() * perMm_)), 0, w_);
        const int x1 = std::clamp(int(std::ceil(mm.right() * perMm_)), 0, w_);
        const int y0 = std::clamp(int(std::floor(mm.top() * perMm_)), 0, h_);
        const int y1 = std::clamp(int(std::ceil(mm.bottom() * perMm_)), 0, h_);
        if (x1 <= x0 || y1 <= y0) return false;
        return Get(x1, y1) - Get(x0, y1) - Get(x1, y0) + Get(x0, y0) > 0;
    }

  private:
    long& At(int x, int y) { return sum_[size_t(y) * size_t(w_ + 1) + size_t(x)]; }
    long Get(int x, int y) const { return sum_[size_t(y) * size_t(w_ + 1) + size_t(x)]; }
    double perMm_ = 1.0;
    int w_ = 1, h_ = 1;
    std::vector<long> sum_;
};

int SheetsFor(double content, double area) {
    if (content <= area) return 1;
    const double n = std::ceil((content - SheetOverlapMm) / (area - SheetOverlapMm));
    return int(std::clamp(n, 1.0, double{MaxSheetsPerSide}));
}

QSizeF AreaOf(const SheetPaper& paper, bool landscape) {
    const QSizeF page = paper.SizeMm(landscape);
    return QSizeF(page.width() - 2 * SheetMarginMm,
                  page.height() - 2 * SheetMarginMm - SheetLabelMm);
}

QSizeF KeySize(int columns, int rows) {
    const double cell = std::min(KeyCellMm, KeyMaxMm / columns);
    return QSizeF(columns * cell, rows * cell * 0.8);
}

QSizeF TitleGroupSize(const TiledPicture& pic, int columns, int rows) {
    const QSizeF key = KeySize(columns, rows);
    const double width = std::max(key.width() + 4 + TitleBlockMm.width(), pic.ScaleBarMm + 10);
    return QSizeF(width, std::max(key.height() + 6, TitleBlockMm.height()) + BarRoomMm);
}

void Grid(TilePlan& plan, const SheetPaper& paper, bool landscape) {
    plan.Landscape = landscape;
    plan.Tile = AreaOf(paper, landscape);
    plan.Columns = SheetsFor(plan.ContentMm.width(), plan.Tile.width());
    plan.Rows = SheetsFor(plan.ContentMm.height(), plan.Tile.height());
    plan.StepX = plan.Tile.width() - SheetOverlapMm;
    plan.StepY = plan.Tile.height() - SheetOverlapMm;
}

// The first spot, on an inked sheet in reading order, where the group fits
// wholly on that sheet and clear of the picture; trying each sheet's
// bottom-right first, where a drawing leaves room most often.
std::optional<QRectF> FindTitleSpot(const TilePlan& plan, const InkMap& ink, QSizeF group,
                                    const std::vector<QPoint>& inked) {
    const double step = 5.0;
    for (const QPoint s : inked) {
        const QRectF tile = plan.TileRect(s).intersected(QRectF(QPointF(0, 0), plan.ContentMm));
        for (double y = tile.bottom() - group.height(); y >= tile.top(); y -= step)
            for (double x = tile.right() - group.width(); x >= tile.left(); x -= step) {
                const QRectF r(QPointF(x, y), group);
                if (!ink.Inked(r.adjusted(-ClearMm, -ClearMm, ClearMm, ClearMm))) return r;
            }
    }
    return std::nullopt;
}

bool Hits(const QRectF& r, const std::vector<QRectF>& clear) {
    return std::any_of(clear.begin(), clear.end(),
                       [&](const QRectF& c) { return c.intersects(r); });
}

// A mark on the band between two printed sheets, slid along the band off
// the texts and the title group.
void PlaceMark(TilePlan& plan, QPointF at, QPointF along, double room,
               const std::vector<QRectF>& clear) {
    const QSizeF markSize(2 * MarkHalfMm, 2 * MarkHalfMm);
    for (double d = 0; d <= room; d += 5.0)
        for (double sign : {1.0, -1.0}) {
            const QPointF q = at + along * (sign * d);
            if (!Hits(QRectF(q - QPointF(MarkHalfMm, MarkHalfMm), markSize), clear)) {
                plan.Marks.push_back(q);
                return;
            }
        }
}

void PaintMark(QPainter& p, QPointF at) {
    p.drawLine(at - QPointF(MarkHalfMm, 0), at + QPointF(MarkHalfMm, 0));
    p.drawLine(at - QPointF(0, MarkHalfMm), at + QPointF(0, MarkHalfMm));
    p.drawEllipse(at, MarkCircleMm, MarkCircleMm);
}

void PaintKey(QPainter& p, const TilePlan& plan, QRectF box) {
    const double cellW = box.width() / plan.Columns, cellH = box.height() / plan.Rows;
    p.setPen(QPen(Qt::black, ThinLineMm));
    for (const QPoint s : plan.Sheets) {
        const QRectF cell(box.left() + s.x() * cellW, box.top() + s.y() * cellH, cellW, cellH);
        p.setBrush(s == plan.Sheets.front() ? QColor(200, 200, 200) : QColor(Qt::white));
        p.drawRect(cell);
        SheetTextIn(p, cell, Qt::AlignCenter, SheetNumber(s), std::min(2.0, cellH * 0.45));
    }
    p.setBrush(Qt::NoBrush);
    SheetText(p, box.bottomLeft() + QPointF(0, 4),
              QStringLiteral("Assembly key: row/column, this sheet shaded"), 2.2);
}

void PaintTitleGroup(QPainter& p, const TiledPicture& pic, const TilePlan& plan) {
    const QRectF g = plan.TitleGroupMm;
    const QSizeF key = KeySize(plan.Columns, plan.Rows);
    p.fillRect(g, Qt::white);
    PaintTitleBlock(p, QPointF(g.right() - TitleBlockMm.width(), g.top()), pic.Title);
    PaintKey(p, plan, QRectF(QPointF(g.left(), g.top()), key));
    if (pic.ScaleBarMm > 0 && pic.ScaleBarTicks > 0) {
        const QPointF left(g.left(), g.bottom() - BarRoomMm + 4);
        p.setPen(QPen(Qt::black, ThickLineMm));
        p.drawLine(left, left + QPointF(pic.ScaleBarMm, 0));
        for (int i = 0; i <= pic.ScaleBarTicks; ++i) {
            const double x = left.x() + i * pic.ScaleBarMm / pic.ScaleBarTicks;
            p.drawLine(QPointF(x, left.y() - 2), QPointF(x, left.y()));
        }
        SheetText(p, left + QPointF(0, 4.5), pic.ScaleBarText, 2.6);
    }
}

void PaintLabel(QPainter& p, const TilePlan& plan, QPoint s, const QString& title) {
    const QRectF box(0, plan.Tile.height() + 1, plan.Tile.width(), SheetLabelMm - 1);
    SheetTextIn(p, box, Qt::AlignLeft | Qt::AlignVCenter,
                QStringLiteral("%1   sheet %2 (row/column) of %3 x %4, %5 sheets   overlap %6 mm: "
                               "lay the marks over each other")
                    .arg(title, SheetNumber(s))
                    .arg(plan.Rows)
                    .arg(plan.Columns)
                    .arg(plan.Sheets.size())
                    .arg(SheetOverlapMm),
                2.6);
}

TilePlan PlanOne(const TiledPicture& pic, const SheetPaper& paper, bool landscape,
                 const InkMap& ink) {
    TilePlan plan;
    plan.ContentMm = pic.SizeMm;
    Grid(plan, paper, landscape);
    std::vector<QPoint> inked;
    for (int r = 0; r < plan.Rows; ++r)
        for (int c = 0; c < plan.Columns; ++c)
            if (ink.Inked(plan.TileRect({c, r}).intersected(QRectF(QPointF(0, 0), pic.SizeMm))))
                inked.push_back({c, r});
    QSizeF group = TitleGroupSize(pic, plan.Columns, plan.Rows);
    auto spot = FindTitleSpot(plan, ink, group, inked);
    if (!spot) {
        // No room anywhere: a strip under the picture, starting on the first
        // inked column of the last row.
        plan.ContentMm.rheight() += group.height() + 2 * ClearMm;
        Grid(plan, paper, landscape);
        group = TitleGroupSize(pic, plan.Columns, plan.Rows);
        spot = QRectF(QPointF(0, pic.SizeMm.height() + ClearMm), group);
        inked.clear();
        for (int r = 0; r < plan.Rows; ++r)
            for (int c = 0; c < plan.Columns; ++c)
                if (ink.Inked(plan.TileRect({c, r})) || plan.TileRect({c, r}).contains(*spot))
                    inked.push_back({c, r});
    }
    plan.TitleGroupMm = *spot;
    // Print first the sheet that holds the group whole.
    const auto holder = std::find_if(inked.begin(), inked.end(), [&](QPoint s) {
        return plan.TileRect(s).contains(plan.TitleGroupMm);
    });
    if (holder != inked.end()) std::rotate(inked.begin(), holder, holder + 1);
    plan.Sheets = inked;

    std::vector<QRectF> clear;
    for (const QRectF& t : pic.Texts)
        clear.push_back(t.adjusted(-1, -1, 1, 1));
    clear.push_back(plan.TitleGroupMm.adjusted(-2, -2, 2, 2));
    const auto printed = [&](int c, int r) {
        return std::find(plan.Sheets.begin(), plan.Sheets.end(), QPoint(c, r)) != plan.Sheets.end();
    };
    for (const QPoint s : plan.Sheets) {
        const QRectF t = plan.TileRect(s);
        if (printed(s.x() + 1, s.y()))
            PlaceMark(plan, QPointF((s.x() + 1) * plan.StepX + SheetOverlapMm / 2, t.center().y()),
                      QPointF(0, 1), t.height() / 2 - SheetOverlapMm - MarkHalfMm, clear);
        if (printed(s.x(), s.y() + 1))
            PlaceMark(plan, QPointF(t.center().x(), (s.y() + 1) * plan.StepY + SheetOverlapMm / 2),
                      QPointF(1, 0), t.width() / 2 - SheetOverlapMm - MarkHalfMm, clear);
    }
    return plan;
}

} // namespace

QString SheetNumber(QPoint sheet) {
    return QStringLiteral("%1/%2").arg(sheet.y() + 1).arg(sheet.x() + 1);
}

TilePlan PlanTiledSheets(const TiledPicture& picture, const SheetPaper& paper) {
    const InkMap ink(picture);
    if (paper.Landscape) return PlanOne(picture, paper, *paper.Landscape, ink);
    const TilePlan portrait = PlanOne(picture, paper, false, ink);
    const TilePlan landscape = PlanOne(picture, paper, true, ink);
    return landscape.Sheets.size() < portrait.Sheets.size() ? landscape : portrait;
}

int WriteTiledSheets(const QString& fileName, const TiledPicture& picture, const SheetPaper& paper,
                     const QString& title, QString* error) {
    const TilePlan plan = PlanTiledSheets(picture, paper);
    const std::vector<PdfPage> pages(plan.Sheets.size(),
                                     PdfPage{paper.SizeMm(plan.Landscape), plan.Landscape});
    const bool several = plan.Sheets.size() > 1;
    return WritePdfPages(
        fileName, paper, pages, title,
        [&](QPainter& p, int i) {
            const QPoint s = plan.Sheets[size_t(i)];
            const QRectF tile = plan.TileRect(s);
            p.save();
            p.translate(SheetMarginMm, SheetMarginMm);
            p.save();
            p.translate(-tile.topLeft());
            p.setClipRect(tile);
            picture.Paint(p);
            PaintTitleGroup(p, picture, plan);
            if (several) {
                p.setPen(QPen(Qt::black, ThinLineMm));
                p.setBrush(Qt::NoBrush);
                for (const QPointF& m : plan.Marks)
                    PaintMark(p, m);
            }
            p.restore();
            PaintLabel(p, plan, s, title);
            p.restore();
        },
        error);
}

} // namespace workshop
