// SPDX-License-Identifier: GPL-3.0-or-later
// The wheel zooms about the cursor; the middle button pans.

#include "controls_fixture.h"

#include "controls/view_mouse.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace kes;

// The world point shown at window pixel (x, y).
struct WorldPoint {
    double X, Y;
};
WorldPoint WorldAt(const View& v, double x, double y) {
    return {(x - v.OffsetX) / v.Scale, (v.OffsetY - y) / v.Scale};
}

TEST_F(Controls, WheelKeepsThePointUnderTheCursor) {
    const struct {
        double Notches, X, Y;
    } cases[] = {{1, 320, 240}, {1, 50, 40}, {-1, 700, 500}, {3, 12, 590}, {-2.5, 400, 10}};
    for (const auto& c : cases) {
        m.CurrentView = {19.0f, 100.0f, 280.0f};
        const WorldPoint before = WorldAt(m.CurrentView, c.X, c.Y);
        WheelZoom(m, cs, c.Notches, c.X, c.Y);
        const WorldPoint after = WorldAt(m.CurrentView, c.X, c.Y);
        EXPECT_NEAR(after.X, before.X, 1e-4) << c.X << "," << c.Y;
        EXPECT_NEAR(after.Y, before.Y, 1e-4) << c.X << "," << c.Y;
        EXPECT_NEAR(m.CurrentView.Scale, 19.0 * std::pow(WheelZoomPerNotch, c.Notches), 1e-3);
        EXPECT_EQ(m.ZoomAnchorView.Scale, m.CurrentView.Scale);
        EXPECT_TRUE(cs.NormEnabled);
    }
}

TEST_F(Controls, WheelZoomStopsAtTheScaleLimits) {
    m.CurrentView = {2900.0f, 0.0f, 0.0f};
    for (int i = 0; i < 5; ++i)
        WheelZoom(m, cs, 1, 100, 100);
    EXPECT_EQ(m.CurrentView.Scale, MaxViewScale);
    m.CurrentView = {0.6f, 0.0f, 0.0f};
    for (int i = 0; i < 5; ++i)
        WheelZoom(m, cs, -1, 100, 100);
    EXPECT_EQ(m.CurrentView.Scale, MinViewScale);
    // Still about the cursor at the limit.
    const WorldPoint p = WorldAt(m.CurrentView, 100, 100);
    EXPECT_NEAR(p.X, (100 - 0.0) / 0.6, 1e-3);
}

TEST_F(Controls, BadWheelOrPanInputChangesNothing) {
    const View before = m.CurrentView;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    WheelZoom(m, cs, nan, 10, 10);
    WheelZoom(m, cs, 0, 10, 10);
    ZoomAboutPixel(m, cs, -2, 10, 10);
    ZoomAboutPixel(m, cs, 2, inf, 10);
    PanByPixels(m, cs, nan, 1);
    EXPECT_EQ(m.CurrentView.Scale, before.Scale);
    EXPECT_EQ(m.CurrentView.OffsetX, before.OffsetX);
    EXPECT_EQ(m.CurrentView.OffsetY, before.OffsetY);
    // A huge notch count is held to a few notches.
    WheelZoom(m, cs, 1e9, 10, 10);
    EXPECT_TRUE(std::isfinite(m.CurrentView.OffsetX));
    EXPECT_LE(m.CurrentView.Scale, MaxViewScale);
}

TEST_F(Controls, MiddleDragPansByThePixelsMoved) {
    PanByPixels(m, cs, 15, -7);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetX, 115.0f);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetY, 273.0f);
    EXPECT_FLOAT_EQ(m.ZoomAnchorView.OffsetX, 115.0f);
    EXPECT_EQ(m.CurrentView.Scale, 19.0f);
    EXPECT_TRUE(cs.NormEnabled);
}

} // namespace
