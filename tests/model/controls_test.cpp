// The model side of the main window's controls.

#include "model/controls.h"

#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using namespace kes;

class Controls : public ::testing::Test {
  protected:
    void SetUp() override {
        InitialiseModel(m);
        cs = InitialControlState(m);
        // The form's initial position of the step bar fires its handler once.
        StepAngChange(m, cs, cs.StepAngPos);
    }
    float Mid() const { return m.MidGear(); }

    Model m;
    ControlState cs;
};

// ---------------------------------------------------------------- reverse arm

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
    FwdClick(m, cs);
    EXPECT_EQ(cs.RevArmPos, norm);
    EXPECT_NEAR(m.RevArmSetting, Mid() + m.Frame.RevArmNorm, 1e-5);
    EXPECT_EQ(m.GearDirection, GearDir::Fwd);
    EXPECT_FALSE(cs.FwdEnabled);
    EXPECT_TRUE(cs.RevEnabled);
    EXPECT_TRUE(cs.CenterEnabled);

    RevClick(m, cs);
    EXPECT_EQ(cs.RevArmPos, -norm);
    EXPECT_NEAR(m.RevArmSetting, Mid() - m.Frame.RevArmNorm, 1e-5);
    EXPECT_EQ(m.GearDirection, GearDir::Rev);
    EXPECT_FALSE(cs.RevEnabled);
    EXPECT_TRUE(cs.FwdEnabled);

    CenterClick(m, cs);
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
    RevClick(m, cs);
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
    FwdClick(m, cs);
    EXPECT_EQ(cs.RevArmPos, 0);
    EXPECT_TRUE(std::isfinite(m.RevArmSetting));
    RevPosOk(m, cs, 50.0f);
    EXPECT_EQ(cs.RevArmPos, 0);
}

TEST_F(Controls, RevPosDialogShowsTheRangeAndClamps) {
    const RevPosTexts t = RevPosActivate(m);
    // Factory mid gear is about 10.4234.
    EXPECT_EQ(t.Labels[0], "Min = 8.723");
    EXPECT_EQ(t.Labels[1], "Cen = 10.423");
    EXPECT_EQ(t.Labels[2], "Max = 12.123");
    EXPECT_EQ(t.Labels[3], "Rev = 8.923");
    EXPECT_EQ(t.Labels[4], "Fwd = 11.923");
    EXPECT_EQ(t.Field, " 10.423");

    RevPosOk(m, cs, Mid() - 0.25f);
    EXPECT_EQ(cs.RevArmPos, -250);
    EXPECT_EQ(m.GearDirection, GearDir::Rev);
    RevPosOk(m, cs, 100.0f);
    EXPECT_EQ(cs.RevArmPos, 1700);
    RevPosOk(m, cs, -100.0f);
    EXPECT_EQ(cs.RevArmPos, -1700);
}

// ------------------------------------------------------- driver and run/stop

TEST_F(Controls, StoppingPutsTheDriverBarAtTheAngle) {
    m.DriverAngle = 123.456f;
    RunClick(m, cs);
    EXPECT_FALSE(cs.Running);
    EXPECT_EQ(cs.DrvAngPos, 12346);
    EXPECT_FLOAT_EQ(m.DriverAngle, 123.46f);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_TRUE(cs.DrvAngEnabled);
    EXPECT_TRUE(cs.Deg00Enabled && cs.Deg180Enabled);

    RunClick(m, cs);
    EXPECT_TRUE(cs.Running);
    EXPECT_EQ(m.StepAngle, m.SelectedStepAngle);
    EXPECT_FALSE(cs.DrvAngEnabled);
}

TEST_F(Controls, DegreeButtonsStopAtTheirAngle) {
    Deg180Click(m, cs);
    EXPECT_EQ(m.DriverAngle, 180.0f);
    EXPECT_EQ(cs.DrvAngPos, 18000);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_FALSE(cs.Running);
    EXPECT_TRUE(cs.DrvAngEnabled);
    EXPECT_FALSE(cs.Deg180Enabled);
    EXPECT_TRUE(cs.Deg00Enabled);

    Deg00Click(m, cs);
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
    RunClick(m, cs);
    EXPECT_EQ(cs.DrvAngPos, 0);
    EXPECT_EQ(m.DriverAngle, 0.0f);
}

TEST_F(Controls, DriverAngleDialogClampsAndStops) {
    EXPECT_EQ(DrivAngActivate(m, cs), "0.00"); // running
    DrivAngOk(m, cs, 400.0f);
    EXPECT_EQ(m.DriverAngle, 360.0f);
    EXPECT_EQ(cs.DrvAngPos, 36000);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_FALSE(cs.Running);
    EXPECT_TRUE(cs.DrvAngEnabled);
    EXPECT_EQ(DrivAngActivate(m, cs), "360.00");

    DrivAngOk(m, cs, -5.0f);
    EXPECT_EQ(m.DriverAngle, 0.0f);
    EXPECT_EQ(cs.DrvAngPos, 0);
    EXPECT_FALSE(cs.Running);

    DrivAngOk(m, cs, 5.0f);
    EXPECT_EQ(DrivAngActivate(m, cs), "5.00");
}

// ---------------------------------------------------------------- step angle

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

    RunClick(m, cs); // stop
    StepAngChange(m, cs, 14613);
    EXPECT_EQ(m.SelectedStepAngle, 45.0f);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_FALSE(cs.Step45Enabled);
    RunClick(m, cs);
    EXPECT_EQ(m.StepAngle, 45.0f);
}

TEST_F(Controls, StepButtonsSetBarAndStep) {
    Step1Click(m, cs);
    EXPECT_EQ(cs.StepAngPos, 8000);
    EXPECT_EQ(m.SelectedStepAngle, 1.0f);
    EXPECT_EQ(m.StepAngle, 1.0f);
    EXPECT_FALSE(cs.Step1Enabled);
    EXPECT_TRUE(cs.Step10Enabled && cs.Step45Enabled);

    RunClick(m, cs); // stopped: the step waits for Run
    Step45Click(m, cs);
    EXPECT_EQ(cs.StepAngPos, 14613);
    EXPECT_EQ(m.SelectedStepAngle, 45.0f);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_FALSE(cs.Step45Enabled);

    Step10Click(m, cs);
    EXPECT_EQ(cs.StepAngPos, 12000);
    EXPECT_EQ(m.SelectedStepAngle, 10.0f);
    EXPECT_FALSE(cs.Step10Enabled);
    EXPECT_TRUE(cs.Step1Enabled && cs.Step45Enabled);
}

TEST_F(Controls, StepDialogKeepsTheTypedStepAndTheRunningState) {
    EXPECT_EQ(StpAngActivate(m), "10.00");
    StpAngOk(m, cs, 7.0f);
    EXPECT_TRUE(cs.Running);
    EXPECT_EQ(m.SelectedStepAngle, 7.0f);
    EXPECT_EQ(m.StepAngle, 7.0f);
    EXPECT_EQ(cs.StepAngPos, 11380);
    EXPECT_EQ(cs.DrvAngSmallChange, 700);
    EXPECT_EQ(cs.DrvAngLargeChange, 3500);

    StpAngOk(m, cs, 100.0f);
    EXPECT_EQ(m.SelectedStepAngle, 45.0f);
    EXPECT_FALSE(cs.Step45Enabled);

    m.DriverAngle = 33.333f;
    RunClick(m, cs); // stop
    StpAngOk(m, cs, 0.0f);
    EXPECT_FALSE(cs.Running);
    EXPECT_EQ(m.StepAngle, 0.0f);
    EXPECT_EQ(m.SelectedStepAngle, MinStepAngle);
    EXPECT_EQ(cs.StepAngPos, 0);
    EXPECT_EQ(cs.DrvAngPos, 3333);
}

// ------------------------------------------------------ pan, zoom and presets

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

// ---------------------------------------------------------- reference points

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
    const auto texts = RefPntsActivate(m);
    EXPECT_EQ(texts[0], "-1.250");
    EXPECT_EQ(texts[1], "2.500");
    EXPECT_EQ(texts[2], "0.000");

    RefPntsOk(m, cs, 1.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(m.Points[RefPoint1].Y, 1.0f);
    EXPECT_EQ(m.Points[RefPoint1].X, 0.0f);
    EXPECT_TRUE(cs.RefPt1ZeroEnabled);
    EXPECT_FALSE(cs.RefPt2ZeroEnabled);
    EXPECT_TRUE(m.ReferencePointsOn);

    RefPntsCancel(m, cs);
    EXPECT_FALSE(m.ReferencePointsOn);
    EXPECT_EQ(m.Points[RefPoint1].Y, 1.0f);

    RefPntsOk(m, cs, 1.0f, 2.0f, 3.0f, 4.0f);
    RefPntsZero(m, cs);
    EXPECT_EQ(m.Points[RefPoint2].X, 0.0f);
    EXPECT_EQ(m.Points[RefPoint2].Y, 0.0f);
    EXPECT_EQ(m.Points[RefPoint1].Y, 0.0f);
    EXPECT_FALSE(cs.RefPt1ZeroEnabled || cs.RefPt2ZeroEnabled);
    EXPECT_FALSE(m.ReferencePointsOn);
}

// ------------------------------------------ graphic zoom and arm positions

TEST_F(Controls, GraphicZoomClamps) {
    EXPECT_EQ(GraphZoomActivate(m), "7.50");
    GraphZoomOk(m, 0.1f);
    EXPECT_EQ(m.GraphicZoom, 0.5f);
    GraphZoomOk(m, 5000.0f);
    EXPECT_EQ(m.GraphicZoom, 2000.0f);
    GraphZoomOk(m, 12.25f);
    EXPECT_EQ(m.GraphicZoom, 12.25f);
}

TEST_F(Controls, ReverseArmPositionFields) {
    EXPECT_EQ(SetRevArmFieldText(m, 1), " 10.423");
    EXPECT_EQ(SetRevArmFieldText(m, 4), "  0.000");
    EXPECT_EQ(SetRevArmFieldText(m, 10), "  1.500");
    EXPECT_EQ(m.RevArmPositionCount, 3);

    SetRevArmFieldLeft(m, 5, 11.0f);
    EXPECT_EQ(m.RevArmPositions[5], 11.0f);
    EXPECT_EQ(m.RevArmPositionCount, 5);
    SetRevArmFieldLeft(m, 9, 9.5f);
    EXPECT_EQ(m.RevArmPositionCount, 9);
    SetRevArmFieldLeft(m, 9, 0.0f);
    EXPECT_EQ(m.RevArmPositionCount, 5);

    // Beyond the reach of the arm: held at the end of its travel.
    SetRevArmFieldLeft(m, 6, 40.0f);
    EXPECT_FLOAT_EQ(m.RevArmPositions[6], Mid() + 1.7f);
    SetRevArmFieldLeft(m, 7, -40.0f);
    EXPECT_FLOAT_EQ(m.RevArmPositions[7], Mid() - 1.7f);

    SetRevArmFieldLeft(m, 10, 0.01f);
    EXPECT_EQ(m.VerticalScale, MinVerticalScale);
    SetRevArmFieldLeft(m, 10, 2.5f);
    EXPECT_EQ(m.VerticalScale, 2.5f);

    SetRevArmFieldLeft(m, 0, 5.0f); // slot 0 is mid gear: not a field
    EXPECT_EQ(m.RevArmPositions[0], Mid());

    EXPECT_FALSE(m.RedrawPending);
    SetRevArmClose(m);
    EXPECT_TRUE(m.RedrawPending);
}

// ------------------------------------------------------------- mouse picking

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

// --------------------------------------------------------- display settings

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
    EXPECT_NEAR(DynVarChange(m, cs, 1, 20), 0.02, 1e-12);
    EXPECT_NEAR(m.Frame.MainRodLength, before + 0.02f, 1e-5);
    EXPECT_EQ(DynVarChange(m, cs, 0, 20), 0.0);
    EXPECT_EQ(DynVarChange(m, cs, 5, 20), 0.0);

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
    FwdClick(m, cs);
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

// ------------------------------------------------------------- typed values

TEST(ControlsTypedValues, LongestLeadingNumber) {
    struct Row {
        const char* text;
        float value;
    };
    const Row rows[] = {
        {"12.5", 12.5f}, {"-3", -3.0f}, {"5-", 5.0f}, {"-.5", -0.5f},  {"", 0.0f},
        {"-", 0.0f},     {".", 0.0f},   {"-.", 0.0f}, {"1.2.3", 1.2f}, {"abc", 0.0f},
        {"1e5", 1.0f},   {"007", 7.0f}, {"3.", 3.0f}, {" 4", 0.0f},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ParseTypedValue(r.text), r.value) << r.text;

    const std::string huge(60, '9');
    EXPECT_EQ(ParseTypedValue(huge), std::numeric_limits<float>::max());
    EXPECT_EQ(ParseTypedValue("-" + huge), -std::numeric_limits<float>::max());
    const std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(ParseTypedValue(tiny), 0.0f);
}

TEST(ControlsTypedValues, ClampHandlesNaN) {
    EXPECT_EQ(ClampValue(std::nan(""), 0.5, 2000.0), 0.5f);
    EXPECT_EQ(ClampValue(1e300, 0.5, 2000.0), 2000.0f);
    EXPECT_EQ(ClampValue(3.0, 0.5, 2000.0), 3.0f);
}

} // namespace
