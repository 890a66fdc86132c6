#include "cli/cli_cutoffs.h"

#include "cli/cli_positions.h"
#include "diagrams/event_tables.h"
#include "diagrams/steam_diagram.h"
#include "model/model.h"

#include <ostream>

namespace cli {

int RunCutoffs(kes::Model& m, Args& args, std::ostream& out) {
    const auto positions = args.TakeValue("--positions");
    args.ExpectEmpty();
    SetPositions(m, positions);
    diagrams::WriteSteamCutOffsCsv(diagrams::ComputeSteamCutOffs(m), out);
    return 0;
}

} // namespace cli
