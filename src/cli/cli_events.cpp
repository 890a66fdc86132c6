// SPDX-License-Identifier: GPL-3.0-or-later
// events [--mode F|R]: the port events table as CSV.
#include "cli/cli_design.h"
#include "cli/commands.h"

#include "analysis/event_tables.h"
#include "analysis/port_events.h"
#include "model/model.h"

#include <ostream>

namespace cli {

int RunEvents(kes::Model& m, Args& args, std::ostream& out) {
    char mode = 'F';
    if (const auto text = args.TakeValue("--mode")) {
        if (*text == "F" || *text == "f") {
            mode = 'F';
        } else if (*text == "R" || *text == "r") {
            mode = 'R';
        } else {
            throw UsageError("events: --mode must be F or R, not " + *text);
        }
    }
    args.ExpectEmpty();
    RequireMidGear(m, "events");
    analysis::WritePortEventsCsv(analysis::ComputePortEvents(m, mode), out);
    return 0;
}

} // namespace cli
