// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_balance.h"

#include "analysis/balance.h"
#include "analysis/dimension_names.h"
#include "analysis/report_format.h"
#include "cli/cli_design.h"
#include "cli/cli_performance.h"
#include "cylinder/balance_mep.h"
#include "files/dimension_file.h"
#include "model/dimensions.h"
#include "model/model.h"

#include <charconv>
#include <cmath>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

const char* const BalanceUsage =
    "Usage: kestrove-cli balance [--dims F] [--set NAME=VALUE]... [--free NAME,NAME,...]\n"
    "         [--bounds PCT] [--settings P1,P2,...|--offsets D1,D2,...]\n"
    "         [--weight-fwd-rev W] [--min-lead L] [--max-evals N] [--format csv|json]\n"
    "         [--mep-weight W [--engine FILE.json] [--engine-set KEY=VALUE]...\n"
    "         [--mep-speed V]] [-o OUT.kvd] | --suggest\n"
    "  Moves the free dimensions (default ValveRodLength,EccRodLength,GearMountY,\n"
    "  DropLinkVert) within +/- PCT % of their values (default 10, at least\n"
    "  \u00b1 0.1 design units) to even the front and rear cut-offs and leads at the\n"
    "  settings (default mid gear +/- 25, 50, 75 and 100 % of RevArmNorm). A\n"
    "  design that is infeasible there (a lead not above L, default 0, a port\n"
    "  without cut-off, a linkage that does not close) is repaired first; with\n"
    "  the default free set the run frees up to three more dimensions when it\n"
    "  must. Free dimensions that move no event are left as they are. Prints J\n"
    "  before and after, the changes and both reports; -o writes the balanced\n"
    "  design, only when it is feasible. --suggest prints, without a run, the\n"
    "  dimensions that would help most. Exit status 3 when no feasible design\n"
    "  was found (what to free on stderr; nothing written).\n"
    "  --mep-weight W (default 0: left out) adds W x sum ((front MEP - rear MEP)\n"
    "  / boiler pressure, in %)^2 over the settings, so 1 % of the boiler\n"
    "  pressure weighs like a point of cut-off. The MEPs come from the cylinder\n"
    "  model (as \"performance\") at one speed, V (mph or km/h, default walking\n"
    "  pace: 3 mph, 5 km/h), with the engine data as \"performance\" takes them;\n"
    "  a setting where the model gives no MEP is infeasible. Each setting costs\n"
    "  a turn of the model per evaluation: a run takes several times longer. The\n"
    "  output adds mep_diff_pct (front - rear MEP in % of the boiler pressure)\n"
    "  at each row, before and after.\n";

namespace {

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return items;
}

std::string Number(const std::optional<double>& v) {
    return kes::CsvNumber(v);
}

std::string JsonNumber(const std::optional<double>& v) {
    return kes::JsonNumber(v);
}

// A stored dimension as the shortest text that reads back to the same float.
std::string FloatText(float v) {
    if (!std::isfinite(v)) return "";
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v + 0.0f);
    return std::string(buf, res.ptr);
}

// The speed the MEP term runs at, when it is on.
struct MepTerm {
    bool On = false;
    double Speed = 0.0;
    kes::EngineUnits Units = kes::EngineUnits::Imperial;
};

MepTerm TakeMepTerm(const kes::Model& m, Args& args, const std::string& designPath,
                    kes::BalanceDef& def) {
    MepTerm term;
    if (const auto w = args.TakeNumber("--mep-weight")) {
        if (!std::isfinite(*w) || !(*w >= 0.0))
            throw UsageError("balance: --mep-weight must be a number, 0 or more");
        def.Weights.MepFrontRear = *w;
    }
    const auto speed = args.TakeNumber("--mep-speed");
    if (speed && (!std::isfinite(*speed) || !(*speed > 0.0)))
        throw UsageError("balance: --mep-speed must be above 0");
    if (!(def.Weights.MepFrontRear > 0.0)) {
        if (speed || args.TakeValue("--engine") || args.TakeValue("--engine-set"))
            throw UsageError(
                "balance: --engine, --engine-set and --mep-speed go with --mep-weight above 0");
        return term;
    }
    const kes::EngineData engine = TakeEngine(m, args, designPath);
    std::string error;
    def.Mep = kes::MakeBalanceMepProbe(m, engine, speed, error);
    if (!def.Mep) throw RunError("balance: " + error);
    term.On = true;
    term.Units = engine.Units;
    term.Speed = speed.value_or(kes::BalanceMepSpeed(engine.Units));
    return term;
}

// Front - rear MEP in % of the boiler pressure at each row of a report.
std::vector<std::optional<double>> MepDiffs(const kes::Mechanism& m, const kes::EventsReport& r,
                                            const kes::BalanceMepProbe& probe) {
    std::vector<std::optional<double>> diffs;
    for (const kes::ReportRow& row : r.Rows) {
        const std::optional<kes::BalanceMep> mep =
            row.Closes() ? probe(m, row.Setting, row.Direction) : std::nullopt;
        diffs.push_back(mep ? std::optional<double>(mep->FrontPct - mep->RearPct) : std::nullopt);
    }
    return diffs;
}

std::string JsonList(const std::vector<std::optional<double>>& values) {
    std::string s = "[";
    for (size_t i = 0; i < values.size(); ++i)
        s += (i ? ", " : "") + JsonNumber(values[i]);
    return s + "]";
}

kes::BalanceDef ParseDef(const kes::Model& m, Args& args) {
    kes::BalanceDef def = kes::DefaultBalanceDef(m);
    double pct = kes::DefaultBoundsPct;
    if (const auto b = args.TakeNumber("--bounds")) {
        if (!(*b > 0.0)) throw UsageError("balance: --bounds must be above 0");
        pct = *b;
    }
    std::vector<int> ids(std::begin(kes::DefaultFreeDimensionIds),
                         std::end(kes::DefaultFreeDimensionIds));
    if (const auto free = args.TakeValue("--free")) {
        def.AddFreeWhenStuck = false;
        ids.clear();
        for (const std::string& name : SplitList(*free)) {
            const std::optional<kes::NamedDimension> d = kes::FindNamedDimension(name);
            if (!d || !kes::IsDimensionId(d->Id))
                throw UsageError("balance: not a free dimension: " + name);
            ids.push_back(d->Id);
        }
    }
    def.Free.clear();
    for (int id : ids)
        def.Free.push_back(kes::DefaultFreeDim(m, id, pct));
    const auto settings = args.TakeValue("--settings");
    const auto offsets = args.TakeValue("--offsets");
    if (settings && offsets) throw UsageError("balance: --settings or --offsets, not both");
    if (settings) {
        def.Settings = kes::ReportDef{};
        def.Settings.Settings = ParseNumberList(*settings, "--settings");
    } else if (offsets) {
        def.Settings = kes::ReportDef{};
        def.Settings.Offsets = ParseNumberList(*offsets, "--offsets");
    }
    if (const auto w = args.TakeNumber("--weight-fwd-rev")) {
        if (!(*w >= 0.0)) throw UsageError("balance: --weight-fwd-rev must not be negative");
        def.Weights.ForwardReverse = *w;
    }
    if (const auto l = args.TakeNumber("--min-lead")) def.MinLead = *l;
    if (const auto n = args.TakeNumber("--max-evals")) {
        if (!(*n >= 1.0) || *n > 1e7 || *n != std::floor(*n))
            throw UsageError("balance: --max-evals must be a whole number from 1");
        def.MaxEvaluations = static_cast<int>(*n);
    }
    return def;
}

// The report JSON without the line end it is written with on its own.
std::string ReportObject(const kes::EventsReport& r) {
    std::string json = kes::ReportJson(r);
    while (!json.empty() && (json.back() == '\n' || json.back() == '\r'))
        json.pop_back();
    return json;
}

std::string NameOf(int id) {
    return std::string(kes::DimensionCodeName(id));
}

std::string Quoted(const std::string& text) {
    std::string q = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') q += '\\';
        q += c;
    }
    return q + "\"";
}

std::string NameList(const std::vector<int>& ids) {
    std::string s = "[";
    for (size_t i = 0; i < ids.size(); ++i)
        s += (i ? ", " : "") + Quoted(NameOf(ids[i]));
    return s + "]";
}

const char* ProblemKey(kes::BalanceProblem p) {
    switch (p) {
    case kes::BalanceProblem::NoLead:
        return "no_lead";
    case kes::BalanceProblem::NoAdmission:
        return "no_admission";
    case kes::BalanceProblem::LostCutOff:
        return "lost_cutoff";
    case kes::BalanceProblem::DoesNotClose:
        return "does_not_close";
    case kes::BalanceProblem::NoMidGear:
        return "no_mid_gear";
    case kes::BalanceProblem::NoMep:
        return "no_mep";
    default:
        return "bad_dimension";
    }
}

// What the run says in words: the dimensions left out and added, and when
// no feasible design was found, each failure and the suggestion.
std::vector<std::string> Messages(const kes::BalanceResult& r, const kes::BalanceDef& def) {
    std::vector<std::string> lines;
    for (int id : r.LeftOut)
        lines.push_back(kes::NoEffectText(id));
    if (!r.Added.empty()) {
        std::string text = "The repair needed more free dimensions: added";
        for (size_t i = 0; i < r.Added.size(); ++i)
            text += (i ? ", " : " ") + kes::PlainDimensionName(r.Added[i]);
        lines.push_back(text);
    }
    if (r.Repaired()) lines.push_back("The design was infeasible and is repaired");
    if (!r.Feasible)
        for (const std::string& l : kes::BalanceFailureLines(r.Failures, def.MinLead))
            lines.push_back(l);
    return lines;
}

} // namespace

void WriteBalanceJson(const kes::BalanceResult& r, const kes::BalanceDef& def, std::ostream& out,
                      const std::string& extra) {
    out << "{\"objective_before\": " << JsonNumber(r.ObjectiveBefore)
        << ", \"objective_after\": " << JsonNumber(r.ObjectiveAfter)
        << ", \"evaluations\": " << r.Evaluations
        << ", \"feasible\": " << (r.Feasible ? "true" : "false") << ", \"phase\": " << r.Phase
        << ", \"repaired\": " << (r.Repaired() ? "true" : "false") << ", \"infeasibility\": "
        << (r.Feasible ? std::string("null") : JsonNumber(r.InfeasibilityAfter))
        << ", \"added\": " << NameList(r.Added) << ", \"left_out\": " << NameList(r.LeftOut)
        << ", \"failures\": [";
    for (size_t i = 0; i < r.Failures.size(); ++i) {
        const kes::BalanceFailure& f = r.Failures[i];
        out << (i ? ", " : "") << "{\"setting\": " << JsonNumber(f.Setting)
            << ", \"offset\": " << JsonNumber(f.Offset) << ", \"direction\": \""
            << kes::RunDirectionText(f.Direction) << "\", \"port\": "
            << (f.Port == kes::FrontPort  ? "\"front\""
                : f.Port == kes::RearPort ? "\"rear\""
                                          : "null")
            << ", \"problem\": \"" << ProblemKey(f.Problem)
            << "\", \"lead\": " << JsonNumber(f.Lead) << "}";
    }
    out << "], \"suggestion\": " << (r.Feasible ? std::string("null") : Quoted(r.Suggestion))
        << ", \"messages\": [";
    const std::vector<std::string> lines = Messages(r, def);
    for (size_t i = 0; i < lines.size(); ++i)
        out << (i ? ", " : "") << Quoted(lines[i]);
    out << "], \"changes\": [";
    for (size_t i = 0; i < r.Changes.size(); ++i) {
        const kes::BalanceChange& c = r.Changes[i];
        out << (i ? ", " : "") << "{\"name\": \"" << NameOf(c.Id)
            << "\", \"before\": " << FloatText(c.Before) << ", \"after\": " << FloatText(c.After)
            << "}";
    }
    out << "]" << extra << ", \"before\": " << ReportObject(r.Before)
        << ", \"after\": " << ReportObject(r.After) << "}\n";
}

void WriteBalanceCsv(const kes::BalanceResult& r, const kes::BalanceDef& def, std::ostream& out,
                     const std::vector<std::string>& extraLines) {
    out << "name,before,after,change,change_pct\n";
    const auto line = [&](const std::string& name, const std::optional<double>& a,
                          const std::optional<double>& b, const std::optional<double>& pct) {
        const std::optional<double> d = a && b ? std::optional<double>(*b - *a) : std::nullopt;
        out << name << "," << Number(a) << "," << Number(b) << "," << Number(d) << ","
            << Number(pct) << "\n";
    };
    line("objective", r.ObjectiveBefore, r.ObjectiveAfter, std::nullopt);
    out << "evaluations,," << r.Evaluations << ",,\n";
    out << "feasible," << (r.Start.Feasible() ? "true" : "false") << ","
        << (r.Feasible ? "true" : "false") << ",,\n";
    out << "phase,," << r.Phase << ",,\n";
    if (!r.Feasible) out << "infeasibility,," << Number(r.InfeasibilityAfter) << ",,\n";
    for (const kes::BalanceChange& c : r.Changes)
        out << NameOf(c.Id) << "," << FloatText(c.Before) << "," << FloatText(c.After) << ","
            << Number(static_cast<double>(c.After) - c.Before) << "," << Number(c.Percent())
            << "\n";
    const size_t rows = std::min(r.Before.Rows.size(), r.After.Rows.size());
    for (size_t i = 0; i < rows; ++i) {
        const kes::ReportRow& a = r.Before.Rows[i];
        const kes::ReportRow& b = r.After.Rows[i];
        const std::string key = std::string(kes::RunDirectionText(a.Direction)) + " " +
                                (a.Offset ? Number(*a.Offset) : Number(a.Setting)) + " ";
        struct Field {
            const char* Name;
            std::optional<double> (*Of)(const kes::ReportRow&);
        };
        static const Field fields[] = {
            {"front_cutoff_pct",
             [](const kes::ReportRow& w) { return w.Events.Front.Pct(kes::CutOff); }},
            {"rear_cutoff_pct",
             [](const kes::ReportRow& w) { return w.Events.Rear.Pct(kes::CutOff); }},
            {"cutoff_diff", [](const kes::ReportRow& w) { return w.CutOffDiff; }},
            {"front_lead", [](const kes::ReportRow& w) { return w.Events.Front.Lead; }},
            {"rear_lead", [](const kes::ReportRow& w) { return w.Events.Rear.Lead; }},
            {"lead_diff", [](const kes::ReportRow& w) { return w.LeadDiff; }},
            {"front_release_pct",
             [](const kes::ReportRow& w) { return w.Events.Front.Pct(kes::Release); }},
            {"rear_release_pct",
             [](const kes::ReportRow& w) { return w.Events.Rear.Pct(kes::Release); }},
            {"release_diff", [](const kes::ReportRow& w) { return w.ReleaseDiff; }},
            {"front_compression_pct",
             [](const kes::ReportRow& w) { return w.Events.Front.Pct(kes::Compression); }},
            {"rear_compression_pct",
             [](const kes::ReportRow& w) { return w.Events.Rear.Pct(kes::Compression); }},
            {"compression_diff", [](const kes::ReportRow& w) { return w.CompressionDiff; }},
        };
        for (const Field& f : fields)
            line(key + f.Name, f.Of(a), f.Of(b), std::nullopt);
    }
    for (const std::string& l : extraLines)
        out << l << "\n";
    for (const std::string& l : Messages(r, def))
        out << "# " << l << "\n";
    if (!r.Feasible && !r.Suggestion.empty()) out << "# " << r.Suggestion << "\n";
}

namespace {

// The ranking without a run: name, share of the shortfall it could make up,
// which way; then the line that says it.
int WriteSuggestions(const kes::Model& m, const kes::BalanceDef& def, std::ostream& out) {
    const kes::FreeAdviceResult a = kes::SuggestFreeDimensions(m, def);
    out << "name,score,direction\n";
    for (const kes::FreeSuggestion& s : a.Ranked)
        out << NameOf(s.Id) << "," << Number(s.Score) << ","
            << (s.Direction > 0 ? "longer" : "shorter") << "\n";
    for (const std::string& l : kes::BalanceFailureLines(a.Failures, def.MinLead))
        out << "# " << l << "\n";
    out << "# "
        << (a.Line.empty() ? std::string("The design is feasible at these settings") : a.Line)
        << "\n";
    return 0;
}

} // namespace

int RunBalanceCommand(kes::Model& m, Args& args, std::ostream& out, const std::string& designPath) {
    // Normally taken by main before the command; here too for a direct call.
    ApplyDesignEdits(m, TakeDesignEdits(args));
    kes::BalanceDef def = ParseDef(m, args);
    const MepTerm mep = TakeMepTerm(m, args, designPath, def);
    std::string format = "csv";
    if (const auto f = args.TakeValue("--format")) {
        if (*f != "csv" && *f != "json") throw UsageError("balance: --format must be csv or json");
        format = *f;
    }
    const std::optional<std::string> output = args.TakeValue("-o");
    const bool suggest = args.TakeFlag("--suggest");
    args.ExpectEmpty();
    if (suggest) {
        if (output) throw UsageError("balance: --suggest writes no design");
        return WriteSuggestions(m, def, out);
    }

    const kes::BalanceResult r = kes::RunBalance(m, def);
    if (!r.Error.empty()) throw UsageError("balance: " + r.Error);
    std::string extra;
    std::vector<std::string> extraLines;
    if (mep.On) {
        const auto before = MepDiffs(m, r.Before, def.Mep);
        const auto after = MepDiffs(r.Balanced, r.After, def.Mep);
        extra = ", \"mep_weight\": " + JsonNumber(def.Weights.MepFrontRear) +
                ", \"mep_speed\": " + JsonNumber(mep.Speed) +
                ", \"mep_diff_pct\": {\"before\": " + JsonList(before) +
                ", \"after\": " + JsonList(after) + "}";
        for (size_t i = 0; i < r.Before.Rows.size(); ++i) {
            const kes::ReportRow& a = r.Before.Rows[i];
            const std::optional<double> b = i < before.size() ? before[i] : std::nullopt;
            const std::optional<double> c = i < after.size() ? after[i] : std::nullopt;
            const std::optional<double> d = b && c ? std::optional<double>(*c - *b) : std::nullopt;
            extraLines.push_back(std::string(kes::RunDirectionText(a.Direction)) + " " +
                                 (a.Offset ? Number(*a.Offset) : Number(a.Setting)) +
                                 " mep_diff_pct," + Number(b) + "," + Number(c) + "," + Number(d) +
                                 ",");
        }
    }
    if (format == "json")
        WriteBalanceJson(r, def, out, extra);
    else
        WriteBalanceCsv(r, def, out, extraLines);
    if (!r.Feasible) {
        std::cerr << "kestrove-cli: balance: no feasible design found: "
                  << kes::BalanceProblemText(r.Start.Problem) << " (setting "
                  << Number(r.Start.ProblemSetting) << ")" << (output ? "; nothing written" : "")
                  << "\n";
        if (!r.Suggestion.empty()) std::cerr << "kestrove-cli: balance: " << r.Suggestion << "\n";
        return 3;
    }
    if (output) {
        kes::Model balanced = m;
        kes::ApplyBalance(balanced, r);
        const kes::FileResult saved = kes::SaveDimensionFile(balanced, *output);
        if (!saved.Ok) {
            std::cerr << "kestrove-cli: " << *output << ": " << saved.Message << "\n";
            return 1;
        }
    }
    return 0;
}

} // namespace cli
