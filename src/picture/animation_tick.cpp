// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/animation_tick.h"

#include "model/model.h"
#include "model/rounding.h"
#include "model/solver.h"
#include "picture/cylinder_outlines.h"
#include "picture/mechanism_painter.h"

#include <QPainter>

void MapPointsToScreen(kes::Model& m) {
    using namespace kes;
    auto& pt = m.Points;
    for (int i = 0; i <= RevArmPivotAbs; ++i) {
        auto& p = pt[static_cast<size_t>(i)];
        p.SX = WorldToScreenX(m, p.X);
        p.SY = WorldToScreenY(m, p.Y);
    }
    const double s = m.CurrentView.Scale, ox = m.CurrentView.OffsetX, oy = m.CurrentView.OffsetY;
    const double x16 = pt[GearMount].X, y16 = pt[GearMount].Y;
    auto& rev = pt[RevArmPivot];
    rev.SX = ScreenPixel((x16 - rev.X) * s + ox);
    rev.SY = ScreenPixel((double{rev.Y} - y16) * s + oy);
    auto& bell = pt[BellCrankPivot];
    bell.SX = ScreenPixel(ox + s * (x16 - bell.X));
    bell.SY = ScreenPixel(oy - s * (y16 + bell.Y));
}

void AdvanceDriver(kes::Model& m) {
    if (m.GearDirection == kes::GearDir::Fwd)
        m.DriverAngle = m.DriverAngle + m.StepAngle;
    else
        m.DriverAngle = m.DriverAngle - m.StepAngle;
    if (double{m.DriverAngle} > 360.1) m.DriverAngle = m.DriverAngle - 360.0f;
    if (m.DriverAngle < 0.0f) m.DriverAngle = m.DriverAngle + 360.0f;
}

void PrepareFrame(kes::Model& m, DrawState& s) {
    kes::SolveLinkage(m);
    kes::SolvePortOpenings(m);
    MapPointsToScreen(m);
    ComputeCylinderOutlines(m, s.Outlines);
    s.SolvedDriverAngle = m.DriverAngle;
    AdvanceDriver(m);
}

void DrawFrame(kes::Model& m, DrawState& s, QImage& image, FrameOutcome& out) {
    ClearFrameImage(image, s);
    {
        QPainter painter(&image);
        DrawMechanism(painter, m, s, out);
    }
    ApplyFrameOutcome(m, out);
    s.DrawnImageKey = image.cacheKey();
}

void RunTick(kes::Model& m, DrawState& s, QImage& image, FrameOutcome& out) {
    PrepareFrame(m, s);
    DrawFrame(m, s, image, out);
}
