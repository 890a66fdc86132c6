// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/dyn_vars.h"

#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/format.h"

#include <string>
#include <utility>

namespace kes {

namespace {

std::string Truncated(std::string_view name) {
    return std::string(name.substr(0, MaxNameLength));
}

// Adds the pending change to the dimension that slot n holds. The slot
// follows the dimension, which an undo or a dialog may have changed since.
void ApplySlot(Model& m, int n) {
    DynVarSlot& slot = m.DynVarSlots[static_cast<size_t>(n)];
    if (!IsDimensionId(slot.Id)) return;
    const float before = GetDimension(m, slot.Id);
    slot.Value = before + m.DynVarDelta;
    SetDimension(m, slot.Id, slot.Value);
    if (GetDimension(m, slot.Id) != before) BumpDesignRevision(m);
}

} // namespace

void SelectDynVar(Model& m) {
    auto& s = m.DynVarSlots;
    for (int k = 1; k <= 4; ++k) {
        if (s[0].Id == s[static_cast<size_t>(k)].Id) {
            s[static_cast<size_t>(k)].Value = s[0].Value;
            s[static_cast<size_t>(k)].Name = Truncated(s[0].Name);
            return;
        }
    }
    for (int k = 4; k >= 1; --k) {
        s[static_cast<size_t>(k)] = s[static_cast<size_t>(k - 1)];
        s[static_cast<size_t>(k)].Name = Truncated(s[static_cast<size_t>(k)].Name);
    }
}

void SelectDimension(Model& m, int id) {
    if (!IsDimensionId(id)) return;
    m.DynVarSlots[0] = DynVarSlot{id, GetDimension(m, id), std::string(DimensionName(id))};
    SelectDynVar(m);
}

void ClearDynVarSlots(Model& m) {
    m.DynVarSlots.fill(DynVarSlot{});
}

void StepDynVar(Model& m, int n, float d) {
    if (n < 1 || n > 4) return;
    m.CurrentDynVar = n;
    m.DynVarDelta = d;
    ApplySlot(m, n);
    m.DynVarDelta = 0.0f;
}

void RememberBefore(Model& m, int n) {
    if (n < 1 || n > 4) return;
    const DynVarSlot& slot = m.DynVarSlots[static_cast<size_t>(n)];
    m.DynVarBefore = IsDimensionId(slot.Id) ? GetDimension(m, slot.Id) : slot.Value;
}

void ReapplyAllDynVars(Model& m) {
    m.DynVarDelta = 0.0f;
    for (int n = 1; n <= 4; ++n)
        ApplySlot(m, n);
}

void PushUndo(Model& m, int id, float before) {
    auto& r = m.UndoRecord;
    auto& d = m.UndoDetails;
    for (size_t i = UndoEntryCount - 1; i > 1; --i) {
        r[i] = std::move(r[i - 1]);
        d[i] = std::move(d[i - 1]);
    }
    r[1] = UndoEntry{id, before, before, {}};
    d[1] = UndoStepDetail{};
    // A new edit: what was undone cannot be redone any more.
    m.RedoRecord.clear();
    if (m.UndoCount < UndoEntryCount - 1) ++m.UndoCount;
    m.UndoButtonsEnabled = true;
}

void CompleteUndo(Model& m, float after, std::string_view name) {
    m.UndoRecord[1].After = after;
    m.UndoRecord[1].Name = Truncated(name);
}

bool PushUndoForSlot(Model& m, int n) {
    if (n < 1 || n > 4) return false;
    const DynVarSlot& slot = m.DynVarSlots[static_cast<size_t>(n)];
    if (!IsDimensionId(slot.Id)) return false;
    const float after = GetDimension(m, slot.Id);
    // A scroll that ends where it started changes nothing worth undoing.
    if (after == m.DynVarBefore) return false;
    PushUndo(m, slot.Id, m.DynVarBefore);
    CompleteUndo(m, after, slot.Name);
    return true;
}

void ClearUndo(Model& m) {
    m.UndoRecord.fill(UndoEntry{});
    m.UndoDetails.fill(UndoStepDetail{});
    m.RedoRecord.clear();
    m.UndoCount = 0;
    m.UndoButtonsEnabled = false;
}

std::string UndoStepTitle(const Model& m) {
    const UndoEntry& e = m.UndoRecord[1];
    const int n = NewestStepDimensionCount(m);
    if (n > 1) return e.Name + " (" + std::to_string(n) + " dimensions)";
    return e.Name;
}

std::string MainUndoMessage(const Model& m) {
    const UndoEntry& e = m.UndoRecord[1];
    // A step of several dimensions or of the whole design has no one value.
    if (NewestStepDimensionCount(m) != 1)
        return FormatInt(m.UndoCount, 2) + "- " + UndoStepTitle(m);
    return FormatInt(m.UndoCount, 2) + "- " + e.Name + " " + FormatFixed(e.Before, 6, 3) + " to " +
           FormatFixed(e.After, 6, 3);
}

} // namespace kes
