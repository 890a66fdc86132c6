// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the design differs from the file it was last saved to or opened
// from. Every change counts: the windows that edit the design call
// MarkDesignModified; the main window also calls NoteDesignChanges once per
// tick, which compares a fingerprint of what a dimension file stores (less
// the view, the reverse-arm setting and the current line item) with the one
// it last saw, so an edit made by any window is caught even without a call.
// Standard library only.

#include "model/model.h"

#include <cstdint>

namespace kes {

// Counts one change of the design (a dimension, a pivot, a reverse-arm
// position, the vertical scale, a line or circle).
void MarkDesignModified(ScreenState& s);
// The design now equals its file (saved, opened) or is a fresh factory design.
void MarkDesignSaved(Model& m);
// Marks the design modified when its fingerprint changed since the last
// call (the first call, before any MarkDesignSaved, only takes it).
// Returns IsDesignModified afterwards.
bool NoteDesignChanges(Model& m);
bool IsDesignModified(const ScreenState& s);

// A hash of the stored design: dimensions, pivots, reverse-arm positions
// 1..9 and their count, the vertical scale and the twenty lines and circles.
uint64_t DesignFingerprint(const Mechanism& m);

} // namespace kes
