// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One frame of the main window's picture: the steam display, the wheel,
// the pins, the cylinder and valve, the fixed pivots, the links in their
// colours, the user's lines and circles, the screen texts and the dimension
// highlight. Everything paints through the given QPainter, so a frame
// renders the same into the window's off-screen image, a test's QImage or
// an exported file.

#include "picture/draw_state.h"

#include <QImage>

class QPainter;

namespace kes {
struct Model;
}

// A fresh, white 1280 x 1024 off-screen image at 96 dots per inch.
QImage NewFrameImage();
// Clears an image of that size for the next frame without reallocating it.
void ClearFrameImage(QImage& image);
// The same for the image the last frame of s was drawn into and left as it
// was: only where that frame drew is cleared, the rest is white already.
// Any other image is cleared whole.
void ClearFrameImage(QImage& image, const DrawState& s);

// Draws one frame. The outlines in s must be up to date for the current
// points and view. Updates the state kept between frames; what the model
// and the window must change afterwards (the error flag, the cut-off texts,
// the view in highlight mode, sounds, dialogs) goes into out.
void DrawMechanism(QPainter& painter, const kes::Model& m, DrawState& s, FrameOutcome& out);
// The model's side of a frame's outcome.
void ApplyFrameOutcome(kes::Model& m, const FrameOutcome& out);
