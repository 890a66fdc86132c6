// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Mouse picking on the drawing: the reference points, the pivot pick of the
// lines-and-circles window and the pivot slots of the data table.

#include "controls/control_state.h"

namespace kes {

// ---- Mouse picking ----
enum class MouseButton { Left, Right, Other };
struct PickResult {
    // The click belongs to the lines-and-circles window's pivot pick (left
    // button, or the right button after a left one for a two-pivot item).
    bool LinesPick = false;
    bool LinesPickRight = false;
    // The pick is complete: the lines-and-circles window is shown again.
    bool OpenLinesWindow = false;
    bool RefPointMoved = false;
    bool PivotPicked = false;
    bool PivotArmed = false;
};
// True where a click counts as a click on the drawing.
bool InDrawingArea(int x, int y);
// The slot of 1..23 (not 19, 20) nearest to RefPoint1, by |dY| + |dX|; the
// lowest index wins a tie.
int NearestPoint(const Model& m);
PickResult MousePick(Model& m, ControlState& cs, int x, int y, MouseButton button);

} // namespace kes
