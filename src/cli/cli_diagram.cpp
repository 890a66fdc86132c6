// Placeholder until the diagram pictures land.
#include "cli/commands.h"

#include <ostream>

namespace cli {
int RunDiagram(kes::Model&, Args&, std::ostream&) {
    throw UsageError("diagram: not available in this build");
}
} // namespace cli
