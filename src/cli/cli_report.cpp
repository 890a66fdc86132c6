// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_report.h"

#include "analysis/design_checks.h"
#include "analysis/events_report.h"
#include "analysis/report_format.h"
#include "analysis/sensitivity.h"
#include "cli/cli_design.h"
#include "model/model.h"

#include <ostream>

namespace cli {

std::string TakeFormat(Args& args, std::initializer_list<const char*> allowed) {
    const auto text = args.TakeValue("--format");
    if (!text) return *allowed.begin();
    std::string names;
    for (const char* a : allowed) {
        if (*text == a) return a;
        names += names.empty() ? "" : ", ";
        names += a;
    }
    throw UsageError("--format must be one of " + names + ", not " + *text);
}

kes::ReportDef TakeReportSettings(const kes::Model& m, Args& args, const std::string& command) {
    const auto settings = args.TakeValue("--settings");
    const auto offsets = args.TakeValue("--offsets");
    if (settings && offsets) throw UsageError(command + ": give --settings or --offsets, not both");
    kes::ReportDef def = kes::DefaultReportDef(m);
    if (settings) {
        def.Offsets.clear();
        def.Settings = ParseNumberList(*settings, "--settings");
        return def;
    }
    RequireMidGear(m, command);
    if (offsets) def.Offsets = ParseNumberList(*offsets, "--offsets");
    return def;
}

int RunReport(kes::Model& m, Args& args, std::ostream& out) {
    const auto cutoff = args.TakeNumber("--cutoff");
    const std::string format = TakeFormat(args, {"csv", "json"});
    kes::ReportDef def = TakeReportSettings(m, args, "report");
    args.ExpectEmpty();
    if (cutoff) {
        if (!(*cutoff > 0.0 && *cutoff < 100.0))
            throw UsageError("--cutoff must lie between 0 and 100 (percent of the stroke)");
        RequireMidGear(m, "report --cutoff");
        def.WantedCutOffPct = *cutoff;
    }
    const kes::EventsReport report = kes::ComputeReport(m, def);
    out << (format == "json" ? kes::ReportJson(report) : kes::ReportCsv(report));
    return 0;
}

int RunCheck(kes::Model& m, Args& args, std::ostream& out) {
    const std::string format = TakeFormat(args, {"text", "csv", "json"});
    args.ExpectEmpty();
    const kes::DesignChecks checks = kes::RunDesignChecks(m);
    if (format == "json")
        out << kes::ChecksJson(checks);
    else if (format == "csv")
        out << kes::ChecksCsv(checks);
    else
        out << kes::ChecksText(checks);
    return checks.AnyFailure() ? CheckFailedStatus : 0;
}

int RunSensitivity(kes::Model& m, Args& args, std::ostream& out) {
    const std::string format = TakeFormat(args, {"csv", "json"});
    const kes::ReportDef def = TakeReportSettings(m, args, "sensitivity");
    args.ExpectEmpty();
    const kes::SensitivityTable table = kes::ComputeSensitivity(m, def);
    out << (format == "json" ? kes::SensitivityJson(table) : kes::SensitivityCsv(table));
    return 0;
}

} // namespace cli
