// SPDX-License-Identifier: GPL-3.0-or-later
// The workshop commands of the File menu, run from the main window with the
// dialogs replaced.

#include "file_commands/workshop_commands.h"
#include "main/main_form.h"
#include "model/model.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <nlohmann/json.hpp>

class WorkshopCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void menuHasTheCommandsInOrder();
    void eachCommandWritesItsFile();
    void aFailureIsShownAndWritesNothing();
    void settingsDialogReturnsWhatIsTyped();
};

void WorkshopCommandsTest::menuHasTheCommandsInOrder() {
    kes::Model m;
    TMainForm form(m);
    QStringList captions;
    for (QAction* a : form.menuBar()->actions().first()->menu()->actions())
        captions << a->text();
    const int links = captions.indexOf(workshopcommands::LinksText);
    QVERIFY(links >= 0);
    QCOMPARE(captions.value(links + 1), workshopcommands::ArrangementText);
    QCOMPARE(captions.value(links + 2), workshopcommands::DxfText);
    QCOMPARE(captions.value(links + 3), workshopcommands::SheetText);
    QCOMPARE(captions.last(), QStringLiteral("E&xit"));
}

void WorkshopCommandsTest::eachCommandWritesItsFile() {
    kes::Model m;
    TMainForm form(m);
    auto* commands = form.findChild<WorkshopCommands*>(workshopcommands::ObjectName);
    QVERIFY(commands);
    QTemporaryDir dir;
    QStringList messages;
    QString next;
    commands->SetMessageShower([&](const QString& s) { messages << s; });
    commands->SetFileChooser([&](const QString&, const QString&) { return dir.filePath(next); });
    commands->SetSettingsAsker([](WorkshopExport, const WorkshopSettings& s) {
        std::optional<WorkshopSettings> out = s;
        out->Notches = {s.Notches.front(), -s.Notches.front()};
        return out;
    });
    const std::pair<QString, QAction*> runs[] = {{"links.pdf", commands->Actions()[0]},
                                                 {"ga.svg", commands->Actions()[1]},
                                                 {"gear", commands->Actions()[2]},
                                                 {"sheet.json", commands->Actions()[3]}};
    for (const auto& [name, action] : runs) {
        next = name;
        action->trigger();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    }
    QVERIFY(QFile(dir.filePath("links.pdf")).size() > 1000);
    QVERIFY(QFile(dir.filePath("ga.svg")).size() > 1000);
    QVERIFY(QFile(dir.filePath("gear.dxf")).size() > 1000); // the suffix is added
    QFile json(dir.filePath("sheet.json"));
    QVERIFY(json.open(QIODevice::ReadOnly));
    const auto j = nlohmann::json::parse(json.readAll().toStdString());
    QCOMPARE(int(j["notches"].size()), 2);
    QCOMPARE(QString::fromStdString(j["notches"][1]["direction"]), QStringLiteral("R"));
}

void WorkshopCommandsTest::aFailureIsShownAndWritesNothing() {
    kes::Model m;
    TMainForm form(m);
    auto* commands = form.findChild<WorkshopCommands*>(workshopcommands::ObjectName);
    QTemporaryDir dir;
    QStringList messages;
    commands->SetMessageShower([&](const QString& s) { messages << s; });
    commands->SetFileChooser([&](const QString&, const QString&) { return dir.filePath("x.pdf"); });
    commands->SetSettingsAsker([](WorkshopExport, const WorkshopSettings& s) {
        std::optional<WorkshopSettings> out = s;
        out->ScaleDivisor = 1; // the gear is far larger than A4 full size
        out->Paper = {workshop::PaperKind::A4, true, {}};
        return out;
    });
    commands->Actions()[1]->trigger();
    QCOMPARE(messages.size(), 1);
    QVERIFY(!QFile::exists(dir.filePath("x.pdf")));
    // Cancelling the settings writes nothing and says nothing.
    commands->SetSettingsAsker(
        [](WorkshopExport, const WorkshopSettings&) { return std::optional<WorkshopSettings>(); });
    commands->Actions()[2]->trigger();
    QCOMPARE(messages.size(), 1);
}

void WorkshopCommandsTest::settingsDialogReturnsWhatIsTyped() {
    WorkshopSettings start;
    start.Notches = {1.5, -1.5};
    start.PinDiameter = 0.36;
    start.LinkWidth = 0.72;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->findChild<QLineEdit*>(QStringLiteral("WorkshopNotches"))->setText("1, -0.5, x");
        dialog->findChild<QComboBox*>(QStringLiteral("WorkshopUnit"))->setCurrentIndex(1);
        dialog->findChild<QComboBox*>(QStringLiteral("WorkshopPaper"))->setCurrentText("A3");
        dialog->findChild<QComboBox*>(QStringLiteral("WorkshopOrientation"))->setCurrentIndex(1);
        dialog->accept();
    });
    const auto out = AskWorkshopSettings(nullptr, WorkshopExport::SettingSheet, start);
    QVERIFY(out);
    QCOMPARE(out->Notches, (std::vector<double>{1.0, -0.5}));
    QCOMPARE(out->DesignUnit, workshop::Unit::Millimetre);
    QCOMPARE(out->Paper.Kind, workshop::PaperKind::A3);
    QCOMPARE(out->Paper.Landscape, std::optional<bool>(false));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    WorkshopCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "workshop_commands_test.moc"
