// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_positions.h"

#include "cli/cli_args.h"
#include "model/model.h"

#include <array>
#include <sstream>

namespace cli {

namespace {

constexpr int MaxPositions = 9; // RevArmPositions[1..9]

void SetListedPositions(kes::Model& m, const std::string& list) {
    std::array<float, MaxPositions> values{};
    int count = 0;
    std::stringstream words(list);
    std::string word;
    while (std::getline(words, word, ',')) {
        const double value = RequireReal(word, "in --positions");
        if (count == MaxPositions) throw UsageError("--positions takes at most 9 values");
        values[static_cast<size_t>(count++)] = NarrowReal(value, "--positions");
    }
    if (count == 0) throw UsageError("--positions needs at least one value");
    for (int i = 1; i <= MaxPositions; ++i)
        m.RevArmPositions[static_cast<size_t>(i)] =
            i <= count ? values[static_cast<size_t>(i - 1)] : 0.0f;
    m.RevArmPositionCount = count;
}

void SetDefaultPositions(kes::Model& m) {
    const float mid = m.MidGear();
    const float norm = m.Frame.RevArmNorm;
    m.RevArmPositions[1] = mid;
    m.RevArmPositions[2] = mid + norm;
    m.RevArmPositions[3] = mid - norm;
    m.RevArmPositionCount = 3;
}

} // namespace

void SetPositions(kes::Model& m, const std::optional<std::string>& list) {
    if (list) {
        SetListedPositions(m, *list);
    } else {
        SetDefaultPositions(m);
    }
}

} // namespace cli
