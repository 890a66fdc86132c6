// SPDX-License-Identifier: GPL-3.0-or-later
#include "live/live_picture.h"

#include "diagrams/diagram_fit.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace live {

namespace {
constexpr QSize MinimumPictureSize{320, 220};
}

LivePicture::LivePicture(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(MinimumPictureSize);
    setCursor(Qt::CrossCursor);
}

void LivePicture::SetPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

QPoint LivePicture::ToPicture(QPoint widgetPoint) const {
    const diagrams::PictureFit fit = diagrams::FitPicture(picture_.size(), size());
    const QPointF p = diagrams::MapToPicture(fit, QPointF(widgetPoint));
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

void LivePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (picture_.isNull()) return;
    const diagrams::PictureFit fit = diagrams::FitPicture(picture_.size(), size());
    p.setRenderHint(QPainter::SmoothPixmapTransform, fit.Scale < 1.0);
    p.drawImage(QRectF(fit.Offset, QSizeF(picture_.size()) * fit.Scale), picture_);
}

void LivePicture::mouseMoveEvent(QMouseEvent* event) {
    emit Hovered(ToPicture(event->position().toPoint()));
}

void LivePicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit Clicked(ToPicture(event->position().toPoint()));
}

} // namespace live
