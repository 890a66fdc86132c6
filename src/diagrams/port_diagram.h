// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The port events diagram: for reverse-arm settings from mid gear to the
// maximum, where in the stroke each port opens and closes to steam and to
// exhaust. The sweep is the analysis library's; this paints its table.

#include <QColor>
#include <QSize>

class QPainter;
struct DiagramTextState;

namespace kes {
struct Model;
}

namespace diagrams {

inline constexpr QSize PortClientSize{632, 414};

// The colours of the event lines and the legend in each mode.
struct PortColours {
    QColor Front;
    QColor Rear;
};
PortColours PortModeColours(char mode);

// Screen x of a travel on the front scale and, mirrored, on the rear scale.
int FrontTravelX(double travel);
int RearTravelX(double travel);
// Height of row i.
int PortRowY(int row);
// The step of the reverse-arm axis' labels: the least of 1, 2 or 5 x 10^n
// that keeps them minGapPixels apart when range is drawn over pixels.
double RoundAxisStep(double range, double pixels, double minGapPixels);

// One drawing for mode 'F' or 'R', over what the painter holds; the
// annotation of the front port's cycle is drawn when annotate is set. Mode
// 'B' draws the forward graph (annotated as asked) and then the reverse one
// over it without annotation, as the window's both-graphs sequence does
// (without the clearing in between, which is the caller's).
void PaintPortDiagram(QPainter& p, kes::Model& m, char mode, bool annotate, DiagramTextState& text);
// The picture for PortGraphMode as the window shows it: one annotated graph
// for 'F' or 'R', both graphs for 'B'.
void PaintPortDiagramForMode(QPainter& p, kes::Model& m, DiagramTextState& text);

} // namespace diagrams
