// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/design_changes.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/format.h"
#include "model/model.h"
#include "model/scale_design.h"
#include "model/solver.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

kes::Model Factory() {
    kes::Model m;
    kes::InitialiseModel(m);
    return m;
}

template <class T> bool SameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Everything a step may change, compared bit for bit.
void ExpectSameDesign(const kes::Model& a, const kes::Model& b) {
    EXPECT_TRUE(SameBytes(a.Frame, b.Frame));
    EXPECT_TRUE(SameBytes(a.Baker, b.Baker));
    EXPECT_TRUE(SameBytes(a.Cylinder, b.Cylinder));
    EXPECT_TRUE(SameBytes(a.RevArmPositions, b.RevArmPositions));
    EXPECT_EQ(a.RevArmPositionCount, b.RevArmPositionCount);
    EXPECT_TRUE(SameBytes(a.RevArmSetting, b.RevArmSetting));
    EXPECT_TRUE(SameBytes(a.Points, b.Points));
    EXPECT_TRUE(SameBytes(a.CurrentView, b.CurrentView));
    EXPECT_TRUE(SameBytes(a.ViewPresets, b.ViewPresets));
    EXPECT_TRUE(SameBytes(a.LineTable, b.LineTable));
    EXPECT_TRUE(SameBytes(a.GraphicZoom, b.GraphicZoom));
    EXPECT_TRUE(SameBytes(a.VerticalScale, b.VerticalScale));
}

const std::array<kes::DesignEdit, 4> FourEdits{{{20, 2.3f}, {21, 3.1f}, {13, 11.7f}, {104, 26.0f}}};

TEST(DesignEdit, SeveralDimensionsAreOneStepUndoneAndRedoneBitForBit) {
    kes::Model m = Factory();
    const kes::Model start = m;
    kes::ApplyDesignEdit(m, FourEdits, "Balance Events");
    const kes::Model applied = m;
    for (const kes::DesignEdit& e : FourEdits)
        EXPECT_EQ(kes::GetDimension(m, e.Id), e.Value) << e.Id;
    EXPECT_EQ(m.UndoCount, 1);
    EXPECT_EQ(kes::UndoStepTitle(m), "Balance Events (4 dimensions)");
    EXPECT_EQ(kes::MainUndoMessage(m), " 1- Balance Events (4 dimensions)");
    // Mid gear was found again for the new dimensions.
    EXPECT_NE(m.MidGear(), start.MidGear());

    ASSERT_TRUE(kes::UndoStep(m));
    ExpectSameDesign(m, start);
    EXPECT_EQ(m.UndoCount, 0);
    EXPECT_TRUE(kes::CanRedo(m));

    ASSERT_TRUE(kes::RedoStep(m));
    ExpectSameDesign(m, applied);
    EXPECT_EQ(m.UndoCount, 1);
    EXPECT_EQ(kes::UndoStepTitle(m), "Balance Events (4 dimensions)");
    EXPECT_FALSE(kes::CanRedo(m));
    EXPECT_FALSE(kes::RedoStep(m));
}

TEST(DesignEdit, ScaleDesignIsOneStepUndoneAndRedoneBitForBit) {
    kes::Model m = Factory();
    m.CurrentView = kes::View{23.0f, 140.0f, 300.0f};
    m.LineTable[1] = kes::LineItem{1, 2, 3, 4, -1, -1, -1, -1, 0, 9, 0, -1, -1};
    const kes::Model start = m;
    ASSERT_TRUE(kes::ScaleModel(m, kes::InchesToMillimetres));
    const kes::Model scaled = m;
    EXPECT_EQ(m.UndoCount, 1);
    EXPECT_EQ(kes::MainUndoMessage(m), " 1- Scale Design");

    ASSERT_TRUE(kes::UndoStep(m));
    ExpectSameDesign(m, start);
    EXPECT_EQ(m.RevArmBarMax, start.RevArmBarMax);
    ASSERT_TRUE(kes::RedoStep(m));
    ExpectSameDesign(m, scaled);
    EXPECT_EQ(m.RevArmBarMax, scaled.RevArmBarMax);
}

TEST(DesignEdit, ANewEditAfterAnUndoClearsTheRedo) {
    kes::Model m = Factory();
    kes::ApplyDesignEdit(m, FourEdits, "Balance Events");
    ASSERT_TRUE(kes::UndoStep(m));
    ASSERT_TRUE(kes::CanRedo(m));
    const std::array<kes::DesignEdit, 1> one{{{3, 17.25f}}};
    kes::ApplyDesignEdit(m, one, "Main Rod Length");
    EXPECT_FALSE(kes::CanRedo(m));
    EXPECT_FALSE(kes::RedoStep(m));
    EXPECT_EQ(kes::GetDimension(m, 20), Factory().Baker.RadiusBarLength);

    // A typed edit recorded by its field clears it too.
    ASSERT_TRUE(kes::UndoStep(m));
    ASSERT_TRUE(kes::CanRedo(m));
    kes::RecordDimensionEdit(m, 9, 4.0f, 4.5f);
    EXPECT_FALSE(kes::CanRedo(m));
}

TEST(DesignEdit, SingleEntriesUndoAndRedoTheirOneDimension) {
    kes::Model m = Factory();
    const float before = kes::GetDimension(m, 3);
    kes::SetDimension(m, 3, 18.0f);
    kes::RecordDimensionEdit(m, 3, before, 18.0f);
    EXPECT_EQ(kes::MainUndoMessage(m),
              " 1- Main Rod Length " + std::string(kes::FormatFixed(before, 6, 3)) + " to 18.000");
    ASSERT_TRUE(kes::UndoStep(m));
    EXPECT_EQ(kes::GetDimension(m, 3), before);
    ASSERT_TRUE(kes::RedoStep(m));
    EXPECT_EQ(kes::GetDimension(m, 3), 18.0f);
    EXPECT_EQ(m.UndoRecord[1].Before, before);
}

TEST(DesignEdit, NothingChangedRecordsNothing) {
    kes::Model m = Factory();
    const uint64_t revision = kes::DesignRevision(m);
    const std::array<kes::DesignEdit, 2> same{{{3, m.Frame.MainRodLength}, {555, 1.0f}}};
    kes::ApplyDesignEdit(m, same, "Nothing");
    EXPECT_EQ(m.UndoCount, 0);
    EXPECT_EQ(kes::DesignRevision(m), revision);
    EXPECT_FALSE(kes::ScaleModel(m, 0.0));
    EXPECT_EQ(m.UndoCount, 0);
    EXPECT_EQ(kes::DesignRevision(m), revision);
}

struct RevisionCase {
    const char* What;
    std::function<void(kes::Model&)> Act;
    bool Edits;
};

TEST(DesignRevision, MovesOnEveryEditAndOnNothingElse) {
    const std::array<kes::DesignEdit, 1> one{{{3, 17.25f}}};
    const std::vector<RevisionCase> cases{
        {"an edit", [&](kes::Model& m) { kes::ApplyDesignEdit(m, one, "Main Rod Length"); }, true},
        {"a bar step",
         [](kes::Model& m) {
             kes::SelectDimension(m, 9);
             kes::StepDynVar(m, 1, 0.02f);
         },
         true},
        {"an undo",
         [&](kes::Model& m) {
             kes::ApplyDesignEdit(m, one, "Main Rod Length");
             m.DesignRevision = 0;
             kes::UndoStep(m);
         },
         true},
        {"a redo",
         [&](kes::Model& m) {
             kes::ApplyDesignEdit(m, one, "Main Rod Length");
             kes::UndoStep(m);
             m.DesignRevision = 0;
             kes::RedoStep(m);
         },
         true},
        {"scaling", [](kes::Model& m) { kes::ScaleModel(m, 2.0); }, true},
        {"a group reset", [](kes::Model& m) { kes::ResetCylinderGroup(m, true); }, true},
        {"resetting all", [](kes::Model& m) { kes::ResetAllDimensions(m); }, true},
        {"a solve", [](kes::Model& m) { kes::SolveLinkage(m); }, false},
        {"the driver turning", [](kes::Model& m) { m.DriverAngle = 90.0f; }, false},
        {"an undo of nothing", [](kes::Model& m) { kes::UndoStep(m); }, false},
        {"a redo of nothing", [](kes::Model& m) { kes::RedoStep(m); }, false},
        {"a bar at rest", [](kes::Model& m) { kes::StepDynVar(m, 1, 0.0f); }, false},
        {"mid gear found again after the positions changed",
         [](kes::Model& m) {
             m.RevArmPositions[3] = 0.0f;
             kes::RefindMidGear(m);
         },
         true},
        {"mid gear found again unchanged", [](kes::Model& m) { kes::RefindMidGear(m); }, false},
    };
    for (const RevisionCase& c : cases) {
        kes::Model m = Factory();
        m.DesignRevision = 0;
        c.Act(m);
        EXPECT_EQ(kes::DesignRevision(m) != 0, c.Edits) << c.What;
    }
}

} // namespace
