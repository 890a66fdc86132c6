// SPDX-License-Identifier: GPL-3.0-or-later
// kestrove-cli events and cutoffs: the tables the command line prints match
// the diagrams' own computation, and bad options are refused.

#include "analysis/port_events.h"
#include "analysis/steam_simulation.h"
#include "model/format.h"
#include "model/model.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <cmath>

namespace {

struct Run {
    int ExitCode = -1;
    QStringList Lines;
    QString Errors;
};

QString CliPath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kestrove-cli"));
}

Run RunCli(const QStringList& arguments) {
    QProcess process;
    process.start(CliPath(), arguments);
    Run run;
    if (!process.waitForFinished(60000)) return run;
    run.ExitCode = process.exitCode();
    run.Lines = QString::fromUtf8(process.readAllStandardOutput())
                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    run.Errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class EventsCliTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void eventsMatchTheSweep_data();
    void eventsMatchTheSweep();
    void eventsRefusesBadOptions_data();
    void eventsRefusesBadOptions();
    void cutoffsMatchTheSteamDiagram();
};

void EventsCliTest::initTestCase() {
    if (!QFileInfo::exists(CliPath()))
        QSKIP("kestrove-cli is not built beside the tests (build the kestrove-cli target)");
}

void EventsCliTest::eventsMatchTheSweep_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<char>("mode");
    QTest::newRow("default") << QStringList{QStringLiteral("events")} << 'F';
    QTest::newRow("forward") << QStringList{QStringLiteral("events"), QStringLiteral("--mode"),
                                            QStringLiteral("F")}
                             << 'F';
    QTest::newRow("reverse") << QStringList{QStringLiteral("events"), QStringLiteral("--mode"),
                                            QStringLiteral("R")}
                             << 'R';
}

void EventsCliTest::eventsMatchTheSweep() {
    QFETCH(QStringList, arguments);
    QFETCH(char, mode);
    const Run run = RunCli(arguments);
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.Lines.size(), 1 + analysis::PortRowCount);
    QVERIFY(run.Lines[0].startsWith(QLatin1String("row,rev_arm,front_admission,")));

    kes::Model m;
    kes::InitialiseModel(m);
    const analysis::PortEventTable table = analysis::ComputePortEvents(m, mode);
    for (int row = 0; row < analysis::PortRowCount; ++row) {
        const QStringList cells = run.Lines[row + 1].split(QLatin1Char(','));
        QCOMPARE(cells.size(), 10);
        QCOMPARE(cells[0].toInt(), row);
        QVERIFY(std::abs(cells[1].toDouble() - table.Setting[row]) < 1e-4);
        // front cut-off is the seventh column
        QCOMPARE(cells[6], QString::fromStdString(
                               kes::FormatFixed(table.Percent(row, analysis::FrontCutOff), 0, 2)));
    }
}

void EventsCliTest::eventsRefusesBadOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("both graphs") << QStringList{QStringLiteral("events"), QStringLiteral("--mode"),
                                                QStringLiteral("B")};
    QTest::newRow("no mode value")
        << QStringList{QStringLiteral("events"), QStringLiteral("--mode")};
    QTest::newRow("stray word") << QStringList{QStringLiteral("events"), QStringLiteral("extra")};
}

void EventsCliTest::eventsRefusesBadOptions() {
    QFETCH(QStringList, arguments);
    const Run run = RunCli(arguments);
    QCOMPARE(run.ExitCode, 2);
    QVERIFY(run.Lines.isEmpty());
    QVERIFY(!run.Errors.isEmpty());
}

void EventsCliTest::cutoffsMatchTheSteamDiagram() {
    const Run run = RunCli({QStringLiteral("cutoffs"), QStringLiteral("--positions"),
                            QStringLiteral("10.6,11.4,9.4")});
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.Lines.size(), 4);
    QCOMPARE(run.Lines[0], QStringLiteral("position_number,position,front_cutoff,rear_cutoff"));

    kes::Model m;
    kes::InitialiseModel(m);
    m.RevArmPositions[1] = 10.6f;
    m.RevArmPositions[2] = 11.4f;
    m.RevArmPositions[3] = 9.4f;
    m.RevArmPositionCount = 3;
    const analysis::SteamCutOffs c = analysis::ComputeSteamCutOffs(m);
    for (int n = 1; n <= 3; ++n) {
        const QStringList cells = run.Lines[n].split(QLatin1Char(','));
        QCOMPARE(cells.size(), 4);
        QCOMPARE(cells[0].toInt(), n);
        QCOMPARE(cells[2], QString::fromStdString(kes::FormatFixed(c.Front[n], 0, 1)));
        QCOMPARE(cells[3], QString::fromStdString(kes::FormatFixed(c.Rear[n], 0, 1)));
    }
    QCOMPARE(
        RunCli({QStringLiteral("cutoffs"), QStringLiteral("--positions"), QStringLiteral("1,,2")})
            .ExitCode,
        2);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    EventsCliTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "diagrams_port_events_cli_test.moc"
