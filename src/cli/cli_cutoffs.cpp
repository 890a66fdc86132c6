// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_cutoffs.h"

#include "analysis/event_tables.h"
#include "analysis/steam_simulation.h"
#include "cli/cli_design.h"
#include "cli/cli_positions.h"
#include "model/model.h"

#include <ostream>

namespace cli {

int RunCutoffs(kes::Model& m, Args& args, std::ostream& out) {
    const auto positions = args.TakeValue("--positions");
    args.ExpectEmpty();
    // The steam diagram measures its cut-offs on either side of mid gear.
    RequireMidGear(m, "cutoffs");
    SetPositions(m, positions);
    analysis::WriteSteamCutOffsCsv(analysis::ComputeSteamCutOffs(m), out);
    return 0;
}

} // namespace cli
