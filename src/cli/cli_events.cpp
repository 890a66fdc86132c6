// Placeholder until the port events table lands.
#include "cli/commands.h"

#include <ostream>

namespace cli {
int RunEvents(kes::Model&, Args&, std::ostream&) {
    throw UsageError("events: not available in this build");
}
} // namespace cli
