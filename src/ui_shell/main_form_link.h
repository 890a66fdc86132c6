// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the other windows may ask of the main window. The main window
// implements it; tests hand the windows a fake.

#include <QString>

class QWidget;

class MainFormLink {
  public:
    virtual ~MainFormLink() = default;

    virtual QWidget* MainWidget() = 0;
    // SBRevArm: Min/Max from the model's RevArmBarMin/Max.
    virtual void SetRevArmBarRange() = 0;
    // SBRevArm.Position := p, which runs SBRevArmChange.
    virtual void SetRevArmBarPosition(int p) = 0;
    // The animation timer (diagram windows stop it while they are open).
    virtual void StopAnimation() = 0;
    virtual void StartAnimation() = 0;
    // SBDynVar1..4 and the dynamic-variable panels shown or hidden.
    virtual void SetDynVarControlsVisible(bool visible) = 0;
    // UnDoDn follows the model's UndoButtonsEnabled.
    virtual void RefreshUndoButton() = 0;
    // ReverseArmPositionsDialog, modal.
    virtual void ShowSetRevArmDialog() = 0;
    // The lines-and-circles window (mouse picking opens it).
    virtual void ShowLinesWindow() = 0;
    // Before the design is replaced: "Save changes to NAME?" when it is
    // modified. False when the user cancels (or a save did not happen).
    virtual bool ConfirmUnsavedChanges() { return true; }
    // The design was reset to the factory one: no file, nothing unsaved.
    virtual void DesignReset() {}
};
