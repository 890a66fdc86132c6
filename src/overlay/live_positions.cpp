// SPDX-License-Identifier: GPL-3.0-or-later
#include "overlay/live_positions.h"

#include "model/model.h"

#include <algorithm>

namespace overlay {

namespace {
constexpr size_t MaxPositions = 9;
}

std::vector<float> DefaultLiveOffsets(const kes::Mechanism& m) {
    return {0.0f, m.Frame.RevArmNorm, -m.Frame.RevArmNorm};
}

std::vector<float> TableOffsets(const kes::Mechanism& m) {
    std::vector<float> offsets;
    const int count = std::clamp(m.RevArmPositionCount, 0, static_cast<int>(MaxPositions));
    for (int n = 1; n <= count; ++n)
        offsets.push_back(m.RevArmPositions[static_cast<size_t>(n)] - m.MidGear());
    return offsets;
}

void ApplyOffsets(kes::Mechanism& m, std::span<const float> offsets) {
    const size_t count = std::min(offsets.size(), MaxPositions);
    for (size_t n = 1; n <= MaxPositions; ++n)
        m.RevArmPositions[n] = n <= count ? m.MidGear() + offsets[n - 1] : 0.0f;
    m.RevArmPositionCount = static_cast<int>(count);
}

} // namespace overlay
