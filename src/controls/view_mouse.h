// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse on the picture: the wheel zooms about the cursor and a drag
// with the middle button pans. Both act like the pan and zoom bars: the
// zoom anchor follows the view and "Norm" is enabled.

#include "controls/control_state.h"

namespace kes {

// One wheel notch zooms by this factor.
inline constexpr double WheelZoomPerNotch = 1.15;

// ViewScale times factor, held within its limits; the world point under the
// window pixel (x, y) stays where it is.
void ZoomAboutPixel(Model& m, ControlState& cs, double factor, double x, double y);
// The wheel turned by notches (positive: away from the user, zoom in).
void WheelZoom(Model& m, ControlState& cs, double notches, double x, double y);
// The picture moves with the mouse by (dx, dy) pixels.
void PanByPixels(Model& m, ControlState& cs, double dx, double dy);

} // namespace kes
