// SPDX-License-Identifier: GPL-3.0-or-later
// The display settings, the panels and the menu commands that reset or centre.

#include "controls_fixture.h"
#include "model/dyn_var_bars.h"

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

TEST_F(Controls, SetUpItemsFlipTheirCaptions) {
    EXPECT_EQ(SteamDispCaption(m), "SetS&teamDisp On");
    ToggleSteamDisplay(m);
    EXPECT_TRUE(m.SteamDisplayOn);
    EXPECT_EQ(SteamDispCaption(m), "SetS&teamDisp Off");

    EXPECT_EQ(ErrorBeepCaption(m), "Set&ErrorBeep Off");
    ToggleErrorBeep(m);
    EXPECT_FALSE(m.BeepOnError);
    EXPECT_EQ(ErrorBeepCaption(m), "Set&ErrorBeep On");

    EXPECT_EQ(LineWidthCaption(m), "Set&LineWidth 2");
    ToggleLineWidth(m);
    EXPECT_EQ(m.LineWidth, 2);
    EXPECT_EQ(LineWidthCaption(m), "Set&LineWidth 1");
    ToggleLineWidth(m);
    EXPECT_EQ(m.LineWidth, 1);

    EXPECT_EQ(FontCaption(m), "SetLarge&Font");
    ToggleLargeFont(m);
    EXPECT_FLOAT_EQ(m.TextScaleX, 1.27f);
    EXPECT_FLOAT_EQ(m.TextScaleY, 1.22f);
    EXPECT_EQ(FontCaption(m), "SetSmall&Font");
    ToggleLargeFont(m);
    EXPECT_EQ(m.TextScaleX, 1.0f);
    EXPECT_EQ(m.TextScaleY, 1.0f);

    EXPECT_EQ(ScreenDataCaption(m), "SetScree&nData Off");
}

TEST_F(Controls, ScreenDataOffSwitchesEverythingOff) {
    m.DynVarMode = true;
    m.ReferencePointsOn = true;
    m.PivotDataOn = true;
    m.UndoDisplay = true;
    EXPECT_TRUE(UndoButtonVisible(m));
    EXPECT_FALSE(cs.PanZoomMenuEnabled);

    ToggleScreenData(m, cs);
    EXPECT_FALSE(m.ScreenDataOn);
    EXPECT_EQ(ScreenDataCaption(m), "SetScree&nData On");
    EXPECT_FALSE(m.DynVarMode || m.ReferencePointsOn || m.PivotDataOn || m.UndoDisplay);
    EXPECT_TRUE(cs.PanZoomMenuEnabled);
    EXPECT_FALSE(PanZoomBarsVisible(m, cs));
    EXPECT_FALSE(RefControlsVisible(m));
    EXPECT_FALSE(UndoButtonVisible(m));
    EXPECT_FALSE(DrawLinesEnabled(m));

    TogglePanZoom(cs);
    EXPECT_TRUE(PanZoomBarsVisible(m, cs));
    EXPECT_EQ(cs.PanZoomCaption, "SetP&anZoom Off");
    TogglePanZoom(cs);
    EXPECT_FALSE(PanZoomBarsVisible(m, cs));
    EXPECT_EQ(cs.PanZoomCaption, "SetP&anZoom On");
    TogglePanZoom(cs);

    ToggleScreenData(m, cs);
    EXPECT_TRUE(m.ScreenDataOn);
    EXPECT_FALSE(cs.PanZoomMenuEnabled);
    EXPECT_FALSE(cs.PanZoomShown);
    EXPECT_EQ(cs.PanZoomCaption, "Set&PanZoom On");
    EXPECT_TRUE(PanZoomBarsVisible(m, cs));
    // The modes stay off until switched on again.
    EXPECT_FALSE(m.DynVarMode || m.ReferencePointsOn);
}

TEST_F(Controls, DynamicVariablesAndUndoDisplay) {
    EXPECT_FALSE(DynVarBarsVisible(m, cs));
    DynamicVariClick(m, cs);
    EXPECT_TRUE(m.DynVarMode);
    EXPECT_TRUE(DynVarBarsVisible(m, cs));
    EXPECT_FALSE(DynVarBarEnabled(m, 1)); // no dimension chosen yet
    EXPECT_EQ(UndoButtonTop(m), 127);

    SelectDimension(m, 3); // Main Rod Length
    EXPECT_TRUE(DynVarBarEnabled(m, 1));
    EXPECT_FALSE(DynVarBarEnabled(m, 2));
    const float before = m.Frame.MainRodLength;
    DynVarBars bars;
    EXPECT_NEAR(bars.Change(m, 1, 20, BarMove::Step), 0.02, 1e-12);
    EXPECT_NEAR(m.Frame.MainRodLength, before + 0.02f, 1e-5);
    EXPECT_EQ(bars.Change(m, 0, 20, BarMove::Step), 0.0);
    EXPECT_EQ(bars.Change(m, 5, 20, BarMove::Step), 0.0);

    DynamicVariClick(m, cs);
    EXPECT_FALSE(DynVarBarsVisible(m, cs));
    EXPECT_EQ(UndoButtonTop(m), 72);
    UndoDisplayClick(m);
    EXPECT_TRUE(m.UndoDisplay);
    UndoDisplayClick(m);
    EXPECT_FALSE(m.UndoDisplay);
}

TEST_F(Controls, DrawLinesBeepsOnlyWithBothPointsAtTheOrigin) {
    EXPECT_TRUE(DrawLinesBeeps(m));
    m.Points[RefPoint2].Y = 0.001f;
    EXPECT_FALSE(DrawLinesBeeps(m));
}

TEST_F(Controls, CalcCentRevArmFindsMidGearAndCentres) {
    SetReverseArmToForward(m, cs);
    const float oldMid = Mid();
    SetDimension(m, 19, 3.1f); // Rev Arm Pivot Horz
    EXPECT_TRUE(CalcCentRevArm(m, cs));
    EXPECT_NE(Mid(), oldMid);
    EXPECT_EQ(m.RevArmSetting, Mid());
    EXPECT_EQ(cs.RevArmPos, 0);
    EXPECT_FALSE(cs.CenterEnabled);
}

TEST_F(Controls, ResetAllReturnsControlsToStart) {
    m.Frame.RevArmMax = 3.0f;
    SetRevArmBarRange(m);
    SetRevArmPosition(m, cs, 2500);
    PanHorzChange(m, cs, 100);
    SetDimension(m, 3, 20.0f);
    ResetAllClick(m, cs);
    EXPECT_EQ(m.RevArmBarMax, 1700);
    EXPECT_EQ(cs.RevArmPos, 0);
    EXPECT_EQ(m.RevArmSetting, Mid());
    EXPECT_FALSE(cs.CenterEnabled);
    EXPECT_EQ(m.CurrentView.OffsetX, 100.0f);
    EXPECT_FALSE(cs.NormEnabled);
    EXPECT_EQ(m.Frame.MainRodLength, 16.75f);
    EXPECT_FALSE(cs.DynVarBarsShown);
}

TEST_F(Controls, BarsHiddenByResetAllComeBackWithTheFirstDimensionSelected) {
    DynamicVariClick(m, cs);
    SelectDimension(m, 3);
    ASSERT_TRUE(DynVarBarsVisible(m, cs));
    ResetAllClick(m, cs);
    EXPECT_FALSE(DynVarBarsVisible(m, cs)); // the slots are empty
    SelectDimension(m, 10);
    EXPECT_TRUE(DynVarBarsVisible(m, cs));
    // With the mode off they stay hidden whatever is selected.
    DynamicVariClick(m, cs);
    EXPECT_FALSE(DynVarBarsVisible(m, cs));
}

} // namespace
