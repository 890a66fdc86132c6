// SPDX-License-Identifier: GPL-3.0-or-later
// A dimension file that holds a NaN or an infinity is refused by name, and
// the model stays as it was.

#include "files/dimension_file.h"
#include "files/dimension_record.h"
#include "files_test_support.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using namespace filestest;
using namespace kes;

const float NaN = std::numeric_limits<float>::quiet_NaN();
const float Inf = std::numeric_limits<float>::infinity();

// A saved factory design with one slot replaced.
std::string FileWith(const ScratchDir& dir, const char* name, int record, int slot, float v) {
    Model m;
    InitialiseModel(m);
    const std::string path = dir.File(name);
    EXPECT_TRUE(SaveDimensionFile(m, path).Ok);
    auto bytes = ReadBytes(path);
    bytes.resize(static_cast<size_t>(std::string(name).ends_with(".kvx") ? 13 * 20 : bytes.size()));
    PutFloatLE(v, bytes.data() + 20 * record + 4 * slot);
    WriteBytes(path, bytes);
    return path;
}

TEST(NonFiniteFile, RefusedByEveryReaderNamingTheValue) {
    const struct {
        int Record, Slot;
        float Value;
        const char* Message;
    } cases[] = {
        {10, 1, NaN, "Dimension file: record 10, Valve Length Front Half is not a finite number"},
        {0, 0, Inf, "Dimension file: record 0, Valve Rod Length is not a finite number"},
        {2, 2, -Inf, "Dimension file: record 2, Stroke is not a finite number"},
        {1, 4, NaN, "Dimension file: record 1, Baker Gear Mtg Horz is not a finite number"},
        {10, 4, NaN, "Dimension file: record 10, Cyl CL above Driver ctr is not a finite number"},
        {11, 1, Inf, "Dimension file: record 11, slot 2 is not a finite number"},
        {12, 0, NaN, "Dimension file: record 12, Rev Arm to Cent Norm is not a finite number"},
    };
    ScratchDir dir;
    for (const auto& c : cases)
        for (const char* name : {"bad.kvd", "bad.kvx"}) {
            SCOPED_TRACE(std::string(name) + " " + c.Message);
            const std::string path = FileWith(dir, name, c.Record, c.Slot, c.Value);
            Model m = SampleDesign(3);
            const Model before = m;
            const FileResult byExtension = LoadDimensionsByExtension(m, path);
            EXPECT_FALSE(byExtension.Ok);
            EXPECT_EQ(byExtension.Message, c.Message);
            const FileResult direct = std::string(name).ends_with(".kvx")
                                          ? ImportOlderDimensionFile(m, path)
                                          : OpenDimensionFile(m, path);
            EXPECT_EQ(direct.Message, c.Message);
            ExpectSameStoredValues(before, m);
            EXPECT_EQ(m.DataSetName, before.DataSetName);
        }
}

TEST(NonFiniteFile, LineCoordinatesAreCheckedTheIntegersRounded) {
    ScratchDir dir;
    Model m = SampleDesign(4);
    EXPECT_EQ(OpenDimensionFile(m, FileWith(dir, "l.kvd", 20, 2, NaN)).Message,
              "Dimension file: record 20, slot 3 is not a finite number");
    // Item types and CurrentItem are whole numbers, rounded and kept in range.
    EXPECT_TRUE(OpenDimensionFile(m, FileWith(dir, "t.kvd", 52, 1, NaN)).Ok);
    EXPECT_TRUE(OpenDimensionFile(m, FileWith(dir, "c.kvd", 71, 4, Inf)).Ok);
    // The slot the older format leaves unused may hold anything.
    EXPECT_TRUE(ImportOlderDimensionFile(m, FileWith(dir, "u.kvx", 11, 3, NaN)).Ok);
}

} // namespace
