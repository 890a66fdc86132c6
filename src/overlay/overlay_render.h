// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A diagram with a second design drawn under the current one: the same
// painters, the second design's lines in grey dashes first, then the
// current design as the plain picture has it, and a legend strip below
// naming both. The live diagrams and "kestrove-cli diagram --compare" draw
// through here.

#include <QImage>
#include <QSize>
#include <QString>

class QPainter;
struct DiagramTextState;

namespace kes {
struct Model;
}

namespace diagrams {
struct DiagramKind;
}

namespace overlay {

// The legend strip's height, below the picture.
inline constexpr int LegendHeight = 18;

struct Names {
    QString Current;
    QString Second;
};

// Paints the picture at its own size over what the painter holds: the
// second design (when not null) in grey dashes, then the current one. Both
// models are driven through their samples and put back.
void PaintCompared(QPainter& p, const diagrams::DiagramKind& kind, kes::Model& current,
                   kes::Model* second, DiagramTextState& text);
// The legend: a solid black sample and the current design's name, a grey
// dashed sample and the second design's, in a strip of the picture's width
// whose top is at top.
void PaintLegend(QPainter& p, int width, int top, const Names& names);

// The picture on white; with a second design, the legend strip below it.
QSize ComparedSize(const diagrams::DiagramKind& kind, bool withSecond);
QImage RenderCompared(const diagrams::DiagramKind& kind, kes::Model& current, kes::Model* second,
                      const Names& names, DiagramTextState& text);
// PaintCompared and, with a second design, the legend below: the whole of
// what RenderCompared shows, on a white page of ComparedSize.
void PaintComparedPicture(QPainter& p, const diagrams::DiagramKind& kind, kes::Model& current,
                          kes::Model* second, const Names& names, DiagramTextState& text);

} // namespace overlay
