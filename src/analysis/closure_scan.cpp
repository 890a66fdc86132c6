// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/closure_scan.h"

#include <cmath>
#include <optional>

namespace kes {

namespace {

// The first whole degree of the turn at which the linkage does not close.
std::optional<ClosureProblem> FirstFailure(PreciseLinkage& linkage, double setting) {
    std::optional<PreciseSeed> seed;
    for (int k = 0; k < 360; ++k) {
        const PreciseSolution s = linkage.Solve(k, setting, seed);
        if (!s.Closes()) return ClosureProblem{setting, static_cast<double>(k), s.Failure};
        seed = s.Seed();
    }
    return std::nullopt;
}

} // namespace

ClosureScan ScanClosure(PreciseLinkage& linkage, double midGear, double maxOffset,
                        int stepsEachSide) {
    ClosureScan scan;
    const int n = stepsEachSide < 1 ? 1 : stepsEachSide;
    for (int i = -n; i <= n; ++i) {
        const double setting = midGear + maxOffset * i / n;
        ++scan.SettingsScanned;
        if (const std::optional<ClosureProblem> p = FirstFailure(linkage, setting))
            scan.Problems.push_back(*p);
    }
    return scan;
}

} // namespace kes
