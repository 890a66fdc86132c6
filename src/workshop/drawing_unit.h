// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one design unit is on paper and in a cutter's file: the design does
// not know, so the user says (inches by default).

#include <optional>
#include <string>
#include <string_view>

namespace workshop {

enum class Unit { Inch, Millimetre };

inline double MmPer(Unit u) {
    return u == Unit::Inch ? 25.4 : 1.0;
}
inline const char* UnitText(Unit u) {
    return u == Unit::Inch ? "in" : "mm";
}
// The decimals a dimension is written with unless the user chooses: 3 in
// inches, 1 in millimetres.
inline int DefaultDecimals(Unit u) {
    return u == Unit::Inch ? 3 : 1;
}
inline std::optional<Unit> ParseUnit(std::string_view t) {
    if (t == "in" || t == "inch") return Unit::Inch;
    if (t == "mm") return Unit::Millimetre;
    return std::nullopt;
}

} // namespace workshop
