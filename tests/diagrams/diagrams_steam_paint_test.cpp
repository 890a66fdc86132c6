// SPDX-License-Identifier: GPL-3.0-or-later
// The steam diagram drawing: frame texts, pressure lines, the cut-off
// lists and the bold labels.

#include "diagrams/diagram_paint.h"
#include "diagrams/steam_diagram.h"
#include "model/format.h"
#include "model/model.h"
#include "support/recording_paint_device.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <algorithm>

using namespace analysis;
using namespace diagrams;

namespace {

const QColor Green{0, 128, 0};
const QColor Red{255, 0, 0};

kes::Model ModelWithPositions(int count) {
    kes::Model m;
    kes::InitialiseModel(m);
    // Mid gear, then alternately forward and backward in steps of 0.2.
    for (int n = 1; n <= count; ++n) {
        const float step = 0.2f * static_cast<float>(n / 2);
        m.RevArmPositions[n] = m.MidGear() + (n % 2 == 0 ? step : -step);
    }
    m.RevArmPositionCount = count;
    return m;
}

struct Recorded {
    RecordingPaintDevice Device{SteamClientSize};
    DiagramTextState Text;
    explicit Recorded(kes::Model& m) {
        QPainter p(&Device);
        BeginDiagram(p);
        PaintSteamDiagram(p, m, Text);
    }
    // The last text written with its top-left corner at (x, y).
    QString LastAt(int x, int y) const {
        QString found;
        for (const RecordedText& t : Device.Texts())
            if (t.TopLeft == QPoint(x, y)) found = t.Text;
        return found;
    }
};

} // namespace

class SteamPaintTest : public QObject {
    Q_OBJECT
  private slots:
    void frameTexts();
    void cutOffListRows();
    void cutOffHeadingsInEndColours();
    void pressureLinesInEndColours();
    void boldPositionLabels();
    void nothingButTheFrameWithoutPositions();
    void settingsRestored();
    void badDimensionsStillPaint();
};

void SteamPaintTest::frameTexts() {
    kes::Model m = ModelWithPositions(1);
    Recorded r(m);
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("Percent Piston Travel"))[0].TopLeft,
             QPoint(186, 364));
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("Forward End --->"))[0].TopLeft, QPoint(386, 364));
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("0"))[0].TopLeft, QPoint(577, 348));
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("100"))[0].TopLeft, QPoint(45, 350));
    // "CYLINDER" and "PRESSURE" down the left edge, "I" two pixels in.
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("C"))[0].TopLeft, QPoint(20, 108));
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("I"))[0].TopLeft, QPoint(22, 149));
    QCOMPARE(r.LastAt(32, 201), QStringLiteral("E"));
    QCOMPARE(r.LastAt(29, 77), QStringLiteral("\\"));
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("Reverse Arm Positions")).size(), size_t(1));
    // The two vertical axes and the base line.
    const auto& lines = r.Device.Lines();
    for (const QLine& l :
         {QLine(44, 70, 44, 346), QLine(584, 70, 584, 346), QLine(45, 343, 585, 343)})
        QVERIFY(std::any_of(lines.begin(), lines.end(),
                            [&](const RecordedLine& x) { return x.Line == l; }));
}

void SteamPaintTest::cutOffListRows() {
    kes::Model m = ModelWithPositions(MaxSteamPositions);
    const SteamCutOffs c = ComputeSteamCutOffs(m);
    Recorded r(m);
    QCOMPARE(CutOffRowY(1), 246);
    QCOMPARE(CutOffRowY(9), 350);
    for (int n = 1; n <= MaxSteamPositions; ++n) {
        const int y = 13 * n + 233;
        QVERIFY(c.FrontFound[n] && c.RearFound[n]);
        QCOMPARE(r.LastAt(588, y), QString::number(n));
        QCOMPARE(r.LastAt(3, y), QString::number(n));
        // The last cut-off written is the one the list shows.
        QCOMPARE(r.LastAt(600, y), QString::fromStdString(kes::FormatFixed(c.Front[n], 4, 1)));
        QCOMPARE(r.LastAt(15, y), QString::fromStdString(kes::FormatFixed(c.Rear[n], 4, 1)));
    }
    // Nothing below the ninth row.
    QVERIFY(r.LastAt(588, 13 * 10 + 233).isEmpty());
}

void SteamPaintTest::cutOffHeadingsInEndColours() {
    kes::Model m = ModelWithPositions(3);
    Recorded r(m);
    const auto headings = r.Device.TextsNamed(QStringLiteral("%CutOff"));
    QVERIFY(headings.size() >= 6); // at least one per position and end
    // The front heading at x 587, or ending at the window's edge when it
    // would not fit there.
    const int frontX = std::min(
        587, 631 - QFontMetrics(DiagramFont()).horizontalAdvance(QStringLiteral("%CutOff")));
    for (const RecordedText& t : headings) {
        if (t.TopLeft == QPoint(frontX, 231))
            QCOMPARE(t.Color, Green);
        else if (t.TopLeft == QPoint(2, 231))
            QCOMPARE(t.Color, Red);
        else
            QFAIL(qPrintable(
                QStringLiteral("%CutOff at %1,%2").arg(t.TopLeft.x()).arg(t.TopLeft.y())));
    }
    // The numbers and values are black.
    for (const RecordedText& t : r.Device.Texts())
        if (t.TopLeft.x() == 600 && t.TopLeft.y() >= 246) QCOMPARE(t.Color, QColor(Qt::black));
}

void SteamPaintTest::pressureLinesInEndColours() {
    kes::Model m = ModelWithPositions(2);
    Recorded r(m);
    int green = 0, red = 0;
    for (const RecordedLine& l : r.Device.Lines()) {
        if (l.Color == Green) ++green;
        if (l.Color == Red) ++red;
        if (l.Color != Green && l.Color != Red) continue;
        // Within the stroke, from 0 to 303 plot units.
        for (const QPoint& p : {l.Line.p1(), l.Line.p2()}) {
            QVERIFY(p.x() >= 44 && p.x() <= 584);
            QVERIFY(p.y() >= 343 - 273 && p.y() <= 343);
        }
    }
    // At least one line per drawn sample and end.
    QVERIFY(green >= 2 * 90);
    QVERIFY(red >= 2 * 90);
}

void SteamPaintTest::boldPositionLabels() {
    kes::Model m = ModelWithPositions(3);
    Recorded r(m);
    // Each position's number once per end at most, on its row (front 122,
    // rear 135) or whole text lines from it when that place was taken.
    const int line = QFontMetrics(DiagramFont(true)).height();
    QStringList seen;
    for (const RecordedText& t : r.Device.Texts()) {
        if (!t.Bold) continue;
        const int y = t.TopLeft.y();
        QVERIFY2((y - 122) % line == 0 || (y - 135) % line == 0, qPrintable(QString::number(y)));
        QVERIFY(t.Text == QLatin1String("1") || t.Text == QLatin1String("2") ||
                t.Text == QLatin1String("3"));
        seen << t.Text;
    }
    QVERIFY(seen.size() >= 3);
    for (const char* n : {"1", "2", "3"})
        QVERIFY2(seen.count(QLatin1String(n)) >= 1 && seen.count(QLatin1String(n)) <= 2, n);
}

void SteamPaintTest::nothingButTheFrameWithoutPositions() {
    kes::Model m = ModelWithPositions(0);
    Recorded r(m);
    QVERIFY(r.Device.TextsNamed(QStringLiteral("%CutOff")).empty());
    for (const RecordedLine& l : r.Device.Lines())
        QCOMPARE(l.Color, QColor(Qt::black));
}

void SteamPaintTest::settingsRestored() {
    kes::Model m = ModelWithPositions(3);
    m.RevArmSetting = 10.0f;
    m.DriverAngle = 200.0f;
    Recorded r(m);
    QCOMPARE(m.RevArmSetting, 10.0f);
    QCOMPARE(m.DriverAngle, 200.0f);
}

void SteamPaintTest::badDimensionsStillPaint() {
    kes::Model m = ModelWithPositions(2);
    m.Frame.StrokeLength = 0.0f;
    m.Cylinder[kes::ValveLengthFront] = 1e30f;
    QImage image(SteamClientSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    BeginDiagram(p);
    DiagramTextState text;
    PaintSteamDiagram(p, m, text);
    p.end();
    QCOMPARE(image.pixelColor(44, 200), QColor(Qt::black));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    SteamPaintTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "diagrams_steam_paint_test.moc"
