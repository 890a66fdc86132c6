// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile files: random, truncated, oversized, NaN-, infinity- and
// huge-value-filled. Every one opens or fails cleanly, the program solves on,
// and "&ResetAllDimensions" brings the design back.

#include "files/dimension_file.h"
#include "files_test_support.h"
#include "model/model.h"
#include "model/solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kes;
using namespace filestest;

namespace {

enum class Fill { RandomBytes, NaNs, Infinities, Huge, Tiny, Mixed, CorruptedDesign, Count };

float HostileValue(Fill fill, std::mt19937& gen) {
    std::uniform_int_distribution<uint32_t> bits;
    std::uniform_int_distribution<int> pick(0, 7);
    switch (fill) {
    case Fill::NaNs:
        return std::bit_cast<float>(0x7F800001u | (bits(gen) & 0x807FFFFFu));
    case Fill::Infinities:
        return bits(gen) % 2 ? std::numeric_limits<float>::infinity()
                             : -std::numeric_limits<float>::infinity();
    case Fill::Huge:
        return (bits(gen) % 2 ? 1.0f : -1.0f) *
               (pick(gen) < 4 ? 1e30f : std::numeric_limits<float>::max());
    case Fill::Tiny:
        return std::bit_cast<float>(bits(gen) & 0x807FFFFFu); // denormals and zeros
    case Fill::Mixed: {
        const float menu[] = {0.0f,
                              -1.0f,
                              1e30f,
                              -1e30f,
                              std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              2147483648.0f,
                              0.5f};
        return menu[pick(gen)];
    }
    default:
        return std::bit_cast<float>(bits(gen));
    }
}

std::vector<unsigned char> HostileFile(std::mt19937& gen,
                                       const std::vector<unsigned char>& design) {
    std::uniform_int_distribution<int> kind(0, static_cast<int>(Fill::Count) - 1);
    const std::size_t sizes[] = {0, 7, 259, 260, 261, 380, 400, 420, 1439, 1440, 1441, 4000};
    std::uniform_int_distribution<std::size_t> sizePick(0, std::size(sizes));
    std::uniform_int_distribution<std::size_t> anySize(0, 3000);
    const std::size_t index = sizePick(gen);
    const std::size_t size = index < std::size(sizes) ? sizes[index] : anySize(gen);

    const Fill fill = static_cast<Fill>(kind(gen));
    std::vector<unsigned char> bytes(size);
    if (fill == Fill::CorruptedDesign) {
        // A good design with a handful of values spoilt.
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = design[i % design.size()];
        std::uniform_int_distribution<std::size_t> at(0, size / 4 == 0 ? 0 : size / 4 - 1);
        for (int k = 0; k < 6 && size >= 4; ++k) {
            const Fill spoil = static_cast<Fill>(k % static_cast<int>(Fill::Mixed) + 1);
            PutFloatLE(HostileValue(spoil, gen), bytes.data() + 4 * at(gen));
        }
        return bytes;
    }
    for (std::size_t i = 0; i + 4 <= size; i += 4)
        PutFloatLE(HostileValue(fill, gen), bytes.data() + i);
    for (std::size_t i = size - size % 4; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(gen());
    return bytes;
}

void SolveAFewAngles(Model& m) {
    for (float angle : {0.0f, 45.0f, 137.5f, 270.0f}) {
        m.DriverAngle = angle;
        SolveLinkage(m);
        SolvePortOpenings(m);
    }
}

} // namespace

TEST(HostileFiles, NeverCrashHangOrLeaveTheProgramUnusable) {
    ScratchDir dir;
    Model good;
    InitialiseModel(good);
    const std::string designPath = dir.File("good.kvd");
    ASSERT_TRUE(SaveDimensionFile(good, designPath).Ok);
    const auto design = ReadBytes(designPath);

    std::mt19937 gen(20240611u);
    int opened = 0;
    int refused = 0;
    for (int i = 0; i < 400; ++i) {
        SCOPED_TRACE("file " + std::to_string(i));
        const bool older = i % 3 == 0;
        const std::string path =
            dir.File("hostile" + std::to_string(i) + (older ? ".kvx" : ".kvd"));
        WriteBytes(path, HostileFile(gen, design));

        Model m;
        InitialiseModel(m);
        const FileResult r = LoadDimensionsByExtension(m, path);
        if (r.Ok) {
            ++opened;
            EXPECT_GE(m.CurrentItem, 1);
            EXPECT_LE(m.CurrentItem, LineItemCount);
            EXPECT_LE(m.RevArmPositionCount, 9);
            SolveAFewAngles(m);

            // Whatever was taken in is saved back as it was read.
            const std::string again = dir.File("again.kvd");
            ASSERT_TRUE(SaveDimensionFile(m, again).Ok);
            Model reread = m;
            const FileResult back = OpenDimensionFile(reread, again);
            ASSERT_TRUE(back.Ok) << back.Message;
            ExpectSameStoredValues(m, reread);
        } else {
            ++refused;
            EXPECT_TRUE(r.Message == "Read beyond end of file" ||
                        r.Message.ends_with("is not a finite number"))
                << r.Message;
            EXPECT_EQ(m.DataSetName, "Nominal");
        }

        // The reset of all dimensions brings the factory design back.
        ResetAllDimensions(m);
        SolveAFewAngles(m);
        EXPECT_NEAR(m.MidGear(), 10.4234, 1e-3);
        EXPECT_EQ(m.Frame.StrokeLength, 3.5f);
        EXPECT_TRUE(std::isfinite(m.Points[Crosshead].X));
    }
    // Both outcomes were exercised.
    EXPECT_GT(opened, 50);
    EXPECT_GT(refused, 50);
}

TEST(HostileFiles, IntegersSaturateAndNaNBecomesZero) {
    ScratchDir dir;
    auto bytes = MakeRecords(72, [](int r, int) { return r < 19 ? 1.0f : 0.0f; });
    auto put = [&](int record, int slot, float v) {
        PutFloatLE(v, bytes.data() + 20 * record + 4 * slot);
    };
    put(51, 0, 1e30f);                                   // ItemType of item 1
    put(55, 1, -1e30f);                                  // ItemColor of item 2
    put(59, 2, std::numeric_limits<float>::quiet_NaN()); // RefMode of item 3
    put(63, 3, std::numeric_limits<float>::infinity());  // Ref1Pivot of item 4
    put(70, 4, 2.5f);                                    // Ref2Pivot of item 20
    put(71, 4, 1e30f);                                   // CurrentItem
    const std::string path = dir.File("ints.kvd");
    WriteBytes(path, bytes);

    Model m;
    InitialiseModel(m);
    ASSERT_TRUE(OpenDimensionFile(m, path).Ok);
    EXPECT_EQ(m.LineTable[1].ItemType, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(m.LineTable[2].ItemColor, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(m.LineTable[3].RefMode, 0);
    EXPECT_EQ(m.LineTable[4].Ref1Pivot, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(m.LineTable[20].Ref2Pivot, 2);
    EXPECT_EQ(m.CurrentItemHolding, 1e30f);
    EXPECT_EQ(m.CurrentItem, LineItemCount);

    put(71, 4, std::numeric_limits<float>::quiet_NaN());
    WriteBytes(path, bytes);
    ASSERT_TRUE(OpenDimensionFile(m, path).Ok);
    EXPECT_EQ(m.CurrentItem, 1);
    put(71, 4, -3.0f);
    put(71, 0, 12.0f); // slots 1 to 4 are read but slot 5 is the one that counts
    WriteBytes(path, bytes);
    ASSERT_TRUE(OpenDimensionFile(m, path).Ok);
    EXPECT_EQ(m.CurrentItem, 1);
    EXPECT_EQ(m.CurrentItemHolding, -3.0f);
}
