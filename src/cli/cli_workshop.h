// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The workshop commands of kestrove-cli (Qt Gui, no widgets):
//   dxf [--angle A] [--setting S] [--links] [--unit in|mm] [--pin-diameter D]
//       [--link-width W] -o FILE.dxf
//   setting-sheet [--notches O1,O2,...] [--format json|csv|pdf] [-o FILE]
//   links [--unit in|mm] [--decimals N] [--pin-diameter D] [--paper P]
//         [--orientation portrait|landscape] -o OUT.pdf|OUT.svg
//   arrangement [--angle A] [--setting S] [--drawing-scale 1:N|fit] [--unit in|mm]
//         [--paper P] [--orientation portrait|landscape] -o OUT.pdf|OUT.svg

#include "cli/cli_args.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace kes {
struct Model;
}

namespace cli {

bool IsWorkshopCommand(const std::string& command);
// nullopt when the command is none of them. sourceFile: the --dims file for
// the title blocks (may be empty).
std::optional<int> RunWorkshopCommand(const std::string& command, kes::Model& m, Args& args,
                                      std::ostream& out, const std::string& sourceFile);

} // namespace cli
