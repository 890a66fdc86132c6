// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/precise_solve.h"
#include "analysis_designs.h"
#include "model/solver.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using analysis_test::AllDesigns;
using analysis_test::Factory;

// SolveLinkage's searches end with a step of 0.00016 of the searched height
// (heights up to about 9 here) and carry floats; what they leave is a
// couple of thousandths at most.
constexpr double FloatSearchTolerance = 2.5e-3;
constexpr double ClosureResidual = 1e-10;

// The points SolveLinkage writes.
constexpr int SolvedPoints[] = {1, 2, 3, 4, 5, 7, 8, 9, 10, 12, 14, 15, 21};

double Dist(const kes::Vec2& a, const kes::Vec2& b) {
    return std::hypot(a.X - b.X, a.Y - b.Y);
}

std::vector<double> Settings(const kes::Model& m) {
    const double mid = m.MidGear(), norm = m.Frame.RevArmNorm;
    return {mid, mid + 0.5 * norm, mid - 0.5 * norm, mid + norm, mid - norm};
}

TEST(PreciseSolve, AgreesWithSolveLinkageOverFullTurns) {
    for (auto& [name, m] : AllDesigns()) {
        kes::PreciseLinkage linkage(m);
        for (double setting : Settings(m)) {
            m.SolveError = false;
            double worst = 0.0;
            for (int a = 0; a < 360; a += 3) {
                m.DriverAngle = static_cast<float>(a);
                m.RevArmSetting = static_cast<float>(setting);
                kes::SolveLinkage(m);
                kes::SolvePortOpenings(m);
                const kes::PreciseSolution s = linkage.Solve(a, setting);
                ASSERT_TRUE(s.Closes()) << name << " setting " << setting << " angle " << a;
                for (int i : SolvedPoints) {
                    worst = std::max(worst, std::fabs(s.P[i].X - m.Points[i].X));
                    worst = std::max(worst, std::fabs(s.P[i].Y - m.Points[i].Y));
                }
                EXPECT_NEAR(s.ValveOffset, m.Solver.ValveOffset, FloatSearchTolerance);
            }
            EXPECT_FALSE(m.SolveError) << name;
            EXPECT_LT(worst, FloatSearchTolerance) << name << " setting " << setting;
        }
    }
}

// Every link has its own length in the precise solution.
TEST(PreciseSolve, EveryLinkClosesToItsLength) {
    for (auto& [name, m] : AllDesigns()) {
        kes::PreciseLinkage linkage(m);
        const auto& f = m.Frame;
        const auto& b = m.Baker;
        std::optional<kes::PreciseSeed> seed;
        for (double setting : Settings(m)) {
            for (int a = 0; a < 360; a += 7) {
                const kes::PreciseSolution s = linkage.Solve(a, setting, seed);
                ASSERT_TRUE(s.Closes()) << name;
                seed = s.Seed();
                const auto& P = s.P;
                const struct {
                    int A, B;
                    double Length;
                } links[] = {
                    {kes::RevArmRadiusPin, kes::GearConRodRadiusPin, b.RadiusBarLength},
                    {kes::BellCrankHorzPin, kes::GearConRodRadiusPin, b.GearConRodUpper},
                    {kes::GearConRodRadiusPin, kes::EccRodFrontPin,
                     std::hypot(double{b.GearConRodLower}, double{b.GearConRodBackset})},
                    {kes::EccCrankPin, kes::EccRodFrontPin, f.EccRodLength},
                    {kes::BellCrankPivotAbs, kes::BellCrankHorzPin, b.BellCrankHorz},
                    {kes::BellCrankPivotAbs, kes::BellCrankVertPin,
                     std::hypot(double{b.BellCrankVert}, double{b.BellCrankBackSet})},
                    {kes::BellCrankVertPin, kes::ValveRodFrontPin, f.ValveRodLength},
                    {kes::ValveRodFrontPin, kes::CombLeverLowerPin, f.CombLeverLower},
                    {kes::CombLeverLowerPin, kes::UnionLinkRearPin, f.UnionLinkLength},
                    {kes::ValveRodFrontPin, kes::ValveStemJoint,
                     std::hypot(double{f.CombLeverUpper}, double{f.CombLeverBackSet})},
                    {kes::CrankPin, kes::Crosshead, f.MainRodLength},
                    {kes::EccCrankPin, kes::CrankPin, f.EccCrankLength},
                };
                for (const auto& l : links)
                    EXPECT_NEAR(Dist(P[l.A], P[l.B]), l.Length, ClosureResidual)
                        << name << " link " << l.A << "-" << l.B << " angle " << a;
                EXPECT_DOUBLE_EQ(P[kes::ValveStemJoint].Y,
                                 static_cast<double>(m.Points[kes::Crosshead].Y) +
                                     m.Cylinder[kes::ValveStemToCylCL]);
            }
        }
    }
}

TEST(PreciseSolve, ASeedFromANeighbourGivesTheSameAssembly) {
    kes::Model m = Factory();
    kes::PreciseLinkage linkage(m);
    const double setting = m.MidGear() + 1.2;
    kes::PreciseSolution previous = linkage.Solve(0.0, setting);
    for (int a = 1; a < 360; ++a) {
        const kes::PreciseSolution chained = linkage.Solve(a, setting, previous.Seed());
        const kes::PreciseSolution fresh = linkage.Solve(a, setting);
        ASSERT_TRUE(chained.Closes() && fresh.Closes());
        EXPECT_NEAR(chained.ValveOffset, fresh.ValveOffset, 1e-10) << a;
        EXPECT_NEAR(chained.P[kes::EccRodFrontPin].Y, fresh.P[kes::EccRodFrontPin].Y, 1e-9);
        previous = chained;
    }
}

bool AllFinite(const kes::PreciseSolution& s) {
    for (const kes::Vec2& p : s.P)
        if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return false;
    return std::isfinite(s.ValveOffset) && std::isfinite(s.PistonX);
}

TEST(PreciseSolve, ReportsWhyALinkageCannotClose) {
    const struct {
        const char* What;
        int Id;
        float Value;
        double SettingOffset;
        kes::ClosureFailure Expected;
    } cases[] = {
        {"return crank longer than both cranks", 11, 4.0f, 0.0,
         kes::ClosureFailure::EccentricCrank},
        {"radius bar far too short", 20, 0.01f, 0.0, kes::ClosureFailure::RadiusBar},
        {"radius bar far too long", 20, 4.0f, 0.0, kes::ClosureFailure::RadiusBar},
        {"union link far too long", 6, 9.0f, 0.0, kes::ClosureFailure::CombinationLever},
        {"main rod shorter than the cylinder's height", 102, 20.0f, 0.0,
         kes::ClosureFailure::MainRod},
        {"setting beyond the reverse arm's reach", 0, 0.0f, 5.0, kes::ClosureFailure::ReverseArm},
        {"a dimension that is not a number", 13, std::nanf(""), 0.0,
         kes::ClosureFailure::BadDimensions},
    };
    for (const auto& c : cases) {
        kes::Model m = Factory();
        if (c.Id) kes::SetDimension(m, c.Id, c.Value);
        kes::PreciseLinkage linkage(m);
        const kes::PreciseSolution s = linkage.Solve(30.0, m.MidGear() + c.SettingOffset);
        EXPECT_EQ(s.Failure, c.Expected) << c.What;
        EXPECT_FALSE(s.Closes()) << c.What;
        EXPECT_TRUE(AllFinite(s)) << c.What;
    }
}

TEST(PreciseSolve, PistonPositionFollowsTheCrankAlone) {
    kes::Model m = Factory();
    kes::PreciseLinkage linkage(m);
    EXPECT_NEAR(*linkage.PistonX(0.0), 1.75 + 16.75, 1e-12);
    EXPECT_NEAR(*linkage.PistonX(180.0), 16.75 - 1.75, 1e-12);
    const kes::PreciseSolution s = linkage.Solve(77.0, m.MidGear());
    EXPECT_DOUBLE_EQ(s.PistonX, *linkage.PistonX(77.0));
    kes::SetDimension(m, 102, 30.0f);
    EXPECT_FALSE(kes::PreciseLinkage(m).PistonX(90.0).has_value());
}

} // namespace
