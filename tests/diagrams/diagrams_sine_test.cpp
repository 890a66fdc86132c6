// SPDX-License-Identifier: GPL-3.0-or-later
// The sine diagram painted headless: frame, axes, curves, port-edge lines,
// read-outs, the dynamic-variable block and the undo line.

#include "diagram_test_support.h"
#include "diagrams/sine_diagram.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/format.h"

#include <QFontMetrics>
#include <QtTest>

#include <cmath>
#include <set>

using diagrams::PaintSineDiagram;
using diagrams::SineClientSize;

namespace {

QString Fixed(double v, int w, int d) {
    return QString::fromStdString(kes::FormatFixed(v, w, d));
}

float SampleAngle(int j) {
    float a = static_cast<float>(8 * j + 272);
    while (a > 360.0f)
        a -= 360.0f;
    return a;
}

// Jmin and Jmax over the sine sweep, solved here.
std::pair<double, double> JointRange(kes::Model& m, float setting) {
    double lo = 1e9, hi = -1e9;
    for (int j = 7; j <= 73; ++j) {
        const float saved = m.RevArmSetting;
        m.RevArmSetting = setting;
        m.DriverAngle = SampleAngle(j);
        kes::SolveLinkage(m);
        lo = std::min(lo, static_cast<double>(m.Points[kes::ValveStemJoint].X));
        hi = std::max(hi, static_cast<double>(m.Points[kes::ValveStemJoint].X));
        m.RevArmSetting = saved;
    }
    return {lo, hi};
}

} // namespace

class SineDiagramTest : public QObject {
    Q_OBJECT
  private slots:
    void backgroundTicks();
    void verticalAxis_data();
    void verticalAxis();
    void curveRunsFrom58To586();
    void portEdgeLines();
    void portEdgeLinesFollowAChangedDimension();
    void positionTableAndReadouts_data();
    void positionTableAndReadouts();
    void readoutValuesNormalMode();
    void readoutValuesOtherMode();
    void twoPositionsNearMidGearPrintTwice();
    void dynVarBlockWithoutDimensions();
    void dynVarBlockWithDimensionsAndLargeFont();
    void undoLineShowsPreviousThenRebuilds();
    void settingsRestored();
    void noPositionsDrawsFrameOnly();
    void badVerticalScaleNeitherHangsNorCrashes_data();
    void badVerticalScaleNeitherHangsNorCrashes();
    void farPortEdgesAreHeldOffThePicture();
    void unusedSlotBetweenPositionsIsSkipped();
};

void SineDiagramTest::backgroundTicks() {
    auto m = FactoryModel();
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);
    std::set<std::tuple<int, int, int, int>> lines;
    for (const RecordedLine& l : rec.Lines())
        lines.insert({l.Line.x1(), l.Line.y1(), l.Line.x2(), l.Line.y2()});
    for (int i = 1; i <= 9; ++i) {
        for (int x = 60; x <= 580; x += 10)
            QVERIFY(lines.count({x, 32 * i + 53, x, 32 * i + 57}));
        for (int x = 90; x <= 540; x += 90)
            QVERIFY(lines.count({x, 32 * i + 50, x, 32 * i + 60}));
    }
    // Row 2 is clear of curves and port lines: its strokes show as drawn.
    const QImage image = PaintToImage(&PaintSineDiagram, *m, SineClientSize);
    QVERIFY(IsDark(image, 60, 117) && IsDark(image, 60, 121));
    QVERIFY(IsWhite(image, 60, 116) && IsWhite(image, 60, 122) && IsWhite(image, 61, 119));
    QVERIFY(IsDark(image, 90, 114) && IsDark(image, 90, 124));
    QVERIFY(IsWhite(image, 90, 113) && IsWhite(image, 90, 125));
    // Row 5 is the zero line.
    QVERIFY(lines.count({70, 213, 70, 217}));
}

void SineDiagramTest::verticalAxis_data() {
    QTest::addColumn<float>("scale");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("shortTicks");
    QTest::newRow("1.5") << 1.5f
                         << QStringList{"0.6",  "0.5",  "0.4",  "0.3",  "0.2",  "0.1", "0.0",
                                        "-0.1", "-0.2", "-0.3", "-0.4", "-0.5", "-0.6"}
                         << 61;
    QTest::newRow("4.0") << 4.0f << QStringList{"1.5", "1.0", "0.5", "0.0", "-0.5", "-1.0", "-1.5"}
                         << 33;
}

void SineDiagramTest::verticalAxis() {
    QFETCH(float, scale);
    QFETCH(QStringList, labels);
    QFETCH(int, shortTicks);
    auto m = FactoryModel();
    SetPositions(*m, {m->MidGear() + 1.5f});
    m->VerticalScale = scale;
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);

    // Labels at x 14, top to bottom, each 5 pixels above its tick.
    QStringList found;
    std::vector<int> labelTops;
    for (const RecordedText& t : rec.Texts())
        if (t.TopLeft.x() == 14) {
            found << t.Text;
            labelTops.push_back(t.TopLeft.y());
        }
    std::vector<std::pair<int, QString>> sorted;
    for (size_t i = 0; i < labelTops.size(); ++i)
        sorted.push_back({labelTops[i], found[i]});
    std::sort(sorted.begin(), sorted.end());
    QStringList topToBottom;
    for (const auto& s : sorted)
        topToBottom << s.second;
    QCOMPARE(topToBottom, labels);

    std::vector<int> longY, shortY;
    for (const RecordedLine& l : rec.Lines()) {
        if (l.Line.y1() != l.Line.y2() || l.Line.x2() != 44) continue;
        if (l.Line.x1() == 36) longY.push_back(l.Line.y1());
        if (l.Line.x1() == 39) shortY.push_back(l.Line.y1());
    }
    QCOMPARE(static_cast<int>(longY.size()), labels.size());
    QCOMPARE(static_cast<int>(shortY.size()), shortTicks);
    // The axis spans +-150 pixels about the zero line at 215.
    QCOMPARE(*std::min_element(shortY.begin(), shortY.end()), 65);
    QCOMPARE(*std::max_element(shortY.begin(), shortY.end()), 365);
    for (const auto& s : sorted) {
        const double value = s.second.toDouble();
        QCOMPARE(s.first, kes::RoundHalfEven(210.0 - value * 375.0 / scale));
    }
    if (qFuzzyCompare(scale, 1.5f)) {
        // 0.1 unit is 25 pixels, 0.02 unit 5 pixels.
        for (int l = -6; l <= 6; ++l)
            QVERIFY(std::count(longY.begin(), longY.end(), 215 + 25 * l) == 1);
        for (int h = -30; h <= 30; ++h)
            QVERIFY(std::count(shortY.begin(), shortY.end(), 215 + 5 * h) == 1);
    }
    QVERIFY(TextAt(rec, {9, 18}) && TextAt(rec, {9, 18})->Text == "Scale =");
    // The scale at x 50, or further right when "Scale =" reaches x 50 in
    // the font in use; never over it.
    const RecordedText* scaleValue = nullptr;
    for (const RecordedText& t : rec.Texts())
        if (t.TopLeft.y() == 18 && t.Text == Fixed(scale, 3, 1)) scaleValue = &t;
    QVERIFY(scaleValue);
    const QFontMetrics metrics(diagrams::DiagramFont());
    QCOMPARE(scaleValue->TopLeft.x(),
             std::max(50, 9 + metrics.horizontalAdvance(QStringLiteral("Scale = "))));
    QCOMPARE(TextAt(rec, {9, 46})->Text, QString("Front"));
    QCOMPARE(TextAt(rec, {9, 374})->Text, QString("Rear"));
    QCOMPARE(TextAt(rec, {9, 32})->Text, QString("Units Travel"));
}

void SineDiagramTest::curveRunsFrom58To586() {
    auto m = FactoryModel();
    const float position = m->MidGear() + 1.5f;
    SetPositions(*m, {position});
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);

    const std::vector<QLine> curve = CurveLines(rec);
    QCOMPARE(static_cast<int>(curve.size()), 66);
    const int y7 = PixelY(ValveOffsetAt(*m, position, 328.0f), 1.5);
    const int y73 = PixelY(ValveOffsetAt(*m, position, 136.0f), 1.5);
    QCOMPARE(curve.front().p1(), QPoint(58, y7));
    QCOMPARE(curve.back().p2(), QPoint(586, y73));
    for (size_t i = 0; i < curve.size(); ++i) {
        QCOMPARE(curve[i].dx(), 8);
        if (i > 0) QCOMPARE(curve[i].p1(), curve[i - 1].p2());
    }
    // The position number, bold, at x 45 and the height of the 328 degree sample.
    const auto labels = rec.TextsNamed(" 1");
    QCOMPARE(static_cast<int>(labels.size()), 1);
    QCOMPARE(labels[0].TopLeft, QPoint(45, y7));
    QVERIFY(labels[0].Bold);

    const QImage image = PaintToImage(&PaintSineDiagram, *m, SineClientSize);
    QVERIFY(IsDark(image, 58, y7));
    QVERIFY(IsDark(image, 586, y73));
    QVERIFY(!IsDark(image, 587, y73));
}

void SineDiagramTest::portEdgeLines() {
    auto m = FactoryModel();
    kes::SolveLinkage(*m);
    const kes::SolverOutputs s = m->Solver;
    const double k = 375.0 / 1.5;
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);

    std::vector<QLine> green, red;
    for (const RecordedLine& l : rec.Lines()) {
        if (l.Color == QColor(0, 255, 0)) green.push_back(l.Line);
        if (l.Color == QColor(255, 0, 0)) red.push_back(l.Line);
    }
    const std::vector<int> greenY = {PixelY(s.FrontSteamOpenLevel(), 1.5),
                                     PixelY(s.FrontSteamMaxLevel(), 1.5),
                                     PixelY(s.FrontExhaustOpenLevel(), 1.5)};
    const std::vector<int> redY = {kes::RoundHalfEven(215 + s.RearSteamOpenLevel() * k),
                                   kes::RoundHalfEven(215 + s.RearSteamMaxLevel() * k),
                                   kes::RoundHalfEven(215 + s.RearExhaustOpenLevel() * k)};
    QCOMPARE(static_cast<int>(green.size()), 3);
    QCOMPARE(static_cast<int>(red.size()), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(green[static_cast<size_t>(i)],
                 QLine(15, greenY[static_cast<size_t>(i)], 583, greenY[static_cast<size_t>(i)]));
        QCOMPARE(red[static_cast<size_t>(i)],
                 QLine(15, redY[static_cast<size_t>(i)], 583, redY[static_cast<size_t>(i)]));
    }
    // The front levels lie below the zero line (a lap), the rear ones above.
    QVERIFY(greenY[0] > 215 && redY[0] < 215);

    const QImage image = PaintToImage(&PaintSineDiagram, *m, SineClientSize);
    for (int y : greenY) {
        // A rear line on the same level is drawn over the front one.
        if (std::count(redY.begin(), redY.end(), y)) continue;
        QVERIFY(IsColour(image, 15, y, QColor(0, 255, 0)));
        QVERIFY(IsColour(image, 20, y, QColor(0, 255, 0)));
        QVERIFY(!IsColour(image, 14, y, QColor(0, 255, 0)));
    }
    for (int y : redY)
        QVERIFY(IsColour(image, 20, y, QColor(255, 0, 0)));

    QCOMPARE(TextAt(rec, {60, kes::RoundHalfEven(199 - s.FrontSteamOpenLevel() * k)})->Text,
             QString("Front Steam Port Open"));
    QCOMPARE(TextAt(rec, {60, kes::RoundHalfEven(216 - s.FrontSteamMaxLevel() * k)})->Text,
             QString("Front Steam Port Max"));
    QCOMPARE(TextAt(rec, {230, kes::RoundHalfEven(216 - s.FrontExhaustOpenLevel() * k)})->Text,
             QString("Front Exhaust Port Open"));
    QCOMPARE(TextAt(rec, {230, kes::RoundHalfEven(216 + s.RearSteamOpenLevel() * k)})->Text,
             QString("Rear Steam Port Open"));
    QCOMPARE(TextAt(rec, {230, kes::RoundHalfEven(199 + s.RearSteamMaxLevel() * k)})->Text,
             QString("Rear Steam Port Max"));
    QCOMPARE(TextAt(rec, {60, kes::RoundHalfEven(199 + s.RearExhaustOpenLevel() * k)})->Text,
             QString("Rear Exhaust Port Open"));
    // The labels are black: only the lines are coloured.
    for (const auto& t : rec.TextsNamed("Rear Steam Port Max"))
        QCOMPARE(t.Color, QColor(Qt::black));
}

void SineDiagramTest::portEdgeLinesFollowAChangedDimension() {
    // A dynamic variable changes a valve dimension while the timer is
    // stopped: the very next drawing shows the new port edges.
    auto m = FactoryModel();
    kes::SolveLinkage(*m);
    const float oldLevel = m->Solver.FrontSteamOpenLevel();
    m->Cylinder[kes::ValveLengthFront] += 0.1f;
    QCOMPARE(m->Solver.FrontSteamOpenLevel(), oldLevel); // not solved yet
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);
    const QLine first = [&] {
        for (const RecordedLine& l : rec.Lines())
            if (l.Color == QColor(0, 255, 0)) return l.Line;
        return QLine();
    }();
    QCOMPARE(first.y1(), PixelY(oldLevel - 0.1, 1.5));
}

void SineDiagramTest::positionTableAndReadouts_data() {
    QTest::addColumn<float>("offset");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<bool>("readouts");
    QTest::newRow("at mid gear") << 0.0f << "Cen" << true;
    QTest::newRow("+0.04") << 0.04f << "Fwd" << true;
    QTest::newRow("-0.04") << -0.04f << "Rev" << true;
    QTest::newRow("+0.05") << 0.05f << "Fwd" << false;
    QTest::newRow("-0.05") << -0.05f << "Rev" << false;
    QTest::newRow("full forward") << 1.5f << "Fwd" << false;
}

void SineDiagramTest::positionTableAndReadouts() {
    QFETCH(float, offset);
    QFETCH(QString, direction);
    QFETCH(bool, readouts);
    auto m = FactoryModel();
    const float position = m->MidGear() + offset;
    SetPositions(*m, {position});
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);

    QCOMPARE(TextAt(rec, {500, 0})->Text, QString("Reverse Arm Positions"));
    QCOMPARE(TextAt(rec, {520, 13})->Text, QString("Center"));
    QCOMPARE(TextAt(rec, {580, 13})->Text, Fixed(m->MidGear(), 6, 3));
    QCOMPARE(TextAt(rec, {545, 24})->Text, QString("    1"));
    QCOMPARE(TextAt(rec, {580, 24})->Text, Fixed(position, 6, 3));
    QCOMPARE(TextAt(rec, {533, 24})->Text, direction);

    QCOMPARE(static_cast<int>(rec.TextsNamed("Lead").size()), readouts ? 2 : 0);
    QCOMPARE(static_cast<int>(rec.TextsNamed("Lap").size()), readouts ? 2 : 0);
    QCOMPARE(static_cast<int>(rec.TextsNamed("ExCl").size()), readouts ? 1 : 0);
    QCOMPARE(TextAt(rec, {592, 166}) != nullptr, readouts);
    if (readouts) {
        QVERIFY(TextAt(rec, {595, 153})->Text == "Lead" && TextAt(rec, {595, 282})->Text == "Lead");
        QVERIFY(TextAt(rec, {595, 182})->Text == "Lap" && TextAt(rec, {595, 253})->Text == "Lap");
        QCOMPARE(TextAt(rec, {595, 211})->Text, QString("ExCl"));
    }
}

void SineDiagramTest::readoutValuesNormalMode() {
    auto m = FactoryModel();
    const float mid = m->MidGear();
    SetPositions(*m, {mid});
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);

    // Laps and clearances are the valve's own dimensions in the normal mode.
    const kes::SolverOutputs& s = m->Solver;
    QCOMPARE(TextAt(rec, {592, 195})->Text, Fixed(s.FrontSteamLap, 6, 3));
    QCOMPARE(TextAt(rec, {592, 224})->Text, Fixed(s.FrontExhaustLap, 6, 3));
    QCOMPARE(TextAt(rec, {592, 237})->Text, Fixed(s.RearExhaustLap, 6, 3));
    QCOMPARE(TextAt(rec, {592, 266})->Text, Fixed(s.RearSteamLap, 6, 3));
    // The leads come from the valve's extreme travel at mid gear.
    const auto [jmin, jmax] = JointRange(*m, mid);
    const double toValve =
        static_cast<double>(m->Cylinder[kes::ValveCtrToJoint]) - m->Cylinder[kes::CylCtrToDriver];
    QCOMPARE(TextAt(rec, {592, 166})->Text, Fixed(jmax + toValve + s.RearSteamOpenLevel(), 6, 3));
    QCOMPARE(TextAt(rec, {592, 295})->Text,
             Fixed(s.FrontSteamOpenLevel() - (jmin + toValve), 6, 3));
    // A lap of the factory valve is positive.
    QVERIFY(s.FrontSteamLap > 0.1f);
}

// The read-out value of a row: at x 592, or moved left as far as a value
// wider than six characters needs to end inside the picture.
const RecordedText* ReadoutAt(const RecordingPaintDevice& device, int y) {
    const QFontMetrics metrics(diagrams::DiagramFont());
    for (const RecordedText& t : device.Texts())
        if (t.TopLeft.y() == y &&
            t.TopLeft.x() == std::min(592, 631 - metrics.horizontalAdvance(t.Text)))
            return &t;
    return nullptr;
}

void SineDiagramTest::readoutValuesOtherMode() {
    auto m = FactoryModel();
    const float mid = m->MidGear();
    SetPositions(*m, {mid});
    RecordingPaintDevice normal(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, normal);

    // The rear valve edge no longer covers the port: the laps and the
    // clearances are measured from the middle of the joint's travel.
    m->Cylinder[kes::ValveLengthRear] = m->Cylinder[kes::SteamPortWidthRear];
    RecordingPaintDevice other(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, other);
    const kes::SolverOutputs& s = m->Solver;
    const auto [jmin, jmax] = JointRange(*m, mid);
    const double jmid = (jmin + jmax) / 2.0;
    QCOMPARE(ReadoutAt(other, 195)->Text, Fixed(-s.FrontSteamOpenLevel() - jmid, 6, 3));
    QCOMPARE(ReadoutAt(other, 224)->Text, Fixed(-s.FrontExhaustOpenLevel() - jmid, 6, 3));
    QCOMPARE(ReadoutAt(other, 237)->Text, Fixed(jmid - s.RearExhaustOpenLevel(), 6, 3));
    QCOMPARE(ReadoutAt(other, 266)->Text, Fixed(jmid - s.RearSteamOpenLevel(), 6, 3));
    QVERIFY(ReadoutAt(other, 195)->Text != ReadoutAt(normal, 195)->Text);
    // The front lead does not depend on the rear valve edge.
    QCOMPARE(ReadoutAt(other, 295)->Text, ReadoutAt(normal, 295)->Text);
}

void SineDiagramTest::twoPositionsNearMidGearPrintTwice() {
    auto m = FactoryModel();
    const float mid = m->MidGear();
    SetPositions(*m, {mid + 1.5f, mid - 0.03f, mid + 0.02f});
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);
    QCOMPARE(static_cast<int>(rec.TextsNamed("Lead").size()), 4);
    QCOMPARE(static_cast<int>(CurveLines(rec).size()), 3 * 66);
    QCOMPARE(TextAt(rec, {533, 24})->Text, QString("Fwd"));
    QCOMPARE(TextAt(rec, {533, 36})->Text, QString("Rev"));
    QCOMPARE(TextAt(rec, {533, 48})->Text, QString("Fwd"));
}

void SineDiagramTest::dynVarBlockWithoutDimensions() {
    auto m = FactoryModel();
    m->DynVarMode = true;
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);
    const QString stars(31, '*');
    const auto starTexts = rec.TextsNamed(stars);
    QCOMPARE(static_cast<int>(starTexts.size()), 2);
    QCOMPARE(starTexts[0].TopLeft, QPoint(235, 2));
    QCOMPARE(starTexts[1].TopLeft, QPoint(235, 26));
    const auto select = rec.TextsNamed("* First Select Dimensions *");
    QCOMPARE(static_cast<int>(select.size()), 1);
    QCOMPARE(select[0].TopLeft, QPoint(235, 12));
    QCOMPARE(select[0].Color, QColor(255, 0, 0));
    QCOMPARE(starTexts[0].Color, QColor(255, 0, 0));
    // The undo line after it is black again.
    m->UndoDisplay = true;
    DiagramTextState text{"an undo line"};
    RecordingPaintDevice withUndo(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, withUndo, &text);
    QCOMPARE(withUndo.TextsNamed("an undo line").at(0).Color, QColor(Qt::black));

    const QImage image = PaintToImage(&PaintSineDiagram, *m, SineClientSize);
    int redPixels = 0;
    for (int y = 12; y < 24; ++y)
        for (int x = 235; x < 400; ++x)
            if (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 100) ++redPixels;
    QVERIFY(redPixels > 50);

    m->DynVarMode = false;
    RecordingPaintDevice off(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, off);
    QVERIFY(off.TextsNamed(stars).empty());
}

void SineDiagramTest::dynVarBlockWithDimensionsAndLargeFont() {
    auto m = FactoryModel();
    m->DynVarMode = true;
    m->TextScaleX = 1.27f;
    m->TextScaleY = 1.22f;
    kes::SelectDimension(*m, 2);   // Stroke
    kes::SelectDimension(*m, 101); // a cylinder dimension
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);

    // The names follow the text scale; the values would then stand under
    // "Close" (x 408), so they end a blank before it.
    const QFontMetrics metrics(diagrams::DiagramFont());
    const int x = kes::RoundHalfEven(235 * 1.27);
    const QString stroke = Fixed(m->Frame.StrokeLength, 6, 3);
    const auto valueX = [&](const QString& v) {
        return std::min(kes::RoundHalfEven(363 * 1.27),
                        408 - metrics.horizontalAdvance(' ') - metrics.horizontalAdvance(v));
    };
    // A name gives way to the left, as far as the bars' right edge, when it
    // would run into its value.
    const auto nameX = [&](int s) {
        const QString name = QString::fromStdString(m->DynVarSlots[size_t(s)].Name);
        const QString value = Fixed(m->DynVarSlots[size_t(s)].Value, 6, 3);
        return std::max(235, std::min(x, valueX(value) - metrics.horizontalAdvance(' ') -
                                             metrics.horizontalAdvance(name.trimmed())));
    };
    const int rows[4] = {2, kes::RoundHalfEven(14 * 1.22), kes::RoundHalfEven(26 * 1.22),
                         kes::RoundHalfEven(38 * 1.22)};
    QVERIFY(TextAt(rec, {nameX(1), rows[0]}));
    QCOMPARE(TextAt(rec, {nameX(1), rows[0]})->Text,
             QString::fromStdString(m->DynVarSlots[1].Name));
    QCOMPARE(TextAt(rec, {x, rows[1]})->Text, QString("Stroke"));
    QVERIFY(TextAt(rec, {valueX(stroke), rows[1]}));
    QCOMPARE(TextAt(rec, {valueX(stroke), rows[1]})->Text, stroke);
    QVERIFY(valueX(stroke) < kes::RoundHalfEven(363 * 1.27));
    QVERIFY(TextAt(rec, {nameX(3), rows[2]}));
    QCOMPARE(TextAt(rec, {nameX(3), rows[2]})->Text, QString::fromStdString(kes::EmptySlotName));
    QVERIFY(TextAt(rec, {valueX(" 0.000"), rows[3]}));
    QCOMPARE(TextAt(rec, {valueX(" 0.000"), rows[3]})->Text, QString(" 0.000"));
    QVERIFY(rec.TextsNamed("* First Select Dimensions *").empty());
    // The position table's rows follow the text scale; the table as a whole
    // moves left so that it ends inside the picture.
    const auto header = rec.TextsNamed("Reverse Arm Positions");
    QCOMPARE(header.size(), size_t(1));
    const int shift = kes::RoundHalfEven(500 * 1.27) - header[0].TopLeft.x();
    QVERIFY(shift > 0);
    QVERIFY(header[0].TopLeft.x() + metrics.horizontalAdvance(header[0].Text) <= 631);
    const RecordedText* number =
        TextAt(rec, {kes::RoundHalfEven(545 * 1.27) - shift, kes::RoundHalfEven(12 * 1.22) + 12});
    QVERIFY(number);
    QCOMPARE(number->Text, QString("    1"));
    for (const RecordedText& t : rec.Texts())
        QVERIFY2(t.TopLeft.x() + metrics.horizontalAdvance(t.Text.trimmed()) <= 632,
                 qPrintable(t.Text));
}

void SineDiagramTest::undoLineShowsPreviousThenRebuilds() {
    auto m = FactoryModel();
    m->UndoDisplay = true;
    kes::SelectDimension(*m, 2);
    const float before = m->Frame.StrokeLength;
    kes::PushUndo(*m, 2, before);
    kes::SetDimension(*m, 2, before + 0.25f);
    kes::CompleteUndo(*m, before + 0.25f, "Stroke");

    DiagramTextState text;
    text.UndoMessage = "an older line";
    RecordingPaintDevice first(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, first, &text);
    const QString expected = " 1- Stroke " + Fixed(before + 0.25f, 6, 3) + " to " +
                             Fixed(before, 6, 3) + QString(46, ' ');
    QCOMPARE(text.UndoMessage, expected);
    // Dynamic-variable mode off: only the line the previous drawing built.
    QCOMPARE(TextAt(first, {150, 55})->Text, QString("an older line"));
    QVERIFY(first.TextsNamed(expected).empty());

    m->DynVarMode = true;
    RecordingPaintDevice second(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, second, &text);
    QCOMPARE(static_cast<int>(second.TextsNamed(expected).size()), 2);
    QCOMPARE(TextAt(second, {150, 55})->Text, expected);

    m->UndoDisplay = false;
    RecordingPaintDevice off(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, off, &text);
    QVERIFY(off.TextsNamed(expected).empty());
}

void SineDiagramTest::settingsRestored() {
    auto m = FactoryModel();
    SetPositions(*m, {m->MidGear(), m->MidGear() + 1.0f, m->MidGear() - 1.2f});
    m->RevArmSetting = 11.25f;
    m->DriverAngle = 123.5f;
    PaintToImage(&PaintSineDiagram, *m, SineClientSize);
    QCOMPARE(m->RevArmSetting, 11.25f);
    QCOMPARE(m->DriverAngle, 123.5f);
    const auto r = analysis::SineReadouts(*m, m->MidGear());
    QVERIFY(r.FrontSteamLap > 0.0f);
    QCOMPARE(m->RevArmSetting, 11.25f);
    QCOMPARE(m->DriverAngle, 123.5f);
}

void SineDiagramTest::noPositionsDrawsFrameOnly() {
    auto m = FactoryModel();
    m->RevArmPositionCount = 0;
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);
    QVERIFY(CurveLines(rec).empty());
    QVERIFY(TextAt(rec, {500, 0}));
    QVERIFY(TextAt(rec, {545, 24}) == nullptr);
    int coloured = 0;
    for (const RecordedLine& l : rec.Lines())
        if (l.Color.rgb() != QColor(Qt::black).rgb()) ++coloured;
    QCOMPARE(coloured, 6);
}

void SineDiagramTest::badVerticalScaleNeitherHangsNorCrashes_data() {
    QTest::addColumn<float>("scale");
    QTest::newRow("zero") << 0.0f;
    QTest::newRow("negative") << -3.0f;
    QTest::newRow("huge") << 1e30f;
    QTest::newRow("nan") << std::nanf("");
    QTest::newRow("infinite") << INFINITY;
}

void SineDiagramTest::badVerticalScaleNeitherHangsNorCrashes() {
    QFETCH(float, scale);
    auto m = FactoryModel();
    SetPositions(*m, {m->MidGear() + 1.5f});
    m->VerticalScale = scale;
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);
    QCOMPARE(static_cast<int>(CurveLines(rec).size()), 66);
    // The axis ticks stay on the axis, +-150 pixels about the zero line.
    for (const RecordedLine& l : rec.Lines()) {
        if (l.Line.x2() != 44 || l.Line.y1() != l.Line.y2()) continue;
        QVERIFY(l.Line.y1() >= 65 && l.Line.y1() <= 365);
    }
}

void SineDiagramTest::farPortEdgesAreHeldOffThePicture() {
    // An absurd valve length puts two front levels a long way above the
    // window: their lines are held at -1000000, where the layout's offsets
    // cannot overflow, and clipped to the travel axis; their labels, which
    // would land on the controls, are left out.
    auto m = FactoryModel();
    m->Cylinder[kes::ValveLengthFront] = -1e30f;
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);
    int held = 0;
    for (const RecordedLine& l : rec.Lines())
        if (l.Color == QColor(0, 255, 0) && l.Line.y1() == -1000000) ++held;
    QCOMPARE(held, 2);
    for (const char* label : {"Front Steam Port Open", "Front Steam Port Max"})
        QVERIFY(rec.TextsNamed(label).empty());
    QCOMPARE(static_cast<int>(rec.TextsNamed("Front Exhaust Port Open").size()), 1);
}

void SineDiagramTest::unusedSlotBetweenPositionsIsSkipped() {
    // Position 2 cleared to 0 while 3 is in use: it gets neither a curve nor
    // a row of the table, as the positions dialog shows it unused.
    auto m = FactoryModel();
    SetPositions(*m, {m->MidGear(), 0.0f, m->MidGear() + 1.5f});
    RecordingPaintDevice rec(SineClientSize);
    PaintToRecorder(&PaintSineDiagram, *m, rec);
    QCOMPARE(static_cast<int>(CurveLines(rec).size()), 2 * 66);
    QCOMPARE(TextAt(rec, {545, 24})->Text, QString("    1"));
    QVERIFY(TextAt(rec, {545, 36}) == nullptr);
    for (const auto& t : rec.TextsNamed(Fixed(0.0, 6, 3)))
        QVERIFY(t.TopLeft.x() != 580); // no table value for the unused slot
    QCOMPARE(TextAt(rec, {545, 48})->Text, QString("    3"));
}

KESTROVE_DIAGRAM_TEST_MAIN(SineDiagramTest)
#include "diagrams_sine_test.moc"
