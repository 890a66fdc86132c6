// SPDX-License-Identifier: GPL-3.0-or-later
// The workshop commands through the real kestrove-cli: what a builder runs.

#include "analysis/setting_sheet.h"
#include "support/cli_run.h"
#include "workshop_test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using test_support::CliRun;

CliRun Cli(const std::vector<std::string>& words) {
    return test_support::RunCli(words);
}

class WorkshopCli : public testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("kes_workshop_cli_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string File(const char* name) const { return (dir / name).string(); }
    std::filesystem::path dir;
};

TEST_F(WorkshopCli, SettingSheetJsonIsTheSheetOfTheDesign) {
    const std::string dims = KESTROVE_TEST_DATA "/big-engine.kvd";
    const CliRun r = Cli({"setting-sheet", "--dims", dims, "--notches", "1.2,-0.6"});
    ASSERT_EQ(r.Status, 0);
    const auto j = nlohmann::json::parse(r.Out);
    const auto m = workshop_test::BigEngine();
    const kes::SettingSheet sheet = kes::ComputeSettingSheet(*m, {{1.2, -0.6}});
    ASSERT_EQ(j["notches"].size(), 2u);
    EXPECT_NEAR(j["stroke"].get<double>(), *sheet.Stroke, 1e-9);
    EXPECT_EQ(j["notches"][1]["direction"], "R");
    EXPECT_NEAR(j["notches"][1]["rear"]["cutoff"].get<double>(), *sheet.Notches[1].Rear.CutOff,
                1e-9);
    // The keys in the order of the sheet.
    EXPECT_EQ(r.Out.find("\"stroke\""), r.Out.find('"'));

    EXPECT_EQ(Cli({"setting-sheet", "--format", "pdf"}).Status, 2); // needs -o
    ASSERT_EQ(Cli({"setting-sheet", "--format", "pdf", "-o", File("s.pdf")}).Status, 0);
    EXPECT_GT(std::filesystem::file_size(File("s.pdf")), 1000u);
    ASSERT_EQ(Cli({"setting-sheet", "--format", "csv", "-o", File("s.csv")}).Status, 0);
    std::ifstream csv(File("s.csv"));
    std::string header;
    std::getline(csv, header);
    EXPECT_EQ(header.rfind("offset,setting,direction", 0), 0u);
}

TEST_F(WorkshopCli, DrawingsAndTheDxfAreWrittenAndBadOptionsRefused) {
    EXPECT_EQ(Cli({"dxf", "--links", "--unit", "mm", "-o", File("g.dxf")}).Status, 0);
    std::ifstream dxf(File("g.dxf"));
    std::string text((std::istreambuf_iterator<char>(dxf)), {});
    EXPECT_NE(text.find("$INSUNITS"), std::string::npos);
    EXPECT_NE(text.find("radius-bar"), std::string::npos);
    EXPECT_EQ(Cli({"dxf", "-o", File("g.svg")}).Status, 2);
    EXPECT_EQ(Cli({"dxf", "--unit", "ft", "-o", File("g.dxf")}).Status, 2);

    EXPECT_EQ(Cli({"links", "-o", File("l.pdf")}).Status, 0);
    EXPECT_EQ(Cli({"links", "--decimals", "9", "-o", File("l.pdf")}).Status, 2);
    EXPECT_EQ(Cli({"arrangement", "--drawing-scale", "1:4", "-o", File("a.pdf")}).Status, 0);
    // Too large a scale for A4 is the design's refusal, not a bad option.
    EXPECT_EQ(
        Cli({"arrangement", "--drawing-scale", "1:1", "--paper", "a4", "-o", File("b.pdf")}).Status,
        1);
    EXPECT_FALSE(std::filesystem::exists(File("b.pdf")));
    EXPECT_EQ(Cli({"arrangement", "--drawing-scale", "1:3", "-o", File("a.pdf")}).Status, 2);
    EXPECT_EQ(
        Cli({"drawing", "--paper", "a3", "--orientation", "landscape", "-o", File("d.pdf")}).Status,
        0);
    EXPECT_EQ(Cli({"drawing", "--paper", "b5", "-o", File("d.pdf")}).Status, 2);
    for (const char* command : {"links", "arrangement", "dxf", "setting-sheet"}) {
        const CliRun h = Cli({command, "--help"});
        EXPECT_EQ(h.Out.rfind(std::string("Usage: kestrove-cli ") + command, 0), 0u) << command;
    }
}

} // namespace
