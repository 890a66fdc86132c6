// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The kestrove-cli commands. Each gets the model (already loaded from --dims
// when given) and the remaining words, and returns the exit status.

#include "cli/cli_args.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace kes {
struct Model;
}

namespace cli {

// The numeric commands (sweep, midgear, events, readouts, cutoffs), which
// need no Qt. nullopt when the command is none of them.
std::optional<int> RunNumericCommand(const std::string& command, kes::Model& m, Args& args,
                                     std::ostream& out);

int RunSweep(kes::Model& m, Args& args, std::ostream& out);
int RunMidGear(kes::Model& m, Args& args, std::ostream& out);
// diagram sine|oval|steam|ports ... -o OUT.png|OUT.svg (in the Qt part)
int RunDiagram(kes::Model& m, Args& args, std::ostream& out);
// readouts [--position P]: the sine diagram's mid-gear read-outs as CSV
int RunReadouts(kes::Model& m, Args& args, std::ostream& out);
// events [--mode F|R]: the port events table as CSV
int RunEvents(kes::Model& m, Args& args, std::ostream& out);

} // namespace cli
