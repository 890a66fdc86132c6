// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Mid gear: the reverse-arm setting at which the eccentric gives the valve no
// travel, and the table of reverse-arm positions measured from it.

#include "model/model.h"

namespace kes {

// Finds mid gear and sets RevArmPositions[0..3], Point 1 X and RevArmSetting.
// Returns false (and changes nothing) when the search cannot converge for
// these dimensions.
bool FindMidGear(Mechanism& m);

// RevArmPositionCount follows the highest non-zero slot of 1..9.
void UpdateRevArmPositionCount(Mechanism& m);

} // namespace kes
