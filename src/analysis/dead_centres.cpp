// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/dead_centres.h"

#include <boost/math/tools/minima.hpp>

#include <cmath>
#include <cstdint>
#include <limits>

namespace kes {

namespace {

// Brent's method cannot place a smooth extremum closer than about the
// square root of the machine precision.
constexpr int MinimiserBits = std::numeric_limits<double>::digits / 2;
constexpr std::uintmax_t MinimiserIterations = 200;

double Wrap360(double deg) {
    double d = std::fmod(deg, 360.0);
    return d < 0.0 ? d + 360.0 : d;
}

} // namespace

std::optional<DeadCentres> FindDeadCentres(const PreciseLinkage& linkage) {
    // The whole-degree samples bracket each extremum within a degree.
    int hiAt = 0, loAt = 0;
    double hi = -std::numeric_limits<double>::infinity();
    double lo = std::numeric_limits<double>::infinity();
    for (int k = 0; k < 360; ++k) {
        const std::optional<double> x = linkage.PistonX(k);
        if (!x) return std::nullopt;
        if (*x > hi) {
            hi = *x;
            hiAt = k;
        }
        if (*x < lo) {
            lo = *x;
            loAt = k;
        }
    }
    // PistonX is defined at every whole degree; between them a missing value
    // cannot occur without the rod failing at a sample too, except at a
    // grazing tangent, which counts as the limit.
    const auto x = [&](double deg) {
        const std::optional<double> v = linkage.PistonX(deg);
        return v ? *v : (lo + hi) / 2.0;
    };
    std::uintmax_t iter = MinimiserIterations;
    const auto top = boost::math::tools::brent_find_minima(
        [&](double d) { return -x(d); }, hiAt - 1.0, hiAt + 1.0, MinimiserBits, iter);
    iter = MinimiserIterations;
    const auto bottom =
        boost::math::tools::brent_find_minima(x, loAt - 1.0, loAt + 1.0, MinimiserBits, iter);
    DeadCentres dc;
    dc.FrontDeg = Wrap360(top.first);
    dc.XMax = -top.second;
    dc.RearDeg = Wrap360(bottom.first);
    dc.XMin = bottom.second;
    if (!(dc.Stroke() > 0.0) || !std::isfinite(dc.Stroke())) return std::nullopt;
    return dc;
}

} // namespace kes
