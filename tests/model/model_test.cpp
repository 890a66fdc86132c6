// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/dimensions.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "model/solver.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

kes::Model Factory() {
    kes::Model m;
    kes::InitialiseModel(m);
    return m;
}

TEST(Initialise, FindsMidGearAndSetsTheReverseArmThere) {
    kes::Model m = Factory();
    EXPECT_NEAR(m.MidGear(), 10.4234, 1e-3);
    EXPECT_FLOAT_EQ(m.RevArmSetting, m.MidGear());
    EXPECT_FLOAT_EQ(m.Points[kes::RevArmTop].X, m.MidGear());
    EXPECT_FLOAT_EQ(m.RevArmPositions[1], m.MidGear());
    EXPECT_NEAR(m.RevArmPositions[2], 11.9234, 1e-3);
    EXPECT_NEAR(m.RevArmPositions[3], 8.9234, 1e-3);
    EXPECT_EQ(m.RevArmPositionCount, 3);
    EXPECT_EQ(m.RevArmBarMin, -1700);
    EXPECT_EQ(m.RevArmBarMax, 1700);
    EXPECT_EQ(m.DataSetName, "Nominal");
    EXPECT_FLOAT_EQ(m.CurrentView.Scale, 19.0f);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetX, 100.0f);
    EXPECT_FLOAT_EQ(m.CurrentView.OffsetY, 280.0f);
    EXPECT_FLOAT_EQ(m.ViewPresets[3], 62.0f);
    EXPECT_FLOAT_EQ(m.ViewPresets[20], 1250.0f);
    EXPECT_EQ(m.DynVarSlots[1].Name, kes::EmptySlotName);
}

TEST(Initialise, KeepsTheInvariants) {
    kes::Model m = Factory();
    EXPECT_EQ(m.Points[kes::RevArmPivotCopy].X, m.Points[kes::RevArmPivot].X);
    EXPECT_EQ(m.Points[kes::RevArmPivotCopy].Y, m.Points[kes::RevArmPivot].Y);
    EXPECT_EQ(m.Points[kes::BellCrankPivotCopy].X, m.Points[kes::BellCrankPivot].X);
    EXPECT_EQ(m.Points[kes::BellCrankPivotCopy].Y, m.Points[kes::BellCrankPivot].Y);
    EXPECT_FLOAT_EQ(m.Points[kes::ValveStemJoint].Y, 3.0f);
    EXPECT_FLOAT_EQ(m.Points[kes::GearMount].X, 13.875f);
    EXPECT_FLOAT_EQ(m.Points[kes::GearMount].Y, 5.0f);
}

TEST(Resets, CylinderResetRestoresEverySlotAndTheCentreLine) {
    kes::Model m = Factory();
    kes::SetDimension(m, 102, 0.75f);
    kes::SetDimension(m, 109, 3.25f);
    m.Cylinder[kes::CylSpare] = 9.0f; // as a hostile file could leave it
    kes::ResetCylinderGroup(m, true);
    EXPECT_FLOAT_EQ(m.Points[kes::Crosshead].Y, 0.0f);
    EXPECT_FLOAT_EQ(m.Points[kes::ValveStemJoint].Y, 3.0f);
    EXPECT_FLOAT_EQ(m.Cylinder[kes::CylSpare], 0.0f);
    EXPECT_EQ(m.Cylinder, kes::FactoryCylinder());
}

TEST(Resets, BakerResetLeavesTheFrameAloneAndCopiesThePivots) {
    kes::Model m = Factory();
    kes::SetDimension(m, 3, 20.0f);
    kes::SetDimension(m, 19, 3.5f);
    kes::SetDimension(m, 27, 1.0f);
    m.Frame.RevArmNorm = 1.2f;
    kes::ResetBakerAssyGroup(m, true);
    EXPECT_FLOAT_EQ(m.Frame.MainRodLength, 20.0f);
    EXPECT_FLOAT_EQ(m.Frame.RevArmNorm, 1.2f);
    EXPECT_FLOAT_EQ(m.Points[kes::RevArmPivot].X, 2.961f);
    EXPECT_FLOAT_EQ(m.Points[kes::RevArmPivotCopy].X, 2.961f);
    EXPECT_FLOAT_EQ(m.Points[kes::RevArmPivotCopy].Y, 1.75f);
    EXPECT_FLOAT_EQ(m.Points[kes::BellCrankPivotCopy].X, 1.25f);
    EXPECT_FLOAT_EQ(m.Points[kes::BellCrankPivotCopy].Y, 0.891f);
}

TEST(Resets, FrameResetRestoresTheRangeOfTheReverseArmBar) {
    kes::Model m = Factory();
    m.Frame.RevArmMax = 2.5f;
    kes::SetRevArmBarRange(m);
    EXPECT_EQ(m.RevArmBarMax, 2500);
    kes::ResetFrameGroup(m, false);
    EXPECT_EQ(m.RevArmBarMax, 1700);
    EXPECT_EQ(m.RevArmBarMin, -1700);
}

TEST(Resets, ResetAllReturnsToTheFactoryGear) {
    kes::Model m = Factory();
    kes::SetDimension(m, 20, 2.5f);
    m.DataSetName = "big engine";
    m.VerticalScale = 3.0f;
    m.CurrentView = kes::View{50.0f, 10.0f, 20.0f};
    m.RevArmSetting = 11.0f;
    kes::ResetAllDimensions(m);
    EXPECT_FLOAT_EQ(m.Baker.RadiusBarLength, 2.188f);
    EXPECT_EQ(m.DataSetName, "Nominal");
    EXPECT_FLOAT_EQ(m.VerticalScale, 1.5f);
    EXPECT_FLOAT_EQ(m.CurrentView.Scale, 19.0f);
    EXPECT_FLOAT_EQ(m.RevArmSetting, m.MidGear());
    EXPECT_NEAR(m.MidGear(), 10.4234, 1e-3);
    EXPECT_EQ(m.UndoCount, 0);
}

TEST(Dimensions, EveryIdHasANameAndRoundTrips) {
    kes::Model m = Factory();
    int count = 0;
    for (int id = 0; id < 130; ++id) {
        if (!kes::IsDimensionId(id)) {
            // The reverse-arm travels are listed as 29 and 30 but are no dialog field.
            const bool listed = kes::IsListedDimensionId(id);
            EXPECT_EQ(listed, id == kes::RevArmNormId || id == kes::RevArmMaxId) << id;
            EXPECT_EQ(kes::SetDimension(m, id, 1.0f), listed) << id;
            EXPECT_EQ(kes::DimensionName(id).empty(), !listed) << id;
            continue;
        }
        ++count;
        EXPECT_FALSE(kes::DimensionName(id).empty()) << id;
        EXPECT_LE(kes::DimensionName(id).size(), 25u) << id;
        const float v = 7.0f + static_cast<float>(id) / 1000.0f;
        kes::SetDimension(m, id, v);
        EXPECT_FLOAT_EQ(kes::GetDimension(m, id), v) << id;
    }
    EXPECT_EQ(count, 50);
    EXPECT_FLOAT_EQ(m.Cylinder[kes::CylSpare], 0.0f); // no id reaches it
}

TEST(Dimensions, EditsKeepThePivotCopiesAndTheValveStemHeight) {
    kes::Model m = Factory();
    kes::SetDimension(m, 18, 1.9f);
    kes::SetDimension(m, 28, 1.4f);
    EXPECT_FLOAT_EQ(m.Points[kes::RevArmPivotCopy].Y, 1.9f);
    EXPECT_FLOAT_EQ(m.Points[kes::BellCrankPivotCopy].X, 1.4f);
    kes::SetDimension(m, 109, 3.25f);
    EXPECT_FLOAT_EQ(m.Points[kes::ValveStemJoint].Y, 3.25f);
    kes::SetDimension(m, 102, 0.5f);
    EXPECT_FLOAT_EQ(m.Points[kes::ValveStemJoint].Y, 3.75f);
    // The cylinder fields map onto the array's file order.
    kes::SetDimension(m, 112, 0.3f);
    EXPECT_FLOAT_EQ(m.Cylinder[kes::BridgeWidthFront], 0.3f);
    kes::SetDimension(m, 122, 5.5f);
    EXPECT_FLOAT_EQ(m.Cylinder[kes::ValveCtrToJoint], 5.5f);
    EXPECT_EQ(kes::DimensionName(122), "Valve Stem");
}

TEST(MidGear, ImpossibleGearKeepsThePreviousMidGear) {
    kes::Model m = Factory();
    const float before = m.MidGear();
    m.RevArmSetting = 11.0f;
    m.Baker.BellCrankHorz = 50.0f; // o never reaches it
    EXPECT_FALSE(kes::FindMidGear(m));
    EXPECT_FLOAT_EQ(m.MidGear(), before);
    EXPECT_FLOAT_EQ(m.RevArmSetting, 11.0f);

    m.Baker.BellCrankHorz = 2.125f;
    m.Baker.GearConRodUpper = 0.0f;
    EXPECT_FALSE(kes::FindMidGear(m));
    m.Baker.GearConRodUpper = NAN;
    EXPECT_FALSE(kes::FindMidGear(m));
    EXPECT_FLOAT_EQ(m.MidGear(), before);
}

TEST(MidGear, MidGearLeavesTheValveLittleMoreThanTheLeadMotion) {
    // At mid gear the eccentric adds almost nothing; in full gear the valve
    // travels far more.
    kes::Model m = Factory();
    auto travel = [&m](float setting) {
        float lo = 1e9f, hi = -1e9f;
        for (int a = 0; a < 360; a += 10) {
            m.DriverAngle = static_cast<float>(a);
            m.RevArmSetting = setting;
            kes::SolveLinkage(m);
            lo = std::min(lo, m.Points[kes::ValveStemJoint].X);
            hi = std::max(hi, m.Points[kes::ValveStemJoint].X);
        }
        return hi - lo;
    };
    const float mid = travel(m.MidGear());
    EXPECT_LT(mid, travel(m.MidGear() + 0.3f));
    EXPECT_LT(mid, travel(m.MidGear() - 0.3f));
    EXPECT_LT(1.5f * mid, travel(m.RevArmPositions[2]));
}

TEST(MidGear, PositionCountFollowsTheHighestNonZeroSlot) {
    kes::Model m = Factory();
    m.RevArmPositions[7] = 10.0f;
    kes::UpdateRevArmPositionCount(m);
    EXPECT_EQ(m.RevArmPositionCount, 7);
    m.RevArmPositions[9] = 9.0f;
    kes::UpdateRevArmPositionCount(m);
    EXPECT_EQ(m.RevArmPositionCount, 9);
    m.RevArmPositions.fill(0.0f);
    kes::UpdateRevArmPositionCount(m);
    EXPECT_EQ(m.RevArmPositionCount, 1);
}

} // namespace
