// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/mechanism_painter.h"

#include "model/model.h"
#include "model/rounding.h"
#include "picture/cylinder_outlines.h"
#include "picture/dimension_highlight.h"
#include "picture/draw_constants.h"
#include "picture/line_colors.h"
#include "picture/paint_canvas.h"
#include "picture/screen_texts.h"
#include "picture/steam_display.h"

#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

namespace {

using kes::PointIndex;

QPoint Screen(const kes::Model& m, int index) {
    const auto& p = m.Points[static_cast<size_t>(index)];
    return {p.SX, p.SY};
}

// The circle of radius r about world (x, y).
void WorldCircle(Canvas& canvas, const kes::Model& m, double x, double y, double r) {
    canvas.Ellipse(WorldToScreenX(m, x - r), WorldToScreenY(m, y - r), WorldToScreenX(m, x + r),
                   WorldToScreenY(m, y + r));
}

void DrawWheelAndPins(Canvas& canvas, const kes::Model& m) {
    using namespace kes;
    const double d = m.Frame.DriverDiameter;
    const auto& pt = m.Points;
    canvas.SetPenColor(drawk::Black);
    WorldCircle(canvas, m, 0, 0, drawk::WheelRadius * d);

    // The counterweight: 220 degrees of a circle, centred on the driver angle
    // as the screen measures it (y down).
    const double r = drawk::CounterweightRadius * d;
    const QRect box(QPoint(WorldToScreenX(m, -r), WorldToScreenY(m, -r)),
                    QPoint(WorldToScreenX(m, r), WorldToScreenY(m, r)));
    const double a = m.DriverAngle;
    canvas.Arc(box, -(a + drawk::CounterweightHalfSpan), 2 * drawk::CounterweightHalfSpan);

    WorldCircle(canvas, m, 0, 0, drawk::AxleRadius * d);
    auto pin = [&](int i, double k) {
        WorldCircle(canvas, m, pt[static_cast<size_t>(i)].X, pt[static_cast<size_t>(i)].Y, k * d);
    };
    pin(CrankPin, drawk::CrankPinRadius);
    pin(EccCrankPin, drawk::EccPinRadius);
    pin(RevArmTop, drawk::PinRadius);
    pin(RevArmRadiusPin, drawk::PinRadius);
    pin(Crosshead, drawk::CrossheadRadius);
    pin(ValveStemJoint, drawk::PinRadius);
    pin(BellCrankHorzPin, drawk::PinRadius);
    WorldCircle(canvas, m, static_cast<double>(pt[GearMount].X) - pt[BellCrankPivot].X,
                static_cast<double>(pt[GearMount].Y) + pt[BellCrankPivot].Y, drawk::PinRadius * d);
    for (int i : {BellCrankVertPin, ValveRodFrontPin, GearConRodRadiusPin, CombLeverLowerPin})
        pin(i, drawk::PinRadius);
    WorldCircle(canvas, m, static_cast<double>(pt[GearMount].X) - pt[RevArmPivot].X,
                static_cast<double>(pt[GearMount].Y) - pt[RevArmPivot].Y, drawk::PinRadius * d);
    pin(EccRodFrontPin, drawk::PinRadius);
    pin(UnionLinkRearPin, drawk::PinRadius);
}

void DrawOutlines(Canvas& canvas, const kes::Model& m, const CylinderOutlines& o) {
    canvas.SetPenColor(drawk::Outline);
    canvas.MoveTo(o.Cylinder[0]);
    for (size_t i = 1; i < o.Cylinder.size(); ++i)
        canvas.LineTo(o.Cylinder[i]);
    canvas.MoveTo(o.Cylinder[14]);
    for (const QPoint& p : o.Port)
        canvas.LineTo(p);

    canvas.SetPenColor(drawk::Black);
    canvas.Line(Screen(m, kes::Crosshead), o.Piston[0]); // piston rod
    canvas.MoveTo(o.Piston[4]);
    for (size_t i = 1; i <= 4; ++i)
        canvas.LineTo(o.Piston[i]);
    canvas.Line(Screen(m, kes::ValveStemJoint), o.Piston[5]); // valve stem
    canvas.MoveTo(o.Valve[7]);
    for (const QPoint& p : o.Valve)
        canvas.LineTo(p);
}

void DrawFixedPivots(Canvas& canvas, const kes::Model& m) {
    canvas.SetPenColor(drawk::FixedPivot);
    const int n = drawk::CrossNear, f = drawk::CrossFar;
    for (int i : {kes::BellCrankPivot, kes::RevArmPivot, kes::GearMount, kes::DriverCentre}) {
        const QPoint p = Screen(m, i);
        canvas.Line(p + QPoint(n, n), p + QPoint(-f, -f));
        canvas.Line(p + QPoint(n, -n), p + QPoint(-f, f));
    }
}

void DrawLinks(Canvas& canvas, const kes::Model& m) {
    using namespace kes;
    auto P = [&](int i) { return Screen(m, i); };
    auto to = [&](QRgb color, int i) {
        canvas.SetPenColor(color);
        canvas.LineTo(P(i));
    };
    canvas.MoveTo(P(RevArmPivot));
    to(drawk::RevArm, RevArmTop);
    canvas.SetPenColor(drawk::ReachRod);
    canvas.LineTo(QPoint(P(DriverCentre).x(), P(RevArmTop).y()));
    canvas.MoveTo(P(RevArmRadiusPin));
    to(drawk::RadiusBar, GearConRodRadiusPin);
    // The lower part of the gear connecting rod bends back towards its offset pin.
    const QPoint p9 = P(GearConRodRadiusPin), p15 = P(EccRodFrontPin);
    const QPoint knee(RoundHalfEven((static_cast<double>(p9.x()) + p15.x()) / 2.0 +
                                    (static_cast<double>(p9.y()) - p15.y()) / 5.0),
                      RoundHalfEven((static_cast<double>(p9.y()) + p15.y()) / 2.0));
    canvas.SetPenColor(drawk::GearConRod);
    canvas.LineTo(knee);
    canvas.LineTo(p15);
    canvas.MoveTo(p9);
    to(drawk::GearConRod, BellCrankHorzPin);
    to(drawk::BellCrank, BellCrankPivot);
    to(drawk::BellCrank, BellCrankVertPin);
    to(drawk::ValveRod, ValveRodFrontPin);
    to(drawk::CombLever, ValveStemJoint);
    canvas.MoveTo(P(ValveRodFrontPin));
    to(drawk::CombLever, CombLeverLowerPin);
    to(drawk::UnionLink, UnionLinkRearPin);
    to(drawk::DropLink, Crosshead);
    to(drawk::MainRod, CrankPin);
    to(drawk::ReturnCrank, EccCrankPin);
    to(drawk::EccRod, EccRodFrontPin);
}

void DrawLinesAndCircles(Canvas& canvas, const kes::Model& m) {
    auto pivot = [&](int index, double& x, double& y) {
        if (index < 0 || index >= kes::PointCount) return false;
        x = m.Points[static_cast<size_t>(index)].X;
        y = m.Points[static_cast<size_t>(index)].Y;
        return true;
    };
    auto xp = [&](double x) { return WorldToScreenX(m, x); };
    auto yp = [&](double y) { return WorldToScreenY(m, y); };
    for (int i = 1; i <= kes::LineItemCount; ++i) {
        const kes::LineItem& item = m.LineTable[static_cast<size_t>(i)];
        canvas.SetPenColor(kes::LineColor(item.ItemColor).rgb() & 0xFFFFFFu);
        double px = 0, py = 0, qx = 0, qy = 0;
        const bool hasP = pivot(item.Ref1Pivot, px, py);
        const bool hasQ = pivot(item.Ref2Pivot, qx, qy);
        double ax = item.Point1X, ay = item.Point1Y, bx = item.Point2X, by = item.Point2Y;
        if (item.ItemType == 0) {
            switch (item.RefMode) {
            case 0:
                break;
            case 1:
                if (!hasP) continue;
                ax += px, ay += py, bx += px, by += py;
                break;
            case 2:
                if (!hasP) continue;
                ax += px, ay += py;
                break;
            case 3:
                if (!hasP || !hasQ) continue;
                ax += px, ay += py, bx += qx, by += qy;
                break;
            default:
                continue;
            }
            canvas.Line(QPoint(xp(ax), yp(ay)), QPoint(xp(bx), yp(by)));
        } else if (item.ItemType == 1) {
            if (item.RefMode == 1) {
                if (!hasP) continue;
                ax += px, ay += py;
            } else if (item.RefMode != 0) {
                continue;
            }
            const double r = item.Point2X;
            const double ox = m.CurrentView.OffsetX, oy = m.CurrentView.OffsetY;
            const double s = m.CurrentView.Scale;
            // One pixel is added before rounding on the right and the top.
            canvas.Ellipse(xp(ax - r), ScreenPixel(oy - s * (ay - r) + 1.0),
                           ScreenPixel(ox + s * (ax + r) + 1.0), yp(ay + r));
        }
    }
}

uint32_t ClockSeed() {
    const auto t = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<uint32_t>(t) ^ static_cast<uint32_t>(static_cast<uint64_t>(t) >> 32);
}

} // namespace

QImage NewFrameImage() {
    QImage image(drawk::ImageWidth, drawk::ImageHeight, QImage::Format_RGB32);
    image.setDotsPerMeterX(drawk::ImageDotsPerMeter);
    image.setDotsPerMeterY(drawk::ImageDotsPerMeter);
    image.fill(drawk::Background);
    return image;
}

void ClearFrameImage(QImage& image) {
    image.fill(drawk::Background);
}

void ClearFrameImage(QImage& image, const DrawState& s) {
    if (s.DrawnImageKey == 0 || image.cacheKey() != s.DrawnImageKey ||
        image.format() != QImage::Format_RGB32) {
        ClearFrameImage(image);
        return;
    }
    // A little beyond every item's place, for safety's sake.
    constexpr int Margin = 4;
    const QRect dirty =
        DrawnBounds(s.Drawn).adjusted(-Margin, -Margin, Margin, Margin) & image.rect();
    if (dirty.isEmpty()) return;
    const QRgb white = QColor(drawk::Background).rgb();
    for (int y = dirty.top(); y <= dirty.bottom(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)) + dirty.left(), dirty.width(),
                    white);
}

void DrawMechanism(QPainter& painter, const kes::Model& m, DrawState& s, FrameOutcome& out) {
    Canvas canvas(painter, s.DotBuffer, &s.Drawn);
    canvas.SetPen(drawk::Black, m.LineWidth);
    canvas.SetFontColor(drawk::Black);
    // The large font grows with the text positions.
    canvas.SetFont(drawk::FontPoints * static_cast<double>(m.TextScaleY));
    QRgb c = drawk::Black;

    if (m.SteamDisplayOn) {
        DotRandom::Seed(s.RandomState, s.FixedSeed ? *s.FixedSeed : ClockSeed());
        DrawSteam(canvas, m, s, out, c);
    }

    DrawWheelAndPins(canvas, m);
    DrawOutlines(canvas, m, s.Outlines);
    DrawFixedPivots(canvas, m);
    DrawLinks(canvas, m);
    DrawLinesAndCircles(canvas, m);
    if (m.ScreenDataOn) DrawScreenTexts(canvas, m, s, out);
    if (m.HighlightedDimension > 0) DrawDimensionHighlight(canvas, m, s, out);
}

void ApplyFrameOutcome(kes::Model& m, const FrameOutcome& out) {
    if (out.ClearSolveError) m.SolveError = false;
    if (out.CutOffFrontText) m.CutOffFrontText = *out.CutOffFrontText;
    if (out.CutOffRearText) m.CutOffRearText = *out.CutOffRearText;
    if (out.SavedView) m.SavedView = *out.SavedView;
    if (out.CurrentView) m.CurrentView = *out.CurrentView;
    if (out.HighlightEnded) m.HighlightedDimension = 0;
}
