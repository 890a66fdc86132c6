// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four dynamic variables (the dimensions most recently edited) and the
// undo record that every typed edit and finished scroll adds to.

#include "model/model.h"

namespace kes {

// A dimension edit has stored its value and put id, value and name into
// slot 0: move it to the front of the four dynamic variables.
void SelectDynVar(Model& m);
// Convenience for editors: fill slot 0 from a dimension id and select it.
void SelectDimension(Model& m, int id);
void ClearDynVarSlots(Model& m);
// Scroll bar n (1..4) asks for a change of d length units.
void StepDynVar(Model& m, int n, float d);
// Scroll bar n entered: remember the slot's value as the value before.
void RememberBefore(Model& m, int n);
// Re-apply slots 1..4 with a zero change (the dialogs' resets).
void ReapplyAllDynVars(Model& m);

// Undo. PushUndo opens entry 1 with the value before; CompleteUndo fills in
// the value after and the name.
void PushUndo(Model& m, int id, float before);
void CompleteUndo(Model& m, float after, std::string_view name);
// End of a scroll of bar n: one complete entry from the remembered value,
// unless the value is as it was. True when an entry was recorded.
bool PushUndoForSlot(Model& m, int n);
// One undo step, however many dimensions it holds (model/design_edit.cpp);
// it can be redone. Returns false (and disables the buttons) when the record
// is empty.
bool UndoStep(Model& m);
void ClearUndo(Model& m);
// The newest step's name, with its count when it set several dimensions:
// "Balance Events (4 dimensions)".
std::string UndoStepTitle(const Model& m);
// The undo line: "nn- name before to after" as the main window prints it;
// "nn- title" for a step of several dimensions or of the whole design.
std::string MainUndoMessage(const Model& m);

} // namespace kes
