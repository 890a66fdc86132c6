// SPDX-License-Identifier: GPL-3.0-or-later
// Working on a design all day: "&Save" after the first "Save As", the
// modified mark, the question about unsaved changes, ".kvd" appended, the
// recent files and the last folder across a restart.

#include "file_commands/file_commands.h"
#include "file_commands/recent_files.h"
#include "files/dimension_file.h"
#include "main/main_test_rig.h"
#include "model/design_changes.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/model.h"
#include "support/fake_main_link.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// One set of commands on a fresh model. The dialog answers with `answer`
// under `filter`; every question is recorded and answered with `reply`.
struct Rig {
    kes::Model model;
    FakeMainLink link;
    std::unique_ptr<FileCommands> commands;
    QString answer;
    QString filter = filecommands::KvdFilter;
    QList<FileDialogRequest> requests;
    QStringList messages;
    QStringList questions;
    QMessageBox::StandardButton reply = QMessageBox::Cancel;

    explicit Rig(const QString& settingsFile) {
        kes::InitialiseModel(model);
        kes::MarkDesignSaved(model);
        commands = std::make_unique<FileCommands>(model, link, nullptr, settingsFile);
        commands->SetFilteredFileChooser([this](const FileDialogRequest& r) {
            requests.append(r);
            return FileChoice{answer, filter};
        });
        commands->SetMessageShower([this](const QString& text) { messages.append(text); });
        commands->SetAsker([this](const QString& text, QMessageBox::StandardButtons) {
            questions.append(text);
            return reply;
        });
    }
    bool Modified() { return kes::IsDesignModified(model); }
    // As a typed field stores it.
    void Edit(float mainRod) {
        kes::SetDimension(model, 3, mainRod);
        kes::BumpDesignRevision(model);
    }
};

float MainRodIn(const QString& path) {
    kes::Model m;
    kes::InitialiseModel(m);
    if (!kes::OpenDimensionFile(m, QFile::encodeName(path).toStdString()).Ok) return -1.0f;
    return m.Frame.MainRodLength;
}

} // namespace

class FileSessionTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int settingsCount_ = 0;

    QString PathOf(const QString& name) const { return dir_.filePath(name); }
    QString NewSettings() { return PathOf(QStringLiteral("settings%1.ini").arg(++settingsCount_)); }

  private slots:
    void initTestCase() {
        QuietOffscreenMessages();
        QVERIFY(dir_.isValid());
    }

    void saveAfterSaveAsWritesWithoutADialog() {
        Rig rig(NewSettings());
        rig.Edit(17.0f);
        rig.answer = PathOf("daily.kvd");
        // No file yet: "&Save" is "Save As".
        QVERIFY(rig.commands->SaveDimensionsClick());
        QCOMPARE(rig.requests.size(), 1);
        QVERIFY(rig.requests[0].Save);
        QCOMPARE(rig.commands->CurrentPath(), QFileInfo(rig.answer).absoluteFilePath());

        rig.Edit(17.5f);
        rig.answer.clear(); // a dialog now would cancel the save
        QVERIFY(rig.commands->SaveDimensionsClick());
        QCOMPARE(rig.requests.size(), 1);
        QCOMPARE(MainRodIn(PathOf("daily.kvd")), 17.5f);
        QCOMPARE(rig.model.DataSetName, std::string("daily"));
        QVERIFY(rig.messages.isEmpty());
    }

    void modifiedMarkFollowsEditsSavesAndOpens() {
        Rig rig(NewSettings());
        QVERIFY(!rig.Modified());
        rig.Edit(18.0f);
        QVERIFY(rig.Modified());
        rig.answer = PathOf("marked.kvd");
        QVERIFY(rig.commands->SaveAsDimensionsClick());
        QVERIFY(!rig.Modified());

        // An explicit mark (an applied balance, say) counts as well.
        kes::MarkDesignModified(rig.model);
        QVERIFY(rig.Modified());
        rig.reply = QMessageBox::Discard;
        rig.commands->OpenDimensionsClick();
        QCOMPARE(rig.questions, QStringList{"Save changes to marked?"});
        QVERIFY(!rig.Modified());
        QCOMPARE(rig.model.Frame.MainRodLength, 18.0f);

        // A failed save keeps the mark.
        rig.Edit(19.0f);
        rig.answer = dir_.path(); // a folder
        rig.filter = filecommands::AllFilesFilter;
        QVERIFY(!rig.commands->SaveAsDimensionsClick());
        QCOMPARE(rig.messages, QStringList{filecommands::SaveFailedText(
                                   dir_.path(), QStringLiteral("Not a regular file"))});
        QVERIFY(rig.Modified());
        QCOMPARE(rig.commands->CurrentPath(), QFileInfo(PathOf("marked.kvd")).absoluteFilePath());
    }

    void questionBeforeTheDesignIsReplaced() {
        const QString other = PathOf("other.kvd");
        {
            Rig source(NewSettings());
            source.Edit(15.0f);
            source.answer = other;
            QVERIFY(source.commands->SaveAsDimensionsClick());
        }
        // Cancel: nothing is opened, no dialog shown.
        Rig rig(NewSettings());
        rig.Edit(16.5f);
        rig.answer = other;
        rig.reply = QMessageBox::Cancel;
        rig.commands->OpenDimensionsClick();
        rig.commands->OpenDosVersionDimClick();
        QVERIFY(!rig.commands->ConfirmUnsavedChanges());
        QCOMPARE(rig.questions.size(), 3);
        QCOMPARE(rig.questions[0], QStringLiteral("Save changes to Nominal?"));
        QVERIFY(rig.requests.isEmpty());
        QCOMPARE(rig.model.Frame.MainRodLength, 16.5f);

        // Save: the design goes to its file (here through "Save As") first.
        rig.reply = QMessageBox::Save;
        rig.answer = PathOf("kept.kvd");
        QVERIFY(rig.commands->ConfirmUnsavedChanges());
        QCOMPARE(MainRodIn(rig.answer), 16.5f);
        // Nothing to ask when nothing changed.
        QVERIFY(rig.commands->ConfirmUnsavedChanges());
        QCOMPARE(rig.questions.size(), 4);

        // Save, but the "Save As" is cancelled: the caller must not go on.
        rig.commands->DesignReset();
        rig.Edit(14.0f);
        rig.answer.clear();
        QVERIFY(!rig.commands->ConfirmUnsavedChanges());
        QVERIFY(rig.Modified());
    }

    void kvdIsAppendedUnderTheDataFileFilter() {
        const struct {
            const char* Typed;
            QString Filter;
            const char* Written;
            const char* Name;
        } cases[] = {
            {"Baker 7.25in", filecommands::KvdFilter, "Baker 7.25in.kvd", "Baker 7.25in"},
            {"plain", filecommands::KvdFilter, "plain.kvd", "plain"},
            {"upper.KVD", filecommands::KvdFilter, "upper.KVD", "upper"},
            {"x.abcde", filecommands::AllFilesFilter, "x.abcde", "x.a"},
        };
        for (const auto& c : cases) {
            Rig rig(NewSettings());
            rig.answer = PathOf(QString::fromUtf8(c.Typed));
            rig.filter = c.Filter;
            QVERIFY(rig.commands->SaveAsDimensionsClick());
            QVERIFY2(QFileInfo::exists(PathOf(QString::fromUtf8(c.Written))), c.Written);
            QCOMPARE(QFileInfo(PathOf(QString::fromUtf8(c.Written))).size(), qint64(1440));
            QCOMPARE(rig.model.DataSetName, std::string(c.Name));
        }
        QVERIFY(!QFileInfo::exists(PathOf("Baker 7.25in")));

        // The appended name exists already: asked, and "No" writes nothing.
        Rig rig(NewSettings());
        rig.Edit(12.0f);
        rig.answer = PathOf("Baker 7.25in");
        rig.reply = QMessageBox::No;
        QVERIFY(!rig.commands->SaveAsDimensionsClick());
        QCOMPARE(rig.questions.size(), 1);
        QVERIFY(rig.questions[0].startsWith(QStringLiteral("Baker 7.25in.kvd already exists")));
        QVERIFY(MainRodIn(PathOf("Baker 7.25in.kvd")) != 12.0f);
        rig.reply = QMessageBox::Yes;
        QVERIFY(rig.commands->SaveAsDimensionsClick());
        QCOMPARE(MainRodIn(PathOf("Baker 7.25in.kvd")), 12.0f);
    }

    void recentFilesAndTheLastFolderSurviveARestart() {
        const QString settings = NewSettings();
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QStringList saved;
        {
            Rig rig(settings);
            for (int i = 1; i <= 10; ++i) {
                rig.answer = folder.filePath(QStringLiteral("design%1.kvd").arg(i));
                QVERIFY(rig.commands->SaveAsDimensionsClick());
                saved.prepend(QFileInfo(rig.answer).absoluteFilePath());
            }
            // Saving the newest again does not list it twice.
            QVERIFY(rig.commands->SaveDimensionsClick());
        }
        Rig rig(settings);
        QCOMPARE(rig.commands->Recent().Files(), saved.mid(0, RecentFiles::MaxCount));
        QMenu* menu = rig.commands->RecentFilesMenu();
        QCOMPARE(menu->actions().size(), RecentFiles::MaxCount);
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("&1 design10.kvd"));

        // Both dialogs start in the last folder.
        rig.commands->OpenDimensionsClick();
        rig.answer = PathOf("elsewhere.kvd");
        rig.commands->SaveAsDimensionsClick();
        QCOMPARE(rig.requests.size(), 2);
        QCOMPARE(rig.requests[0].Directory, QFileInfo(folder.path()).absoluteFilePath());
        QCOMPARE(rig.requests[1].Directory, QFileInfo(folder.path()).absoluteFilePath());
        QCOMPARE(rig.commands->Recent().LastFolder(), QFileInfo(dir_.path()).absoluteFilePath());

        // A recent entry opens its file; a vanished one is reported and dropped.
        rig.Edit(13.0f);
        rig.reply = QMessageBox::Discard;
        const QString third = saved[2];
        menu->actions()[4]->trigger(); // "&5 ...": design7, after elsewhere was saved
        QCOMPARE(rig.model.DataSetName, std::string("design7"));
        QVERIFY(QFile::remove(third));
        rig.commands->OpenRecentFile(third);
        QCOMPARE(rig.messages, QStringList{"File not found"});
        QVERIFY(!rig.commands->Recent().Files().contains(third));
        QCOMPARE(rig.model.DataSetName, std::string("design7"));
    }

    void anImportIsNotWhatSaveWrites() {
        Rig source(NewSettings());
        source.answer = PathOf("older.kvx");
        source.filter = filecommands::AllFilesFilter;
        QVERIFY(source.commands->SaveAsDimensionsClick());

        Rig rig(NewSettings());
        QVERIFY(rig.commands->OpenPath(source.answer));
        QCOMPARE(rig.model.DataSetName, std::string("older"));
        QVERIFY(rig.commands->CurrentPath().isEmpty());
        QVERIFY(!rig.Modified());
        rig.answer.clear();
        QVERIFY(!rig.commands->SaveDimensionsClick());
        QCOMPARE(rig.requests.size(), 1);

        // A start-up file that cannot be read: the message, and the design as it was.
        const float before = rig.model.Frame.MainRodLength;
        QVERIFY(!rig.commands->OpenPath(PathOf("no such.kvd")));
        QCOMPARE(rig.messages, QStringList{"File not found"});
        QCOMPARE(rig.model.Frame.MainRodLength, before);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FileSessionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "file_session_test.moc"
