// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_design.h"

#include "model/mid_gear.h"
#include "model/model.h"

#include <cmath>
#include <limits>
#include <sstream>

namespace cli {

std::vector<DesignEdit> TakeDesignEdits(Args& args) {
    std::vector<DesignEdit> edits;
    for (const std::string& text : args.TakeEveryValue("--set")) {
        const auto equals = text.find('=');
        if (equals == std::string::npos) throw UsageError("--set needs NAME=VALUE, not " + text);
        const std::string name = text.substr(0, equals);
        const std::string valueText = text.substr(equals + 1);
        const auto dimension = kes::FindNamedDimension(name);
        if (!dimension)
            throw UsageError("--set: no dimension named " + name +
                             " (kestrove-cli dims lists them)");
        const double value = RequireReal(valueText, "for --set " + name);
        edits.push_back({*dimension, static_cast<float>(value)});
    }
    return edits;
}

void ApplyDesignEdits(kes::Model& m, const std::vector<DesignEdit>& edits) {
    if (edits.empty()) return;
    for (const DesignEdit& e : edits)
        kes::SetNamedDimension(m, e.Dimension, e.Value);
    kes::SetRevArmBarRange(m);
    kes::FindMidGear(m);
}

bool MidGearFound(const kes::Mechanism& m) {
    kes::Mechanism copy = m;
    return kes::FindMidGear(copy);
}

void RequireMidGear(const kes::Mechanism& m, const std::string& command) {
    if (!MidGearFound(m))
        throw RunError(command + ": mid gear cannot be found for these dimensions");
}

std::vector<double> ParseNumberList(const std::string& list, const std::string& option) {
    std::vector<double> values;
    std::stringstream words(list);
    std::string word;
    while (std::getline(words, word, ',')) {
        values.push_back(RequireReal(word, "in " + option));
    }
    if (values.empty()) throw UsageError(option + " needs at least one value");
    return values;
}

} // namespace cli
