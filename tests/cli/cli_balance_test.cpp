// SPDX-License-Identifier: GPL-3.0-or-later
// kestrove-cli balance through its command function: the written design
// reports what the command printed as "after", an infeasible design writes
// nothing, and bad options are usage errors.

#include "analysis/balance.h"
#include "analysis/report_format.h"
#include "cli/cli_balance.h"
#include "files/dimension_file.h"
#include "model/dimensions.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int Status = -1;
    std::string Out;
};

Outcome Balance(kes::Model& m, std::vector<std::string> words) {
    cli::Args args(std::move(words));
    std::ostringstream out;
    Outcome o;
    o.Status = cli::RunBalanceCommand(m, args, out);
    o.Out = out.str();
    return o;
}

kes::Model Loaded(const std::string& path) {
    kes::Model m;
    kes::InitialiseModel(m);
    if (!path.empty()) {
        const kes::FileResult r = kes::LoadDimensionsByExtension(m, path);
        EXPECT_TRUE(r.Ok) << path << ": " << r.Message;
    }
    return m;
}

double NumberAfter(const std::string& text, const std::string& key) {
    const size_t at = text.find("\"" + key + "\": ");
    EXPECT_NE(at, std::string::npos) << key;
    return at == std::string::npos ? 0.0 : std::strtod(text.c_str() + at + key.size() + 4, nullptr);
}

// The report JSON after the last "after" key, the object's last member.
std::string AfterReport(const std::string& json) {
    const std::string key = ", \"after\": ";
    const size_t at = json.rfind(key);
    if (at == std::string::npos || json.size() < at + key.size() + 2) return {};
    return json.substr(at + key.size(), json.size() - at - key.size() - 2); // less "}\n"
}

fs::path TempFile(const std::string& name) {
    return fs::temp_directory_path() / ("kestrove-balance-" + std::to_string(::getpid()) + name);
}

TEST(CliBalance, WrittenDesignReportsTheAfterFigures) {
    struct Case {
        const char* Name;
        std::string Dims;
        std::vector<std::string> Options;
    };
    const Case cases[] = {
        {"factory", "", {}},
        {"small engine, two free, own offsets",
         std::string(KESTROVE_DATA) + "/small-engine.kvd",
         {"--free", "ValveRodLength,EccRodLength", "--offsets", "-1.5,-0.75,0.75,1.5",
          "--weight-fwd-rev", "0.5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        kes::Model m = Loaded(c.Dims);
        const fs::path out = TempFile(".kvd");
        std::vector<std::string> words = c.Options;
        for (const char* w : {"--format", "json", "-o"})
            words.push_back(w);
        words.push_back(out.string());
        const Outcome o = Balance(m, words);
        ASSERT_EQ(o.Status, 0) << o.Out;
        EXPECT_NE(o.Out.find("\"feasible\": true"), std::string::npos);
        EXPECT_LT(NumberAfter(o.Out, "objective_after"), NumberAfter(o.Out, "objective_before"));
        EXPECT_GT(NumberAfter(o.Out, "evaluations"), 1.0);

        // A fresh report of the written file at the same settings.
        kes::Model written = Loaded(out.string());
        kes::ReportDef settings = kes::DefaultBalanceSettings(written);
        if (c.Options.size() > 2) settings.Offsets = {-1.5, -0.75, 0.75, 1.5};
        std::string fresh = kes::ReportJson(kes::ComputeReport(written, settings));
        while (!fresh.empty() && fresh.back() == '\n')
            fresh.pop_back();
        ASSERT_FALSE(fresh.empty());
        EXPECT_EQ(AfterReport(o.Out), fresh);
        fs::remove(out);
    }
}

TEST(CliBalance, CsvListsTheObjectiveAndEveryFreeDimension) {
    kes::Model m = Loaded("");
    const Outcome o = Balance(m, {"--free", "ValveRodLength,GearMountY", "--max-evals", "40"});
    ASSERT_EQ(o.Status, 0);
    std::istringstream lines(o.Out);
    std::string header, objective, evaluations;
    std::getline(lines, header);
    std::getline(lines, objective);
    std::getline(lines, evaluations);
    EXPECT_EQ(header, "name,before,after,change,change_pct");
    EXPECT_EQ(objective.rfind("objective,", 0), 0u);
    EXPECT_EQ(evaluations.rfind("evaluations,,", 0), 0u);
    const int evals = std::atoi(evaluations.c_str() + 13);
    EXPECT_GT(evals, 1);
    EXPECT_LE(evals, 41);
    EXPECT_NE(o.Out.find("\nValveRodLength,6.343"), std::string::npos);
    EXPECT_NE(o.Out.find("\nGearMountY,5,"), std::string::npos);
    EXPECT_EQ(o.Out.find("\nEccRodLength,"), std::string::npos);
}

TEST(CliBalance, InfeasibleDesignIsReportedAndNothingWritten) {
    kes::Model m = Loaded("");
    const fs::path out = TempFile("-infeasible.kvd");
    const Outcome o = Balance(m, {"--set", "RevArmMax=2.5", "--free", "DriverDiameter", "--format",
                                  "json", "-o", out.string()});
    EXPECT_EQ(o.Status, 3);
    EXPECT_NE(o.Out.find("\"feasible\": false"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
}

TEST(CliBalance, SampleEngineIsRepairedAndOnlyTheWheelFreeIsNot) {
    const std::string big = std::string(KESTROVE_DATA) + "/big-engine.kvd";
    {
        kes::Model m = Loaded(big);
        const Outcome o = Balance(m, {"--format", "json"});
        EXPECT_EQ(o.Status, 0);
        EXPECT_NE(o.Out.find("\"feasible\": true"), std::string::npos);
        EXPECT_NE(o.Out.find("\"repaired\": true"), std::string::npos);
    }
    // An existing output file stays as it was.
    const fs::path out = TempFile("-kept.kvd");
    {
        kes::Model m = Loaded("");
        ASSERT_TRUE(kes::SaveDimensionFile(m, out.string()).Ok);
    }
    const auto before = fs::file_size(out);
    kes::Model m = Loaded(big);
    const Outcome o =
        Balance(m, {"--free", "DriverDiameter", "--format", "json", "-o", out.string()});
    EXPECT_EQ(o.Status, 3);
    EXPECT_NE(o.Out.find("Driver Dia has no effect on the events: left as it is"),
              std::string::npos);
    const size_t at = o.Out.find("\"suggestion\": \"");
    ASSERT_NE(at, std::string::npos);
    const std::string suggestion = o.Out.substr(at, 300);
    EXPECT_TRUE(suggestion.find("steam lap") != std::string::npos ||
                suggestion.find("combination lever") != std::string::npos)
        << suggestion;
    EXPECT_EQ(fs::file_size(out), before);
    kes::Model reread = Loaded(out.string());
    EXPECT_EQ(kes::GetDimension(reread, 119), kes::GetDimension(Loaded(""), 119));
    fs::remove(out);
}

// The MEP differences of a JSON list, null as NaN.
std::vector<double> NumbersOf(const std::string& json, const std::string& key) {
    std::vector<double> values;
    const size_t at = json.find("\"" + key + "\": [");
    if (at == std::string::npos) return values;
    const char* p = json.c_str() + at + key.size() + 5;
    while (*p && *p != ']') {
        if (std::string_view(p, 4) == "null") {
            values.push_back(std::nan(""));
            p += 4;
        } else {
            char* end = nullptr;
            values.push_back(std::strtod(p, &end));
            p = end;
        }
        while (*p == ',' || *p == ' ')
            ++p;
    }
    return values;
}

TEST(CliBalance, MepWeightEvensTheMepsAndZeroChangesNothing) {
    // The exhaust laps even the MEPs without moving cut-off or lead.
    const std::vector<std::string> base = {
        "--free",      "ValveRodLength,ExhCavityRear,ExhCavityFront",
        "--offsets",   "-1.5,1.5",
        "--max-evals", "60",
        "--format",    "json"};
    kes::Model m = Loaded("");
    const Outcome plain = Balance(m, base);
    std::vector<std::string> zero = base;
    zero.insert(zero.end(), {"--mep-weight", "0"});
    EXPECT_EQ(Balance(m, zero).Out, plain.Out);
    EXPECT_EQ(plain.Out.find("mep_diff_pct"), std::string::npos);

    std::vector<std::string> weighted = base;
    weighted.insert(weighted.end(), {"--mep-weight", "20", "--engine-set", "boiler_pressure=180",
                                     "--mep-speed", "4"});
    const Outcome o = Balance(m, weighted);
    ASSERT_EQ(o.Status, 0) << o.Out;
    EXPECT_EQ(NumberAfter(o.Out, "mep_weight"), 20.0);
    EXPECT_EQ(NumberAfter(o.Out, "mep_speed"), 4.0);
    const std::vector<double> before = NumbersOf(o.Out, "before");
    const std::vector<double> after = NumbersOf(o.Out, "after");
    ASSERT_EQ(before.size(), 2u);
    ASSERT_EQ(after.size(), 2u);
    double b = 0.0, a = 0.0;
    for (size_t i = 0; i < 2; ++i) {
        ASSERT_TRUE(std::isfinite(before[i]) && std::isfinite(after[i]));
        b += before[i] * before[i];
        a += after[i] * after[i];
    }
    EXPECT_LT(a, 0.5 * b);
}

TEST(CliBalance, BadOptionsAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"--free", "NoSuchDimension"},
        {"--free", "RevArmNorm"},
        {"--settings", "10,11", "--offsets", "1,-1"},
        {"--offsets", "1,x"},
        {"--max-evals", "0"},
        {"--max-evals", "2.5"},
        {"--bounds", "-5"},
        {"--format", "xml"},
        {"--set", "ValveRodLength"},
        {"--unknown"},
        {"--mep-weight", "-1"},
        {"--mep-weight", "nan"},
        {"--mep-weight", "inf"},
        {"--mep-weight", "heavy"},
        {"--mep-speed", "5"},
        {"--engine", "engine.json"},
        {"--engine-set", "boiler_pressure=180"},
        {"--mep-weight", "1", "--mep-speed", "0"},
        {"--mep-weight", "1", "--engine-set", "boiler_pressure"},
        {"--mep-weight", "1", "--engine-set", "no_such_key=1"},
    };
    for (const auto& words : cases) {
        SCOPED_TRACE(words.front() + (words.size() > 1 ? " " + words[1] : ""));
        kes::Model m = Loaded("");
        cli::Args args(words);
        std::ostringstream out;
        EXPECT_THROW(cli::RunBalanceCommand(m, args, out), cli::UsageError);
        EXPECT_TRUE(out.str().empty());
    }
}

} // namespace
