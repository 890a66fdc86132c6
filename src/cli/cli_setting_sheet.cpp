// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_setting_sheet.h"

#include "cli/cli_design.h"
#include "cli/cli_report.h"
#include "model/model.h"

#include <cstdio>
#include <fstream>
#include <ostream>

namespace cli {

SettingSheetRequest TakeSettingSheetRequest(const kes::Model& m, Args& args) {
    SettingSheetRequest r;
    const auto notches = args.TakeValue("--notches");
    r.Format = TakeFormat(args, {"json", "csv", "pdf"});
    r.Output = args.TakeValue("-o");
    args.ExpectEmpty();
    if (r.Format == "pdf" && (!r.Output || r.Output->empty()))
        throw UsageError("setting-sheet: --format pdf needs -o FILE.pdf");
    RequireMidGear(m, "setting-sheet");
    r.Def = notches ? kes::SettingSheetDef{ParseNumberList(*notches, "--notches")}
                    : kes::DefaultSettingSheetDef(m);
    return r;
}

void WriteCommandText(const std::optional<std::string>& output, const std::string& text,
                      std::ostream& out) {
    if (!output || *output == "-") {
        out << text;
        return;
    }
    // Through a temporary beside the file, so a failed write leaves the old one.
    const std::string temp = *output + ".part";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        file << text;
        file.close();
        if (!file) {
            std::remove(temp.c_str());
            throw RunError(*output + ": cannot be written");
        }
    }
    if (std::rename(temp.c_str(), output->c_str()) != 0) {
        std::remove(temp.c_str());
        throw RunError(*output + ": cannot be written");
    }
    out << *output << "\n";
}

int RunSettingSheet(kes::Model& m, Args& args, std::ostream& out) {
    const SettingSheetRequest r = TakeSettingSheetRequest(m, args);
    if (r.Format == "pdf")
        throw UsageError("setting-sheet: this kestrove-cli was built without Qt: no PDF");
    const kes::SettingSheet sheet = kes::ComputeSettingSheet(m, r.Def);
    WriteCommandText(r.Output,
                     r.Format == "csv" ? kes::SettingSheetCsv(sheet) : kes::SettingSheetJson(sheet),
                     out);
    return 0;
}

} // namespace cli
