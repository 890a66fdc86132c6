// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu's exports around their writers: where the file dialog
// starts, the extension a bare name gets, a whole write, and a failure
// reported with the file's name and the reason while the old file stays.

#include "file_commands/export_files.h"
#include "model/model.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class ExportFilesTest : public QObject {
    Q_OBJECT
  private slots:
    void dialogStartsBesideTheDesignUnderItsName();
    void bareNamesGetTheCommandsExtension();
    void writesWholeOrReportsAndKeepsTheOldFile();
};

void ExportFilesTest::dialogStartsBesideTheDesignUnderItsName() {
    kes::Model m;
    kes::InitialiseModel(m);
    m.DataSetName = "big-engine";
    ExportFiles files(m, nullptr);
    QCOMPARE(files.SuggestedPath(QStringLiteral("pdf")), QStringLiteral("big-engine.pdf"));
    files.SetSourceFile([] { return QStringLiteral("/work/designs/old-name.kvd"); });
    QCOMPARE(files.SuggestedPath(QStringLiteral("dxf")),
             QStringLiteral("/work/designs/big-engine.dxf"));
    m.DataSetName = "  ";
    QCOMPARE(files.SuggestedPath(QStringLiteral("svg")),
             QStringLiteral("/work/designs/design.svg"));
}

void ExportFilesTest::bareNamesGetTheCommandsExtension() {
    kes::Model m;
    ExportFiles files(m, nullptr);
    QString answer;
    QString askedCaption;
    files.SetFileChooser([&](const QString& caption, const QString&) {
        askedCaption = caption;
        return answer;
    });
    answer = QStringLiteral("/tmp/sheet");
    QCOMPARE(files.Choose(QStringLiteral("Export DXF"), QString(), QStringLiteral("dxf")),
             QStringLiteral("/tmp/sheet.dxf"));
    QCOMPARE(askedCaption, QStringLiteral("Export DXF"));
    answer = QStringLiteral("/tmp/sheet.json");
    QCOMPARE(files.Choose(QString(), QString(), QStringLiteral("pdf")), answer);
    answer.clear(); // cancelled
    QVERIFY(files.Choose(QString(), QString(), QStringLiteral("pdf")).isEmpty());
}

void ExportFilesTest::writesWholeOrReportsAndKeepsTheOldFile() {
    kes::Model m;
    ExportFiles files(m, nullptr);
    QStringList messages;
    files.SetMessageShower([&](const QString& text) { messages << text; });
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("table.csv"));
    QVERIFY(files.Write(path, "a,b\n1,2\n"));
    QVERIFY(messages.isEmpty());
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("a,b\n1,2\n"));
    written.close();

    // A folder in the file's place cannot be replaced: the folder stays and
    // the message names the file and says why.
    const QString folder = dir.filePath(QStringLiteral("busy.json"));
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(!files.Write(folder, "{}"));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith(QStringLiteral("Could not write ") +
                                    QDir::toNativeSeparators(folder) + QStringLiteral(": ")),
             qPrintable(messages[0]));
    QVERIFY(messages[0].size() > QStringLiteral("Could not write : ").size() + folder.size());
    QVERIFY(QFileInfo(folder).isDir());
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ExportFilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "export_files_test.moc"
