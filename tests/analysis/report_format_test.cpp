// SPDX-License-Identifier: GPL-3.0-or-later
// The report, check and sensitivity texts: absent numbers, the shape of the
// JSON and the CSV, and the dimension names behind --set.

#include "analysis/dimension_names.h"
#include "analysis/report_format.h"
#include "model/dimensions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

namespace {

using kes::CsvNumber;
using kes::JsonNumber;

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A report of two rows: one where every event happens, one where the
// linkage does not close and nothing is known.
kes::EventsReport TwoRowReport() {
    kes::EventsReport r;
    r.MidGear = 10.5;
    kes::ReportRow full;
    full.Setting = 11.0;
    full.Offset = 0.5;
    full.Direction = kes::RunDirection::Forward;
    full.Events.Closes = true;
    full.Events.ValveTravel = 0.75;
    for (kes::PortEventSet* p : {&full.Events.Front, &full.Events.Rear}) {
        for (int k = 0; k < kes::EventKindCount; ++k)
            p->Event[static_cast<size_t>(k)] = kes::EventPosition{-10.0 + k, 20.0 + k};
        p->Lead = 0.03;
        p->MaxSteamOpening = 0.2;
        p->MaxExhaustOpening = 0.4;
    }
    full.CutOffDiff = 0.0;
    kes::ReportRow none;
    none.Setting = 9.0;
    none.Offset = -1.5;
    none.Direction = kes::RunDirection::Reverse;
    r.Rows = {full, none};
    return r;
}

TEST(ReportNumbers, AbsentAndNonFiniteAreNullOrEmpty) {
    const struct {
        std::optional<double> Value;
        const char* Json;
    } cases[] = {
        {std::nullopt, "null"},
        {std::numeric_limits<double>::quiet_NaN(), "null"},
        {std::numeric_limits<double>::infinity(), "null"},
        {-std::numeric_limits<double>::infinity(), "null"},
        {-0.0, "0"},
        {0.5, "0.5"},
        {-1.25, "-1.25"},
        {1e-12, "1e-12"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonNumber(c.Value), c.Json);
        EXPECT_EQ(CsvNumber(c.Value), std::string(c.Json) == "null" ? "" : c.Json);
    }
}

TEST(ReportNumbers, ReadBackExactly) {
    for (double v : {10.42323519542943, 0.1, 1.0 / 3.0, -123456.789012345678, 7.68371620172711})
        EXPECT_EQ(std::stod(JsonNumber(v)), v) << JsonNumber(v);
}

TEST(ReportNumbers, CsvTextQuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(kes::CsvText("Driver Dia"), "Driver Dia");
    EXPECT_EQ(kes::CsvText("a, b"), "\"a, b\"");
    EXPECT_EQ(kes::CsvText("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(kes::CsvText("tab\there"), "\"tab\there\"");
}

TEST(ReportJson, HasTheKeysAndNullsForAbsentEvents) {
    const std::string json = kes::ReportJson(TwoRowReport());
    EXPECT_EQ(json.rfind("{\"mid_gear\": 10.5, \"rows\": [{\"setting\": 11, \"offset\": 0.5, "
                         "\"direction\": \"F\", \"closes\": true, \"valve_travel\": 0.75, "
                         "\"front\": {\"lead\": 0.03, \"admission_pct\": 20, ",
                         0),
              0u)
        << json;
    for (const char* key :
         {"\"lead\"", "\"admission_pct\"", "\"admission_deg\"", "\"cutoff_pct\"", "\"cutoff_deg\"",
          "\"release_pct\"", "\"release_deg\"", "\"compression_pct\"", "\"compression_deg\"",
          "\"max_steam_opening\"", "\"max_exhaust_opening\""})
        EXPECT_EQ(Count(json, key), 4u) << key; // two rows, two ports
    EXPECT_EQ(Count(json, "\"front\""), 2u);
    EXPECT_EQ(Count(json, "\"rear\""), 2u);
    // The second row knows nothing: eleven nulls per port and no travel.
    EXPECT_EQ(Count(json, "null"), 23u);
    EXPECT_NE(json.find("\"direction\": \"R\", \"closes\": false, \"valve_travel\": null"),
              std::string::npos);
    EXPECT_EQ(json.find("nan"), std::string::npos);
    EXPECT_EQ(json.find("cutoff_settings"), std::string::npos);
    EXPECT_EQ(Count(json, "{"), Count(json, "}"));
    EXPECT_EQ(Count(json, "["), Count(json, "]"));
}

TEST(ReportJson, CutOffSettingsOnlyWhenAskedFor) {
    kes::EventsReport r = TwoRowReport();
    r.CutOffs = kes::CutOffSettings{25.0, {11.1, 11.2, 11.15}, {9.9, std::nullopt, std::nullopt}};
    const std::string json = kes::ReportJson(r);
    EXPECT_NE(json.find("\"cutoff_settings\": {\"wanted_pct\": 25, \"forward\": {\"front\": 11.1, "
                        "\"rear\": 11.2, \"mean\": 11.15}, \"reverse\": {\"front\": 9.9, "
                        "\"rear\": null, \"mean\": null}}}"),
              std::string::npos)
        << json;
    const auto lines = Lines(kes::ReportCsv(r));
    ASSERT_EQ(lines.size(), 3u + 1u + 3u);
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "wanted_cutoff_pct,direction,front_setting,rear_setting,mean_setting");
    EXPECT_EQ(lines[6], "25,R,9.9,,");
}

TEST(ReportCsv, SameFieldsFlattenedOneRowEach) {
    const kes::EventsReport r = TwoRowReport();
    const auto lines = Lines(kes::ReportCsv(r));
    ASSERT_EQ(lines.size(), 3u);
    const size_t columns = kes::ReportColumns().size();
    for (const std::string& line : lines)
        EXPECT_EQ(Count(line, ",") + 1, columns) << line;
    EXPECT_EQ(lines[0].rfind("mid_gear,setting,offset,direction,closes,valve_travel,front_lead,"
                             "front_admission_pct,front_admission_deg,front_cutoff_pct",
                             0),
              0u);
    EXPECT_NE(lines[0].find(",rear_max_exhaust_opening,cutoff_diff,release_diff,"
                            "compression_diff,lead_diff"),
              std::string::npos);
    EXPECT_EQ(lines[1].rfind("10.5,11,0.5,F,true,0.75,0.03,20,-10,21,-9,22,-8,23,-7,0.2,0.4,", 0),
              0u)
        << lines[1];
    EXPECT_EQ(lines[2], "10.5,9,-1.5,R,false" + std::string(columns - 5, ','));
    // The tab-separated copy differs only in the separator.
    std::string tabs = kes::ReportCsv(r, '\t');
    for (char& c : tabs)
        if (c == '\t') c = ',';
    EXPECT_EQ(tabs, kes::ReportCsv(r));
}

TEST(ReportCsv, CellsAgreeWithTheirNumbers) {
    const kes::EventsReport r = TwoRowReport();
    const auto columns = kes::ReportColumns();
    for (const kes::ReportRow& row : r.Rows)
        for (size_t c = 0; c < columns.size(); ++c) {
            const auto n = kes::ReportCellNumber(r, row, c);
            if (columns[c].Kind == kes::ColumnKind::Text ||
                columns[c].Kind == kes::ColumnKind::Flag)
                EXPECT_FALSE(n) << columns[c].Name;
            else
                EXPECT_EQ(kes::ReportCellText(r, row, c), CsvNumber(n)) << columns[c].Name;
        }
}

TEST(ChecksFormat, TextCsvAndJsonCarryEveryLine) {
    kes::DesignChecks c;
    c.Lines = {{kes::CheckLevel::Pass, "mid_gear", "Mid gear found at 10.42324."},
               {kes::CheckLevel::Failure, "closure", "Does not close, at \"full\" gear."}};
    EXPECT_EQ(kes::ChecksText(c), "pass mid_gear: Mid gear found at 10.42324.\n"
                                  "failure closure: Does not close, at \"full\" gear.\n");
    EXPECT_EQ(kes::ChecksCsv(c), "level,topic,text\npass,mid_gear,Mid gear found at 10.42324.\n"
                                 "failure,closure,\"Does not close, at \"\"full\"\" gear.\"\n");
    EXPECT_EQ(kes::ChecksJson(c),
              "{\"failures\": 1, \"warnings\": 0, \"lines\": [{\"level\": \"pass\", \"topic\": "
              "\"mid_gear\", \"text\": \"Mid gear found at 10.42324.\"}, {\"level\": \"failure\", "
              "\"topic\": \"closure\", \"text\": \"Does not close, at \\\"full\\\" gear.\"}]}\n");
}

TEST(SensitivityFormat, OneLinePerDimensionAndRow) {
    kes::SensitivityTable t;
    t.Ids = {2, 122};
    t.Rows = {{0.0, 10.4, kes::RunDirection::Forward}, {-1.5, 8.9, kes::RunDirection::Reverse}};
    t.Cells.resize(4);
    t.Cells[1][0][kes::SensCutOff] = 0.25;
    t.StepCloses = {1, 0};
    const auto lines = Lines(kes::SensitivityCsv(t));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "id,name,display_name,setting,offset,direction,front_lead,front_cutoff,"
                        "front_release,front_compression,rear_lead,rear_cutoff,rear_release,"
                        "rear_compression,step_closes");
    EXPECT_EQ(lines[2], "2,StrokeLength,Stroke,8.9,-1.5,R,,0.25,,,,,,,true");
    EXPECT_EQ(lines[3], "122,ValveCtrToJoint,Valve Stem,10.4,0,F,,,,,,,,,false");
    const std::string json = kes::SensitivityJson(t);
    EXPECT_EQ(Count(json, "\"display_name\""), 4u);
    EXPECT_EQ(Count(json, "\"step_closes\": false"), 2u);
    EXPECT_NE(json.find("\"front\": {\"lead\": null, \"cutoff\": 0.25, \"release\": null"),
              std::string::npos);
}

TEST(DimensionNames, EveryIdHasOneNameAndBack) {
    int named = 0;
    for (int id = 1; id <= 122; ++id) {
        if (!kes::IsDimensionId(id)) continue;
        const auto name = kes::DimensionCodeName(id);
        ASSERT_FALSE(name.empty()) << id;
        const auto found = kes::FindNamedDimension(name);
        ASSERT_TRUE(found) << name;
        EXPECT_EQ(found->Id, id);
        EXPECT_EQ(kes::FindNamedDimension(std::to_string(id))->Name, name);
        ++named;
    }
    EXPECT_EQ(named, 50);
    EXPECT_EQ(kes::NamedDimensions().size(), 52u); // and RevArmNorm, RevArmMax
}

TEST(DimensionNames, LookUp) {
    const struct {
        const char* Text;
        int Id; // -1: not found
    } cases[] = {
        {"GearMountX", 15},
        {"gearmounty", 14},
        {"RevArmPivotX", 19},
        {"RevArmPivotY", 18},
        {"BellCrankPivotX", 28},
        {"BellCrankPivotY", 27},
        {"CylCLAboveDriver", 102},
        {"RevArmNorm", 29},
        {"RevArmMax", 30},
        {"29", 29},
        {"30", 30},
        {"31", -1},
        {"0", -1},
        {"Stroke", -1},
        {"", -1},
        {"12x", -1},
    };
    for (const auto& c : cases) {
        const auto found = kes::FindNamedDimension(c.Text);
        EXPECT_EQ(found ? found->Id : -1, c.Id) << c.Text;
    }
}

TEST(DimensionNames, SetKeepsTheInvariants) {
    kes::Mechanism m;
    const auto pivot = *kes::FindNamedDimension("RevArmPivotX");
    ASSERT_TRUE(kes::SetNamedDimension(m, pivot, 3.25f));
    EXPECT_EQ(m.Points[kes::RevArmPivot].X, 3.25f);
    EXPECT_EQ(m.Points[kes::RevArmPivotCopy].X, 3.25f);
    const auto max = *kes::FindNamedDimension("RevArmMax");
    ASSERT_TRUE(kes::SetNamedDimension(m, max, 2.5f));
    EXPECT_EQ(m.Frame.RevArmMax, 2.5f);
    EXPECT_EQ(kes::GetNamedDimension(m, max), 2.5f);
    EXPECT_FALSE(kes::SetNamedDimension(m, max, std::numeric_limits<float>::infinity()));
    EXPECT_EQ(m.Frame.RevArmMax, 2.5f);
}

} // namespace
