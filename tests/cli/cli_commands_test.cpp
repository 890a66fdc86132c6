// SPDX-License-Identifier: GPL-3.0-or-later
// The report, check, sensitivity, dims, save and compare commands and the
// options every command takes, through the real kestrove-cli.

#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using test_support::CliRun;

CliRun Cli(const std::vector<std::string>& words) {
    return test_support::RunCli(words);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');)
        cells.push_back(cell);
    if (!line.empty() && line.back() == ',') cells.emplace_back();
    return cells;
}

// The value of a column of a CSV row, by header name.
std::string Column(const std::vector<std::string>& lines, size_t row, const std::string& name) {
    const auto header = Cells(lines.at(0));
    const auto cells = Cells(lines.at(row));
    for (size_t i = 0; i < header.size(); ++i)
        if (header[i] == name) return cells.at(i);
    ADD_FAILURE() << "no column " << name;
    return {};
}

// Breaks mid gear: a gear connecting rod without an upper arm.
const std::vector<std::string> NoMidGear = {"--set", "GearConRodUpper=0"};
// Closes at mid gear but not at full gear in reverse.
const std::vector<std::string> ShortRadiusBar = {"--set", "RadiusBarLength=1.6"};

std::vector<std::string> With(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(CliReport, DefaultSettingsBothWaysAtMidGear) {
    const CliRun r = Cli({"report"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 1u + 12u); // mid gear twice, 4 + 4, +/- RevArmMax
    EXPECT_EQ(Column(lines, 1, "offset"), "0");
    EXPECT_EQ(Column(lines, 1, "direction"), "F");
    EXPECT_EQ(Column(lines, 2, "direction"), "R");
    EXPECT_EQ(Column(lines, 3, "offset"), "0.375");
    EXPECT_EQ(Column(lines, 4, "direction"), "R");
    EXPECT_NEAR(std::stod(Column(lines, 1, "mid_gear")), 10.4232, 1e-3);
    for (size_t row = 1; row < lines.size(); ++row) {
        EXPECT_EQ(Column(lines, row, "closes"), "true");
        const double cutOff = std::stod(Column(lines, row, "front_cutoff_pct"));
        EXPECT_GT(cutOff, 0.0);
        EXPECT_LT(cutOff, 100.0);
        EXPECT_NEAR(std::stod(Column(lines, row, "cutoff_diff")),
                    cutOff - std::stod(Column(lines, row, "rear_cutoff_pct")), 1e-9);
    }
    EXPECT_EQ(r.Out, Cli({"report"}).Out); // deterministic
    EXPECT_EQ(r.Out.find("nan"), std::string::npos);
}

TEST(CliReport, OptionValuesMayBeginWithAMinus) {
    const CliRun r = Cli({"report", "--offsets", "-1.5,0,1.5"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(Column(lines, 1, "offset"), "-1.5");
    EXPECT_EQ(Column(lines, 1, "direction"), "R");
    EXPECT_EQ(Column(lines, 4, "direction"), "F");

    const CliRun s = Cli({"report", "--settings", "11.9,8.9", "--format", "json"});
    ASSERT_EQ(s.Status, 0) << s.Err;
    EXPECT_NE(s.Out.find("{\"setting\": 11.9, \"offset\": "), std::string::npos);
    EXPECT_NE(s.Out.find("\"direction\": \"R\""), std::string::npos);
}

TEST(CliReport, AbsentEventsAreEmptyCellsAndNull) {
    const CliRun csv = Cli(With({"report"}, {"--set", "GearMountX=1"}));
    ASSERT_EQ(csv.Status, 0) << csv.Err;
    const auto lines = Lines(csv.Out);
    EXPECT_EQ(Column(lines, 1, "closes"), "false");
    EXPECT_EQ(Column(lines, 1, "front_cutoff_pct"), "");
    const CliRun json = Cli(With({"report", "--format", "json"}, {"--set", "GearMountX=1"}));
    EXPECT_NE(json.Out.find("\"cutoff_pct\": null"), std::string::npos);
    EXPECT_EQ(json.Out.find("nan"), std::string::npos);
}

TEST(CliReport, WantedCutOffFindsItsSettings) {
    const CliRun r = Cli({"report", "--cutoff", "25", "--offsets", "0"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 3u + 1u + 3u);
    EXPECT_EQ(lines[4], "wanted_cutoff_pct,direction,front_setting,rear_setting,mean_setting");
    const auto forward = Cells(lines[5]);
    const double front = std::stod(forward.at(2));
    // The found setting gives the wanted cut-off.
    const auto at = Lines(Cli({"report", "--settings", forward.at(2)}).Out);
    EXPECT_NEAR(std::stod(Column(at, 1, "front_cutoff_pct")), 25.0, 1e-6);
    EXPECT_GT(front, std::stod(Column(lines, 1, "mid_gear")));
    EXPECT_EQ(Cli({"report", "--cutoff", "120"}).Status, 2);
}

TEST(CliCheck, FailsADesignThatDoesNotCloseAtFullGear) {
    const CliRun bad = Cli(With({"check"}, ShortRadiusBar));
    EXPECT_EQ(bad.Status, 3);
    EXPECT_NE(bad.Out.find("failure closure: The linkage does not close"), std::string::npos)
        << bad.Out;
    const CliRun factory = Cli({"check", "--format", "csv"});
    EXPECT_EQ(factory.Out.rfind("level,topic,text\n", 0), 0u);
    EXPECT_EQ(factory.Out.find("failure,closure"), std::string::npos);
    EXPECT_NE(factory.Out.find("pass,mid_gear"), std::string::npos);
    // The exit status follows the failure lines, whichever they are.
    EXPECT_EQ(factory.Status, factory.Out.find("\nfailure,") != std::string::npos ? 3 : 0);
    const CliRun noMid = Cli(With({"check"}, NoMidGear));
    EXPECT_EQ(noMid.Status, 3);
    EXPECT_NE(noMid.Out.find("failure mid_gear"), std::string::npos);
}

TEST(CliSet, ChangesTheDesignByNameOrId) {
    const auto byName = Lines(Cli({"--set", "StrokeLength=3.6", "dims"}).Out);
    const auto byId = Lines(Cli({"dims", "--set", "2=3.6"}).Out);
    EXPECT_EQ(byName, byId);
    EXPECT_EQ(byName.at(0), "id,name,display_name,value");
    EXPECT_EQ(byName.at(2), "2,StrokeLength,Stroke,3.6");
    EXPECT_EQ(Lines(Cli({"dims"}).Out).at(2), "2,StrokeLength,Stroke,3.5");
    // A pivot by its table name, and RevArmMax, id 30.
    const CliRun pivots = Cli({"dims", "--set", "BellCrankPivotX=1.3", "--set", "RevArmMax=1.9"});
    EXPECT_NE(pivots.Out.find("\n28,BellCrankPivotX,Bell Crank Pivot Horz,1.3\n"),
              std::string::npos);
    EXPECT_NE(pivots.Out.find("\n30,RevArmMax,Rev Arm to Cent Max,1.9\n"), std::string::npos);
    // Mid gear follows the edit, as it does after a dialog.
    const auto mid = Cells(Lines(Cli({"midgear"}).Out).at(1));
    const auto moved = Cells(Lines(Cli({"midgear", "--set", "RevArmPivotX=3.0"}).Out).at(1));
    EXPECT_NE(mid.at(0), moved.at(0));
    // The report sees it too.
    EXPECT_NE(Cli({"report"}).Out, Cli({"report", "--set", "ValveRodLength=6.35"}).Out);
}

TEST(CliSet, BadEditsAreUsageErrors) {
    for (const char* bad : {"Stroke=3.6", "StrokeLength", "StrokeLength=", "StrokeLength=x", "31=1",
                            "StrokeLength=1e40", "StrokeLength=nan"}) {
        const CliRun r = Cli({"dims", "--set", bad});
        EXPECT_EQ(r.Status, 2) << bad;
        EXPECT_NE(r.Err.find("--set"), std::string::npos) << r.Err;
    }
}

TEST(CliSaveCompare, SavedEditsLoadBackAndCompareShowsThem) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("kes_cli_save_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "longer.kvd").string();
    const CliRun save = Cli({"save", "-o", file, "--set", "ValveRodLength=6.35"});
    ASSERT_EQ(save.Status, 0) << save.Err;
    EXPECT_EQ(std::filesystem::file_size(file), 1440u);
    EXPECT_NE(Cli({"dims", "--dims", file}).Out.find("\n10,ValveRodLength,Valve Rod Length,6.35\n"),
              std::string::npos);

    const CliRun same = Cli({"compare", "-", "-"});
    ASSERT_EQ(same.Status, 0) << same.Err;
    const auto sameLines = Lines(same.Out);
    EXPECT_EQ(sameLines.at(1), ""); // no dimension differs
    for (size_t i = 3; i < sameLines.size(); ++i) {
        const auto cells = Cells(sameLines[i]);
        if (!cells.back().empty()) {
            EXPECT_EQ(std::stod(cells.back()), 0.0) << sameLines[i];
        }
    }

    const CliRun r = Cli({"compare", "-", file});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto lines = Lines(r.Out);
    EXPECT_EQ(lines.at(0), "id,name,display_name,a,b,b_minus_a");
    ASSERT_EQ(Cells(lines.at(1)).at(1), "ValveRodLength");
    EXPECT_NEAR(std::stod(Cells(lines.at(1)).at(5)), 0.007, 1e-6);
    EXPECT_EQ(lines.at(2), "");
    EXPECT_EQ(lines.at(3), "row,direction,field,a,b,b_minus_a");
    bool cutOffMoved = false;
    for (size_t i = 4; i < lines.size(); ++i) {
        const auto cells = Cells(lines[i]);
        if (cells.at(2) == "front_cutoff_pct" && std::abs(std::stod(cells.at(5))) > 1e-6)
            cutOffMoved = true;
    }
    EXPECT_TRUE(cutOffMoved);
    EXPECT_EQ(Cli({"compare", "-"}).Status, 2);
    EXPECT_EQ(Cli({"compare", "-", (dir / "missing.kvd").string()}).Status, 1);
    std::filesystem::remove_all(dir);
}

TEST(CliMidGear, CommandsMeasuredFromMidGearRefuseWithoutIt) {
    for (const std::vector<std::string>& command :
         std::vector<std::vector<std::string>>{{"midgear"},
                                               {"sweep", "--rev-arm-offset", "1.2"},
                                               {"events"},
                                               {"cutoffs"},
                                               {"readouts"},
                                               {"report"},
                                               {"sensitivity"}}) {
        const CliRun r = Cli(With(command, NoMidGear));
        EXPECT_EQ(r.Status, 1) << command[0];
        EXPECT_NE(r.Err.find("mid gear cannot be found"), std::string::npos) << r.Err;
        EXPECT_EQ(r.Out, "") << command[0];
    }
    // An absolute setting needs no mid gear.
    EXPECT_EQ(Cli(With({"sweep", "--rev-arm", "10.4", "--to", "0"}, NoMidGear)).Status, 0);
    const CliRun settings =
        Cli(With({"report", "--settings", "10.4", "--format", "json"}, NoMidGear));
    EXPECT_EQ(settings.Status, 0);
    EXPECT_EQ(settings.Out.rfind("{\"mid_gear\": null, ", 0), 0u) << settings.Out;
}

TEST(CliSweep, UnsolvedRowsAreFlaggedWithEmptyCells) {
    EXPECT_EQ(Cli({"sweep", "--from", "10", "--to", "0"}).Status, 2);
    // A radius bar too long to close: the gear search runs into its limit.
    const CliRun r = Cli({"sweep", "--rev-arm", "10.4", "--set", "RadiusBarLength=10", "--from",
                          "0", "--to", "10", "--step", "10"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 3u);
    for (size_t row = 1; row < lines.size(); ++row) {
        EXPECT_EQ(Column(lines, row, "solve_error"), "1");
        EXPECT_EQ(Column(lines, row, "p3x"), "");  // the crosshead: never reached
        EXPECT_EQ(Column(lines, row, "p5y"), "");  // the search that stopped
        EXPECT_NE(Column(lines, row, "p14x"), ""); // the return crank: solved first
        EXPECT_EQ(Column(lines, row, "valve_offset"), "");
    }
    EXPECT_EQ(r.Out.find("nan"), std::string::npos);
    // A sound design leaves no cell empty.
    EXPECT_EQ(Cli({"sweep", "--to", "30"}).Out.find(",,"), std::string::npos);
}

TEST(CliHelp, VersionAndEachCommandsHelp) {
    const CliRun v = Cli({"--version"});
    EXPECT_EQ(v.Status, 0);
    EXPECT_EQ(v.Out.rfind("kestrove-cli ", 0), 0u);
    for (const char* command : {"report", "check", "sensitivity", "dims", "save", "compare",
                                "sweep", "midgear", "events", "readouts", "cutoffs"}) {
        const CliRun r = Cli({command, "--help"});
        EXPECT_EQ(r.Status, 0) << command;
        EXPECT_EQ(r.Out.rfind(std::string("Usage: kestrove-cli ") + command, 0), 0u) << r.Out;
        EXPECT_NE(r.Out.find("--set NAME=VALUE"), std::string::npos) << command;
    }
    EXPECT_EQ(Cli({"--help"}).Out.rfind("Usage: kestrove-cli COMMAND", 0), 0u);
}

TEST(CliSensitivity, EveryDimensionAtEverySetting) {
    const CliRun r = Cli({"sensitivity", "--offsets", "0.75"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 1u + 50u); // one setting, fifty dimensions with ids
    EXPECT_EQ(Column(lines, 1, "name"), "DriverDiameter");
    // The driver is only drawn: it moves nothing.
    EXPECT_EQ(std::stod(Column(lines, 1, "front_cutoff")), 0.0);
    // The valve rod moves the cut-off.
    EXPECT_NE(std::stod(Column(lines, 10, "front_cutoff")), 0.0);
}

} // namespace
