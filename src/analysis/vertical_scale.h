// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The vertical scale of the sine and oval diagrams (units of valve travel
// for the full height). The drawing works within these limits, so that a
// bad value read from a file can neither hang the tick loops nor divide by
// zero; the command line refuses a scale outside them.

namespace analysis {

inline constexpr double MinVerticalScale = 0.1;
inline constexpr double MaxVerticalScale = 1000.0;

// The scale held within the limits (NaN gives the least).
inline double DrawingScale(double scale) {
    if (!(scale >= MinVerticalScale)) return MinVerticalScale;
    if (scale > MaxVerticalScale) return MaxVerticalScale;
    return scale;
}

} // namespace analysis
