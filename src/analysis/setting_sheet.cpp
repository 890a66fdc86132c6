// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/setting_sheet.h"

#include "analysis/events_report.h"
#include "analysis/report_format.h"

#include <nlohmann/json.hpp>

namespace kes {

namespace {

std::optional<double> FromFront(const std::optional<double>& pct, double stroke, bool rearPort) {
    if (!pct) return std::nullopt;
    return rearPort ? (100.0 - *pct) / 100.0 * stroke : *pct / 100.0 * stroke;
}

SheetPort PortOf(const PortEventSet& p, const std::optional<double>& stroke, bool rearPort) {
    SheetPort s;
    s.Lead = p.Lead;
    s.MaxSteamOpening = p.MaxSteamOpening;
    s.MaxExhaustOpening = p.MaxExhaustOpening;
    if (!stroke) return s;
    s.Admission = FromFront(p.Pct(Admission), *stroke, rearPort);
    s.CutOff = FromFront(p.Pct(CutOff), *stroke, rearPort);
    s.Release = FromFront(p.Pct(Release), *stroke, rearPort);
    s.Compression = FromFront(p.Pct(Compression), *stroke, rearPort);
    return s;
}

nlohmann::ordered_json Number(const std::optional<double>& v) {
    // JsonNumber already refuses what JSON cannot hold; keep its rule.
    if (!v || JsonNumber(v) == "null") return nullptr;
    return *v;
}

nlohmann::ordered_json PortJson(const SheetPort& p) {
    return {{"lead", Number(p.Lead)},
            {"admission", Number(p.Admission)},
            {"cutoff", Number(p.CutOff)},
            {"release", Number(p.Release)},
            {"compression", Number(p.Compression)}};
}

void PortCsv(std::string& line, const SheetPort& p) {
    for (const auto& v : {p.Lead, p.Admission, p.CutOff, p.Release, p.Compression,
                          p.MaxSteamOpening, p.MaxExhaustOpening}) {
        line += ',';
        line += CsvNumber(v);
    }
}

} // namespace

SettingSheetDef DefaultSettingSheetDef(const Mechanism& m) {
    SettingSheetDef def;
    const double norm = m.Frame.RevArmNorm;
    for (double sign : {1.0, -1.0})
        for (double f : {1.0, 0.75, 0.5, 0.25})
            def.Offsets.push_back(sign * f * norm);
    return def;
}

SettingSheet ComputeSettingSheet(const Mechanism& m, const SettingSheetDef& def) {
    ReportDef rdef;
    rdef.Offsets = def.Offsets;
    const EventsReport report = ComputeReport(m, rdef);
    SettingSheet s;
    s.MidGear = report.MidGear;
    if (report.Centres && report.Centres->Stroke() > 0.0) {
        s.Stroke = report.Centres->Stroke();
        s.FrontDeadCentreDeg = report.Centres->FrontDeg;
        s.RearDeadCentreDeg = report.Centres->RearDeg;
    }
    for (const ReportRow& row : report.Rows) {
        SheetNotch n;
        n.Offset = row.Offset.value_or(0.0);
        n.Setting = row.Setting;
        n.Direction = row.Direction;
        n.Closes = row.Closes();
        n.ValveTravel = row.Events.ValveTravel;
        n.Front = PortOf(row.Events.Front, s.Stroke, false);
        n.Rear = PortOf(row.Events.Rear, s.Stroke, true);
        s.Notches.push_back(n);
    }
    return s;
}

std::string SettingSheetJson(const SettingSheet& s) {
    nlohmann::ordered_json notches = nlohmann::ordered_json::array();
    for (const SheetNotch& n : s.Notches)
        notches.push_back({{"offset", Number(n.Offset)},
                           {"setting", Number(n.Setting)},
                           {"direction", RunDirectionText(n.Direction)},
                           {"valve_travel", Number(n.ValveTravel)},
                           {"front", PortJson(n.Front)},
                           {"rear", PortJson(n.Rear)}});
    const nlohmann::ordered_json j = {{"stroke", Number(s.Stroke)},
                                      {"front_dead_centre_deg", Number(s.FrontDeadCentreDeg)},
                                      {"rear_dead_centre_deg", Number(s.RearDeadCentreDeg)},
                                      {"notches", notches}};
    return j.dump(2) + "\n";
}

std::string SettingSheetCsv(const SettingSheet& s) {
    std::string text = "offset,setting,direction,closes,stroke,front_dead_centre_deg,"
                       "rear_dead_centre_deg,valve_travel";
    for (const char* port : {"front", "rear"})
        for (const char* f : {"lead", "admission", "cutoff", "release", "compression",
                              "max_steam_opening", "max_exhaust_opening"}) {
            text += ',';
            text += port;
            text += '_';
            text += f;
        }
    text += "\n";
    for (const SheetNotch& n : s.Notches) {
        std::string line = CsvNumber(n.Offset);
        for (const std::string& cell :
             {CsvNumber(n.Setting), std::string(RunDirectionText(n.Direction)),
              std::string(n.Closes ? "1" : "0"), CsvNumber(s.Stroke),
              CsvNumber(s.FrontDeadCentreDeg), CsvNumber(s.RearDeadCentreDeg),
              CsvNumber(n.ValveTravel)}) {
            line += ',';
            line += cell;
        }
        PortCsv(line, n.Front);
        PortCsv(line, n.Rear);
        text += line + "\n";
    }
    return text;
}

} // namespace kes
