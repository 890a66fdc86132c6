// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/dimensions.h"
#include "model/dyn_var_bars.h"
#include "model/dyn_vars.h"
#include "model/model.h"
#include "model/self_centring.h"

#include <gtest/gtest.h>

namespace {

kes::Model Factory() {
    kes::Model m;
    kes::InitialiseModel(m);
    return m;
}

TEST(DynVars, EditingTheSameDimensionTwiceKeepsItsSlot) {
    kes::Model m = Factory();
    kes::SelectDimension(m, 3);
    kes::SelectDimension(m, 20);
    kes::SetDimension(m, 3, 17.0f);
    kes::SelectDimension(m, 3);
    EXPECT_EQ(m.DynVarSlots[1].Id, 20);
    EXPECT_EQ(m.DynVarSlots[2].Id, 3);
    EXPECT_FLOAT_EQ(m.DynVarSlots[2].Value, 17.0f);
    EXPECT_EQ(m.DynVarSlots[2].Name, "Main Rod Length");
    EXPECT_EQ(m.DynVarSlots[3].Id, 0);
}

TEST(DynVars, AFifthDistinctDimensionDropsTheOldest) {
    kes::Model m = Factory();
    for (int id : {1, 2, 3, 4, 105})
        kes::SelectDimension(m, id);
    EXPECT_EQ(m.DynVarSlots[1].Id, 105);
    EXPECT_EQ(m.DynVarSlots[1].Name, "Cyl Steam Port Width");
    EXPECT_EQ(m.DynVarSlots[2].Id, 4);
    EXPECT_EQ(m.DynVarSlots[3].Id, 3);
    EXPECT_EQ(m.DynVarSlots[4].Id, 2);
}

TEST(DynVars, ClearedSlotsHoldThePlaceholderAndReapplyChangesNothing) {
    kes::Model m = Factory();
    kes::SelectDimension(m, 3);
    kes::ClearDynVarSlots(m);
    for (const auto& slot : m.DynVarSlots) {
        EXPECT_EQ(slot.Id, 0);
        EXPECT_EQ(slot.Value, 0.0f);
        EXPECT_EQ(slot.Name, "             ??");
    }
    const kes::Model before = m;
    kes::ReapplyAllDynVars(m);
    EXPECT_EQ(m.Frame.MainRodLength, before.Frame.MainRodLength);
}

TEST(DynVars, DraggingABarToTwentyChangesByTwoHundredthsWithOneUndoEntry) {
    kes::Model m = Factory();
    kes::SelectDimension(m, 9); // Combo Lever Lower, 4.0
    kes::SelfCentringBar bar;
    kes::RememberBefore(m, 1);
    kes::StepDynVar(m, 1, static_cast<float>(bar.Step(20, 1000.0)));
    kes::StepDynVar(m, 1, static_cast<float>(bar.Step(0, 1000.0))); // back to 0
    kes::PushUndoForSlot(m, 1);
    EXPECT_NEAR(m.Frame.CombLeverLower, 4.02f, 1e-6);
    EXPECT_EQ(m.UndoCount, 1);
    EXPECT_EQ(m.UndoRecord[1].Id, 9);
    EXPECT_FLOAT_EQ(m.UndoRecord[1].Before, 4.0f);
    EXPECT_NEAR(m.UndoRecord[1].After, 4.02f, 1e-6);
    EXPECT_EQ(m.UndoRecord[1].Name, "Combo Lever Lower");
    EXPECT_TRUE(m.UndoButtonsEnabled);
}

TEST(DynVars, SteppingKeepsTheInvariants) {
    kes::Model m = Factory();
    kes::SelectDimension(m, 19);
    kes::SelectDimension(m, 109);
    kes::StepDynVar(m, 2, 0.5f);
    kes::StepDynVar(m, 1, 0.25f);
    EXPECT_FLOAT_EQ(m.Points[kes::RevArmPivotCopy].X, 3.461f);
    EXPECT_FLOAT_EQ(m.Points[kes::ValveStemJoint].Y, 3.25f);
}

TEST(Undo, StepsBackNewestFirst) {
    kes::Model m = Factory();
    kes::PushUndo(m, 3, 16.75f);
    kes::SetDimension(m, 3, 17.0f);
    kes::CompleteUndo(m, 17.0f, "Main Rod Length");
    kes::PushUndo(m, 3, 17.0f);
    kes::SetDimension(m, 3, 18.0f);
    kes::CompleteUndo(m, 18.0f, "Main Rod Length");
    EXPECT_EQ(kes::MainUndoMessage(m), " 2- Main Rod Length 17.000 to 18.000");

    EXPECT_TRUE(kes::UndoStep(m));
    EXPECT_FLOAT_EQ(m.Frame.MainRodLength, 17.0f);
    EXPECT_TRUE(kes::UndoStep(m));
    EXPECT_FLOAT_EQ(m.Frame.MainRodLength, 16.75f);
    EXPECT_EQ(m.UndoCount, 0);
    EXPECT_TRUE(m.UndoButtonsEnabled);
    EXPECT_FALSE(kes::UndoStep(m)); // empty: the buttons go off, nothing changes
    EXPECT_FALSE(m.UndoButtonsEnabled);
    EXPECT_FLOAT_EQ(m.Frame.MainRodLength, 16.75f);
}

TEST(Undo, UndoAlsoMovesTheDynamicVariableThatHoldsTheDimension) {
    kes::Model m = Factory();
    kes::SelectDimension(m, 20);
    kes::RememberBefore(m, 1);
    kes::StepDynVar(m, 1, 0.1f);
    kes::PushUndoForSlot(m, 1);
    kes::UndoStep(m);
    EXPECT_FLOAT_EQ(m.Baker.RadiusBarLength, 2.188f);
    EXPECT_FLOAT_EQ(m.DynVarSlots[1].Value, 2.188f);
    // A later step starts from the restored value, not the stale one.
    kes::StepDynVar(m, 1, 0.001f);
    EXPECT_NEAR(m.Baker.RadiusBarLength, 2.189f, 1e-6);
}

TEST(Undo, TheRecordKeepsTheTwentyNewestAndClears) {
    kes::Model m = Factory();
    for (int i = 0; i < 25; ++i) {
        kes::PushUndo(m, 1, static_cast<float>(i));
        kes::CompleteUndo(m, static_cast<float>(i + 1), "Driver Dia");
    }
    EXPECT_EQ(m.UndoCount, 20);
    EXPECT_FLOAT_EQ(m.UndoRecord[1].Before, 24.0f);
    EXPECT_FLOAT_EQ(m.UndoRecord[20].Before, 5.0f);
    kes::ClearUndo(m);
    EXPECT_EQ(m.UndoCount, 0);
    EXPECT_FALSE(m.UndoButtonsEnabled);
    EXPECT_EQ(m.UndoRecord[1].Id, 0);
}

TEST(SelfCentring, ADragStepsOnceAndTheReturnToZeroDoesNothing) {
    kes::SelfCentringBar bar;
    EXPECT_DOUBLE_EQ(bar.Step(50, 10.0), 5.0);
    EXPECT_DOUBLE_EQ(bar.Step(0, 10.0), 0.0);
    EXPECT_DOUBLE_EQ(bar.Step(-30, 10.0), -3.0);
    EXPECT_DOUBLE_EQ(bar.Step(0, 10.0), 0.0);
}

TEST(SelfCentring, ComparesWithThePositionTwoChangesBack) {
    // The step's sign follows the position compared with the one two changes
    // earlier, as the bar reports it.
    kes::SelfCentringBar bar;
    EXPECT_DOUBLE_EQ(bar.Step(10, 1000.0), 0.01);   // p2 = 0 < 10
    EXPECT_DOUBLE_EQ(bar.Step(30, 1000.0), 0.03);   // p2 = 0 < 30
    EXPECT_DOUBLE_EQ(bar.Step(20, 1000.0), 0.02);   // p2 = 10 < 20
    EXPECT_DOUBLE_EQ(bar.Step(5, 1000.0), -0.005);  // p2 = 30 > 5
    EXPECT_DOUBLE_EQ(bar.Step(-5, 1000.0), -0.005); // p2 = 20 > -5
}

TEST(SelfCentring, EveryStepMovesByItsPositionWhateverCameBefore) {
    // Clicks, notches and keys: each reports its step from rest, then the
    // bar returns to 0. None of them may be swallowed or turned round.
    struct Case {
        const char* what;
        int p;
        double d;
    };
    const Case cases[] = {
        {"first arrow right", 1, 0.001},  {"second arrow right", 1, 0.001},
        {"third arrow right", 1, 0.001},  {"trough right", 10, 0.01},
        {"trough right again", 10, 0.01}, {"arrow left", -1, -0.001},
        {"arrow left again", -1, -0.001}, {"wheel notch left", -3, -0.003},
    };
    kes::SelfCentringBar bar;
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(bar.Step(c.p, 1000.0, kes::BarMove::Step), c.d) << c.what;
        EXPECT_DOUBLE_EQ(bar.Step(0, 1000.0), 0.0) << c.what << ": the return to 0";
    }
}

TEST(SelfCentring, AStepAfterADragGoesItsOwnWay) {
    kes::SelfCentringBar bar;
    for (int p : {10, 20, 40}) { // a drag to the right, the bar recentred each time
        bar.Step(p, 1000.0, p == 10 ? kes::BarMove::Step : kes::BarMove::Drag);
        bar.Step(0, 1000.0);
    }
    EXPECT_DOUBLE_EQ(bar.Step(1, 1000.0, kes::BarMove::Step), 0.001);
    bar.Step(0, 1000.0);
    EXPECT_DOUBLE_EQ(bar.Step(-1, 1000.0, kes::BarMove::Step), -0.001);
}

TEST(DynVarBars, AScrollRecordsOneEntryAndOnlyWhenTheValueChanged) {
    kes::Model m = Factory();
    kes::SelectDimension(m, 10); // Valve Rod Length
    const float start = m.Frame.ValveRodLength;
    kes::DynVarBars bars;

    // Forth and back within one scroll: the value is as it was, nothing recorded.
    bars.Begin(m, 1);
    bars.Change(m, 1, 5, kes::BarMove::Step);
    bars.Change(m, 1, -5, kes::BarMove::Step);
    EXPECT_FALSE(bars.End(m, 1));
    EXPECT_EQ(m.UndoCount, 0);
    EXPECT_FALSE(m.UndoButtonsEnabled);
    EXPECT_FLOAT_EQ(m.Frame.ValveRodLength, start);

    // Two clicks, each a scroll of its own: two entries of one step each.
    for (int i = 1; i <= 2; ++i) {
        bars.Begin(m, 1);
        EXPECT_DOUBLE_EQ(bars.Change(m, 1, 1, kes::BarMove::Step), 0.001);
        EXPECT_TRUE(bars.End(m, 1));
        EXPECT_EQ(m.UndoCount, i);
        EXPECT_FLOAT_EQ(m.UndoRecord[1].After - m.UndoRecord[1].Before,
                        m.Frame.ValveRodLength - m.UndoRecord[1].Before);
    }
    EXPECT_NEAR(m.Frame.ValveRodLength, start + 0.002f, 1e-6);
    EXPECT_NE(m.UndoRecord[1].Before, m.UndoRecord[1].After);

    // An end without a scroll, or on a bar that does not exist, records nothing.
    EXPECT_FALSE(bars.End(m, 1));
    EXPECT_FALSE(bars.End(m, 7));
    EXPECT_EQ(m.UndoCount, 2);
}

TEST(DynVars, AScrollThatChangesNothingRecordsNothing) {
    kes::Model m = Factory();
    kes::SelectDimension(m, 10);
    kes::RememberBefore(m, 1);
    EXPECT_FALSE(kes::PushUndoForSlot(m, 1));
    EXPECT_EQ(m.UndoCount, 0);
    EXPECT_EQ(m.UndoRecord[1].Id, 0);
}

} // namespace
