// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_scale.h"

#include "cli/cli_design.h"
#include "model/model.h"
#include "model/scale_design.h"

#include <sstream>

namespace cli {

std::optional<double> TakeScale(Args& args) {
    const std::optional<double> factor = args.TakeNumber("--scale");
    if (factor && !(*factor > 0.0)) throw UsageError("--scale takes a positive factor");
    return factor;
}

void ApplyScale(kes::Model& m, double factor) {
    if (kes::ScaleModel(m, factor)) return;
    std::ostringstream text;
    text << "--scale " << factor << ": a scaled value would be out of range";
    throw RunError(text.str());
}

} // namespace cli
