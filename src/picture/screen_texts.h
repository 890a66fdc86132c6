// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the main picture while screen data is on: the undo line,
// the settings and port openings, the error indicator, pivot data, the
// point-selection prompts, cut-off, reference points and dynamic variables.

#include "picture/draw_state.h"

#include <QPoint>

class Canvas;

namespace kes {
struct Model;
}

// A text position multiplied by the text scale and rounded.
QPoint ScaledTextPos(const kes::Model& m, QPoint p);

void DrawScreenTexts(Canvas& canvas, const kes::Model& m, DrawState& s, FrameOutcome& out);
