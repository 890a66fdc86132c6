// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one road by which Apply (balancing, targets) writes the design: for
// now one undo entry per changed dimension, as a typed edit makes, then
// mid gear found again and the design marked modified. label names the
// whole step, for an undo that groups it.

#include "analysis/balance.h"
#include "model/model.h"

#include <span>
#include <string_view>

namespace balance_apply {

// Returns false when no dimension changed (nothing is recorded then).
bool ApplyDesignChanges(kes::Model& m, std::span<const kes::BalanceChange> changes,
                        std::string_view label);

} // namespace balance_apply
