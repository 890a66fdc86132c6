// SPDX-License-Identifier: GPL-3.0-or-later
// Repair before balancing on the sample engines, what to free when the
// free dimensions cannot repair, dimensions that move nothing, and the
// valve designed to targets.

#include "analysis/balance.h"
#include "analysis/valve_targets.h"
#include "analysis_designs.h"
#include "files/dimension_file.h"
#include "model/dimensions.h"
#include "model/mid_gear.h"
#include "model/scale_design.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace kes;

Model BigEngine() {
    Model m = analysis_test::Factory();
    const FileResult r =
        LoadDimensionsByExtension(m, std::string(KESTROVE_DATA) + "/big-engine.kvd");
    EXPECT_TRUE(r.Ok) << r.Message;
    return m;
}

// The factory gear with the steam laps lengthened: blind lead at every setting.
Model BlindLeadEngine() {
    Model m = analysis_test::Factory();
    SetDimension(m, 119, GetDimension(m, 119) + 0.06f);
    SetDimension(m, 118, GetDimension(m, 118) + 0.05f);
    FindMidGear(m);
    return m;
}

TEST(BalanceRepair, SampleEnginesEndFeasibleAndReportTheirAfterFigures) {
    Model scaled = BigEngine();
    ASSERT_TRUE(ScaleDesign(scaled, 1.3));
    const analysis_test::NamedDesign designs[] = {{"big engine", BigEngine()},
                                                  {"big engine x 1.3", scaled},
                                                  {"blind lead", BlindLeadEngine()}};
    for (const auto& [name, design] : designs) {
        SCOPED_TRACE(name);
        const BalanceDef def = DefaultBalanceDef(design);
        ASSERT_FALSE(EvaluateBalance(design, def).Feasible());
        const BalanceResult r = RunBalance(design, def);
        ASSERT_TRUE(r.Feasible) << r.Suggestion;
        EXPECT_EQ(r.Phase, 2);
        EXPECT_LE(r.Added.size(), 3u);
        // Applied to a copy, as Apply and -o do: a fresh report matches "after".
        Mechanism applied = design;
        ASSERT_TRUE(ApplyBalance(applied, r));
        const EventsReport fresh = ComputeReport(applied, def.Settings);
        ASSERT_EQ(fresh.Rows.size(), r.After.Rows.size());
        for (size_t i = 0; i < fresh.Rows.size(); ++i) {
            for (const PortEventSet* p :
                 {&fresh.Rows[i].Events.Front, &fresh.Rows[i].Events.Rear}) {
                ASSERT_TRUE(p->Lead);
                EXPECT_GT(*p->Lead, 0.0);
                EXPECT_TRUE(p->Pct(CutOff));
            }
            EXPECT_EQ(fresh.Rows[i].Events.Front.Lead, r.After.Rows[i].Events.Front.Lead);
            EXPECT_EQ(fresh.Rows[i].CutOffDiff, r.After.Rows[i].CutOffDiff);
        }
    }
}

TEST(BalanceRepair, OnlyTheWheelFreeEndsInfeasibleWithWhatToFree) {
    const Model m = BigEngine();
    BalanceDef def = DefaultBalanceDef(m);
    def.AddFreeWhenStuck = false;
    def.Free = {DefaultFreeDim(m, 1)}; // DriverDiameter
    const BalanceResult r = RunBalance(m, def);
    EXPECT_FALSE(r.Feasible);
    EXPECT_FALSE(r.Changed());
    ASSERT_EQ(r.LeftOut.size(), 1u);
    EXPECT_EQ(NoEffectText(r.LeftOut[0]), "Driver Dia has no effect on the events: left as it is");
    EXPECT_FALSE(r.Failures.empty());
    const bool namesLapOrLever = r.Suggestion.find("steam lap") != std::string::npos ||
                                 r.Suggestion.find("combination lever") != std::string::npos;
    EXPECT_TRUE(namesLapOrLever) << r.Suggestion;
    EXPECT_EQ(r.Suggestion.rfind("The leads are negative at every setting: free ", 0), 0u)
        << r.Suggestion;
    // The settings near mid gear never open: said so, not as a lost cut-off.
    bool noAdmission = false;
    for (const std::string& line : BalanceFailureLines(r.Failures, 0.0))
        noAdmission = noAdmission || line.find("does not uncover the ports") != std::string::npos;
    EXPECT_TRUE(noAdmission);
}

TEST(BalanceRepair, DimensionsThatMoveNothingAreLeftAsTheyAre) {
    const Model m = analysis_test::Factory();
    BalanceDef def = DefaultBalanceDef(m);
    def.Free.push_back(DefaultFreeDim(m, 1));   // the wheel
    def.Free.push_back(DefaultFreeDim(m, 103)); // the bore
    const BalanceResult r = RunBalance(m, def);
    ASSERT_TRUE(r.Feasible);
    EXPECT_EQ(r.LeftOut, (std::vector<int>{1, 103}));
    for (const BalanceChange& c : r.Changes)
        if (c.Id == 1 || c.Id == 103) {
            EXPECT_EQ(c.After, c.Before);
        }
    EXPECT_TRUE(r.Changed());
}

TEST(ValveTargets, FactoryDesignMeetsLeadAndFullGearCutOff) {
    const Model m = analysis_test::Factory();
    TargetsDef def = DefaultTargetsDef(m);
    def.Lead = 0.03;
    def.FullGearCutOffPct = 75.0;
    const TargetsResult r = RunTargets(m, def);
    ASSERT_TRUE(r.Error.empty()) << r.Error;
    ASSERT_TRUE(r.Feasible);
    // Measured afresh on the design with the changes applied.
    Mechanism applied = m;
    for (const BalanceChange& c : r.Changes)
        SetDimension(applied, c.Id, c.After);
    FindMidGear(applied);
    const TargetsReached t = MeasureTargets(applied);
    ASSERT_TRUE(t.LeadFront && t.LeadRear && t.MeanFullGearCutOff && t.FrontRearSpread);
    EXPECT_NEAR(*t.LeadFront, 0.03, 0.002);
    EXPECT_NEAR(*t.LeadRear, 0.03, 0.002);
    EXPECT_NEAR(*t.MeanFullGearCutOff, 75.0, 1.0);
    EXPECT_EQ(*t.FrontRearSpread, *r.After.FrontRearSpread);
    bool lapChanged = false;
    for (const BalanceChange& c : r.Changes)
        lapChanged = lapChanged || c.Id == 119 || c.Id == 118;
    EXPECT_TRUE(lapChanged);
}

TEST(ValveTargets, ExhaustLapIsSetExactlyAndBadTargetsAreRefused) {
    const Model m = analysis_test::Factory();
    TargetsDef def = DefaultTargetsDef(m);
    def.ExhaustLap = -0.02;
    const TargetsResult r = RunTargets(m, def);
    ASSERT_TRUE(r.After.ExhaustLapFront && r.After.ExhaustLapRear);
    EXPECT_NEAR(*r.After.ExhaustLapFront, -0.02, 1e-6);
    EXPECT_NEAR(*r.After.ExhaustLapRear, -0.02, 1e-6);
    for (double bad : {0.0, 100.0, std::nan("")}) {
        TargetsDef d = def;
        d.FullGearCutOffPct = bad;
        EXPECT_FALSE(RunTargets(m, d).Error.empty());
    }
}

} // namespace
