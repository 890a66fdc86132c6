// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/port_window.h"

#include "diagrams/port_diagram.h"
#include "ui_shell/captions.h"
#include "model/model.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

const DiagramMenuItem SetUpMenu{QStringLiteral("SetUp"), QStringLiteral("SetUp")};
const DiagramMenuItem ForwardGraphItem{QStringLiteral("ForwardGraph1"),
                                       QStringLiteral("ForwardGraph")};
const DiagramMenuItem ReverseGraphItem{QStringLiteral("ReverseGraph1"),
                                       QStringLiteral("ReverseGraph")};
const DiagramMenuItem BothGraphsItem{QStringLiteral("BothGraphs1"), QStringLiteral("BothGraphs")};

DiagramWindowNames PortNames() {
    DiagramWindowNames names;
    names.CaptionPrefix = captions::Ports;
    names.ClientSize = diagrams::PortClientSize;
    names.CloseName = QStringLiteral("ClosePort");
    names.ClosePos = QPoint(447, 2);
    names.DynVarBarPrefix = QStringLiteral("SBDynVarP");
    names.UndoButtonName = QStringLiteral("UnDoDnP");
    names.MenuBarName = QStringLiteral("MainMenu1");
    // No "SetRevArmPos": the rows do not use the reverse-arm positions.
    names.ReDraw = {QStringLiteral("ReDraw1"), QStringLiteral("ReDraw")};
    names.UnDo = {QStringLiteral("UnDoPorts"), QStringLiteral("&UnDo")};
    names.DynVar = {QStringLiteral("DynamicVari1"), QStringLiteral("DynamicVari")};
    names.ShowsSetRevArmOnActivate = false;
    names.RedrawsOnMouseMove = false;
    names.UndoButtonRedraws = 1;
    return names;
}

} // namespace

TPortDia::TPortDia(kes::Model& model, MainFormLink& link, DiagramTextState& text, QWidget* parent)
    : DiagramWindow(model, link, text, PortNames(), parent) {
    setObjectName(QStringLiteral("TPortDia"));

    QMenuBar* bar = MenuBar();
    auto* setUp = new QMenu(SetUpMenu.Caption, bar);
    setUp->setObjectName(SetUpMenu.Name);
    auto add = [this, setUp](const DiagramMenuItem& item, void (TPortDia::*handler)()) {
        QAction* action = setUp->addAction(item.Caption);
        action->setObjectName(item.Name);
        connect(action, &QAction::triggered, this, handler);
    };
    add(ForwardGraphItem, &TPortDia::ForwardGraphClick);
    add(ReverseGraphItem, &TPortDia::ReverseGraphClick);
    add(BothGraphsItem, &TPortDia::BothGraphsClick);
    const QList<QAction*> items = bar->actions();
    bar->insertMenu(items.isEmpty() ? nullptr : items.front(), setUp);
}

void TPortDia::ClearAndDraw() {
    if (Model().PortGraphMode == 'B') {
        BothGraphs();
        return;
    }
    DiagramWindow::ClearAndDraw();
}

void TPortDia::DrawWithoutClearing() {
    if (Model().PortGraphMode == 'B') {
        BothGraphs();
        return;
    }
    DiagramWindow::DrawWithoutClearing();
}

void TPortDia::ForwardGraphClick() {
    Model().PortGraphMode = 'F';
    DiagramWindow::ClearAndDraw();
}

void TPortDia::ReverseGraphClick() {
    Model().PortGraphMode = 'R';
    DiagramWindow::ClearAndDraw();
}

void TPortDia::BothGraphsClick() {
    BothGraphs();
}

// The forward graph, annotated, then the reverse graph over it without
// annotation. One drawing in mode 'B' paints exactly that, with both sweeps
// run before any painting.
void TPortDia::BothGraphs() {
    kes::Model& m = Model();
    m.PortGraphMode = 'F';
    ClearPicture();
    m.PortGraphMode = 'B';
    DrawPicture();
}

void TPortDia::Draw(QPainter& painter) {
    // 'F' or 'R': one annotated graph; 'B': both, the reverse one not annotated.
    diagrams::PaintPortDiagram(painter, Model(), Model().PortGraphMode, true, TextState());
}
