// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/precise_mid_gear.h"

#include "analysis/root_near.h"
#include "model/mid_gear.h"

#include <cmath>

namespace kes {

std::optional<double> PreciseMidGear(const Mechanism& m) {
    Mechanism copy = m;
    if (!FindMidGear(copy)) return std::nullopt;
    const double upper = m.Baker.GearConRodUpper;
    const double horz = m.Baker.BellCrankHorz;
    const double x11 = m.Points[RevArmPivot].X, y11 = m.Points[RevArmPivot].Y;
    const double x6 = m.Points[BellCrankPivot].X, y6 = m.Points[BellCrankPivot].Y;
    const double arm = static_cast<double>(m.Baker.RevArmUpperLength) + m.Baker.RevArmLowerLength;
    const double gmX = m.Points[GearMount].X;
    if (!(std::fabs(upper) > 0.0)) return std::nullopt;

    // The trial e behind GearMount: the point (e, f - Y11), f above the
    // reverse-arm pivot by the gear connecting rod's upper length, lies the
    // bell crank's horizontal arm from the bell-crank pivot.
    const auto gap = [&](double e) {
        const double reach = upper * upper - (x11 - e) * (x11 - e);
        const double f = std::sqrt(reach > 0.0 ? reach : 0.0);
        return std::hypot(e - x6, y6 + y11 - f) - horz;
    };
    // Back from the model's mid gear to its trial e.
    const double seed = x11 - (static_cast<double>(copy.MidGear()) - gmX + x11) * upper / arm;
    const analysis_detail::RootSearch search{x11 - std::fabs(upper), x11 + std::fabs(upper), 1e-4,
                                             1e-13};
    const std::optional<double> e = analysis_detail::RootNear(gap, seed, search);
    if (!e || !(std::fabs(gap(*e)) <= 1e-9)) return std::nullopt;
    const double mid = gmX - x11 - arm * (*e - x11) / upper;
    if (!std::isfinite(mid)) return std::nullopt;
    return mid;
}

} // namespace kes
