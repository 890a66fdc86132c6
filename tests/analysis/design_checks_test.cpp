// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/design_checks.h"
#include "analysis/design_thresholds.h"
#include "analysis_designs.h"
#include "model/dimensions.h"
#include "model/format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using analysis_test::Factory;

std::vector<kes::CheckLine> Topic(const kes::DesignChecks& c, const std::string& topic) {
    std::vector<kes::CheckLine> out;
    for (const kes::CheckLine& l : c.Lines)
        if (l.Topic == topic) out.push_back(l);
    return out;
}

int Count(const std::vector<kes::CheckLine>& lines, kes::CheckLevel level) {
    int n = 0;
    for (const kes::CheckLine& l : lines)
        n += l.Level == level;
    return n;
}

TEST(DesignChecks, TheFactoryGearClosesButIsNotBalanced) {
    kes::Model m = Factory();
    const kes::EventsReport report = kes::ComputeReport(m, kes::DefaultReportDef(m));
    const kes::DesignChecks c = kes::RunDesignChecks(m, report);
    const auto closure = Topic(c, "closure");
    ASSERT_EQ(closure.size(), 1u);
    EXPECT_EQ(closure[0].Level, kes::CheckLevel::Pass);
    EXPECT_NE(closure[0].Text.find("all 17 settings"), std::string::npos);
    EXPECT_EQ(Topic(c, "mid_gear").at(0).Level, kes::CheckLevel::Pass);
    EXPECT_EQ(Count(Topic(c, "lead"), kes::CheckLevel::Failure), 0);

    // One balance line per row, graded by the named limits.
    const auto balance = Topic(c, "cutoff_balance");
    ASSERT_EQ(balance.size(), report.Rows.size());
    for (size_t i = 0; i < balance.size(); ++i) {
        const double d = std::fabs(*report.Rows[i].CutOffDiff);
        const kes::CheckLevel expected =
            d > kes::thresholds::CutOffBalanceFailure   ? kes::CheckLevel::Failure
            : d > kes::thresholds::CutOffBalanceWarning ? kes::CheckLevel::Warning
                                                        : kes::CheckLevel::Pass;
        EXPECT_EQ(balance[i].Level, expected) << balance[i].Text;
    }
    EXPECT_TRUE(c.AnyFailure()); // full gear is more than 5 points out
    EXPECT_EQ(Topic(c, "forward_reverse").size(), 12u);
    EXPECT_EQ(Topic(c, "swing").size(), 5u);
    EXPECT_EQ(Count(Topic(c, "exhaust_clearance"), kes::CheckLevel::Pass), 2);
}

TEST(DesignChecks, FailAGearThatDoesNotCloseAtFullGear) {
    kes::Model m = Factory();
    m.Frame.RevArmMax = 2.5f; // the radius bar cannot follow so far in reverse
    const kes::DesignChecks c = kes::RunDesignChecks(m);
    EXPECT_TRUE(c.AnyFailure());
    const auto closure = Topic(c, "closure");
    EXPECT_GE(Count(closure, kes::CheckLevel::Failure), 1);
    EXPECT_EQ(Count(closure, kes::CheckLevel::Pass), 0);
    bool namesTheSetting = false;
    for (const auto& l : closure)
        namesTheSetting |= l.Text.find("offset -2.5000") != std::string::npos &&
                           l.Text.find("radius bar") != std::string::npos;
    EXPECT_TRUE(namesTheSetting);
}

TEST(DesignChecks, FailNegativeLeadAndAPortOpenToSteamAndExhaustAtOnce) {
    const struct {
        const char* What;
        int Id;
        float Value;
        const char* Topic;
    } cases[] = {
        {"front steam lap larger than the lap-and-lead motion", 119, 1.2f, "lead"},
        {"front land narrower than the port", 121, 0.9f, "exhaust_clearance"},
        {"mid gear out of reach", 26, 10.0f, "mid_gear"},
        {"valve edge past the bridge at full gear", 118, 0.75f, "port_opening"},
    };
    for (const auto& c : cases) {
        kes::Model m = Factory();
        kes::SetDimension(m, c.Id, c.Value);
        const kes::DesignChecks checks = kes::RunDesignChecks(m);
        EXPECT_GE(Count(Topic(checks, c.Topic), kes::CheckLevel::Failure), 1) << c.What;
    }
}

TEST(DesignChecks, EveryLineCarriesItsNumbers) {
    kes::Model m = analysis_test::AlteredGear();
    const kes::DesignChecks c = kes::RunDesignChecks(m);
    ASSERT_FALSE(c.Lines.empty());
    for (const kes::CheckLine& l : c.Lines) {
        EXPECT_NE(l.Text.find_first_of("0123456789"), std::string::npos) << l.Text;
        EXPECT_FALSE(l.Topic.empty());
    }
}

TEST(DesignChecks, AFailureAtSeveralSettingsIsOneLineWithItsRange) {
    kes::Model m = Factory();
    kes::SetDimension(m, 119, 1.2f); // a front steam lap beyond the lap-and-lead motion
    const kes::EventsReport report = kes::ComputeReport(m, kes::DefaultReportDef(m));
    const kes::DesignChecks c = kes::RunDesignChecks(m, report);
    std::vector<kes::CheckLine> front;
    double lo = INFINITY, hi = -INFINITY;
    int failing = 0;
    for (const kes::ReportRow& row : report.Rows)
        if (row.Events.Front.Lead && *row.Events.Front.Lead <= 0.0) {
            ++failing;
            lo = std::min(lo, *row.Events.Front.Lead);
            hi = std::max(hi, *row.Events.Front.Lead);
        }
    ASSERT_GE(failing, 2);
    for (const kes::CheckLine& l : Topic(c, "lead"))
        if (l.Level == kes::CheckLevel::Failure && l.Text.find("front") != std::string::npos)
            front.push_back(l);
    ASSERT_EQ(front.size(), 1u);
    const std::string where =
        failing == static_cast<int>(report.Rows.size())
            ? "all " + std::to_string(failing) + " settings"
            : std::to_string(failing) + " of " + std::to_string(report.Rows.size()) + " settings";
    EXPECT_NE(front[0].Text.find("front lead negative at " + where + ", " +
                                 kes::FormatFixed(lo, 0, 4) + " to " + kes::FormatFixed(hi, 0, 4)),
              std::string::npos)
        << front[0].Text;

    // No cut-off at several settings: one warning naming how many.
    int noCutOff = 0;
    for (const kes::ReportRow& row : report.Rows)
        noCutOff += !row.CutOffDiff;
    ASSERT_GE(noCutOff, 2);
    std::vector<kes::CheckLine> unknown;
    for (const kes::CheckLine& l : Topic(c, "cutoff_balance"))
        if (l.Text.find("balance is unknown") != std::string::npos) unknown.push_back(l);
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_EQ(
        unknown[0].Text.rfind("At " + std::to_string(noCutOff) + " settings, from setting ", 0), 0u)
        << unknown[0].Text;

    // Open at several settings: one closure line for the rows.
    m = Factory();
    m.Frame.RevArmMax = 2.5f;
    int openLines = 0;
    for (const kes::CheckLine& l : Topic(kes::RunDesignChecks(m), "closure"))
        openLines += l.Text.find("over the turn") != std::string::npos;
    EXPECT_EQ(openLines, 1);
}

TEST(DesignChecks, NoCheckPassesANonFiniteDimension) {
    for (int id : {2, 10, 20, 103, 113, 119, 121, kes::RevArmNormId}) {
        for (float v :
             {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
              -std::numeric_limits<float>::infinity()}) {
            kes::Model m = Factory();
            kes::SetDimension(m, id, v);
            const kes::DesignChecks c = kes::RunDesignChecks(m);
            EXPECT_TRUE(c.AnyFailure()) << id;
            const auto named = Topic(c, "dimensions");
            ASSERT_EQ(named.size(), 1u) << id;
            EXPECT_NE(named[0].Text.find(kes::DimensionName(id)), std::string::npos);
            for (const kes::CheckLine& l : c.Lines) {
                EXPECT_EQ(l.Text.find("nan"), std::string::npos) << l.Text;
                EXPECT_EQ(l.Text.find("inf"), std::string::npos) << l.Text;
            }
        }
    }
}

} // namespace
