// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real kestrove-cli and reads what it prints.

#include "files/dimension_file.h"
#include "model/model.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run Cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KESTROVE_CLI), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class CliSweepTest : public QObject {
    Q_OBJECT
  private slots:
    void sweepPrintsOneRowPerAngleWithEveryPoint() {
        const Run r = Cli({"sweep"});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 72); // header + 0, 5, ..., 355
        const QStringList header = lines[0].split(',');
        QCOMPARE(header.size(), 2 + 48 + 7);
        QCOMPARE(header[0], QStringLiteral("angle"));
        QCOMPARE(header[2], QStringLiteral("p0x"));
        QCOMPARE(header.last(), QStringLiteral("solve_error"));
        const QStringList first = lines[1].split(',');
        QCOMPARE(first.size(), header.size());
        QCOMPARE(first[0], QStringLiteral("0"));
        QVERIFY(std::abs(first[1].toDouble() - 10.4234) < 1e-3); // mid gear by default
        QCOMPARE(first.last(), QStringLiteral("0"));
        QCOMPARE(lines.last().split(',')[0], QStringLiteral("355"));
    }

    void sweepTakesTheReverseArmAndTheRange() {
        const Run r =
            Cli({"sweep", "--rev-arm-offset", "1.5", "--from", "10", "--to", "30", "--step", "10"});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QVERIFY(std::abs(lines[1].split(',')[1].toDouble() - 11.9234) < 1e-3);
        QCOMPARE(lines[3].split(',')[0], QStringLiteral("30"));
    }

    void midGearPrintsTheThreePositions() {
        const Run r = Cli({"midgear"});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("mid_gear,rev_arm_position_2,rev_arm_position_3"));
        const QStringList v = lines[1].split(',');
        QVERIFY(std::abs(v[0].toDouble() - 10.4234) < 1e-3);
        QVERIFY(std::abs(v[1].toDouble() - 11.9234) < 1e-3);
        QVERIFY(std::abs(v[2].toDouble() - 8.9234) < 1e-3);
    }

    void badUsageGivesOneLineAndStatusTwo_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("unknown option") << QStringList{"sweep", "--bogus"};
        QTest::newRow("malformed number") << QStringList{"sweep", "--from", "1.2.3"};
        QTest::newRow("not finite") << QStringList{"sweep", "--step", "nan"};
        QTest::newRow("missing value") << QStringList{"sweep", "--to"};
        QTest::newRow("zero step") << QStringList{"sweep", "--step", "0"};
        QTest::newRow("unknown command") << QStringList{"fly"};
        QTest::newRow("no command") << QStringList{};
    }
    void badUsageGivesOneLineAndStatusTwo() {
        QFETCH(QStringList, args);
        const Run r = Cli(args);
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err.count('\n'), 1);
    }

    void helpPrintsUsage() {
        const Run r = Cli({"--help"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("sweep"));
        QVERIFY(r.out.contains("--dims"));
    }

    void dimsLoadsTheFileBeforeTheCommand() {
        QTemporaryDir dir;
        kes::Model m;
        kes::InitialiseModel(m);
        m.Frame.RevArmNorm = 1.0f;
        const std::string path = dir.filePath("short norm.kvd").toStdString();
        QVERIFY(kes::SaveDimensionFile(m, path).Ok);
        const Run r = Cli({"midgear", "--dims", QString::fromStdString(path)});
        QCOMPARE(r.status, 0);
        const QStringList v = r.out.split('\n', Qt::SkipEmptyParts)[1].split(',');
        QVERIFY(std::abs(v[1].toDouble() - v[0].toDouble() - 1.0) < 1e-4);
    }

    void unreadableDimensionFileFailsWithStatusOne() {
        const Run r = Cli({"midgear", "--dims", "/nonexistent/folder/x.kvd"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("File not found"));
    }
};

QTEST_GUILESS_MAIN(CliSweepTest)
#include "cli_sweep_test.moc"
