#include "model/dimensions.h"
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

} // namespace
