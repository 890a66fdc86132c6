#pragma once
// kestrove-cli balance: the events balanced by the optimiser, before and
// after, and with -o the balanced design written as a dimension file.

#include "cli/cli_args.h"

#include <iosfwd>

namespace kes {
struct Model;
}

namespace cli {

extern const char* const BalanceUsage;

// Exit status 0 when balanced, 3 when the design as given is infeasible
// (nothing is written then), 1 when the output file cannot be written.
int RunBalanceCommand(kes::Model& m, Args& args, std::ostream& out);

} // namespace cli
