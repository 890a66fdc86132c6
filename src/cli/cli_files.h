// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design commands: dims, save and compare.

#include "cli/cli_args.h"
#include "cli/cli_design.h"

#include <iosfwd>
#include <vector>

namespace kes {
struct Model;
}

namespace cli {

// dims: id, name, display name and value of every dimension, as CSV.
int RunDims(kes::Model& m, Args& args, std::ostream& out);
// save -o FILE.kvd: the design after --dims and --set; every other record
// as loaded or as the factory default.
int RunSave(kes::Model& m, Args& args, std::ostream& out);
// compare A.kvd B.kvd: the dimensions that differ, then both reports field
// by field with their differences. Either file may be "-", the design of
// --dims (the factory design without it); the --set edits apply to both.
int RunCompare(kes::Model& m, const std::vector<DesignEdit>& edits, Args& args, std::ostream& out);

} // namespace cli
