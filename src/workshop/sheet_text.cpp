// SPDX-License-Identifier: GPL-3.0-or-later
#include "workshop/sheet_text.h"

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace workshop {

namespace {

QFont SheetFont(double heightMm, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(heightMm * 10))));
    f.setBold(bold);
    return f;
}

} // namespace

void SheetText(QPainter& p, QPointF atMm, const QString& text, double heightMm, bool bold) {
    p.save();
    p.translate(atMm);
    p.scale(0.1, 0.1);
    p.setFont(SheetFont(heightMm, bold));
    p.setPen(Qt::black);
    p.drawText(QPointF(0, 0), text);
    p.restore();
}

void SheetTextIn(QPainter& p, const QRectF& boxMm, int flags, const QString& text, double heightMm,
                 bool bold) {
    p.save();
    p.translate(boxMm.topLeft());
    p.scale(0.1, 0.1);
    p.setFont(SheetFont(heightMm, bold));
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 0, boxMm.width() * 10, boxMm.height() * 10), flags, text);
    p.restore();
}

double SheetTextWidth(const QString& text, double heightMm, bool bold) {
    return QFontMetricsF(SheetFont(heightMm, bold)).horizontalAdvance(text) / 10.0;
}

} // namespace workshop
