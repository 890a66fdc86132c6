// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kestrove-cli setting-sheet [--notches O1,O2,...] [--format json|csv|pdf] [-o FILE]:
// the valve-setting sheet. JSON and CSV need no Qt; the PDF is painted by
// the workshop drawings (the Qt part of the command line).

#include "analysis/setting_sheet.h"
#include "cli/cli_args.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace kes {
struct Model;
}

namespace cli {

struct SettingSheetRequest {
    kes::SettingSheetDef Def;
    std::string Format; // "json", "csv" or "pdf"
    std::optional<std::string> Output;
};

// Takes the options; needs mid gear, since notches are offsets from it.
SettingSheetRequest TakeSettingSheetRequest(const kes::Model& m, Args& args);
// Writes text to the request's file (atomically) or to out.
void WriteCommandText(const std::optional<std::string>& output, const std::string& text,
                      std::ostream& out);
// The JSON or CSV sheet; the PDF is refused here.
int RunSettingSheet(kes::Model& m, Args& args, std::ostream& out);

} // namespace cli
