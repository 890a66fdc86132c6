// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fixed-point number texts: Str(v:w:d) right-aligns v with d decimals in at
// least w characters.

#include <string>

namespace kes {

std::string FormatFixed(double v, int width, int decimals);
// An integer right-aligned in at least w characters.
std::string FormatInt(long long v, int width);

} // namespace kes
