// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_targets.h"

#include "analysis/report_format.h"
#include "analysis/valve_targets.h"
#include "cli/cli_balance.h"
#include "cli/cli_design.h"
#include "files/dimension_file.h"
#include "model/model.h"

#include <iostream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

namespace cli {

const char* const TargetsUsage =
    "Usage: kestrove-cli targets --lead L --full-gear-cutoff PCT [--lead-over-range]\n"
    "         [--exhaust-lap E] [--free NAME,NAME,...] [--format csv|json] [-o OUT.kvd]\n"
    "  Designs the valve to the lead L (length units; at mid gear, or at every\n"
    "  balance setting with --lead-over-range) and the cut-off PCT % at normal\n"
    "  full gear, both ports both ways: fits the steam laps (ValveLengthFront,\n"
    "  ValveLengthRear) and, when the lead needs it, the combination lever\n"
    "  (CombLeverUpper, CombLeverLower), or the --free dimensions; with E the\n"
    "  exhaust laps too (negative: exhaust clearance). Then balances front and\n"
    "  rear as \"balance\" does, the targets held. Prints the balance result, the\n"
    "  changes from the design as given, and the targets wanted against those\n"
    "  reached (the front - rear spread at full gear is the gear's own\n"
    "  angularity). Exit status 3 when no feasible design was found.\n";

namespace {

std::string Json(const std::optional<double>& v) {
    return kes::JsonNumber(v);
}

std::string TargetsJson(const kes::TargetsDef& d, const kes::TargetsResult& r) {
    const kes::TargetsReached& a = r.After;
    std::ostringstream o;
    o << ", \"targets\": {\"lead\": [" << Json(d.Lead) << ", " << Json(a.LeadFront) << ", "
      << Json(a.LeadRear) << "], \"full_gear_cutoff\": [" << Json(d.FullGearCutOffPct);
    for (const auto& c : a.FullGearCutOff)
        o << ", " << Json(c);
    o << "], \"mean_full_gear_cutoff\": " << Json(a.MeanFullGearCutOff)
      << ", \"front_rear_spread\": " << Json(a.FrontRearSpread) << ", \"exhaust_lap\": ["
      << Json(d.ExhaustLap) << ", " << Json(a.ExhaustLapFront) << ", " << Json(a.ExhaustLapRear)
      << "], \"lead_over_range\": " << (d.LeadOverRange ? "true" : "false")
      << ", \"lever_freed\": " << (r.LeverFreed ? "true" : "false") << "}";
    return o.str();
}

void TargetsCsv(const kes::TargetsDef& d, const kes::TargetsResult& r, std::ostream& out) {
    const kes::TargetsReached& a = r.After;
    const auto n = [](const std::optional<double>& v) { return kes::CsvNumber(v); };
    out << "target,wanted,front,rear,front_reverse,rear_reverse\n";
    out << "lead," << n(d.Lead) << "," << n(a.LeadFront) << "," << n(a.LeadRear) << ",,\n";
    out << "full_gear_cutoff," << n(d.FullGearCutOffPct) << "," << n(a.FullGearCutOff[0]) << ","
        << n(a.FullGearCutOff[1]) << "," << n(a.FullGearCutOff[2]) << "," << n(a.FullGearCutOff[3])
        << "\n";
    out << "mean_full_gear_cutoff," << n(d.FullGearCutOffPct) << "," << n(a.MeanFullGearCutOff)
        << ",,,\n";
    out << "front_rear_spread,," << n(a.FrontRearSpread) << ",,,\n";
    out << "exhaust_lap," << n(d.ExhaustLap) << "," << n(a.ExhaustLapFront) << ","
        << n(a.ExhaustLapRear) << ",,\n";
}

// The balance result from the design as given: every change, both reports.
kes::BalanceResult Combined(const kes::TargetsResult& r) {
    kes::BalanceResult b = r.Balance;
    b.Changes = r.Changes;
    b.Before = r.ReportBefore;
    b.After = r.ReportAfter;
    b.Evaluations = r.Evaluations;
    b.Feasible = r.Feasible;
    return b;
}

} // namespace

int RunTargetsCommand(kes::Model& m, Args& args, std::ostream& out) {
    ApplyDesignEdits(m, TakeDesignEdits(args));
    kes::TargetsDef def = kes::DefaultTargetsDef(m);
    const auto lead = args.TakeNumber("--lead");
    const auto cut = args.TakeNumber("--full-gear-cutoff");
    if (!lead) throw UsageError("targets: --lead L is needed");
    if (!cut) throw UsageError("targets: --full-gear-cutoff PCT is needed");
    if (!(*cut > 0.0 && *cut < 100.0))
        throw UsageError("targets: --full-gear-cutoff must lie between 0 and 100");
    def.Lead = *lead;
    def.FullGearCutOffPct = *cut;
    def.LeadOverRange = args.TakeFlag("--lead-over-range");
    def.ExhaustLap = args.TakeNumber("--exhaust-lap");
    if (const auto free = args.TakeValue("--free")) {
        size_t start = 0;
        for (;;) {
            const size_t comma = free->find(',', start);
            const std::string name = free->substr(start, comma - start);
            const std::optional<kes::NamedDimension> d = kes::FindNamedDimension(name);
            if (!d || d->Id == 0) throw UsageError("targets: not a free dimension: " + name);
            def.Free.push_back(d->Id);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    std::string format = "csv";
    if (const auto f = args.TakeValue("--format")) {
        if (*f != "csv" && *f != "json") throw UsageError("targets: --format must be csv or json");
        format = *f;
    }
    const std::optional<std::string> output = args.TakeValue("-o");
    args.ExpectEmpty();

    const kes::TargetsResult r = kes::RunTargets(m, def);
    if (!r.Error.empty()) throw UsageError("targets: " + r.Error);
    const kes::BalanceResult combined = Combined(r);
    if (format == "json") {
        WriteBalanceJson(combined, def.Balance, out, TargetsJson(def, r));
    } else {
        TargetsCsv(def, r, out);
        WriteBalanceCsv(combined, def.Balance, out);
    }
    if (!r.Feasible) {
        std::cerr << "kestrove-cli: targets: no feasible design found"
                  << (output ? "; nothing written" : "") << "\n";
        const std::string& s =
            r.Balance.Suggestion.empty() ? r.Fit.Suggestion : r.Balance.Suggestion;
        if (!s.empty()) std::cerr << "kestrove-cli: targets: " << s << "\n";
        return 3;
    }
    if (output) {
        kes::Model designed = m;
        kes::ApplyBalance(designed, combined);
        const kes::FileResult saved = kes::SaveDimensionFile(designed, *output);
        if (!saved.Ok) {
            std::cerr << "kestrove-cli: " << *output << ": " << saved.Message << "\n";
            return 1;
        }
    }
    return 0;
}

} // namespace cli
