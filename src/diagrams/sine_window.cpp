// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/sine_window.h"

#include "diagrams/sine_diagram.h"
#include "ui_shell/captions.h"

namespace {

DiagramWindowNames SineNames() {
    DiagramWindowNames names;
    names.CaptionPrefix = captions::Sine;
    names.ClientSize = diagrams::SineClientSize;
    names.CloseName = QStringLiteral("CloseSin");
    names.ClosePos = QPoint(408, 8);
    names.DynVarBarPrefix = QStringLiteral("SBDynVarS");
    names.UndoButtonName = QStringLiteral("UnDoDnS");
    names.MenuBarName = QStringLiteral("MainMenuSine");
    names.SetRevArmPos = {QStringLiteral("SetRevArmPos"), QStringLiteral("&SetRevArmPos")};
    names.ReDraw = {QStringLiteral("ReDraw"), QStringLiteral("&ReDraw")};
    names.UnDo = {QStringLiteral("UnDoSine"), QStringLiteral("&UnDo")};
    names.DynVar = {QStringLiteral("DynVari"), QStringLiteral("&DymamicVariables")};
    return names;
}

} // namespace

TSineDia::TSineDia(kes::Model& model, MainFormLink& link, DiagramTextState& text, QWidget* parent)
    : DiagramWindow(model, link, text, SineNames(), parent) {
    setObjectName(QStringLiteral("TSineDia"));
}

void TSineDia::Draw(QPainter& painter) {
    diagrams::PaintSineDiagram(painter, Model(), TextState());
}
