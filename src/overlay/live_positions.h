// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reverse-arm positions of a live diagram, as offsets from mid gear, so
// one list serves two designs whose mid gears differ (before and after
// balancing). Standard library only.

#include <span>
#include <vector>

namespace kes {
struct Mechanism;
}

namespace overlay {

// Mid gear and normal full gear both ways: 0, +RevArmNorm, -RevArmNorm.
std::vector<float> DefaultLiveOffsets(const kes::Mechanism& m);
// The offsets of positions 1 .. RevArmPositionCount of the design's table.
std::vector<float> TableOffsets(const kes::Mechanism& m);
// Positions 1 .. n of the table become MidGear + offset (at most nine).
void ApplyOffsets(kes::Mechanism& m, std::span<const float> offsets);

} // namespace overlay
