// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the dimension-dialog tests share: a main-window link that records
// what it was asked, the headless start-up, and typing as a user does.

#include "ui_shell/main_form_link.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVector>
#include <QWidget>

#include <cstdlib>

class RecordingLink : public MainFormLink {
  public:
    QWidget* MainWidget() override { return nullptr; }
    void SetRevArmBarRange() override { ++RangeCalls; }
    void SetRevArmBarPosition(int p) override { Positions.push_back(p); }
    void StopAnimation() override {}
    void StartAnimation() override {}
    void SetDynVarControlsVisible(bool) override {}
    void RefreshUndoButton() override { ++UndoRefreshes; }
    void ShowSetRevArmDialog() override {}
    void ShowLinesWindow() override {}

    int RangeCalls = 0;
    int UndoRefreshes = 0;
    QVector<int> Positions;
};

namespace dimtest {

inline QtMessageHandler& PreviousHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.contains(QLatin1String("This plugin does not support propagateSizeHints()"))) return;
    if (PreviousHandler()) PreviousHandler()(type, context, msg);
}

// The offscreen platform's note on every show() is dropped, nothing else.
// QTest installs its own handler when it starts, so call this from
// initTestCase().
inline void QuietSizeHints() {
    PreviousHandler() = qInstallMessageHandler(QuietHandler);
}

// Headless start-up shared by the test binaries' main().
template <typename TestObject> int Run(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    app.setStyle(QStringLiteral("Fusion"));
    TestObject test;
    return QTest::qExec(&test, argc, argv);
}

// Clicks into a field, empties it and types text, as a user would.
inline void ClickAndRetype(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(20, 6));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// Leaves a field by clicking another control.
inline void ClickAway(QWidget* other) {
    QTest::mouseClick(other, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
}

} // namespace dimtest
