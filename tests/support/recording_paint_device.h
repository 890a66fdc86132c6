// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A paint device that keeps what was painted on it instead of pixels: every
// line with its pen colour and every text with its top-left corner, colour
// and weight. Points, paths and round shapes are left out. Tests use it to
// read a drawing's texts and exact coordinates.

#include <QColor>
#include <QFontMetrics>
#include <QLine>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QString>
#include <QTextItem>

#include <cmath>
#include <vector>

struct RecordedLine {
    QLine Line;
    QColor Color;
};

struct RecordedText {
    QString Text;
    QPoint TopLeft;
    QColor Color;
    bool Bold = false;
};

class RecordingPaintEngine : public QPaintEngine {
  public:
    RecordingPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyPen) pen_ = state.pen();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPoints(const QPoint*, int) override {}
    void drawPoints(const QPointF*, int) override {}
    void drawEllipse(const QRect&) override {}
    void drawEllipse(const QRectF&) override {}
    void drawLines(const QLine* lines, int count) override {
        for (int i = 0; i < count; ++i)
            Lines.push_back({lines[i], pen_.color()});
    }
    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i)
            Lines.push_back({lines[i].toLine(), pen_.color()});
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    void drawRects(const QRect*, int) override {}
    void drawRects(const QRectF*, int) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        // The drawing puts the baseline at the top plus the whole-pixel ascent.
        const QFontMetrics metrics(item.font(), paintDevice());
        const QPoint topLeft(static_cast<int>(std::lround(p.x())),
                             static_cast<int>(std::lround(p.y())) - metrics.ascent());
        Texts.push_back({item.text(), topLeft, pen_.color(), item.font().bold()});
    }

    std::vector<RecordedLine> Lines;
    std::vector<RecordedText> Texts;

  private:
    QPen pen_;
};

class RecordingPaintDevice : public QPaintDevice {
  public:
    explicit RecordingPaintDevice(QSize size = QSize(632, 426)) : size_(size) {}
    QPaintEngine* paintEngine() const override { return &engine_; }

    const std::vector<RecordedLine>& Lines() const { return engine_.Lines; }
    const std::vector<RecordedText>& Texts() const { return engine_.Texts; }

    // The texts equal to text, in the order they were written.
    std::vector<RecordedText> TextsNamed(const QString& text) const {
        std::vector<RecordedText> found;
        for (const RecordedText& t : engine_.Texts)
            if (t.Text == text) found.push_back(t);
        return found;
    }

  protected:
    int metric(PaintDeviceMetric m) const override {
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

  private:
    QSize size_;
    mutable RecordingPaintEngine engine_;
};
