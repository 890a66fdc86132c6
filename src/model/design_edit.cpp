// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/design_edit.h"

#include "model/design_changes.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/mid_gear.h"

#include <string>
#include <utility>

namespace kes {

namespace {

MidGearState MidGearOf(const Mechanism& m) {
    return {m.RevArmPositions, m.RevArmPositionCount, m.RevArmSetting, m.Points[RevArmTop].X,
            m.GearDirection};
}

void RestoreMidGear(Mechanism& m, const MidGearState& s) {
    m.RevArmPositions = s.RevArmPositions;
    m.RevArmPositionCount = s.RevArmPositionCount;
    m.RevArmSetting = s.RevArmSetting;
    m.Points[RevArmTop].X = s.RevArmTopX;
    m.GearDirection = s.GearDirection;
}

// The whole stored design, views included, and the reverse arm.
void RestoreDesign(Model& m, const Mechanism& s) {
    static_cast<Design&>(m) = s;
    m.Points = s.Points;
    m.RevArmSetting = s.RevArmSetting;
    m.GearDirection = s.GearDirection;
    SetRevArmBarRange(m);
}

// The dynamic variable that holds a dimension follows it.
void FollowInSlots(Model& m, int id) {
    for (size_t k = 1; k < m.DynVarSlots.size(); ++k) {
        if (m.DynVarSlots[k].Id == id) m.DynVarSlots[k].Value = GetDimension(m, id);
    }
}

void Perform(Model& m, const UndoEntry& shown, const UndoStepDetail& d, bool forward) {
    if (const auto& whole = forward ? d.DesignAfter : d.DesignBefore) {
        RestoreDesign(m, *whole);
    } else if (d.Changes.empty()) {
        SetDimension(m, shown.Id, forward ? shown.After : shown.Before);
        FollowInSlots(m, shown.Id);
    } else {
        // Backwards in reverse order, so a dimension set twice ends as it began.
        const size_t n = d.Changes.size();
        for (size_t i = 0; i < n; ++i) {
            const DimensionChange& c = d.Changes[forward ? i : n - 1 - i];
            SetDimension(m, c.Id, forward ? c.After : c.Before);
            FollowInSlots(m, c.Id);
        }
    }
    if (const auto& mid = forward ? d.MidGearAfter : d.MidGearBefore) RestoreMidGear(m, *mid);
    m.CutOffFrontText.clear();
    m.CutOffRearText.clear();
    BumpDesignRevision(m);
}

// Entry 1 := the step; the older entries move down by one.
void PushStep(Model& m, UndoEntry shown, UndoStepDetail detail) {
    PushUndo(m, shown.Id, shown.Before);
    CompleteUndo(m, shown.After, shown.Name);
    m.UndoDetails[1] = std::move(detail);
}

bool HasStep(const Model& m) {
    return m.UndoRecord[1].Id > 0 || m.UndoDetails[1].DesignBefore != nullptr;
}

} // namespace

void ApplyDesignEdit(Model& m, std::span<const DesignEdit> edits, std::string_view label) {
    const MidGearState midBefore = MidGearOf(m);
    UndoStepDetail detail;
    for (const DesignEdit& e : edits) {
        if (!IsDimensionId(e.Id)) continue;
        const float before = GetDimension(m, e.Id);
        SetDimension(m, e.Id, e.Value);
        const float after = GetDimension(m, e.Id);
        FollowInSlots(m, e.Id);
        if (after != before) detail.Changes.push_back({e.Id, before, after});
    }
    if (detail.Changes.empty()) return;
    // The after-edit sequence, once for the whole step.
    FindMidGear(m);
    m.CutOffFrontText.clear();
    m.CutOffRearText.clear();
    detail.MidGearBefore = midBefore;
    detail.MidGearAfter = MidGearOf(m);
    const DimensionChange& first = detail.Changes.front();
    UndoEntry shown{first.Id, first.Before, first.After, std::string(label)};
    if (detail.Changes.size() == 1) detail.Changes.clear();
    PushStep(m, std::move(shown), std::move(detail));
    BumpDesignRevision(m);
}

void RecordDimensionEdit(Model& m, int id, float before, float after) {
    PushStep(m, UndoEntry{id, before, after, std::string(DimensionName(id))}, {});
}

bool ReplaceDesign(Model& m, std::string_view label,
                   const std::function<bool(Mechanism&)>& change) {
    auto before = std::make_shared<const Mechanism>(m);
    if (!change(m)) return false;
    UndoStepDetail detail;
    detail.DesignBefore = std::move(before);
    detail.DesignAfter = std::make_shared<const Mechanism>(m);
    PushStep(m, UndoEntry{0, 0.0f, 0.0f, std::string(label)}, std::move(detail));
    BumpDesignRevision(m);
    return true;
}

std::uint64_t DesignRevision(const Model& m) {
    return m.DesignRevision;
}

void BumpDesignRevision(Model& m) {
    ++m.DesignRevision;
    m.Listeners.Notify();
}

bool RefindMidGear(Model& m) {
    const auto positions = m.RevArmPositions;
    const int count = m.RevArmPositionCount;
    const bool found = FindMidGear(m);
    if (m.RevArmPositions != positions || m.RevArmPositionCount != count) BumpDesignRevision(m);
    return found;
}

bool UndoStep(Model& m) {
    if (!HasStep(m)) {
        m.UndoButtonsEnabled = false;
        return false;
    }
    RedoEntry undone{m.UndoRecord[1], std::move(m.UndoDetails[1])};
    Perform(m, undone.Shown, undone.Detail, false);
    auto& r = m.UndoRecord;
    auto& d = m.UndoDetails;
    for (size_t i = 1; i + 1 < UndoEntryCount; ++i) {
        r[i] = std::move(r[i + 1]);
        d[i] = std::move(d[i + 1]);
    }
    r[UndoEntryCount - 1] = UndoEntry{};
    d[UndoEntryCount - 1] = UndoStepDetail{};
    if (m.UndoCount > 0) --m.UndoCount;
    m.RedoRecord.push_back(std::move(undone));
    return true;
}

bool CanRedo(const Model& m) {
    return !m.RedoRecord.empty();
}

bool RedoStep(Model& m) {
    if (m.RedoRecord.empty()) return false;
    RedoEntry step = std::move(m.RedoRecord.back());
    m.RedoRecord.pop_back();
    Perform(m, step.Shown, step.Detail, true);
    // Back on the undo record without forgetting the other redo steps.
    std::vector<RedoEntry> later = std::move(m.RedoRecord);
    PushStep(m, std::move(step.Shown), std::move(step.Detail));
    m.RedoRecord = std::move(later);
    return true;
}

int NewestStepDimensionCount(const Model& m) {
    const UndoStepDetail& d = m.UndoDetails[1];
    if (d.DesignBefore) return 0;
    return d.Changes.empty() ? (m.UndoRecord[1].Id > 0 ? 1 : 0)
                             : static_cast<int>(d.Changes.size());
}

} // namespace kes
