// SPDX-License-Identifier: GPL-3.0-or-later
// The steam diagram's simulation: the four phases of each end, the
// settling samples, the driver's direction, the cut-off interpolation and
// the bold position labels.

#include "analysis/event_tables.h"
#include "diagrams/steam_diagram.h"
#include "model/format.h"
#include "model/model.h"

#include <QGuiApplication>
#include <QtTest>

#include <cmath>
#include <sstream>
#include <vector>

using namespace analysis;
using namespace diagrams;

namespace {

struct Event {
    enum Kind { Begin, Line, Cut, Label, Sample } What = Begin;
    int N = 0;
    int S = 0; // the sample the event belongs to
    SteamEnd End = SteamEnd::Front;
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    float Value = 0;
    SteamSample Now;
    SteamState State;
};

class Recorder : public SteamPixelSink {
  public:
    void PositionBegun(int n, float setting) override {
        s_ = 1;
        Event e;
        e.What = Event::Begin;
        e.N = n;
        e.Value = setting;
        Events.push_back(e);
    }
    void PressureLine(SteamEnd end, int x1, int y1, int x2, int y2) override {
        Event e;
        e.What = Event::Line;
        e.S = s_;
        e.End = end;
        e.X1 = x1, e.Y1 = y1, e.X2 = x2, e.Y2 = y2;
        Events.push_back(e);
    }
    void CutOff(SteamEnd end, int n, float percent) override {
        Event e;
        e.What = Event::Cut;
        e.S = s_;
        e.N = n;
        e.End = end;
        e.Value = percent;
        Events.push_back(e);
    }
    void PositionLabel(SteamEnd end, int counter, int x, int y) override {
        Event e;
        e.What = Event::Label;
        e.S = s_;
        e.N = counter;
        e.End = end;
        e.X1 = x, e.Y1 = y;
        Events.push_back(e);
    }
    void SampleDone(int n, int s, float angle, const SteamSample& now,
                    const SteamState& state) override {
        Event e;
        e.What = Event::Sample;
        e.N = n;
        e.S = s;
        e.Value = angle;
        e.Now = now;
        e.State = state;
        Events.push_back(e);
        s_ = s + 1;
    }
    std::vector<Event> Events;

  private:
    int s_ = 1;
};

kes::Model ModelWithPositions(std::initializer_list<float> offsets) {
    kes::Model m;
    kes::InitialiseModel(m);
    int n = 0;
    for (float d : offsets)
        m.RevArmPositions[++n] = m.MidGear() + d;
    m.RevArmPositionCount = n;
    return m;
}

SteamState Running(char phaseF, char phaseR, float pf, float pr) {
    SteamState s;
    s.PhaseF = phaseF;
    s.PhaseR = phaseR;
    s.Pf = s.PfPrev = pf;
    s.Pr = s.PrPrev = pr;
    return s;
}

} // namespace

class SteamSimulationTest : public QObject {
    Q_OBJECT
  private slots:
    void frontPhases();
    void rearPhases();
    void firstSampleDrawsNothingAndLiftsPfToFive();
    void onlyTheLastTurnIsDrawn();
    void driverTurnsByGear();
    void cutOffShortensThePreviousTravel();
    void boldLabelOncePerAdmission();
    void cutOffRisesTowardFullGear();
    void settingsRestoredAndRepeatable();
    void noPositionsRunsNothing();
    void unusedSlotBetweenPositionsIsSkipped();
    void cutOffCsv();
    void badDimensionsDoNotStopTheSimulation();
};

void SteamSimulationTest::frontPhases() {
    // Exhaust while the port is open to exhaust: falls by a fifteenth of the
    // release pressure, never below 5.
    SteamState s = Running(PhaseExhaust, PhaseAdmission, 100, 0);
    s.Qf = 60;
    SteamSample now{300, -0.1f, 0.2f, 0, 0};
    StepFrontPhase(s, now);
    QCOMPARE(s.Pf, 96.0f);
    QCOMPARE(s.PhaseF, PhaseExhaust);
    s.Pf = 6;
    StepFrontPhase(s, now);
    QCOMPARE(s.Pf, 5.0f);

    // Exhaust closed: one compression step and the compression phase.
    s = Running(PhaseExhaust, PhaseAdmission, 10, 0);
    s.Tp = 100;
    now = SteamSample{99, -0.1f, -0.01f, 0, 0};
    StepFrontPhase(s, now);
    const double q = 100.0 / 100.0 + 0.3;
    QCOMPARE(s.Pf, static_cast<float>(10 + q * q * q * q));
    QCOMPARE(s.PhaseF, PhaseCompression);

    // Compression meets a steam opening: admission, the opening raised to
    // at least 0.005.
    s = Running(PhaseCompression, PhaseAdmission, 20, 0);
    s.Tp = 10;
    now = SteamSample{5, 0.001f, -0.3f, 0, 0};
    StepFrontPhase(s, now);
    QCOMPARE(now.FS, 0.005f);
    QCOMPARE(s.Pf, static_cast<float>(20 + 0.005 * 100000.0 / 50.0));
    QCOMPARE(s.PhaseF, PhaseAdmission);

    // The piston turning away from the front end ends compression.
    s = Running(PhaseCompression, PhaseAdmission, 20, 0);
    s.Tp = 10;
    now = SteamSample{12, -0.1f, -0.3f, 0, 0};
    StepFrontPhase(s, now);
    QCOMPARE(s.PhaseF, PhaseAdmission);

    // Admission is capped at 303 and re-arms the label.
    s = Running(PhaseAdmission, PhaseAdmission, 290, 0);
    s.LabelF = LabelWritten;
    now = SteamSample{10, 0.2f, -0.3f, 0, 0};
    StepFrontPhase(s, now);
    QCOMPARE(s.Pf, 303.0f);
    QCOMPARE(s.LabelF, LabelArmed);

    // The steam port closed: expansion.
    s = Running(PhaseAdmission, PhaseAdmission, 300, 0);
    s.Tp = 200;
    now = SteamSample{220, -0.01f, -0.3f, 0, 0};
    StepFrontPhase(s, now);
    QCOMPARE(s.Pf, static_cast<float>(300.0 * 300.0 / 320.0 * 0.96));
    QCOMPARE(s.PhaseF, PhaseExpansion);

    // Release: the pressure is remembered and exhaust begins.
    s = Running(PhaseExpansion, PhaseAdmission, 150, 0);
    now = SteamSample{600, -0.2f, 0.01f, 0, 0};
    StepFrontPhase(s, now);
    QCOMPARE(s.Qf, 150.0f);
    QCOMPARE(s.Pf, 140.0f);
    QCOMPARE(s.PhaseF, PhaseExhaust);

    // A steam opening during expansion returns to admission.
    s = Running(PhaseExpansion, PhaseAdmission, 150, 0);
    s.Tp = 300;
    now = SteamSample{310, 0.01f, -0.2f, 0, 0};
    StepFrontPhase(s, now);
    QCOMPARE(s.PhaseF, PhaseAdmission);
}

void SteamSimulationTest::rearPhases() {
    // The rear end mirrors the travel: compression ends when the piston
    // turns away from the rear (travel falling).
    SteamState s = Running(PhaseAdmission, PhaseCompression, 0, 20);
    s.Tp = 630;
    SteamSample now{628, 0, 0, -0.1f, -0.3f};
    StepRearPhase(s, now);
    QCOMPARE(s.PhaseR, PhaseAdmission);
    const double q = (640.0 - 630) / (641.0 - 628) + 0.3;
    QCOMPARE(s.Pr, static_cast<float>(20 + q * q * q * q));

    s = Running(PhaseAdmission, PhaseCompression, 0, 20);
    s.Tp = 628;
    now = SteamSample{630, 0, 0, -0.1f, -0.3f};
    StepRearPhase(s, now);
    QCOMPARE(s.PhaseR, PhaseCompression);

    // Admission measured from the rear dead centre.
    s = Running(PhaseAdmission, PhaseAdmission, 0, 20);
    now = SteamSample{600, 0, 0, 0.002f, -0.3f};
    StepRearPhase(s, now);
    QCOMPARE(now.RS, 0.005f);
    QCOMPARE(s.Pr, static_cast<float>(20 + 0.005 * 100000.0 / 85.0));

    // Expansion from the rear end.
    s = Running(PhaseAdmission, PhaseAdmission, 0, 300);
    s.Tp = 440;
    now = SteamSample{420, 0, 0, -0.1f, -0.3f};
    StepRearPhase(s, now);
    QCOMPARE(s.Pr, static_cast<float>(300.0 * 300.0 / 320.0 * 0.96));
    QCOMPARE(s.PhaseR, PhaseExpansion);

    // The rear exhaust opening, not the front one, releases the rear.
    s = Running(PhaseExpansion, PhaseExpansion, 100, 100);
    now = SteamSample{100, -0.2f, 0.3f, -0.2f, -0.01f};
    StepRearPhase(s, now);
    QCOMPARE(s.PhaseR, PhaseExpansion);
    now.RX = 0.2f;
    StepRearPhase(s, now);
    QCOMPARE(s.PhaseR, PhaseExhaust);
}

void SteamSimulationTest::firstSampleDrawsNothingAndLiftsPfToFive() {
    kes::Model m = ModelWithPositions({0.0f, 1.5f, -1.5f});
    Recorder r;
    RunSteamSimulation(m, r);
    QCOMPARE(r.Events[0].What, Event::Begin);
    QCOMPARE(r.Events[1].What, Event::Sample); // nothing drawn or written before
    const Event& first = r.Events[1];
    QCOMPARE(first.S, 1);
    QCOMPARE(first.Value, SteamStartAngle + SteamStepAngle);
    QVERIFY(first.Now.FX > 0.0f);
    QCOMPARE(first.State.Pf, 5.0f);
    QCOMPARE(first.State.PfPrev, 5.0f);
    QCOMPARE(first.State.PhaseF, PhaseExhaust);
}

void SteamSimulationTest::onlyTheLastTurnIsDrawn() {
    kes::Model m = ModelWithPositions({0.0f, 1.5f, -1.5f});
    Recorder r;
    RunSteamSimulation(m, r);
    int lines = 0;
    std::vector<int> perPosition(4, 0);
    int n = 0;
    for (const Event& e : r.Events) {
        if (e.What == Event::Begin) n = e.N;
        if (e.What != Event::Line) continue;
        ++lines;
        ++perPosition[n];
        QVERIFY(e.S > SteamSettlingSamples);
    }
    // At least one line per end for each of the 90 drawn samples.
    for (int p = 1; p <= 3; ++p)
        QVERIFY(perPosition[p] >= 2 * 90);
    QCOMPARE(int(std::count_if(r.Events.begin(), r.Events.end(),
                               [](const Event& e) { return e.What == Event::Sample; })),
             3 * SteamSamplesPerPosition);
}

void SteamSimulationTest::driverTurnsByGear() {
    // Forward, reverse and mid gear: reverse gear turns the driver backwards
    // and the angle runs on from one position to the next.
    kes::Model m = ModelWithPositions({1.0f, -1.0f, 0.0f});
    Recorder r;
    RunSteamSimulation(m, r);
    float previous = SteamStartAngle;
    for (const Event& e : r.Events) {
        if (e.What != Event::Sample) continue;
        const float step = e.N == 2 ? -SteamStepAngle : SteamStepAngle;
        float expected = previous + step;
        if (expected < 0.0f) expected += 360.0f;
        if (expected > 360.0f) expected -= 360.0f;
        QVERIFY2(e.Value == expected, qPrintable(QStringLiteral("position %1 sample %2: %3 not %4")
                                                     .arg(e.N)
                                                     .arg(e.S)
                                                     .arg(e.Value)
                                                     .arg(expected)));
        previous = e.Value;
    }
    // 600 degrees forward, back and forward again from 96.
    QCOMPARE(previous, 336.0f);
}

void SteamSimulationTest::cutOffShortensThePreviousTravel() {
    kes::Model m = ModelWithPositions({0.0f, 1.0f, -1.0f});
    Recorder r;
    RunSteamSimulation(m, r);
    int checked = 0;
    float previousT = 0;
    for (size_t i = 0; i < r.Events.size(); ++i) {
        const Event& e = r.Events[i];
        if (e.What == Event::Sample) previousT = e.Now.T;
        if (e.What != Event::Cut) continue;
        // Find this sample's travel.
        size_t k = i;
        while (r.Events[k].What != Event::Sample)
            ++k;
        const float T = r.Events[k].Now.T;
        const float cutTravel = e.End == SteamEnd::Front ? e.Value * 6.4f : 640.0f - e.Value * 6.4f;
        QVERIFY(cutTravel >= std::min(previousT, T) - 0.05f);
        QVERIFY(cutTravel <= std::max(previousT, T) + 0.05f);
        if (e.S <= SteamSettlingSamples) continue;
        // Drawn: a level line to the cut-off point, then the next line of the
        // same end starts there.
        const Event& level = r.Events[i - 1];
        QCOMPARE(level.What, Event::Line);
        QCOMPARE(level.End, e.End);
        QCOMPARE(level.Y1, level.Y2);
        const Event& next = r.Events[i + 1];
        QCOMPARE(next.What, Event::Line);
        QCOMPARE(next.End, e.End);
        QCOMPARE(next.Y1, level.Y2);
        QVERIFY(std::abs(next.X1 - level.X2) <= 1);
        QVERIFY(std::abs(next.X1 - static_cast<int>(std::lround(584 - 0.84375 * cutTravel))) <= 1);
        ++checked;
    }
    QVERIFY(checked >= 6); // both ends of three positions
}

void SteamSimulationTest::boldLabelOncePerAdmission() {
    kes::Model m = ModelWithPositions({0.0f, 0.5f, 1.0f, 1.5f, -0.5f, -1.0f, -1.5f});
    Recorder r;
    RunSteamSimulation(m, r);
    for (SteamEnd end : {SteamEnd::Front, SteamEnd::Rear}) {
        bool armed = true;
        int labels = 0;
        for (const Event& e : r.Events) {
            if (e.What == Event::Begin) armed = true;
            if (e.What == Event::Sample) {
                const char phase = end == SteamEnd::Front ? e.State.PhaseF : e.State.PhaseR;
                if (phase == PhaseAdmission) armed = true;
            }
            if (e.What != Event::Label || e.End != end) continue;
            QVERIFY2(armed, "a second label in one admission");
            armed = false;
            ++labels;
            QCOMPARE(e.Y1, end == SteamEnd::Front ? 122 : 135);
        }
        QVERIFY(labels >= 1);
    }
    // A label is written in expansion with the pressure between 150 and 250.
    for (size_t i = 0; i < r.Events.size(); ++i) {
        const Event& e = r.Events[i];
        if (e.What != Event::Label) continue;
        size_t k = i;
        while (r.Events[k].What != Event::Sample)
            ++k;
        const SteamState& st = r.Events[k].State;
        const bool front = e.End == SteamEnd::Front;
        const float p = front ? st.Pf : st.Pr;
        QCOMPARE(front ? st.PhaseF : st.PhaseR, PhaseExpansion);
        QVERIFY(p > 150.0f && p < 250.0f);
        QCOMPARE(e.N, r.Events[k].N);
    }
}

void SteamSimulationTest::cutOffRisesTowardFullGear() {
    // Cut-off comes later in the stroke the further the reverse arm is from
    // mid gear, forward and backward, at both ends.
    kes::Model m = ModelWithPositions({0.0f, 0.5f, 1.0f, 1.5f, -0.5f, -1.0f, -1.5f});
    const SteamCutOffs c = ComputeSteamCutOffs(m);
    QCOMPARE(c.PositionCount, 7);
    for (int n = 1; n <= 7; ++n)
        QVERIFY(c.FrontFound[n] && c.RearFound[n]);
    for (const auto* v : {&c.Front, &c.Rear}) {
        QVERIFY((*v)[1] < 15.0f);
        QVERIFY((*v)[1] < (*v)[2] && (*v)[2] < (*v)[3] && (*v)[3] < (*v)[4]);
        QVERIFY((*v)[1] < (*v)[5] && (*v)[5] < (*v)[6] && (*v)[6] < (*v)[7]);
        QVERIFY((*v)[4] > 60.0f && (*v)[7] > 60.0f);
    }
}

void SteamSimulationTest::settingsRestoredAndRepeatable() {
    kes::Model m = ModelWithPositions({0.0f, 1.5f});
    m.RevArmSetting = 11.0f;
    m.DriverAngle = 45.0f;
    const SteamCutOffs a = ComputeSteamCutOffs(m);
    QCOMPARE(m.RevArmSetting, 11.0f);
    QCOMPARE(m.DriverAngle, 45.0f);
    const SteamCutOffs b = ComputeSteamCutOffs(m);
    QVERIFY(a.Front == b.Front && a.Rear == b.Rear);
}

void SteamSimulationTest::noPositionsRunsNothing() {
    kes::Model m = ModelWithPositions({});
    Recorder r;
    RunSteamSimulation(m, r);
    QVERIFY(r.Events.empty());
    for (int n = 1; n <= 9; ++n)
        m.RevArmPositions[static_cast<size_t>(n)] = m.MidGear() + 0.1f * static_cast<float>(n);
    m.RevArmPositionCount = 42; // never more than the nine slots
    Recorder r9;
    RunSteamSimulation(m, r9);
    QCOMPARE(int(std::count_if(r9.Events.begin(), r9.Events.end(),
                               [](const Event& e) { return e.What == Event::Begin; })),
             MaxSteamPositions);
}

void SteamSimulationTest::unusedSlotBetweenPositionsIsSkipped() {
    // Position 2 cleared to 0 while 3 is in use is no reverse-arm setting:
    // the driver is not turned for it and its cut-off row stays empty.
    kes::Model m = ModelWithPositions({0.0f, 1.5f, 1.0f});
    m.RevArmPositions[2] = 0.0f;
    Recorder r;
    RunSteamSimulation(m, r);
    std::vector<int> begun;
    for (const Event& e : r.Events) {
        if (e.What == Event::Begin) begun.push_back(e.N);
        if (e.What == Event::Cut || e.What == Event::Sample) QVERIFY(e.N != 2);
    }
    QCOMPARE(begun, (std::vector<int>{1, 3}));
}

void SteamSimulationTest::cutOffCsv() {
    kes::Model m = ModelWithPositions({0.0f, 1.5f, -1.5f});
    const SteamCutOffs c = ComputeSteamCutOffs(m);
    std::ostringstream out;
    WriteSteamCutOffsCsv(c, out);
    std::istringstream in(out.str());
    std::string line;
    std::getline(in, line);
    QCOMPARE(QString::fromStdString(line),
             QStringLiteral("position_number,position,front_cutoff,rear_cutoff"));
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        const QStringList cells = QString::fromStdString(line).split(QLatin1Char(','));
        QCOMPARE(cells.size(), 4);
        QCOMPARE(cells[0].toInt(), n);
        QVERIFY(std::abs(cells[1].toDouble() - c.Setting[n]) < 1e-4);
        // As the window shows it: one decimal.
        QCOMPARE(cells[2], QString::fromStdString(kes::FormatFixed(c.Front[n], 0, 1)));
        QCOMPARE(cells[3], QString::fromStdString(kes::FormatFixed(c.Rear[n], 0, 1)));
    }
    QCOMPARE(n, 3);

    // No cut-off when the steam port never closes: an empty cell.
    SteamCutOffs none;
    none.PositionCount = 1;
    none.Setting[1] = 10.5f;
    none.RearFound[1] = true;
    none.Rear[1] = 42.3f;
    std::ostringstream out2;
    WriteSteamCutOffsCsv(none, out2);
    QVERIFY(out2.str().find("\n1,10.5000,,42.3\n") != std::string::npos);
}

void SteamSimulationTest::badDimensionsDoNotStopTheSimulation() {
    kes::Model m = ModelWithPositions({0.0f, 1.5f});
    m.Frame.StrokeLength = 0.0f;
    m.Frame.MainRodLength = 0.0f;
    Recorder r;
    RunSteamSimulation(m, r);
    QCOMPARE(int(std::count_if(r.Events.begin(), r.Events.end(),
                               [](const Event& e) { return e.What == Event::Sample; })),
             2 * SteamSamplesPerPosition);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    SteamSimulationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "diagrams_steam_simulation_test.moc"
