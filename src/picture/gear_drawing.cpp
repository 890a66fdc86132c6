// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/gear_drawing.h"

#include "export/tiled_pages.h"
#include "model/model.h"
#include "model/solver.h"
#include "picture/animation_tick.h"
#include "picture/cylinder_outlines.h"
#include "picture/mechanism_painter.h"
#include "saving/buffered_save.h"
#include "workshop/tiled_sheets.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr double MarginMm = 10.0;
constexpr double TitleStripMm = 28.0;
constexpr double LineMm = 0.3;       // the links' line width on paper
constexpr double ThinLineMm = 0.15;  // construction circles and marks
constexpr double PivotCrossMm = 4.0; // half the fixed pivots' crosses
constexpr double TextMm = 3.5;
// The mechanism is drawn in whole pixels of the main window's painter: as
// fine as this, but never so many that a coordinate leaves its clip box.
constexpr double MaxPixelsPerMm = 100.0;
constexpr double MaxPixelsAcross = 60000.0;
constexpr int SvgResolution = 254; // ten pixels to the millimetre

struct Box {
    double MinX = 1e300, MaxX = -1e300, MinY = 1e300, MaxY = -1e300;
    void Add(double x, double y) {
        MinX = std::min(MinX, x), MaxX = std::max(MaxX, x);
        MinY = std::min(MinY, y), MaxY = std::max(MaxY, y);
    }
    void AddCircle(double x, double y, double r) {
        Add(x - r, y - r);
        Add(x + r, y + r);
    }
};

// The solved copy of the model and where it lies in world units.
struct SolvedGear {
    std::unique_ptr<kes::Model> Model;
    Box World;
};

std::optional<SolvedGear> Solve(const kes::Model& m, const GearDrawingDef& def, QString* error) {
    SolvedGear g{std::make_unique<kes::Model>(m), {}};
    kes::Model& c = *g.Model;
    c.DriverAngle = static_cast<float>(def.CrankAngle);
    c.RevArmSetting = static_cast<float>(def.Setting);
    c.SolveError = false;
    c.BeepOnError = true; // the solver flags a linkage that cannot close
    kes::SolveLinkage(c);
    kes::SolvePortOpenings(c);
    if (c.SolveError) {
        if (error)
            *error = QStringLiteral("The linkage does not close at crank angle %1 and setting %2.")
                         .arg(def.CrankAngle)
                         .arg(def.Setting);
        return std::nullopt;
    }
    using namespace kes;
    const auto& pt = c.Points;
    for (int i = 0; i < DrawnPointCount; ++i)
        if (i != BellCrankPivot && i != RevArmPivot && i != RefPoint1 && i != RefPoint2 &&
            i != CrankOffset)
            g.World.Add(pt[size_t(i)].X, pt[size_t(i)].Y);
    g.World.Add(double{pt[GearMount].X} - pt[BellCrankPivot].X,
                double{pt[GearMount].Y} + pt[BellCrankPivot].Y);
    g.World.Add(double{pt[GearMount].X} - pt[RevArmPivot].X,
                double{pt[GearMount].Y} - pt[RevArmPivot].Y);
    g.World.AddCircle(0, 0, 0.5 * c.Frame.DriverDiameter);
    g.World.AddCircle(0, 0, 0.5 * c.Frame.StrokeLength);
    const auto& cyl = c.Cylinder;
    const double e = cyl[CylCtrToDriver], yc = pt[Crosshead].Y;
    const double half = 0.5 * std::max(cyl[BoreLength], cyl[ValveChamberLength]);
    const double vs = yc + cyl[ValveSurfaceToCylCL];
    g.World.Add(e - half, yc - 0.5 * cyl[BoreDiameter]);
    g.World.Add(e + half, vs + cyl[ValveChamberHeight]);
    g.World.Add(e + half, yc + 0.5 * cyl[BoreDiameter]);
    if (!std::isfinite(g.World.MinX + g.World.MaxX + g.World.MinY + g.World.MaxY)) {
        if (error) *error = QStringLiteral("The gear cannot be drawn: a point is not a number.");
        return std::nullopt;
    }
    return g;
}

GearDrawingLayout Layout(const Box& w, const GearDrawingDef& def) {
    GearDrawingLayout l;
    l.MmPerUnit = MmPerUnit(def.Unit);
    const double width = (w.MaxX - w.MinX) * l.MmPerUnit + 2 * MarginMm;
    const double height =
        (w.MaxY - w.MinY) * l.MmPerUnit + 2 * MarginMm + (def.TitleStrip ? TitleStripMm : 0.0);
    l.SheetMm = QSizeF(std::max(width, 120.0), height);
    l.AxleMm = QPointF(MarginMm - w.MinX * l.MmPerUnit, MarginMm + w.MaxY * l.MmPerUnit);
    return l;
}

void TextAt(QPainter& p, QPointF atMm, const QString& text, double heightMm, bool bold = false) {
    p.save();
    p.translate(atMm);
    p.scale(0.1, 0.1); // fonts come in whole pixels: draw them in tenths of a millimetre
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(heightMm * 10))));
    f.setBold(bold);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QPointF(0, 0), text);
    p.restore();
}

// A bar of whole units with a tick at each, and its length written under it.
void PaintScaleBar(QPainter& p, QPointF leftMm, const GearDrawingDef& def, double maxMm) {
    const double perUnit = MmPerUnit(def.Unit);
    const bool inches = def.Unit == DrawingUnit::Inch;
    const double tick = inches ? 1.0 : 10.0; // units between ticks
    int ticks = inches ? 4 : 10;
    while (ticks > 1 && ticks * tick * perUnit > maxMm)
        --ticks;
    const double length = ticks * tick * perUnit;
    p.setPen(QPen(Qt::black, LineMm));
    p.drawLine(leftMm, leftMm + QPointF(length, 0));
    for (int i = 0; i <= ticks; ++i) {
        const double x = leftMm.x() + i * tick * perUnit;
        p.drawLine(QPointF(x, leftMm.y() - 2), QPointF(x, leftMm.y()));
    }
    TextAt(p, leftMm + QPointF(0, TextMm + 1.5),
           QStringLiteral("%1 %2 (check this bar with a rule before working from the print)")
               .arg(ticks * tick)
               .arg(inches ? QStringLiteral("in") : QStringLiteral("mm")),
           TextMm * 0.8);
}

void PaintConstruction(QPainter& p, const kes::Model& c, const GearDrawingLayout& l) {
    using namespace kes;
    const auto& pt = c.Points;
    auto mm = [&](double x, double y) {
        return QPointF(l.AxleMm.x() + x * l.MmPerUnit, l.AxleMm.y() - y * l.MmPerUnit);
    };
    QPen dashed(Qt::darkGray, ThinLineMm, Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    // The crank pin's circle and the return crank pin's circle about the axle.
    p.drawEllipse(l.AxleMm, l.CrankCircleRadiusMm, l.CrankCircleRadiusMm);
    const double ecc =
        std::hypot(double{pt[EccCrankPin].X}, double{pt[EccCrankPin].Y}) * l.MmPerUnit;
    p.drawEllipse(l.AxleMm, ecc, ecc);
    // The cylinder's centre line.
    const double yc = pt[Crosshead].Y;
    p.drawLine(mm(0, yc) - QPointF(0, 0),
               mm(c.Cylinder[CylCtrToDriver] + 0.5 * c.Cylinder[BoreLength], yc));
    // The fixed pivots, large enough to centre-punch.
    p.setPen(QPen(Qt::red, ThinLineMm));
    const QPointF pivots[] = {mm(0, 0), mm(pt[GearMount].X, pt[GearMount].Y),
                              mm(double{pt[GearMount].X} - pt[BellCrankPivot].X,
                                 double{pt[GearMount].Y} + pt[BellCrankPivot].Y),
                              mm(double{pt[GearMount].X} - pt[RevArmPivot].X,
                                 double{pt[GearMount].Y} - pt[RevArmPivot].Y)};
    for (const QPointF& q : pivots) {
        p.drawLine(q - QPointF(PivotCrossMm, 0), q + QPointF(PivotCrossMm, 0));
        p.drawLine(q - QPointF(0, PivotCrossMm), q + QPointF(0, PivotCrossMm));
    }
}

void PaintMechanism(QPainter& p, kes::Model& c, const GearDrawingLayout& l) {
    const double maxMm = std::max(l.SheetMm.width(), l.SheetMm.height());
    const double perMm = std::clamp(MaxPixelsAcross / maxMm, 1.0, MaxPixelsPerMm);
    c.CurrentView.Scale = static_cast<float>(l.MmPerUnit * perMm);
    c.CurrentView.OffsetX = static_cast<float>(l.AxleMm.x() * perMm);
    c.CurrentView.OffsetY = static_cast<float>(l.AxleMm.y() * perMm);
    // No steam, no screen texts, no highlight: only the gear.
    c.SteamDisplayOn = false;
    c.ScreenDataOn = false;
    c.HighlightedDimension = 0;
    c.LineWidth = std::max(1, static_cast<int>(std::lround(LineMm * perMm)));
    MapPointsToScreen(c);
    auto state = std::make_unique<DrawState>();
    ComputeCylinderOutlines(c, state->Outlines);
    FrameOutcome outcome;
    p.save();
    p.scale(1.0 / perMm, 1.0 / perMm);
    DrawMechanism(p, c, *state, outcome);
    p.restore();
}

} // namespace

double MmPerUnit(DrawingUnit unit) {
    return unit == DrawingUnit::Inch ? 25.4 : 1.0;
}

std::optional<DrawingUnit> ParseDrawingUnit(const QString& text) {
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("in") || t == QLatin1String("inch")) return DrawingUnit::Inch;
    if (t == QLatin1String("mm")) return DrawingUnit::Millimetre;
    return std::nullopt;
}

std::optional<GearDrawingLayout> PlanGearDrawing(const kes::Model& m, const GearDrawingDef& def,
                                                 QString* error) {
    const auto g = Solve(m, def, error);
    if (!g) return std::nullopt;
    GearDrawingLayout l = Layout(g->World, def);
    l.CrankCircleRadiusMm = 0.5 * g->Model->Frame.StrokeLength * l.MmPerUnit;
    return l;
}

bool PaintGearDrawing(QPainter& p, const kes::Model& m, const GearDrawingDef& def) {
    auto g = Solve(m, def, nullptr);
    if (!g) return false;
    GearDrawingLayout l = Layout(g->World, def);
    l.CrankCircleRadiusMm = 0.5 * g->Model->Frame.StrokeLength * l.MmPerUnit;
    p.save();
    p.fillRect(QRectF(QPointF(0, 0), l.SheetMm), Qt::white);
    PaintMechanism(p, *g->Model, l);
    PaintConstruction(p, *g->Model, l);
    if (!def.TitleStrip) {
        p.restore();
        return true;
    }
    const double top = l.SheetMm.height() - TitleStripMm + 4;
    TextAt(p, QPointF(MarginMm, top + TextMm),
           QStringLiteral("KESTROVE   %1").arg(QString::fromStdString(m.DataSetName)), TextMm * 1.2,
           true);
    TextAt(p, QPointF(MarginMm, top + 2.3 * TextMm),
           QStringLiteral("Crank angle %1 deg, reverse-arm setting %2, full size: 1 unit = 1 %3")
               .arg(def.CrankAngle, 0, 'f', 2)
               .arg(def.Setting, 0, 'f', 4)
               .arg(def.Unit == DrawingUnit::Inch ? QStringLiteral("in") : QStringLiteral("mm")),
           TextMm * 0.9);
    PaintScaleBar(p, QPointF(MarginMm, top + 3.8 * TextMm + 2), def,
                  l.SheetMm.width() - 2 * MarginMm);
    p.restore();
    return true;
}

namespace {

// The PDF on as few sheets as carry the gear, the title block and the scale
// bar kept whole on one of them.
int WriteTiledGearDrawing(const QString& fileName, const kes::Model& m, const GearDrawingDef& def,
                          const QString& title, QString* error) {
    GearDrawingDef bare = def;
    bare.TitleStrip = false;
    const auto layout = PlanGearDrawing(m, bare, error);
    if (!layout) return 0;
    workshop::TiledPicture picture;
    picture.SizeMm = layout->SheetMm;
    picture.Paint = [&](QPainter& p) { PaintGearDrawing(p, m, bare); };
    const QString unit =
        def.Unit == DrawingUnit::Inch ? QStringLiteral("in") : QStringLiteral("mm");
    picture.Title = workshop::TitleFor(m, QStringLiteral("Gear drawing, full size"), QString());
    picture.Title.Scale = QStringLiteral("1:1");
    picture.Title.Unit = unit;
    picture.Title.Extra = QStringLiteral("Crank angle %1 deg, reverse-arm setting %2")
                              .arg(def.CrankAngle, 0, 'f', 2)
                              .arg(def.Setting, 0, 'f', 4);
    const bool inches = def.Unit == DrawingUnit::Inch;
    picture.ScaleBarTicks = inches ? 4 : 10;
    picture.ScaleBarMm = picture.ScaleBarTicks * (inches ? 25.4 : 10.0);
    picture.ScaleBarText =
        QStringLiteral("%1 %2: check this bar with a rule").arg(inches ? 4 : 100).arg(unit);
    const workshop::SheetPaper paper{def.Paper, def.Landscape, def.CustomPaperMm};
    return workshop::WriteTiledSheets(fileName, picture, paper, title, error);
}

} // namespace

int WriteGearDrawing(const QString& fileName, const kes::Model& m, const GearDrawingDef& def,
                     QString* error) {
    const auto layout = PlanGearDrawing(m, def, error);
    if (!layout) return 0;
    const QString title =
        QStringLiteral("KESTROVE gear drawing - %1").arg(QString::fromStdString(m.DataSetName));
    auto paint = [&](QPainter& p) { PaintGearDrawing(p, m, def); };
    if (QFileInfo(fileName).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0)
        return WriteTiledGearDrawing(fileName, m, def, title, error);

    const bool saved = saving::SaveThroughBuffer(
        fileName,
        [&](QIODevice& device, QString*) {
            QSvgGenerator generator;
            generator.setOutputDevice(&device);
            generator.setResolution(SvgResolution);
            const double perMm = SvgResolution / 25.4;
            const QSize size(static_cast<int>(std::ceil(layout->SheetMm.width() * perMm)),
                             static_cast<int>(std::ceil(layout->SheetMm.height() * perMm)));
            generator.setSize(size);
            // One unit of the picture is one millimetre of the sheet's printed size.
            generator.setViewBox(QRectF(0, 0, size.width() / perMm, size.height() / perMm));
            generator.setTitle(title);
            QPainter p;
            if (!p.begin(&generator)) return false;
            paint(p);
            return p.end();
        },
        error);
    return saved ? 1 : 0;
}
