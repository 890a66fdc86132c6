// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a point-table slot lies in the world. The bell-crank and reverse-arm
// pivots (6, 11) and their copies (17, 18) are held relative to the gear
// mount; every picker and panel shows them as absolute positions, as the
// solver's slots 22 and 23 hold them.

#include "model/model.h"

namespace kes {

struct WorldPosition {
    double X = 0.0, Y = 0.0;
};

// Slots that hold offsets from GearMount, not positions: never picked.
constexpr bool HoldsMountOffset(int index) {
    return index == BellCrankPivot || index == RevArmPivot || index == RevArmPivotCopy ||
           index == BellCrankPivotCopy;
}

// The world position of slot index; (0, 0) outside the table.
inline WorldPosition AbsolutePosition(const Mechanism& m, int index) {
    if (index < 0 || index >= PointCount) return {};
    const PointSlot& mount = m.Points[GearMount];
    const PointSlot& p = m.Points[static_cast<size_t>(index)];
    switch (index) {
    case BellCrankPivot:
    case BellCrankPivotCopy:
        return {double{mount.X} - p.X, double{mount.Y} + p.Y};
    case RevArmPivot:
    case RevArmPivotCopy:
        return {double{mount.X} - p.X, double{mount.Y} - p.Y};
    default:
        return {p.X, p.Y};
    }
}

} // namespace kes
