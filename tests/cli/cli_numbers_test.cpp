// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers on the command line: any a float cannot hold is a usage error
// (exit status 2) before anything is computed, and rows are counted without
// turning an out-of-range real into an integer.

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct RealCase {
    const char* Text;
    bool Taken;
};

class ParseRealCases : public ::testing::TestWithParam<RealCase> {};

TEST_P(ParseRealCases, TakesOnlyWhatAFloatHolds) {
    EXPECT_EQ(cli::ParseReal(GetParam().Text).has_value(), GetParam().Taken) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Words, ParseRealCases,
                         ::testing::Values(RealCase{"5", true}, RealCase{"-0.25", true},
                                           RealCase{"3.4e38", true}, RealCase{"-3.4e38", true},
                                           RealCase{"1e-50", true}, RealCase{"3.5e38", false},
                                           RealCase{"-1e39", false}, RealCase{"1e300", false},
                                           RealCase{"inf", false}, RealCase{"nan", false},
                                           RealCase{"", false}, RealCase{"1e", false},
                                           RealCase{"12abc", false}));

TEST(NarrowReal, RefusesWhatDoesNotFit) {
    EXPECT_EQ(cli::NarrowReal(2.5, "x"), 2.5f);
    EXPECT_EQ(cli::NarrowReal(-3.4e38, "x"), -3.4e38f);
    EXPECT_THROW(cli::NarrowReal(1e39, "x"), cli::UsageError);
    EXPECT_THROW(cli::NarrowReal(std::numeric_limits<double>::quiet_NaN(), "x"), cli::UsageError);
}

struct UsageCase {
    const char* Name;
    std::vector<std::string> Words; // the command first
};

class OutOfRange : public ::testing::TestWithParam<UsageCase> {};

TEST_P(OutOfRange, IsAUsageError) {
    kes::Model m;
    kes::InitialiseModel(m);
    std::vector<std::string> words = GetParam().Words;
    const std::string command = words.front();
    words.erase(words.begin());
    cli::Args args(words);
    std::ostringstream out;
    EXPECT_THROW(cli::RunNumericCommand(command, m, args, out), cli::UsageError) << GetParam().Name;
    EXPECT_EQ(out.str().find('\n'), std::string::npos) << "no rows before the error";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, OutOfRange,
    ::testing::Values(UsageCase{"huge --to", {"sweep", "--to", "1e300", "--step", "1e295"}},
                      UsageCase{"huge --from", {"sweep", "--from", "-1e39"}},
                      UsageCase{"rows past any count",
                                {"sweep", "--to", "3e38", "--step", "1e-30"}},
                      UsageCase{"huge --rev-arm", {"sweep", "--rev-arm", "1e39"}},
                      UsageCase{"huge position", {"cutoffs", "--positions", "1,1e39"}},
                      UsageCase{"huge readouts position", {"readouts", "--position", "-1e39"}}));

TEST(Sweep, CountsRowsOfAWideRangeInReals) {
    kes::Model m;
    kes::InitialiseModel(m);
    cli::Args args({"--from", "-3e38", "--to", "3e38", "--step", "1e35"});
    std::ostringstream out;
    EXPECT_EQ(cli::RunSweep(m, args, out), 0);
    std::istringstream lines(out.str());
    int count = 0;
    for (std::string line; std::getline(lines, line);)
        ++count;
    EXPECT_EQ(count, 1 + 6001);
}

TEST(Readouts, TakeTheirOwnDefaultBesideAHugeMidGear) {
    kes::Model m;
    kes::InitialiseModel(m);
    m.RevArmPositions[0] = -4.04769e25f;
    cli::Args args({});
    std::ostringstream out;
    EXPECT_EQ(cli::RunReadouts(m, args, out), 0);
    EXPECT_NE(out.str().find("rear_lead"), std::string::npos);
}

} // namespace
