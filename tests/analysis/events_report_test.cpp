// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/events_report.h"
#include "analysis_designs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using analysis_test::Factory;

TEST(EventsReport, DefaultSettingsSpanTheReverseRange) {
    kes::Model m = Factory();
    m.Frame.RevArmNorm = 1.2f;
    m.Frame.RevArmMax = 1.6f;
    const kes::ReportDef def = kes::DefaultReportDef(m);
    const double norm = m.Frame.RevArmNorm, max = m.Frame.RevArmMax;
    const std::vector<double> expected = {0.0,         0.25 * norm, -0.25 * norm, 0.5 * norm,
                                          -0.5 * norm, 0.75 * norm, -0.75 * norm, norm,
                                          -norm,       max,         -max};
    EXPECT_EQ(def.Offsets, expected);
    EXPECT_TRUE(def.Settings.empty());
    EXPECT_FALSE(def.WantedCutOffPct);
}

TEST(EventsReport, RowsRunForwardAboveMidGearAndReverseBelowIt) {
    kes::Model m = Factory();
    const kes::EventsReport r = kes::ComputeReport(m, kes::DefaultReportDef(m));
    ASSERT_TRUE(r.MidGear);
    EXPECT_NEAR(*r.MidGear, m.MidGear(), 5e-4);
    ASSERT_EQ(r.Rows.size(), 12u);
    EXPECT_EQ(r.Rows[0].Direction, kes::RunDirection::Forward);
    EXPECT_EQ(r.Rows[1].Direction, kes::RunDirection::Reverse);
    for (const kes::ReportRow& row : r.Rows) {
        ASSERT_TRUE(row.Offset);
        EXPECT_DOUBLE_EQ(row.Setting, *r.MidGear + *row.Offset);
        if (*row.Offset != 0.0) {
            EXPECT_EQ(row.Direction,
                      *row.Offset > 0.0 ? kes::RunDirection::Forward : kes::RunDirection::Reverse);
        }
        EXPECT_TRUE(row.Closes());
        EXPECT_DOUBLE_EQ(*row.CutOffDiff,
                         *row.Events.Front.Pct(kes::CutOff) - *row.Events.Rear.Pct(kes::CutOff));
        EXPECT_DOUBLE_EQ(*row.ReleaseDiff,
                         *row.Events.Front.Pct(kes::Release) - *row.Events.Rear.Pct(kes::Release));
        EXPECT_DOUBLE_EQ(*row.CompressionDiff, *row.Events.Front.Pct(kes::Compression) -
                                                   *row.Events.Rear.Pct(kes::Compression));
        EXPECT_DOUBLE_EQ(*row.LeadDiff, *row.Events.Front.Lead - *row.Events.Rear.Lead);
    }
    // Cut-off lengthens as the reverse arm moves out from mid gear.
    for (size_t i = 2; i + 2 < r.Rows.size(); ++i)
        EXPECT_LT(*r.Rows[i].Events.Front.Pct(kes::CutOff),
                  *r.Rows[i + 2].Events.Front.Pct(kes::CutOff));
}

bool Same(const std::optional<double>& a, const std::optional<double>& b) {
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

// Bit for bit, field by field.
void ExpectSameReport(const kes::EventsReport& a, const kes::EventsReport& b) {
    ASSERT_TRUE(Same(a.MidGear, b.MidGear));
    ASSERT_EQ(a.Rows.size(), b.Rows.size());
    for (size_t i = 0; i < a.Rows.size(); ++i) {
        const kes::ReportRow &x = a.Rows[i], &y = b.Rows[i];
        EXPECT_EQ(x.Setting, y.Setting);
        EXPECT_EQ(x.Direction, y.Direction);
        EXPECT_EQ(x.Closes(), y.Closes());
        EXPECT_TRUE(Same(x.Events.ValveTravel, y.Events.ValveTravel));
        EXPECT_TRUE(Same(x.CutOffDiff, y.CutOffDiff));
        for (bool front : {true, false}) {
            const kes::PortEventSet& p = front ? x.Events.Front : x.Events.Rear;
            const kes::PortEventSet& q = front ? y.Events.Front : y.Events.Rear;
            EXPECT_TRUE(Same(p.Lead, q.Lead));
            EXPECT_TRUE(Same(p.MaxSteamOpening, q.MaxSteamOpening));
            EXPECT_TRUE(Same(p.MaxExhaustOpening, q.MaxExhaustOpening));
            for (int k = 0; k < kes::EventKindCount; ++k) {
                const auto ek = static_cast<kes::EventKind>(k);
                EXPECT_TRUE(Same(p.Pct(ek), q.Pct(ek))) << i << " " << k;
                EXPECT_TRUE(Same(p.Deg(ek), q.Deg(ek))) << i << " " << k;
            }
        }
    }
}

TEST(EventsReport, IsDeterministicWhateverRanBefore) {
    kes::Model m = Factory();
    const kes::ReportDef def = kes::DefaultReportDef(m);
    const kes::EventsReport first = kes::ComputeReport(m, def);
    // Another design reported into the same storage in between, then this
    // one again, and once more on a copy whose operating state differs.
    kes::EventsReport reused = kes::ComputeReport(analysis_test::AlteredGear(), def);
    kes::ComputeReport(m, def, reused);
    ExpectSameReport(first, reused);
    kes::Model copy = m;
    copy.DriverAngle = 123.0f;
    copy.RevArmSetting = 9.0f;
    ExpectSameReport(first, kes::ComputeReport(copy, def));
}

TEST(EventsReport, AbsoluteSettingsMatchTheirOffsets) {
    kes::Model m = Factory();
    const kes::EventsReport byOffset = kes::ComputeReport(m, kes::DefaultReportDef(m));
    kes::ReportDef def;
    def.Settings = {byOffset.Rows[4].Setting, byOffset.Rows[5].Setting};
    const kes::EventsReport bySetting = kes::ComputeReport(m, def);
    ASSERT_EQ(bySetting.Rows.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const kes::ReportRow& a = bySetting.Rows[i];
        const kes::ReportRow& b = byOffset.Rows[4 + i];
        EXPECT_EQ(a.Direction, b.Direction);
        EXPECT_NEAR(*a.Offset, *b.Offset, 1e-12);
        EXPECT_EQ(a.Events.Front.Pct(kes::CutOff), b.Events.Front.Pct(kes::CutOff));
    }
}

TEST(EventsReport, FindsTheSettingsThatGiveAWantedCutOff) {
    kes::Model m = Factory();
    kes::ReportDef def = kes::DefaultReportDef(m);
    def.WantedCutOffPct = 25.0;
    const kes::EventsReport r = kes::ComputeReport(m, def);
    ASSERT_TRUE(r.CutOffs);
    kes::PreciseLinkage linkage(m);
    for (auto dir : {kes::RunDirection::Forward, kes::RunDirection::Reverse}) {
        const kes::CutOffSide& side =
            dir == kes::RunDirection::Forward ? r.CutOffs->Forward : r.CutOffs->Reverse;
        ASSERT_TRUE(side.Front && side.Rear && side.Mean);
        const kes::TurnEvents f = kes::ComputeTurnEvents(linkage, *side.Front, dir);
        const kes::TurnEvents b = kes::ComputeTurnEvents(linkage, *side.Rear, dir);
        const kes::TurnEvents mean = kes::ComputeTurnEvents(linkage, *side.Mean, dir);
        EXPECT_NEAR(*f.Front.Pct(kes::CutOff), 25.0, 1e-6);
        EXPECT_NEAR(*b.Rear.Pct(kes::CutOff), 25.0, 1e-6);
        EXPECT_NEAR((*mean.Front.Pct(kes::CutOff) + *mean.Rear.Pct(kes::CutOff)) / 2.0, 25.0, 1e-6);
        // Forward settings lie above mid gear, reverse ones below.
        EXPECT_EQ(*side.Front > *r.MidGear, dir == kes::RunDirection::Forward);
        // The one-sided mean is the same root, found alone.
        const std::optional<double> alone = kes::FindMeanCutOffSetting(
            linkage, r.Centres, *r.MidGear, m.Frame.RevArmMax, 25.0, dir);
        ASSERT_TRUE(alone);
        EXPECT_EQ(*alone, *side.Mean);
        EXPECT_FALSE(kes::FindMeanCutOffSetting(linkage, r.Centres, *r.MidGear, m.Frame.RevArmMax,
                                                99.5, dir));
    }
    def.WantedCutOffPct = 99.5; // beyond what the largest offset gives
    const kes::EventsReport none = kes::ComputeReport(m, def);
    EXPECT_FALSE(none.CutOffs->Forward.Front);
    EXPECT_FALSE(none.CutOffs->Reverse.Mean);
}

TEST(EventsReport, WithoutMidGearOffsetsGiveNoRows) {
    kes::Model m = Factory();
    kes::SetDimension(m, 26, 10.0f); // a bell-crank arm no trial can reach
    const kes::EventsReport r = kes::ComputeReport(m, kes::DefaultReportDef(m));
    EXPECT_FALSE(r.MidGear);
    EXPECT_TRUE(r.Rows.empty());
}

TEST(EventsReport, RowsThatDoNotCloseHaveNoEvents) {
    kes::Model m = Factory();
    m.Frame.RevArmMax = 2.5f; // the radius bar cannot follow so far in reverse
    const kes::EventsReport r = kes::ComputeReport(m, kes::DefaultReportDef(m));
    int open = 0, closed = 0;
    for (const kes::ReportRow& row : r.Rows) {
        if (row.Closes()) {
            ++closed;
            EXPECT_TRUE(row.Events.Front.Lead);
            continue;
        }
        ++open;
        for (const kes::PortEventSet* p : {&row.Events.Front, &row.Events.Rear}) {
            for (int k = 0; k < kes::EventKindCount; ++k) {
                EXPECT_FALSE(p->Event[static_cast<size_t>(k)]) << row.Setting;
                EXPECT_EQ(p->Times[static_cast<size_t>(k)], 0);
            }
            EXPECT_FALSE(p->Lead);
            EXPECT_FALSE(p->MaxSteamOpening);
            EXPECT_FALSE(p->MaxExhaustOpening);
        }
        EXPECT_FALSE(row.Events.ValveTravel);
        EXPECT_FALSE(row.CutOffDiff);
        EXPECT_FALSE(row.LeadDiff);
    }
    EXPECT_GE(open, 1);
    EXPECT_GE(closed, 1);
}

} // namespace
