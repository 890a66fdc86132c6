// SPDX-License-Identifier: GPL-3.0-or-later
#include "workshop/link_sheets.h"

#include "analysis/frame_pivots.h"
#include "model/model.h"
#include "workshop/dimension_lines.h"
#include "workshop/sheet_output.h"
#include "workshop/sheet_text.h"
#include "workshop/title_block.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace workshop {

namespace {

constexpr double MarginMm = 10.0;
constexpr double HeadingMm = 30.0;    // the link's name and the holes above the drawing
constexpr double RowMm = 8.0;         // between stacked dimension lines
constexpr double FirstRowMm = 6.0;    // from the outline to the first dimension line
constexpr double LabelsMm = 16.0;     // the pins' names below the outline
constexpr double SquareTextMm = 26.0; // room for a back-set's text to the right

struct Extent {
    double MinX = 1e300, MaxX = -1e300, MinY = 1e300, MaxY = -1e300;
};

Extent OutlineExtent(const kes::GearLink& link, double halfWidth) {
    Extent e;
    for (const kes::Point2& q : kes::SampleOutline(kes::LinkOutline(link, halfWidth))) {
        e.MinX = std::min(e.MinX, q.X), e.MaxX = std::max(e.MaxX, q.X);
        e.MinY = std::min(e.MinY, q.Y), e.MaxY = std::max(e.MaxY, q.Y);
    }
    return e;
}

int RowsAbove(const kes::GearLink& link) {
    return static_cast<int>(std::count_if(
        link.Dimensions.begin(), link.Dimensions.end(),
        [](const kes::LinkDimension& d) { return d.Kind != kes::LinkDimensionKind::Square; }));
}
int ColumnsRight(const kes::GearLink& link) {
    return static_cast<int>(link.Dimensions.size()) - RowsAbove(link);
}

QString DimensionText(const kes::LinkDimension& d, int decimals) {
    const QString v = FormatLength(d.Value, decimals);
    return d.Dimension.empty()
               ? v
               : v + QStringLiteral("  (%1)").arg(QString::fromStdString(d.Dimension));
}

} // namespace

int DecimalsOf(const LinkSheetDef& def) {
    return std::clamp(def.Decimals.value_or(DefaultDecimals(def.DesignUnit)), 0, 6);
}

QString FormatLength(double v, int decimals) {
    QString s = QString::number(v, 'f', decimals);
    if (s.startsWith(QLatin1Char('-')) &&
        s.count(QLatin1Char('0')) == s.size() - 1 - (s.contains(QLatin1Char('.')) ? 1 : 0))
        s.remove(0, 1); // no "-0.000"
    return s;
}

const std::vector<int>& StandardScales() {
    static const std::vector<int> scales = {1, 2, 4, 5, 8, 10, 20, 50};
    return scales;
}

LinkSheetPlan PlanLinkSheet(const kes::Model& m, const kes::GearLink& link,
                            const LinkSheetDef& def) {
    LinkSheetPlan plan;
    plan.PageMm = def.Paper.SizeMm(def.Paper.Landscape.value_or(true));
    plan.PinDiameter = def.PinDiameter.value_or(kes::DefaultPinDiameter(m));
    const Extent e = OutlineExtent(link, plan.PinDiameter);
    const double above = FirstRowMm + RowsAbove(link) * RowMm + 4.0;
    const double right = ColumnsRight(link) * SquareTextMm + 4.0;
    const double areaW = plan.PageMm.width() - 2 * MarginMm - right - 8.0;
    const double areaH = plan.PageMm.height() - HeadingMm - MarginMm - TitleBlockMm.height() - 6.0 -
                         above - LabelsMm;
    const double perUnit = MmPer(def.DesignUnit);
    plan.ScaleDivisor = StandardScales().back();
    for (int s : StandardScales()) {
        const double k = perUnit / s;
        if ((e.MaxX - e.MinX) * k <= areaW && (e.MaxY - e.MinY) * k <= areaH) {
            plan.ScaleDivisor = s;
            break;
        }
    }
    plan.MmPerUnit = perUnit / plan.ScaleDivisor;
    const double width = (e.MaxX - e.MinX) * plan.MmPerUnit;
    const double left = MarginMm + 8.0 + std::max(0.0, (areaW - width) / 2);
    plan.OriginMm =
        QPointF(left - e.MinX * plan.MmPerUnit, HeadingMm + above + e.MaxY * plan.MmPerUnit);
    return plan;
}

void PaintLinkSheet(QPainter& p, const kes::Model& m, const kes::GearLink& link,
                    const LinkSheetDef& def) {
    const LinkSheetPlan plan = PlanLinkSheet(m, link, def);
    const int decimals = DecimalsOf(def);
    const QString unit = QString::fromLatin1(UnitText(def.DesignUnit));
    p.save();
    p.fillRect(QRectF(QPointF(0, 0), plan.PageMm), Qt::white);
    SheetText(p, QPointF(MarginMm, MarginMm + 6), QString::fromStdString(link.Name), 6.0, true);
    SheetText(p, QPointF(MarginMm, MarginMm + 13),
              QStringLiteral("%1 holes %2%3 %4 on the centres shown; link width %5 %4; "
                             "centre distances in %4")
                  .arg(link.Pins.size())
                  .arg(QChar(0x2300))
                  .arg(FormatLength(plan.PinDiameter, decimals), unit,
                       FormatLength(2 * plan.PinDiameter, decimals)),
              3.0);

    // The outline, the centre lines and the holes.
    QPainterPath outline;
    const auto pts = kes::SampleOutline(kes::LinkOutline(link, plan.PinDiameter), 2.0);
    for (size_t i = 0; i < pts.size(); ++i) {
        const QPointF q = plan.PageOf(pts[i].X, pts[i].Y);
        if (i == 0)
            outline.moveTo(q);
        else
            outline.lineTo(q);
    }
    outline.closeSubpath();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, ThickLineMm));
    p.drawPath(outline);
    const double r = plan.PinDiameter / 2 * plan.MmPerUnit;
    QPen centre(Qt::black, ThinLineMm, Qt::DashDotLine);
    for (const kes::LinkPin& pin : link.Pins) {
        const QPointF c = plan.PageOf(pin.X, pin.Y);
        p.setPen(centre);
        p.drawLine(c - QPointF(r + 3, 0), c + QPointF(r + 3, 0));
        p.drawLine(c - QPointF(0, r + 3), c + QPointF(0, r + 3));
        p.setPen(QPen(Qt::black, ThickLineMm));
        p.drawEllipse(c, r, r);
    }

    // Dimensions: along and centre-to-centre above the link, back-sets to its right.
    const Extent e = OutlineExtent(link, plan.PinDiameter);
    const double top = plan.PageOf(0, e.MaxY).y();
    const double rightX = plan.PageOf(e.MaxX, 0).x();
    int row = 0, column = 0;
    for (const kes::LinkDimension& d : link.Dimensions) {
        const kes::LinkPin &a = link.Pins[size_t(d.From)], &b = link.Pins[size_t(d.To)];
        const QPointF pa = plan.PageOf(a.X, a.Y), pb = plan.PageOf(b.X, b.Y);
        const QString text = DimensionText(d, decimals);
        switch (d.Kind) {
        case kes::LinkDimensionKind::Along: {
            const double y = top - FirstRowMm - row++ * RowMm;
            PaintDimension(p, pa, pb, QPointF(pa.x(), y), QPointF(pb.x(), y), text);
            break;
        }
        case kes::LinkDimensionKind::Square: {
            const double x = rightX + 6.0 + column++ * SquareTextMm;
            PaintDimension(p, pa, pb, QPointF(x, pa.y()), QPointF(x, pb.y()), text, true);
            break;
        }
        case kes::LinkDimensionKind::Centres: {
            // Parallel to the centres, clear of the outline above them.
            QPointF u = pb - pa;
            const double len = std::hypot(u.x(), u.y());
            u /= len;
            // Above a lying line (the pins' names go below); a steep one away
            // from the middle of the link, so it stands outside the outline.
            QPointF n(u.y(), -u.x());
            if (std::fabs(u.y()) < 0.5) {
                if (n.y() > 0) n = -n;
            } else {
                QPointF middle(0, 0);
                for (const kes::LinkPin& q : link.Pins)
                    middle += plan.PageOf(q.X, q.Y) / double(link.Pins.size());
                const QPointF toMiddle = middle - (pa + pb) / 2;
                if (toMiddle.x() * n.x() + toMiddle.y() * n.y() > 0) n = -n;
            }
            double clear = 0.0;
            for (const kes::Point2& q : pts) {
                const QPointF w = plan.PageOf(q.X, q.Y) - pa;
                clear = std::max(clear, w.x() * n.x() + w.y() * n.y());
            }
            const double off = clear + FirstRowMm + row++ * RowMm;
            PaintDimension(p, pa, pb, pa + n * off, pb + n * off, text);
            break;
        }
        }
    }
    // The pins' names under the outline, stepped so close pins stay legible.
    const double bottom = plan.PageOf(0, e.MinY).y();
    for (size_t i = 0; i < link.Pins.size(); ++i) {
        const QPointF c = plan.PageOf(link.Pins[i].X, link.Pins[i].Y);
        const double y = bottom + 5.0 + double(i % 3) * 4.0;
        p.setPen(QPen(Qt::gray, ThinLineMm));
        p.drawLine(c + QPointF(0, r), QPointF(c.x(), y - 3.0));
        SheetText(p, QPointF(c.x() + 0.8, y), QString::fromStdString(link.Pins[i].Name), 2.5);
    }

    TitleInfo t = TitleFor(m, QString::fromStdString(link.Name), def.SourceFile);
    t.Scale = QStringLiteral("1:%1").arg(plan.ScaleDivisor);
    t.Unit = unit;
    t.Extra = QStringLiteral("Link drawing: dimensions to %1 decimals").arg(decimals);
    PaintTitleBlock(p,
                    QPointF(plan.PageMm.width() - MarginMm - TitleBlockMm.width(),
                            plan.PageMm.height() - MarginMm - TitleBlockMm.height()),
                    t);
    p.restore();
}

void PaintPivotSheet(QPainter& p, const kes::Model& m, const LinkSheetDef& def) {
    const QSizeF page = def.Paper.SizeMm(def.Paper.Landscape.value_or(true));
    const int decimals = DecimalsOf(def);
    const QString unit = QString::fromLatin1(UnitText(def.DesignUnit));
    p.save();
    p.fillRect(QRectF(QPointF(0, 0), page), Qt::white);
    SheetText(p, QPointF(MarginMm, MarginMm + 6), QStringLiteral("Frame pivots"), 6.0, true);
    SheetText(p, QPointF(MarginMm, MarginMm + 13),
              QStringLiteral("From the driver axle centre: X forward (toward the cylinder), Y "
                             "up, in %1.")
                  .arg(unit),
              3.0);
    const double widths[] = {58, 28, 28, 58, 28, 28};
    const QString heads[] = {QStringLiteral("Pivot"),    QStringLiteral("X"),
                             QStringLiteral("Y"),        QStringLiteral("Dimensions"),
                             QStringLiteral("Stored X"), QStringLiteral("Stored Y")};
    const double rowH = 7.0;
    double y = HeadingMm;
    const auto rowCells = [&](const QString* cells, bool bold) {
        double x = MarginMm;
        p.setPen(QPen(Qt::black, ThinLineMm));
        for (int i = 0; i < 6; ++i) {
            p.drawRect(QRectF(x, y, widths[i], rowH));
            SheetTextIn(p, QRectF(x + 1.5, y, widths[i] - 3, rowH),
                        (i == 0 || i == 3 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                        cells[i], 2.8, bold);
            x += widths[i];
        }
        y += rowH;
    };
    rowCells(heads, true);
    const auto num = [&](const std::optional<double>& v) {
        return v ? FormatLength(*v, decimals) : QStringLiteral("-");
    };
    std::vector<QString> notes;
    for (const kes::FramePivot& f : kes::FramePivots(m)) {
        QString names = QString::fromStdString(f.XName);
        if (!f.YName.empty())
            names += (names.isEmpty() ? QString() : QStringLiteral(", ")) +
                     QString::fromStdString(f.YName);
        const QString cells[] = {QString::fromStdString(f.Name),
                                 num(f.X),
                                 num(f.Y),
                                 names,
                                 num(f.StoredX),
                                 num(f.StoredY)};
        rowCells(cells, false);
        notes.push_back(QString::fromStdString(f.Name + ": " + f.Note));
    }
    y += 6;
    for (const QString& n : notes) {
        SheetText(p, QPointF(MarginMm, y), n, 2.6);
        y += 4.5;
    }
    TitleInfo t = TitleFor(m, QStringLiteral("Frame pivots"), def.SourceFile);
    t.Scale = QStringLiteral("-");
    t.Unit = unit;
    t.Extra = QStringLiteral("Lay out from the axle centre; check each with the stored values");
    PaintTitleBlock(p,
                    QPointF(page.width() - MarginMm - TitleBlockMm.width(),
                            page.height() - MarginMm - TitleBlockMm.height()),
                    t);
    p.restore();
}

QString SheetFileName(const QString& fileName, const QString& id) {
    const QFileInfo info(fileName);
    return info.dir().filePath(info.completeBaseName() + QLatin1Char('-') + id +
                               QStringLiteral(".svg"));
}

int WriteLinkSheets(const QString& fileName, const kes::Model& m, const LinkSheetDef& def,
                    QString* error) {
    const std::vector<kes::GearLink> links = kes::GearLinks(m);
    const bool landscape = def.Paper.Landscape.value_or(true);
    const QSizeF page = def.Paper.SizeMm(landscape);
    const QString title =
        QStringLiteral("KESTROVE link drawings - %1").arg(QString::fromStdString(m.DataSetName));
    if (IsSvgName(fileName)) {
        for (const kes::GearLink& l : links)
            if (!WriteSvgPage(
                    SheetFileName(fileName, QString::fromStdString(l.Id)), page, title,
                    [&](QPainter& p) { PaintLinkSheet(p, m, l, def); }, error))
                return 0;
        if (!WriteSvgPage(
                SheetFileName(fileName, QStringLiteral("pivots")), page, title,
                [&](QPainter& p) { PaintPivotSheet(p, m, def); }, error))
            return 0;
        return static_cast<int>(links.size()) + 1;
    }
    const std::vector<PdfPage> pages(links.size() + 1, PdfPage{page, landscape});
    return WritePdfPages(
        fileName, def.Paper, pages, title,
        [&](QPainter& p, int i) {
            if (size_t(i) < links.size())
                PaintLinkSheet(p, m, links[size_t(i)], def);
            else
                PaintPivotSheet(p, m, def);
        },
        error);
}

} // namespace workshop
