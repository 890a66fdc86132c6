// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse picking on the drawing.

#include "controls_fixture.h"
#include "model/solver.h"

#include "controls/controls.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using namespace kes;

TEST(ControlsPicking, DrawingAreaBoundaries) {
    EXPECT_TRUE(InDrawingArea(0, 121));
    EXPECT_FALSE(InDrawingArea(0, 120));
    EXPECT_TRUE(InDrawingArea(248, 68));
    EXPECT_FALSE(InDrawingArea(247, 68));
    EXPECT_FALSE(InDrawingArea(248, 67));
    EXPECT_FALSE(InDrawingArea(600, 10));
}

TEST_F(Controls, ClickPlacesReferencePoints) {
    // Off: clicks move nothing.
    MousePick(m, cs, 400, 300, MouseButton::Left);
    EXPECT_EQ(m.Points[RefPoint1].X, 0.0f);

    m.ReferencePointsOn = true;
    PickResult r = MousePick(m, cs, 400, 300, MouseButton::Left);
    EXPECT_TRUE(r.RefPointMoved);
    EXPECT_NEAR(m.Points[RefPoint1].X, 15.789474, 1e-5);
    EXPECT_NEAR(m.Points[RefPoint1].Y, -1.0526316, 1e-6);
    EXPECT_TRUE(cs.RefPt1ZeroEnabled);

    r = MousePick(m, cs, 100, 280, MouseButton::Right);
    EXPECT_EQ(m.Points[RefPoint2].X, 0.0f);
    EXPECT_EQ(m.Points[RefPoint2].Y, 0.0f);
    r = MousePick(m, cs, 119, 261, MouseButton::Right);
    EXPECT_FLOAT_EQ(m.Points[RefPoint2].X, 1.0f);
    EXPECT_FLOAT_EQ(m.Points[RefPoint2].Y, 1.0f);
    EXPECT_TRUE(cs.RefPt2ZeroEnabled);

    // The control strip is not the drawing.
    r = MousePick(m, cs, 100, 50, MouseButton::Left);
    EXPECT_FALSE(r.RefPointMoved);
    EXPECT_NEAR(m.Points[RefPoint1].X, 15.789474, 1e-5);

    // A middle click moves nothing.
    r = MousePick(m, cs, 500, 500, MouseButton::Other);
    EXPECT_FALSE(r.RefPointMoved);
}

TEST_F(Controls, ClickWithBrokenViewMovesNothing) {
    m.ReferencePointsOn = true;
    m.CurrentView.Scale = 0.0f;
    const PickResult r = MousePick(m, cs, 400, 300, MouseButton::Left);
    EXPECT_FALSE(r.RefPointMoved);
    EXPECT_EQ(m.Points[RefPoint1].X, 0.0f);
}

TEST_F(Controls, PivotRowsArmASlot) {
    m.ReferencePointsOn = true;
    m.PivotDataOn = true;
    struct Case {
        int x, y;
        int slot; // 0: nothing armed
    };
    const Case cases[] = {
        {10, 152, 0}, {10, 153, 1}, {10, 160, 1}, {10, 161, 0}, {10, 163, 2},
        {10, 205, 6}, {0, 157, 0},  {20, 157, 0}, {19, 157, 1}, {10, 215, 0},
    };
    for (const Case& c : cases) {
        m.PivotPickArmed = false;
        m.PivotPickSlot = 1;
        m.PivotSlots = {};
        MousePick(m, cs, c.x, c.y, MouseButton::Left);
        EXPECT_EQ(m.PivotPickArmed, c.slot != 0) << c.x << "," << c.y;
        if (c.slot != 0) {
            EXPECT_EQ(m.PivotPickSlot, c.slot);
            EXPECT_TRUE(m.PivotSlots[static_cast<size_t>(c.slot)].Active);
        }
    }
    // The right button arms nothing.
    m.PivotPickArmed = false;
    MousePick(m, cs, 10, 157, MouseButton::Right);
    EXPECT_FALSE(m.PivotPickArmed);

    // With the large font the rows move down with the text.
    ToggleLargeFont(m);
    MousePick(m, cs, 10, 157, MouseButton::Left);
    EXPECT_FALSE(m.PivotPickArmed);
    MousePick(m, cs, 10, 190, MouseButton::Left); // 185 < y < 196
    EXPECT_TRUE(m.PivotPickArmed);
    EXPECT_EQ(m.PivotPickSlot, 1);
}

TEST_F(Controls, ArmedSlotTakesTheNearestPointLowerIndexOnATie) {
    m.ReferencePointsOn = true;
    m.PivotDataOn = true;
    m.CurrentView = View{1.0f, 0.0f, 0.0f}; // world = (x, -y)
    for (auto& p : m.Points)
        p.X = p.Y = 5000.0f;
    m.Points[3].X = 298.0f;
    m.Points[3].Y = -200.0f;
    m.Points[5].X = 302.0f;
    m.Points[5].Y = -200.0f;
    m.Points[RefPoint2].X = 300.0f; // the reference points never count
    m.Points[RefPoint2].Y = -200.0f;

    m.PivotPickArmed = true;
    m.PivotPickSlot = 4;
    PickResult r = MousePick(m, cs, 300, 200, MouseButton::Left);
    EXPECT_TRUE(r.PivotPicked);
    EXPECT_FALSE(m.PivotPickArmed);
    EXPECT_EQ(m.PivotSlots[4].PointIndex, 3);
    EXPECT_FLOAT_EQ(m.Points[RefPoint1].X, 300.0f);
    EXPECT_FLOAT_EQ(m.Points[RefPoint1].Y, -200.0f);

    m.PivotPickArmed = true;
    MousePick(m, cs, 301, 200, MouseButton::Left);
    EXPECT_EQ(m.PivotSlots[4].PointIndex, 5);

    // Slots 22 and 23 count; they are searched up to 23.
    m.Points[23].X = 700.0f;
    m.Points[23].Y = -400.0f;
    m.PivotPickArmed = true;
    MousePick(m, cs, 700, 400, MouseButton::Left);
    EXPECT_EQ(m.PivotSlots[4].PointIndex, 23);
}

TEST_F(Controls, PickNeverLandsOnSlotsHoldingMountOffsets) {
    // The factory gear, solved: the offsets in 6, 11, 17 and 18 are small
    // numbers near the origin, the pivots themselves lie at 22 and 23.
    SolveLinkage(m);
    m.ReferencePointsOn = true;
    m.PivotDataOn = true;
    m.CurrentView = View{100.0f, 0.0f, 0.0f}; // world = (x, -y) / 100
    struct Case {
        const char* what;
        int clickedSlot; // where the click lands, in world units
        int picked;
    };
    const Case cases[] = {
        {"at the bell-crank pivot", BellCrankPivotAbs, BellCrankPivotAbs},
        {"at the reverse-arm pivot", RevArmPivotAbs, RevArmPivotAbs},
    };
    for (const Case& c : cases) {
        const PointSlot& at = m.Points[static_cast<size_t>(c.clickedSlot)];
        m.PivotPickArmed = true;
        m.PivotPickSlot = 2;
        MousePick(m, cs, static_cast<int>(std::lround(at.X * 100)),
                  static_cast<int>(std::lround(-at.Y * 100)), MouseButton::Left);
        EXPECT_EQ(m.PivotSlots[2].PointIndex, c.picked) << c.what;
    }
    // Not even a click right on the numbers an offset slot holds.
    for (int slot : {BellCrankPivot, RevArmPivot}) {
        const PointSlot& raw = m.Points[static_cast<size_t>(slot)];
        m.PivotPickArmed = true;
        MousePick(m, cs, static_cast<int>(std::lround(raw.X * 100)),
                  static_cast<int>(std::lround(-raw.Y * 100)), MouseButton::Left);
        EXPECT_NE(m.PivotSlots[2].PointIndex, slot);
    }
    // Wherever the click lands, the offset slots are never the answer.
    for (int x = -5; x <= 25; x += 3) {
        for (int y = -15; y <= 5; y += 3) {
            m.PivotPickArmed = true;
            MousePick(m, cs, 100 * x, -100 * y, MouseButton::Left);
            const int i = m.PivotSlots[2].PointIndex;
            EXPECT_FALSE(i == BellCrankPivot || i == RevArmPivot || i == RevArmPivotCopy ||
                         i == BellCrankPivotCopy)
                << x << ", " << y << " picked " << i;
        }
    }
}

TEST_F(Controls, LinesWindowPickClicks) {
    m.ReferencePointsOn = true;
    m.LinesPickWaiting = true;
    m.LinesPickRefChoice = 1;
    PickResult r = MousePick(m, cs, 400, 300, MouseButton::Left);
    EXPECT_TRUE(r.LinesPick);
    EXPECT_FALSE(r.LinesPickRight);
    EXPECT_TRUE(r.OpenLinesWindow);
    r = MousePick(m, cs, 400, 300, MouseButton::Right);
    EXPECT_FALSE(r.LinesPick);

    // Two pivots: left first, then right.
    m.LinesPickRefChoice = 3;
    ControlState fresh = InitialControlState(m);
    r = MousePick(m, fresh, 400, 300, MouseButton::Right);
    EXPECT_FALSE(r.LinesPick); // no left click yet
    r = MousePick(m, fresh, 400, 300, MouseButton::Left);
    EXPECT_TRUE(r.LinesPick);
    EXPECT_FALSE(r.OpenLinesWindow);
    r = MousePick(m, fresh, 410, 300, MouseButton::Right);
    EXPECT_TRUE(r.LinesPick && r.LinesPickRight && r.OpenLinesWindow);
    r = MousePick(m, fresh, 410, 300, MouseButton::Right);
    EXPECT_FALSE(r.LinesPick);

    // Not waiting, or reference points off: nothing for the lines window.
    m.LinesPickWaiting = false;
    r = MousePick(m, fresh, 400, 300, MouseButton::Left);
    EXPECT_FALSE(r.LinesPick);
    m.LinesPickWaiting = true;
    m.ReferencePointsOn = false;
    m.LinesPickRefChoice = 1;
    r = MousePick(m, fresh, 400, 300, MouseButton::Left);
    EXPECT_FALSE(r.LinesPick);
}

} // namespace
