// SPDX-License-Identifier: GPL-3.0-or-later
// The modified mark: what counts as a change of the design and what does not.

#include "model/design_changes.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/model.h"
#include "model/solver.h"

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
        {"dimension",
         [](kes::Model& m) {
             const kes::DesignEdit e{3, 17.0f};
             kes::ApplyDesignEdit(m, {&e, 1}, "Main Rod Length");
         }},
        {"cylinder height",
         [](kes::Model& m) {
             const kes::DesignEdit e{101, 0.5f};
             kes::ApplyDesignEdit(m, {&e, 1}, "Cylinder");
         }},
        {"dynamic-variable step",
         [](kes::Model& m) {
             kes::SelectDimension(m, 2);
             kes::StepDynVar(m, 1, 0.01f);
         }},
        {"group reset",
         [](kes::Model& m) {
             m.Cylinder[kes::BoreDiameter] += 0.25f;
             kes::ResetCylinderGroup(m, true);
         }},
        {"mid gear found again after a change",
         [](kes::Model& m) {
             m.RevArmPositions[2] = 0.0f;
             kes::RefindMidGear(m);
         }},
    };
    for (const auto& e : edits) {
        kes::Model m = Clean();
        EXPECT_FALSE(kes::IsDesignModified(m)) << e.What;
        e.Edit(m);
        EXPECT_TRUE(kes::IsDesignModified(m)) << e.What;
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
        {"reverse arm to mid gear", [](kes::Model& m) { kes::CenterRevArm(m); }},
        {"a solve",
         [](kes::Model& m) {
             m.DriverAngle = 123.0f;
             kes::SolveLinkage(m);
         }},
        {"mid gear found again unchanged", [](kes::Model& m) { kes::RefindMidGear(m); }},
        {"an edit to the same value",
         [](kes::Model& m) {
             const kes::DesignEdit e{3, m.Frame.MainRodLength};
             kes::ApplyDesignEdit(m, {&e, 1}, "Main Rod Length");
         }},
    };
    for (const auto& a : acts) {
        kes::Model m = Clean();
        a.Act(m);
        EXPECT_FALSE(kes::IsDesignModified(m)) << a.What;
    }
}

TEST(DesignChanges, ExplicitMarksAndSaving) {
    kes::Model m = Clean();
    kes::MarkDesignModified(m);
    EXPECT_TRUE(kes::IsDesignModified(m));
    kes::MarkDesignSaved(m);
    EXPECT_FALSE(kes::IsDesignModified(m));

    // An undo back to the saved value is still a change since the save.
    const kes::DesignEdit e{3, 18.0f};
    kes::ApplyDesignEdit(m, {&e, 1}, "Main Rod Length");
    EXPECT_TRUE(kes::IsDesignModified(m));
    kes::MarkDesignSaved(m);
    ASSERT_TRUE(kes::UndoStep(m));
    EXPECT_TRUE(kes::IsDesignModified(m));
}

} // namespace
