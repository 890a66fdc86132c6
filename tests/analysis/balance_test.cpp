// SPDX-License-Identifier: GPL-3.0-or-later
// The balancing: the objective as defined, the optimiser's results, an
// infeasible start, the bounds, cancelling, and a bad definition.

#include "analysis/balance.h"
#include "analysis_designs.h"
#include "model/dimensions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace kes;

// The factory gear and a made-up engine; both start feasible.
std::vector<analysis_test::NamedDesign> BalancedDesigns() {
    return {{"factory", analysis_test::Factory()},
            {"big offset engine", analysis_test::BigOffsetEngine()}};
}

double Sq(double v) {
    return v * v;
}

// J written out from a fresh report, independently of the objective's code.
double ObjectiveFromReport(const Mechanism& m, const BalanceDef& def) {
    const EventsReport r = ComputeReport(m, def.Settings);
    double j = 0.0;
    for (const ReportRow& row : r.Rows)
        j += Sq(*row.CutOffDiff) + Sq(*row.LeadDiff / 0.01);
    return j;
}

TEST(BalanceObjective, IsTheSumOfSquaredFrontRearDifferences) {
    for (const auto& [name, design] : BalancedDesigns()) {
        SCOPED_TRACE(name);
        const BalanceDef def = DefaultBalanceDef(design);
        const BalanceEvaluation ev = EvaluateBalance(design, def);
        ASSERT_TRUE(ev.Feasible()) << BalanceProblemText(ev.Problem);
        ASSERT_TRUE(ev.Objective);
        EXPECT_NEAR(*ev.Objective, ObjectiveFromReport(design, def), 1e-9 * *ev.Objective);
    }
}

TEST(BalanceObjective, OptionalTermsAddTheirWeightedSquares) {
    const Model m = analysis_test::Factory();
    BalanceDef def = DefaultBalanceDef(m);
    const double base = *EvaluateBalance(m, def).Objective;
    ReportDef probe;
    probe.Offsets = {0.0, m.Frame.RevArmNorm, -m.Frame.RevArmNorm};
    const EventsReport r = ComputeReport(m, probe);
    // Rows: mid gear forward and reverse, full gear forward, full gear reverse.
    ASSERT_EQ(r.Rows.size(), 4u);
    const auto cut = [&](size_t row, bool front) {
        const PortEventSet& p = front ? r.Rows[row].Events.Front : r.Rows[row].Events.Rear;
        return *p.Pct(CutOff);
    };
    const auto lead = [&](size_t row, bool front) {
        return *(front ? r.Rows[row].Events.Front : r.Rows[row].Events.Rear).Lead;
    };

    struct Case {
        const char* Name;
        BalanceWeights Weights;
        double Added;
    };
    BalanceWeights fr, ml, fg;
    fr.ForwardReverse = 2.0;
    ml.MidGearLead = 0.5;
    ml.MidGearLeadTarget = 0.03;
    fg.FullGearCutOff = 0.25;
    fg.FullGearCutOffTarget = 70.0;
    double frSum = 0.0;
    const ReportDef settings = DefaultBalanceSettings(m);
    const EventsReport all = ComputeReport(m, settings);
    for (size_t i = 0; i + 1 < all.Rows.size(); i += 2) // forward, then its reverse
        frSum +=
            Sq(*all.Rows[i].Events.Front.Pct(CutOff) - *all.Rows[i + 1].Events.Front.Pct(CutOff)) +
            Sq(*all.Rows[i].Events.Rear.Pct(CutOff) - *all.Rows[i + 1].Events.Rear.Pct(CutOff));
    double mlSum = 0.0, fgSum = 0.0;
    for (size_t row : {0u, 1u})
        for (bool front : {true, false})
            mlSum += Sq((lead(row, front) - 0.03) / 0.01);
    for (size_t row : {2u, 3u})
        for (bool front : {true, false})
            fgSum += Sq(cut(row, front) - 70.0);
    const Case cases[] = {{"forward against reverse", fr, 2.0 * frSum},
                          {"mid-gear lead", ml, 0.5 * mlSum},
                          {"full-gear cut-off", fg, 0.25 * fgSum}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        def.Weights = c.Weights;
        const BalanceEvaluation ev = EvaluateBalance(m, def);
        ASSERT_TRUE(ev.Objective);
        EXPECT_GT(c.Added, 0.0);
        EXPECT_NEAR(*ev.Objective - base, c.Added, 1e-9 * (base + c.Added));
    }
}

TEST(BalanceObjective, OneLaneAndTwoLanesAgreeExactly) {
    Model m = analysis_test::Factory();
    SetDimension(m, 13, 11.13f); // off the factory values, so no figure is one seen before
    BalanceDef def = DefaultBalanceDef(m);
    def.Threads = 1;
    const BalanceEvaluation one = EvaluateBalance(m, def);
    def.Threads = 2;
    const BalanceEvaluation two = EvaluateBalance(m, def);
    ASSERT_TRUE(one.Objective && two.Objective);
    EXPECT_EQ(*one.Objective, *two.Objective);
}

TEST(Balance, FallsOnEveryDesignWithinTheBounds) {
    for (const auto& [name, design] : BalancedDesigns()) {
        SCOPED_TRACE(name);
        const BalanceDef def = DefaultBalanceDef(design);
        const BalanceResult r = RunBalance(design, def);
        ASSERT_TRUE(r.Error.empty()) << r.Error;
        ASSERT_TRUE(r.Feasible);
        ASSERT_TRUE(r.ObjectiveBefore && r.ObjectiveAfter);
        EXPECT_LT(*r.ObjectiveAfter, 0.9 * *r.ObjectiveBefore);
        EXPECT_GT(r.Evaluations, 1);
        EXPECT_LE(r.Evaluations, def.MaxEvaluations + 1);
        ASSERT_EQ(r.Changes.size(), def.Free.size());
        for (size_t i = 0; i < def.Free.size(); ++i) {
            const BalanceChange& c = r.Changes[i];
            EXPECT_EQ(c.Id, def.Free[i].Id);
            EXPECT_EQ(c.Before, GetDimension(design, c.Id));
            EXPECT_EQ(c.After, GetDimension(r.Balanced, c.Id));
            EXPECT_GE(c.After, static_cast<float>(def.Free[i].Lower));
            EXPECT_LE(c.After, static_cast<float>(def.Free[i].Upper));
        }
        // The result is what a fresh look at the balanced design gives.
        const BalanceEvaluation fresh = EvaluateBalance(r.Balanced, def);
        EXPECT_TRUE(fresh.Feasible());
        EXPECT_EQ(*fresh.Objective, *r.ObjectiveAfter);
        Mechanism applied = design;
        EXPECT_TRUE(ApplyBalance(applied, r));
        EXPECT_EQ(applied.MidGear(), r.Balanced.MidGear());
    }
}

TEST(Balance, KeepsEveryMethodWithinNarrowBounds) {
    const Model m = analysis_test::Factory();
    for (BalanceMethod method :
         {BalanceMethod::Bobyqa, BalanceMethod::Cobyla, BalanceMethod::NelderMead}) {
        SCOPED_TRACE(BalanceMethodName(method));
        BalanceDef def = DefaultBalanceDef(m);
        def.Method = method;
        def.MaxEvaluations = 60;
        for (BalanceFreeDim& f : def.Free) {
            const double v = GetDimension(m, f.Id);
            f.Lower = v - 0.004;
            f.Upper = v + 0.01;
        }
        const BalanceResult r = RunBalance(m, def);
        ASSERT_TRUE(r.Feasible);
        EXPECT_LE(r.Evaluations, 61);
        EXPECT_LE(*r.ObjectiveAfter, *r.ObjectiveBefore);
        for (size_t i = 0; i < def.Free.size(); ++i) {
            EXPECT_GE(r.Changes[i].After, static_cast<float>(def.Free[i].Lower));
            EXPECT_LE(r.Changes[i].After, static_cast<float>(def.Free[i].Upper));
        }
    }
}

TEST(Balance, RepairsAnInfeasibleStartThenBalances) {
    struct Case {
        const char* Name;
        Model Design;
        BalanceProblem Problem;
    };
    Model farReverse = analysis_test::Factory();
    farReverse.Frame.RevArmMax = 2.5f; // the radius bar cannot follow so far in reverse
    const Case cases[] = {
        {"does not close at full gear", farReverse, BalanceProblem::DoesNotClose},
        // Its front lead is negative at short forward settings.
        {"altered gear", analysis_test::AlteredGear(), BalanceProblem::NoLead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const BalanceDef def = DefaultBalanceDef(c.Design);
        const BalanceResult r = RunBalance(c.Design, def);
        EXPECT_TRUE(r.Error.empty());
        EXPECT_FALSE(r.Start.Feasible());
        EXPECT_EQ(r.Start.Problem, c.Problem);
        ASSERT_TRUE(r.Feasible);
        EXPECT_TRUE(r.Repaired());
        EXPECT_EQ(r.Phase, 2);
        EXPECT_TRUE(r.Failures.empty());
        EXPECT_TRUE(FindBalanceFailures(r.Balanced, def).empty());
        EXPECT_TRUE(EvaluateBalance(r.Balanced, def).Feasible());
    }
}

TEST(Balance, CancelKeepsTheBestSoFar) {
    const Model m = analysis_test::Factory();
    const BalanceDef def = DefaultBalanceDef(m);
    std::atomic<bool> cancel{false};
    std::atomic<int> seen{0};
    double bestSeen = 0.0;
    int afterCancel = 0;
    BalanceControl control;
    control.Cancel = &cancel;
    control.Progress = [&](const BalanceProgress& p) {
        if (cancel) ++afterCancel;
        bestSeen = *p.Best;
        seen = p.Evaluations;
    };
    // Cancelled from another thread, as the window's button does.
    std::thread canceller([&] {
        while (seen < 12)
            std::this_thread::yield();
        cancel = true;
    });
    const BalanceResult r = RunBalance(m, def, control);
    canceller.join();
    EXPECT_TRUE(r.Cancelled);
    ASSERT_TRUE(r.Feasible);
    // The evaluation running when the flag was set may finish; no other starts.
    EXPECT_LE(afterCancel, 1);
    EXPECT_LE(r.Evaluations, seen + 1);
    EXPECT_EQ(*r.ObjectiveAfter, bestSeen);
    EXPECT_LT(*r.ObjectiveAfter, *r.ObjectiveBefore);
}

TEST(Balance, RefusesABadDefinition) {
    const Model m = analysis_test::Factory();
    struct Case {
        const char* Name;
        void (*Spoil)(BalanceDef&);
    };
    const Case cases[] = {
        {"unknown id", [](BalanceDef& d) { d.Free[0].Id = 99; }},
        {"reversed bounds", [](BalanceDef& d) { std::swap(d.Free[1].Lower, d.Free[1].Upper); }},
        {"twice", [](BalanceDef& d) { d.Free[2].Id = d.Free[0].Id; }},
        {"none free", [](BalanceDef& d) { d.Free.clear(); }},
        {"no evaluations", [](BalanceDef& d) { d.MaxEvaluations = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        BalanceDef def = DefaultBalanceDef(m);
        c.Spoil(def);
        const BalanceResult r = RunBalance(m, def);
        EXPECT_FALSE(r.Error.empty());
        EXPECT_EQ(r.Evaluations, 0);
        EXPECT_FALSE(r.Feasible);
    }
}

TEST(BalanceDefaults, FreeTheFourDimensionsWithTenPercentBounds) {
    const Model m = analysis_test::Factory();
    const BalanceDef def = DefaultBalanceDef(m);
    ASSERT_EQ(def.Free.size(), 4u);
    EXPECT_EQ(def.Free[0].Id, 10); // valve rod
    EXPECT_EQ(def.Free[3].Id, 4);  // drop link
    EXPECT_NEAR(def.Free[0].Lower, m.Frame.ValveRodLength * 0.9, 1e-6);
    EXPECT_NEAR(def.Free[3].Upper, 1.1, 1e-6);
    // A short dimension gets at least +/- 0.1.
    Model small = m;
    SetDimension(small, 4, 0.3f);
    EXPECT_NEAR(DefaultFreeDim(small, 4).Lower, 0.2, 1e-6);
    EXPECT_EQ(def.Settings.Offsets.size(), 8u);
    EXPECT_EQ(def.Method, BalanceMethod::Bobyqa);
    EXPECT_EQ(def.MaxEvaluations, 2000);
}

} // namespace
