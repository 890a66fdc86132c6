// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/steam_window.h"

#include "diagrams/steam_diagram.h"
#include "ui_shell/captions.h"

namespace {

DiagramWindowNames SteamNames() {
    DiagramWindowNames names;
    names.CaptionPrefix = captions::Steam;
    names.ClientSize = diagrams::SteamClientSize;
    names.CloseName = QStringLiteral("CloseStm");
    names.ClosePos = QPoint(408, 8);
    names.DynVarBarPrefix = QStringLiteral("SBDynVarST");
    names.UndoButtonName = QStringLiteral("UnDoDnSt");
    names.MenuBarName = QStringLiteral("MainMenu1");
    names.SetRevArmPos = {QStringLiteral("SetRevArmPos"), QStringLiteral("SetRevArmPos")};
    names.ReDraw = {QStringLiteral("ReDraw"), QStringLiteral("ReDraw")};
    names.UnDo = {QStringLiteral("UnDoSteam"), QStringLiteral("&UnDo")};
    names.DynVar = {QStringLiteral("DynVari"), QStringLiteral("DynamicVari")};
    // The UnDo button clears and draws once after its undo step.
    names.UndoButtonRedraws = 1;
    return names;
}

} // namespace

TSteamDia::TSteamDia(kes::Model& model, MainFormLink& link, DiagramTextState& text, QWidget* parent)
    : DiagramWindow(model, link, text, SteamNames(), parent) {
    setObjectName(QStringLiteral("TSteamDia"));
}

void TSteamDia::Draw(QPainter& painter) {
    diagrams::PaintSteamDiagram(painter, Model(), TextState());
}
