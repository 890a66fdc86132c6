// SPDX-License-Identifier: GPL-3.0-or-later
#include "overlay/overlay_render.h"

#include "diagrams/diagram_paint.h"
#include "diagrams/diagram_render.h"
#include "overlay/second_design_device.h"

#include <QPainter>

namespace overlay {

namespace {

// The legend's layout: two samples with their names, left to right.
constexpr int LegendLeft = 8;
constexpr int SampleLength = 28;
constexpr int NameGap = 6;
constexpr int EntryGap = 24;
const QString CurrentPrefix = QStringLiteral("Current: ");
const QString SecondPrefix = QStringLiteral("Compared: ");

} // namespace

void PaintCompared(QPainter& p, const diagrams::DiagramKind& kind, kes::Model& current,
                   kes::Model* second, DiagramTextState& text) {
    if (second) {
        p.save();
        SecondDesignDevice device(p, kind.ClientSize);
        QPainter grey(&device);
        diagrams::BeginDiagram(grey);
        DiagramTextState secondText;
        kind.Paint(grey, *second, secondText);
        grey.end();
        p.restore();
    }
    kind.Paint(p, current, text);
}

void PaintLegend(QPainter& p, int width, int top, const Names& names) {
    p.save();
    p.fillRect(QRect(0, top, width, LegendHeight), diagrams::White);
    diagrams::BeginDiagram(p);
    const int lineY = top + LegendHeight / 2;
    const int textY = top + (LegendHeight - p.fontMetrics().height()) / 2;
    int x = LegendLeft;
    const auto entry = [&](const QPen& pen, const QString& name) {
        p.setPen(pen);
        p.drawLine(x, lineY, x + SampleLength, lineY);
        x += SampleLength + NameGap;
        diagrams::WriteText(p, x, textY, name);
        x += p.fontMetrics().horizontalAdvance(name) + EntryGap;
    };
    entry(QPen(diagrams::Black, 1), CurrentPrefix + names.Current);
    entry(QPen(SecondDesignGrey, 1, Qt::DashLine), SecondPrefix + names.Second);
    p.restore();
}

QSize ComparedSize(const diagrams::DiagramKind& kind, bool withSecond) {
    return withSecond ? kind.ClientSize + QSize(0, LegendHeight) : kind.ClientSize;
}

QImage RenderCompared(const diagrams::DiagramKind& kind, kes::Model& current, kes::Model* second,
                      const Names& names, DiagramTextState& text) {
    QImage image(ComparedSize(kind, second != nullptr), QImage::Format_RGB32);
    image.fill(diagrams::White);
    QPainter p(&image);
    diagrams::BeginDiagram(p);
    PaintComparedPicture(p, kind, current, second, names, text);
    return image;
}

void PaintComparedPicture(QPainter& p, const diagrams::DiagramKind& kind, kes::Model& current,
                          kes::Model* second, const Names& names, DiagramTextState& text) {
    PaintCompared(p, kind, current, second, text);
    if (second) PaintLegend(p, kind.ClientSize.width(), kind.ClientSize.height(), names);
}

} // namespace overlay
