// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kestrove-cli targets: the valve designed to a lead and a full-gear
// cut-off, then balanced; with -o the design written as a dimension file.

#include "cli/cli_args.h"

#include <iosfwd>

namespace kes {
struct Model;
}

namespace cli {

extern const char* const TargetsUsage;

// Exit status 0 when a feasible design was found, 3 when none was (nothing
// is written then), 1 when the output file cannot be written.
int RunTargetsCommand(kes::Model& m, Args& args, std::ostream& out);

} // namespace cli
