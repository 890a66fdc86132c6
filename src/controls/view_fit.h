// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Fit to Window": a view that frames the whole gear over a turn (every
// pivot at every crank angle, the driver wheel and the cylinder) in the
// picture, below the strip of read-outs when they are shown.

#include "controls/control_state.h"
#include "model/model.h"

#include <optional>

namespace kes {

struct WorldBox {
    double MinX = 0.0, MinY = 0.0, MaxX = 0.0, MaxY = 0.0;
};

// The picture's strip taken by the read-outs when screen data is on, and the
// free margin kept round the gear, in pixels.
constexpr int ReadOutStripHeight = 216;
constexpr int FitMarginPx = 12;

// Where the gear reaches over a turn at the current setting, in world units;
// nullopt when nothing of it can be solved.
std::optional<WorldBox> GearExtent(const Model& m);
// The pixels of a width x height picture that the gear may take.
WorldBox FreePicture(const Model& m, int width, int height);
// The view that shows box whole and centred in the free part of the picture.
View FitView(const WorldBox& box, const WorldBox& picture);
// True when the current view leaves part of the gear outside the picture.
bool ViewCutsOffGear(const Model& m, int width, int height);
// Frames the gear; false (and nothing changed) when it cannot be solved.
bool FitToWindowClick(Model& m, ControlState& cs, int width, int height);

} // namespace kes
