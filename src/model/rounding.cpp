// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kes {

int32_t RoundHalfEven(double v) {
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    if (v <= lo) return std::numeric_limits<int32_t>::min();
    if (v >= hi) return std::numeric_limits<int32_t>::max();
    // In range, so the default rounding mode (to nearest, ties to even) is safe.
    return static_cast<int32_t>(std::nearbyint(v));
}

int32_t SaturatedPixel(double v, int32_t limit) {
    return std::clamp(RoundHalfEven(v), -limit, limit);
}

} // namespace kes
