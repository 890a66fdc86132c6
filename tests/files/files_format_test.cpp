// SPDX-License-Identifier: GPL-3.0-or-later
// The ".kvd" and ".kvx" formats: record bytes, where each value sits, round
// trips, short and long files, the older import and the data-set name.

#include "files/dimension_file.h"
#include "files/dimension_record.h"
#include "files_test_support.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "model/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace kes;
using namespace filestest;

namespace {

Model Factory() {
    Model m;
    InitialiseModel(m);
    return m;
}

// A value that names its own place: record r, slot s (0-based).
float Tag(int r, int s) {
    return static_cast<float>(1000 * r + 10 * s) + 0.5f;
}

struct Place {
    int Record;
    int Slot; // 0..4
    std::function<float&(Model&)> Value;
};

// Records 0 to 18, written out from the record layout of the file.
std::vector<Place> FixedPlaces() {
#define AT(r, s, expr)                                                                             \
    Place {                                                                                        \
        r, s, [](Model& m) -> float& { return expr; }                                              \
    }
    return {
        AT(0, 0, m.Frame.ValveRodLength),
        AT(0, 1, m.Frame.CombLeverUpper),
        AT(0, 2, m.Frame.CombLeverBackSet),
        AT(0, 3, m.Frame.CombLeverLower),
        AT(0, 4, m.Frame.UnionLinkLength),
        AT(1, 0, m.Frame.MainRodLength),
        AT(1, 1, m.Frame.EccRodLength),
        AT(1, 2, m.Frame.DropLinkBackSet),
        AT(1, 3, m.Frame.DropLinkVert),
        AT(1, 4, m.Points[GearMount].X),
        AT(2, 0, m.Points[GearMount].Y),
        AT(2, 1, m.Frame.EccCrankLength),
        AT(2, 2, m.Frame.StrokeLength),
        AT(2, 3, m.Frame.EccCircleDiameter),
        AT(2, 4, m.Baker.RevArmUpperLength),
        AT(3, 0, m.Baker.RadiusBarLength),
        AT(3, 1, m.Baker.RevArmLowerLength),
        AT(3, 2, m.Points[RevArmPivot].X),
        AT(3, 3, m.Points[RevArmPivot].Y),
        AT(3, 4, m.Baker.GearConRodLower),
        AT(4, 0, m.Baker.GearConRodUpper),
        AT(4, 1, m.Baker.GearConRodBackset),
        AT(4, 2, m.Baker.BellCrankHorz),
        AT(4, 3, m.Baker.BellCrankVert),
        AT(4, 4, m.Points[BellCrankPivot].X),
        AT(5, 0, m.Points[BellCrankPivot].Y),
        AT(5, 1, m.Baker.BellCrankBackSet),
        AT(5, 2, m.Points[RevArmPivotCopy].X),
        AT(5, 3, m.Points[RevArmPivotCopy].Y),
        AT(5, 4, m.Points[BellCrankPivotCopy].X),
        AT(6, 0, m.Points[BellCrankPivotCopy].Y),
        AT(6, 1, m.Cylinder[CylCtrToDriver]),
        AT(6, 2, m.Cylinder[BoreDiameter]),
        AT(6, 3, m.Cylinder[BoreLength]),
        AT(6, 4, m.Cylinder[CylSpare]),
        AT(7, 0, m.Cylinder[CylSteamPortWidth]),
        AT(7, 1, m.Cylinder[PistonRodLength]),
        AT(7, 2, m.Cylinder[PistonWidth]),
        AT(7, 3, m.Cylinder[ValveSurfaceToCylCL]),
        AT(7, 4, m.Cylinder[ValveStemToCylCL]),
        AT(8, 0, m.Cylinder[ExhaustPortWidth]),
        AT(8, 1, m.Cylinder[BridgeWidthRear]),
        AT(8, 2, m.Cylinder[SteamPortWidthRear]),
        AT(8, 3, m.Cylinder[ValveChamberHeight]),
        AT(8, 4, m.Cylinder[ValveChamberLength]),
        AT(9, 0, m.Cylinder[ValveHeight]),
        AT(9, 1, m.Cylinder[ValveLengthRear]),
        AT(9, 2, m.Cylinder[ExhCavityRear]),
        AT(9, 3, m.Cylinder[ValveCtrToJoint]),
        AT(9, 4, m.Cylinder[BridgeWidthFront]),
        AT(10, 0, m.Cylinder[SteamPortWidthFront]),
        AT(10, 1, m.Cylinder[ValveLengthFront]),
        AT(10, 2, m.Cylinder[ExhCavityFront]),
        AT(10, 3, m.VerticalScale),
        AT(10, 4, m.Points[Crosshead].Y),
        AT(11, 0, m.Points[GearConRodRadiusPin].Y),
        AT(11, 1, m.CurrentView.Scale),
        AT(11, 2, m.CurrentView.OffsetX),
        AT(11, 3, m.GraphicZoom),
        AT(11, 4, m.CurrentView.OffsetY),
        AT(12, 0, m.Frame.RevArmNorm),
        AT(12, 1, m.Frame.RevArmMax),
        AT(12, 2, m.RevArmSetting),
        AT(12, 3, m.Frame.DriverDiameter),
        AT(12, 4, m.DiagramRevArmSetting),
        AT(13, 0, m.ViewPresets[0]),
        AT(13, 1, m.ViewPresets[1]),
        AT(13, 2, m.ViewPresets[2]),
        AT(13, 3, m.ViewPresets[3]),
        AT(13, 4, m.ViewPresets[4]),
        AT(14, 0, m.ViewPresets[5]),
        AT(14, 1, m.ViewPresets[6]),
        AT(14, 2, m.ViewPresets[7]),
        AT(14, 3, m.ViewPresets[8]),
        AT(14, 4, m.ViewPresets[9]),
        AT(15, 0, m.ViewPresets[10]),
        AT(15, 1, m.ViewPresets[11]),
        AT(15, 2, m.ViewPresets[12]),
        AT(15, 3, m.ViewPresets[13]),
        AT(15, 4, m.ViewPresets[14]),
        AT(16, 0, m.ViewPresets[15]),
        AT(16, 1, m.ViewPresets[16]),
        AT(16, 2, m.ViewPresets[17]),
        AT(16, 3, m.ViewPresets[18]),
        AT(16, 4, m.ViewPresets[19]),
        AT(17, 0, m.ViewPresets[20]),
        AT(17, 1, m.RevArmPositions[1]),
        AT(17, 2, m.RevArmPositions[2]),
        AT(17, 3, m.RevArmPositions[3]),
        AT(17, 4, m.RevArmPositions[4]),
        AT(18, 0, m.RevArmPositions[5]),
        AT(18, 1, m.RevArmPositions[6]),
        AT(18, 2, m.RevArmPositions[7]),
        AT(18, 3, m.RevArmPositions[8]),
        AT(18, 4, m.RevArmPositions[9]),
    };
#undef AT
}

// The thirteen lines-table fields in file order; four records each.
enum LineField {
    P1X,
    P1Y,
    P2X,
    P2Y,
    R1X,
    R1Y,
    R2X,
    R2Y,
    Type,
    Color,
    Mode,
    Pivot1,
    Pivot2,
    LineFieldCount
};

double LineValue(const LineItem& it, int field) {
    switch (field) {
    case P1X:
        return it.Point1X;
    case P1Y:
        return it.Point1Y;
    case P2X:
        return it.Point2X;
    case P2Y:
        return it.Point2Y;
    case R1X:
        return it.Ref1X;
    case R1Y:
        return it.Ref1Y;
    case R2X:
        return it.Ref2X;
    case R2Y:
        return it.Ref2Y;
    case Type:
        return it.ItemType;
    case Color:
        return it.ItemColor;
    case Mode:
        return it.RefMode;
    case Pivot1:
        return it.Ref1Pivot;
    default:
        return it.Ref2Pivot;
    }
}

// Record and slot of item i (1..20) of a lines-table field.
int LineRecord(int field, int item) {
    return 19 + 4 * field + (item - 1) / 5;
}
int LineSlot(int item) {
    return (item - 1) % 5;
}

} // namespace

TEST(DimensionRecord, BytesAreLittleEndianIeeeSingles) {
    DimensionRecord r;
    r.Slot = {1.0f, -2.5f, 0.0f, -0.0f, 7.0f};
    const RecordBytesArray b = r.ToBytes();
    const RecordBytesArray expected = {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x20, 0xC0, 0x00, 0x00,
                                       0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0xE0, 0x40};
    EXPECT_EQ(b, expected);
    EXPECT_EQ(sizeof b, 20u);
}

TEST(DimensionRecord, EveryBitPatternComesBack) {
    const uint32_t patterns[] = {0x7FC00001u, 0xFFC12345u, 0x7F800000u, 0xFF800000u, 0x00000001u,
                                 0x80000000u, 0x7F7FFFFFu, 0x3DCCCCCDu, 0x7FA00000u};
    for (uint32_t p : patterns) {
        DimensionRecord r;
        r.Slot.fill(std::bit_cast<float>(p));
        const DimensionRecord back = DimensionRecord::FromBytes(r.ToBytes().data());
        for (float v : back.Slot)
            EXPECT_EQ(Bits(v), p) << std::hex << p;
    }
}

TEST(KvdLayout, WriterPutsEveryValueInItsPlace) {
    ScratchDir dir;
    Model m = Factory();
    for (const Place& p : FixedPlaces())
        p.Value(m) = Tag(p.Record, p.Slot);
    for (int i = 1; i <= LineItemCount; ++i) {
        LineItem& it = m.LineTable[i];
        const float base = 100.0f * i;
        it = {base + 1, base + 2, base + 3, base + 4, base + 5, base + 6, base + 7,
              base + 8, i,        i + 100,  i + 200,  i + 300,  i + 400};
    }
    m.CurrentItem = 7;
    const std::string path = dir.File("layout.kvd");
    ASSERT_TRUE(SaveDimensionFile(m, path).Ok);

    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 1440u);
    for (const Place& p : FixedPlaces())
        EXPECT_EQ(SlotOf(bytes, p.Record, p.Slot), Tag(p.Record, p.Slot))
            << "record " << p.Record << " slot " << p.Slot;
    for (int field = 0; field < LineFieldCount; ++field)
        for (int item = 1; item <= LineItemCount; ++item)
            EXPECT_EQ(SlotOf(bytes, LineRecord(field, item), LineSlot(item)),
                      LineValue(m.LineTable[item], field))
                << "field " << field << " item " << item;
    // Record 71: sixteen zero bytes, then CurrentItem as the real 7.0.
    for (int i = 1420; i < 1436; ++i)
        EXPECT_EQ(bytes[i], 0) << "byte " << i;
    EXPECT_EQ(SlotOf(bytes, 71, 4), 7.0f);
}

TEST(KvdLayout, ReaderTakesEveryValueFromItsPlace) {
    ScratchDir dir;
    auto bytes = MakeRecords(72, [](int r, int s) { return Tag(r, s); });
    // Lines-table integers are stored as reals and rounded to the nearest,
    // ties to even.
    PutFloatLE(2.5f, bytes.data() + 20 * LineRecord(Type, 1) + 4 * LineSlot(1));
    PutFloatLE(3.5f, bytes.data() + 20 * LineRecord(Color, 2) + 4 * LineSlot(2));
    PutFloatLE(-1.4f, bytes.data() + 20 * LineRecord(Pivot2, 20) + 4 * LineSlot(20));
    PutFloatLE(7.0f, bytes.data() + 20 * 71 + 16);
    const std::string path = dir.File("tagged.kvd");
    WriteBytes(path, bytes);

    Model m = Factory();
    ASSERT_TRUE(OpenDimensionFile(m, path).Ok);
    for (const Place& p : FixedPlaces())
        EXPECT_EQ(p.Value(m), Tag(p.Record, p.Slot)) << "record " << p.Record << " slot " << p.Slot;
    for (int field = 0; field <= R2Y; ++field)
        for (int item = 1; item <= LineItemCount; ++item)
            EXPECT_EQ(LineValue(m.LineTable[item], field),
                      Tag(LineRecord(field, item), LineSlot(item)));
    EXPECT_EQ(m.LineTable[1].ItemType, 2);
    EXPECT_EQ(m.LineTable[2].ItemColor, 4);
    EXPECT_EQ(m.LineTable[20].Ref2Pivot, -1);
    EXPECT_EQ(m.LineTable[3].RefMode, RoundHalfEven(Tag(LineRecord(Mode, 3), LineSlot(3))));
    EXPECT_EQ(m.CurrentItem, 7);
    EXPECT_EQ(m.CurrentItemHolding, 7.0f);
    EXPECT_EQ(m.DataSetName, "tagged");
}

TEST(KvdRoundTrip, SaveThenOpenRestoresEveryStoredValueBitForBit) {
    ScratchDir dir;
    for (uint32_t seed : {1u, 2u, 3u}) {
        Model saved = Factory();
        FillNonGeometry(saved, seed);
        // Odd reals travel too (a NaN or an infinity is refused on opening).
        saved.ViewPresets[0] = std::numeric_limits<float>::max();
        saved.ViewPresets[1] = -0.0f;
        saved.LineTable[4].Point2Y = std::numeric_limits<float>::denorm_min();
        saved.LineTable[5].Ref1X = -std::numeric_limits<float>::max();
        saved.Frame.EccRodLength = 11.25f;
        saved.Cylinder[ValveStemToCylCL] = 3.25f;
        KeepInvariants(saved);
        const std::string path = dir.File("design " + std::to_string(seed) + ".kvd");
        ASSERT_TRUE(SaveDimensionFile(saved, path).Ok);

        Model opened = Factory();
        ASSERT_TRUE(OpenDimensionFile(opened, path).Ok);
        ExpectSameStoredValues(saved, opened);
        // The valve-stem joint height follows the loaded cylinder values.
        EXPECT_FLOAT_EQ(opened.Points[ValveStemJoint].Y, 3.25f);

        // Mid gear then replaces the setting and positions 1 to 3 only.
        FinishDimensionLoad(opened);
        ExpectSameStoredValues(saved, opened, false);
        Model expect = saved;
        ASSERT_TRUE(FindMidGear(expect));
        EXPECT_FLOAT_EQ(opened.MidGear(), expect.MidGear());
        EXPECT_EQ(opened.RevArmSetting, opened.MidGear());
        EXPECT_EQ(opened.RevArmPositions[1], opened.MidGear());
        EXPECT_FLOAT_EQ(opened.RevArmPositions[2], opened.MidGear() + opened.Frame.RevArmNorm);
        EXPECT_FLOAT_EQ(opened.RevArmPositions[3], opened.MidGear() - opened.Frame.RevArmNorm);
        EXPECT_NE(opened.RevArmSetting, saved.RevArmSetting);
    }
}

TEST(KvdRoundTrip, SavedFileIs1440BytesEndingInZerosAndCurrentItem) {
    ScratchDir dir;
    Model m = Factory();
    m.CurrentItem = 7;
    const std::string path = dir.File("seven.kvd");
    ASSERT_TRUE(SaveDimensionFile(m, path).Ok);
    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 1440u);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 1420, bytes.begin() + 1436),
              std::vector<unsigned char>(16, 0));
    const std::vector<unsigned char> seven = {0x00, 0x00, 0xE0, 0x40};
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 1436, bytes.end()), seven);

    Model back = Factory();
    back.CurrentItem = 3;
    ASSERT_TRUE(OpenDimensionFile(back, path).Ok);
    EXPECT_EQ(back.CurrentItem, 7);
}

TEST(KvdRoundTrip, FactoryDesignReopensAtTheSameMidGear) {
    ScratchDir dir;
    Model m = Factory();
    const std::string path = dir.File("factory.kvd");
    ASSERT_TRUE(SaveDimensionFile(m, path).Ok);
    Model back;
    InitialiseModel(back);
    back.Frame.StrokeLength = 5.0f;
    ASSERT_TRUE(OpenDimensionFile(back, path).Ok);
    EXPECT_EQ(FinishDimensionLoad(back), 0);
    EXPECT_NEAR(back.MidGear(), 10.4234, 1e-3);
    EXPECT_EQ(back.Frame.StrokeLength, 3.5f);
    EXPECT_EQ(back.RevArmBarMax, 1700);
    EXPECT_EQ(back.RevArmBarMin, -1700);
}

// Files cut short or running long.
struct LengthCase {
    const char* Name;
    std::size_t Bytes;
    bool Opens;
    bool LinesRead;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
    *os << c.Name;
}

class KvdLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(KvdLength, OpensOrFailsWithoutChangingAnything) {
    const LengthCase c = GetParam();
    ScratchDir dir;
    Model source = Factory();
    FillNonGeometry(source, 42);
    source.CurrentItem = 9;
    source.Frame.MainRodLength = 17.5f;
    const std::string full = dir.File("full.kvd");
    ASSERT_TRUE(SaveDimensionFile(source, full).Ok);
    auto bytes = ReadBytes(full);
    bytes.resize(c.Bytes, 0xAB);
    const std::string path = dir.File("cut.kvd");
    WriteBytes(path, bytes);

    Model m = Factory();
    FillNonGeometry(m, 7);
    m.CurrentItem = 4;
    m.CurrentItemHolding = 4.0f;
    const Model before = m;
    const FileResult r = OpenDimensionFile(m, path);
    EXPECT_EQ(r.Ok, c.Opens);
    if (!c.Opens) {
        EXPECT_EQ(r.Message, "Read beyond end of file");
        ExpectSameStoredValues(before, m);
        EXPECT_EQ(m.DataSetName, "Nominal");
        EXPECT_EQ(m.CurrentItemHolding, 4.0f);
        return;
    }
    EXPECT_EQ(m.DataSetName, "cut");
    EXPECT_EQ(m.Frame.MainRodLength, 17.5f);
    EXPECT_EQ(m.ViewPresets, source.ViewPresets);
    EXPECT_EQ(m.RevArmPositions[9], source.RevArmPositions[9]);
    if (c.LinesRead) {
        ExpectSameStoredValues(source, m);
        EXPECT_EQ(m.CurrentItem, 9);
    } else {
        EXPECT_EQ(0, std::memcmp(m.LineTable.data(), before.LineTable.data(), sizeof m.LineTable));
        EXPECT_EQ(m.CurrentItem, 1);
        EXPECT_EQ(m.CurrentItemHolding, 1.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, KvdLength,
                         ::testing::Values(LengthCase{"Empty", 0, false, false},
                                           LengthCase{"OneRecord", 20, false, false},
                                           LengthCase{"EighteenRecords", 360, false, false},
                                           LengthCase{"AlmostNineteen", 379, false, false},
                                           LengthCase{"NineteenRecords", 380, true, false},
                                           LengthCase{"TwentyRecords", 400, true, false},
                                           LengthCase{"TwentyAndAHalf", 410, true, false},
                                           LengthCase{"TwentyOneRecords", 420, false, false},
                                           LengthCase{"SeventyOneRecords", 1420, false, false},
                                           LengthCase{"AlmostSeventyTwo", 1439, false, false},
                                           LengthCase{"Complete", 1440, true, true},
                                           LengthCase{"OneByteMore", 1441, true, true},
                                           LengthCase{"ManyMore", 20 * 500, true, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(KvxImport, ThirteenRecordFileFillsDimensionsAndView) {
    ScratchDir dir;
    auto bytes = MakeRecords(13, [](int r, int s) { return Tag(r, s); });
    const std::string path = dir.File("old engine.kvx");
    WriteBytes(path, bytes);

    Model m = Factory();
    FillNonGeometry(m, 5);
    Model before = m;
    ASSERT_TRUE(ImportOlderDimensionFile(m, path).Ok);
    for (const Place& p : FixedPlaces()) {
        if (p.Record > 12) {
            EXPECT_EQ(p.Value(m), p.Value(before)) << "record " << p.Record << " keeps its value";
        } else if (p.Record == 11 && p.Slot == 3) {
            EXPECT_EQ(m.GraphicZoom, before.GraphicZoom);
        } else if (p.Record == 12 && p.Slot == 2) {
            EXPECT_EQ(m.RevArmSetting, before.RevArmSetting);
            EXPECT_EQ(m.Points[RevArmTop].X, Tag(12, 2));
        } else {
            EXPECT_EQ(p.Value(m), Tag(p.Record, p.Slot))
                << "record " << p.Record << " slot " << p.Slot;
        }
    }
    EXPECT_EQ(0, std::memcmp(m.LineTable.data(), before.LineTable.data(), sizeof m.LineTable));
    EXPECT_EQ(m.CurrentItem, before.CurrentItem);
    EXPECT_EQ(m.DataSetName, "old engine");
}

TEST(KvxImport, CurrentFormatFileImportsOnlyItsFirstThirteenRecords) {
    ScratchDir dir;
    Model source = Factory();
    FillNonGeometry(source, 11);
    source.Frame.ValveRodLength = 6.5f;
    source.GraphicZoom = 33.0f;
    source.RevArmSetting = 10.75f;
    const std::string path = dir.File("current.kvd");
    ASSERT_TRUE(SaveDimensionFile(source, path).Ok);

    Model m = Factory();
    const Model before = m;
    ASSERT_TRUE(ImportOlderDimensionFile(m, path).Ok);
    EXPECT_EQ(m.Frame.ValveRodLength, 6.5f);
    EXPECT_EQ(m.CurrentView.Scale, source.CurrentView.Scale);
    EXPECT_EQ(m.GraphicZoom, before.GraphicZoom);
    EXPECT_EQ(m.Points[RevArmTop].X, 10.75f);
    EXPECT_EQ(m.ViewPresets, before.ViewPresets);
    EXPECT_EQ(m.RevArmPositions[5], before.RevArmPositions[5]);
    EXPECT_EQ(0, std::memcmp(m.LineTable.data(), before.LineTable.data(), sizeof m.LineTable));
    EXPECT_EQ(m.DataSetName, "current");

    EXPECT_EQ(FinishDimensionLoad(m), 0);
    EXPECT_EQ(m.Points[RevArmTop].X, m.MidGear());
}

TEST(KvxImport, ShortFileFailsAndChangesNothing) {
    ScratchDir dir;
    const std::string path = dir.File("short.kvx");
    WriteBytes(path, MakeRecords(12, [](int, int) { return 99.0f; }));
    Model m = Factory();
    const Model before = m;
    const FileResult r = ImportOlderDimensionFile(m, path);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Message, "Read beyond end of file");
    ExpectSameStoredValues(before, m);
    EXPECT_EQ(m.Points[RevArmTop].X, before.Points[RevArmTop].X);
    EXPECT_EQ(m.DataSetName, "Nominal");
}

TEST(DataSetName, BaseNameLessItsLastFourCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"big engine.kvd", "big engine"},
        {"/home/ann/designs/big engine.kvd", "big engine"},
        {"C:\\designs\\big engine.kvd", "big engine"},
        {"mixed/a\\b/c\\Mogul.kvx", "Mogul"},
        {"x.abcde", "x.a"},
        {"/tmp/x.abcde", "x.a"},
        {"noext", "n"},
        {"abcd", ""},
        {"/d/abc", ""},
        {"", ""},
        {"folder/", ""},
        {"caf\xC3\xA9.kvd", "caf\xC3\xA9"},
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "\xC3\xA9"},
        {"a.b.kvd", "a.b"},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(DataSetNameFromPath(path), name) << path;
}

TEST(FileErrors, StandardTexts) {
    EXPECT_EQ(IoErrorText(ENOENT), "File not found");
    EXPECT_EQ(IoErrorText(EACCES), "File access denied");
    EXPECT_EQ(IoErrorText(EPERM), "File access denied");
    EXPECT_EQ(IoErrorText(EISDIR), "File access denied");
    EXPECT_EQ(IoErrorText(ENOSPC), "Disk full");
    EXPECT_EQ(IoErrorText(EIO), "I/O error " + std::to_string(EIO));
}

TEST(FileErrors, OpenReportsMissingFilesAndFolders) {
    ScratchDir dir;
    Model m = Factory();
    const Model before = m;
    FileResult r = OpenDimensionFile(m, dir.File("missing.kvd"));
    EXPECT_EQ(r.Message, "File not found");
    r = ImportOlderDimensionFile(m, dir.File("missing.kvx"));
    EXPECT_EQ(r.Message, "File not found");
    r = OpenDimensionFile(m, dir.Path().string());
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Message, "Not a regular file");
    ExpectSameStoredValues(before, m);
    EXPECT_EQ(m.DataSetName, "Nominal");
}

TEST(FinishLoad, BarRangeAndPositionFollowTheLoadedValues) {
    Model m = Factory();
    m.Frame.RevArmMax = 2.25f;
    m.RevArmSetting = 3.0f;
    EXPECT_EQ(FinishDimensionLoad(m), 0);
    EXPECT_EQ(m.RevArmBarMax, 2250);
    EXPECT_EQ(m.RevArmBarMin, -2250);

    // When mid gear cannot be found the loaded setting stays, and the bar
    // shows it; the solver's orientation signs choose the sense.
    Model broken = Factory();
    const float mid = broken.MidGear();
    broken.Baker.GearConRodUpper = 0.0f;
    broken.RevArmSetting = mid + 0.25f;
    EXPECT_EQ(FinishDimensionLoad(broken), 250);
    EXPECT_EQ(broken.MidGear(), mid);
    broken.Solver.SignFactorA = -1.0f;
    EXPECT_EQ(FinishDimensionLoad(broken), -250);
    broken.Solver.SignFactorB = -1.0f;
    EXPECT_EQ(FinishDimensionLoad(broken), 250);
}

TEST(FinishLoad, ExtensionChoosesTheReader) {
    ScratchDir dir;
    Model source = Factory();
    source.Frame.DriverDiameter = 12.0f;
    source.GraphicZoom = 40.0f;
    const std::string kvd = dir.File("both.kvd");
    ASSERT_TRUE(SaveDimensionFile(source, kvd).Ok);
    const std::string kvx = dir.File("both.KVX");
    WriteBytes(kvx, ReadBytes(kvd));

    Model a = Factory();
    ASSERT_TRUE(LoadDimensionsByExtension(a, kvd).Ok);
    EXPECT_EQ(a.GraphicZoom, 40.0f);
    Model b = Factory();
    ASSERT_TRUE(LoadDimensionsByExtension(b, kvx).Ok);
    EXPECT_EQ(b.GraphicZoom, 7.5f); // the older format has no zoom
    for (const Model* m : {&a, &b}) {
        EXPECT_EQ(m->Frame.DriverDiameter, 12.0f);
        EXPECT_EQ(m->DataSetName, "both");
        EXPECT_EQ(m->RevArmSetting, m->MidGear());
    }
    Model c = Factory();
    const FileResult r = LoadDimensionsByExtension(c, dir.File("nothing.kvd"));
    EXPECT_EQ(r.Message, "File not found");
    EXPECT_EQ(c.DataSetName, "Nominal");
}
