// SPDX-License-Identifier: GPL-3.0-or-later
// The cylinder model's limiting cases and its behaviour on the factory gear:
// instant valve events against the ideal card, the hyperbolic card's closed
// form, the horsepower formula, the published MEP against cut-off at walking
// pace, MEP against speed, superheat against steam rate, and hostile data.

#include "cylinder/cylinder_model.h"
#include "cylinder/performance.h"

#include "analysis/dead_centres.h"
#include "model/dimensions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

using namespace kes;

Model Factory() {
    Model m;
    InitialiseModel(m);
    return m;
}

PerformanceRequest AtCutOff(const Model& m, double pct, double speed) {
    PerformanceRequest r;
    const std::optional<double> s = SettingForCutOff(m, RunDirection::Forward, pct);
    EXPECT_TRUE(s) << pct;
    r.Setting = s.value_or(0.0);
    r.Speed = speed;
    return r;
}

TEST(IdealCard, HyperbolicWithoutClearanceIsTheClosedForm) {
    for (double c : {0.10, 0.25, 0.50, 0.75})
        EXPECT_NEAR(IdealCardMep(c, 1.0, 0.0, 0.0, 1.0, 0.0), c * (1.0 + std::log(1.0 / c)), 1e-12)
            << c;
    // Back pressure takes its own rectangle off; no expansion leaves c - b.
    EXPECT_NEAR(IdealCardMep(0.5, 1.0, 0.0, 0.0, 1.0, 0.1), 0.5 * (1.0 + std::log(2.0)) - 0.1,
                1e-12);
    EXPECT_NEAR(IdealCardMep(1.0, 1.0, 0.0, 0.0, 1.3, 0.0), 1.0, 1e-12);
}

TEST(CylinderModel, InstantEventsGiveTheIdealCard) {
    const double p1 = 1.48e6, pb = 1.22e5;
    const auto gas = MakeSteamGas(p1, 0.0, pb);
    ASSERT_TRUE(gas);
    const double stroke = 0.6, bore = 0.45;
    for (const auto& [cut, release, compression] :
         {std::tuple{0.25, 0.85, 0.15}, std::tuple{0.5, 0.9, 0.1}, std::tuple{0.1, 0.7, 0.2}}) {
        // Ports a quarter of the bore wide all round it at a crawl: the
        // pressure follows the chest and the exhaust at once.
        const PortTable t = InstantEventsTable(stroke, 3.0, bore / 4.0, cut, release, compression);
        CylinderGeometry geometry;
        geometry.BoreArea_m2 = std::numbers::pi * bore * bore / 4.0;
        geometry.RodArea_m2 = 0.02 * geometry.BoreArea_m2;
        geometry.ClearanceFront_m3 = 0.08 * geometry.BoreArea_m2 * stroke;
        geometry.ClearanceRear_m3 = 0.08 * (geometry.BoreArea_m2 - geometry.RodArea_m2) * stroke;
        geometry.PortCircumference_m = std::numbers::pi * bore;
        geometry.DriverDiameter_m = 1.5;
        geometry.Rpm = 5.0;
        CylinderCycle c;
        RunCylinder(*gas, geometry, t, c);
        ASSERT_TRUE(c.Converged);
        // The events as the sampled table places them.
        for (const auto& [ev, mep] : {std::pair{FrontEvents(t), c.Front.Mep_Pa()},
                                      std::pair{RearEvents(t), c.Rear.Mep_Pa()}}) {
            ASSERT_TRUE(ev.CutOffPct && ev.ReleasePct && ev.CompressionPct);
            EXPECT_NEAR(*ev.CutOffPct, cut * 100.0, 0.5);
            const double ideal =
                IdealCardMep(*ev.CutOffPct / 100.0, *ev.ReleasePct / 100.0,
                             *ev.CompressionPct / 100.0, 0.08, gas->Exponent, pb / p1) *
                p1;
            EXPECT_NEAR(mep, ideal, 0.005 * ideal) << "cut-off " << cut;
        }
    }
}

TEST(Performance, HorsepowerIsPlanTimesNOver33000) {
    const Model m = Factory();
    const EngineData e = DefaultEngineData();
    const PerformanceResult p = ComputePerformance(m, e, AtCutOff(m, 40.0, 20.0));
    ASSERT_TRUE(p.Ok) << p.Error;
    PreciseLinkage linkage(m);
    const auto dc = FindDeadCentres(linkage);
    ASSERT_TRUE(dc);
    const double lengthFt = dc->Stroke() / 12.0;
    const double bore = m.Cylinder[BoreDiameter], rod = PistonRodDiameterOf(e, m);
    const double front = std::numbers::pi * bore * bore / 4.0;
    const double rear = front - std::numbers::pi * rod * rod / 4.0;
    const double ihp =
        e.Cylinders *
        (p.Front.Mep * lengthFt * front * p.Rpm + p.Rear.Mep * lengthFt * rear * p.Rpm) / 33000.0;
    EXPECT_NEAR(p.Ihp, ihp, 1e-9 * ihp);
    // The mean tractive effort does the same work per turn at the rim.
    const double workFtLbPerTurn = p.Ihp * 33000.0 / p.Rpm;
    EXPECT_NEAR(p.TractiveEffort,
                workFtLbPerTurn * 12.0 / (std::numbers::pi * m.Frame.DriverDiameter),
                1e-9 * p.TractiveEffort);
    double mean = 0.0;
    for (double te : p.TractiveByCrank)
        mean += te / 360.0;
    EXPECT_NEAR(mean, p.TractiveEffort, 0.02 * p.TractiveEffort);
}

TEST(Performance, WalkingPaceMepLiesInThePublishedRange) {
    // The textbook factors are MEP over the absolute chest pressure.
    const Model m = Factory();
    const EngineData e = DefaultEngineData();
    const double chestAbs = e.BoilerPressure + 14.696;
    const struct {
        double CutOff, Low, High;
    } published[] = {{25.0, 0.36, 0.44}, {50.0, 0.65, 0.69}, {75.0, 0.84, 0.90}};
    for (const auto& c : published) {
        const PerformanceResult p = ComputePerformance(m, e, AtCutOff(m, c.CutOff, 3.0));
        ASSERT_TRUE(p.Ok) << p.Error;
        EXPECT_GT(p.Mep / chestAbs, c.Low) << c.CutOff << " % cut-off";
        EXPECT_LT(p.Mep / chestAbs, c.High) << c.CutOff << " % cut-off";
        ASSERT_TRUE(p.Front.CutOffPct && p.Rear.CutOffPct);
        EXPECT_NEAR((*p.Front.CutOffPct + *p.Rear.CutOffPct) / 2.0, c.CutOff, 1.0);
    }
}

TEST(Performance, MepFallsAsSpeedRises) {
    const Model m = Factory();
    const EngineData e = DefaultEngineData();
    const PerformanceRequest r = AtCutOff(m, 25.0, 1.0);
    const std::vector<SweepRow> rows = SweepSpeed(m, e, r, 5.0, 60.0, 6);
    ASSERT_EQ(rows.size(), 6u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_TRUE(rows[i].Mep && rows[i - 1].Mep);
        EXPECT_LT(*rows[i].Mep, *rows[i - 1].Mep) << rows[i].Speed << " mph";
    }
}

TEST(Performance, SweepRowsAreTheSinglePointFiguresToTheCycleTolerance) {
    // The sweep starts each speed from the last one's cycle; a single point
    // starts from rest. Both stop where turns repeat to 0.1 %.
    const Model m = Factory();
    EngineData e = DefaultEngineData();
    e.Superheat = 200.0;
    for (double cut : {15.0, 60.0}) {
        const PerformanceRequest r = AtCutOff(m, cut, 1.0);
        const std::vector<SweepRow> rows = SweepSpeed(m, e, r, 5.0, 50.0, 4);
        ASSERT_EQ(rows.size(), 4u);
        for (const SweepRow& row : rows) {
            SCOPED_TRACE(std::to_string(cut) + " % at " + std::to_string(row.Speed));
            PerformanceRequest q = r;
            q.Speed = row.Speed;
            const PerformanceResult p = ComputePerformance(m, e, q);
            ASSERT_TRUE(p.Ok && row.Mep && row.Ihp && row.TractiveEffort && row.SteamRate);
            EXPECT_NEAR(*row.Mep, p.Mep, 1e-3 * p.Mep);
            EXPECT_NEAR(*row.Ihp, p.Ihp, 1e-3 * p.Ihp);
            EXPECT_NEAR(*row.TractiveEffort, p.TractiveEffort, 1e-3 * p.TractiveEffort);
            EXPECT_NEAR(*row.SteamRate, *p.SteamRate, 1e-3 * *p.SteamRate);
            ASSERT_TRUE(p.Front.CutOffPct && p.Rear.CutOffPct);
            EXPECT_DOUBLE_EQ(row.CutOffPct, (*p.Front.CutOffPct + *p.Rear.CutOffPct) / 2);
        }
    }
}

TEST(Performance, SuperheatLowersTheSteamRate) {
    const Model m = Factory();
    EngineData e = DefaultEngineData();
    const PerformanceRequest r = AtCutOff(m, 30.0, 15.0);
    double last = std::numeric_limits<double>::infinity();
    for (double superheat : {0.0, 100.0, 250.0}) {
        e.Superheat = superheat;
        const PerformanceResult p = ComputePerformance(m, e, r);
        ASSERT_TRUE(p.Ok && p.SteamRate) << p.Error;
        EXPECT_LT(*p.SteamRate, last) << superheat << " F superheat";
        last = *p.SteamRate;
    }
}

TEST(Performance, HostileEngineDataIsAClearErrorNeverNaN) {
    const Model m = Factory();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* Key;
        void (*Spoil)(EngineData&, double);
    } cases[] = {
        {"boiler_pressure", [](EngineData& e, double) { e.BoilerPressure = -10; }},
        {"boiler_pressure", [](EngineData& e, double) { e.BoilerPressure = 0; }},
        {"boiler_pressure", [](EngineData& e, double n) { e.BoilerPressure = n; }},
        {"back_pressure", [](EngineData& e, double) { e.BackPressure = 250; }},
        {"back_pressure", [](EngineData& e, double) { e.BackPressure = -3; }},
        {"superheat", [](EngineData& e, double n) { e.Superheat = n; }},
        {"clearance_front_pct", [](EngineData& e, double) { e.ClearanceFrontPct = 0; }},
        {"clearance_rear_pct", [](EngineData& e, double) { e.ClearanceRearPct = -1; }},
        {"piston_rod_diameter", [](EngineData& e, double) { e.PistonRodDiameter = 99; }},
        {"port_circumference", [](EngineData& e, double) { e.PortCircumference = 0; }},
        {"discharge_coefficient", [](EngineData& e, double n) { e.DischargeCoefficient = n; }},
        {"cylinders", [](EngineData& e, double) { e.Cylinders = 0; }},
    };
    const PerformanceRequest r = AtCutOff(m, 30.0, 15.0);
    for (const auto& c : cases) {
        EngineData e = DefaultEngineData();
        c.Spoil(e, nan);
        const PerformanceResult p = ComputePerformance(m, e, r);
        EXPECT_FALSE(p.Ok) << c.Key;
        EXPECT_NE(p.Error.find(c.Key), std::string::npos) << p.Error;
    }
    // A superheat beyond the tables, a speed of nothing.
    EngineData hot = DefaultEngineData();
    hot.Superheat = 2000.0;
    EXPECT_FALSE(ComputePerformance(m, hot, r).Ok);
    PerformanceRequest still = r;
    still.Speed = 0.0;
    EXPECT_FALSE(ComputePerformance(m, DefaultEngineData(), still).Ok);
    still.Speed = nan;
    EXPECT_FALSE(ComputePerformance(m, DefaultEngineData(), still).Ok);
}

TEST(Performance, ALinkageThatCannotCloseIsAnError) {
    Model m = Factory();
    const PerformanceRequest r = AtCutOff(m, 30.0, 15.0);
    m.Baker.RadiusBarLength = 40.0f;
    const PerformanceResult p = ComputePerformance(m, DefaultEngineData(), r);
    EXPECT_FALSE(p.Ok);
    EXPECT_NE(p.Error.find("does not close"), std::string::npos) << p.Error;
}

} // namespace
