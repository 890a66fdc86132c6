// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Real to integer conversions used for every pixel and every stored integer.

#include <cstdint>

namespace kes {

// Round to nearest, ties to even; saturates to the 32-bit range; NaN is 0.
int32_t RoundHalfEven(double v);

// A pixel from a real: rounded half to even and held within +-limit, so that
// a drawing can add its offsets to it, or sum a few, without overflowing.
// Positions that far outside a picture are clipped anyway.
inline constexpr int32_t PixelLimit = 1000000;
int32_t SaturatedPixel(double v, int32_t limit = PixelLimit);

} // namespace kes
