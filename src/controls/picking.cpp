// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/picking.h"

#include "controls/control_support.h"
#include "model/absolute_points.h"
#include "model/nearest_point.h"
#include "model/rounding.h"

#include <algorithm>
#include <array>

namespace kes {

using namespace controls_detail;

namespace {

// The world point under a window pixel; false when the view has no usable scale.
bool WorldAt(const Model& m, int x, int y, float& wx, float& wy) {
    const View& v = m.CurrentView;
    if (!UsableScale(v.Scale)) return false;
    wx = F((x - static_cast<double>(v.OffsetX)) / v.Scale);
    wy = F(-(y - static_cast<double>(v.OffsetY)) / v.Scale);
    return true;
}

// Rows of the pivot-data panel that arm a pivot slot, before text scaling.
constexpr int PivotRowTop = 152;
constexpr int PivotRowBottom = 161;
constexpr int PivotRowPitch = 10;
constexpr int PivotRowRight = 20;

// The top strip holds the controls; the drawing starts below it.
constexpr int DrawingTop = 120;
constexpr int DrawingTopRight = 67;
constexpr int DrawingRightOf = 247;

} // namespace

// ---- Mouse picking ----

bool InDrawingArea(int x, int y) {
    return y > DrawingTop || (y > DrawingTopRight && x > DrawingRightOf);
}

namespace {

// Slots 1..23 without the two reference points and without the slots that
// hold offsets from the gear mount (6, 11, 17, 18): the bell-crank and
// reverse-arm pivots are picked as their absolute slots 22 and 23.
constexpr std::array<int, 17> PickablePoints = {1,  2,  3,  4,  5,  7,  8,  9, 10,
                                                12, 13, 14, 15, 16, 21, 22, 23};
static_assert(
    [] {
        for (const int i : PickablePoints)
            if (HoldsMountOffset(i)) return false;
        return true;
    }(),
    "a pick lands only on slots that hold positions");
// Points farther than this from the click are never picked; slot 0 is.
constexpr double PickReach = 10000.0;

} // namespace

int NearestPoint(const Model& m) {
    const PointSlot& r = m.Points[RefPoint1];
    const int nearest = NearestCandidate(
        r.X, r.Y, PickablePoints,
        [&](int i) -> const PointSlot& { return m.Points[static_cast<size_t>(i)]; }, PickReach);
    return nearest < 0 ? 0 : nearest;
}

PickResult MousePick(Model& m, ControlState& cs, int x, int y, MouseButton button) {
    PickResult r;
    const bool left = button == MouseButton::Left;
    const bool right = button == MouseButton::Right;
    float wx = 0.0f, wy = 0.0f;
    const bool mapped = WorldAt(m, x, y, wx, wy);

    // The reference points follow the clicks on the drawing.
    if (m.ReferencePointsOn && mapped && (left || right) && InDrawingArea(x, y)) {
        PointSlot& pt = m.Points[left ? RefPoint1 : RefPoint2];
        pt.X = wx;
        pt.Y = wy;
        SetZeroButton(cs, left ? 1 : 2, true);
        r.RefPointMoved = true;
    }
    // The lines-and-circles window waiting for its pivots.
    if (m.ReferencePointsOn && left && m.LinesPickWaiting) {
        r.LinesPick = true;
        if (m.LinesPickRefChoice < 3) r.OpenLinesWindow = true;
    }
    if (left) cs.ClickLatch = true;
    if (m.ReferencePointsOn && right && m.LinesPickWaiting && m.LinesPickRefChoice == 3 &&
        cs.ClickLatch) {
        cs.ClickLatch = false;
        r.LinesPick = true;
        r.LinesPickRight = true;
        r.OpenLinesWindow = true;
    }
    // An armed pivot slot takes the point nearest to the click.
    if (m.PivotDataOn && m.PivotPickArmed && m.ReferencePointsOn && left && mapped) {
        m.Points[RefPoint1].X = wx;
        m.Points[RefPoint1].Y = wy;
        SetZeroButton(cs, 1, true);
        const int nearest = NearestPoint(m);
        m.PivotPickArmed = false;
        const int slot = std::clamp(m.PivotPickSlot, 1, 6);
        m.PivotSlots[static_cast<size_t>(slot)].PointIndex = nearest;
        r.PivotPicked = true;
    }
    // A click on a row label of the pivot-data panel arms that slot.
    if (m.PivotDataOn && !m.PivotPickArmed && m.ReferencePointsOn && left) {
        const double sx = m.TextScaleX, sy = m.TextScaleY;
        for (int k = 1; k <= 6; ++k) {
            const int top = RoundHalfEven(sy * (PivotRowTop + PivotRowPitch * (k - 1)));
            const int bottom = RoundHalfEven(sy * (PivotRowBottom + PivotRowPitch * (k - 1)));
            if (top < y && y < bottom && 0 < x && x < RoundHalfEven(sx * PivotRowRight)) {
                m.PivotPickSlot = k;
                m.PivotSlots[static_cast<size_t>(k)].Active = true;
                m.PivotPickArmed = true;
                r.PivotArmed = true;
            }
        }
    }
    return r;
}

} // namespace kes
