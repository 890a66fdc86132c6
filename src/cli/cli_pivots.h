// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kestrove-cli pivots: the frame-fixed pivots from the driver axle centre,
// as CSV, with the dimension names --set and dims use.

#include "cli/cli_args.h"

#include <iosfwd>

namespace kes {
struct Model;
}

namespace cli {

int RunPivots(kes::Model& m, Args& args, std::ostream& out);

} // namespace cli
