// SPDX-License-Identifier: GPL-3.0-or-later
// The design report: its pages, the numbers on them, the print path and the
// File menu's paper commands.

#include "analysis/setting_sheet.h"
#include "diagrams/picture_stamp.h"
#include "diagrams/stamp_file_dialog.h"
#include "export/design_report.h"
#include "export/report_print.h"
#include "export/report_text.h"
#include "export_test_support.h"
#include "file_commands/export_commands.h"
#include "files/dimension_file.h"
#include "main/main_form.h"
#include "model/dimensions.h"
#include "model/model.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<kes::Model> Factory(const char* name) {
    auto m = std::make_unique<kes::Model>();
    kes::InitialiseModel(*m);
    m->DataSetName = name;
    return m;
}

} // namespace

class ExportReportTest : public QObject {
    Q_OBJECT
  private slots:
    void numbersPrintAsTheyShould_data();
    void numbersPrintAsTheyShould();
    void pdfHasItsPagesAndFigures_data();
    void pdfHasItsPagesAndFigures();
    void unwritablePlaceLeavesNoFile();
    void printToPdfFileThroughThePrintPath();
    void fileMenuCommands();
    void saveImageDialogHasTheStampCheckBox();
};

void ExportReportTest::numbersPrintAsTheyShould_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << 23.456 << true << 2 << "23.46";
    QTest::newRow("negative") << -0.031 << true << 3 << "-0.031";
    QTest::newRow("negative zero") << -0.0001 << true << 2 << "0.00";
    QTest::newRow("absent") << 0.0 << false << 2 << "-";
    QTest::newRow("not a number") << std::nan("") << true << 2 << "-";
}

void ExportReportTest::numbersPrintAsTheyShould() {
    QFETCH(double, value);
    QFETCH(bool, present);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    const std::optional<double> v = present ? std::optional<double>(value) : std::nullopt;
    QCOMPARE(exporting::Number(v, decimals), text);
}

void ExportReportTest::pdfHasItsPagesAndFigures_data() {
    QTest::addColumn<QString>("dims");
    QTest::addColumn<int>("paper");
    QTest::addColumn<QString>("pageSize");
    QTest::newRow("factory on A4") << QString() << int(exporting::Paper::A4) << "(A4)";
    QTest::newRow("big engine on Letter") << QStringLiteral(KESTROVE_TEST_DATA "/big-engine.kvd")
                                          << int(exporting::Paper::Letter) << "(letter)";
}

void ExportReportTest::pdfHasItsPagesAndFigures() {
    QFETCH(QString, dims);
    QFETCH(int, paper);
    QFETCH(QString, pageSize);
    auto m = Factory("Workshop-Copy-17");
    if (!dims.isEmpty()) {
        QVERIFY(kes::LoadDimensionsByExtension(*m, dims.toStdString()).Ok);
        m->DataSetName = "Workshop-Copy-17";
    }
    const auto before = std::make_unique<kes::Model>(*m);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("design.pdf"));
    exporting::ReportInfo info;
    info.SourceFile = dims;
    QString error;
    const int pages =
        exporting::WriteReportPdf(file, *m, info, static_cast<exporting::Paper>(paper), &error);
    QVERIFY2(pages >= 5, qPrintable(error)); // title and tables, checks, events, two of diagrams
    QCOMPARE(PdfPages(file), pages);
    QVERIFY2(PdfPageSize(file).contains(pageSize, Qt::CaseInsensitive),
             qPrintable(PdfPageSize(file)));
    // The diagrams drew on a copy: the design and its settings are as they were.
    QCOMPARE(m->RevArmSetting, before->RevArmSetting);
    QCOMPARE(m->DriverAngle, before->DriverAngle);

    const QString text = PdfText(file);
    QVERIFY(text.contains(QStringLiteral("Workshop-Copy-17")));
    QVERIFY(text.contains(QStringLiteral("page %1 of %1").arg(pages)));
    QVERIFY(text.contains(QStringLiteral("KESTROVE version ") + exporting::ProgramVersion()));
    QVERIFY(text.contains(QStringLiteral("Bell Crank Pivot Horz")));
    QVERIFY(text.contains(exporting::Number(kes::GetDimension(*m, 122), 4)));
    // Every cut-off of the report, as the Valve Events window's report has it.
    const kes::EventsReport report = kes::ComputeReport(*m, kes::DefaultReportDef(*m));
    QVERIFY(report.Rows.size() >= 9);
    int found = 0;
    for (const kes::ReportRow& row : report.Rows) {
        for (const auto* port : {&row.Events.Front, &row.Events.Rear}) {
            const QString figure = exporting::Number(port->Pct(kes::CutOff), 2);
            if (figure == QLatin1String("-")) continue;
            QVERIFY2(text.contains(figure), qPrintable(figure));
            ++found;
        }
    }
    QVERIFY2(found >= 9, qPrintable(QString::number(found)));
    // The valve-setting sheet's page: every crosshead position at cut-off.
    QVERIFY(text.contains(QStringLiteral("Valve-setting sheet")));
    const kes::SettingSheet sheet = kes::ComputeSettingSheet(*m, kes::DefaultSettingSheetDef(*m));
    for (const kes::SheetNotch& n : sheet.Notches)
        for (const auto& cutoff : {n.Front.CutOff, n.Rear.CutOff})
            if (cutoff)
                QVERIFY2(text.contains(exporting::Number(cutoff, 4)),
                         qPrintable(exporting::Number(cutoff, 4)));
}

void ExportReportTest::unwritablePlaceLeavesNoFile() {
    auto m = Factory("x");
    QString error;
    QCOMPARE(exporting::WriteReportPdf(QStringLiteral("/nonexistent-folder/r.pdf"), *m, {},
                                       exporting::Paper::A4, &error),
             0);
    QVERIFY(!error.isEmpty());
}

void ExportReportTest::printToPdfFileThroughThePrintPath() {
    auto m = Factory("Printed-Copy");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("printed.pdf"));
    int asked = 0;
    // The dialog as a user without a printer answers it: print to a file.
    auto toFile = [&](QPrinter& printer, QWidget*) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return true;
    };
    const auto out = exporting::PrintReport(*m, {}, exporting::Paper::A4, toFile);
    QCOMPARE(asked, 1);
    QVERIFY(out.Printed);
    QVERIFY(out.Error.isEmpty());
    QCOMPARE(PdfPages(file), out.Pages);
    QVERIFY(PdfText(file).contains(QStringLiteral("Printed-Copy")));

    // Cancelled: nothing printed, nothing written.
    const QString other = dir.filePath(QStringLiteral("cancelled.pdf"));
    const auto cancelled =
        exporting::PrintReport(*m, {}, exporting::Paper::A4, [&](QPrinter& printer, QWidget*) {
            printer.setOutputFileName(other);
            return false;
        });
    QVERIFY(!cancelled.Printed);
    QVERIFY(!QFile::exists(other));
}

void ExportReportTest::fileMenuCommands() {
    kes::Model m;
    TMainForm form(m);
    m.DataSetName = "From-The-Menu";
    QStringList captions;
    for (QAction* a : form.menuBar()->actions().first()->menu()->actions())
        captions << a->text();
    const int report = captions.indexOf(exportcommands::ReportText);
    QVERIFY(report >= 0);
    QCOMPARE(captions.value(report + 1), exportcommands::DrawingText);
    QCOMPARE(captions.value(report + 2), exportcommands::PrintText);
    QCOMPARE(captions.last(), QStringLiteral("E&xit"));

    auto* commands = form.findChild<ExportCommands*>(exportcommands::ObjectName);
    QVERIFY(commands);
    QTemporaryDir dir;
    QStringList messages;
    commands->SetMessageShower([&](const QString& s) { messages << s; });
    commands->SetFileChooser([&](const QString&, const QString&) { return dir.filePath("menu"); });
    commands->ReportAction()->trigger();
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    QVERIFY(PdfText(dir.filePath("menu.pdf")).contains(QStringLiteral("From-The-Menu")));

    // The drawing at the angle and setting the asker gives, in millimetres.
    commands->SetDrawingAsker([&](const GearDrawingDef& def) {
        std::optional<GearDrawingDef> out = def;
        out->Unit = DrawingUnit::Millimetre;
        out->CrankAngle = 90;
        return out;
    });
    commands->SetFileChooser(
        [&](const QString&, const QString&) { return dir.filePath("gear.svg"); });
    commands->DrawingAction()->trigger();
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    QVERIFY(QFile(dir.filePath("gear.svg")).size() > 1000);

    commands->SetPrintDialog([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("print.pdf"));
        return true;
    });
    commands->PrintAction()->trigger();
    QVERIFY(PdfPages(dir.filePath("print.pdf")) >= 5);

    // A write that fails says so.
    commands->SetFileChooser([&](const QString&, const QString&) {
        return QStringLiteral("/nonexistent-folder/r.pdf");
    });
    commands->ReportAction()->trigger();
    QCOMPARE(messages.size(), 1);
}

void ExportReportTest::saveImageDialogHasTheStampCheckBox() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    bool stamp = true, seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* box = dialog->findChild<QCheckBox*>(diagrams::StampCheckBoxName);
        seen = box && box->isChecked() && box->text() == diagrams::StampCheckBoxText;
        if (box) box->setChecked(false);
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const QString chosen =
        diagrams::ChooseImageFileWithStamp(nullptr, QStringLiteral("Save Image..."), &stamp);
    QVERIFY(seen);
    QCOMPARE(chosen, path);
    QVERIFY(!stamp);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ExportReportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "export_report_test.moc"
