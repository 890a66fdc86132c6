// SPDX-License-Identifier: GPL-3.0-or-later
// The MEP term of the balancing through a probe made up here (the cylinder
// model has its own tests): its weighted squares at the chosen rows, a
// probe that gives nothing or NaN making the design infeasible, and a
// weight of 0 leaving every result exactly as it was.

#include "analysis/balance.h"
#include "analysis_designs.h"
#include "model/dimensions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>

namespace {

using namespace kes;

double Sq(double v) {
    return v * v;
}

// Front and rear differ by an amount that follows the setting, the
// direction and a dimension, so a misplaced row or a stale design shows.
BalanceMep MadeUpMep(const Mechanism& m, double setting, RunDirection dir) {
    const double rod = GetDimension(m, 10);
    return {50.0 + setting + 0.1 * rod, dir == RunDirection::Forward ? 49.0 : 51.5 + 0.5 * setting};
}

TEST(BalanceMepTerm, AddsTheWeightedSquaresAtTheChosenRowsOnEveryLane) {
    const Model m = analysis_test::Factory();
    BalanceDef def = DefaultBalanceDef(m);
    def.Weights.MidGearLead = 0.5; // mid gear is evaluated too, outside the MEP term
    const double base = *EvaluateBalance(m, def).Objective;
    std::atomic<int> calls{0};
    def.Mep = [&calls](const Mechanism& lane, double setting, RunDirection dir) {
        ++calls;
        return std::optional<BalanceMep>(MadeUpMep(lane, setting, dir));
    };
    double sum = 0.0;
    for (const ReportRow& row : ComputeReport(m, def.Settings).Rows) {
        const BalanceMep e = MadeUpMep(m, row.Setting, row.Direction);
        sum += Sq(e.FrontPct - e.RearPct);
    }
    for (unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(threads);
        def.Threads = threads;
        def.Weights.MepFrontRear = 0.0;
        calls = 0;
        const BalanceEvaluation off = EvaluateBalance(m, def);
        EXPECT_EQ(calls, 0) << "a weight of 0 runs no cylinder model";
        ASSERT_TRUE(off.Objective);
        EXPECT_EQ(*off.Objective, base);
        def.Weights.MepFrontRear = 3.0;
        const BalanceEvaluation on = EvaluateBalance(m, def);
        ASSERT_TRUE(on.Feasible()) << BalanceProblemText(on.Problem);
        EXPECT_EQ(calls, static_cast<int>(def.Settings.Offsets.size()));
        ASSERT_TRUE(on.Objective);
        EXPECT_NEAR(*on.Objective - base, 3.0 * sum, 1e-9 * (base + 3.0 * sum));
    }
}

TEST(BalanceMepTerm, NoMepOrNotANumberIsInfeasibleWithoutANumberInJ) {
    const Model m = analysis_test::Factory();
    BalanceDef def = DefaultBalanceDef(m);
    def.Weights.MepFrontRear = 1.0;
    const double refused = ComputeReport(m, def.Settings).Rows[2].Setting;
    for (const double bad : {std::numeric_limits<double>::quiet_NaN(), -1.0}) {
        SCOPED_TRACE(bad);
        def.Mep = [&](const Mechanism& lane, double setting, RunDirection dir) {
            if (std::fabs(setting - refused) > 1e-6)
                return std::optional(MadeUpMep(lane, setting, dir));
            if (std::isnan(bad)) return std::optional(BalanceMep{bad, 50.0});
            return std::optional<BalanceMep>();
        };
        const BalanceEvaluation ev = EvaluateBalance(m, def);
        EXPECT_EQ(ev.Problem, BalanceProblem::NoMep);
        EXPECT_NEAR(ev.ProblemSetting, refused, 1e-6);
        EXPECT_FALSE(ev.Objective);
        EXPECT_GT(ev.Infeasibility, 0.0);
        EXPECT_TRUE(std::isfinite(ev.Infeasibility));
    }
}

TEST(BalanceMepTerm, WeightZeroLeavesTheRunBitForBit) {
    Model m = analysis_test::Factory();
    SetDimension(m, 13, 11.13f);
    BalanceDef def = DefaultBalanceDef(m);
    def.MaxEvaluations = 80;
    const BalanceResult plain = RunBalance(m, def);
    def.Mep = [](const Mechanism& lane, double setting, RunDirection dir) {
        return std::optional<BalanceMep>(MadeUpMep(lane, setting, dir));
    };
    const BalanceResult withProbe = RunBalance(m, def);
    ASSERT_TRUE(plain.Feasible && withProbe.Feasible);
    EXPECT_EQ(withProbe.Evaluations, plain.Evaluations);
    EXPECT_EQ(*withProbe.ObjectiveAfter, *plain.ObjectiveAfter);
    ASSERT_EQ(withProbe.Changes.size(), plain.Changes.size());
    for (size_t i = 0; i < plain.Changes.size(); ++i)
        EXPECT_EQ(withProbe.Changes[i].After, plain.Changes[i].After);
    // A positive weight moves the optimum: the made-up term pulls another way.
    def.Weights.MepFrontRear = 1.0;
    const BalanceResult weighted = RunBalance(m, def);
    ASSERT_TRUE(weighted.Feasible);
    bool moved = false;
    for (size_t i = 0; i < plain.Changes.size(); ++i)
        moved = moved || weighted.Changes[i].After != plain.Changes[i].After;
    EXPECT_TRUE(moved);
}

} // namespace
