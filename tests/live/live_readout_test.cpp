// SPDX-License-Identifier: GPL-3.0-or-later
// The read-out under the cursor: the solver's values at the angle under the
// pixel, to the precision shown, on each of the four diagrams.
#include "analysis/events_report.h"
#include "diagrams/diagram_paint.h"
#include "diagrams/oval_diagram.h"
#include "live/cursor_readout.h"
#include "live/live_job.h"
#include "main/main_test_rig.h"
#include "model/model.h"
#include "model/solver.h"
#include "overlay/live_positions.h"

#include <QApplication>
#include <QTest>

#include <cmath>
#include <numbers>

namespace {

std::shared_ptr<kes::Model> Drawn(char portMode = 'F') {
    kes::Model m;
    kes::InitialiseModel(m);
    return live::DrawingCopy(m, overlay::DefaultLiveOffsets(m), portMode);
}

QString Fixed(double v, int decimals) {
    return QString::number(v, 'f', decimals);
}

// Valve offset at a setting and angle, solved here.
double ValveOffset(kes::Model m, float setting, double angle) {
    m.RevArmSetting = setting;
    m.DriverAngle = static_cast<float>(angle);
    kes::SolveLinkage(m);
    return m.Solver.ValveOffset;
}

// Piston travel from the front dead centre in percent, from the crank and rod.
double PistonFrontPct(const kes::Model& m, double angle) {
    const double a = angle * std::numbers::pi / 180.0;
    const double r = m.Frame.StrokeLength / 2.0, L = m.Frame.MainRodLength;
    const double t =
        320.0 -
        320.0 * ((r * std::cos(a) + std::sqrt(L * L - std::pow(r * std::sin(a), 2)) - L) / r);
    return t / 6.4;
}

} // namespace

class LiveReadoutTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }

    void sineReadsTheCurveUnderThePixel() {
        auto m = Drawn();
        const double k = diagrams::PixelsPerUnit(*m);
        // x 180 is 90 degrees; each position's curve at its own height.
        QCOMPARE(live::SineAngleAt(180), std::optional<double>(90.0));
        QCOMPARE(live::SineAngleAt(90 + 360), std::optional<double>(0.0));
        QVERIFY(!live::SineAngleAt(20));
        for (int n = 1; n <= m->RevArmPositionCount; ++n) {
            const float setting = m->RevArmPositions[static_cast<size_t>(n)];
            for (int x : {120, 180, 333, 500}) {
                const double angle = *live::SineAngleAt(x);
                const double v = ValveOffset(*m, setting, angle);
                const auto r = live::SineReadoutAt(*m, QPoint(x, diagrams::TravelY(v, k)));
                QVERIFY(r);
                if (n == 1 && x == 180) QCOMPARE(r->Position, 1);
                if (r->Position != n) continue; // where two curves cross, either will do
                QCOMPARE(Fixed(r->CrankDeg, 1), Fixed(angle, 1));
                QCOMPARE(Fixed(r->ValveOffset, 3), Fixed(v, 3));
                QCOMPARE(Fixed(r->FrontPct, 1), Fixed(PistonFrontPct(*m, angle), 1));
                QCOMPARE(Fixed(r->RearPct, 1), Fixed(100.0 - PistonFrontPct(*m, angle), 1));
                // An opening is never negative nor wider than its port.
                for (double o : {r->FrontSteam, r->FrontExhaust, r->RearSteam, r->RearExhaust})
                    QVERIFY(o >= 0.0 && o <= 1.0);
            }
        }
        // The model is put back.
        kes::Model fresh;
        kes::InitialiseModel(fresh);
        QCOMPARE(m->DriverAngle, fresh.DriverAngle);
        QCOMPARE(m->RevArmSetting, fresh.RevArmSetting);
    }

    void ovalReadsTheNearestPointOfTheLoop() {
        auto m = Drawn();
        const double k = diagrams::PixelsPerUnit(*m);
        const float setting = m->RevArmPositions[2];
        for (double angle : {60.0, 200.0}) {
            const double v = ValveOffset(*m, setting, angle);
            const QPoint at(diagrams::OvalPistonX(*m, angle), diagrams::TravelY(v, k));
            const auto r = live::OvalReadoutAt(*m, at);
            QVERIFY(r);
            QCOMPARE(r->Position, 2);
            QVERIFY(std::abs(r->CrankDeg - angle) < 1.5);
            // What it prints is the solver's value at the angle it prints.
            QCOMPARE(Fixed(r->ValveOffset, 3), Fixed(ValveOffset(*m, setting, r->CrankDeg), 3));
            QVERIFY(std::abs(diagrams::TravelY(r->ValveOffset, k) - at.y()) <= 1);
        }
    }

    void steamReadsPressureAndStroke() {
        auto m = Drawn();
        // Half the stroke (travel 320, x 314) at pressure 150 (y 208).
        const QPoint at(314, 208);
        const auto text = live::ReadoutAt(live::DiagramView::Steam, *m, at);
        QVERIFY(text);
        QVERIFY2(text->startsWith(QStringLiteral("pressure 49.5 % of boiler, piston 50.0 % from "
                                                 "front dead centre, 50.0 % from rear")),
                 qPrintable(*text));
        QVERIFY(!live::ReadoutAt(live::DiagramView::Steam, *m, QPoint(600, 100)));
    }

    void portsReadTheSettingAndTheNearestEvent() {
        auto m = Drawn('F');
        const int row = 9;
        const double setting = m->MidGear() + row * m->Frame.RevArmMax / 18.0;
        kes::ReportDef def;
        def.Settings = {setting};
        const kes::EventsReport report = kes::ComputeReport(*m, def);
        const auto cutoff = report.Rows.at(0).Events.Front.Pct(kes::CutOff);
        QVERIFY(cutoff);
        const QPoint at(static_cast<int>(std::lround(9 + 5.4 * *cutoff)), 343 - 16 * row);
        const auto text = live::ReadoutAt(live::DiagramView::Ports, *m, at);
        QVERIFY(text);
        QVERIFY2(text->startsWith(QStringLiteral("setting %1 ").arg(Fixed(setting, 3))),
                 qPrintable(*text));
        QVERIFY2(text->endsWith(
                     QStringLiteral("nearest event: Front cutoff %1 %").arg(Fixed(*cutoff, 1))),
                 qPrintable(*text));
        // Below mid gear's row there is nothing to read.
        QVERIFY(!live::ReadoutAt(live::DiagramView::Ports, *m, QPoint(200, 360)));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LiveReadoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "live_readout_test.moc"
