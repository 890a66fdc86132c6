// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/paint_canvas.h"

#include "model/rounding.h"
#include "picture/draw_constants.h"

#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <bit>
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

Canvas::Canvas(QPainter& painter, std::vector<QPoint>& dots, DrawnItems* drawn)
    : painter_(painter), dots_(dots), drawn_(drawn) {
    dots_.clear();
    if (drawn_) drawn_->clear();
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

ItemKey Canvas::LineKey(uint64_t kind) const {
    ItemKey key(kind);
    key.Add(penColor_).Add(static_cast<uint64_t>(penWidth_));
    return key;
}

void Canvas::Record(const ItemKey& key, const QRect& box) {
    if (!drawn_) return;
    DrawnItem item;
    item.Key = key.Value();
    item.Box = box;
    drawn_->push_back(item);
}

void Canvas::RecordSegment(const ItemKey& key, QPoint a, QPoint b) {
    if (!drawn_) return;
    DrawnItem item;
    item.Key = key.Value();
    item.IsSegment = true;
    item.A = a;
    item.B = b;
    item.Pad = penWidth_ + 1; // the square caps and the wide pens
    drawn_->push_back(item);
}

void Canvas::LineTo(QPoint p) {
    Line(at_, p);
    at_ = p;
}

void Canvas::Line(QPoint a, QPoint b) {
    UseLinePen();
    if (!Outside(a.x()) && !Outside(a.y()) && !Outside(b.x()) && !Outside(b.y())) {
        painter_.drawLine(a, b);
        RecordSegment(LineKey(1).Add(a).Add(b), a, b);
        return;
    }
    double ax = a.x(), ay = a.y(), bx = b.x(), by = b.y();
    if (ClipSegment(ax, ay, bx, by, ClipLimit)) {
        painter_.drawLine(QLineF(ax, ay, bx, by));
        const QPoint ca(static_cast<int>(std::floor(ax)), static_cast<int>(std::floor(ay)));
        const QPoint cb(static_cast<int>(std::floor(bx)), static_cast<int>(std::floor(by)));
        RecordSegment(LineKey(2).Add(a).Add(b), ca, cb);
    }
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (Outside(x1) || Outside(y1) || Outside(x2) || Outside(y2)) return;
    UseLinePen();
    const QRect box = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    painter_.drawEllipse(QRectF(box.x(), box.y(), box.width() - 1, box.height() - 1));
    const int pad = penWidth_ + 1;
    Record(LineKey(3).Add(box.topLeft()).Add(box.bottomRight()),
           box.adjusted(-pad, -pad, pad, pad));
}

void Canvas::Arc(const QRect& box, double startDeg, double spanDeg) {
    const QRect b = box.normalized();
    if (Outside(b.left()) || Outside(b.top()) || Outside(b.right()) || Outside(b.bottom())) return;
    UseLinePen();
    const int start = kes::RoundHalfEven(startDeg * 16.0),
              span = kes::RoundHalfEven(spanDeg * 16.0);
    painter_.drawArc(QRectF(b.x(), b.y(), b.width() - 1, b.height() - 1), start, span);
    const int pad = penWidth_ + 1;
    Record(LineKey(4)
               .Add(b.topLeft())
               .Add(b.bottomRight())
               .Add(static_cast<uint64_t>(static_cast<uint32_t>(start)))
               .Add(static_cast<uint64_t>(static_cast<uint32_t>(span))),
           b.adjusted(-pad, -pad, pad, pad));
}

void Canvas::SetFont(double points, bool bold) {
    if (points == fontPoints_ && font_.bold() == bold) return;
    font_ = QFont(drawk::FontFamily);
    font_.setPointSizeF(points);
    font_.setStretch(drawk::FontStretch);
    font_.setBold(bold);
    painter_.setFont(font_);
    fontPoints_ = points;
    const QFontMetrics metrics(painter_.font(), painter_.device());
    ascent_ = metrics.ascent();
    textHeight_ = metrics.height();
    widestChar_ = 0;
    for (const QChar c : QStringLiteral("WM@%#&mw"))
        widestChar_ = std::max(widestChar_, metrics.horizontalAdvance(c));
}

void Canvas::Text(QPoint p, const QString& text) {
    if (Outside(p.x()) || Outside(p.y())) return;
    UseTextPen();
    painter_.drawText(QPoint(p.x(), p.y() + ascent_), text);
    if (!drawn_) return;
    // No character the picture writes is wider than the widest; the ink of
    // a glyph reaches a little beyond its cell.
    constexpr int Overhang = 3;
    ItemKey key(5);
    key.Add(p)
        .Add(std::bit_cast<uint64_t>(fontPoints_))
        .Add(font_.bold() ? 1u : 0u)
        .Add(fontColor_);
    key.Add(qHash(text));
    Record(key, QRect(p.x() - Overhang, p.y() - Overhang,
                      static_cast<int>(text.size()) * widestChar_ + 2 * Overhang,
                      textHeight_ + 2 * Overhang));
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
    if (drawn_) {
        ItemKey key(6);
        key.Add(color);
        QPoint low = dots_.front(), high = low;
        for (const QPoint d : dots_) {
            key.Add(d);
            low = QPoint(std::min(low.x(), d.x()), std::min(low.y(), d.y()));
            high = QPoint(std::max(high.x(), d.x()), std::max(high.y(), d.y()));
        }
        Record(key, QRect(low, high));
    }
    dots_.clear();
}
