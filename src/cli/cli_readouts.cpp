// SPDX-License-Identifier: GPL-3.0-or-later
// readouts [--position P]: the sine diagram's mid-gear read-outs as CSV.
#include "analysis/travel_readouts.h"
#include "cli/cli_design.h"
#include "cli/commands.h"
#include "model/model.h"

#include <iterator>
#include <ostream>
#include <sstream>
#include <string>

namespace cli {

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

} // namespace

int RunReadouts(kes::Model& m, Args& args, std::ostream& out) {
    const auto position = args.TakeNumber("--position");
    args.ExpectEmpty();
    RequireMidGear(m, "readouts");
    const float p = position ? NarrowReal(*position, "--position") : m.MidGear();
    if (!analysis::IsAtMidGear(m, p)) {
        std::ostringstream why;
        why << "--position must lie within " << analysis::MidGearBand << " of mid gear ("
            << m.MidGear() << ")";
        throw UsageError(why.str());
    }
    const analysis::MidGearReadouts r = analysis::SineReadouts(m, p);
    out << "rear_lead,front_steam_lap,front_exhaust_clearance,rear_exhaust_clearance,"
           "rear_steam_lap,front_lead\n";
    const float values[] = {
        r.RearLead,     r.FrontSteamLap, r.FrontExhaustClearance, r.RearExhaustClearance,
        r.RearSteamLap, r.FrontLead};
    for (size_t i = 0; i < std::size(values); ++i) {
        if (i) out << ',';
        out << Trimmed(analysis::FormatReadout(values[i]));
    }
    out << "\n";
    return 0;
}

} // namespace cli
