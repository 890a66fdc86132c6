// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_pivots.h"

#include "analysis/frame_pivots.h"
#include "model/model.h"

#include <ostream>

namespace cli {

int RunPivots(kes::Model& m, Args& args, std::ostream& out) {
    args.ExpectEmpty();
    out << kes::FramePivotsCsv(kes::FramePivots(m));
    return 0;
}

} // namespace cli
