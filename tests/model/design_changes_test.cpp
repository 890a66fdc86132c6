// SPDX-License-Identifier: GPL-3.0-or-later
// The modified mark: what counts as a change of the design and what does not.

#include "model/design_changes.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

kes::Model Clean() {
    kes::Model m;
    kes::InitialiseModel(m);
    kes::MarkDesignSaved(m);
    return m;
}

TEST(DesignChanges, EditsOfTheDesignAreSeen) {
    const struct {
        const char* What;
        std::function<void(kes::Model&)> Edit;
    } edits[] = {
        {"dimension", [](kes::Model& m) { kes::SetDimension(m, 3, 17.0f); }},
        {"cylinder", [](kes::Model& m) { m.Cylinder[kes::BoreDiameter] += 0.25f; }},
        {"pivot", [](kes::Model& m) { m.Points[kes::GearMount].Y = 5.5f; }},
        {"cylinder height", [](kes::Model& m) { m.Points[kes::Crosshead].Y = 0.5f; }},
        {"position", [](kes::Model& m) { m.RevArmPositions[7] = 9.0f; }},
        {"vertical scale", [](kes::Model& m) { m.VerticalScale = 2.0f; }},
        {"line", [](kes::Model& m) { m.LineTable[20].ItemType = 0; }},
        {"line point", [](kes::Model& m) { m.LineTable[1].Ref2Y = 0.0f; }},
        {"dynamic-variable step",
         [](kes::Model& m) {
             kes::SelectDimension(m, 2);
             kes::StepDynVar(m, 1, 0.01f);
         }},
    };
    for (const auto& e : edits) {
        kes::Model m = Clean();
        EXPECT_FALSE(kes::NoteDesignChanges(m)) << e.What;
        e.Edit(m);
        EXPECT_TRUE(kes::NoteDesignChanges(m)) << e.What;
        // Still modified when nothing else changes.
        EXPECT_TRUE(kes::NoteDesignChanges(m)) << e.What;
    }
}

TEST(DesignChanges, ViewMotionAndSelectionAreNoChange) {
    const struct {
        const char* What;
        std::function<void(kes::Model&)> Act;
    } acts[] = {
        {"pan and zoom",
         [](kes::Model& m) {
             m.CurrentView = {40.0f, -10.0f, 300.0f};
         }},
        {"reverse arm", [](kes::Model& m) { m.RevArmSetting += 0.5f; }},
        {"driver angle", [](kes::Model& m) { m.DriverAngle = 123.0f; }},
        {"current line item", [](kes::Model& m) { m.CurrentItem = 7; }},
        {"reference point", [](kes::Model& m) { m.Points[kes::RefPoint1].X = 3.0f; }},
        {"solved point", [](kes::Model& m) { m.Points[kes::CrankPin].X = 1.0f; }},
    };
    for (const auto& a : acts) {
        kes::Model m = Clean();
        a.Act(m);
        EXPECT_FALSE(kes::NoteDesignChanges(m)) << a.What;
    }
}

TEST(DesignChanges, ExplicitMarksAndSaving) {
    kes::Model m = Clean();
    kes::MarkDesignModified(m);
    EXPECT_TRUE(kes::IsDesignModified(m));
    kes::MarkDesignSaved(m);
    EXPECT_FALSE(kes::IsDesignModified(m));

    // An undo back to the saved value is still a change since the save.
    kes::SelectDimension(m, 3);
    kes::PushUndo(m, 3, kes::GetDimension(m, 3));
    kes::SetDimension(m, 3, 18.0f);
    kes::CompleteUndo(m, 18.0f, "Main Rod Length");
    EXPECT_TRUE(kes::NoteDesignChanges(m));
    kes::MarkDesignSaved(m);
    ASSERT_TRUE(kes::UndoStep(m));
    EXPECT_TRUE(kes::NoteDesignChanges(m));
}

} // namespace
