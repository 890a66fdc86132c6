#include "balance/design_apply.h"

#include "model/design_changes.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/mid_gear.h"

namespace balance_apply {

bool ApplyDesignChanges(kes::Model& m, std::span<const kes::BalanceChange> changes,
                        std::string_view label) {
    static_cast<void>(label); // one grouped step will carry it
    bool any = false;
    for (const kes::BalanceChange& c : changes) {
        if (c.After == kes::GetDimension(m, c.Id)) continue;
        kes::PushUndo(m, c.Id, kes::GetDimension(m, c.Id));
        kes::SetDimension(m, c.Id, c.After);
        kes::CompleteUndo(m, kes::GetDimension(m, c.Id), kes::DimensionName(c.Id));
        any = true;
    }
    if (!any) return false;
    kes::FindMidGear(m);
    kes::MarkDesignModified(m);
    return true;
}

} // namespace balance_apply
