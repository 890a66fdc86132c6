// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One tick of the animation, the heart of the main window: solve, map the
// points to the screen, rebuild the outlines, advance the driver and draw
// the frame into the off-screen image.

#include "picture/draw_state.h"

class QImage;

namespace kes {
struct Model;
}

// Screen positions of the mechanism points in the current view. The two
// pivots stored relative to the gear mounting get their absolute positions;
// the solver's absolute pivots (22, 23) are mapped too, so a pivot picked
// there is marked where it stands.
void MapPointsToScreen(kes::Model& m);

// DriverAngle moves by StepAngle in the gear's direction and is wrapped
// into 0..360.1 (360 itself stays).
void AdvanceDriver(kes::Model& m);

// Steps 1 to 7: solve, map, outlines, advance.
void PrepareFrame(kes::Model& m, DrawState& s);
// Step 8: clears image, draws the frame and applies its outcome to the model.
void DrawFrame(kes::Model& m, DrawState& s, QImage& image, FrameOutcome& out);

// The eight steps of a tick. image must be a frame image (NewFrameImage);
// it is cleared and drawn. The positions drawn are those of the angle
// before the advance.
void RunTick(kes::Model& m, DrawState& s, QImage& image, FrameOutcome& out);
