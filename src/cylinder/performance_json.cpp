// SPDX-License-Identifier: GPL-3.0-or-later
#include "cylinder/performance_json.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <optional>
#include <sstream>

namespace kes {

namespace {

using Json = nlohmann::ordered_json;

Json Maybe(const std::optional<double>& v) {
    return v ? Json(*v) : Json(nullptr);
}

Json End(const EndPerformance& e) {
    Json j;
    j["cutoff_pct"] = Maybe(e.CutOffPct);
    j["release_pct"] = Maybe(e.ReleasePct);
    j["compression_pct"] = Maybe(e.CompressionPct);
    j["mep"] = e.Mep;
    j["steam_per_turn"] = e.SteamPerTurn;
    Json card = Json::array();
    for (const CardRow& c : e.Card)
        card.push_back(Json::array({c.CrankDeg, c.Volume, c.Pressure}));
    j["card"] = std::move(card);
    return j;
}

std::string Cell(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

std::string Cell(const std::optional<double>& v) {
    return v ? Cell(*v) : std::string();
}

} // namespace

PerformanceUnitNames UnitNames(EngineUnits u) {
    if (u == EngineUnits::Metric) return {"mm3", "bar", "kg", "kW", "kN", "km/h", "kg/kWh"};
    return {"in3", "psi", "lb", "hp", "lbf", "mph", "lb/ihp-h"};
}

std::string PerformanceJson(const PerformanceResult& r) {
    Json j;
    j["units"] = EngineUnitsText(r.Units);
    j["setting"] = r.Setting;
    j["direction"] = RunDirectionText(r.Direction);
    j["rpm"] = r.Rpm;
    j["speed"] = r.Speed;
    j["front"] = End(r.Front);
    j["rear"] = End(r.Rear);
    j["mep"] = r.Mep;
    j["ihp"] = r.Ihp;
    j["tractive_effort"] = r.TractiveEffort;
    j["steam_per_hour"] = r.SteamPerHour;
    j["steam_rate"] = Maybe(r.SteamRate);
    j["cylinder_efficiency"] = Maybe(r.CylinderEfficiency);
    return j.dump() + "\n";
}

std::string PerformanceCsv(const PerformanceResult& r) {
    const PerformanceUnitNames n = UnitNames(r.Units);
    std::ostringstream out;
    out << "crank_deg,front_volume_" << n.Volume << ",front_pressure_" << n.Pressure
        << "g,rear_volume_" << n.Volume << ",rear_pressure_" << n.Pressure << "g,tractive_effort_"
        << n.Force << "\n";
    for (std::size_t i = 0; i < r.Front.Card.size() && i < r.Rear.Card.size(); ++i)
        out << Cell(r.Front.Card[i].CrankDeg) << "," << Cell(r.Front.Card[i].Volume) << ","
            << Cell(r.Front.Card[i].Pressure) << "," << Cell(r.Rear.Card[i].Volume) << ","
            << Cell(r.Rear.Card[i].Pressure) << "," << Cell(r.TractiveByCrank[i % 360]) << "\n";
    return out.str();
}

std::string SweepJson(SweepKind kind, const std::vector<SweepRow>& rows) {
    Json j;
    j["sweep"] = kind == SweepKind::Speed ? "speed" : "cutoff";
    Json list = Json::array();
    for (const SweepRow& row : rows) {
        Json o;
        if (kind == SweepKind::Speed)
            o["speed"] = row.Speed;
        else
            o["cutoff_pct"] = row.CutOffPct;
        o["mep"] = Maybe(row.Mep);
        o["ihp"] = Maybe(row.Ihp);
        o["tractive_effort"] = Maybe(row.TractiveEffort);
        o["steam_rate"] = Maybe(row.SteamRate);
        list.push_back(std::move(o));
    }
    j["rows"] = std::move(list);
    return j.dump() + "\n";
}

std::string SweepCsv(SweepKind kind, EngineUnits units, const std::vector<SweepRow>& rows) {
    const PerformanceUnitNames n = UnitNames(units);
    std::ostringstream out;
    if (kind == SweepKind::Speed)
        out << "speed_" << n.Speed;
    else
        out << "cutoff_pct";
    out << ",mep_" << n.Pressure << ",ihp_" << n.Power << ",tractive_effort_" << n.Force
        << ",steam_rate_" << n.Rate << "\n";
    for (const SweepRow& row : rows)
        out << Cell(kind == SweepKind::Speed ? row.Speed : row.CutOffPct) << "," << Cell(row.Mep)
            << "," << Cell(row.Ihp) << "," << Cell(row.TractiveEffort) << "," << Cell(row.SteamRate)
            << "\n";
    return out.str();
}

} // namespace kes
