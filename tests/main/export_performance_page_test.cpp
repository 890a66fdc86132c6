// SPDX-License-Identifier: GPL-3.0-or-later
// The design report's "Performance" page: there with engine data (given, or
// beside the design file), absent without them.
#include "cylinder/engine_data.h"
#include "export/design_report.h"
#include "main_test_rig.h"
#include "model/model.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class ExportPerformancePageTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }

    void aPageWhenTheDesignHasEngineData() {
        QTemporaryDir dir;
        kes::Model m;
        kes::InitialiseModel(m);
        exporting::ReportInfo plain;
        QString error;
        const int without = exporting::WriteReportPdf(dir.filePath(QStringLiteral("a.pdf")), m,
                                                      plain, exporting::Paper::A4, &error);
        QVERIFY2(without > 0, qPrintable(error));

        exporting::ReportInfo given = plain;
        given.Engine = kes::DefaultEngineData();
        QCOMPARE(exporting::WriteReportPdf(dir.filePath(QStringLiteral("b.pdf")), m, given,
                                           exporting::Paper::A4, &error),
                 without + 1);

        // Beside the design file, as the program saves them.
        exporting::ReportInfo beside = plain;
        beside.SourceFile = dir.filePath(QStringLiteral("engine.kvd"));
        QCOMPARE(exporting::WriteReportPdf(dir.filePath(QStringLiteral("c.pdf")), m, beside,
                                           exporting::Paper::A4, &error),
                 without);
        QVERIFY(
            kes::SaveEngineFile(dir.filePath(QStringLiteral("engine.engine.json")).toStdString(),
                                kes::DefaultEngineData())
                .Ok);
        QCOMPARE(exporting::WriteReportPdf(dir.filePath(QStringLiteral("d.pdf")), m, beside,
                                           exporting::Paper::A4, &error),
                 without + 1);
    }

    void badEngineDataStillMakeTheReport() {
        QTemporaryDir dir;
        kes::Model m;
        kes::InitialiseModel(m);
        exporting::ReportInfo info;
        info.Engine = kes::DefaultEngineData();
        info.Engine->BackPressure = 500.0; // above the boiler: the page says why
        QString error;
        QVERIFY(exporting::WriteReportPdf(dir.filePath(QStringLiteral("e.pdf")), m, info,
                                          exporting::Paper::A4, &error) > 0);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ExportPerformancePageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "export_performance_page_test.moc"
