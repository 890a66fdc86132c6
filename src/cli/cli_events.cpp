// events [--mode F|R]: the port events table as CSV.
#include "cli/commands.h"

#include "diagrams/event_tables.h"
#include "diagrams/port_diagram.h"

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
    diagrams::WritePortEventsCsv(diagrams::ComputePortEvents(m, mode), out);
    return 0;
}

} // namespace cli
