// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sine diagram: the valve's travel against the driver angle for every
// reverse-arm position in use, with the port-edge levels and, at mid gear,
// the lead, lap and exhaust-clearance read-outs.

#include "diagrams/diagram_paint.h"

#include <QSize>

class QPainter;

namespace kes {
struct Model;
}

namespace diagrams {

inline constexpr QSize SineClientSize{632, 414};

// Paints the whole sine diagram over what the painter's device holds. Drives
// RevArmSetting and DriverAngle through the samples and restores both.
void PaintSineDiagram(QPainter& p, kes::Model& m, DiagramTextState& text);

} // namespace diagrams
