// SPDX-License-Identifier: GPL-3.0-or-later
// The view controls: pan, zoom and presets, the reference points, the
// graphic zoom and the reverse-arm positions.

#include "controls_fixture.h"

#include "controls/controls.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

using namespace kes;

TEST_F(Controls, PanDragMovesTheViewAndReturns) {
    PanHorzChange(m, cs, 50);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetX, 105.0f);
    EXPECT_TRUE(cs.NormEnabled);
    PanVertChange(m, cs, 50);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetY, 275.0f);
    EXPECT_FLOAT_EQ(m.ZoomAnchorView.OffsetY, 275.0f);
    PanHorzChange(m, cs, -50);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetX, 100.0f);
}

TEST_F(Controls, PanDragThatGrowsAccelerates) {
    // A thumb dragged on while the bar recentres reports growing positions.
    for (int p : {10, 20, 30})
        PanHorzChange(m, cs, p);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetX, 106.0f);
    // The same position again is no new movement.
    PanHorzChange(m, cs, 30);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetX, 106.0f);
}

TEST_F(Controls, ZoomKeepsTheCentrePixelOnItsWorldPoint) {
    auto worldAtCentre = [&] {
        const View& v = m.CurrentView;
        return std::pair<double, double>{(ZoomCentreX - v.OffsetX) / v.Scale,
                                         -(ZoomCentreY - v.OffsetY) / v.Scale};
    };
    const auto before = worldAtCentre();
    ZoomChange(m, cs, 50);
    EXPECT_NEAR(m.CurrentView.Scale, 19.0 * 1.05, 1e-4);
    auto after = worldAtCentre();
    EXPECT_NEAR(after.first, before.first, 1e-4);
    EXPECT_NEAR(after.second, before.second, 1e-4);
    EXPECT_TRUE(cs.NormEnabled);

    ZoomChange(m, cs, -200);
    EXPECT_NEAR(m.CurrentView.Scale, 19.0 * 1.05 * 0.8, 1e-3);
    after = worldAtCentre();
    EXPECT_NEAR(after.first, before.first, 1e-4);
    EXPECT_NEAR(after.second, before.second, 1e-4);
}

TEST_F(Controls, ZoomAtItsLimitsKeepsTheCentre) {
    struct Case {
        float scale;
        int p;
        float expected;
    };
    for (const Case c : {Case{2900, 200, 3000}, Case{5000, 10, 3000}, Case{0.55f, -200, 0.5f}}) {
        ControlState fresh = InitialControlState(m);
        m.CurrentView = View{c.scale, 40.0f, 90.0f};
        const double wx = (ZoomCentreX - 40.0) / c.scale;
        ZoomChange(m, fresh, c.p);
        EXPECT_FLOAT_EQ(m.CurrentView.Scale, c.expected) << c.scale;
        EXPECT_NEAR((ZoomCentreX - m.CurrentView.OffsetX) / m.CurrentView.Scale, wx, 1e-3)
            << c.scale;
    }
    // A view without a usable scale (a damaged file) comes back to the limit.
    ControlState fresh = InitialControlState(m);
    m.CurrentView = View{0.0f, 40.0f, 90.0f};
    ZoomChange(m, fresh, 10);
    EXPECT_EQ(m.CurrentView.Scale, MinViewScale);
    EXPECT_TRUE(std::isfinite(m.CurrentView.OffsetX) && std::isfinite(m.CurrentView.OffsetY));
}

TEST_F(Controls, NormReturnsToTheNormalView) {
    PanHorzChange(m, cs, 50);
    ZoomChange(m, cs, 30);
    const View before = m.CurrentView;
    NormClick(m, cs);
    EXPECT_EQ(m.CurrentView.Scale, 19.0f);
    EXPECT_EQ(m.CurrentView.OffsetX, 100.0f);
    EXPECT_EQ(m.CurrentView.OffsetY, 280.0f);
    EXPECT_EQ(m.SavedView.Scale, before.Scale);
    EXPECT_EQ(m.SavedView.OffsetX, before.OffsetX);
    EXPECT_FALSE(cs.NormEnabled);
    EXPECT_FALSE(cs.PresetArmed);
}

TEST_F(Controls, PresetStoreAndRecall) {
    PresetClick(m, cs, 1);
    EXPECT_EQ(m.CurrentView.Scale, 62.0f);
    EXPECT_EQ(m.CurrentView.OffsetX, 315.0f);
    EXPECT_EQ(m.CurrentView.OffsetY, 237.0f);
    EXPECT_TRUE(cs.NormEnabled);

    // "P" takes the view; panning afterwards does not change what "3" stores.
    m.CurrentView = View{30.0f, 11.0f, 22.0f};
    Preset0Click(m, cs);
    EXPECT_TRUE(cs.PresetArmed);
    PanHorzChange(m, cs, 100);
    PresetClick(m, cs, 3);
    EXPECT_FALSE(cs.PresetArmed);
    EXPECT_EQ(m.ViewPresets[9], 30.0f);
    EXPECT_EQ(m.ViewPresets[10], 11.0f);
    EXPECT_EQ(m.ViewPresets[11], 22.0f);
    EXPECT_EQ(m.CurrentView.OffsetX, 11.0f);

    // "3" again just recalls it.
    NormClick(m, cs);
    PresetClick(m, cs, 3);
    EXPECT_EQ(m.CurrentView.Scale, 30.0f);
    EXPECT_EQ(m.ViewPresets[9], 30.0f);

    // Other presets kept their defaults; unknown numbers do nothing.
    EXPECT_EQ(m.ViewPresets[6], 45.0f);
    EXPECT_EQ(m.ViewPresets[7], -220.0f);
    PresetClick(m, cs, 7);
    PresetClick(m, cs, 0);
    EXPECT_EQ(m.CurrentView.Scale, 30.0f);
}
TEST_F(Controls, PanToReferencePoint) {
    m.Points[RefPoint1].X = 2.0f;
    m.Points[RefPoint1].Y = 1.0f;
    RefPtClick(m, cs, 1);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetX, 282.0f);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetY, 259.0f);
    EXPECT_EQ(m.CurrentView.Scale, 19.0f);
    EXPECT_TRUE(cs.NormEnabled);

    m.Points[RefPoint2].X = -1.0f;
    m.Points[RefPoint2].Y = 0.0f;
    RefPtClick(m, cs, 2);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetX, 339.0f);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetY, 240.0f);
}

TEST_F(Controls, ReferenceBarsAndZeroButtons) {
    RefBarChange(m, cs, 0, 20); // SBRef1Vert
    EXPECT_FLOAT_EQ(m.Points[RefPoint1].Y, 0.02f);
    EXPECT_TRUE(cs.RefPt1ZeroEnabled);
    EXPECT_FALSE(cs.RefPt2ZeroEnabled);
    RefBarChange(m, cs, 3, -500); // SBRef2Horz
    EXPECT_FLOAT_EQ(m.Points[RefPoint2].X, -0.5f);
    EXPECT_TRUE(cs.RefPt2ZeroEnabled);
    RefBarChange(m, cs, 1, 1000); // SBRef1Horz
    EXPECT_FLOAT_EQ(m.Points[RefPoint1].X, 1.0f);

    RefPtZeroClick(m, cs, 1);
    EXPECT_EQ(m.Points[RefPoint1].X, 0.0f);
    EXPECT_EQ(m.Points[RefPoint1].Y, 0.0f);
    EXPECT_FALSE(cs.RefPt1ZeroEnabled);
    EXPECT_FLOAT_EQ(m.Points[RefPoint2].X, -0.5f);
}

TEST_F(Controls, ReferencePointsAndPivotDataSwitchTogether) {
    PivotDataClick(m, cs);
    EXPECT_TRUE(m.PivotDataOn);
    EXPECT_TRUE(m.ReferencePointsOn);
    EXPECT_TRUE(DataTableVisible(m));
    RefPointsClick(m, cs);
    EXPECT_FALSE(m.ReferencePointsOn);
    EXPECT_FALSE(m.PivotDataOn);
    EXPECT_FALSE(DataTableVisible(m));
    EXPECT_FALSE(DrawLinesEnabled(m));
    RefPointsClick(m, cs);
    EXPECT_TRUE(m.ReferencePointsOn);
    EXPECT_FALSE(m.PivotDataOn); // pivot data stays as it is
    EXPECT_TRUE(RefControlsVisible(m));
    EXPECT_TRUE(DrawLinesEnabled(m));
}

TEST_F(Controls, ReferencePointDialog) {
    m.Points[RefPoint1].X = 2.5f;
    m.Points[RefPoint1].Y = -1.25f;
    const auto texts = TextsForReferencePoints(m);
    EXPECT_EQ(texts[0], "-1.250");
    EXPECT_EQ(texts[1], "2.500");
    EXPECT_EQ(texts[2], "0.000");

    TakeReferencePoints(m, cs, 1.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(m.Points[RefPoint1].Y, 1.0f);
    EXPECT_EQ(m.Points[RefPoint1].X, 0.0f);
    EXPECT_TRUE(cs.RefPt1ZeroEnabled);
    EXPECT_FALSE(cs.RefPt2ZeroEnabled);
    EXPECT_TRUE(m.ReferencePointsOn);

    SwitchReferencePointsOff(m, cs);
    EXPECT_FALSE(m.ReferencePointsOn);
    EXPECT_EQ(m.Points[RefPoint1].Y, 1.0f);

    TakeReferencePoints(m, cs, 1.0f, 2.0f, 3.0f, 4.0f);
    ZeroReferencePoints(m, cs);
    EXPECT_EQ(m.Points[RefPoint2].X, 0.0f);
    EXPECT_EQ(m.Points[RefPoint2].Y, 0.0f);
    EXPECT_EQ(m.Points[RefPoint1].Y, 0.0f);
    EXPECT_FALSE(cs.RefPt1ZeroEnabled || cs.RefPt2ZeroEnabled);
    EXPECT_FALSE(m.ReferencePointsOn);
}
TEST_F(Controls, GraphicZoomClamps) {
    EXPECT_EQ(TextForGraphicZoom(m), "7.50");
    TakeGraphicZoom(m, 0.1f);
    EXPECT_EQ(m.GraphicZoom, 0.5f);
    TakeGraphicZoom(m, 5000.0f);
    EXPECT_EQ(m.GraphicZoom, 2000.0f);
    TakeGraphicZoom(m, 12.25f);
    EXPECT_EQ(m.GraphicZoom, 12.25f);
}

TEST_F(Controls, ReverseArmPositionFields) {
    EXPECT_EQ(TextForReverseArmPosition(m, 1), " 10.423");
    EXPECT_EQ(TextForReverseArmPosition(m, 4), "  0.000");
    EXPECT_EQ(TextForReverseArmPosition(m, 10), "  1.500");
    EXPECT_EQ(m.RevArmPositionCount, 3);

    TakeReverseArmPosition(m, 5, 11.0f);
    EXPECT_EQ(m.RevArmPositions[5], 11.0f);
    EXPECT_EQ(m.RevArmPositionCount, 5);
    TakeReverseArmPosition(m, 9, 9.5f);
    EXPECT_EQ(m.RevArmPositionCount, 9);
    TakeReverseArmPosition(m, 9, 0.0f);
    EXPECT_EQ(m.RevArmPositionCount, 5);

    // Beyond the reach of the arm: held at the end of its travel.
    TakeReverseArmPosition(m, 6, 40.0f);
    EXPECT_FLOAT_EQ(m.RevArmPositions[6], Mid() + 1.7f);
    TakeReverseArmPosition(m, 7, -40.0f);
    EXPECT_FLOAT_EQ(m.RevArmPositions[7], Mid() - 1.7f);

    TakeReverseArmPosition(m, 10, 0.01f);
    EXPECT_EQ(m.VerticalScale, MinVerticalScale);
    TakeReverseArmPosition(m, 10, 2.5f);
    EXPECT_EQ(m.VerticalScale, 2.5f);

    TakeReverseArmPosition(m, 0, 5.0f); // slot 0 is mid gear: not a field
    EXPECT_EQ(m.RevArmPositions[0], Mid());

    EXPECT_FALSE(m.RedrawPending);
    CloseReverseArmPositions(m);
    EXPECT_TRUE(m.RedrawPending);
}

} // namespace

// The reverse-arm positions and the vertical scale are stored with the
// design: taking a new one moves the design revision. The view, the
// reference points and the graphic zoom are no edit of the design.
TEST_F(Controls, RevisionMovesForStoredPositionsOnly) {
    const struct {
        const char* What;
        std::function<void(kes::Model&, kes::ControlState&)> Act;
        bool Edits;
    } cases[] = {
        {"a position",
         [](kes::Model& m, kes::ControlState&) {
             kes::TakeReverseArmPosition(m, 5, static_cast<float>(m.MidGear() + 0.05));
         },
         true},
        {"the vertical scale",
         [](kes::Model& m, kes::ControlState&) { kes::TakeReverseArmPosition(m, 10, 2.5f); }, true},
        {"a position cleared",
         [](kes::Model& m, kes::ControlState&) { kes::TakeReverseArmPosition(m, 2, 0.0f); }, true},
        {"a position typed as it was",
         [](kes::Model& m, kes::ControlState&) {
             kes::TakeReverseArmPosition(m, 1, m.RevArmPositions[1]);
         },
         false},
        {"mid gear found again",
         [](kes::Model& m, kes::ControlState& cs) { kes::CalcCentRevArm(m, cs); }, false},
        {"reference points",
         [](kes::Model& m, kes::ControlState& cs) {
             kes::TakeReferencePoints(m, cs, 1.0f, 2.0f, 3.0f, 4.0f);
             kes::ZeroReferencePoints(m, cs);
         },
         false},
        {"pan, zoom and a preset",
         [](kes::Model& m, kes::ControlState& cs) {
             kes::PanVertChange(m, cs, 5);
             kes::ZoomChange(m, cs, 5);
             kes::PresetClick(m, cs, 2);
             kes::NormClick(m, cs);
         },
         false},
        {"graphic zoom", [](kes::Model& m, kes::ControlState&) { kes::TakeGraphicZoom(m, 40.0f); },
         false},
    };
    for (const auto& c : cases) {
        kes::Model model = m;
        kes::ControlState state = cs;
        const uint64_t before = kes::DesignRevision(model);
        c.Act(model, state);
        EXPECT_EQ(kes::DesignRevision(model) != before, c.Edits) << c.What;
    }
}
