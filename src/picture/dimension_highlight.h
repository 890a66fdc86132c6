// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dimension highlight: while a dimension dialog shows where a dimension
// lies, the picture zooms to it, draws it as a blinking thick line with its
// name and an hourglass, and after a while returns to the dialog.

#include "picture/draw_constants.h"
#include "picture/draw_state.h"

#include <QLine>

#include <optional>

class Canvas;

namespace kes {
struct Model;
struct View;
} // namespace kes

// The view and name of a dimension id, or nullptr for an id without one.
const drawk::HighlightView* FindHighlightView(int id);

// The segment that shows dimension id, in the current view and with the
// point table and outlines as they are. nullopt for an unknown id.
std::optional<QLine> HighlightSegment(const kes::Model& m, const CylinderOutlines& o, int id);
// The same with the world mapped through view (the pins keep their pixels).
std::optional<QLine> HighlightSegment(const kes::Model& m, const kes::View& view,
                                      const CylinderOutlines& o, int id);

// One frame of highlight mode (m.HighlightedDimension > 0). The view it
// zooms to, the view it returns to and its end come back in out.
void DrawDimensionHighlight(Canvas& canvas, const kes::Model& m, DrawState& s, FrameOutcome& out);
