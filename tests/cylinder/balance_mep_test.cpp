// SPDX-License-Identifier: GPL-3.0-or-later
// The balancing's MEP term on the real cylinder model: the probe gives what
// the performance figures give, refuses data it cannot run on, and a
// positive weight evens the front and rear MEP of the factory gear.

#include "cylinder/balance_mep.h"
#include "cylinder/performance.h"

#include "analysis/balance.h"
#include "model/dimensions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace kes;

Model Factory() {
    Model m;
    InitialiseModel(m);
    return m;
}

double Sq(double v) {
    return v * v;
}

TEST(BalanceMep, IsThePerformanceMepInPercentOfTheBoilerPressure) {
    const Model m = Factory();
    for (EngineUnits units : {EngineUnits::Imperial, EngineUnits::Metric}) {
        const EngineData e = DefaultEngineData(units);
        const double speed = BalanceMepSpeed(units);
        std::string error;
        const BalanceMepProbe probe = MakeBalanceMepProbe(m, e, std::nullopt, error);
        ASSERT_TRUE(probe) << error;
        for (RunDirection dir : {RunDirection::Forward, RunDirection::Reverse}) {
            for (double pct : {25.0, 60.0}) {
                SCOPED_TRACE(std::string(EngineUnitsText(units)) + " " + RunDirectionText(dir) +
                             " " + std::to_string(pct));
                PerformanceRequest r;
                r.Setting = SettingForCutOff(m, dir, pct).value_or(0.0);
                r.Direction = dir;
                r.Speed = speed;
                const PerformanceResult p = ComputePerformance(m, e, r);
                ASSERT_TRUE(p.Ok) << p.Error;
                const std::optional<BalanceMep> mep = probe(m, r.Setting, dir);
                ASSERT_TRUE(mep);
                EXPECT_NEAR(mep->FrontPct, 100.0 * p.Front.Mep / e.BoilerPressure, 1e-9);
                EXPECT_NEAR(mep->RearPct, 100.0 * p.Rear.Mep / e.BoilerPressure, 1e-9);
                EXPECT_GT(mep->FrontPct, 10.0);
                EXPECT_LT(mep->FrontPct, 100.0);
            }
        }
    }
}

TEST(BalanceMep, RefusesDataItCannotRunOnAndGivesNothingWhereTheGearFails) {
    const Model m = Factory();
    std::string error;
    EngineData bad = DefaultEngineData();
    bad.BoilerPressure = -5.0;
    EXPECT_FALSE(MakeBalanceMepProbe(m, bad, std::nullopt, error));
    EXPECT_NE(error.find("boiler_pressure"), std::string::npos) << error;
    const EngineData e = DefaultEngineData();
    for (double speed : {0.0, -3.0, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(MakeBalanceMepProbe(m, e, speed, error)) << speed;
        EXPECT_FALSE(error.empty());
    }
    const BalanceMepProbe probe = MakeBalanceMepProbe(m, e, 10.0, error);
    ASSERT_TRUE(probe) << error;
    EXPECT_FALSE(probe(m, std::numeric_limits<double>::quiet_NaN(), RunDirection::Forward));
    // Far outside the reverse arm's range the linkage cannot close.
    EXPECT_FALSE(probe(m, m.MidGear() + 50.0 * m.Frame.RevArmMax, RunDirection::Forward));
    Model noWheel = m;
    noWheel.Frame.DriverDiameter = 0.0f;
    EXPECT_FALSE(probe(noWheel, m.MidGear(), RunDirection::Forward));
}

// Sum of (front - rear)^2 over the def's settings, from the probe.
double MepSpread(const Mechanism& m, const BalanceDef& def) {
    double sum = 0.0;
    for (const ReportRow& row : ComputeReport(m, def.Settings).Rows) {
        const std::optional<BalanceMep> mep = def.Mep(m, row.Setting, row.Direction);
        EXPECT_TRUE(mep);
        if (mep) sum += Sq(mep->FrontPct - mep->RearPct);
    }
    return sum;
}

TEST(BalanceMep, APositiveWeightEvensTheFrontAndRearMep) {
    const Model m = Factory();
    BalanceDef def = DefaultBalanceDef(m);
    // The exhaust laps move release and compression, which the cut-off and
    // lead terms do not see, so without the MEP term they stay; with it they
    // even the work of the ends. Four settings keep the test quick.
    def.Free = {DefaultFreeDim(m, 10), DefaultFreeDim(m, 120), DefaultFreeDim(m, 121)};
    def.AddFreeWhenStuck = false;
    def.Settings.Offsets = {0.5 * m.Frame.RevArmNorm, -0.5 * m.Frame.RevArmNorm, m.Frame.RevArmNorm,
                            -m.Frame.RevArmNorm};
    def.MaxEvaluations = 80;
    std::string error;
    def.Mep = MakeBalanceMepProbe(m, DefaultEngineData(), std::nullopt, error);
    ASSERT_TRUE(def.Mep) << error;
    const BalanceResult plain = RunBalance(m, def);
    def.Weights.MepFrontRear = 20.0;
    const BalanceResult weighted = RunBalance(m, def);
    ASSERT_TRUE(plain.Feasible && weighted.Feasible);
    const double before = MepSpread(plain.Balanced, def);
    const double after = MepSpread(weighted.Balanced, def);
    EXPECT_LT(after, 0.5 * before) << "weight 0: " << before << ", weighted: " << after;
    // The term is paid for in cut-off balance, not in feasibility.
    EXPECT_GE(*weighted.ObjectiveAfter, *plain.ObjectiveAfter);
}

} // namespace
