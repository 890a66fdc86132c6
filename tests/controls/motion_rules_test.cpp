// SPDX-License-Identifier: GPL-3.0-or-later
// The motion controls: the reverse arm, the driver angle and run/stop, the
// step angle and their dialogs.

#include "controls_fixture.h"

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

TEST_F(Controls, StartsAtMidGearWithCentreDisabled) {
    EXPECT_EQ(m.RevArmBarMin, -1700);
    EXPECT_EQ(m.RevArmBarMax, 1700);
    EXPECT_EQ(cs.RevArmPos, 0);
    EXPECT_FALSE(cs.CenterEnabled);
    EXPECT_TRUE(cs.FwdEnabled);
    EXPECT_TRUE(cs.RevEnabled);
    EXPECT_TRUE(cs.Running);
    EXPECT_FALSE(cs.DrvAngEnabled);
}

TEST_F(Controls, RevArmBarSetsSettingDirectionAndButtons) {
    m.CutOffFrontText = "12.5";
    m.CutOffRearText = "40.0";
    RevArmChange(m, cs, -300);
    EXPECT_FLOAT_EQ(m.RevArmSetting, Mid() - 0.3f);
    EXPECT_FLOAT_EQ(m.Points[RevArmTop].X, m.RevArmSetting);
    EXPECT_EQ(m.GearDirection, GearDir::Rev);
    EXPECT_TRUE(cs.CenterEnabled);
    EXPECT_TRUE(m.CutOffFrontText.empty());
    EXPECT_TRUE(m.CutOffRearText.empty());

    // Back to 0: mid gear, "Cen" disabled, forward gear.
    RevArmChange(m, cs, 0);
    EXPECT_EQ(m.RevArmSetting, Mid());
    EXPECT_FALSE(cs.CenterEnabled);
    EXPECT_EQ(m.GearDirection, GearDir::Fwd);

    // At the normal full gear positions the matching button is disabled.
    RevArmChange(m, cs, 1500);
    EXPECT_FALSE(cs.FwdEnabled);
    EXPECT_TRUE(cs.RevEnabled);
    RevArmChange(m, cs, -1500);
    EXPECT_TRUE(cs.FwdEnabled);
    EXPECT_FALSE(cs.RevEnabled);
}

TEST_F(Controls, FwdThenRevPutTheBarAtNormalGear) {
    const int norm = static_cast<int>(std::lround(m.Frame.RevArmNorm * 1000));
    SetReverseArmToForward(m, cs);
    EXPECT_EQ(cs.RevArmPos, norm);
    EXPECT_NEAR(m.RevArmSetting, Mid() + m.Frame.RevArmNorm, 1e-5);
    EXPECT_EQ(m.GearDirection, GearDir::Fwd);
    EXPECT_FALSE(cs.FwdEnabled);
    EXPECT_TRUE(cs.RevEnabled);
    EXPECT_TRUE(cs.CenterEnabled);

    SetReverseArmToReverse(m, cs);
    EXPECT_EQ(cs.RevArmPos, -norm);
    EXPECT_NEAR(m.RevArmSetting, Mid() - m.Frame.RevArmNorm, 1e-5);
    EXPECT_EQ(m.GearDirection, GearDir::Rev);
    EXPECT_FALSE(cs.RevEnabled);
    EXPECT_TRUE(cs.FwdEnabled);

    SetReverseArmToMidGear(m, cs);
    EXPECT_EQ(cs.RevArmPos, 0);
    EXPECT_EQ(m.RevArmSetting, Mid());
    EXPECT_EQ(m.GearDirection, GearDir::Fwd);
    EXPECT_FALSE(cs.CenterEnabled);
    EXPECT_TRUE(cs.FwdEnabled && cs.RevEnabled);
}

TEST_F(Controls, RevArmStaysWithinTheBarRange) {
    SetRevArmPosition(m, cs, 99999);
    EXPECT_EQ(cs.RevArmPos, 1700);
    EXPECT_FLOAT_EQ(m.RevArmSetting, Mid() + 1.7f);

    // A normal gear beyond the largest travel stops at the end of the bar.
    m.Frame.RevArmNorm = 2.5f;
    SetReverseArmToReverse(m, cs);
    EXPECT_EQ(cs.RevArmPos, -1700);
    EXPECT_FLOAT_EQ(m.RevArmSetting, Mid() - 1.7f);
    EXPECT_EQ(m.GearDirection, GearDir::Rev);

    // A smaller RevArmMax narrows the range and the arm follows the bar.
    m.Frame.RevArmMax = 1.0f;
    SetRevArmBarRange(m);
    ApplyRevArmRange(m, cs);
    EXPECT_EQ(cs.RevArmPos, -1000);
    EXPECT_FLOAT_EQ(m.RevArmSetting, Mid() - 1.0f);
}

TEST_F(Controls, ZeroRevArmMaxGivesNoNaN) {
    m.Frame.RevArmMax = 0.0f;
    SetRevArmBarRange(m);
    ApplyRevArmRange(m, cs);
    SetReverseArmToForward(m, cs);
    EXPECT_EQ(cs.RevArmPos, 0);
    EXPECT_TRUE(std::isfinite(m.RevArmSetting));
    TakeReverseArmSetting(m, cs, 50.0f);
    EXPECT_EQ(cs.RevArmPos, 0);
}

TEST_F(Controls, RevPosDialogShowsTheRangeAndClamps) {
    const ReverseArmSettingTexts t = TextsForReverseArmSetting(m);
    // Factory mid gear is about 10.4234.
    EXPECT_EQ(t.Labels[0], "Min = 8.723");
    EXPECT_EQ(t.Labels[1], "Cen = 10.423");
    EXPECT_EQ(t.Labels[2], "Max = 12.123");
    EXPECT_EQ(t.Labels[3], "Rev = 8.923");
    EXPECT_EQ(t.Labels[4], "Fwd = 11.923");
    EXPECT_EQ(t.Field, " 10.423");

    TakeReverseArmSetting(m, cs, Mid() - 0.25f);
    EXPECT_EQ(cs.RevArmPos, -250);
    EXPECT_EQ(m.GearDirection, GearDir::Rev);
    TakeReverseArmSetting(m, cs, 100.0f);
    EXPECT_EQ(cs.RevArmPos, 1700);
    TakeReverseArmSetting(m, cs, -100.0f);
    EXPECT_EQ(cs.RevArmPos, -1700);
}
TEST_F(Controls, StoppingPutsTheDriverBarAtTheAngle) {
    m.DriverAngle = 123.456f;
    StartOrStopDriver(m, cs);
    EXPECT_FALSE(cs.Running);
    EXPECT_EQ(cs.DrvAngPos, 12346);
    EXPECT_FLOAT_EQ(m.DriverAngle, 123.46f);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_TRUE(cs.DrvAngEnabled);
    EXPECT_TRUE(cs.Deg00Enabled && cs.Deg180Enabled);

    StartOrStopDriver(m, cs);
    EXPECT_TRUE(cs.Running);
    EXPECT_EQ(m.StepAngle, m.SelectedStepAngle);
    EXPECT_FALSE(cs.DrvAngEnabled);
}

TEST_F(Controls, DegreeButtonsStopAtTheirAngle) {
    SetDriverAngleTo180(m, cs);
    EXPECT_EQ(m.DriverAngle, 180.0f);
    EXPECT_EQ(cs.DrvAngPos, 18000);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_FALSE(cs.Running);
    EXPECT_TRUE(cs.DrvAngEnabled);
    EXPECT_FALSE(cs.Deg180Enabled);
    EXPECT_TRUE(cs.Deg00Enabled);

    SetDriverAngleToZero(m, cs);
    EXPECT_EQ(m.DriverAngle, 0.0f);
    EXPECT_EQ(cs.DrvAngPos, 0);
    EXPECT_FALSE(cs.Deg00Enabled);
    EXPECT_TRUE(cs.Deg180Enabled);

    // Moving the bar by hand enables both again.
    DrvAngChange(m, cs, 4550);
    EXPECT_FLOAT_EQ(m.DriverAngle, 45.5f);
    EXPECT_TRUE(cs.Deg00Enabled && cs.Deg180Enabled);
}

TEST_F(Controls, DriverBarStaysWithinItsRange) {
    SetDrvAngPosition(m, cs, 50000);
    EXPECT_EQ(cs.DrvAngPos, 40000);
    SetDrvAngPosition(m, cs, -50000);
    EXPECT_EQ(cs.DrvAngPos, -4000);
    EXPECT_FLOAT_EQ(m.DriverAngle, -40.0f);
    // An angle that is not a number stops at 0 instead of crashing.
    m.DriverAngle = std::numeric_limits<float>::quiet_NaN();
    StartOrStopDriver(m, cs);
    EXPECT_EQ(cs.DrvAngPos, 0);
    EXPECT_EQ(m.DriverAngle, 0.0f);
}

TEST_F(Controls, DriverAngleDialogClampsAndStops) {
    EXPECT_EQ(TextForDriverAngle(m, cs), "0.00"); // running
    TakeDriverAngle(m, cs, 400.0f);
    EXPECT_EQ(m.DriverAngle, 360.0f);
    EXPECT_EQ(cs.DrvAngPos, 36000);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_FALSE(cs.Running);
    EXPECT_TRUE(cs.DrvAngEnabled);
    EXPECT_EQ(TextForDriverAngle(m, cs), "360.00");

    TakeDriverAngle(m, cs, -5.0f);
    EXPECT_EQ(m.DriverAngle, 0.0f);
    EXPECT_EQ(cs.DrvAngPos, 0);
    EXPECT_FALSE(cs.Running);

    TakeDriverAngle(m, cs, 5.0f);
    EXPECT_EQ(TextForDriverAngle(m, cs), "5.00");
}
TEST(ControlsStepBands, PositionsMapToPresetSteps) {
    struct Row {
        int p;
        float step;
        int small, large;
    };
    const Row rows[] = {
        {0, 0.01f, 1, 5},           {704, 0.01f, 1, 5},         {705, 0.02f, 2, 10},
        {2408, 0.03f, 3, 15},       {3613, 0.1f, 10, 50},       {8000, 1.0f, 100, 500},
        {11612, 5.0f, 500, 2500},   {11613, 10.0f, 1000, 4500}, {12000, 10.0f, 1000, 4500},
        {14408, 30.0f, 3000, 4500}, {14409, 45.0f, 4500, 4500}, {14613, 45.0f, 4500, 4500},
    };
    for (const Row& r : rows) {
        const StepBand b = StepBandForPosition(r.p);
        EXPECT_EQ(b.Step, r.step) << r.p;
        EXPECT_EQ(b.SmallChange, r.small) << r.p;
        EXPECT_EQ(b.LargeChange, r.large) << r.p;
    }
}

TEST(ControlsStepBands, StepToBarPosition) {
    EXPECT_EQ(StepBarPositionFor(1.0), 8000);
    EXPECT_EQ(StepBarPositionFor(10.0), 12000);
    EXPECT_EQ(StepBarPositionFor(45.0), 14613);
    EXPECT_EQ(StepBarPositionFor(0.01), 0);
    EXPECT_EQ(StepBarPositionFor(7.0), 11380);
    EXPECT_EQ(StepBarPositionFor(0.0), 0);
    EXPECT_EQ(StepBarPositionFor(std::nan("")), 0);
    EXPECT_EQ(StepBarPositionFor(1e9), bars::StepAngMax);
}

TEST(ControlsStepBar, FirstChangeAfterStartIsIgnored) {
    Model m;
    InitialiseModel(m);
    ControlState cs = InitialControlState(m);
    StepAngChange(m, cs, 705);
    EXPECT_EQ(m.SelectedStepAngle, 10.0f);
    EXPECT_EQ(m.StepAngle, 10.0f);
    StepAngChange(m, cs, 705);
    EXPECT_EQ(m.SelectedStepAngle, 0.02f);
}

TEST_F(Controls, StepBarFollowsTheRunningState) {
    StepAngChange(m, cs, 11612);
    EXPECT_EQ(m.SelectedStepAngle, 5.0f);
    EXPECT_EQ(m.StepAngle, 5.0f); // running
    EXPECT_EQ(cs.DrvAngSmallChange, 500);
    EXPECT_EQ(cs.DrvAngLargeChange, 2500);
    EXPECT_TRUE(cs.Step1Enabled && cs.Step10Enabled && cs.Step45Enabled);

    StartOrStopDriver(m, cs); // stop
    StepAngChange(m, cs, 14613);
    EXPECT_EQ(m.SelectedStepAngle, 45.0f);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_FALSE(cs.Step45Enabled);
    StartOrStopDriver(m, cs);
    EXPECT_EQ(m.StepAngle, 45.0f);
}

TEST_F(Controls, StepButtonsSetBarAndStep) {
    SetStepAngleTo1(m, cs);
    EXPECT_EQ(cs.StepAngPos, 8000);
    EXPECT_EQ(m.SelectedStepAngle, 1.0f);
    EXPECT_EQ(m.StepAngle, 1.0f);
    EXPECT_FALSE(cs.Step1Enabled);
    EXPECT_TRUE(cs.Step10Enabled && cs.Step45Enabled);

    StartOrStopDriver(m, cs); // stopped: the step waits for Run
    SetStepAngleTo45(m, cs);
    EXPECT_EQ(cs.StepAngPos, 14613);
    EXPECT_EQ(m.SelectedStepAngle, 45.0f);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_FALSE(cs.Step45Enabled);

    SetStepAngleTo10(m, cs);
    EXPECT_EQ(cs.StepAngPos, 12000);
    EXPECT_EQ(m.SelectedStepAngle, 10.0f);
    EXPECT_FALSE(cs.Step10Enabled);
    EXPECT_TRUE(cs.Step1Enabled && cs.Step45Enabled);
}

TEST_F(Controls, StepDialogKeepsTheTypedStepAndTheRunningState) {
    EXPECT_EQ(TextForStepAngle(m), "10.00");
    TakeStepAngle(m, cs, 7.0f);
    EXPECT_TRUE(cs.Running);
    EXPECT_EQ(m.SelectedStepAngle, 7.0f);
    EXPECT_EQ(m.StepAngle, 7.0f);
    EXPECT_EQ(cs.StepAngPos, 11380);
    EXPECT_EQ(cs.DrvAngSmallChange, 700);
    EXPECT_EQ(cs.DrvAngLargeChange, 3500);

    TakeStepAngle(m, cs, 100.0f);
    EXPECT_EQ(m.SelectedStepAngle, 45.0f);
    EXPECT_FALSE(cs.Step45Enabled);

    m.DriverAngle = 33.333f;
    StartOrStopDriver(m, cs); // stop
    // Stopped, the dialog offers the step that Run restarts with, and OK keeps it.
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_EQ(TextForStepAngle(m), "45.00");
    TakeStepAngle(m, cs, std::stof(TextForStepAngle(m)));
    EXPECT_EQ(m.SelectedStepAngle, 45.0f);
    EXPECT_FALSE(cs.Running);
    TakeStepAngle(m, cs, 0.0f);
    EXPECT_FALSE(cs.Running);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_EQ(m.SelectedStepAngle, MinStepAngle);
    EXPECT_EQ(cs.StepAngPos, 0);
    EXPECT_EQ(cs.DrvAngPos, 3333);
}

} // namespace
