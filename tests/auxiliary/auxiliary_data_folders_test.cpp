// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's texts and sounds are looked for: the working folder,
// beside the program, then the installed data folder <prefix>/share/kestrove.

#include "auxiliary/data_folders.h"
#include "auxiliary/instructions_window.h"
#include "model/model.h"
#include "support/fake_main_link.h"

#include "aux_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A prefix with bin/, share/kestrove/ and an unrelated working folder.
struct Tree {
    QTemporaryDir root;
    QString Bin, Data, Work;
    Tree() {
        Bin = root.filePath("bin");
        Data = root.filePath("share/kestrove");
        Work = root.filePath("work");
        for (const QString& d : {Bin, Data, Work})
            QDir().mkpath(d);
    }
    // "bin", "data" or "work" to the folder.
    QString Folder(const QString& key) const {
        if (key == QLatin1String("bin")) return Bin;
        if (key == QLatin1String("data")) return Data;
        return Work;
    }
};

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(path.toUtf8()), qint64(path.toUtf8().size()));
}

} // namespace

class DataFoldersTest : public QObject {
    Q_OBJECT
  private slots:
    void installedFolderIsBesideTheProgramsFolder();
    void foldersComeInOrderOnceEach_data();
    void foldersComeInOrderOnceEach();
    void firstFolderWithTheFileWins_data();
    void firstFolderWithTheFileWins();
    void instructionsAreFoundInTheInstalledFolder();
};

void DataFoldersTest::installedFolderIsBesideTheProgramsFolder() {
    QCOMPARE(data_folders::InstalledFolder(QStringLiteral("/opt/kes/bin")),
             QStringLiteral("/opt/kes/share/kestrove"));
    QCOMPARE(data_folders::InstalledFolder(QStringLiteral("/usr/bin/")),
             QStringLiteral("/usr/share/kestrove"));
    QCOMPARE(data_folders::InstalledFolder(QString()), QString());
}

void DataFoldersTest::foldersComeInOrderOnceEach_data() {
    // working, program: which keys, in order; "data" is the installed folder.
    QTest::addColumn<QString>("working");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("all three") << "work"
                               << "bin" << QStringList{"work", "bin", "data"};
    QTest::newRow("run from the program's folder") << "bin"
                                                   << "bin" << QStringList{"bin", "data"};
    QTest::newRow("run from the data folder") << "data"
                                              << "bin" << QStringList{"data", "bin"};
    QTest::newRow("program's folder spelt otherwise") << "bin"
                                                      << "bin/." << QStringList{"bin", "data"};
    QTest::newRow("no program folder") << "work"
                                       << "" << QStringList{"work"};
}

void DataFoldersTest::foldersComeInOrderOnceEach() {
    QFETCH(QString, working);
    QFETCH(QString, program);
    QFETCH(QStringList, expected);
    Tree t;
    QVERIFY(t.root.isValid());
    QString programDir;
    if (program == QLatin1String("bin/."))
        programDir = t.Bin + QStringLiteral("/.");
    else if (!program.isEmpty())
        programDir = t.Folder(program);
    const QStringList folders = data_folders::Folders(t.Folder(working), programDir);
    QCOMPARE(folders.size(), expected.size());
    for (qsizetype i = 0; i < folders.size(); ++i)
        QCOMPARE(QDir(folders[i]).canonicalPath(), QDir(t.Folder(expected[i])).canonicalPath());
}

void DataFoldersTest::firstFolderWithTheFileWins_data() {
    // Where the file is put (a ',' list, "dir:" a folder of that name), and
    // where it should be found ("" for nowhere).
    QTest::addColumn<QString>("placed");
    QTest::addColumn<QString>("found");
    QTest::newRow("installed only") << "data"
                                    << "data";
    QTest::newRow("beside the program first") << "data,bin"
                                              << "bin";
    QTest::newRow("working folder first") << "data,bin,work"
                                          << "work";
    QTest::newRow("a folder of that name is skipped") << "dir:work,data"
                                                      << "data";
    QTest::newRow("nowhere") << ""
                             << "";
}

void DataFoldersTest::firstFolderWithTheFileWins() {
    QFETCH(QString, placed);
    QFETCH(QString, found);
    Tree t;
    QVERIFY(t.root.isValid());
    const QString name = QStringLiteral("Exhaust.wav");
    for (const QString& where : placed.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (where.startsWith(QLatin1String("dir:")))
            QVERIFY(QDir(t.Folder(where.mid(4))).mkdir(name));
        else
            Touch(QDir(t.Folder(where)).filePath(name));
    }
    const QString path = data_folders::FindFile(name, data_folders::Folders(t.Work, t.Bin));
    if (found.isEmpty())
        QCOMPARE(path, QString());
    else
        QCOMPARE(QFileInfo(path).canonicalFilePath(),
                 QFileInfo(QDir(t.Folder(found)).filePath(name)).canonicalFilePath());
}

void DataFoldersTest::instructionsAreFoundInTheInstalledFolder() {
    Tree t;
    QVERIFY(t.root.isValid());
    Touch(QDir(t.Data).filePath(SpecialFileName));
    kes::Model m;
    FakeMainLink link;
    TKesSpInst special(m, link);
    QVERIFY(special.LoadFrom(data_folders::Folders(t.Work, t.Bin)));
    QCOMPARE(QFileInfo(special.LoadedPath()).canonicalFilePath(),
             QFileInfo(QDir(t.Data).filePath(SpecialFileName)).canonicalFilePath());
    QCOMPARE(special.Text(), QDir(t.Data).filePath(SpecialFileName));
    // The window's own list ends with the installed folder of this program.
    QCOMPARE(TInstructionText::DefaultFolders().last(),
             data_folders::InstalledFolder(QCoreApplication::applicationDirPath()));
}

int main(int argc, char** argv) {
    aux_test::PrepareHeadless();
    QApplication app(argc, argv);
    DataFoldersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "auxiliary_data_folders_test.moc"
