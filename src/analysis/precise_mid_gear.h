// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Mid gear in double precision. The model's search stops at a step of a
// ten-thousandth, which jumps about as dimensions change; the sensitivities
// difference reports a thousandth apart and need a smooth mid gear.

#include "model/model.h"

#include <optional>

namespace kes {

// The same point as FindMidGear (seeded from it on a copy), polished with
// TOMS 748. Absent when the model's search finds none.
std::optional<double> PreciseMidGear(const Mechanism& m);

} // namespace kes
