// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/oval_window.h"

#include "diagrams/oval_diagram.h"
#include "ui_shell/captions.h"

namespace {

DiagramWindowNames OvalNames() {
    DiagramWindowNames names;
    names.CaptionPrefix = captions::Oval;
    names.ClientSize = diagrams::OvalClientSize;
    names.CloseName = QStringLiteral("CloseOval");
    names.ClosePos = QPoint(408, 8);
    names.DynVarBarPrefix = QStringLiteral("SBDynVarO");
    names.UndoButtonName = QStringLiteral("UnDoDnO");
    names.MenuBarName = QStringLiteral("MainMenu1");
    names.SetRevArmPos = {QStringLiteral("SetRevArmPos1"), QStringLiteral("SetRevArmPos")};
    names.ReDraw = {QStringLiteral("ReDraw1"), QStringLiteral("ReDraw")};
    names.UnDo = {QStringLiteral("UnDoOval"), QStringLiteral("&UnDo")};
    names.DynVar = {QStringLiteral("DynVar"), QStringLiteral("DynamicVari")};
    return names;
}

} // namespace

TOvalDia::TOvalDia(kes::Model& model, MainFormLink& link, DiagramTextState& text, QWidget* parent)
    : DiagramWindow(model, link, text, OvalNames(), parent) {
    setObjectName(QStringLiteral("TOvalDia"));
}

void TOvalDia::Draw(QPainter& painter) {
    diagrams::PaintOvalDiagram(painter, Model(), TextState());
}
