// SPDX-License-Identifier: GPL-3.0-or-later
// The port events drawing: event lines and their colours, the gaps, the
// "Normal" line, the legend and the annotation.

#include "analysis/port_events.h"
#include "diagrams/diagram_paint.h"
#include "diagrams/port_diagram.h"
#include "files/dimension_file.h"
#include "model/format.h"
#include "model/model.h"
#include "support/recording_paint_device.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

using namespace analysis;
using namespace diagrams;

namespace {

const QColor Teal{0, 128, 128};
const QColor Green{0, 128, 0};
const QColor Red{255, 0, 0};
const QColor Maroon{128, 0, 0};
const QColor Blue{0, 0, 255};

kes::Model FactoryModel() {
    kes::Model m;
    kes::InitialiseModel(m);
    return m;
}

// Paints one drawing on a recording device.
struct Recorded {
    RecordingPaintDevice Device{QSize(632, 414)};
    DiagramTextState Text;
    Recorded(kes::Model& m, char mode, bool annotate) {
        QPainter p(&Device);
        BeginDiagram(p);
        PaintPortDiagram(p, m, mode, annotate, Text);
    }
    std::vector<RecordedLine> LinesIn(const QColor& c) const {
        std::vector<RecordedLine> found;
        for (const RecordedLine& l : Device.Lines())
            if (l.Color == c) found.push_back(l);
        return found;
    }
};

// The crossings the sweep finds, per event, with the row of each.
struct CrossingCollector : PortEventSink {
    void RowBegun(int, float) override {}
    void Crossing(int row, PortEvent e, float travel) override {
        Rows[e].push_back(row);
        Travels[e].push_back(travel);
    }
    std::map<int, std::vector<int>> Rows;
    std::map<int, std::vector<float>> Travels;
    size_t Count(bool front) const {
        size_t n = 0;
        for (const auto& [e, rows] : Rows)
            if (IsFrontEvent(static_cast<PortEvent>(e)) == front) n += rows.size();
        return n;
    }
    size_t EventsSeen(bool front) const {
        size_t n = 0;
        for (const auto& [e, rows] : Rows)
            if (IsFrontEvent(static_cast<PortEvent>(e)) == front && !rows.empty()) ++n;
        return n;
    }
};

} // namespace

class PortPaintTest : public QObject {
    Q_OBJECT
  private slots:
    void eventLinesJoinRowsInModeColours_data();
    void eventLinesJoinRowsInModeColours();
    void noLineStartsBeforeTheSecondRowWithTheEvent();
    void eventStartingAboveMidGearJoinsFromItsFirstRow();
    void normalLineOnTopRowWhenNormIsMax();
    void legendAndHeadingsPerMode();
    void settingColumn();
    void annotationOnlyWhenAsked();
    void bothModeDrawsForwardThenReverse();
    void settingsRestored();
    void badDimensionsStillPaint();
};

void PortPaintTest::eventLinesJoinRowsInModeColours_data() {
    QTest::addColumn<char>("mode");
    QTest::addColumn<QColor>("front");
    QTest::addColumn<QColor>("rear");
    QTest::addColumn<QColor>("absent");
    QTest::newRow("forward") << 'F' << Teal << Red << Maroon;
    QTest::newRow("reverse") << 'R' << Green << Maroon << Red;
}

void PortPaintTest::eventLinesJoinRowsInModeColours() {
    QFETCH(char, mode);
    QFETCH(QColor, front);
    QFETCH(QColor, rear);
    QFETCH(QColor, absent);
    kes::Model m = FactoryModel();
    CrossingCollector crossings;
    SweepPortEvents(m, mode, crossings);
    Recorded r(m, mode, false);

    // One line per crossing after each event's first, every one of them
    // (rear admission included) in the mode's colour for its port.
    const auto frontLines = r.LinesIn(front);
    const auto rearLines = r.LinesIn(rear);
    QCOMPARE(frontLines.size(), crossings.Count(true) - crossings.EventsSeen(true));
    QCOMPARE(rearLines.size(), crossings.Count(false) - crossings.EventsSeen(false));
    QVERIFY(r.LinesIn(absent).empty());
    for (const auto* lines : {&frontLines, &rearLines}) {
        for (const RecordedLine& l : *lines) {
            // From the previous row's height to this row's.
            QCOMPARE(l.Line.y1() - l.Line.y2(), 16);
            QVERIFY(l.Line.y2() <= PortRowY(1) && l.Line.y2() >= PortRowY(PortRowCount - 1));
            QVERIFY(l.Line.x1() >= 9 && l.Line.x1() <= 549);
            QVERIFY(l.Line.x2() >= 9 && l.Line.x2() <= 549);
        }
    }
    // The rear admission line at the top row stands on the rear scale.
    const float t = crossings.Travels[RearAdmission].back();
    QVERIFY(std::any_of(rearLines.begin(), rearLines.end(), [&](const RecordedLine& l) {
        return l.Line.y2() == PortRowY(PortRowCount - 1) && l.Line.x2() == RearTravelX(t);
    }));
    QCOMPARE(RearTravelX(0.0), 549);
    QCOMPARE(FrontTravelX(0.0), 9);
    QCOMPARE(FrontTravelX(640.0), 549);
}

void PortPaintTest::noLineStartsBeforeTheSecondRowWithTheEvent() {
    kes::Model m = FactoryModel();
    Recorded r(m, 'F', false);
    for (const QColor& c : {Teal, Red}) {
        for (const RecordedLine& l : r.LinesIn(c)) {
            QVERIFY(l.Line.y2() != PortRowY(0)); // row 0 only remembers
            QVERIFY(l.Line.y1() <= PortRowY(0));
        }
    }
    // Row 0 is mid gear itself.
    const PortEventTable t = ComputePortEvents(m, 'F');
    QCOMPARE(t.Setting[0], m.MidGear());
}

void PortPaintTest::eventStartingAboveMidGearJoinsFromItsFirstRow() {
    // A shorter front exhaust cavity: the port opens to exhaust only with the
    // longer valve travels of the upper rows. The first line of the event
    // joins its first crossing, at the row below the second one, to the
    // second.
    kes::Model m = FactoryModel();
    m.Cylinder[kes::ExhCavityFront] = m.Cylinder[kes::ExhCavityFront] - 0.35f;
    CrossingCollector c;
    SweepPortEvents(m, 'F', c);
    const std::vector<int>& rows = c.Rows[FrontRelease];
    QVERIFY2(!rows.empty() && rows.front() > 0, "the front release should start above mid gear");
    QVERIFY(rows.size() >= 2);
    Recorded r(m, 'F', false);
    const int x1 = FrontTravelX(c.Travels[FrontRelease][0]);
    const int x2 = FrontTravelX(c.Travels[FrontRelease][1]);
    const auto teal = r.LinesIn(Teal);
    QVERIFY(std::any_of(teal.begin(), teal.end(), [&](const RecordedLine& l) {
        return l.Line == QLine(x1, PortRowY(rows[1] - 1), x2, PortRowY(rows[1]));
    }));
    // Front release never drawn to a row without it.
    const PortEventTable t = ComputePortEvents(m, 'F');
    QVERIFY(!t.Found(0, FrontRelease));
}

void PortPaintTest::normalLineOnTopRowWhenNormIsMax() {
    kes::Model m = FactoryModel();
    m.Frame.RevArmNorm = m.Frame.RevArmMax;
    Recorded r(m, 'F', false);
    const auto blue = r.LinesIn(Blue);
    QCOMPARE(blue.size(), size_t(1));
    QCOMPARE(blue[0].Line, QLine(59, PortRowY(PortRowCount - 1), 549, PortRowY(PortRowCount - 1)));
    const auto normal = r.Device.TextsNamed(QStringLiteral("Normal"));
    QCOMPARE(normal.size(), size_t(1));
    QCOMPARE(normal[0].TopLeft, QPoint(345, PortRowY(PortRowCount - 1) - 7));
    QCOMPARE(normal[0].Color, Blue);

    // The factory values put it at 1.5/1.7 of the height.
    kes::Model f = FactoryModel();
    Recorded rf(f, 'F', false);
    QCOMPARE(rf.LinesIn(Blue)[0].Line.y1(), 343 - 254); // nint(343 - 1.5*288/1.7) = 89
}

void PortPaintTest::legendAndHeadingsPerMode() {
    kes::Model m = FactoryModel();
    Recorded f(m, 'F', false);
    QCOMPARE(f.Device.TextsNamed(QStringLiteral("Fwd."))[0].TopLeft, QPoint(415, 290));
    QCOMPARE(f.Device.TextsNamed(QStringLiteral("Front Port"))[0].Color, Teal);
    QCOMPARE(f.Device.TextsNamed(QStringLiteral("Rear Port"))[0].Color, Red);
    QCOMPARE(f.Device.TextsNamed(QStringLiteral("Forward")).size(), size_t(PortRowCount));
    QCOMPARE(f.Device.TextsNamed(QStringLiteral("Forward"))[0].TopLeft, QPoint(554, 32));
    QVERIFY(f.Device.TextsNamed(QStringLiteral("Rev.")).empty());
    QCOMPARE(f.Device.TextsNamed(QStringLiteral("Maximum"))[0].Color, Red);
    QCOMPARE(f.Device.TextsNamed(QStringLiteral("Percent Piston Travel"))[0].TopLeft,
             QPoint(200, 367));
    // The letters down the right edge, "I" two pixels to the right.
    QCOMPARE(f.Device.TextsNamed(QStringLiteral("I")).size(), size_t(2));
    for (const RecordedText& t : f.Device.TextsNamed(QStringLiteral("I")))
        QCOMPARE(t.TopLeft.x(), 537);
    QCOMPARE(f.Device.TextsNamed(QStringLiteral("N"))[0].TopLeft, QPoint(535, 322));

    Recorded r(m, 'R', false);
    const auto rev = r.Device.TextsNamed(QStringLiteral("Rev."));
    QCOMPARE(rev.size(), size_t(PortRowCount + 1));
    QCOMPARE(rev[0].TopLeft, QPoint(415, 321));
    QCOMPARE(rev[1].TopLeft, QPoint(605, 32));
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("Front Port"))[0].TopLeft, QPoint(446, 315));
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("Front Port"))[0].Color, Green);
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("Rear Port"))[0].Color, Maroon);
}

void PortPaintTest::settingColumn() {
    // The reverse-arm axis is labelled at round steps (1, 2 or 5 x 10^n), at
    // least a row apart, each label at the height of its setting.
    QCOMPARE(RoundAxisStep(1.7, 288, 16), 0.1);
    QCOMPARE(RoundAxisStep(2.21, 288, 16), 0.2);
    QCOMPARE(RoundAxisStep(0.9, 288, 16), 0.05);
    QCOMPARE(RoundAxisStep(40.0, 288, 16), 5.0);
    for (const char* design : {"", "big-engine.kvd"}) {
        kes::Model m = FactoryModel();
        if (*design)
            QVERIFY(kes::LoadDimensionsByExtension(m, KESTROVE_TEST_DATA "/big-engine.kvd").Ok);
        for (char mode : {'F', 'R'}) {
            Recorded r(m, mode, false);
            const int x = mode == 'F' ? 556 : 596;
            const double mid = PortRowSetting(m, mode, 0), max = m.Frame.RevArmMax;
            std::vector<std::pair<double, int>> labels; // value, top
            for (const RecordedText& t : r.Device.Texts()) {
                bool ok = false;
                const double v = t.Text.trimmed().toDouble(&ok);
                if (ok && t.TopLeft.x() >= x - 40 && t.TopLeft.y() <= 336)
                    labels.emplace_back(v, t.TopLeft.y());
            }
            QVERIFY2(labels.size() >= 5, design);
            std::sort(labels.begin(), labels.end());
            const double step = std::fabs(labels[1].first - labels[0].first);
            const double decade = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
            const double f = step / decade;
            QVERIFY2(std::fabs(f - 1) < 1e-6 || std::fabs(f - 2) < 1e-6 || std::fabs(f - 5) < 1e-6,
                     qPrintable(QString::number(step)));
            for (size_t i = 0; i < labels.size(); ++i) {
                const double v = labels[i].first;
                const double offset = mode == 'F' ? v - mid : mid - v;
                QVERIFY(offset >= -1e-6 && offset <= max + 1e-6);
                QVERIFY(std::fabs(std::remainder(v, step)) < 1e-6);
                const double y = 343 - offset * 288 / max;
                QVERIFY(std::abs(labels[i].second - (y - 7)) <= 1);
                if (i > 0) {
                    QVERIFY(std::fabs(v - labels[i - 1].first - step) < 1e-6);
                    QVERIFY(std::abs(labels[i].second - labels[i - 1].second) >= 16);
                }
            }
        }
    }
}

void PortPaintTest::annotationOnlyWhenAsked() {
    kes::Model m = FactoryModel();
    Recorded with(m, 'F', true);
    Recorded without(m, 'F', false);
    const PortEventTable t = ComputePortEvents(m, 'F');
    // The annotation's x positions come from row 13.
    const int C = Nint(0.84375 * t.LastTravel[13][FrontCutOff] + 9);
    const int P = Nint(0.84375 * t.LastTravel[13][FrontCompression] + 9);
    const int R = Nint(0.84375 * t.LastTravel[13][FrontRelease] + 9);
    for (const auto& [name, pos] :
         std::vector<std::pair<QString, QPoint>>{{QStringLiteral("Exp"), QPoint(C + 10, 129)},
                                                 {QStringLiteral("Exh"), QPoint(R - 190, 163)},
                                                 {QStringLiteral("Com"), QPoint(P - 25, 129)},
                                                 {QStringLiteral("Adm"), QPoint(C - 140, 95)}}) {
        const auto found = with.Device.TextsNamed(name);
        QCOMPARE(found.size(), size_t(1));
        QCOMPARE(found[0].TopLeft, pos);
        QVERIFY(found[0].Bold);
        QVERIFY(without.Device.TextsNamed(name).empty());
    }
    QVERIFY(with.Device.Lines().size() > without.Device.Lines().size());
    // The arrow heads are closed, filled triangles: above the line through
    // their tips (y 135) they are ink, not two sides with white between.
    QImage img(632, 414, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        BeginDiagram(p);
        DiagramTextState text;
        PaintPortDiagram(p, m, 'F', true, text);
    }
    auto inkAbove = [&](int tip, int towardsBase) {
        int ink = 0;
        for (int k = 6; k <= 9; ++k)
            if (img.pixel(tip + towardsBase * k, 133) != qRgb(255, 255, 255)) ++ink;
        return ink;
    };
    QCOMPARE(inkAbove(C, -1), 4); // expansion, base to the left
    QCOMPARE(inkAbove(R, -1), 4); // exhaust
    QCOMPARE(inkAbove(P, +1), 4); // compression, base to the right
}

void PortPaintTest::bothModeDrawsForwardThenReverse() {
    kes::Model m = FactoryModel();
    QImage both(632, 414, QImage::Format_RGB32);
    both.fill(Qt::white);
    {
        QPainter p(&both);
        BeginDiagram(p);
        DiagramTextState text;
        PaintPortDiagram(p, m, 'B', true, text);
    }
    QImage sequence(632, 414, QImage::Format_RGB32);
    sequence.fill(Qt::white);
    {
        QPainter p(&sequence);
        BeginDiagram(p);
        DiagramTextState text;
        PaintPortDiagram(p, m, 'F', true, text);
        PaintPortDiagram(p, m, 'R', false, text);
    }
    // The same picture, but for the forward settings column, which makes
    // room for the reverse one beside it.
    for (int y = 0; y < both.height(); ++y)
        for (int x = 0; x < 550; ++x)
            QVERIFY(both.pixel(x, y) == sequence.pixel(x, y));
    Recorded r(m, 'B', true);
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("Exp")).size(), size_t(1));
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("Fwd.")).size(), size_t(1));
    QCOMPARE(r.Device.TextsNamed(QStringLiteral("Rev.")).size(), size_t(PortRowCount + 1));
}

void PortPaintTest::settingsRestored() {
    kes::Model m = FactoryModel();
    m.RevArmSetting = 9.5f;
    m.DriverAngle = 77.0f;
    Recorded r(m, 'B', true);
    QCOMPARE(m.RevArmSetting, 9.5f);
    QCOMPARE(m.DriverAngle, 77.0f);
    QCOMPARE(m.PortGraphMode, 'F'); // the drawing does not change the mode
}

void PortPaintTest::badDimensionsStillPaint() {
    kes::Model m = FactoryModel();
    m.Frame.RevArmMax = 0.0f; // the "Normal" line has no finite height
    m.Frame.StrokeLength = 0.0f;
    QImage image(632, 414, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    BeginDiagram(p);
    DiagramTextState text;
    PaintPortDiagram(p, m, 'B', true, text);
    p.end();
    QCOMPARE(image.pixelColor(9, 200), QColor(Qt::black)); // the frame is there
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    PortPaintTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "diagrams_port_paint_test.moc"
