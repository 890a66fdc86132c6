// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scaling a whole design by one factor, for a larger or smaller engine or a
// change of unit (inches to millimetres is 25.4). Standard library only.

#include "model/model.h"

#include <string_view>

namespace kes {

inline constexpr double InchesToMillimetres = 25.4;

// Every length is multiplied by factor: the frame, Baker and cylinder
// dimensions, the reverse-arm travel, every point (the pivots, the cylinder
// height, the reference points), the reverse-arm setting and positions,
// the graphic zoom (a gauge in the design's unit) and the coordinates of
// the lines and circles (the -1 of an unused item stays). Angles, counts
// and VerticalScale are kept; the scales of the views and presets are
// divided by factor, so the picture keeps its size. Each value is computed
// in double from the value held and rounded once, so scaling by f and then
// by 1/f gives every value back to within one unit in the last place. Mid
// gear is then found again. Returns false, changing nothing, when factor is
// not a finite positive number or a scaled value would not be finite.
bool ScaleDesign(Mechanism& m, double factor);

// The name of its undo step.
inline constexpr std::string_view ScaleStepName = "Scale Design";

// ScaleDesign for the windows as one undo step (model/design_edit.h): also
// clears the dynamic variables and sets the reverse-arm bar range.
bool ScaleModel(Model& m, double factor);

} // namespace kes
