// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/paint_canvas.h"

#include "model/rounding.h"
#include "picture/draw_constants.h"

#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Far beyond any window, well inside what the painter handles exactly.
constexpr double ClipLimit = 100000.0;
constexpr size_t DotBatch = 4096;

bool Outside(int v) {
    return std::abs(static_cast<double>(v)) > ClipLimit;
}

} // namespace

bool ClipSegment(double& ax, double& ay, double& bx, double& by, double limit) {
    // Liang-Barsky against -limit..limit in both axes.
    double t0 = 0.0, t1 = 1.0;
    const double dx = bx - ax, dy = by - ay;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax + limit, limit - ax, ay + limit, limit - ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
    }
    const double nax = ax + t0 * dx, nay = ay + t0 * dy;
    bx = ax + t1 * dx;
    by = ay + t1 * dy;
    ax = nax;
    ay = nay;
    return true;
}

Canvas::Canvas(QPainter& painter, std::vector<QPoint>& dots) : painter_(painter), dots_(dots) {
    dots_.clear();
    painter_.setBrush(Qt::NoBrush);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    SetFont(drawk::FontPoints);
}

void Canvas::SetPen(QRgb color, int width) {
    penColor_ = color;
    penWidth_ = std::clamp(width, 1, 16);
    if (painterPen_ == PainterPen::Line) painterPen_ = PainterPen::Unknown;
}

void Canvas::UseLinePen() {
    if (painterPen_ == PainterPen::Line) return;
    QPen pen{QColor::fromRgb(penColor_)};
    pen.setWidth(penWidth_ <= 1 ? 0 : penWidth_); // 0 is the one-pixel cosmetic pen
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    painterPen_ = PainterPen::Line;
}

void Canvas::UseTextPen() {
    painter_.setPen(QColor::fromRgb(fontColor_));
    painterPen_ = PainterPen::Text;
}

void Canvas::LineTo(QPoint p) {
    Line(at_, p);
    at_ = p;
}

void Canvas::Line(QPoint a, QPoint b) {
    UseLinePen();
    if (!Outside(a.x()) && !Outside(a.y()) && !Outside(b.x()) && !Outside(b.y())) {
        painter_.drawLine(a, b);
        return;
    }
    double ax = a.x(), ay = a.y(), bx = b.x(), by = b.y();
    if (ClipSegment(ax, ay, bx, by, ClipLimit)) painter_.drawLine(QLineF(ax, ay, bx, by));
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (Outside(x1) || Outside(y1) || Outside(x2) || Outside(y2)) return;
    UseLinePen();
    const QRect box = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    painter_.drawEllipse(QRectF(box.x(), box.y(), box.width() - 1, box.height() - 1));
}

void Canvas::Arc(const QRect& box, double startDeg, double spanDeg) {
    const QRect b = box.normalized();
    if (Outside(b.left()) || Outside(b.top()) || Outside(b.right()) || Outside(b.bottom())) return;
    UseLinePen();
    painter_.drawArc(QRectF(b.x(), b.y(), b.width() - 1, b.height() - 1),
                     kes::RoundHalfEven(startDeg * 16.0), kes::RoundHalfEven(spanDeg * 16.0));
}

void Canvas::SetFont(double points, bool bold) {
    if (points == fontPoints_ && font_.bold() == bold) return;
    font_ = QFont(drawk::FontFamily);
    font_.setPointSizeF(points);
    font_.setStretch(drawk::FontStretch);
    font_.setBold(bold);
    painter_.setFont(font_);
    fontPoints_ = points;
    ascent_ = QFontMetrics(painter_.font(), painter_.device()).ascent();
}

void Canvas::Text(QPoint p, const QString& text) {
    if (Outside(p.x()) || Outside(p.y())) return;
    UseTextPen();
    painter_.drawText(QPoint(p.x(), p.y() + ascent_), text);
}

void Canvas::Dot(int x, int y) {
    if (x < 0 || y < 0 || x >= drawk::ImageWidth || y >= drawk::ImageHeight) return;
    dots_.emplace_back(x, y);
}

void Canvas::FlushDots(QRgb color) {
    if (dots_.empty()) return;
    QPen pen{QColor::fromRgb(color)};
    pen.setWidth(0);
    painter_.setPen(pen);
    painterPen_ = PainterPen::Dot;
    for (size_t i = 0; i < dots_.size(); i += DotBatch) {
        const size_t n = std::min(DotBatch, dots_.size() - i);
        painter_.drawPoints(dots_.data() + i, static_cast<int>(n));
    }
    dots_.clear();
}
