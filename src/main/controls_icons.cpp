// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/controls_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

constexpr int IconSize = 24;
const QColor Ink(0x20, 0x20, 0x20);
const QColor Red(0xD0, 0x10, 0x10);
const QColor Green(0x00, 0xA0, 0x00);
const QColor Blue(0x10, 0x30, 0xD0);
const QColor Magenta(0xC0, 0x00, 0xC0);

void Arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::max(1.0, std::hypot(d.x(), d.y()));
    const QPointF u(d.x() / len, d.y() / len);
    const QPointF n(-u.y(), u.x());
    QPolygonF head;
    head << to << to - u * 5 + n * 3 << to - u * 5 - n * 3;
    p.setBrush(p.pen().color());
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
}

void Wheel(QPainter& p) {
    p.setPen(QPen(Ink, 1.5));
    p.drawEllipse(QPointF(11, 13), 8, 8);
    p.drawEllipse(QPointF(11, 13), 1.5, 1.5);
}

void Paint(QPainter& p, ControlIcon which) {
    switch (which) {
    case ControlIcon::RevArmPos:
        // The reverse arm on its pivot with the reach rod pulling it.
        p.setPen(QPen(Green, 2.5));
        p.drawLine(QPointF(8, 21), QPointF(14, 5));
        p.setPen(QPen(Red, 1));
        p.drawLine(QPointF(4, 21), QPointF(12, 21));
        p.setPen(QPen(Ink, 1.5));
        Arrow(p, QPointF(15, 6), QPointF(22, 6));
        break;
    case ControlIcon::DriverAng:
        Wheel(p);
        p.setPen(QPen(Red, 2));
        p.drawLine(QPointF(11, 13), QPointF(17, 7));
        p.setPen(QPen(Blue, 1));
        p.drawArc(QRectF(5, 7, 12, 12), 0, 45 * 16);
        break;
    case ControlIcon::StepAng:
        Wheel(p);
        p.setPen(QPen(Blue, 1.5));
        p.drawArc(QRectF(1, 3, 20, 20), 30 * 16, 100 * 16);
        Arrow(p, QPointF(5.5, 6.5), QPointF(3.5, 9.5));
        break;
    case ControlIcon::MidGear:
        p.setPen(QPen(Ink, 1, Qt::DashLine));
        p.drawLine(QPointF(12, 2), QPointF(12, 22));
        p.setPen(QPen(Green, 2.5));
        p.drawLine(QPointF(12, 21), QPointF(12, 6));
        p.setPen(QPen(Red, 1.5));
        Arrow(p, QPointF(3, 9), QPointF(10, 9));
        Arrow(p, QPointF(21, 9), QPointF(14, 9));
        break;
    case ControlIcon::RefPoints:
        p.setPen(QPen(Ink, 1.5));
        p.drawLine(QPointF(2, 8), QPointF(14, 8));
        p.drawLine(QPointF(8, 2), QPointF(8, 14));
        p.setPen(QPen(Red, 1.5));
        p.drawLine(QPointF(10, 17), QPointF(22, 17));
        p.drawLine(QPointF(16, 11), QPointF(16, 23));
        break;
    case ControlIcon::PivotData:
        p.setPen(QPen(Ink, 1));
        for (int r = 0; r < 4; ++r)
            p.drawLine(QPointF(9, 5 + 5 * r), QPointF(22, 5 + 5 * r));
        p.setPen(QPen(Red, 1));
        p.setBrush(Red);
        for (int r = 0; r < 4; ++r)
            p.drawEllipse(QPointF(4, 5 + 5 * r), 1.8, 1.8);
        p.setBrush(Qt::NoBrush);
        break;
    case ControlIcon::DynamicVari:
        p.setPen(QPen(Ink, 1));
        p.drawRect(QRectF(2, 9, 20, 6));
        p.setBrush(Blue);
        p.drawRect(QRectF(10, 9, 4, 6));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Magenta, 1.5));
        Arrow(p, QPointF(9, 4), QPointF(3, 4));
        Arrow(p, QPointF(15, 4), QPointF(21, 4));
        Arrow(p, QPointF(9, 20), QPointF(3, 20));
        Arrow(p, QPointF(15, 20), QPointF(21, 20));
        break;
    case ControlIcon::UnDo: {
        p.setPen(QPen(Blue, 2));
        QPainterPath path;
        path.moveTo(6, 10);
        path.cubicTo(10, 3, 22, 5, 19, 15);
        path.cubicTo(17, 20, 12, 21, 9, 20);
        p.drawPath(path);
        p.setPen(QPen(Blue, 1));
        p.setBrush(Blue);
        QPolygonF head;
        head << QPointF(3, 5) << QPointF(10, 7) << QPointF(4, 13);
        p.drawPolygon(head);
        p.setBrush(Qt::NoBrush);
        break;
    }
    case ControlIcon::DrawLines:
        p.setPen(QPen(Blue, 1.5));
        p.drawLine(QPointF(2, 21), QPointF(20, 3));
        p.setPen(QPen(Red, 1.5));
        p.drawEllipse(QPointF(15, 15), 6, 6);
        break;
    }
}

} // namespace

QIcon MakeControlIcon(ControlIcon which) {
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    Paint(p, which);
    p.end();
    return QIcon(pixmap);
}
