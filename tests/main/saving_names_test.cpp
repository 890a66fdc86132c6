// SPDX-License-Identifier: GPL-3.0-or-later
// Saving as a new user meets it: a failed save names the file and the reason
// and offers "Save As...", exports start beside the design under its name,
// and recent files that share a name show their folders.

#include "file_commands/export_commands.h"
#include "file_commands/file_commands.h"
#include "model/model.h"
#include "support/fake_main_link.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QtMessageHandler previousHandler = nullptr;

void FilterSizeHints(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QStringLiteral("This plugin does not support propagateSizeHints()")))
        return;
    if (previousHandler) previousHandler(type, context, message);
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class SavingNamesTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

  private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(FilterSizeHints); }
    void failedSaveNamesFileAndReasonAndOffersSaveAs();
    void exportsStartBesideTheDesignUnderItsName();
    void recentFilesWithOneNameShowTheirFolders();
};

void SavingNamesTest::failedSaveNamesFileAndReasonAndOffersSaveAs() {
    kes::Model model;
    kes::InitialiseModel(model);
    FakeMainLink link;
    FileCommands commands(model, link, nullptr, dir_.filePath(QStringLiteral("s1.ini")));
    const QString folderAsFile = dir_.filePath(QStringLiteral("taken.kvd"));
    QVERIFY(QDir().mkpath(folderAsFile));
    const QString good = dir_.filePath(QStringLiteral("good.kvd"));
    QStringList answers{folderAsFile, good};
    commands.SetFileChooser([&](const FileDialogRequest&) { return answers.takeFirst(); });
    QStringList boxes;
    commands.SetSaveFailureBox([&](const QString& text) {
        boxes.append(text);
        return true; // "Save As..."
    });
    QVERIFY(commands.SaveAsDimensionsClick());
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].contains(QDir::toNativeSeparators(folderAsFile)), qPrintable(boxes[0]));
    QVERIFY2(boxes[0].contains(QStringLiteral("Not a regular file")), qPrintable(boxes[0]));
    QCOMPARE(commands.CurrentPath(), QFileInfo(good).absoluteFilePath());
    QCOMPARE(ReadAll(good).size(), 1440);

    // Cancel in the box: nothing saved, and the design keeps its file.
    model.Frame.StrokeLength += 1.0f;
    QVERIFY(QFile::remove(good));
    QVERIFY(QDir().mkpath(good));
    commands.SetSaveFailureBox([&](const QString& text) {
        boxes.append(text);
        return false;
    });
    QVERIFY(!commands.SaveDimensionsClick());
    QCOMPARE(boxes.size(), 2);
    QVERIFY(boxes[1].contains(QDir::toNativeSeparators(good)));
}

void SavingNamesTest::exportsStartBesideTheDesignUnderItsName() {
    kes::Model model;
    kes::InitialiseModel(model);
    model.DataSetName = "big-engine";
    ExportCommands exports(model, nullptr);
    QCOMPARE(exports.SuggestedPath(QStringLiteral("pdf")), QStringLiteral("big-engine.pdf"));
    const QString source = dir_.filePath(QStringLiteral("designs/big-engine.kvd"));
    exports.SetSourceFile([&] { return source; });
    QCOMPARE(exports.SuggestedPath(QStringLiteral("svg")),
             dir_.filePath(QStringLiteral("designs/big-engine.svg")));
}

void SavingNamesTest::recentFilesWithOneNameShowTheirFolders() {
    const QString a = dir_.filePath(QStringLiteral("a/engine.kvd"));
    const QString b = dir_.filePath(QStringLiteral("b/engine.kvd"));
    const QString c = dir_.filePath(QStringLiteral("b/other.kvd"));
    const QStringList texts = filecommands::RecentMenuTexts({a, b, c});
    QCOMPARE(texts[0], QStringLiteral("engine.kvd (%1)")
                           .arg(QDir::toNativeSeparators(dir_.filePath(QStringLiteral("a")))));
    QCOMPARE(texts[1], QStringLiteral("engine.kvd (%1)")
                           .arg(QDir::toNativeSeparators(dir_.filePath(QStringLiteral("b")))));
    QCOMPARE(texts[2], QStringLiteral("other.kvd"));

    kes::Model model;
    kes::InitialiseModel(model);
    FakeMainLink link;
    FileCommands commands(model, link, nullptr, dir_.filePath(QStringLiteral("s2.ini")));
    for (const QString& path : {a, b}) {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        commands.SetFileChooser([&](const FileDialogRequest&) { return path; });
        QVERIFY(commands.SaveAsDimensionsClick());
    }
    const QList<QAction*> items = commands.RecentFilesMenu()->actions();
    QCOMPARE(items.size(), 2);
    QVERIFY(commands.RecentFilesMenu()->toolTipsVisible());
    QCOMPARE(items[0]->toolTip(), QFileInfo(b).absoluteFilePath());
    QVERIFY(items[0]->text().contains(QStringLiteral("(")));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SavingNamesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "saving_names_test.moc"
