// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/diagram_fit.h"

#include "diagrams/diagram_paint.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace diagrams {

namespace {

// Pixel sizes stay well inside int whatever the window or ratio.
constexpr double MaxPixels = 1 << 15;

int ToPixels(double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<int>(std::lround(std::clamp(v, -MaxPixels, MaxPixels)));
}

} // namespace

PictureFit FitPicture(QSize picture, QSize area) {
    if (picture.isEmpty() || area.isEmpty()) return {};
    const double scale = std::min(static_cast<double>(area.width()) / picture.width(),
                                  static_cast<double>(area.height()) / picture.height());
    // Whole pixels for the margins, so an unscaled picture stays on the grid.
    const double left = std::floor((area.width() - picture.width() * scale) / 2);
    const double top = std::floor((area.height() - picture.height() * scale) / 2);
    return {scale, QPointF(left, top)};
}

QRect MapToArea(const PictureFit& fit, const QRect& rect) {
    const int left = ToPixels(fit.Offset.x() + rect.left() * fit.Scale);
    const int top = ToPixels(fit.Offset.y() + rect.top() * fit.Scale);
    const int right = ToPixels(fit.Offset.x() + (rect.left() + rect.width()) * fit.Scale);
    const int bottom = ToPixels(fit.Offset.y() + (rect.top() + rect.height()) * fit.Scale);
    return QRect(QPoint(left, top), QSize(std::max(1, right - left), std::max(1, bottom - top)));
}

QPointF MapToPicture(const PictureFit& fit, const QPointF& point) {
    if (!(fit.Scale > 0)) return point;
    return (point - fit.Offset) / fit.Scale;
}

bool IsUnscaled(const PictureFit& fit, qreal devicePixelRatio) {
    return fit.Scale == 1.0 && devicePixelRatio == 1.0;
}

QImage RenderFitted(QSize area, qreal devicePixelRatio, const PictureFit& fit,
                    const std::function<void(QPainter&)>& paint) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QImage image(ToPixels(area.width() * ratio), ToPixels(area.height() * ratio),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(White);
    if (image.isNull()) return image;
    QPainter p(&image);
    p.translate(fit.Offset);
    p.scale(fit.Scale, fit.Scale);
    BeginDiagram(p);
    paint(p);
    return image;
}

QImage RenderScaled(QSize picture, int factor, const std::function<void(QPainter&)>& paint) {
    const int f = std::clamp(factor, 1, 8);
    QImage image(picture * f, QImage::Format_RGB32);
    image.fill(White);
    if (image.isNull()) return image;
    QPainter p(&image);
    p.scale(f, f);
    BeginDiagram(p);
    paint(p);
    return image;
}

} // namespace diagrams
