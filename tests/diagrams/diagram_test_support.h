// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the diagram tests: a factory model, the diagrams painted into an
// image or onto the recording device, and the valve travel computed
// independently of the drawing code.

#include "diagrams/diagram_paint.h"
#include "model/model.h"
#include "model/rounding.h"
#include "model/solver.h"
#include "support/recording_paint_device.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QtGlobal>

#include <memory>

using PaintFn = void (*)(QPainter&, kes::Model&, DiagramTextState&);

inline std::unique_ptr<kes::Model> FactoryModel() {
    auto m = std::make_unique<kes::Model>();
    kes::InitialiseModel(*m);
    return m;
}

// Positions 1..n of the table.
inline void SetPositions(kes::Model& m, std::initializer_list<float> positions) {
    int n = 0;
    for (float p : positions)
        m.RevArmPositions[static_cast<size_t>(++n)] = p;
    m.RevArmPositionCount = n;
}

inline QImage PaintToImage(PaintFn paint, kes::Model& m, QSize size,
                           DiagramTextState* text = nullptr) {
    DiagramTextState local;
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    diagrams::BeginDiagram(p);
    paint(p, m, text ? *text : local);
    return image;
}

inline void PaintToRecorder(PaintFn paint, kes::Model& m, RecordingPaintDevice& device,
                            DiagramTextState* text = nullptr) {
    DiagramTextState local;
    QPainter p(&device);
    diagrams::BeginDiagram(p);
    paint(p, m, text ? *text : local);
}

// The valve offset at one setting, solved here rather than by the drawing.
inline double ValveOffsetAt(kes::Model& m, float setting, float angle) {
    const float savedSetting = m.RevArmSetting, savedAngle = m.DriverAngle;
    m.RevArmSetting = setting;
    m.DriverAngle = angle;
    kes::SolveLinkage(m);
    const double v = m.Solver.ValveOffset;
    m.RevArmSetting = savedSetting;
    m.DriverAngle = savedAngle;
    return v;
}

inline int PixelY(double v, double scale) {
    return kes::RoundHalfEven(215.0 - v * 375.0 / scale);
}

inline bool IsColour(const QImage& image, int x, int y, QColor c) {
    return image.pixelColor(x, y).rgb() == c.rgb();
}
inline bool IsDark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 96;
}
inline bool IsWhite(const QImage& image, int x, int y) {
    return image.pixelColor(x, y).rgb() == QColor(Qt::white).rgb();
}

// The black lines drawn after the six coloured port-edge lines: the curves.
inline std::vector<QLine> CurveLines(const RecordingPaintDevice& device) {
    std::vector<QLine> curves;
    int coloured = 0;
    for (const RecordedLine& l : device.Lines()) {
        if (l.Color.rgb() != QColor(Qt::black).rgb()) {
            ++coloured;
            continue;
        }
        if (coloured >= 6) curves.push_back(l.Line);
    }
    return curves;
}

inline const RecordedText* TextAt(const RecordingPaintDevice& device, QPoint topLeft) {
    const RecordedText* found = nullptr;
    for (const RecordedText& t : device.Texts())
        if (t.TopLeft == topLeft) found = &t; // the last one written wins
    return found;
}

// Headless main: the offscreen platform also when CMake runs the binary to
// list its cases, and without the one message that platform prints on show().
// QtTest installs its own handler when it starts: a test class calls
// QuietOffscreenPlatform() in initTestCase to put this one in front of it.
inline QtMessageHandler& TestMessageHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void QuietOffscreenMessages(QtMsgType type, const QMessageLogContext& context,
                                   const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) return;
    if (TestMessageHandler()) {
        TestMessageHandler()(type, context, message);
    } else {
        qt_message_output(type, context, message);
    }
}

inline void QuietOffscreenPlatform() {
    QtMessageHandler previous = qInstallMessageHandler(QuietOffscreenMessages);
    if (previous != QuietOffscreenMessages) TestMessageHandler() = previous;
}

#define KESTROVE_DIAGRAM_TEST_MAIN(TestClass)                                                      \
    int main(int argc, char** argv) {                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        qInstallMessageHandler(QuietOffscreenMessages);                                            \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
