// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design a command works on: --set NAME=VALUE edits applied after
// --dims, and the mid-gear check of the commands that measure from mid gear.

#include "analysis/dimension_names.h"
#include "cli/cli_args.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace kes {
struct Mechanism;
struct Model;
} // namespace kes

namespace cli {

// A command that cannot give its answer for this design: one line on
// stderr and exit status 1.
struct RunError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct DesignEdit {
    kes::NamedDimension Dimension;
    float Value = 0.0f;
};

// Takes every "--set NAME=VALUE" (NAME as in the dimension tables, or an
// id); a bad one is a UsageError.
std::vector<DesignEdit> TakeDesignEdits(Args& args);
// Stores the edits through the accessor that keeps the invariants, then
// sets the reverse-arm bar range and finds mid gear again, as an edit in a
// dimension dialog does. Nothing is done without edits.
void ApplyDesignEdits(kes::Model& m, const std::vector<DesignEdit>& edits);

// Whether mid gear can be found for the design as it stands.
bool MidGearFound(const kes::Mechanism& m);
// Throws a RunError naming the command when mid gear cannot be found: a
// command measured from it would otherwise use a stale mid gear.
void RequireMidGear(const kes::Mechanism& m, const std::string& command);

// "V1,V2,..." into numbers; an empty or bad list is a UsageError naming the
// option.
std::vector<double> ParseNumberList(const std::string& list, const std::string& option);

} // namespace cli
