// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A paint device that hands the lines painted on it to another painter in
// one grey dashed pen: the diagram painters draw a second design through it
// unchanged, and only its curves and edges land on the picture, under the
// current design's. Texts and filled areas are left out, so the second
// design's numbers never cover the current one's.

#include <QColor>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QSize>
#include <QTransform>

namespace overlay {

inline const QColor SecondDesignGrey{128, 128, 128};

class SecondDesignEngine : public QPaintEngine {
  public:
    // Draws on target within its transform at the time of construction.
    explicit SecondDesignEngine(QPainter& target);

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override;

    void drawLines(const QLine* lines, int count) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override;
    void drawPath(const QPainterPath& path) override;
    void drawRects(const QRect* rects, int count) override;
    void drawRects(const QRectF* rects, int count) override;
    void drawEllipse(const QRectF& r) override;
    void drawEllipse(const QRect& r) override;
    void drawPoints(const QPointF*, int) override {}
    void drawPoints(const QPoint*, int) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override {}

  private:
    // The target set up for one primitive: the source's transform and
    // hints, its pen's width in grey dashes, no fill. False when the
    // source draws no outline.
    bool Prepare();

    QPainter& target_;
    QTransform base_; // the target's own, under the source's
    QPen pen_;
    QTransform transform_;
    QPainter::RenderHints hints_;
};

class SecondDesignDevice : public QPaintDevice {
  public:
    SecondDesignDevice(QPainter& target, QSize size);
    QPaintEngine* paintEngine() const override { return &engine_; }

  protected:
    int metric(PaintDeviceMetric m) const override;

  private:
    QSize size_;
    mutable SecondDesignEngine engine_;
};

} // namespace overlay
