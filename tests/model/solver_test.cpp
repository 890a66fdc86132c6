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

void Solve(kes::Model& m, float angle, float revArm) {
    m.DriverAngle = angle;
    m.RevArmSetting = revArm;
    kes::SolveLinkage(m);
    kes::SolvePortOpenings(m);
}

TEST(Solver, EccLeadAngleOfTheFactoryGear) {
    kes::Model m = Factory();
    Solve(m, 0.0f, m.MidGear());
    const double k = (1.75 * 1.75 + 1.1875 * 1.1875 - 2.035 * 2.035) / (2 * 1.75 * 1.1875);
    EXPECT_NEAR(m.Solver.EccLeadAngle, -std::acos(k) * 180.0 / 3.14159265358979, 1e-3);
    EXPECT_NEAR(m.Solver.EccLeadAngle, -85.43, 0.01);
}

TEST(Solver, FullTurnsAtMidGearAndNormalFullGearCloseEveryLink) {
    kes::Model m = Factory();
    for (float revArm : {m.MidGear(), m.RevArmPositions[2], m.RevArmPositions[3]}) {
        m.SolveError = false;
        for (int a = 0; a < 360; a += 10) {
            Solve(m, static_cast<float>(a), revArm);
            EXPECT_FALSE(m.SolveError) << "rev arm " << revArm << " angle " << a;
            EXPECT_FLOAT_EQ(m.RevArmSetting, m.Points[kes::RevArmTop].X);
        }
    }
}

TEST(Solver, AtMidGearTheValveStemOnlyFollowsTheCrossheadLead) {
    kes::Model m = Factory();
    float lo = 1e9f, hi = -1e9f;
    for (int a = 0; a < 360; a += 10) {
        Solve(m, static_cast<float>(a), m.MidGear());
        lo = std::min(lo, m.Points[kes::ValveStemJoint].X);
        hi = std::max(hi, m.Points[kes::ValveStemJoint].X);
    }
    EXPECT_NEAR(lo, 18.68, 0.02);
    EXPECT_NEAR(hi, 19.18, 0.02);
}

TEST(Solver, DeadCentresGiveCrankPinAndPistonTravelEnds) {
    kes::Model m = Factory();
    Solve(m, 0.0f, m.MidGear());
    EXPECT_NEAR(m.Points[kes::CrankPin].X, 1.75, 1e-6);
    EXPECT_NEAR(m.Points[kes::CrankPin].Y, 0.0, 1e-6);
    EXPECT_NEAR(m.Solver.PistonTravel640, 0.0, 1e-3);
    Solve(m, 180.0f, m.MidGear());
    EXPECT_NEAR(m.Points[kes::CrankPin].X, -1.75, 1e-6);
    EXPECT_NEAR(m.Points[kes::CrankPin].Y, 0.0, 1e-5);
    EXPECT_NEAR(m.Solver.PistonTravel640, 640.0, 1e-2);
}

TEST(Solver, ForwardGearPutsTheValveAheadOfItsMidGearPlaceAtFrontDeadCentre) {
    // Outside admission: the front port must open for lead at front dead centre
    // in both gears, so the front steam opening there is positive.
    kes::Model m = Factory();
    Solve(m, 0.0f, m.RevArmPositions[2]);
    EXPECT_GT(m.Solver.FrontSteamOpen, 0.0f);
    Solve(m, 0.0f, m.RevArmPositions[3]);
    EXPECT_GT(m.Solver.FrontSteamOpen, 0.0f);
}

TEST(Solver, PortOpeningsAreConsistentWithTheEdgeLevels) {
    kes::Model m = Factory();
    Solve(m, 37.0f, m.RevArmPositions[2]);
    const auto& s = m.Solver;
    EXPECT_NEAR(s.FrontSteamOpen, s.FrontSteamOpenLevel() - s.ValveOffset, 1e-6);
    EXPECT_NEAR(s.FrontExhaustOpen, s.ValveOffset - s.FrontExhaustOpenLevel(), 1e-6);
    EXPECT_NEAR(s.RearSteamOpen, s.ValveOffset + s.RearSteamOpenLevel(), 1e-6);
    EXPECT_NEAR(s.RearExhaustOpen, -s.ValveOffset - s.RearExhaustOpenLevel(), 1e-6);
    EXPECT_NEAR(s.ValveOffset, 5.695f + m.Points[kes::ValveStemJoint].X - 24.624f, 1e-5);
}

TEST(Solver, IdenticalCallsGiveIdenticalPoints) {
    kes::Model a = Factory();
    kes::Model b = Factory();
    Solve(b, 123.0f, b.RevArmPositions[2]); // a different history first
    Solve(a, 250.0f, a.RevArmPositions[3]);
    Solve(b, 250.0f, b.RevArmPositions[3]);
    for (int i = 0; i < kes::PointCount; ++i) {
        EXPECT_EQ(a.Points[i].X, b.Points[i].X) << i;
        EXPECT_EQ(a.Points[i].Y, b.Points[i].Y) << i;
    }
    EXPECT_EQ(a.Solver.ValveOffset, b.Solver.ValveOffset);
}

TEST(Solver, TooLongEccentricCrankIsClampedAndFlagged) {
    kes::Model m = Factory();
    m.Frame.EccCrankLength = 4.0f; // longer than crank radius + eccentric radius
    m.SolveError = false;
    Solve(m, 30.0f, m.MidGear());
    EXPECT_TRUE(m.SolveError);
    EXPECT_NEAR(m.Solver.EccLeadAngle, std::asin(-0.999999) * 180.0 / 3.14159265358979 - 90.0,
                1e-3);
    EXPECT_TRUE(std::isfinite(m.Points[kes::ValveStemJoint].X));
}

TEST(Solver, ZeroStrokeIsGuardedAndFlagged) {
    kes::Model m = Factory();
    m.Frame.StrokeLength = 0.0f;
    m.SolveError = false;
    Solve(m, 90.0f, m.MidGear());
    EXPECT_TRUE(m.SolveError);
    EXPECT_FLOAT_EQ(m.Solver.CrankRadius, 0.00001f);
    EXPECT_TRUE(std::isfinite(m.Solver.PistonTravel640));
}

TEST(Solver, NoErrorIsFlaggedWhileBeepOnErrorIsOff) {
    kes::Model m = Factory();
    m.Frame.StrokeLength = 0.0f;
    m.BeepOnError = false;
    m.SolveError = false;
    Solve(m, 90.0f, m.MidGear());
    EXPECT_FALSE(m.SolveError);
}

TEST(Solver, UnreachableRadiusBarStopsAtTheIterationLimit) {
    kes::Model m = Factory();
    Solve(m, 40.0f, m.MidGear());
    const kes::PointSlot before7 = m.Points[kes::BellCrankVertPin];
    const kes::PointSlot before4 = m.Points[kes::ValveStemJoint];
    const float valveOffsetBefore = m.Solver.ValveOffset;

    m.Baker.RadiusBarLength = 50.0f;
    m.SolveError = false;
    Solve(m, 80.0f, m.MidGear());
    EXPECT_TRUE(m.SolveError);
    EXPECT_FLOAT_EQ(m.Solver.InnerStep, m.SolveTolerance - 1.0f);
    // The later points keep their previous positions; steps 12 and 13 are skipped.
    EXPECT_EQ(m.Points[kes::BellCrankVertPin].X, before7.X);
    EXPECT_EQ(m.Points[kes::BellCrankVertPin].Y, before7.Y);
    EXPECT_EQ(m.Points[kes::ValveStemJoint].X, before4.X);
    EXPECT_EQ(m.Solver.ValveOffset, valveOffsetBefore);
}

TEST(Solver, HostileDimensionsNeverHang) {
    const float hostile[] = {NAN, INFINITY, -INFINITY, 1e30f, -1e30f, 0.0f, -5.0f};
    for (int id : {2, 3, 6, 9, 10, 13, 20, 21, 26}) {
        for (float v : hostile) {
            kes::Model m = Factory();
            const float factory = kes::GetDimension(m, id);
            kes::SetDimension(m, id, v);
            for (int a = 0; a < 360; a += 45)
                Solve(m, static_cast<float>(a), m.MidGear());
            // The solver keeps no memory: with the dimension restored it
            // finds the factory gear again.
            kes::SetDimension(m, id, factory);
            Solve(m, 45.0f, m.MidGear());
            kes::Model fresh = Factory();
            Solve(fresh, 45.0f, fresh.MidGear());
            EXPECT_EQ(m.Points[kes::ValveStemJoint].X, fresh.Points[kes::ValveStemJoint].X)
                << "id " << id << " value " << v;
        }
    }
}

} // namespace
