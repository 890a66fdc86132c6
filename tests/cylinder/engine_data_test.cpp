// SPDX-License-Identifier: GPL-3.0-or-later
// The engine data file: defaults, units, unknown keys kept, bad values named,
// and a save that leaves the old file when it fails.

#include "cylinder/engine_data.h"

#include "model/dimensions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace kes;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(EngineData, AnEmptyObjectMeansTheDefaults) {
    const EngineParse p = ParseEngineData("{}");
    ASSERT_TRUE(p.Data) << p.Error;
    EXPECT_EQ(p.Data->Units, EngineUnits::Imperial);
    EXPECT_EQ(p.Data->BoilerPressure, 200.0);
    EXPECT_EQ(p.Data->BackPressure, 3.0);
    EXPECT_EQ(p.Data->ClearanceFrontPct, 8.0);
    EXPECT_EQ(p.Data->Cylinders, 2);
    EXPECT_FALSE(p.Data->Condensation);
    Model m;
    InitialiseModel(m);
    EXPECT_DOUBLE_EQ(PistonRodDiameterOf(*p.Data, m), 0.15 * m.Cylinder[BoreDiameter]);
    EXPECT_NEAR(PortCircumferenceOf(*p.Data, m), 3.14159265358979 * m.Cylinder[ValveHeight] * 0.8,
                1e-12);
    EXPECT_EQ(CheckEngineData(*p.Data, m), "");
}

TEST(EngineData, MetricDefaultsAreTheSameEngine) {
    const EngineParse p = ParseEngineData(R"({"units": "metric"})");
    ASSERT_TRUE(p.Data);
    EXPECT_NEAR(p.Data->BoilerPressure, 13.789514, 1e-5); // bar
    EXPECT_NEAR(p.Data->BackPressure, 0.206843, 1e-5);
    EngineData e = DefaultEngineData();
    e.Superheat = 180.0;
    e.PistonRodDiameter = 2.0;
    ASSERT_EQ(SetEngineValue(e, "units", "metric"), "");
    EXPECT_NEAR(e.Superheat, 100.0, 1e-9);
    EXPECT_NEAR(*e.PistonRodDiameter, 50.8, 1e-9);
}

TEST(EngineData, UnknownKeysSurviveARoundTrip) {
    const EngineParse p =
        ParseEngineData(R"({"boiler_pressure": 225, "builder": {"name": "Baldwin"}, "x": [1, 2]})");
    ASSERT_TRUE(p.Data) << p.Error;
    const EngineParse again = ParseEngineData(EngineDataJson(*p.Data));
    ASSERT_TRUE(again.Data) << again.Error;
    EXPECT_EQ(again.Data->BoilerPressure, 225.0);
    EXPECT_EQ(again.Data->OtherKeys, p.Data->OtherKeys);
    EXPECT_EQ(again.Data->OtherKeys.at("builder"), R"({"name":"Baldwin"})");
}

TEST(EngineData, BadValuesNameTheirKey) {
    const struct {
        const char* Json;
        const char* Key;
    } cases[] = {
        {R"({"boiler_pressure": "high"})", "boiler_pressure"},
        {R"({"units": "furlongs"})", "units"},
        {R"({"cylinders": 2.5})", "cylinders"},
        {R"({"cylinders": 0})", "cylinders"},
        {R"({"condensation": 1})", "condensation"},
        {R"({"version": 99})", "version"},
        {R"({"superheat": null})", "superheat"},
        {R"([1, 2])", "object"},
        {R"({"boiler_pressure": )", "JSON"},
    };
    for (const auto& c : cases) {
        const EngineParse p = ParseEngineData(c.Json);
        EXPECT_FALSE(p.Data) << c.Json;
        EXPECT_NE(p.Error.find(c.Key), std::string::npos) << c.Json << ": " << p.Error;
    }
    EngineData e = DefaultEngineData();
    EXPECT_NE(SetEngineValue(e, "boiler_presure", "10"), "");
    EXPECT_NE(SetEngineValue(e, "boiler_pressure", "ten"), "");
    EXPECT_EQ(e.BoilerPressure, 200.0);
    EXPECT_EQ(SetEngineValue(e, "boiler_pressure", "180"), "");
    EXPECT_EQ(e.BoilerPressure, 180.0);
}

TEST(EngineData, FilesBesideTheDesign) {
    EXPECT_EQ(EngineFilePathFor("/a/b/NAME.kvd"), "/a/b/NAME.engine.json");
    EXPECT_EQ(EngineFilePathFor("/a.b/NAME"), "/a.b/NAME.engine.json");
    const auto dir = std::filesystem::temp_directory_path() / "kestrove_engine_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "x.engine.json").string();

    const EngineFileResult missing = LoadEngineFile(path);
    EXPECT_TRUE(missing.Ok);
    EXPECT_FALSE(missing.Present);
    EXPECT_EQ(missing.Data.BoilerPressure, 200.0);

    EngineData e = DefaultEngineData();
    e.BoilerPressure = 240.0;
    ASSERT_TRUE(SaveEngineFile(path, e).Ok);
    const EngineFileResult back = LoadEngineFile(path);
    ASSERT_TRUE(back.Ok && back.Present);
    EXPECT_EQ(back.Data.BoilerPressure, 240.0);

    // A write that cannot be made is reported, naming the file (the old
    // file's survival on a full disk is checked with the other writers).
    const std::string under = path + "/engine.json"; // path is a file, not a folder
    const EngineFileResult failed = SaveEngineFile(under, DefaultEngineData());
    EXPECT_FALSE(failed.Ok);
    EXPECT_NE(failed.Message.find(under), std::string::npos);
    EXPECT_NE(ReadAll(path).find("240"), std::string::npos);

    std::ofstream(path) << R"({"back_pressure": "low"})";
    const EngineFileResult bad = LoadEngineFile(path);
    EXPECT_FALSE(bad.Ok);
    EXPECT_NE(bad.Message.find("back_pressure"), std::string::npos);
    std::filesystem::remove_all(dir);
}

} // namespace
