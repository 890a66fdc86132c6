#pragma once
// Reads the texts of one frame of the mechanism picture: a paint device
// that keeps every text with its top-left corner, colour and weight and
// ignores all other drawing.

#include "main/mechanism_painter.h"

#include <QColor>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QString>
#include <QTextItem>

#include <cmath>
#include <vector>

struct RecordedText {
    QString Text;
    QPoint TopLeft;
    QColor Color;
    bool Bold = false;
};

class TextRecordingEngine : public QPaintEngine {
  public:
    TextRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyPen) pen_ = state.pen();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawLines(const QLine*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawPoints(const QPoint*, int) override {}
    void drawPoints(const QPointF*, int) override {}
    void drawEllipse(const QRect&) override {}
    void drawEllipse(const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    void drawRects(const QRect*, int) override {}
    void drawRects(const QRectF*, int) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QFontMetrics metrics(item.font(), paintDevice());
        Texts.push_back({item.text(),
                         QPoint(static_cast<int>(std::lround(p.x())),
                                static_cast<int>(std::lround(p.y())) - metrics.ascent()),
                         pen_.color(), item.font().bold()});
    }
    std::vector<RecordedText> Texts;

  private:
    QPen pen_;
};

class TextRecordingDevice : public QPaintDevice {
  public:
    QPaintEngine* paintEngine() const override { return &engine_; }
    const std::vector<RecordedText>& Texts() const { return engine_.Texts; }

  protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return 1280;
        case PdmHeight:
            return 1024;
        case PdmWidthMM:
            return 1280 * 254 / 960;
        case PdmHeightMM:
            return 1024 * 254 / 960;
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
    mutable TextRecordingEngine engine_;
};

// Draws one frame onto the recorder and returns its texts.
inline std::vector<RecordedText> RecordFrameTexts(kes::Model& m, DrawState& s) {
    TextRecordingDevice device;
    QPainter p(&device);
    FrameOutcome out;
    DrawMechanism(p, m, s, out);
    p.end();
    return device.Texts();
}
