// SPDX-License-Identifier: GPL-3.0-or-later
// The mechanism picture as a user sees it: colours of the links at their
// solved positions, the fixed pivots, the counterweight, the screen texts,
// the steam display and the exhaust beats, the cut-off read-outs.

#include "main_test_rig.h"
#include "main_text_recorder.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/format.h"
#include "model/rounding.h"
#include "picture/screen_texts.h"
#include "picture/steam_display.h"

#include <QGuiApplication>
#include <QTest>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr QRgb Red = 0xFF0000, Maroon = 0x800000, Lime = 0x00FF00, Blue = 0x0000FF,
               Magenta = 0xFF00FF, Cyan = 0x00FFFF, Black = 0x000000, White = 0xFFFFFF;

// The texts of one frame, read from a recording device.
std::vector<RecordedText> FrameTexts(FrameRig& rig) {
    return RecordFrameTexts(rig.m, rig.s);
}

bool HasText(const std::vector<RecordedText>& texts, const QString& s) {
    for (const auto& t : texts)
        if (t.Text == s) return true;
    return false;
}

} // namespace

class MechanismPainterTest : public QObject {
    Q_OBJECT
  private slots:
    void fixedPivotsAreRedCrosses();
    void linksHaveTheirColours();
    void counterweightArcSpans220Degrees();
    void screenDataOffHidesEveryText();
    void largeFontMovesTheTexts();
    void steamPhaseRules_data();
    void steamPhaseRules();
    void steamPressureFollowsThePhase();
    void steamPressuresStayWhileStopped();
    void steamDotsAndLegend();
    void beatVolumeTable_data();
    void beatVolumeTable();
    void beatArming();
    void cutOffReadsWherePortCloses();
    void cutOffHiddenWhileStopped();
    void errorIndicatorBlinksThenSounds();
    void pivotDataAndReferencePoints();
    void dynamicVariablePrompt();
    void linesAndCirclesOfTheTable();
    void pickPromptsFollowTheReferenceChoice();
    void hostileGeometryStillDraws();
    void farPointsDrawNothingAcrossThePicture();
};

void MechanismPainterTest::fixedPivotsAreRedCrosses() {
    FrameRig rig;
    rig.DrawStill();
    // Each cross: (x+5, y+5)-(x-6, y-6) and (x+5, y-5)-(x-6, y+6).
    for (int slot : {kes::BellCrankPivot, kes::RevArmPivot, kes::GearMount, kes::DriverCentre}) {
        const QPoint p = rig.Screen(slot);
        int red = 0;
        for (QPoint tip : {QPoint(5, 5), QPoint(-6, -6), QPoint(5, -5), QPoint(-6, 6)})
            if (rig.Pixel(p + tip) == Red) ++red;
        QVERIFY2(red >= 3, qPrintable(QStringLiteral("slot %1 at %2,%3: %4 red tips")
                                          .arg(slot)
                                          .arg(p.x())
                                          .arg(p.y())
                                          .arg(red)));
    }
    // The reverse-arm cross stands at the absolute pivot, not at the
    // relative offsets stored in its world slot.
    const auto& pt = rig.m.Points;
    const double s = rig.m.CurrentView.Scale;
    const QPoint pivot(kes::RoundHalfEven((pt[16].X - pt[11].X) * s + rig.m.CurrentView.OffsetX),
                       kes::RoundHalfEven((pt[11].Y - pt[16].Y) * s + rig.m.CurrentView.OffsetY));
    QCOMPARE(rig.Screen(kes::RevArmPivot), pivot);
    QCOMPARE(rig.Pixel(pivot + QPoint(-6, 6)), Red);
}

void MechanismPainterTest::linksHaveTheirColours() {
    FrameRig rig;
    // In full forward gear: at mid gear the radius bar lies under the
    // reverse arm, whose lower half it then matches.
    rig.m.RevArmSetting = rig.m.MidGear() + rig.m.Frame.RevArmNorm;
    for (float angle : {0.0f, 75.0f, 200.0f, 310.0f}) {
        rig.m.DriverAngle = angle;
        rig.DrawStill();
        // Somewhere along the middle of the link (other links may cross it).
        auto near = [&](int a, int b, QRgb c) {
            const QPointF pa = rig.Screen(a), pb = rig.Screen(b);
            for (double t : {0.5, 0.4, 0.6, 0.3, 0.7})
                if (rig.ColourNear((pa + t * (pb - pa)).toPoint(), c)) return true;
            return false;
        };
        QVERIFY2(near(kes::CrankPin, kes::Crosshead, Red), "main rod");
        QVERIFY2(near(kes::RevArmRadiusPin, kes::GearConRodRadiusPin, Maroon), "radius bar");
        QVERIFY2(near(kes::RevArmPivot, kes::RevArmTop, Lime), "reverse arm");
        QVERIFY2(near(kes::BellCrankVertPin, kes::ValveRodFrontPin, Blue), "valve rod");
        QVERIFY2(near(kes::EccCrankPin, kes::EccRodFrontPin, Blue), "eccentric rod");
        QVERIFY2(near(kes::CombLeverLowerPin, kes::UnionLinkRearPin, Lime), "union link");
        QVERIFY2(near(kes::BellCrankHorzPin, kes::BellCrankPivot, Cyan), "bell crank");
        QVERIFY2(near(kes::ValveRodFrontPin, kes::CombLeverLowerPin, Magenta), "lever");
    }
    // The drawn main rod belongs to the angle before the tick's advance.
    rig.m.DriverAngle = 90.0f;
    rig.m.StepAngle = 45.0f;
    rig.Tick();
    QCOMPARE(rig.m.DriverAngle, 135.0f);
    const double r = rig.m.Frame.StrokeLength / 2.0;
    QVERIFY(std::abs(rig.m.Points[kes::CrankPin].Y + r) < 1e-4); // straight down at 90
}

void MechanismPainterTest::counterweightArcSpans220Degrees() {
    FrameRig rig;
    const double d = rig.m.Frame.DriverDiameter;
    for (float a : {90.0f, 0.0f}) {
        rig.m.DriverAngle = a;
        rig.DrawStill();
        const double radius = 0.35 * d * rig.m.CurrentView.Scale;
        const QPointF centre(rig.m.CurrentView.OffsetX, rig.m.CurrentView.OffsetY);
        auto onArc = [&](double screenDeg) {
            const double t = screenDeg * std::numbers::pi / 180.0;
            const QPoint p((centre + radius * QPointF(std::cos(t), std::sin(t))).toPoint());
            return rig.ColourNear(p, Black, 2);
        };
        // Screen angles grow clockwise (y down): the arc runs A-110 .. A+110.
        for (double off : {-100.0, -60.0, 0.0, 60.0, 100.0})
            QVERIFY2(onArc(a + off), qPrintable(QStringLiteral("A=%1 off=%2").arg(a).arg(off)));
        for (double off : {-140.0, 180.0, 140.0})
            QVERIFY2(!onArc(a + off), qPrintable(QStringLiteral("A=%1 off=%2").arg(a).arg(off)));
    }
}

void MechanismPainterTest::screenDataOffHidesEveryText() {
    FrameRig rig;
    rig.m.UndoDisplay = true;
    rig.m.PivotDataOn = true;
    rig.m.ReferencePointsOn = true;
    rig.m.DynVarMode = true;
    rig.m.SteamDisplayOn = true;
    FrameOutcome on = rig.DrawStill();
    QVERIFY(on.UndoButtonTop.has_value());
    const QRect readOuts(440, 20, 260, 80);
    QVERIFY(rig.InkIn(readOuts) > 200);
    QVERIFY(!FrameTexts(rig).empty());

    rig.m.ScreenDataOn = false;
    rig.m.SolveError = true;
    FrameOutcome off = rig.DrawStill();
    QCOMPARE(rig.InkIn(readOuts), 0);
    QVERIFY(!off.UndoButtonTop.has_value());
    QVERIFY(!off.ErrorItemVisible.has_value());
    QCOMPARE(rig.s.ErrorBlinkCount, 0);
    QVERIFY(rig.m.SolveError);        // stays set while screen data is off
    QVERIFY(FrameTexts(rig).empty()); // the steam legend too
}

void MechanismPainterTest::largeFontMovesTheTexts() {
    FrameRig rig;
    auto texts = FrameTexts(rig);
    auto find = [](const std::vector<RecordedText>& all, const QString& s) {
        for (const auto& t : all)
            if (t.Text == s) return t.TopLeft;
        return QPoint(-1, -1);
    };
    QCOMPARE(find(texts, QStringLiteral("Pan Vert")), QPoint(199, 25));
    QCOMPARE(find(texts, QStringLiteral("Zoom")), QPoint(199, 53));
    rig.m.TextScaleX = 1.27f;
    rig.m.TextScaleY = 1.22f;
    texts = FrameTexts(rig);
    QCOMPARE(
        find(texts, QStringLiteral("Pan Vert")),
        QPoint(kes::RoundHalfEven(199 * double{1.27f}), kes::RoundHalfEven(25 * double{1.22f})));
    QCOMPARE(find(texts, QStringLiteral("Zoom")), QPoint(kes::RoundHalfEven(199 * double{1.27f}),
                                                         kes::RoundHalfEven(53 * double{1.22f})));
}

void MechanismPainterTest::steamPhaseRules_data() {
    QTest::addColumn<float>("steam");
    QTest::addColumn<float>("exhaust");
    QTest::addColumn<char>("phaseBefore");
    QTest::addColumn<char>("phaseAfter");
    QTest::addColumn<uint>("colour");
    // c starts black and keeps its value while the end has no phase.
    QTest::newRow("no phase yet") << -0.1f << -0.2f << char(0) << char(0) << uint(Black);
    QTest::newRow("admission") << 0.1f << -0.2f << char(0) << 'E' << uint(Red);
    QTest::newRow("expansion") << -0.1f << -0.2f << 'E' << 'E' << uint(Magenta);
    QTest::newRow("exhaust") << -0.3f << 0.05f << 'E' << 'C' << uint(Blue);
    QTest::newRow("compression") << -0.1f << -0.01f << 'C' << 'C' << uint(0x008000);
    QTest::newRow("both open") << 0.1f << 0.1f << 'C' << 'C' << uint(Blue);
}

void MechanismPainterTest::steamPhaseRules() {
    QFETCH(float, steam);
    QFETCH(float, exhaust);
    QFETCH(char, phaseBefore);
    QFETCH(char, phaseAfter);
    QFETCH(uint, colour);
    char phase = phaseBefore;
    QRgb c = Black;
    UpdateSteamPhase(steam, exhaust, phase, c);
    QCOMPARE(phase, phaseAfter);
    QCOMPARE(uint(c), colour);
}

void MechanismPainterTest::steamPressureFollowsThePhase() {
    float p = 100.0f;
    UpdateSteamPressure(p, Red, 10.0f, 0.2f, -0.1f);
    QCOMPARE(p, 100.0f + 10.0f * 50.0f * (0.2f + 0.1f));
    UpdateSteamPressure(p, Blue, 10.0f, -0.2f, 0.1f);
    QCOMPARE(p, 250.0f - 10.0f * 60.0f * 0.1f);
    UpdateSteamPressure(p, Magenta, 10.0f, -0.2f, 0.1f); // expansion holds
    QCOMPARE(p, 190.0f);
    UpdateSteamPressure(p, Blue, 45.0f, -0.2f, 1.0f);
    QCOMPARE(p, 25.0f); // never below 25
    p = 1990.0f;
    UpdateSteamPressure(p, Red, 45.0f, 0.5f, -1.0f);
    QCOMPARE(p, 2000.0f); // nor above 2000
    p = 20.0f;
    UpdateSteamPressure(p, Black, 0.0f, 0.0f, 0.0f);
    QCOMPARE(p, 25.0f); // the start value is raised to the floor at once
}

void MechanismPainterTest::steamPressuresStayWhileStopped() {
    FrameRig rig;
    rig.m.SteamDisplayOn = true;
    rig.m.RevArmSetting = rig.m.MidGear() + rig.m.Frame.RevArmNorm;
    rig.m.StepAngle = 10.0f;
    for (int i = 0; i < 40; ++i)
        rig.Tick();
    QVERIFY(rig.s.FrontPhase == 'E' || rig.s.FrontPhase == 'C');
    QVERIFY(rig.s.RearPhase == 'E' || rig.s.RearPhase == 'C');
    rig.m.StepAngle = 0.0f;
    rig.Tick();
    const float front = rig.s.FrontSteamPressure, rear = rig.s.RearSteamPressure;
    QVERIFY(front >= 25.0f && front <= 2000.0f);
    for (int i = 0; i < 30; ++i) {
        rig.Tick();
        QCOMPARE(rig.s.FrontSteamPressure, front);
        QCOMPARE(rig.s.RearSteamPressure, rear);
    }
    // Moving the driver by hand while stopped still fires the beats.
    int beats = 0;
    for (int deg = 0; deg < 360; deg += 5) {
        rig.m.DriverAngle = static_cast<float>(deg);
        beats += rig.Tick().BeatCount;
    }
    QCOMPARE(beats, 2);
}

void MechanismPainterTest::steamDotsAndLegend() {
    FrameRig rig;
    rig.DrawStill();
    const int redWithout = rig.CountColour(Red);
    rig.m.SteamDisplayOn = true;
    rig.DrawStill();
    const auto& cyl = rig.s.Outlines.Cylinder;
    // Live steam fills the chest with red dots.
    const QRect chest(QPoint(cyl[1].x(), cyl[0].y()), QPoint(cyl[12].x(), cyl[2].y()));
    int redInChest = 0;
    for (int y = chest.top() + 1; y < chest.bottom(); ++y)
        for (int x = chest.left() + 1; x < chest.right(); ++x)
            if (rig.Pixel(QPoint(x, y)) == Red) ++redInChest;
    QVERIFY2(redInChest > 100, qPrintable(QString::number(redInChest)));
    QVERIFY(rig.CountColour(Red) > redWithout + 100);
    const auto texts = FrameTexts(rig);
    for (const auto* legend : {"ADMISSION", "EXPANSION", "EXHAUST", "COMPRESSION"})
        QVERIFY2(HasText(texts, QString::fromLatin1(legend)), legend);
    for (const auto& t : texts)
        if (t.Text == QLatin1String("COMPRESSION")) {
            QCOMPARE(t.TopLeft, cyl[6] + QPoint(24, 17));
            QCOMPARE(t.Color.rgb() & 0xFFFFFFu, 0x008000u);
        }
}

void MechanismPainterTest::beatVolumeTable_data() {
    QTest::addColumn<int>("v");
    QTest::addColumn<bool>("changes");
    QTest::addColumn<uint>("value");
    QTest::newRow("0") << 0 << false << 0u;
    QTest::newRow("-5") << -5 << false << 0u;
    QTest::newRow("23") << 23 << false << 0u;
    QTest::newRow("24") << 24 << true << 0x07000700u;
    QTest::newRow("100") << 100 << true << 0x07000700u;
    QTest::newRow("101") << 101 << true << 0x14001400u;
    QTest::newRow("400") << 400 << true << 0x28002800u;
    QTest::newRow("401") << 401 << true << 0x40004000u;
    QTest::newRow("700") << 700 << true << 0x50005000u;
    QTest::newRow("1000") << 1000 << true << 0x60006000u;
    QTest::newRow("1001") << 1001 << true << 0x70007000u;
    QTest::newRow("1201") << 1201 << true << 0x80008000u;
    QTest::newRow("2001") << 2001 << true << 0x80008000u;
    QTest::newRow("2002") << 2002 << false << 0u;
}

void MechanismPainterTest::beatVolumeTable() {
    QFETCH(int, v);
    QFETCH(bool, changes);
    QFETCH(uint, value);
    const auto volume = BeatVolume(v);
    QCOMPARE(volume.has_value(), changes);
    if (changes) QCOMPARE(uint(*volume), value);
}

void MechanismPainterTest::beatArming() {
    kes::Model m;
    DrawState s;
    auto frame = [&](float frontExhaust, float rearExhaust) {
        m.Solver.FrontExhaustOpen = frontExhaust;
        m.Solver.RearExhaustOpen = rearExhaust;
        FrameOutcome out;
        UpdateExhaustBeats(m, s, out);
        return out;
    };
    s.FrontSteamPressure = 700.0f;
    s.RearSteamPressure = 150.0f;
    QCOMPARE(frame(0.1f, -0.1f).BeatCount, 0); // not armed yet
    FrameOutcome first = frame(-0.1f, -0.1f);
    QCOMPARE(first.BeatCount, 0);
    QVERIFY(s.FrontBeatArmed && s.RearBeatArmed);
    FrameOutcome front = frame(0.1f, -0.1f);
    QCOMPARE(front.BeatCount, 1);
    QVERIFY(!front.Beats[0].Volume.has_value()); // the rear has no beat recorded yet
    QCOMPARE(s.FrontBeatPressure, 700.0f);
    QCOMPARE(frame(0.2f, -0.1f).BeatCount, 0); // one beat per opening
    FrameOutcome rear = frame(-0.1f, 0.1f);
    QCOMPARE(rear.BeatCount, 1);
    QCOMPARE(uint(*rear.Beats[0].Volume), 0x50005000u); // from the front's 700
    QCOMPARE(s.RearBeatPressure, 150.0f);
    frame(-0.1f, -0.1f);
    FrameOutcome again = frame(0.1f, -0.1f);
    QCOMPARE(uint(*again.Beats[0].Volume), 0x14001400u); // from the rear's 150

    // Highlight mode arms nothing.
    m.HighlightedDimension = 12;
    frame(0.1f, 0.1f);
    frame(-0.1f, -0.1f);
    QVERIFY(!s.FrontBeatArmed && !s.RearBeatArmed);
    QCOMPARE(frame(0.1f, 0.1f).BeatCount, 0);
}

void MechanismPainterTest::cutOffReadsWherePortCloses() {
    for (float rev : {1.0f, 1.5f}) {
        FrameRig rig;
        rig.m.RevArmSetting = rig.m.MidGear() + rev;
        rig.m.StepAngle = 1.0f;
        std::string front, rear;
        for (int i = 0; i < 400; ++i) {
            rig.Tick();
            if (!rig.m.CutOffFrontText.empty()) front = rig.m.CutOffFrontText;
            if (!rig.m.CutOffRearText.empty()) rear = rig.m.CutOffRearText;
        }
        QVERIFY(!front.empty() && !rear.empty());
        // Where the port really closes, found by bisection on the solver.
        kes::Model probe = rig.m;
        auto closeAt = [&](bool frontEnd, float from, float to) {
            auto open = [&](float a) {
                probe.DriverAngle = a;
                kes::SolveLinkage(probe);
                kes::SolvePortOpenings(probe);
                return frontEnd ? probe.Solver.FrontSteamOpen : probe.Solver.RearSteamOpen;
            };
            for (int i = 0; i < 40; ++i) {
                const float mid = (from + to) / 2;
                (open(mid) > 0 ? from : to) = mid;
            }
            open(from);
            return probe.Solver.PistonTravel640;
        };
        auto findClose = [&](bool frontEnd) {
            float prev = 0;
            for (int deg = 0; deg <= 360; ++deg) {
                probe.DriverAngle = static_cast<float>(deg);
                kes::SolveLinkage(probe);
                kes::SolvePortOpenings(probe);
                const float v = frontEnd ? probe.Solver.FrontSteamOpen : probe.Solver.RearSteamOpen;
                if (deg > 0 && prev > 0 && v < 0) return closeAt(frontEnd, deg - 1.0f, deg * 1.0f);
                prev = v;
            }
            return -1.0f;
        };
        const double frontPct = findClose(true) / 6.4;
        const double rearPct = (640.0 - findClose(false)) / 6.4;
        QVERIFY2(std::abs(std::stod(front) - frontPct) < 0.2,
                 qPrintable(QStringLiteral("%1 vs %2").arg(front.c_str()).arg(frontPct)));
        QVERIFY2(std::abs(std::stod(rear) - rearPct) < 0.2,
                 qPrintable(QStringLiteral("%1 vs %2").arg(rear.c_str()).arg(rearPct)));
        QCOMPARE(static_cast<int>(front.size()), 4); // Str(:4:1)
    }
}

void MechanismPainterTest::cutOffHiddenWhileStopped() {
    FrameRig rig;
    rig.m.StepAngle = 10.0f;
    auto texts = FrameTexts(rig);
    QVERIFY(HasText(texts, QStringLiteral("FrontCO% ")));
    QVERIFY(HasText(texts, QStringLiteral("RearCO% ")));
    rig.m.StepAngle = 0.0f;
    texts = FrameTexts(rig);
    QVERIFY(!HasText(texts, QStringLiteral("FrontCO% ")));
    rig.m.StepAngle = 23.0f; // only below 23
    texts = FrameTexts(rig);
    QVERIFY(!HasText(texts, QStringLiteral("RearCO% ")));
}

void MechanismPainterTest::errorIndicatorBlinksThenSounds() {
    FrameRig rig;
    rig.m.SolveError = true;
    for (int frame = 1; frame <= 21; ++frame) {
        const FrameOutcome out = rig.DrawStill();
        if (frame < 10) QCOMPARE(out.ErrorItemVisible, std::optional<bool>(true));
        QCOMPARE(out.PlayError, frame == 10);
        if (frame == 10) QCOMPARE(out.ErrorItemVisible, std::optional<bool>(false));
        QCOMPARE(rig.m.SolveError, frame <= 20);
    }
    QCOMPARE(rig.s.ErrorBlinkCount, 0);
}

void MechanismPainterTest::pivotDataAndReferencePoints() {
    FrameRig rig;
    rig.m.PivotDataOn = true;
    rig.m.ReferencePointsOn = true;
    rig.m.PivotSlots[1] = {true, kes::CrankPin};
    rig.m.PivotSlots[2] = {true, kes::Crosshead};
    rig.m.Points[kes::RefPoint1].X = 2.0f;
    rig.m.Points[kes::RefPoint1].Y = 1.0f;
    rig.DrawStill();
    const auto texts = FrameTexts(rig);
    QVERIFY(HasText(texts, QStringLiteral("    Pivot Data")));
    QVERIFY(HasText(texts, QStringLiteral("No.  Vert     Horz")));
    const auto& p12 = rig.m.Points[kes::CrankPin];
    const auto& p3 = rig.m.Points[kes::Crosshead];
    const QString dist = QString::fromStdString(
        kes::FormatFixed(std::hypot(double{p12.X} - p3.X, double{p12.Y} - p3.Y), 7, 3));
    bool sawDistance = false, sawMark = false;
    for (const auto& t : texts) {
        if (t.Text == dist && t.TopLeft == QPoint(90, 155)) sawDistance = true;
        if (t.Text == QLatin1String("1") && t.TopLeft == QPoint(p12.SX + 4, p12.SY - 12)) {
            sawMark = true;
            QCOMPARE(t.Color.rgb() & 0xFFFFFFu, Red);
        }
    }
    QVERIFY(sawDistance);
    QVERIFY(sawMark);
    QVERIFY(HasText(texts, QStringLiteral("Pt1V  1.000")));
    QVERIFY(HasText(texts, QStringLiteral("Pt1H  2.000")));
    QVERIFY(HasText(texts, QStringLiteral(" 2.236"))); // the distance to point 2 at the origin
    // The reference crosses: 20-pixel lines through the points.
    const QPoint r1 = rig.Screen(kes::RefPoint1);
    QCOMPARE(r1, QPoint(kes::RoundHalfEven(2 * 19.0 + 100), kes::RoundHalfEven(-1 * 19.0 + 280)));
    QVERIFY(rig.Pixel(r1 + QPoint(9, 0)) != White);
    QVERIFY(rig.Pixel(r1 + QPoint(0, -9)) != White);
}

void MechanismPainterTest::dynamicVariablePrompt() {
    FrameRig rig;
    rig.m.DynVarMode = true;
    auto texts = FrameTexts(rig);
    QVERIFY(HasText(texts, QStringLiteral("* First Select Dimensions *")));
    kes::SelectDimension(rig.m, 3);
    texts = FrameTexts(rig);
    QVERIFY(!HasText(texts, QStringLiteral("* First Select Dimensions *")));
    QVERIFY(HasText(texts, QStringLiteral("Main Rod Length")));
    QVERIFY(HasText(texts, QStringLiteral("16.750")));
}

void MechanismPainterTest::linesAndCirclesOfTheTable() {
    FrameRig rig;
    auto& line = rig.m.LineTable[1];
    line.ItemType = 0;
    line.RefMode = 0;
    line.ItemColor = 11; // yellow
    line.Point1X = 0.0f;
    line.Point1Y = -8.0f;
    line.Point2X = 10.0f;
    line.Point2Y = -8.0f;
    auto& circle = rig.m.LineTable[2];
    circle.ItemType = 1;
    circle.RefMode = 1;
    circle.ItemColor = 12; // blue
    circle.Ref1Pivot = kes::GearMount;
    circle.Point1X = 0.0f;
    circle.Point1Y = 2.0f;
    circle.Point2X = 1.0f;
    rig.DrawStill();
    const int y = kes::RoundHalfEven(8 * 19.0 + 280);
    QCOMPARE(rig.Pixel(QPoint(100 + 95, y)), 0xFFFF00u);
    const auto& g = rig.m.Points[kes::GearMount];
    const QPoint centre(kes::RoundHalfEven(g.X * 19.0 + 100),
                        kes::RoundHalfEven(-(g.Y + 2) * 19.0 + 280));
    QVERIFY(rig.ColourNear(centre + QPoint(19, 0), Blue));
    QVERIFY(rig.ColourNear(centre - QPoint(0, 19), Blue));
    QCOMPARE(rig.Pixel(centre), White);
    // A reference pivot outside the table draws nothing and breaks nothing.
    circle.Ref1Pivot = 99;
    rig.DrawStill();
    QVERIFY(!rig.ColourNear(centre + QPoint(19, 0), Blue));
}

void MechanismPainterTest::pickPromptsFollowTheReferenceChoice() {
    FrameRig rig;
    rig.m.LinesPickWaiting = true;
    rig.m.LinesPickRefChoice = 1;
    auto texts = FrameTexts(rig);
    bool bold = false;
    for (const auto& t : texts)
        if (t.Text == QLatin1String("STOP MOTION AND SELECT PIVOT 1")) {
            bold = t.Bold && (t.Color.rgb() & 0xFFFFFFu) == Red && t.TopLeft == QPoint(10, 130);
        }
    QVERIFY(bold);
    rig.m.LinesPickRefChoice = 3;
    texts = FrameTexts(rig);
    QVERIFY(HasText(texts, QStringLiteral("USE LEFT MOUSE BUTTON FIRST THEN RIGHT")));
    QVERIFY(!HasText(texts, QStringLiteral("USE LEFT MOUSE BUTTON")));
}

void MechanismPainterTest::hostileGeometryStillDraws() {
    // Dimensions no gear can have: the frame still draws, the error shows.
    FrameRig rig;
    rig.m.SteamDisplayOn = true;
    rig.m.Frame.StrokeLength = 0.0f;
    rig.m.Baker.RadiusBarLength = 500.0f;
    rig.m.Cylinder[kes::ValveChamberHeight] = 0.0f;
    rig.m.Cylinder[kes::BoreDiameter] = 1e30f;
    rig.m.CurrentView.Scale = 3000.0f;
    for (int i = 0; i < 3; ++i)
        rig.Tick();
    QVERIFY(rig.m.SolveError);
    rig.m.CurrentView.Scale = std::numeric_limits<float>::quiet_NaN();
    rig.Tick();
    QVERIFY(rig.InkIn(QRect(0, 0, 700, 130)) > 0); // the texts are still there
}

void MechanismPainterTest::farPointsDrawNothingAcrossThePicture() {
    // Reference points typed far out of the world: their crosses are
    // clipped away, never folded back across the picture by an overflow.
    FrameRig rig;
    rig.m.ReferencePointsOn = true;
    rig.m.Points[kes::RefPoint1].X = 1e30f; // right of the window, row 470
    rig.m.Points[kes::RefPoint1].Y = -10.0f;
    rig.m.Points[kes::RefPoint2].X = 50.0f; // column 1050, below the window
    rig.m.Points[kes::RefPoint2].Y = -1e30f;
    rig.DrawStill();
    QCOMPARE(rig.InkIn(QRect(0, 460, 1280, 21)), 0);
    QCOMPARE(rig.InkIn(QRect(1040, 140, 21, 884)), 0);
    // Mapped positions keep room for the offsets the drawing adds.
    for (int slot : {kes::RefPoint1, kes::RefPoint2}) {
        const QPoint p = rig.Screen(slot);
        QVERIFY(std::abs(p.x()) <= ScreenPixelLimit && std::abs(p.y()) <= ScreenPixelLimit);
    }
    QCOMPARE(rig.Screen(kes::RefPoint1).x(), ScreenPixelLimit);
    QCOMPARE(rig.Screen(kes::RefPoint2).y(), ScreenPixelLimit);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    MechanismPainterTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "mechanism_painter_test.moc"
