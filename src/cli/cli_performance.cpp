// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_performance.h"

#include "analysis/precise_mid_gear.h"
#include "cli/cli_design.h"
#include "cli/cli_report.h"
#include "cylinder/performance_json.h"
#include "model/model.h"

#include <ostream>

namespace cli {

const char* const PerformanceUsage =
    "Usage: kestrove-cli performance [--engine FILE.json] [--engine-set KEY=VALUE]...\n"
    "                                [--setting S | --offset D | --cutoff PCT]\n"
    "                                [--direction F|R] [--speed V | --rpm N]\n"
    "                                [--sweep speed|cutoff] [--format json|csv]\n"
    "The cylinder model: both ends' indicator cards, MEP, indicated horsepower (kW),\n"
    "tractive effort and steam rate at one reverse-arm setting, direction and speed,\n"
    "in the engine data's units. The engine data come from FILE.json, else from\n"
    "NAME.engine.json beside the --dims file, else the defaults; --engine-set\n"
    "changes one key (boiler_pressure, superheat, back_pressure, clearance_front_pct,\n"
    "clearance_rear_pct, piston_rod_diameter, port_circumference,\n"
    "discharge_coefficient, cylinders, condensation, units).\n"
    "The setting is S, or D from mid gear, or the one whose mean cut-off is PCT\n"
    "(default: half of RevArmNorm from mid gear on the running side). The speed is V\n"
    "(mph or km/h; default 15) or N revolutions per minute. A card row is\n"
    "[crank_deg from the front dead centre in the running direction, volume in cubic\n"
    "design units, pressure gauge]. --sweep speed gives 10 speeds (5 to 50 mph or 10 to\n"
    "100 km/h) at the setting; --sweep cutoff gives mean cut-offs 10 to 80 % at the\n"
    "speed; a row the gear or the model cannot give has null numbers.\n";

namespace {

constexpr double DefaultSpeed = 15.0;
constexpr int SweepCount = 10;

} // namespace

kes::EngineData TakeEngine(const kes::Model& m, Args& args, const std::string& designPath) {
    const auto file = args.TakeValue("--engine");
    kes::EngineData e = kes::DefaultEngineData();
    const std::string path =
        file ? *file : (designPath.empty() ? std::string() : kes::EngineFilePathFor(designPath));
    if (!path.empty()) {
        const kes::EngineFileResult r = kes::LoadEngineFile(path);
        if (!r.Ok) throw RunError(r.Message);
        if (file && !r.Present) throw RunError(path + ": no such engine data file");
        e = r.Data;
    }
    while (const auto set = args.TakeValue("--engine-set")) {
        const std::size_t eq = set->find('=');
        if (eq == std::string::npos) throw UsageError("--engine-set wants KEY=VALUE, not " + *set);
        const std::string err = kes::SetEngineValue(e, set->substr(0, eq), set->substr(eq + 1));
        if (!err.empty()) throw UsageError("--engine-set: " + err);
    }
    const std::string bad = kes::CheckEngineData(e, m);
    if (!bad.empty()) throw RunError("engine data: " + bad);
    return e;
}

namespace {

kes::RunDirection TakeDirection(Args& args) {
    const auto d = args.TakeValue("--direction");
    if (!d || *d == "F") return kes::RunDirection::Forward;
    if (*d == "R") return kes::RunDirection::Reverse;
    throw UsageError("--direction must be F or R, not " + *d);
}

double TakeSetting(const kes::Model& m, Args& args, kes::RunDirection dir) {
    const auto setting = args.TakeNumber("--setting");
    const auto offset = args.TakeNumber("--offset");
    const auto cutoff = args.TakeNumber("--cutoff");
    if ((setting ? 1 : 0) + (offset ? 1 : 0) + (cutoff ? 1 : 0) > 1)
        throw UsageError("performance: give one of --setting, --offset and --cutoff");
    if (setting) return *setting;
    if (cutoff && !(*cutoff > 0.0 && *cutoff < 100.0))
        throw UsageError("--cutoff must lie between 0 and 100 (percent of the stroke)");
    const std::optional<double> mid = kes::PreciseMidGear(m);
    if (!mid) throw RunError("performance: mid gear cannot be found for this design");
    if (cutoff) {
        const auto s = kes::SettingForCutOff(m, dir, *cutoff);
        if (!s)
            throw RunError("performance: no setting gives a mean cut-off of " +
                           std::to_string(*cutoff) + " %");
        return *s;
    }
    if (offset) return *mid + *offset;
    const double half = 0.5 * m.Frame.RevArmNorm;
    return dir == kes::RunDirection::Forward ? *mid + half : *mid - half;
}

} // namespace

int RunPerformance(kes::Model& m, Args& args, std::ostream& out, const std::string& designPath) {
    const kes::EngineData engine = TakeEngine(m, args, designPath);
    const std::string format = TakeFormat(args, {"json", "csv"});
    const auto sweep = args.TakeValue("--sweep");
    if (sweep && *sweep != "speed" && *sweep != "cutoff")
        throw UsageError("--sweep must be speed or cutoff, not " + *sweep);
    const kes::RunDirection dir = TakeDirection(args);
    kes::PerformanceRequest req;
    req.Direction = dir;
    req.Speed = args.TakeNumber("--speed");
    req.Rpm = args.TakeNumber("--rpm");
    if (req.Speed && req.Rpm) throw UsageError("performance: give --speed or --rpm, not both");
    if ((req.Speed && !(*req.Speed > 0.0)) || (req.Rpm && !(*req.Rpm > 0.0)))
        throw UsageError("the speed must be above 0");
    if (!req.Speed && !req.Rpm) req.Speed = DefaultSpeed;
    const bool cutoffSweep = sweep && *sweep == "cutoff";
    req.Setting = cutoffSweep ? 0.0 : TakeSetting(m, args, dir);
    args.ExpectEmpty();

    if (sweep) {
        const kes::SweepKind kind = cutoffSweep ? kes::SweepKind::CutOff : kes::SweepKind::Speed;
        std::vector<kes::SweepRow> rows;
        if (cutoffSweep) {
            std::vector<double> cutoffs;
            for (int pct = 10; pct <= 80; pct += 10)
                cutoffs.push_back(pct);
            rows = kes::SweepCutOff(m, engine, req, cutoffs);
        } else {
            const bool metric = engine.Units == kes::EngineUnits::Metric;
            rows = kes::SweepSpeed(m, engine, req, metric ? 10.0 : 5.0, metric ? 100.0 : 50.0,
                                   SweepCount);
        }
        out << (format == "json" ? kes::SweepJson(kind, rows)
                                 : kes::SweepCsv(kind, engine.Units, rows));
        return 0;
    }
    const kes::PerformanceResult r = kes::ComputePerformance(m, engine, req);
    if (!r.Ok) throw RunError("performance: " + r.Error);
    out << (format == "json" ? kes::PerformanceJson(r) : kes::PerformanceCsv(r));
    return 0;
}

} // namespace cli
