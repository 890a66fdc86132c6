// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one path by which the design is edited. Each user action is one undo
// step, however many dimensions it sets; every edit adds one to the design
// revision, which the windows compare to see that the design changed; an
// undone step can be redone until the next new edit.

#include "model/model.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace kes {

// A dimension id as in model/dimensions.h (1..28, 101..122) and its new value.
struct DesignEdit {
    int Id;
    float Value;
};

// Sets the dimensions and, when any of them changed, records one undo step
// named label, finds mid gear again, clears the cut-off texts and bumps the
// revision; the redo record is cleared.
void ApplyDesignEdit(Model& m, std::span<const DesignEdit> edits, std::string_view label);

// A dimension already stored by its editor (a typed field, a dynamic-variable
// bar) as one undo step, with the name of the dimension; the redo record is
// cleared. The editor has bumped the revision when it stored the value.
void RecordDimensionEdit(Model& m, int id, float before, float after);

// A step that replaces the whole design: change edits m and returns false
// when it changed nothing (then no step is recorded). Undo restores the
// design, views included, as it was before.
bool ReplaceDesign(Model& m, std::string_view label, const std::function<bool(Mechanism&)>& change);

// Counts every edit of the design: dimensions, pivots, a file opened, a
// reset, an undo or a redo. Nothing else (a tick, the view, a window) moves it.
std::uint64_t DesignRevision(const Model& m);
// A new revision: the model's listeners are told, and the fingerprint by
// which the main window catches edits made without this call is taken
// afresh, so that it does not count the same edit again.
void BumpDesignRevision(Model& m);

// Finds mid gear again after edits that did not (a dimension dialog closed,
// "&CalcCentRevArm"). The reverse-arm positions it writes are part of the
// design: the revision moves when they changed. Returns whether mid gear
// was found.
bool RefindMidGear(Model& m);

bool CanRedo(const Model& m);
// Redoes the step undone last. False when there is none.
bool RedoStep(Model& m);

// How many dimensions the newest undo step changed (1 for a plain entry, 0
// for a whole-design step).
int NewestStepDimensionCount(const Model& m);

} // namespace kes
