// SPDX-License-Identifier: GPL-3.0-or-later
// The oval diagram painted headless: a closed loop per position spanning the
// stroke, its labels, the port-edge lines and the mid-gear read-outs.

#include "diagram_test_support.h"
#include "diagrams/oval_diagram.h"
#include "model/format.h"

#include <QtTest>

#include <cmath>

using diagrams::OvalClientSize;
using diagrams::PaintOvalDiagram;

namespace {

constexpr int SegmentsPerLoop = 45; // samples 7 .. 52

QString Fixed(double v, int w, int d) {
    return QString::fromStdString(kes::FormatFixed(v, w, d));
}

std::vector<std::vector<QLine>> Loops(const RecordingPaintDevice& rec) {
    const std::vector<QLine> lines = CurveLines(rec);
    std::vector<std::vector<QLine>> loops;
    for (size_t i = 0; i + SegmentsPerLoop <= lines.size(); i += SegmentsPerLoop)
        loops.emplace_back(lines.begin() + static_cast<long>(i),
                           lines.begin() + static_cast<long>(i + SegmentsPerLoop));
    return loops;
}

} // namespace

class OvalDiagramTest : public QObject {
    Q_OBJECT
  private slots:
    void frameAndAxis();
    void loopsAreClosedAndSpanTheStroke();
    void pistonCoordinate();
    void labelHeightsSwapWithReadoutMode();
    void portEdgeLinesEndAt584();
    void readoutsOnlyNearMidGear_data();
    void readoutsOnlyNearMidGear();
    void settingsRestored();
    void mainRodShorterThanCrankDoesNotCrash();
};

void OvalDiagramTest::frameAndAxis() {
    auto m = FactoryModel();
    RecordingPaintDevice rec(OvalClientSize);
    PaintToRecorder(&PaintOvalDiagram, *m, rec);
    int shortTicks = 0, longTicks = 0, deadCentres = 0;
    for (const RecordedLine& l : rec.Lines()) {
        const QLine& line = l.Line;
        if (line.dx() != 0) continue;
        const int row = (line.y1() - 50) / 32;
        if (line.y1() == 32 * row + 52 && line.y2() == 32 * row + 58 && (line.x1() - 71) % 27 == 0)
            ++shortTicks;
        if (line.y1() == 32 * row + 50 && line.y2() == 32 * row + 60 && (line.x1() - 98) % 54 == 0)
            ++longTicks;
        if ((line.x1() == 44 || line.x1() == 584) && line.y1() == 84 && line.y2() == 346)
            ++deadCentres;
    }
    QCOMPARE(shortTicks, 9 * 19);
    QCOMPARE(longTicks, 9 * 9);
    QCOMPARE(deadCentres, 2);
    QCOMPARE(TextAt(rec, {45, 353})->Text, QString("100"));
    QCOMPARE(TextAt(rec, {523, 353})->Text, QString("10"));
    QCOMPARE(TextAt(rec, {577, 348})->Text, QString("0"));
    QCOMPARE(TextAt(rec, {186, 367})->Text, QString("Percent Piston Travel"));
    QCOMPARE(TextAt(rec, {386, 367})->Text, QString("Forward End --->"));
    // The vertical axis as on the sine diagram, its labels at x 15.
    QCOMPARE(TextAt(rec, {15, 60})->Text, QString("0.6"));
    QCOMPARE(TextAt(rec, {15, 360})->Text, QString("-0.6"));
    QCOMPARE(TextAt(rec, {9, 18})->Text, QString("Scale ="));
}

void OvalDiagramTest::loopsAreClosedAndSpanTheStroke() {
    auto m = FactoryModel();
    const float mid = m->MidGear();
    SetPositions(*m, {mid, mid + 1.5f, mid - 1.5f, mid + 0.7f});
    RecordingPaintDevice rec(OvalClientSize);
    PaintToRecorder(&PaintOvalDiagram, *m, rec);
    const auto loops = Loops(rec);
    QCOMPARE(static_cast<int>(loops.size()), 4);
    QCOMPARE(static_cast<int>(CurveLines(rec).size()), 4 * SegmentsPerLoop);
    for (size_t n = 0; n < loops.size(); ++n) {
        const auto& loop = loops[n];
        // The first and the last sample are both at 32 degrees.
        QCOMPARE(loop.back().p2(), loop.front().p1());
        for (size_t i = 1; i < loop.size(); ++i)
            QCOMPARE(loop[i].p1(), loop[i - 1].p2());
        int minX = 10000, maxX = -10000;
        for (const QLine& l : loop) {
            minX = std::min({minX, l.x1(), l.x2()});
            maxX = std::max({maxX, l.x1(), l.x2()});
        }
        QCOMPARE(minX, 44);
        QCOMPARE(maxX, 584);
        const float position = m->RevArmPositions[n + 1];
        QCOMPARE(loop.front().p1(), QPoint(diagrams::OvalPistonX(*m, 32.0),
                                           PixelY(ValveOffsetAt(*m, position, 32.0f), 1.5)));
    }
    // The loops differ with the reverse arm.
    QVERIFY(loops[1] != loops[2]);
}

void OvalDiagramTest::pistonCoordinate() {
    auto m = FactoryModel();
    QCOMPARE(diagrams::OvalPistonX(*m, 0.0), 584);
    QCOMPARE(diagrams::OvalPistonX(*m, 180.0), 44);
    QCOMPARE(diagrams::OvalPistonX(*m, 360.0), 584);
    // Mid stroke lies left of the centre: the rod's angularity.
    const int x90 = diagrams::OvalPistonX(*m, 90.0);
    QVERIFY(x90 < 314 && x90 > 280);
    QCOMPARE(diagrams::OvalPistonX(*m, 270.0), x90);
}

void OvalDiagramTest::labelHeightsSwapWithReadoutMode() {
    auto m = FactoryModel();
    const float position = m->MidGear() + 1.5f;
    SetPositions(*m, {position});
    const double v21 = ValveOffsetAt(*m, position, 88.0f - 8 * 21 + 360.0f);
    const double v45 = ValveOffsetAt(*m, position, 88.0f - 8 * 45 + 360.0f);
    const double k = 375.0 / 1.5;

    RecordingPaintDevice normal(OvalClientSize);
    PaintToRecorder(&PaintOvalDiagram, *m, normal);
    auto labels = normal.TextsNamed(" 1");
    QCOMPARE(static_cast<int>(labels.size()), 2);
    QCOMPARE(labels[0].TopLeft, QPoint(300, kes::RoundHalfEven(204 - v21 * k)));
    QCOMPARE(labels[1].TopLeft, QPoint(334, kes::RoundHalfEven(213 - v45 * k)));
    QVERIFY(labels[0].Bold && labels[1].Bold);

    m->Cylinder[kes::ValveLengthRear] = m->Cylinder[kes::SteamPortWidthRear] - 0.01f;
    RecordingPaintDevice other(OvalClientSize);
    PaintToRecorder(&PaintOvalDiagram, *m, other);
    labels = other.TextsNamed(" 1");
    QCOMPARE(static_cast<int>(labels.size()), 2);
    QCOMPARE(labels[0].TopLeft, QPoint(300, kes::RoundHalfEven(213 - v21 * k)));
    QCOMPARE(labels[1].TopLeft, QPoint(334, kes::RoundHalfEven(204 - v45 * k)));
}

void OvalDiagramTest::portEdgeLinesEndAt584() {
    auto m = FactoryModel();
    kes::SolveLinkage(*m);
    const kes::SolverOutputs s = m->Solver;
    const double k = 375.0 / 1.5;
    RecordingPaintDevice rec(OvalClientSize);
    PaintToRecorder(&PaintOvalDiagram, *m, rec);
    int coloured = 0;
    for (const RecordedLine& l : rec.Lines()) {
        if (l.Color.rgb() == QColor(Qt::black).rgb()) continue;
        ++coloured;
        QCOMPARE(l.Line.x1(), 15);
        QCOMPARE(l.Line.x2(), 584);
    }
    QCOMPARE(coloured, 6);
    QCOMPARE(TextAt(rec, {430, kes::RoundHalfEven(199 - s.FrontSteamOpenLevel() * k)})->Text,
             QString("Front Steam Port Open"));
    QCOMPARE(TextAt(rec, {430, kes::RoundHalfEven(216 - s.FrontSteamMaxLevel() * k)})->Text,
             QString("Front Steam Port Max"));
    QCOMPARE(TextAt(rec, {75, kes::RoundHalfEven(216 - s.FrontExhaustOpenLevel() * k)})->Text,
             QString("Front Exhaust Port Open"));
    QCOMPARE(TextAt(rec, {75, kes::RoundHalfEven(216 + s.RearSteamOpenLevel() * k)})->Text,
             QString("Rear Steam Port Open"));
    QCOMPARE(TextAt(rec, {75, kes::RoundHalfEven(199 + s.RearSteamMaxLevel() * k)})->Text,
             QString("Rear Steam Port Max"));
    QCOMPARE(TextAt(rec, {430, kes::RoundHalfEven(199 + s.RearExhaustOpenLevel() * k)})->Text,
             QString("Rear Exhaust Port Open"));
}

void OvalDiagramTest::readoutsOnlyNearMidGear_data() {
    QTest::addColumn<float>("offset");
    QTest::addColumn<bool>("readouts");
    QTest::newRow("mid gear") << 0.0f << true;
    QTest::newRow("+0.04") << 0.04f << true;
    QTest::newRow("+0.05") << 0.05f << false;
    QTest::newRow("-0.05") << -0.05f << false;
}

void OvalDiagramTest::readoutsOnlyNearMidGear() {
    QFETCH(float, offset);
    QFETCH(bool, readouts);
    auto m = FactoryModel();
    SetPositions(*m, {m->MidGear() + offset});
    RecordingPaintDevice rec(OvalClientSize);
    PaintToRecorder(&PaintOvalDiagram, *m, rec);
    QCOMPARE(static_cast<int>(rec.TextsNamed("Lead").size()), readouts ? 2 : 0);
    if (readouts) {
        QCOMPARE(TextAt(rec, {592, 195})->Text, Fixed(m->Solver.FrontSteamLap, 6, 3));
        QCOMPARE(TextAt(rec, {592, 224})->Text, Fixed(m->Solver.FrontExhaustLap, 6, 3));
    }
}

void OvalDiagramTest::settingsRestored() {
    auto m = FactoryModel();
    m->RevArmSetting = 9.75f;
    m->DriverAngle = 271.0f;
    PaintToImage(&PaintOvalDiagram, *m, OvalClientSize);
    QCOMPARE(m->RevArmSetting, 9.75f);
    QCOMPARE(m->DriverAngle, 271.0f);
}

void OvalDiagramTest::mainRodShorterThanCrankDoesNotCrash() {
    auto m = FactoryModel();
    m->Frame.MainRodLength = 1.0f; // the crank radius is 1.75
    m->SolveError = false;
    RecordingPaintDevice rec(OvalClientSize);
    PaintToRecorder(&PaintOvalDiagram, *m, rec);
    QCOMPARE(static_cast<int>(Loops(rec).size()), m->RevArmPositionCount);
    QVERIFY(m->SolveError);
    m->Frame.StrokeLength = 0.0f;
    PaintToImage(&PaintOvalDiagram, *m, OvalClientSize);
}

KESTROVE_DIAGRAM_TEST_MAIN(OvalDiagramTest)
#include "diagrams_oval_test.moc"
