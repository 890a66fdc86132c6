// SPDX-License-Identifier: GPL-3.0-or-later
#include "balance/design_apply.h"

#include "model/design_edit.h"

#include <vector>

namespace balance_apply {

bool ApplyDesignChanges(kes::Model& m, std::span<const kes::BalanceChange> changes,
                        std::string_view label) {
    std::vector<kes::DesignEdit> edits;
    edits.reserve(changes.size());
    for (const kes::BalanceChange& c : changes) edits.push_back({c.Id, c.After});
    const std::uint64_t revision = kes::DesignRevision(m);
    kes::ApplyDesignEdit(m, edits, label);
    return kes::DesignRevision(m) != revision;
}

} // namespace balance_apply
