// SPDX-License-Identifier: GPL-3.0-or-later
// The port events sweep: sample sequences, the event rule, the rows and the
// table the command line prints.

#include "analysis/event_tables.h"
#include "analysis/port_events.h"
#include "diagrams/port_diagram.h"
#include "model/model.h"

#include <QGuiApplication>
#include <QtTest>

#include <cmath>
#include <sstream>
#include <vector>

using namespace analysis;
using namespace diagrams;

namespace {

struct SampleRecord {
    int Row, J;
    float Angle, Travel;
};
struct CrossingRecord {
    int Row;
    PortEvent Event;
    float Travel;
    int AfterSample; // index into Samples of the sample that found it
};

class RecordingSink : public PortEventSink {
  public:
    void RowBegun(int row, float setting) override { Rows.push_back({row, setting}); }
    void Crossing(int row, PortEvent e, float travel) override {
        Crossings.push_back({row, e, travel, static_cast<int>(Samples.size()) - 1});
    }
    void SampleSolved(int row, int j, float angle, float travel) override {
        Samples.push_back({row, j, angle, travel});
    }
    std::vector<std::pair<int, float>> Rows;
    std::vector<SampleRecord> Samples;
    std::vector<CrossingRecord> Crossings;
};

kes::Model FactoryModel() {
    kes::Model m;
    kes::InitialiseModel(m);
    return m;
}

} // namespace

class PortEventsTest : public QObject {
    Q_OBJECT
  private slots:
    void sampleSequences_data();
    void sampleSequences();
    void eventRule_data();
    void eventRule();
    void crossingInterpolation();
    void rowsRunFromMidGear();
    void crossingsLieBetweenTheirSamples();
    void tableKeepsLastCrossingAndPercents();
    void cutOffRisesTowardFullGear();
    void settingsRestoredAndRepeatable();
    void csvHasHeaderAndNineteenRows();
    void csvLeavesMissingEventsEmpty();
    void badDimensionsDoNotStopTheSweep();
};

void PortEventsTest::sampleSequences_data() {
    QTest::addColumn<char>("mode");
    QTest::addColumn<float>("first");
    QTest::addColumn<float>("step");
    QTest::newRow("forward") << 'F' << 4.0f << 4.0f;
    QTest::newRow("reverse") << 'R' << 356.0f << -4.0f;
}

void PortEventsTest::sampleSequences() {
    QFETCH(char, mode);
    QFETCH(float, first);
    QFETCH(float, step);
    kes::Model m = FactoryModel();
    RecordingSink sink;
    SweepPortEvents(m, mode, sink);
    QCOMPARE(sink.Samples.size(), size_t(PortRowCount * PortSampleCount));
    for (const SampleRecord& s : sink.Samples) {
        // 4, 8, .. 360, 4 forward; 356, 352, .. 0, 356 backward.
        float expected = std::fmod(first + step * static_cast<float>(s.J) + 720.0f, 360.0f);
        if (mode == 'F' && expected == 0.0f) expected = 360.0f;
        QCOMPARE(s.Angle, expected);
    }
    const SampleRecord& j89 = sink.Samples[89];
    const SampleRecord& j90 = sink.Samples[90];
    QCOMPARE(j89.Angle, mode == 'F' ? 360.0f : 0.0f);
    QCOMPARE(j90.Angle, first);
}

void PortEventsTest::eventRule_data() {
    QTest::addColumn<bool>("opens");
    QTest::addColumn<float>("now");
    QTest::addColumn<float>("before");
    QTest::addColumn<bool>("happens");
    QTest::newRow("opens through zero") << true << 0.1f << -0.1f << true;
    QTest::newRow("opens onto exactly zero") << true << 0.0f << -0.1f << true;
    QTest::newRow("opens from exactly zero is not new") << true << 0.1f << 0.0f << false;
    QTest::newRow("stays open") << true << 0.2f << 0.1f << false;
    QTest::newRow("opening is no close") << false << 0.1f << -0.1f << false;
    QTest::newRow("closes through zero") << false << -0.1f << 0.1f << true;
    QTest::newRow("closes onto exactly zero") << false << 0.0f << 0.1f << true;
    QTest::newRow("closes from exactly zero is not new") << false << -0.1f << 0.0f << false;
    QTest::newRow("stays closed") << false << -0.2f << -0.1f << false;
    QTest::newRow("zero to zero") << true << 0.0f << 0.0f << false;
    QTest::newRow("zero to zero closing") << false << 0.0f << 0.0f << false;
}

void PortEventsTest::eventRule() {
    QFETCH(bool, opens);
    QFETCH(float, now);
    QFETCH(float, before);
    QFETCH(bool, happens);
    QCOMPARE(EventHappens(opens, now, before), happens);
}

void PortEventsTest::crossingInterpolation() {
    // Opening -1 at travel 100, +3 at travel 140: zero a quarter of the way.
    QCOMPARE(CrossingTravel(140.0, 3.0, 100.0, -1.0), 110.0);
    // Closing: +2 at 300, -2 at 280: half way.
    QCOMPARE(CrossingTravel(280.0, -2.0, 300.0, 2.0), 290.0);
    // Exactly zero now: the crossing is this sample's travel.
    QCOMPARE(CrossingTravel(50.0, 0.0, 40.0, -1.0), 50.0);
}

void PortEventsTest::rowsRunFromMidGear() {
    for (char mode : {'F', 'R'}) {
        kes::Model m = FactoryModel();
        RecordingSink sink;
        SweepPortEvents(m, mode, sink);
        QCOMPARE(sink.Rows.size(), size_t(PortRowCount));
        QCOMPARE(sink.Rows.front().second, m.MidGear());
        const float sign = mode == 'F' ? 1.0f : -1.0f;
        QVERIFY(std::abs(sink.Rows.back().second - (m.MidGear() + sign * m.Frame.RevArmMax)) <
                1e-4f);
        for (int i = 1; i < PortRowCount; ++i)
            QVERIFY(sign * (sink.Rows[i].second - sink.Rows[i - 1].second) > 0.0f);
    }
}

void PortEventsTest::crossingsLieBetweenTheirSamples() {
    kes::Model m = FactoryModel();
    RecordingSink sink;
    SweepPortEvents(m, 'F', sink);
    QVERIFY(!sink.Crossings.empty());
    for (const CrossingRecord& c : sink.Crossings) {
        const SampleRecord& now = sink.Samples[c.AfterSample];
        QVERIFY(now.J >= 1); // the first sample of a row only starts the comparison
        const SampleRecord& before = sink.Samples[c.AfterSample - 1];
        QCOMPARE(before.Row, now.Row);
        const float lo = std::min(now.Travel, before.Travel);
        const float hi = std::max(now.Travel, before.Travel);
        QVERIFY2(c.Travel >= lo - 1e-3f && c.Travel <= hi + 1e-3f,
                 qPrintable(QStringLiteral("event %1 at %2 outside %3 .. %4")
                                .arg(c.Event)
                                .arg(c.Travel)
                                .arg(lo)
                                .arg(hi)));
    }
    // With the factory gear every event happens once per turn in every row.
    QCOMPARE(sink.Crossings.size(), size_t(PortRowCount * PortEventCount));
}

void PortEventsTest::tableKeepsLastCrossingAndPercents() {
    kes::Model m = FactoryModel();
    RecordingSink sink;
    SweepPortEvents(m, 'F', sink);
    const PortEventTable table = ComputePortEvents(m, 'F');
    QCOMPARE(table.Mode, 'F');
    for (int row = 0; row < PortRowCount; ++row) {
        for (int e = 0; e < PortEventCount; ++e) {
            const auto event = static_cast<PortEvent>(e);
            float last = -1.0f;
            int count = 0;
            for (const CrossingRecord& c : sink.Crossings)
                if (c.Row == row && c.Event == event) last = c.Travel, ++count;
            QCOMPARE(int(table.Count[row][e]), count);
            QCOMPARE(table.LastTravel[row][e], last);
            if (!count) continue;
            const double expected = IsFrontEvent(event) ? last / 6.4 : (640.0 - last) / 6.4;
            QCOMPARE(table.Percent(row, event), expected);
            QVERIFY(table.Percent(row, event) >= 0.0 && table.Percent(row, event) <= 100.0);
        }
    }
}

void PortEventsTest::cutOffRisesTowardFullGear() {
    // Cut-off comes later in the stroke as the reverse arm moves away from
    // mid gear, in both gears and at both ends; admission comes earlier.
    for (char mode : {'F', 'R'}) {
        kes::Model m = FactoryModel();
        const PortEventTable t = ComputePortEvents(m, mode);
        for (PortEvent cut : {FrontCutOff, RearCutOff}) {
            QVERIFY(t.Percent(0, cut) < 15.0);
            QVERIFY(t.Percent(PortRowCount - 1, cut) > 70.0);
            for (int row = 1; row < PortRowCount; ++row)
                QVERIFY2(t.Percent(row, cut) > t.Percent(row - 1, cut),
                         qPrintable(QStringLiteral("mode %1 row %2").arg(mode).arg(row)));
        }
        for (PortEvent adm : {FrontAdmission, RearAdmission})
            QVERIFY(t.Percent(PortRowCount - 1, adm) < t.Percent(0, adm));
        // Release comes before the end of the stroke, compression after cut-off.
        for (int row = 0; row < PortRowCount; ++row) {
            QVERIFY(t.Percent(row, FrontRelease) < 100.0);
            QVERIFY(t.Percent(row, FrontRelease) > t.Percent(row, FrontCutOff));
        }
    }
}

void PortEventsTest::settingsRestoredAndRepeatable() {
    kes::Model m = FactoryModel();
    m.RevArmSetting = 11.25f;
    m.DriverAngle = 123.0f;
    const PortEventTable a = ComputePortEvents(m, 'R');
    QCOMPARE(m.RevArmSetting, 11.25f);
    QCOMPARE(m.DriverAngle, 123.0f);
    const PortEventTable b = ComputePortEvents(m, 'R');
    QVERIFY(a.LastTravel == b.LastTravel);
    QVERIFY(a.Count == b.Count);
    // Anything but 'R' sweeps forward.
    const PortEventTable f = ComputePortEvents(m, 'F');
    const PortEventTable x = ComputePortEvents(m, 'x');
    QCOMPARE(x.Mode, 'F');
    QVERIFY(f.LastTravel == x.LastTravel);
    QVERIFY(f.LastTravel != a.LastTravel);
}

void PortEventsTest::csvHasHeaderAndNineteenRows() {
    kes::Model m = FactoryModel();
    const PortEventTable table = ComputePortEvents(m, 'F');
    std::ostringstream out;
    WritePortEventsCsv(table, out);
    std::istringstream in(out.str());
    std::string line;
    std::getline(in, line);
    QCOMPARE(QString::fromStdString(line),
             QStringLiteral("row,rev_arm,front_admission,front_release,rear_admission,"
                            "rear_release,front_cutoff,front_compression,rear_cutoff,"
                            "rear_compression"));
    int rows = 0;
    const PortEvent order[] = {FrontAdmission, FrontRelease,     RearAdmission, RearRelease,
                               FrontCutOff,    FrontCompression, RearCutOff,    RearCompression};
    while (std::getline(in, line)) {
        const QStringList cells = QString::fromStdString(line).split(QLatin1Char(','));
        QCOMPARE(cells.size(), 10);
        QCOMPARE(cells[0].toInt(), rows);
        QVERIFY(std::abs(cells[1].toDouble() - table.Setting[rows]) < 1e-4);
        for (int c = 0; c < 8; ++c) {
            bool ok = false;
            const double v = cells[c + 2].toDouble(&ok);
            QVERIFY(ok);
            QVERIFY(std::abs(v - table.Percent(rows, order[c])) <= 0.005 + 1e-9);
        }
        ++rows;
    }
    QCOMPARE(rows, PortRowCount);
}

void PortEventsTest::csvLeavesMissingEventsEmpty() {
    // An exhaust cavity too short to reach the front bridge: the front port
    // never opens to exhaust, so it neither releases nor compresses.
    kes::Model m = FactoryModel();
    m.Cylinder[kes::ExhCavityFront] = 0.0f;
    const PortEventTable table = ComputePortEvents(m, 'F');
    std::ostringstream out;
    WritePortEventsCsv(table, out);
    std::istringstream in(out.str());
    std::string line;
    std::getline(in, line);
    int rows = 0;
    while (std::getline(in, line)) {
        const QStringList cells = QString::fromStdString(line).split(QLatin1Char(','));
        QCOMPARE(cells.size(), 10);
        QVERIFY(!cells[2].isEmpty()); // front admission
        QVERIFY(cells[3].isEmpty());  // front release
        QVERIFY(!cells[6].isEmpty()); // front cut-off
        QVERIFY(cells[7].isEmpty());  // front compression
        QVERIFY(!cells[5].isEmpty()); // rear release still happens
        ++rows;
    }
    QCOMPARE(rows, PortRowCount);
}

void PortEventsTest::badDimensionsDoNotStopTheSweep() {
    kes::Model m = FactoryModel();
    m.Frame.StrokeLength = 0.0f;
    m.Frame.RevArmMax = 0.0f;
    m.Baker.RadiusBarLength = 100.0f;
    const PortEventTable table = ComputePortEvents(m, 'F');
    std::ostringstream out;
    WritePortEventsCsv(table, out);
    const std::string text = out.str();
    QCOMPARE(std::count(text.begin(), text.end(), '\n'), 1 + PortRowCount);
    for (int row = 0; row < PortRowCount; ++row)
        QCOMPARE(table.Setting[row], m.MidGear());
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    PortEventsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "diagrams_port_events_test.moc"
