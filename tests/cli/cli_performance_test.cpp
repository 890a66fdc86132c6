// SPDX-License-Identifier: GPL-3.0-or-later
// kestrove-cli performance through the real program: the JSON's exact shape,
// the engine file beside the design, the sweeps and hostile engine data.

#include "support/cli_run.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Json = nlohmann::ordered_json;

using test_support::CliRun;

// The performance command with the words.
CliRun Cli(std::vector<std::string> words) {
    words.insert(words.begin(), "performance");
    return test_support::RunCli(words);
}

std::vector<std::string> Keys(const Json& j) {
    std::vector<std::string> keys;
    for (const auto& [k, v] : j.items())
        keys.push_back(k);
    return keys;
}

TEST(CliPerformance, JsonHasExactlyTheDocumentedShape) {
    const CliRun r = Cli({"--cutoff", "30", "--speed", "20"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const Json j = Json::parse(r.Out);
    EXPECT_EQ(Keys(j),
              (std::vector<std::string>{"units", "setting", "direction", "rpm", "speed", "front",
                                        "rear", "mep", "ihp", "tractive_effort", "steam_per_hour",
                                        "steam_rate", "cylinder_efficiency"}));
    EXPECT_EQ(j["units"], "imperial");
    EXPECT_EQ(j["direction"], "F");
    EXPECT_DOUBLE_EQ(j["speed"].get<double>(), 20.0);
    // 20 mph on the factory's 9-inch drivers.
    EXPECT_NEAR(j["rpm"].get<double>(), 20.0 * 1056.0 / (3.14159265358979 * 9.0), 1e-6);
    for (const char* end : {"front", "rear"}) {
        const Json& e = j[end];
        EXPECT_EQ(Keys(e), (std::vector<std::string>{"cutoff_pct", "release_pct", "compression_pct",
                                                     "mep", "steam_per_turn", "card"}));
        ASSERT_EQ(e["card"].size(), 360u);
        for (std::size_t i = 0; i < e["card"].size(); ++i) {
            const Json& row = e["card"][i];
            ASSERT_EQ(row.size(), 3u);
            EXPECT_EQ(row[0].get<double>(), static_cast<double>(i));
            EXPECT_GT(row[1].get<double>(), 0.0);
            // Gauge pressure between a little below the exhaust and a little above the boiler.
            EXPECT_GT(row[2].get<double>(), -14.7);
            EXPECT_LT(row[2].get<double>(), 260.0);
        }
        EXPECT_GT(e["mep"].get<double>(), 0.0);
    }
    EXPECT_NEAR((j["front"]["cutoff_pct"].get<double>() + j["rear"]["cutoff_pct"].get<double>()) /
                    2.0,
                30.0, 1e-3);
    EXPECT_GT(j["cylinder_efficiency"].get<double>(), 0.0);
    EXPECT_LT(j["cylinder_efficiency"].get<double>(), 1.0);
}

TEST(CliPerformance, SweepsHaveTheirRows) {
    const CliRun speed = Cli({"--sweep", "speed"});
    ASSERT_EQ(speed.Status, 0) << speed.Err;
    const Json s = Json::parse(speed.Out);
    EXPECT_EQ(Keys(s), (std::vector<std::string>{"sweep", "rows"}));
    EXPECT_EQ(s["sweep"], "speed");
    ASSERT_EQ(s["rows"].size(), 10u);
    EXPECT_EQ(Keys(s["rows"][0]),
              (std::vector<std::string>{"speed", "mep", "ihp", "tractive_effort", "steam_rate"}));

    const CliRun cut = Cli({"--sweep", "cutoff", "--speed", "10"});
    ASSERT_EQ(cut.Status, 0) << cut.Err;
    const Json c = Json::parse(cut.Out);
    EXPECT_EQ(c["sweep"], "cutoff");
    ASSERT_EQ(c["rows"].size(), 8u);
    EXPECT_EQ(Keys(c["rows"][0]), (std::vector<std::string>{"cutoff_pct", "mep", "ihp",
                                                            "tractive_effort", "steam_rate"}));
    // A longer cut-off gives more work.
    for (std::size_t i = 1; i < c["rows"].size(); ++i) {
        if (c["rows"][i]["mep"].is_null() || c["rows"][i - 1]["mep"].is_null()) continue;
        EXPECT_GT(c["rows"][i]["mep"].get<double>(), c["rows"][i - 1]["mep"].get<double>());
    }

    const CliRun csv = Cli({"--sweep", "speed", "--format", "csv"});
    ASSERT_EQ(csv.Status, 0);
    EXPECT_EQ(csv.Out.substr(0, csv.Out.find('\n')),
              "speed_mph,mep_psi,ihp_hp,tractive_effort_lbf,steam_rate_lb/ihp-h");
}

TEST(CliPerformance, ReadsTheEngineFileBesideTheDesign) {
    const auto dir = std::filesystem::temp_directory_path() / "kes_perf_engine";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string kvd = (dir / "small.kvd").string();
    std::filesystem::copy_file(KESTROVE_DATA "/small-engine.kvd", kvd);
    const auto mep = [&](std::vector<std::string> extra) {
        std::vector<std::string> words{"--dims", kvd, "--offset", "1", "--speed", "10"};
        words.insert(words.end(), extra.begin(), extra.end());
        const CliRun r = Cli(words);
        EXPECT_EQ(r.Status, 0) << r.Err;
        return r.Status == 0 ? Json::parse(r.Out)["mep"].get<double>() : 0.0;
    };
    const double defaults = mep({});
    std::ofstream(dir / "small.engine.json") << R"({"boiler_pressure": 120})";
    const double beside = mep({});
    EXPECT_LT(beside, 0.75 * defaults);
    EXPECT_NEAR(mep({"--engine-set", "boiler_pressure=200"}), defaults, 1e-9 * defaults);
    const std::string other = (dir / "other.json").string();
    std::ofstream(other) << R"({"boiler_pressure": 200, "superheat": 0})";
    EXPECT_NEAR(mep({"--engine", other}), defaults, 1e-9 * defaults);
    std::filesystem::remove_all(dir);
}

TEST(CliPerformance, HostileEngineDataIsAClearError) {
    const struct {
        std::vector<std::string> Words;
        int Status;
        const char* Mentions;
    } cases[] = {
        {{"--engine-set", "boiler_pressure=-5"}, 1, "boiler_pressure"},
        {{"--engine-set", "boiler_pressure=0"}, 1, "boiler_pressure"},
        {{"--engine-set", "back_pressure=250"}, 1, "back_pressure"},
        {{"--engine-set", "superheat=NaN"}, 2, "superheat"},
        {{"--engine-set", "cylinders=0"}, 2, "cylinders"},
        {{"--engine-set", "clearance_front_pct=0"}, 1, "clearance_front_pct"},
        {{"--engine-set", "boiler"}, 2, "KEY=VALUE"},
        {{"--engine", "/nonexistent/x.json"}, 1, "x.json"},
        {{"--speed", "0"}, 2, "speed"},
        {{"--cutoff", "30", "--offset", "1"}, 2, "one of"},
        {{"--sweep", "pressure"}, 2, "--sweep"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.Words);
        EXPECT_EQ(r.Status, c.Status) << c.Words[0] << " " << c.Words.back() << ": " << r.Err;
        EXPECT_NE(r.Err.find(c.Mentions), std::string::npos) << r.Err;
        EXPECT_EQ(r.Out.find("nan"), std::string::npos);
        EXPECT_TRUE(r.Out.empty()) << r.Out.substr(0, 100);
    }
}

} // namespace
