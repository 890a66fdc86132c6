// SPDX-License-Identifier: GPL-3.0-or-later
// kestrove-cli diagram and readouts, run in-process.

#include "cli/commands.h"
#include "diagram_test_support.h"
#include "diagrams/diagram_render.h"
#include "diagrams/picture_stamp.h"
#include "diagrams/sine_diagram.h"
#include "model/format.h"

#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

namespace {

struct Run {
    int status = -1;
    std::string out;
    std::string usageError;
};

Run Diagram(kes::Model& m, std::vector<std::string> words,
            int (*command)(kes::Model&, cli::Args&, std::ostream&) = &cli::RunDiagram) {
    Run run;
    cli::Args args(std::move(words));
    std::ostringstream out;
    try {
        run.status = command(m, args, out);
    } catch (const cli::UsageError& e) {
        run.usageError = e.what();
    }
    run.out = out.str();
    return run;
}

// The picture a stamped PNG holds above its footer strip.
QImage AbovePictureStamp(const std::string& file) {
    const QImage image = QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
    return image.copy(0, 0, image.width(), image.height() - diagrams::StampHeight);
}

QString Fixed3(float v) {
    return QString::fromStdString(kes::FormatFixed(v, 6, 3)).trimmed();
}

} // namespace

class DiagramCliTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenPlatform(); }
    void defaultPositionsAreTheMidGearThree();
    void givenPositionsAndScale();
    void svgOutput();
    void footerStripNamesTheDataSet();
    void badUsage_data();
    void badUsage();
    void readoutsAsCsv();
    void readoutsRefuseFarPositions();
};

void DiagramCliTest::defaultPositionsAreTheMidGearThree() {
    auto m = FactoryModel();
    m->RevArmPositionCount = 7; // whatever the file said
    QTemporaryDir dir;
    const std::string out = dir.filePath("sine.png").toStdString();
    const Run run = Diagram(*m, {"sine", "-o", out});
    QCOMPARE(run.status, 0);
    QVERIFY(run.usageError.empty());

    auto expected = FactoryModel();
    const float mid = expected->MidGear();
    SetPositions(*expected,
                 {mid, mid + expected->Frame.RevArmNorm, mid - expected->Frame.RevArmNorm});
    DiagramTextState text;
    // Above the footer strip, the picture is the window's.
    QCOMPARE(AbovePictureStamp(out),
             diagrams::RenderDiagram(*diagrams::FindDiagram("sine"), *expected, text));
}

void DiagramCliTest::givenPositionsAndScale() {
    auto m = FactoryModel();
    QTemporaryDir dir;
    const std::string out = dir.filePath("oval.png").toStdString();
    const Run run =
        Diagram(*m, {"oval", "--positions", "10.5,11.25", "--vertical-scale", "4", "-o", out});
    QCOMPARE(run.status, 0);
    QCOMPARE(m->RevArmPositionCount, 2);
    QCOMPARE(m->RevArmPositions[1], 10.5f);
    QCOMPARE(m->RevArmPositions[2], 11.25f);
    QCOMPARE(m->RevArmPositions[3], 0.0f);
    QCOMPARE(m->VerticalScale, 4.0f);
    auto expected = FactoryModel();
    SetPositions(*expected, {10.5f, 11.25f});
    expected->VerticalScale = 4.0f;
    DiagramTextState text;
    QCOMPARE(AbovePictureStamp(out),
             diagrams::RenderDiagram(*diagrams::FindDiagram("oval"), *expected, text));
}

void DiagramCliTest::svgOutput() {
    auto m = FactoryModel();
    QTemporaryDir dir;
    const QString out = dir.filePath("sine.svg");
    QCOMPARE(Diagram(*m, {"sine", "-o", out.toStdString()}).status, 0);
    QVERIFY(QSvgRenderer(out).isValid());
    // An unwritable place is an I/O failure, not a usage error.
    const Run run = Diagram(*m, {"sine", "-o", "/nonexistent-folder/x.svg"});
    QCOMPARE(run.status, 1);
    QVERIFY(run.usageError.empty());
}

void DiagramCliTest::footerStripNamesTheDataSet() {
    QTemporaryDir dir;
    for (const auto& kind : diagrams::DiagramKinds()) {
        auto m = FactoryModel();
        m->DataSetName = "Stamp-Test";
        const std::string name(kind.Name);
        const std::string stamped =
            dir.filePath(QString::fromStdString(name + ".png")).toStdString();
        const std::string bare =
            dir.filePath(QString::fromStdString(name + "-bare.png")).toStdString();
        QCOMPARE(Diagram(*m, {name, "-o", stamped}).status, 0);
        QCOMPARE(Diagram(*m, {name, "--bare", "-o", bare}).status, 0);
        const QImage withStrip(QString::fromStdString(stamped));
        const QImage without(QString::fromStdString(bare));
        QCOMPARE(without.size(), kind.ClientSize);
        QCOMPARE(withStrip.size(), diagrams::StampedSize(kind.ClientSize));
        QCOMPARE(AbovePictureStamp(stamped), without.convertToFormat(QImage::Format_RGB32));
        // The strip holds text: some pixels of it are dark.
        int dark = 0;
        for (int y = kind.ClientSize.height() + 2; y < withStrip.height(); ++y)
            for (int x = 0; x < withStrip.width(); ++x)
                if (qGray(withStrip.pixel(x, y)) < 100) ++dark;
        QVERIFY(dark > 20);
    }
    // The SVG carries the strip's text.
    auto m = FactoryModel();
    m->DataSetName = "Stamp-Test";
    const QString svg = dir.filePath("sine.svg");
    QCOMPARE(Diagram(*m, {"sine", "-o", svg.toStdString()}).status, 0);
    QFile f(svg);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY(text.contains("Stamp-Test"));
    QVERIFY(text.contains(QDate::currentDate().toString(Qt::ISODate).toLatin1()));
}

void DiagramCliTest::badUsage_data() {
    QTest::addColumn<QStringList>("words");
    QTest::newRow("no diagram") << QStringList{"-o", "x.png"};
    QTest::newRow("unknown diagram") << QStringList{"cosine", "-o", "x.png"};
    QTest::newRow("no output") << QStringList{"sine"};
    QTest::newRow("wrong extension") << QStringList{"sine", "-o", "x.jpg"};
    QTest::newRow("bad position") << QStringList{"sine", "--positions", "10.4,abc", "-o", "x.png"};
    QTest::newRow("empty positions") << QStringList{"sine", "--positions", "", "-o", "x.png"};
    QTest::newRow("ten positions")
        << QStringList{"sine", "--positions", "1,2,3,4,5,6,7,8,9,10", "-o", "x.png"};
    QTest::newRow("scale too small")
        << QStringList{"sine", "--vertical-scale", "0.05", "-o", "x.png"};
    QTest::newRow("scale not a number")
        << QStringList{"sine", "--vertical-scale", "nan", "-o", "x.png"};
    QTest::newRow("bad mode") << QStringList{"oval", "--mode", "X", "-o", "x.png"};
    QTest::newRow("stray word") << QStringList{"sine", "extra", "-o", "x.png"};
}

void DiagramCliTest::badUsage() {
    QFETCH(QStringList, words);
    auto m = FactoryModel();
    std::vector<std::string> list;
    for (const QString& w : words)
        list.push_back(w.toStdString());
    const Run run = Diagram(*m, list);
    QVERIFY2(!run.usageError.empty(), run.out.c_str());
    QVERIFY(!QFile::exists("x.png"));
}

void DiagramCliTest::readoutsAsCsv() {
    auto m = FactoryModel();
    const Run run = Diagram(*m, {}, &cli::RunReadouts);
    QCOMPARE(run.status, 0);
    const QStringList lines = QString::fromStdString(run.out).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QString("rear_lead,front_steam_lap,front_exhaust_clearance,"
                               "rear_exhaust_clearance,rear_steam_lap,front_lead"));
    const auto r = analysis::SineReadouts(*m, m->MidGear());
    QCOMPARE(lines[1], QStringList({Fixed3(r.RearLead), Fixed3(r.FrontSteamLap),
                                    Fixed3(r.FrontExhaustClearance), Fixed3(r.RearExhaustClearance),
                                    Fixed3(r.RearSteamLap), Fixed3(r.FrontLead)})
                           .join(','));
    // The lap equals the valve's own.
    QCOMPARE(lines[1].split(',')[1], Fixed3(m->Solver.FrontSteamLap));

    const float near = m->MidGear() + 0.04f;
    const Run nearRun = Diagram(*m, {"--position", std::to_string(near)}, &cli::RunReadouts);
    QCOMPARE(nearRun.status, 0);
}

void DiagramCliTest::readoutsRefuseFarPositions() {
    auto m = FactoryModel();
    const Run run =
        Diagram(*m, {"--position", std::to_string(m->MidGear() + 0.06f)}, &cli::RunReadouts);
    QVERIFY(!run.usageError.empty());
    QVERIFY(run.out.empty());
}

KESTROVE_DIAGRAM_TEST_MAIN(DiagramCliTest)
#include "diagrams_cli_test.moc"
