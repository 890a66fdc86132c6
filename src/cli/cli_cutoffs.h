// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// cutoffs [--positions P1,P2,...]: the steam diagram's cut-off list as CSV.

#include "cli/cli_args.h"

#include <iosfwd>

namespace kes {
struct Model;
}

namespace cli {

// Without --positions the positions are those the drawing would use: mid
// gear and mid gear plus and minus RevArmNorm. Prints
// position_number,position,front_cutoff,rear_cutoff.
int RunCutoffs(kes::Model& m, Args& args, std::ostream& out);

} // namespace cli
