// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Doubles narrowed to the model's floats: first checked to fit.

#include <cmath>
#include <limits>

namespace kes {

// Finite and no larger than the largest float.
inline bool FitsFloat(double v) {
    return std::isfinite(v) &&
           std::fabs(v) <= static_cast<double>(std::numeric_limits<float>::max());
}

} // namespace kes
