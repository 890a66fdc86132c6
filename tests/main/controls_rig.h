// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's controls on a plain picture-sized widget, with a fake
// main window behind them and menus of their own.

#include "controls/controls.h"
#include "main/main_controls.h"
#include "model/model.h"
#include "support/fake_main_link.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QWidget>
#include <QtGlobal>

#include <memory>

struct ControlsRig {
    kes::Model m;
    FakeMainLink link;
    QWidget host;
    QMenu file, dimensions, motion, view, setUp;
    QToolBar toolBar;
    MainMenus menus;
    std::unique_ptr<MainControls> controls;

    ControlsRig() {
        kes::InitialiseModel(m);
        host.resize(1280, 1024);
        menus.File = &file;
        menus.Dimensions = &dimensions;
        menus.Motion = &motion;
        menus.View = &view;
        menus.SetUp = &setUp;
        menus.ToolBar = &toolBar;
        controls = std::make_unique<MainControls>(m, link, &host, menus);
        host.show();
        toolBar.show();
    }
    ~ControlsRig() { controls.reset(); }

    kes::ControlState& cs() { return controls->State(); }
    QScrollBar* Bar(const char* name) { return host.findChild<QScrollBar*>(QLatin1String(name)); }
    QPushButton* Button(const char* name) {
        return host.findChild<QPushButton*>(QLatin1String(name));
    }
    QAction* Act(const char* name) { return controls->Action(QLatin1String(name)); }
    // Shown on the picture (the host itself is shown).
    bool Shown(QWidget* w) { return w && w->isVisibleTo(&host); }
    void Click(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }
    void Press(int x, int y, Qt::MouseButton button) {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(x, y), host.mapToGlobal(QPointF(x, y)),
                      button, button, Qt::NoModifier);
        controls->MousePressed(&e);
    }
};

// QT_QPA_PLATFORM=offscreen prints this on every show(); nothing else is
// hidden. QTest installs its own message handler when it starts, so this is
// called from initTestCase to sit in front of it.
inline void QuietShowMessages() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.contains(QLatin1String("propagateSizeHints"))) return;
            if (previous) previous(type, context, message);
        });
}

// A test binary's main: headless and silent even when run by hand.
inline int RunHeadless(QObject& test, int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    return QTest::qExec(&test, argc, argv);
}
