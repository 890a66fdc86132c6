// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/dimension_highlight.h"

#include "model/model.h"
#include "model/rounding.h"
#include "picture/cylinder_outlines.h"
#include "picture/paint_canvas.h"

#include <QString>

#include <cstdint>

namespace {

struct WorldPoint {
    double X, Y;
};

int Half(int a, int b) {
    return static_cast<int>((int64_t{a} + b) / 2);
}

} // namespace

const drawk::HighlightView* FindHighlightView(int id) {
    for (const auto& v : drawk::HighlightViews)
        if (v.Id == id) return &v;
    return nullptr;
}

std::optional<QLine> HighlightSegment(const kes::Model& m, const CylinderOutlines& o, int id) {
    return HighlightSegment(m, m.CurrentView, o, id);
}

std::optional<QLine> HighlightSegment(const kes::Model& m, const kes::View& view,
                                      const CylinderOutlines& o, int id) {
    using namespace kes;
    const auto& pt = m.Points;
    auto P = [&](int i) {
        return QPoint(pt[static_cast<size_t>(i)].SX, pt[static_cast<size_t>(i)].SY);
    };
    auto W = [&](int i) {
        return WorldPoint{pt[static_cast<size_t>(i)].X, pt[static_cast<size_t>(i)].Y};
    };
    auto xp = [&](double x) { return WorldToScreenX(view, x); };
    auto yp = [&](double y) { return WorldToScreenY(view, y); };
    auto map = [&](WorldPoint w) { return QPoint(xp(w.X), yp(w.Y)); };
    const auto& f = m.Frame;
    const auto& b = m.Baker;
    const auto& cyl = o.Cylinder;
    const auto& port = o.Port;
    const auto& pis = o.Piston;
    const auto& val = o.Valve;
    const double e = m.Cylinder[CylCtrToDriver];

    const WorldPoint p5 = W(BellCrankHorzPin), p8 = W(ValveRodFrontPin),
                     p9 = W(GearConRodRadiusPin), p10 = W(CombLeverLowerPin);
    // The lever and rod ends that are not pins of the point table.
    const double q7k = static_cast<double>(f.CombLeverUpper) / f.CombLeverLower;
    const WorldPoint q7{p8.X + (p8.X - p10.X) * q7k, p8.Y + (p8.Y - p10.Y) * q7k};
    const double q22k = static_cast<double>(b.GearConRodLower) / b.GearConRodUpper;
    const WorldPoint q22{p9.X + (p9.X - p5.X) * q22k, p9.Y + (p9.Y - p5.Y) * q22k};
    const WorldPoint bell{static_cast<double>(pt[GearMount].X) - pt[BellCrankPivot].X,
                          static_cast<double>(pt[GearMount].Y) + pt[BellCrankPivot].Y};
    const double q24k = static_cast<double>(b.BellCrankVert) / b.BellCrankHorz;
    const WorldPoint q24{bell.X - q24k * (p5.Y - bell.Y), bell.Y + q24k * (p5.X - bell.X)};

    auto midGearMarks = [&](double travel) {
        // The travel itself; the tick at mid gear is drawn by the caller.
        const int y1 = map(W(RevArmTop)).y();
        return QLine(xp(m.MidGear() - travel), y1, xp(m.MidGear() + travel), y1);
    };

    switch (id) {
    case 1: {
        const WorldPoint p0 = W(DriverCentre);
        const int x = xp(p0.X);
        return QLine(x, yp(p0.Y - f.DriverDiameter / 2.0), x, yp(p0.Y + f.DriverDiameter / 2.0));
    }
    case 2: {
        const WorldPoint p0 = W(DriverCentre), p12 = W(CrankPin);
        return QLine(map(p12), map({2 * p0.X - p12.X, 2 * p0.Y - p12.Y}));
    }
    case 3:
        return QLine(P(CrankPin), P(Crosshead));
    case 4:
        return QLine(P(Crosshead), QPoint(P(Crosshead).x(), P(UnionLinkRearPin).y()));
    case 5:
        return QLine(QPoint(P(Crosshead).x(), P(UnionLinkRearPin).y()), P(UnionLinkRearPin));
    case 6:
        return QLine(P(CombLeverLowerPin), P(UnionLinkRearPin));
    case 7:
        return QLine(P(ValveRodFrontPin), map(q7));
    case 8:
        return QLine(P(ValveStemJoint), map(q7));
    case 9:
        return QLine(P(ValveRodFrontPin), P(CombLeverLowerPin));
    case 10:
        return QLine(P(BellCrankVertPin), P(ValveRodFrontPin));
    case 11:
        return QLine(P(CrankPin), P(EccCrankPin));
    case 12: {
        const QPoint p0 = P(DriverCentre), p14 = P(EccCrankPin);
        return QLine(p14, QPoint(2 * p0.x() - p14.x(), 2 * p0.y() - p14.y()));
    }
    case 13:
        return QLine(P(EccCrankPin), P(EccRodFrontPin));
    case 14:
        return QLine(P(GearMount), QPoint(P(GearMount).x(), P(DriverCentre).y()));
    case 15:
        return QLine(P(GearMount), QPoint(P(DriverCentre).x(), P(GearMount).y()));
    case 16:
        return QLine(P(RevArmTop), P(RevArmRadiusPin));
    case 17:
        return QLine(P(RevArmRadiusPin), P(RevArmPivot));
    case 18:
        return QLine(P(RevArmPivot), QPoint(P(RevArmPivot).x(), P(GearMount).y()));
    case 19:
        return QLine(P(RevArmPivot), QPoint(P(GearMount).x(), P(RevArmPivot).y()));
    case 20:
        return QLine(P(RevArmRadiusPin), P(GearConRodRadiusPin));
    case 21:
        return QLine(P(GearConRodRadiusPin), P(BellCrankHorzPin));
    case 22:
        return QLine(P(GearConRodRadiusPin), map(q22));
    case 23:
        return QLine(P(EccRodFrontPin), map(q22));
    case 24:
        return QLine(P(BellCrankPivot), map(q24));
    case 25:
        return QLine(P(BellCrankVertPin), map(q24));
    case 26:
        return QLine(P(BellCrankHorzPin), P(BellCrankPivot));
    case 27:
        return QLine(P(BellCrankPivot), QPoint(P(BellCrankPivot).x(), P(GearMount).y()));
    case 28:
        return QLine(P(BellCrankPivot), QPoint(P(GearMount).x(), P(BellCrankPivot).y()));
    case 29:
        return midGearMarks(f.RevArmNorm);
    case 30:
        return midGearMarks(f.RevArmMax);
    case 101: {
        const QPoint p0 = map(W(DriverCentre));
        return QLine(p0, QPoint(xp(W(DriverCentre).X + e), p0.y()));
    }
    case 102: {
        const int x = xp(W(DriverCentre).X + e);
        return QLine(x, map(W(DriverCentre)).y(), x, map(W(Crosshead)).y());
    }
    case 103:
        return QLine(cyl[5], cyl[6]);
    case 104:
        return QLine(cyl[6], cyl[7]);
    case 105:
        return QLine(cyl[5], port[3]);
    case 106: {
        const QPoint p3 = map(W(Crosshead));
        return QLine(p3, QPoint(xp(W(Crosshead).X + m.Cylinder[PistonRodLength]), p3.y()));
    }
    case 107:
        return QLine(pis[1], pis[4]);
    case 108: {
        const int x = cyl[2].x() + drawk::ValveSurfaceMarkDx;
        return QLine(x, cyl[2].y(), x, P(Crosshead).y());
    }
    case 109:
        return QLine(cyl[2].x(), P(ValveStemJoint).y(), cyl[2].x(), P(Crosshead).y());
    case 110:
        return QLine(port[0], QPoint(port[7].x(), port[0].y()));
    case 111:
        return QLine(port[0], port[1]);
    case 112:
        return QLine(port[6], port[7]);
    case 113:
        return QLine(cyl[3], port[1]);
    case 114:
        return QLine(cyl[10], port[6]);
    case 115:
        return QLine(cyl[1], cyl[2]);
    case 116:
        return QLine(cyl[2], cyl[11]);
    case 117:
        return QLine(val[0], val[7]);
    case 118:
        return QLine(val[0], QPoint(Half(val[0].x(), val[1].x()), val[0].y()));
    case 119:
        return QLine(val[1], QPoint(Half(val[0].x(), val[1].x()), val[1].y()));
    case 120:
        return QLine(val[6], QPoint(Half(val[3].x(), val[6].x()), val[6].y()));
    case 121:
        return QLine(val[3], QPoint(Half(val[3].x(), val[6].x()), val[3].y()));
    case 122:
        return QLine(P(ValveStemJoint),
                     QPoint(Half(val[3].x(), val[6].x()), P(ValveStemJoint).y()));
    default:
        return std::nullopt;
    }
}

void DrawDimensionHighlight(Canvas& canvas, const kes::Model& m, DrawState& s, FrameOutcome& out) {
    const int id = m.HighlightedDimension;
    if (id > 99) {
        out.CloseDialog = HighlightTarget::Cylinder;
        s.HighlightReturnToFrame = false;
    } else {
        out.CloseDialog = HighlightTarget::Frame;
        s.HighlightReturnToFrame = true;
    }

    canvas.SetPen(drawk::Black, drawk::HourglassFrameWidth);
    for (const auto& line : drawk::HourglassFrame) {
        canvas.MoveTo(line.Points[0]);
        for (int i = 1; i < line.Count; ++i)
            canvas.LineTo(line.Points[static_cast<size_t>(i)]);
    }
    canvas.SetPenWidth(drawk::HourglassSandWidth);
    for (const auto& line : drawk::HourglassSand) {
        canvas.MoveTo(line.Points[0]);
        for (int i = 1; i < line.Count; ++i)
            canvas.LineTo(line.Points[static_cast<size_t>(i)]);
    }

    kes::View saved = m.SavedView;
    if (s.HighlightFrameCount == 0) {
        saved = m.CurrentView;
        out.SavedView = saved;
    }
    kes::View view = m.CurrentView;
    canvas.SetFont(drawk::HighlightFontPoints);
    ++s.HighlightFrameCount;
    ++s.HighlightBlinkCount;
    canvas.SetPen(s.HighlightBlinkCount <= drawk::HighlightRedFrames ? drawk::Red : drawk::Black,
                  drawk::HighlightPenWidth);

    if (const drawk::HighlightView* v = FindHighlightView(id)) {
        const float zoom = m.GraphicZoom > 0.0f ? m.GraphicZoom : drawk::GraphicZoomBase;
        view.Scale = v->K / zoom * drawk::GraphicZoomBase;
        if (v->SetsOffsets) {
            view.OffsetX = v->OffsetX;
            view.OffsetY = v->OffsetY;
        }
        if (const auto seg = HighlightSegment(m, view, s.Outlines, id)) {
            canvas.Line(seg->p1(), seg->p2());
            if (id == 29 || id == 30) {
                const int x = WorldToScreenX(view, m.MidGear());
                canvas.Line(QPoint(x, seg->y1() + drawk::MidGearTickHalf),
                            QPoint(x, seg->y1() - drawk::MidGearTickHalf));
            }
        }
        const QPoint at(kes::RoundHalfEven(drawk::HighlightNameAt.x() * double{m.TextScaleX}),
                        kes::RoundHalfEven(drawk::HighlightNameAt.y() * double{m.TextScaleY}));
        canvas.Text(at,
                    QString::fromLatin1(v->Name.data(), static_cast<qsizetype>(v->Name.size())));
    }

    if (s.HighlightBlinkCount > 2 * drawk::HighlightRedFrames - 1) s.HighlightBlinkCount = 0;
    if (s.HighlightFrameCount > HighlightFrames) {
        s.HighlightFrameCount = 0;
        s.HighlightBlinkCount = 0;
        view = saved;
        canvas.SetFont(drawk::FontPoints);
        out.ReopenDialog =
            s.HighlightReturnToFrame ? HighlightTarget::Frame : HighlightTarget::Cylinder;
    }
    if (s.HighlightFrameCount == 0) out.HighlightEnded = true;
    out.CurrentView = view;
}
