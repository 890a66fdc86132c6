// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's dimension-file commands, driven headless with the file
// chosen by the test and the error box replaced by a recorder.

#include "file_commands/file_commands.h"
#include "files/dimension_file.h"
#include "files/dimension_record.h"
#include "model/model.h"
#include "support/fake_main_link.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <cstring>
#include <memory>

namespace {

QByteArray Records(int count, float value) {
    QByteArray bytes(20 * count, '\0');
    for (int i = 0; i < 5 * count; ++i)
        kes::PutFloatLE(value, reinterpret_cast<unsigned char*>(bytes.data()) + 4 * i);
    return bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

bool SameDimensions(const kes::Model& a, const kes::Model& b) {
    return std::memcmp(&a.Frame, &b.Frame, sizeof a.Frame) == 0 &&
           std::memcmp(&a.Baker, &b.Baker, sizeof a.Baker) == 0 && a.Cylinder == b.Cylinder &&
           std::memcmp(a.Points.data(), b.Points.data(), sizeof a.Points) == 0 &&
           std::memcmp(a.LineTable.data(), b.LineTable.data(), sizeof a.LineTable) == 0 &&
           a.ViewPresets == b.ViewPresets && a.RevArmPositions == b.RevArmPositions &&
           a.RevArmSetting == b.RevArmSetting && a.CurrentItem == b.CurrentItem &&
           a.GraphicZoom == b.GraphicZoom;
}

} // namespace

namespace {

QtMessageHandler previousHandler = nullptr;
QTemporaryDir* settingsDir = nullptr;

// Every rig keeps its recent files in a settings file of its own.
QString NewSettingsFile() {
    static int n = 0;
    return settingsDir->filePath(QStringLiteral("settings%1.ini").arg(++n));
}

void FilterSizeHints(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QStringLiteral("This plugin does not support propagateSizeHints()")))
        return;
    if (previousHandler) previousHandler(type, context, message);
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

    // One set of commands on a fresh model, with the dialog answered by
    // `answer` and every request and message recorded.
    struct Rig {
        kes::Model model;
        FakeMainLink link;
        std::unique_ptr<FileCommands> commands;
        QString answer;
        QList<FileDialogRequest> requests;
        QStringList messages;
        std::unique_ptr<QSignalSpy> linesSpy;
        std::unique_ptr<QSignalSpy> loadedSpy;
        QStringList questions;
        QMessageBox::StandardButton reply = QMessageBox::Cancel;

        explicit Rig(const QString& settingsFile = NewSettingsFile()) {
            kes::InitialiseModel(model);
            commands = std::make_unique<FileCommands>(model, link, nullptr, settingsFile);
            commands->SetFileChooser([this](const FileDialogRequest& r) {
                requests.append(r);
                return answer;
            });
            commands->SetMessageShower([this](const QString& text) { messages.append(text); });
            commands->SetAsker([this](const QString& text, QMessageBox::StandardButtons) {
                questions.append(text);
                return reply;
            });
            linesSpy =
                std::make_unique<QSignalSpy>(commands.get(), &FileCommands::LinesRefreshNeeded);
            loadedSpy =
                std::make_unique<QSignalSpy>(commands.get(), &FileCommands::DimensionsLoaded);
        }
    };

    QTemporaryDir dir_;
    QTemporaryDir settingsDir_;

    QString PathOf(const QString& name) const { return dir_.filePath(name); }

  private slots:
    void initTestCase() {
        // QtTest has its own handler by now; ours goes in front of it.
        previousHandler = qInstallMessageHandler(FilterSizeHints);
        QVERIFY(dir_.isValid());
        settingsDir = &settingsDir_;
        QVERIFY(settingsDir_.isValid());
    }

    void dialogsAskForTheRightFiles() {
        Rig rig;
        rig.commands->SaveAsDimensionsClick();
        rig.commands->OpenDimensionsClick();
        rig.commands->OpenDosVersionDimClick();
        QCOMPARE(rig.requests.size(), 3);

        const FileDialogRequest& save = rig.requests[0];
        QVERIFY(save.Save);
        QCOMPARE(save.Title, QStringLiteral("Save As....."));
        QCOMPARE(save.DefaultSuffix, QStringLiteral("kvd"));
        QCOMPARE(save.NameFilters, (QStringList{"Data File (*.kvd)", "All Files (*.*)"}));
        QVERIFY(save.ConfirmOverwrite);

        const FileDialogRequest& open = rig.requests[1];
        QVERIFY(!open.Save);
        QCOMPARE(open.DefaultSuffix, QStringLiteral("kvd"));
        QCOMPARE(open.NameFilters, (QStringList{"Data File (*.kvd)", "All Files (*.*)"}));
        QVERIFY(open.MustExist);

        const FileDialogRequest& older = rig.requests[2];
        QVERIFY(!older.Save);
        QCOMPARE(older.DefaultSuffix, QStringLiteral("kvx"));
        QCOMPARE(older.NameFilters, (QStringList{"Data Files (*.kvx)", "All Files (*.*)"}));
        QVERIFY(!older.MustExist);
    }

    void realDialogIsConfiguredFromTheRequest() {
        QFileDialog save;
        filecommands::ConfigureFileDialog(save, filecommands::SaveRequest());
        QCOMPARE(save.windowTitle(), QStringLiteral("Save As....."));
        QCOMPARE(save.acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(save.defaultSuffix(), QStringLiteral("kvd"));
        QCOMPARE(save.nameFilters(), (QStringList{"Data File (*.kvd)", "All Files (*.*)"}));
        QVERIFY(!save.testOption(QFileDialog::DontConfirmOverwrite));

        QFileDialog open;
        filecommands::ConfigureFileDialog(open, filecommands::OpenRequest());
        QCOMPARE(open.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(open.fileMode(), QFileDialog::ExistingFile);

        QFileDialog older;
        filecommands::ConfigureFileDialog(older, filecommands::OpenOlderRequest());
        QCOMPARE(older.fileMode(), QFileDialog::AnyFile);
        QCOMPARE(older.defaultSuffix(), QStringLiteral("kvx"));
        QCOMPARE(older.nameFilters(), (QStringList{"Data Files (*.kvx)", "All Files (*.*)"}));

        std::unique_ptr<QMessageBox> box(
            filecommands::MakeErrorBox(nullptr, QStringLiteral("Disk full")));
        box->setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(box->text(), QStringLiteral("Disk full"));
        QCOMPARE(box->icon(), QMessageBox::Critical);
    }

    void cancellingChangesNothing() {
        Rig rig;
        rig.model.Frame.MainRodLength = 18.0f;
        const kes::Model before = rig.model;
        rig.answer.clear();
        rig.commands->SaveAsDimensionsClick();
        rig.commands->OpenDimensionsClick();
        QVERIFY(SameDimensions(before, rig.model));
        QCOMPARE(rig.model.DataSetName, std::string("Nominal"));
        QCOMPARE(rig.link.revArmBarRangeCalls + rig.link.revArmBarPositionCalls, 0);
        QCOMPARE(rig.linesSpy->count(), 0);
        QVERIFY(rig.messages.isEmpty());

        // A cancelled import still refreshes the lines-and-circles fields.
        rig.commands->OpenDosVersionDimClick();
        QVERIFY(SameDimensions(before, rig.model));
        QCOMPARE(rig.linesSpy->count(), 1);
        QCOMPARE(rig.loadedSpy->count(), 0);
        QCOMPARE(rig.link.revArmBarPositionCalls, 0);
        QVERIFY(rig.messages.isEmpty());
    }

    void saveThenOpenRestoresTheDesign() {
        Rig rig;
        rig.model.Frame.MainRodLength = 17.25f;
        rig.model.Frame.RevArmMax = 1.9f;
        rig.model.ViewPresets[4] = 123.0f;
        rig.model.RevArmPositions[6] = 11.5f;
        rig.model.LineTable[3].Point1X = 2.5f;
        rig.model.LineTable[3].ItemType = 1;
        rig.model.CurrentItem = 3;
        const kes::Model saved = rig.model;
        rig.answer = PathOf("big engine.kvd");
        rig.commands->SaveAsDimensionsClick();
        QVERIFY(rig.messages.isEmpty());
        QCOMPARE(rig.model.DataSetName, std::string("big engine"));
        QCOMPARE(QFileInfo(rig.answer).size(), qint64(1440));

        Rig other;
        other.model.RevArmSetting = 9.0f;
        other.answer = rig.answer;
        other.commands->OpenDimensionsClick();
        QVERIFY(other.messages.isEmpty());
        QCOMPARE(other.model.DataSetName, std::string("big engine"));
        QCOMPARE(other.model.Frame.MainRodLength, 17.25f);
        QCOMPARE(other.model.ViewPresets[4], 123.0f);
        QCOMPARE(other.model.RevArmPositions[6], 11.5f);
        QCOMPARE(other.model.LineTable[3].Point1X, 2.5f);
        QCOMPARE(other.model.LineTable[3].ItemType, 1);
        QCOMPARE(other.model.CurrentItem, 3);
        // Mid gear recomputed; the bar takes the new range and sits at 0.
        QCOMPARE(other.model.RevArmSetting, other.model.MidGear());
        QCOMPARE(other.model.RevArmBarMax, 1900);
        QCOMPARE(other.model.RevArmBarMin, -1900);
        QCOMPARE(other.link.revArmBarRangeCalls, 1);
        QCOMPARE(other.link.revArmBarPositionCalls, 1);
        QCOMPARE(other.link.revArmBarPosition, 0);
        QCOMPARE(other.linesSpy->count(), 1);
        QCOMPARE(other.loadedSpy->count(), 1);
    }

    void failedOpenShowsTheMessageAndChangesNothing() {
        const struct {
            const char* Name;
            QByteArray Bytes;
            const char* Message;
        } cases[] = {
            {"missing.kvd", {}, "File not found"},
            {"short.kvd", Records(21, 4.0f), "Read beyond end of file"},
            {"tiny.kvd", Records(3, 4.0f), "Read beyond end of file"},
        };
        for (const auto& c : cases) {
            Rig rig;
            rig.answer = PathOf(QString::fromLatin1(c.Name));
            if (!c.Bytes.isEmpty()) WriteFile(rig.answer, c.Bytes);
            const kes::Model before = rig.model;
            rig.commands->OpenDimensionsClick();
            QCOMPARE(rig.messages, QStringList{QString::fromLatin1(c.Message)});
            QVERIFY(SameDimensions(before, rig.model));
            QCOMPARE(rig.model.DataSetName, std::string("Nominal"));
            QCOMPARE(rig.link.revArmBarRangeCalls + rig.link.revArmBarPositionCalls, 0);
            QCOMPARE(rig.linesSpy->count(), 0);
        }
    }

    void failedSaveShowsTheMessageAndKeepsTheName() {
        Rig rig;
        rig.answer = PathOf("no such folder/engine.kvd");
        rig.commands->SaveAsDimensionsClick();
        QCOMPARE(rig.messages, QStringList{filecommands::SaveFailedText(
                                   rig.answer, QStringLiteral("File not found"))});
        QCOMPARE(rig.model.DataSetName, std::string("Nominal"));
    }

    void twentyRecordFileKeepsTheLinesTable() {
        Rig source;
        source.model.Frame.StrokeLength = 3.75f;
        source.answer = PathOf("twenty.kvd");
        source.commands->SaveAsDimensionsClick();
        QFile f(source.answer);
        QVERIFY(f.resize(400));

        Rig rig;
        rig.model.LineTable[1].Point1X = 9.0f;
        rig.model.CurrentItem = 5;
        rig.answer = source.answer;
        rig.commands->OpenDimensionsClick();
        QVERIFY(rig.messages.isEmpty());
        QCOMPARE(rig.model.Frame.StrokeLength, 3.75f);
        QCOMPARE(rig.model.LineTable[1].Point1X, 9.0f);
        QCOMPARE(rig.model.CurrentItem, 1);
        QCOMPARE(rig.linesSpy->count(), 1);
    }

    void olderFormatImport() {
        // A current-format file imported as an older one: only its first
        // thirteen records count.
        Rig source;
        source.model.Frame.DriverDiameter = 11.0f;
        source.model.GraphicZoom = 60.0f;
        source.model.LineTable[2].Point2Y = 4.0f;
        source.answer = PathOf("current.kvd");
        source.commands->SaveAsDimensionsClick();

        Rig rig;
        rig.answer = source.answer;
        rig.commands->OpenDosVersionDimClick();
        QVERIFY(rig.messages.isEmpty());
        QCOMPARE(rig.model.Frame.DriverDiameter, 11.0f);
        QCOMPARE(rig.model.GraphicZoom, 7.5f);
        QCOMPARE(rig.model.LineTable[2].Point2Y, -1.0f);
        QCOMPARE(rig.model.DataSetName, std::string("current"));
        QCOMPARE(rig.link.revArmBarPositionCalls, 1);
        QCOMPARE(rig.link.revArmBarPosition, 0);
        QCOMPARE(rig.linesSpy->count(), 1);
        QCOMPARE(rig.loadedSpy->count(), 1);

        // A short one fails and leaves everything, the lines included, alone.
        Rig broken;
        broken.answer = PathOf("short.kvx");
        WriteFile(broken.answer, Records(12, 1.0f));
        const kes::Model before = broken.model;
        broken.commands->OpenDosVersionDimClick();
        QCOMPARE(broken.messages, QStringList{"Read beyond end of file"});
        QVERIFY(SameDimensions(before, broken.model));
        QCOMPARE(broken.linesSpy->count(), 0);
        QCOMPARE(broken.link.revArmBarPositionCalls, 0);
    }

    void menuItemsAndToolButtons() {
        Rig rig;
        QMenu file(QStringLiteral("&File"));
        QToolBar bar;
        rig.commands->AddTo(&file, &bar);
        QStringList texts;
        for (QAction* a : file.actions())
            texts << a->text();
        QCOMPARE(texts, (QStringList{"&OpenDimensions", "&Recent Files", "&Save",
                                     "Save&AsDimensions", "Open&DosVersionDim"}));

        auto* saveButton = bar.findChild<QToolButton*>(QStringLiteral("SaveAsDimensionsButton"));
        auto* openButton = bar.findChild<QToolButton*>(QStringLiteral("OpenDimensionsButton"));
        auto* olderButton = bar.findChild<QToolButton*>(QStringLiteral("OpenDosVersionDimButton"));
        QVERIFY(saveButton && openButton && olderButton);
        QCOMPARE(saveButton->toolTip(), QStringLiteral("Save As: Dimensional Data"));
        QCOMPARE(openButton->toolTip(), QStringLiteral("Open File: Dimensional Data"));

        // The buttons run the commands.
        bar.show();
        rig.answer.clear();
        QTest::mouseClick(saveButton, Qt::LeftButton);
        QTest::mouseClick(openButton, Qt::LeftButton);
        QTest::mouseClick(olderButton, Qt::LeftButton);
        QCOMPARE(rig.requests.size(), 3);
        QVERIFY(rig.requests[0].Save);
        QCOMPARE(rig.requests[2].DefaultSuffix, QStringLiteral("kvx"));
        QCOMPARE(rig.linesSpy->count(), 1);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FileCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "file_commands_test.moc"
