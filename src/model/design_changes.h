// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the design differs from the file it was last saved to or opened
// from: every edit moves the design revision (model/design_edit.h), and the
// design is modified while the revision is not the one last saved or opened.
// Standard library only.

#include "model/model.h"

namespace kes {

// Counts one change of the design (a dimension, a pivot, a reverse-arm
// position, the vertical scale, a line or circle).
void MarkDesignModified(ScreenState& s);
// The design now equals its file (saved, opened) or is a fresh factory design.
void MarkDesignSaved(Model& m);
bool IsDesignModified(const ScreenState& s);

} // namespace kes
