// SPDX-License-Identifier: GPL-3.0-or-later
#include "workshop/dimension_lines.h"

#include "workshop/sheet_text.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>

namespace workshop {

namespace {

constexpr double ArrowMm = 2.2;
constexpr double ArrowHalfMm = 0.6;
constexpr double GapMm = 1.0;  // between a feature and its extension line
constexpr double OverMm = 1.5; // an extension line runs past the dimension line
constexpr double TextMm = 2.6;

void Extension(QPainter& p, QPointF feature, QPointF end) {
    QPointF d = end - feature;
    const double len = std::hypot(d.x(), d.y());
    if (len < 2 * GapMm) return;
    d /= len;
    p.drawLine(feature + d * GapMm, end + d * OverMm);
}

void Arrow(QPainter& p, QPointF tip, QPointF dir) {
    const QPointF n(-dir.y(), dir.x());
    const QPolygonF head(
        {tip, tip - dir * ArrowMm + n * ArrowHalfMm, tip - dir * ArrowMm - n * ArrowHalfMm});
    p.drawPolygon(head);
}

} // namespace

void PaintDimension(QPainter& p, QPointF from, QPointF to, QPointF lineFrom, QPointF lineTo,
                    const QString& text, bool vertical) {
    p.save();
    p.setPen(QPen(Qt::black, ThinLineMm));
    p.setBrush(Qt::black);
    Extension(p, from, lineFrom);
    Extension(p, to, lineTo);
    p.drawLine(lineFrom, lineTo);
    QPointF d = lineTo - lineFrom;
    const double len = std::hypot(d.x(), d.y());
    if (len > 0) {
        d /= len;
        Arrow(p, lineFrom, -d);
        Arrow(p, lineTo, d);
    }
    const QPointF mid = (lineFrom + lineTo) / 2;
    if (vertical)
        SheetText(p, mid + QPointF(1.5, TextMm / 2), text, TextMm);
    else
        SheetText(p, mid + QPointF(-SheetTextWidth(text, TextMm) / 2, -1.0), text, TextMm);
    p.restore();
}

} // namespace workshop
