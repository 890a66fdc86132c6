// SPDX-License-Identifier: GPL-3.0-or-later
// What the command line says to a new user: repeated options, numbers out
// of range or not decimal, files that are no regular files, a design that
// cannot be drawn, no stray Qt lines, a dimension file holding a NaN, and the
// ids 29 and 30. Through the real kestrove-cli.

#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

using test_support::CliRun;

CliRun Cli(const std::vector<std::string>& words) {
    return test_support::RunCli(words);
}

class Scratch {
  public:
    Scratch() : dir_(fs::temp_directory_path() / ("kes_words_" + std::to_string(::getpid()))) {
        fs::create_directories(dir_);
    }
    ~Scratch() { fs::remove_all(dir_); }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }

  private:
    fs::path dir_;
};

#ifdef KESTROVE_CLI_DRAWS
constexpr bool CliDraws = true;
#else
constexpr bool CliDraws = false;
#endif

bool IsPictureCommand(const std::string& word) {
    return word == "diagram" || word == "drawing" || word == "pdf";
}

void ExpectUsage(const std::vector<std::string>& words, const std::string& message) {
    if (!CliDraws && IsPictureCommand(words.front())) return;
    const CliRun r = Cli(words);
    EXPECT_EQ(r.Status, 2) << words.front() << " " << r.Err;
    EXPECT_NE(r.Err.find(message), std::string::npos)
        << "wanted \"" << message << "\", got " << r.Err;
}

TEST(CliWords, RepeatedOptionsNumbersAndSpaces) {
    ExpectUsage({"dims", "--dims", "a.kvd", "--dims", "b.kvd"}, "--dims is given twice");
    ExpectUsage({"sweep", "--step", "5", "--step", "10"}, "--step is given twice");
    ExpectUsage({"diagram", "sine", "--bare", "--bare", "-o", "x.png"}, "--bare is given twice");
    ExpectUsage({"sweep", "--step", "1e39"}, "out of range for --step: \"1e39\"");
    ExpectUsage({"sweep", "--step", "1e300"}, "out of range for --step: \"1e300\"");
    ExpectUsage({"dims", "--set", "StrokeLength=-1e39"}, "out of range for --set StrokeLength");
    ExpectUsage({"report", "--settings", "10,1e300"}, "out of range in --settings");
    for (const char* word : {"0x10", " 5", "5 ", "inf", "nan", "1e", ".", "5..", "+-5"})
        ExpectUsage({"sweep", "--step", word}, "not a number for --step");
    // Several --set are fine; decimals in every spelling are taken.
    for (const char* word : {"5", "+5", "5.", ".5", "5e0", "5E+0", "50e-1"})
        EXPECT_EQ(Cli({"sweep", "--to", "10", "--step", word, "--set", "StrokeLength=28", "--set",
                       "MainRodLength=100"})
                      .Status,
                  0)
            << word;
}

TEST(CliWords, FilesThatAreNoRegularFiles) {
    Scratch scratch;
    const std::string fifo = scratch.File("pipe.kvd");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
         {fs::temp_directory_path().string(), fifo, std::string("/dev/null")}) {
        const CliRun r = Cli({"dims", "--dims", path});
        EXPECT_EQ(r.Status, 1);
        EXPECT_EQ(r.Err, "kestrove-cli: " + path + ": Not a regular file\n");
        EXPECT_NE(Cli({"save", "-o", path}).Err.find("Not a regular file"), std::string::npos);
    }
}

TEST(CliWords, DrawingAndPicturesSayOnlyWhatMatters) {
    if (!CliDraws) GTEST_SKIP() << "built without the picture commands";
    ::unsetenv("XDG_RUNTIME_DIR");
    Scratch scratch;
    const std::string svg = scratch.File("gear.svg");
    const CliRun open = Cli({"drawing", "--set", "RadiusBarLength=0.1", "-o", svg});
    EXPECT_EQ(open.Status, 1);
    EXPECT_EQ(open.Err.find("gear.svg"), std::string::npos) << open.Err;
    EXPECT_EQ(open.Err.rfind("kestrove-cli: drawing: ", 0), 0u) << open.Err;
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"drawing", "-o", svg},
             {"pdf", "-o", scratch.File("r.pdf")},
             {"diagram", "oval", "-o", scratch.File("o.png")},
             {"links", "-o", scratch.File("l.svg")},
             {"arrangement", "-o", scratch.File("a.pdf")},
             {"setting-sheet", "--format", "pdf", "-o", scratch.File("s.pdf")},
             {"dxf", "-o", scratch.File("g.dxf")}}) {
        const CliRun r = Cli(words);
        EXPECT_EQ(r.Status, 0) << words[0];
        EXPECT_EQ(r.Err, "") << words[0];
    }
}

TEST(CliWords, EveryHelpEndsWithANewline) {
    for (const char* command :
         {"sweep",       "midgear",       "diagram", "pdf",         "drawing",     "events",
          "readouts",    "cutoffs",       "report",  "check",       "sensitivity", "dims",
          "save",        "compare",       "balance", "performance", "targets",     "links",
          "arrangement", "setting-sheet", "dxf",     "pivots"}) {
        for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
                 {command, "--help"}, {"--help", command}, {command, "--help", "--help"}}) {
            const CliRun r = Cli(words);
            EXPECT_EQ(r.Status, 0) << command;
            ASSERT_FALSE(r.Out.empty()) << command;
            EXPECT_EQ(r.Out.back(), '\n') << command;
            EXPECT_EQ(r.Err, "") << command;
        }
    }
}

// A saved factory design with a NaN in the front valve length.
std::string NaNDesign(const Scratch& scratch) {
    const std::string path = scratch.File("nan.kvd");
    EXPECT_EQ(Cli({"save", "-o", path}).Status, 0);
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    const float nan = std::nanf("");
    f.seekp(10 * 20 + 4);
    f.write(reinterpret_cast<const char*>(&nan), sizeof nan);
    return path;
}

TEST(CliNonFinite, EveryCommandRefusesAFileWithANaN) {
    Scratch scratch;
    const std::string bad = NaNDesign(scratch);
    const std::string message =
        "Dimension file: record 10, Valve Length Front Half is not a finite number";
    for (const std::vector<std::string>& words :
         std::vector<std::vector<std::string>>{{"sweep"},
                                               {"midgear"},
                                               {"events"},
                                               {"readouts"},
                                               {"cutoffs"},
                                               {"report"},
                                               {"check"},
                                               {"sensitivity"},
                                               {"dims"},
                                               {"save", "-o", scratch.File("out.kvd")},
                                               {"balance"},
                                               {"diagram", "sine", "-o", scratch.File("s.svg")},
                                               {"pdf", "-o", scratch.File("r.pdf")},
                                               {"drawing", "-o", scratch.File("d.svg")}}) {
        std::vector<std::string> all = words;
        all.insert(all.end(), {"--dims", bad});
        const CliRun r = Cli(all);
        EXPECT_EQ(r.Status, 1) << words[0];
        EXPECT_NE(r.Err.find(message), std::string::npos) << words[0] << ": " << r.Err;
        EXPECT_EQ(r.Out, "") << words[0];
    }
    const CliRun compare = Cli({"compare", "-", bad});
    EXPECT_EQ(compare.Status, 1);
    EXPECT_NE(compare.Err.find(message), std::string::npos) << compare.Err;
    EXPECT_FALSE(fs::exists(scratch.File("out.kvd")));
}

TEST(CliIds, RevArmNormAndMaxAre29And30Everywhere) {
    const CliRun dims = Cli({"dims", "--set", "29=0.5", "--set", "30=2.0"});
    ASSERT_EQ(dims.Status, 0) << dims.Err;
    EXPECT_NE(dims.Out.find("\n29,RevArmNorm,Rev Arm to Cent Norm,0.5\n"), std::string::npos)
        << dims.Out;
    EXPECT_NE(dims.Out.find("\n30,RevArmMax,Rev Arm to Cent Max,2\n"), std::string::npos);
    // Not ids of the balancing's free dimensions: they are ranges, not lengths.
    ExpectUsage({"balance", "--free", "29"}, "not a free dimension");
    ExpectUsage({"dims", "--set", "31=1"}, "no dimension named 31");
}

} // namespace
