// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --positions P1,P2,...: the reverse-arm positions the diagram and cutoffs
// commands draw with.

#include <optional>
#include <string>

namespace kes {
struct Model;
}

namespace cli {

// "P1,P2,..." (one to nine numbers) into RevArmPositions[1..n], the rest of
// the slots cleared; a bad list is a UsageError. Without a list, the three
// positions the mid-gear search sets: mid gear and mid gear plus and minus
// RevArmNorm.
void SetPositions(kes::Model& m, const std::optional<std::string>& list);

} // namespace cli
