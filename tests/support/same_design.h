// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Two designs the same bit for bit: the dimensions, the pivots and the
// cylinder height in the point table, the reverse-arm positions, the
// vertical scale and the lines and circles. Floats are compared by their
// bits, so -0 and 0 differ and a NaN equals only itself.

#include "model/model.h"

#include <cstring>

namespace test_support {

template <class T> bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

inline bool SameDesign(const kes::Mechanism& a, const kes::Mechanism& b) {
    for (int p : {kes::GearMount, kes::RevArmPivot, kes::BellCrankPivot}) {
        const auto& pa = a.Points[static_cast<size_t>(p)];
        const auto& pb = b.Points[static_cast<size_t>(p)];
        if (!SameBits(pa.X, pb.X) || !SameBits(pa.Y, pb.Y)) return false;
    }
    return SameBits(a.Frame, b.Frame) && SameBits(a.Baker, b.Baker) &&
           SameBits(a.Cylinder, b.Cylinder) &&
           SameBits(a.Points[kes::Crosshead].Y, b.Points[kes::Crosshead].Y) &&
           SameBits(a.RevArmPositions, b.RevArmPositions) &&
           a.RevArmPositionCount == b.RevArmPositionCount &&
           SameBits(a.VerticalScale, b.VerticalScale) && SameBits(a.LineTable, b.LineTable);
}

} // namespace test_support
