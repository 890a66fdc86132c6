// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers typed into a field or a small dialog: the one parser every editor
// uses, and the clamp that keeps a typed value within its limits.

#include <string_view>

namespace kes {

// The value of a typed text: its longest leading part of the form
// [-]digits[.digits] ("5-" gives 5, "-.5" gives -0.5, "5." gives 5), 0 when
// there is none. Leading blanks are skipped only when skipBlanks is set.
// Held within the float range; never NaN, never negative zero.
float ParseTypedValue(std::string_view text, bool skipBlanks = false);

// v held within the float range; NaN becomes 0.
float ToFloat(double v);

// v kept within [lo, hi] and the float range; NaN becomes lo.
float ClampValue(double v, double lo, double hi);

} // namespace kes
