#pragma once
// Real to integer conversions used for every pixel and every stored integer.

#include <cstdint>

namespace kes {

// Round to nearest, ties to even; saturates to the 32-bit range; NaN is 0.
int32_t RoundHalfEven(double v);

} // namespace kes
