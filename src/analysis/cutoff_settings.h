// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reverse-arm setting that gives a wanted cut-off, for each port and for
// their mean, on each side of mid gear: a root of cut-off(setting) - wanted,
// bracketed by a scan from mid gear to the largest offset and polished with
// TOMS 748.

#include "analysis/dead_centres.h"
#include "analysis/precise_solve.h"
#include "analysis/valve_events.h"

#include <optional>

namespace kes {

struct CutOffSide {
    // Absolute settings (X of the reverse-arm top); absent where no setting
    // up to the largest offset gives the wanted cut-off.
    std::optional<double> Front, Rear, Mean;
};

struct CutOffSettings {
    double WantedPct = 0.0;
    CutOffSide Forward;
    CutOffSide Reverse;
};

CutOffSettings FindCutOffSettings(PreciseLinkage& linkage,
                                  const std::optional<DeadCentres>& centres, double midGear,
                                  double maxOffset, double wantedPct);

// Only the mean of one side: the same root as FindCutOffSettings gives
// there, for a quarter of the work.
std::optional<double> FindMeanCutOffSetting(PreciseLinkage& linkage,
                                            const std::optional<DeadCentres>& centres,
                                            double midGear, double maxOffset, double wantedPct,
                                            RunDirection dir);

} // namespace kes
