#include "cli/cli_cutoffs.h"
#include "cli/commands.h"

namespace cli {

std::optional<int> RunNumericCommand(const std::string& command, kes::Model& m, Args& args,
                                     std::ostream& out) {
    if (command == "sweep") return RunSweep(m, args, out);
    if (command == "midgear") return RunMidGear(m, args, out);
    if (command == "events") return RunEvents(m, args, out);
    if (command == "readouts") return RunReadouts(m, args, out);
    if (command == "cutoffs") return RunCutoffs(m, args, out);
    return std::nullopt;
}

} // namespace cli
