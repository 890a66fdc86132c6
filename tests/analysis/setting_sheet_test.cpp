// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/events_report.h"
#include "analysis/setting_sheet.h"
#include "analysis_designs.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>

namespace {

using analysis_test::AllDesigns;
using analysis_test::Factory;

void ExpectFigure(const std::optional<double>& sheet, const std::optional<double>& pct,
                  double stroke, bool rearPort, const std::string& what) {
    ASSERT_EQ(sheet.has_value(), pct.has_value()) << what;
    if (!pct) return;
    const double fromFront = rearPort ? (100.0 - *pct) / 100.0 * stroke : *pct / 100.0 * stroke;
    EXPECT_NEAR(*sheet, fromFront, 1e-6) << what;
    EXPECT_GE(*sheet, -1e-9) << what;
    EXPECT_LE(*sheet, stroke + 1e-9) << what;
}

// The sheet's crosshead figures are the precise report's events turned into
// distances from the front dead centre, notch for notch.
TEST(SettingSheet, CrossheadFiguresAreTheReportsPercentagesTimesTheStroke) {
    for (const auto& [name, design] : AllDesigns()) {
        const kes::SettingSheetDef def = kes::DefaultSettingSheetDef(design);
        const kes::SettingSheet sheet = kes::ComputeSettingSheet(design, def);
        kes::ReportDef rdef;
        rdef.Offsets = def.Offsets;
        const kes::EventsReport report = kes::ComputeReport(design, rdef);
        ASSERT_TRUE(report.Centres) << name;
        ASSERT_TRUE(sheet.Stroke) << name;
        const double stroke = report.Centres->Stroke();
        EXPECT_NEAR(*sheet.Stroke, stroke, 1e-12) << name;
        EXPECT_NEAR(*sheet.FrontDeadCentreDeg, report.Centres->FrontDeg, 1e-12) << name;
        ASSERT_EQ(sheet.Notches.size(), report.Rows.size()) << name;
        for (size_t i = 0; i < report.Rows.size(); ++i) {
            const kes::ReportRow& row = report.Rows[i];
            const kes::SheetNotch& n = sheet.Notches[i];
            const std::string what = name + " notch " + std::to_string(n.Offset);
            EXPECT_EQ(n.Direction, row.Direction) << what;
            EXPECT_EQ(n.Front.Lead, row.Events.Front.Lead) << what;
            EXPECT_EQ(n.Rear.Lead, row.Events.Rear.Lead) << what;
            EXPECT_EQ(n.ValveTravel, row.Events.ValveTravel) << what;
            for (int k = 0; k < kes::EventKindCount; ++k) {
                const auto kind = static_cast<kes::EventKind>(k);
                const std::optional<double>* front[] = {&n.Front.Admission, &n.Front.CutOff,
                                                        &n.Front.Release, &n.Front.Compression};
                const std::optional<double>* rear[] = {&n.Rear.Admission, &n.Rear.CutOff,
                                                       &n.Rear.Release, &n.Rear.Compression};
                ExpectFigure(*front[k], row.Events.Front.Pct(kind), stroke, false,
                             what + " front " + kes::EventKindName(kind));
                ExpectFigure(*rear[k], row.Events.Rear.Pct(kind), stroke, true,
                             what + " rear " + kes::EventKindName(kind));
            }
        }
    }
}

TEST(SettingSheet, DefaultNotchesAreFullGearAndItsFractionsBothWays) {
    const kes::Model m = Factory();
    const kes::SettingSheet sheet = kes::ComputeSettingSheet(m, kes::DefaultSettingSheetDef(m));
    ASSERT_EQ(sheet.Notches.size(), 8u);
    const double norm = m.Frame.RevArmNorm;
    const double expected[] = {norm, 0.75 * norm, 0.5 * norm, 0.25 * norm};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(sheet.Notches[i].Offset, expected[i]);
        EXPECT_DOUBLE_EQ(sheet.Notches[i + 4].Offset, -expected[i]);
        EXPECT_EQ(sheet.Notches[i].Direction, kes::RunDirection::Forward);
        EXPECT_EQ(sheet.Notches[i + 4].Direction, kes::RunDirection::Reverse);
    }
    // Later cut-off in full gear than at a quarter of it, on both ports.
    const kes::SheetNotch& full = sheet.Notches[0];
    const kes::SheetNotch& quarter = sheet.Notches[3];
    ASSERT_TRUE(full.Front.CutOff && quarter.Front.CutOff);
    EXPECT_GT(*full.Front.CutOff, *quarter.Front.CutOff);
    ASSERT_TRUE(full.Rear.CutOff && quarter.Rear.CutOff);
    // The rear port cuts off when the crosshead has come back toward the front.
    EXPECT_LT(*full.Rear.CutOff, *quarter.Rear.CutOff);
    ASSERT_TRUE(full.ValveTravel && quarter.ValveTravel);
    EXPECT_GT(*full.ValveTravel, *quarter.ValveTravel);
}

TEST(SettingSheet, JsonHasTheSheetsShapeAndNullForEventsThatDoNotHappen) {
    kes::Model m = Factory();
    kes::SettingSheetDef def;
    def.Offsets = {m.Frame.RevArmNorm, 0.0};
    const kes::SettingSheet sheet = kes::ComputeSettingSheet(m, def);
    const auto j = nlohmann::json::parse(kes::SettingSheetJson(sheet));
    for (const char* key : {"stroke", "front_dead_centre_deg", "rear_dead_centre_deg"})
        EXPECT_TRUE(j.at(key).is_number()) << key;
    EXPECT_NEAR(j["stroke"].get<double>(), *sheet.Stroke, 1e-12);
    ASSERT_EQ(j["notches"].size(), 3u); // mid gear is listed both ways
    for (const auto& n : j["notches"]) {
        EXPECT_EQ(n.size(), 6u);
        for (const char* key : {"offset", "setting", "direction", "valve_travel"})
            EXPECT_TRUE(n.contains(key)) << key;
        for (const char* port : {"front", "rear"}) {
            EXPECT_EQ(n[port].size(), 5u);
            for (const char* key : {"lead", "admission", "cutoff", "release", "compression"})
                EXPECT_TRUE(n[port].contains(key)) << port << " " << key;
        }
    }
    const auto& full = j["notches"][0];
    EXPECT_EQ(full["direction"], "F");
    EXPECT_NEAR(full["front"]["cutoff"].get<double>(), *sheet.Notches[0].Front.CutOff, 1e-12);
    // A sheet whose design cannot be solved keeps its shape with nulls.
    kes::SettingSheet empty;
    empty.Notches.push_back({});
    const auto e = nlohmann::json::parse(kes::SettingSheetJson(empty));
    EXPECT_TRUE(e["stroke"].is_null());
    EXPECT_TRUE(e["notches"][0]["front"]["cutoff"].is_null());
    EXPECT_TRUE(e["notches"][0]["valve_travel"].is_null());
}

TEST(SettingSheet, CsvHasOneLinePerNotchWithEmptyCellsForMissingFigures) {
    kes::Model m = Factory();
    kes::SettingSheet sheet = kes::ComputeSettingSheet(m, kes::DefaultSettingSheetDef(m));
    sheet.Notches[0].Front.Release.reset();
    const std::string csv = kes::SettingSheetCsv(sheet);
    size_t lines = 0;
    for (char c : csv)
        lines += c == '\n';
    EXPECT_EQ(lines, sheet.Notches.size() + 1);
    const std::string header = csv.substr(0, csv.find('\n'));
    EXPECT_NE(header.find("front_cutoff,front_release"), std::string::npos);
    const std::string first =
        csv.substr(header.size() + 1, csv.find('\n', header.size() + 1) - header.size() - 1);
    // Cells: 8 leading, then lead, admission, cutoff, release: the release is empty.
    size_t pos = 0;
    for (int i = 0; i < 11; ++i)
        pos = first.find(',', pos) + 1;
    EXPECT_EQ(first[pos], ',');
}

} // namespace
