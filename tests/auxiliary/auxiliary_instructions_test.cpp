// SPDX-License-Identifier: GPL-3.0-or-later
// The instruction windows: where they find their texts, and what they show
// when a text is missing.

#include "auxiliary/instructions_window.h"
#include "model/model.h"
#include "support/fake_main_link.h"

#include "aux_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// Runs the body with the working folder set to dir, then puts it back.
class WorkingFolder {
  public:
    explicit WorkingFolder(const QString& dir) : saved_(QDir::currentPath()) {
        QDir::setCurrent(dir);
    }
    ~WorkingFolder() { QDir::setCurrent(saved_); }

  private:
    QString saved_;
};

} // namespace

class InstructionsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { aux_test::FilterOffscreenMessage(); }
    void readsFromTheWorkingFolderFirst();
    void workingFolderWinsOverTheProgramFolder();
    void fallsBackToTheCopyBesideTheProgram();
    void missingFileShowsAClearLine();
    void aFolderWithTheFileNameIsNotAFile();
    void showingRereadsTheFile();
    void textIsReadOnlyUtf8();
    void renders();
};

void InstructionsTest::readsFromTheWorkingFolderFirst() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WriteFile(dir.filePath("instruct.doc"), "How to drive the gear.\nSecond line.\n");
    WriteFile(dir.filePath("KesSpIns.doc"), "Special notes.\n");
    WorkingFolder here(dir.path());
    kes::Model m;
    FakeMainLink link;
    TInst inst(m, link);
    TKesSpInst special(m, link);
    QCOMPARE(inst.Text(), QStringLiteral("How to drive the gear.\nSecond line.\n"));
    QCOMPARE(QFileInfo(inst.LoadedPath()).canonicalFilePath(),
             QFileInfo(dir.filePath("instruct.doc")).canonicalFilePath());
    QCOMPARE(special.Text(), QStringLiteral("Special notes.\n"));
    QCOMPARE(inst.FileName(), QStringLiteral("instruct.doc"));
    QCOMPARE(special.FileName(), QStringLiteral("KesSpIns.doc"));
}

void InstructionsTest::workingFolderWinsOverTheProgramFolder() {
    QTemporaryDir first, second;
    WriteFile(first.filePath("instruct.doc"), "first\n");
    WriteFile(second.filePath("instruct.doc"), "second\n");
    kes::Model m;
    FakeMainLink link;
    TInst inst(m, link);
    QVERIFY(inst.LoadFrom({first.path(), second.path()}));
    QCOMPARE(inst.Text(), QStringLiteral("first\n"));
    QVERIFY(inst.LoadFrom({QDir(first.path()).filePath("none"), second.path()}));
    QCOMPARE(inst.Text(), QStringLiteral("second\n"));

    const QStringList folders = TInstructionText::DefaultFolders();
    QCOMPARE(folders.first(), QDir::currentPath());
    QVERIFY(folders.contains(QCoreApplication::applicationDirPath()) ||
            QDir::currentPath() == QCoreApplication::applicationDirPath());
}

void InstructionsTest::fallsBackToTheCopyBesideTheProgram() {
    // The build puts both texts beside the program; from an empty working
    // folder the windows find those.
    QTemporaryDir empty;
    WorkingFolder here(empty.path());
    kes::Model m;
    FakeMainLink link;
    TInst inst(m, link);
    TKesSpInst special(m, link);
    QVERIFY2(!inst.LoadedPath().isEmpty(), qPrintable(inst.Text()));
    QCOMPARE(QFileInfo(inst.LoadedPath()).absolutePath(), QCoreApplication::applicationDirPath());
    QVERIFY(!special.LoadedPath().isEmpty());
    // The real guides: the main one names the windows, the special one the command line.
    QVERIFY(inst.Text().contains("Sine Diagram"));
    QVERIFY(inst.Text().contains("Lines and Circles"));
    QVERIFY(special.Text().contains("kestrove-cli"));
    QVERIFY(special.Text().contains(".kvx"));
}

void InstructionsTest::missingFileShowsAClearLine() {
    QTemporaryDir empty;
    kes::Model m;
    FakeMainLink link;
    TKesSpInst special(m, link);
    QVERIFY(!special.LoadFrom({empty.path()}));
    QVERIFY(special.LoadedPath().isEmpty());
    QVERIFY(special.Text().contains(QStringLiteral("\"KesSpIns.doc\" was not found")));
    QVERIFY(special.Text().contains(QDir::toNativeSeparators(empty.path())));
    // A later load that finds the file replaces the message.
    WriteFile(empty.filePath("KesSpIns.doc"), "now here\n");
    QVERIFY(special.LoadFrom({empty.path()}));
    QCOMPARE(special.Text(), QStringLiteral("now here\n"));
}

void InstructionsTest::aFolderWithTheFileNameIsNotAFile() {
    QTemporaryDir first, second;
    QVERIFY(QDir(first.path()).mkdir("instruct.doc"));
    WriteFile(second.filePath("instruct.doc"), "the real one\n");
    kes::Model m;
    FakeMainLink link;
    TInst inst(m, link);
    QVERIFY(inst.LoadFrom({first.path(), second.path()}));
    QCOMPARE(inst.Text(), QStringLiteral("the real one\n"));
    QVERIFY(!inst.LoadFrom({first.path()}));
    QVERIFY(inst.Text().contains("was not found"));
}

void InstructionsTest::showingRereadsTheFile() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("instruct.doc"), "old text\n");
    WorkingFolder here(dir.path());
    kes::Model m;
    FakeMainLink link;
    TInst inst(m, link);
    QCOMPARE(inst.Text(), QStringLiteral("old text\n"));
    WriteFile(dir.filePath("instruct.doc"), "new text\n");
    inst.show();
    QCOMPARE(inst.Text(), QStringLiteral("new text\n"));
}

void InstructionsTest::textIsReadOnlyUtf8() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("instruct.doc"), "Lead 0.125 \xe2\x80\x94 lap\n");
    WorkingFolder here(dir.path());
    kes::Model m;
    FakeMainLink link;
    TInst inst(m, link);
    QCOMPARE(inst.Text(), QStringLiteral("Lead 0.125 \u2014 lap\n"));
    auto* text = inst.findChild<QPlainTextEdit*>("Memo1");
    QVERIFY(text->isReadOnly());
    inst.show();
    text->setFocus();
    QTest::keyClicks(text, "typed");
    QCOMPARE(inst.Text(), QStringLiteral("Lead 0.125 \u2014 lap\n"));
}

void InstructionsTest::renders() {
    kes::Model m;
    FakeMainLink link;
    TInst inst(m, link);
    TKesSpInst special(m, link);
    inst.show();
    special.show();
    QVERIFY(!aux_test::Capture(inst, "instructions_window").isNull());
    QVERIFY(!aux_test::Capture(special, "special_instructions_window").isNull());
    QTemporaryDir empty;
    QVERIFY(!special.LoadFrom({empty.path()}));
    QVERIFY(!aux_test::Capture(special, "instructions_missing").isNull());
}

int main(int argc, char** argv) {
    aux_test::PrepareHeadless();
    QApplication app(argc, argv);
    InstructionsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "auxiliary_instructions_test.moc"
