// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fitting a diagram's picture into a window of any size: one scale for both
// axes, so the picture keeps its aspect, centred in the area. The controls
// that sit on the picture move and grow with it.

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <functional>

class QPainter;

namespace diagrams {

struct PictureFit {
    double Scale = 1.0;
    QPointF Offset; // the picture's top left in the area
};

// The largest scale at which the picture fits the area, centred. An empty
// picture or area gives scale 1 at the origin.
PictureFit FitPicture(QSize picture, QSize area);
// A rectangle of the picture as it shows in the area.
QRect MapToArea(const PictureFit& fit, const QRect& rect);
// A point of the area as a point of the picture.
QPointF MapToPicture(const PictureFit& fit, const QPointF& point);
// True when the fitted picture is the picture pixel for pixel.
bool IsUnscaled(const PictureFit& fit, qreal devicePixelRatio);

// paint draws the picture at its own size; it runs here scaled into an
// image of area x devicePixelRatio (tagged with that ratio), white around.
QImage RenderFitted(QSize area, qreal devicePixelRatio, const PictureFit& fit,
                    const std::function<void(QPainter&)>& paint);
// The picture at factor times its own size, painted on white.
QImage RenderScaled(QSize picture, int factor, const std::function<void(QPainter&)>& paint);

} // namespace diagrams
