// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/port_events.h"
#include "analysis/valve_events.h"
#include "analysis_designs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using analysis_test::Factory;

// The port events table interpolates each crossing linearly between samples
// 4 degrees apart and solves in floats. Its crossing lies in the same 4
// degree interval as the true one; a straight line through an opening that
// curves over 4 degrees misses by a fraction of the stroke that interval
// covers. A quarter of that span, plus what the float solve's few
// thousandths of valve position amount to, bounds it.
constexpr double InterpolationShare = 0.25;
constexpr double FloatSolveAllowancePct = 0.15;

struct TableEvent {
    analysis::PortEvent Event;
    bool Front;
    kes::EventKind Kind;
};
constexpr TableEvent TableEvents[] = {
    {analysis::FrontAdmission, true, kes::Admission},
    {analysis::FrontCutOff, true, kes::CutOff},
    {analysis::FrontRelease, true, kes::Release},
    {analysis::FrontCompression, true, kes::Compression},
    {analysis::RearAdmission, false, kes::Admission},
    {analysis::RearCutOff, false, kes::CutOff},
    {analysis::RearRelease, false, kes::Release},
    {analysis::RearCompression, false, kes::Compression},
};

// The stroke percent a 4 degree interval around the event covers.
double SpanOfFourDegrees(kes::PreciseLinkage& linkage, const kes::DeadCentres& dc, double deg,
                         double centre) {
    const double a = *linkage.PistonX(centre + deg - 4.0), b = *linkage.PistonX(centre + deg + 4.0);
    return std::fabs(a - b) / dc.Stroke() * 100.0 / 2.0;
}

TEST(ValveEvents, AgreeWithThePortEventsTable) {
    // Both the factory gear and a made-up one, whose cylinder line is on the
    // axle as the table's travel formula assumes.
    for (kes::Model m : {Factory(), analysis_test::AlteredGear()}) {
        kes::PreciseLinkage linkage(m);
        const std::optional<kes::DeadCentres> dc = kes::FindDeadCentres(linkage);
        ASSERT_TRUE(dc);
        auto table = std::make_unique<analysis::PortEventTable>();
        int compared = 0;
        for (char mode : {'F', 'R'}) {
            analysis::ComputePortEvents(m, mode, *table);
            const kes::RunDirection dir =
                mode == 'F' ? kes::RunDirection::Forward : kes::RunDirection::Reverse;
            for (int row = 0; row < analysis::PortRowCount; row += 3) {
                kes::TurnEvents t;
                kes::ComputeTurnEvents(linkage, dc, table->Setting[row], dir, t);
                for (const TableEvent& e : TableEvents) {
                    const kes::PortEventSet& port = e.Front ? t.Front : t.Rear;
                    ASSERT_EQ(table->Found(row, e.Event), port.Event[e.Kind].has_value())
                        << mode << " row " << row << " event " << e.Event;
                    if (!table->Found(row, e.Event)) continue;
                    const double centreDeg = e.Front ? dc->FrontDeg : dc->RearDeg;
                    const double sign = dir == kes::RunDirection::Forward ? 1.0 : -1.0;
                    const double span = SpanOfFourDegrees(
                        linkage, *dc, sign * port.Event[e.Kind]->CrankDeg, centreDeg);
                    EXPECT_NEAR(port.Event[e.Kind]->StrokePct, table->Percent(row, e.Event),
                                InterpolationShare * span + FloatSolveAllowancePct)
                        << mode << " row " << row << " event " << e.Event;
                    ++compared;
                }
            }
        }
        EXPECT_GT(compared, 80);
    }
}

// Running the turn backwards is the same motion in reverse time: each
// port's admission becomes its cut-off and release becomes compression,
// at the same piston position and the mirrored angle.
TEST(ValveEvents, ReverseRunningMirrorsForwardRunning) {
    int compared = 0;
    for (auto& [name, m] : analysis_test::AllDesigns()) {
        kes::PreciseLinkage linkage(m);
        for (double offset : {0.0, 0.6, -1.1}) {
            const double setting = m.MidGear() + offset;
            const kes::TurnEvents f =
                kes::ComputeTurnEvents(linkage, setting, kes::RunDirection::Forward);
            const kes::TurnEvents r =
                kes::ComputeTurnEvents(linkage, setting, kes::RunDirection::Reverse);
            const std::pair<kes::EventKind, kes::EventKind> swaps[] = {
                {kes::Admission, kes::CutOff},
                {kes::CutOff, kes::Admission},
                {kes::Release, kes::Compression},
                {kes::Compression, kes::Release}};
            for (const auto* ports : {&f.Front, &f.Rear}) {
                const kes::PortEventSet& fp = *ports;
                const kes::PortEventSet& rp = ports == &f.Front ? r.Front : r.Rear;
                for (const auto& [a, b] : swaps) {
                    ASSERT_EQ(fp.Event[a].has_value(), rp.Event[b].has_value()) << name;
                    if (!fp.Event[a]) continue;
                    EXPECT_NEAR(fp.Event[a]->StrokePct, rp.Event[b]->StrokePct, 1e-6) << name;
                    EXPECT_NEAR(fp.Event[a]->CrankDeg, -rp.Event[b]->CrankDeg, 1e-6) << name;
                    ++compared;
                }
                EXPECT_NEAR(*fp.Lead, *rp.Lead, 1e-12);
            }
            EXPECT_NEAR(*f.ValveTravel, *r.ValveTravel, 1e-9);
        }
    }
    EXPECT_GT(compared, 60);
}

TEST(ValveEvents, EachEventIsWhereItsOpeningCrossesZero) {
    kes::Model m = Factory();
    kes::PreciseLinkage linkage(m);
    const double setting = m.MidGear() + 0.9;
    const kes::TurnEvents t = kes::ComputeTurnEvents(linkage, setting, kes::RunDirection::Forward);
    ASSERT_TRUE(t.Closes && t.Centres);
    for (bool front : {true, false}) {
        const kes::PortEventSet& p = front ? t.Front : t.Rear;
        const double centre = front ? t.Centres->FrontDeg : t.Centres->RearDeg;
        for (int k = 0; k < kes::EventKindCount; ++k) {
            ASSERT_TRUE(p.Event[k]);
            EXPECT_EQ(p.Times[k], 1);
            const kes::PreciseSolution s = linkage.Solve(centre + p.Event[k]->CrankDeg, setting);
            const kes::PortOpenings o = linkage.Openings(s.ValveOffset);
            const double opening = k <= kes::CutOff ? (front ? o.FrontSteam : o.RearSteam)
                                                    : (front ? o.FrontExhaust : o.RearExhaust);
            // 1e-9 degree of crank moves the valve far less than this.
            EXPECT_NEAR(opening, 0.0, 1e-10) << front << " " << k;
            const double x = s.PistonX;
            const double pct = front ? t.Centres->FrontPercent(x) : t.Centres->RearPercent(x);
            EXPECT_NEAR(p.Event[k]->StrokePct, pct, 1e-9);
        }
        // Admission before dead centre, then cut-off and release after it;
        // compression closes the port before admission opens it again.
        EXPECT_LT(p.Event[kes::Compression]->CrankDeg, p.Event[kes::Admission]->CrankDeg);
        EXPECT_LT(p.Event[kes::Admission]->CrankDeg, 0.0);
        EXPECT_GT(p.Event[kes::CutOff]->CrankDeg, 0.0);
        EXPECT_GT(p.Event[kes::Release]->CrankDeg, p.Event[kes::CutOff]->CrankDeg);
        // Lead is the steam opening at the port's own dead centre.
        const kes::PortOpenings atCentre =
            linkage.Openings(linkage.Solve(centre, setting).ValveOffset);
        EXPECT_NEAR(*p.Lead, front ? atCentre.FrontSteam : atCentre.RearSteam, 1e-12);
    }
}

TEST(ValveEvents, ValveTravelIsTheWholeMovementOfTheValve) {
    kes::Model m = Factory();
    kes::PreciseLinkage linkage(m);
    const double setting = m.MidGear() - 1.3;
    const kes::TurnEvents t = kes::ComputeTurnEvents(linkage, setting, kes::RunDirection::Reverse);
    double lo = 1e9, hi = -1e9;
    for (int i = 0; i < 3600; ++i) {
        const double vo = linkage.Solve(i / 10.0, setting).ValveOffset;
        lo = std::min(lo, vo);
        hi = std::max(hi, vo);
    }
    EXPECT_GE(*t.ValveTravel, hi - lo - 1e-12);
    EXPECT_NEAR(*t.ValveTravel, hi - lo, 1e-6);
    EXPECT_NEAR(*t.Front.MaxSteamOpening, linkage.Openings(*t.MinValveOffset).FrontSteam, 1e-12);
    EXPECT_NEAR(*t.Rear.MaxExhaustOpening, linkage.Openings(*t.MinValveOffset).RearExhaust, 1e-12);
    EXPECT_NEAR(*t.Front.MaxExhaustOpening, linkage.Openings(*t.MaxValveOffset).FrontExhaust,
                1e-12);
}

TEST(ValveEvents, DeadCentresOfAnOffsetCylinderLieOffTheAxleLine) {
    kes::Model m = analysis_test::BigOffsetEngine();
    kes::PreciseLinkage linkage(m);
    const std::optional<kes::DeadCentres> dc = kes::FindDeadCentres(linkage);
    ASSERT_TRUE(dc);
    const double r = m.Frame.StrokeLength / 2.0, l = m.Frame.MainRodLength;
    const double y = m.Points[kes::Crosshead].Y;
    // The dead centres are where crank and rod stand in one line.
    EXPECT_NEAR(dc->XMax, std::sqrt((l + r) * (l + r) - y * y), 1e-9);
    EXPECT_NEAR(dc->XMin, std::sqrt((l - r) * (l - r) - y * y), 1e-9);
    const double deg = 180.0 / 3.14159265358979323846;
    EXPECT_NEAR(dc->FrontDeg, 360.0 - std::asin(y / (l + r)) * deg, 1e-5);
    EXPECT_NEAR(dc->RearDeg, 180.0 - std::asin(y / (l - r)) * deg, 1e-5);
    EXPECT_GT(std::fabs(dc->FrontDeg - 360.0), 0.5);
}

TEST(ValveEvents, AnEventThatCannotHappenIsAbsent) {
    // An exhaust cavity too short ever to reach a port: no release, no
    // compression. A steam lap larger than the valve's whole movement at
    // mid gear: no admission and no cut-off, and a negative lead.
    kes::Model m = Factory();
    kes::SetDimension(m, 120, 0.2f);
    kes::SetDimension(m, 121, 0.2f);
    kes::SetDimension(m, 119, 1.4f);
    kes::PreciseLinkage linkage(m);
    const kes::TurnEvents t =
        kes::ComputeTurnEvents(linkage, m.MidGear(), kes::RunDirection::Forward);
    ASSERT_TRUE(t.Closes);
    for (const kes::PortEventSet* p : {&t.Front, &t.Rear}) {
        EXPECT_FALSE(p->Event[kes::Release]);
        EXPECT_FALSE(p->Event[kes::Compression]);
        EXPECT_EQ(p->Times[kes::Release], 0);
        EXPECT_LT(*p->MaxExhaustOpening, 0.0);
    }
    EXPECT_FALSE(t.Front.Event[kes::Admission]);
    EXPECT_FALSE(t.Front.Event[kes::CutOff]);
    EXPECT_LT(*t.Front.Lead, 0.0);
    EXPECT_TRUE(t.Rear.Event[kes::Admission]);
}

TEST(ValveEvents, ATurnThatDoesNotCloseSaysWhere) {
    kes::Model m = Factory();
    kes::PreciseLinkage linkage(m);
    const kes::TurnEvents t =
        kes::ComputeTurnEvents(linkage, m.MidGear() - 2.5, kes::RunDirection::Reverse);
    EXPECT_FALSE(t.Closes);
    ASSERT_TRUE(t.FailureDeg);
    EXPECT_EQ(t.Failure, kes::ClosureFailure::RadiusBar);
    EXPECT_FALSE(t.ValveTravel);
    EXPECT_FALSE(t.Swing);
    EXPECT_FALSE(t.Front.MaxSteamOpening);
    EXPECT_FALSE(linkage.Solve(*t.FailureDeg, m.MidGear() - 2.5).Closes());
}

} // namespace
