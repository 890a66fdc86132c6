// SPDX-License-Identifier: GPL-3.0-or-later
#include "cylinder/engine_data.h"

#include "files/whole_file.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>

namespace kes {

namespace {

using nlohmann::json;

constexpr int FormatVersion = 1;
constexpr double PsiPerBar = 14.503773773;
constexpr double MmPerInch = 25.4;
constexpr double FahrenheitPerKelvin = 1.8; // for differences
constexpr int MaxCylinders = 8;

const char* const KnownKeys[] = {"format",
                                 "version",
                                 "units",
                                 "boiler_pressure",
                                 "superheat",
                                 "back_pressure",
                                 "clearance_front_pct",
                                 "clearance_rear_pct",
                                 "piston_rod_diameter",
                                 "port_circumference",
                                 "discharge_coefficient",
                                 "cylinders",
                                 "condensation"};

bool Known(const std::string& key) {
    for (const char* k : KnownKeys)
        if (key == k) return true;
    return false;
}

struct KeyError {
    std::string Message;
};

double Number(const json& v, const std::string& key) {
    if (!v.is_number()) throw KeyError{"\"" + key + "\" must be a number"};
    const double d = v.get<double>();
    if (!std::isfinite(d)) throw KeyError{"\"" + key + "\" must be a finite number"};
    return d;
}

void ConvertUnits(EngineData& e, EngineUnits to) {
    if (e.Units == to) return;
    const bool toMetric = to == EngineUnits::Metric;
    const double p = toMetric ? 1.0 / PsiPerBar : PsiPerBar;
    const double t = toMetric ? 1.0 / FahrenheitPerKelvin : FahrenheitPerKelvin;
    const double l = toMetric ? MmPerInch : 1.0 / MmPerInch;
    e.BoilerPressure *= p;
    e.BackPressure *= p;
    e.Superheat *= t;
    if (e.PistonRodDiameter) *e.PistonRodDiameter *= l;
    if (e.PortCircumference) *e.PortCircumference *= l;
    e.Units = to;
}

void ReadKey(EngineData& e, const std::string& key, const json& v) {
    if (key == "format") {
        if (!v.is_string() || v.get<std::string>() != "kestrove-engine")
            throw KeyError{"\"format\" must be \"kestrove-engine\""};
    } else if (key == "version") {
        if (!v.is_number_integer() || v.get<int>() < 1)
            throw KeyError{"\"version\" must be a whole number from 1"};
        if (v.get<int>() > FormatVersion)
            throw KeyError{"\"version\" " + std::to_string(v.get<int>()) +
                           " is newer than this program reads"};
    } else if (key == "units") {
        const std::string u = v.is_string() ? v.get<std::string>() : "";
        if (u != "imperial" && u != "metric")
            throw KeyError{"\"units\" must be \"imperial\" or \"metric\""};
        e.Units = u == "metric" ? EngineUnits::Metric : EngineUnits::Imperial;
    } else if (key == "boiler_pressure") {
        e.BoilerPressure = Number(v, key);
    } else if (key == "superheat") {
        e.Superheat = Number(v, key);
    } else if (key == "back_pressure") {
        e.BackPressure = Number(v, key);
    } else if (key == "clearance_front_pct") {
        e.ClearanceFrontPct = Number(v, key);
    } else if (key == "clearance_rear_pct") {
        e.ClearanceRearPct = Number(v, key);
    } else if (key == "piston_rod_diameter") {
        if (v.is_null())
            e.PistonRodDiameter.reset();
        else
            e.PistonRodDiameter = Number(v, key);
    } else if (key == "port_circumference") {
        if (v.is_null())
            e.PortCircumference.reset();
        else
            e.PortCircumference = Number(v, key);
    } else if (key == "discharge_coefficient") {
        e.DischargeCoefficient = Number(v, key);
    } else if (key == "cylinders") {
        const double n = Number(v, key);
        if (n != std::floor(n) || n < 1 || n > MaxCylinders)
            throw KeyError{"\"cylinders\" must be a whole number from 1 to 8"};
        e.Cylinders = static_cast<int>(n);
    } else if (key == "condensation") {
        if (!v.is_boolean()) throw KeyError{"\"condensation\" must be true or false"};
        e.Condensation = v.get<bool>();
    }
}

// Values given in the file's units: "units" is read first, so that the
// defaults of the other keys are in the same units.
EngineData FromObject(const json& j) {
    if (!j.is_object()) throw KeyError{"the engine data must be a JSON object"};
    EngineData units;
    if (j.contains("units")) ReadKey(units, "units", j.at("units"));
    EngineData e = DefaultEngineData(units.Units);
    for (const auto& [key, value] : j.items()) {
        if (Known(key))
            ReadKey(e, key, value);
        else
            e.OtherKeys[key] = value.dump();
    }
    return e;
}

} // namespace

const char* EngineUnitsText(EngineUnits u) {
    return u == EngineUnits::Metric ? "metric" : "imperial";
}

EngineData DefaultEngineData(EngineUnits units) {
    EngineData e;
    ConvertUnits(e, units);
    return e;
}

double PistonRodDiameterOf(const EngineData& e, const Design& d) {
    return e.PistonRodDiameter ? *e.PistonRodDiameter : 0.15 * d.Cylinder[BoreDiameter];
}

double PortCircumferenceOf(const EngineData& e, const Design& d) {
    return e.PortCircumference ? *e.PortCircumference
                               : std::numbers::pi * d.Cylinder[ValveHeight] * 0.8;
}

std::string CheckEngineData(const EngineData& e, const Design& d) {
    const auto bad = [](const char* key, const char* why) {
        return std::string("\"") + key + "\" " + why;
    };
    const auto finite = [](double v) { return std::isfinite(v); };
    if (!finite(e.BoilerPressure) || e.BoilerPressure <= 0.0)
        return bad("boiler_pressure", "must be above 0");
    if (!finite(e.BackPressure) || e.BackPressure < 0.0)
        return bad("back_pressure", "must be 0 or more");
    if (e.BackPressure >= e.BoilerPressure)
        return bad("back_pressure", "must be below the boiler pressure");
    if (!finite(e.Superheat) || e.Superheat < 0.0) return bad("superheat", "must be 0 or more");
    if (!finite(e.ClearanceFrontPct) || e.ClearanceFrontPct <= 0.0 || e.ClearanceFrontPct > 100.0)
        return bad("clearance_front_pct", "must lie above 0 and at most 100");
    if (!finite(e.ClearanceRearPct) || e.ClearanceRearPct <= 0.0 || e.ClearanceRearPct > 100.0)
        return bad("clearance_rear_pct", "must lie above 0 and at most 100");
    const double bore = d.Cylinder[BoreDiameter];
    if (!finite(bore) || bore <= 0.0) return "the bore diameter must be above 0";
    const double rod = PistonRodDiameterOf(e, d);
    if (!finite(rod) || rod < 0.0 || rod >= bore)
        return bad("piston_rod_diameter", "must be 0 or more and less than the bore");
    const double ports = PortCircumferenceOf(e, d);
    if (!finite(ports) || ports <= 0.0) return bad("port_circumference", "must be above 0");
    if (!finite(e.DischargeCoefficient) || e.DischargeCoefficient <= 0.0 ||
        e.DischargeCoefficient > 1.0)
        return bad("discharge_coefficient", "must lie above 0 and at most 1");
    if (e.Cylinders < 1 || e.Cylinders > MaxCylinders)
        return bad("cylinders", "must be a whole number from 1 to 8");
    return {};
}

EngineParse ParseEngineData(const std::string& text) {
    EngineParse out;
    json j;
    try {
        j = json::parse(text);
    } catch (const json::parse_error& e) {
        out.Error = std::string("not valid JSON: ") + e.what();
        return out;
    }
    try {
        out.Data = FromObject(j);
    } catch (const KeyError& e) {
        out.Error = e.Message;
    }
    return out;
}

std::string EngineDataJson(const EngineData& e) {
    json j = json::object();
    for (const auto& [key, text] : e.OtherKeys)
        j[key] = json::parse(text);
    j["format"] = "kestrove-engine";
    j["version"] = FormatVersion;
    j["units"] = EngineUnitsText(e.Units);
    j["boiler_pressure"] = e.BoilerPressure;
    j["superheat"] = e.Superheat;
    j["back_pressure"] = e.BackPressure;
    j["clearance_front_pct"] = e.ClearanceFrontPct;
    j["clearance_rear_pct"] = e.ClearanceRearPct;
    j["piston_rod_diameter"] = e.PistonRodDiameter ? json(*e.PistonRodDiameter) : json(nullptr);
    j["port_circumference"] = e.PortCircumference ? json(*e.PortCircumference) : json(nullptr);
    j["discharge_coefficient"] = e.DischargeCoefficient;
    j["cylinders"] = e.Cylinders;
    j["condensation"] = e.Condensation;
    return j.dump(2) + "\n";
}

std::string SetEngineValue(EngineData& e, const std::string& key, const std::string& value) {
    if (!Known(key) || key == "format" || key == "version")
        return "unknown engine key \"" + key + "\"";
    if (key == "units") {
        if (value != "imperial" && value != "metric")
            return "\"units\" must be \"imperial\" or \"metric\"";
        ConvertUnits(e, value == "metric" ? EngineUnits::Metric : EngineUnits::Imperial);
        return {};
    }
    json v;
    try {
        v = json::parse(value);
    } catch (const json::parse_error&) {
        return "\"" + key + "\" cannot take the value " + value;
    }
    EngineData changed = e;
    try {
        ReadKey(changed, key, v);
    } catch (const KeyError& err) {
        return err.Message;
    }
    e = changed;
    return {};
}

std::string EngineFilePathFor(const std::string& designPath) {
    const std::size_t slash = designPath.find_last_of('/');
    const std::size_t dot = designPath.find_last_of('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExt ? designPath.substr(0, dot) : designPath) + ".engine.json";
}

EngineFileResult LoadEngineFile(const std::string& path) {
    EngineFileResult r;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        r.Ok = true;
        r.Data = DefaultEngineData();
        return r;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    const EngineParse p = ParseEngineData(ss.str());
    if (!p.Data) {
        r.Message = path + ": " + p.Error;
        return r;
    }
    r.Ok = true;
    r.Present = true;
    r.Data = *p.Data;
    return r;
}

EngineFileResult SaveEngineFile(const std::string& path, const EngineData& e) {
    EngineFileResult r;
    r.Data = e;
    const FileResult written = WriteWholeFile(path, EngineDataJson(e));
    if (!written.Ok) {
        r.Message = path + ": the engine data could not be written: " + written.Message;
        return r;
    }
    r.Ok = r.Present = true;
    return r;
}

} // namespace kes
