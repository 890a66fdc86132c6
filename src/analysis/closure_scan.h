// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Does the linkage close over the whole turn at every setting from
// mid gear - RevArmMax to mid gear + RevArmMax? The settings are scanned at
// evenly spaced steps (both ends included), each over a turn of whole
// degrees.

#include "analysis/precise_solve.h"

#include <vector>

namespace kes {

struct ClosureProblem {
    double Setting = 0.0;
    double CrankDeg = 0.0; // the first whole degree that does not close
    ClosureFailure Failure = ClosureFailure::None;
};

struct ClosureScan {
    int SettingsScanned = 0;
    std::vector<ClosureProblem> Problems; // one per setting that fails
    bool AllClose() const { return Problems.empty(); }
};

constexpr int ClosureScanStepsEachSide = 8;

ClosureScan ScanClosure(PreciseLinkage& linkage, double midGear, double maxOffset,
                        int stepsEachSide = ClosureScanStepsEachSide);

} // namespace kes
