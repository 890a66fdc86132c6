// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The oval diagram: the valve's travel against the piston's position over one
// driver turn for every reverse-arm position in use; each position closes a
// loop across the six port-edge levels.

#include "diagrams/diagram_paint.h"

#include <QSize>

class QPainter;

namespace kes {
struct Model;
}

namespace diagrams {

inline constexpr QSize OvalClientSize{632, 426};

// Paints the whole oval diagram over what the painter's device holds. Drives
// RevArmSetting and DriverAngle through the samples and restores both.
void PaintOvalDiagram(QPainter& p, kes::Model& m, DiagramTextState& text);

// The piston-position coordinate of a driver angle (degrees): x 584 at the
// front dead centre, x 44 at the rear.
int OvalPistonX(kes::Model& m, double angle);

} // namespace diagrams
