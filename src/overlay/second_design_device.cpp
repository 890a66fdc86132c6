// SPDX-License-Identifier: GPL-3.0-or-later
#include "overlay/second_design_device.h"

#include <QPainter>
#include <QPainterPath>

namespace overlay {

SecondDesignEngine::SecondDesignEngine(QPainter& target)
    : QPaintEngine(QPaintEngine::AllFeatures), target_(target), base_(target.transform()) {}

void SecondDesignEngine::updateState(const QPaintEngineState& state) {
    const DirtyFlags dirty = state.state();
    if (dirty & DirtyPen) pen_ = state.pen();
    if (dirty & DirtyTransform) transform_ = state.transform();
    if (dirty & DirtyHints) hints_ = state.renderHints();
}

bool SecondDesignEngine::Prepare() {
    if (pen_.style() == Qt::NoPen) return false;
    QPen grey(SecondDesignGrey, pen_.widthF(), Qt::DashLine, pen_.capStyle(), pen_.joinStyle());
    grey.setCosmetic(pen_.isCosmetic());
    target_.setTransform(transform_ * base_);
    target_.setRenderHints(hints_);
    target_.setPen(grey);
    target_.setBrush(Qt::NoBrush);
    return true;
}

void SecondDesignEngine::drawLines(const QLine* lines, int count) {
    if (Prepare()) target_.drawLines(lines, count);
}

void SecondDesignEngine::drawLines(const QLineF* lines, int count) {
    if (Prepare()) target_.drawLines(lines, count);
}

void SecondDesignEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    if (!Prepare()) return;
    if (mode == PolylineMode)
        target_.drawPolyline(points, count);
    else
        target_.drawPolygon(points, count);
}

void SecondDesignEngine::drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) {
    if (!Prepare()) return;
    if (mode == PolylineMode)
        target_.drawPolyline(points, count);
    else
        target_.drawPolygon(points, count);
}

void SecondDesignEngine::drawPath(const QPainterPath& path) {
    if (Prepare()) target_.drawPath(path);
}

// A filled rectangle (a text's background) has no pen: it is left out.
void SecondDesignEngine::drawRects(const QRect* rects, int count) {
    if (Prepare()) target_.drawRects(rects, count);
}

void SecondDesignEngine::drawRects(const QRectF* rects, int count) {
    if (Prepare()) target_.drawRects(rects, count);
}

void SecondDesignEngine::drawEllipse(const QRectF& r) {
    if (Prepare()) target_.drawEllipse(r);
}

void SecondDesignEngine::drawEllipse(const QRect& r) {
    if (Prepare()) target_.drawEllipse(r);
}

SecondDesignDevice::SecondDesignDevice(QPainter& target, QSize size)
    : size_(size), engine_(target) {}

int SecondDesignDevice::metric(PaintDeviceMetric m) const {
    // 96 dots per inch, as a fresh QImage: the painters place some labels
    // by their widths, and they measure as on the picture.
    switch (m) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return size_.width() * 254 / 960;
    case PdmHeightMM:
        return size_.height() * 254 / 960;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}

} // namespace overlay
