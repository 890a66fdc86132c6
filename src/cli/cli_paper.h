// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The paper commands of kestrove-cli (they need Qt Gui, like "diagram"):
//   pdf [--paper a4|a3|...|letter|tabloid] -o design.pdf
//   drawing [--angle A] [--setting S] [--unit in|mm] [--paper P|WxH]
//           [--orientation portrait|landscape] -o gear.svg|gear.pdf

#include "cli/cli_args.h"

#include <iosfwd>
#include <string>

namespace kes {
struct Model;
}

namespace cli {

// sourceFile: the --dims file, for the report's title block (may be empty).
int RunPdf(kes::Model& m, Args& args, std::ostream& out, const std::string& sourceFile);
int RunDrawing(kes::Model& m, Args& args, std::ostream& out);

} // namespace cli
