// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --scale FACTOR: every length of the design multiplied by FACTOR after
// --dims and before --set (25.4 turns inches into millimetres).

#include "cli/cli_args.h"

#include <optional>

namespace kes {
struct Model;
}

namespace cli {

// Takes "--scale FACTOR"; a factor that is not a positive number is a
// UsageError.
std::optional<double> TakeScale(Args& args);
// Scales the design as "Scale Design..." does; a RunError when a scaled
// value would not be a finite number.
void ApplyScale(kes::Model& m, double factor);

} // namespace cli
