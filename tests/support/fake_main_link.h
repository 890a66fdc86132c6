// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stand-in for the main window: counts what the other windows ask of it.

#include "ui_shell/main_form_link.h"

#include <functional>

class FakeMainLink : public MainFormLink {
  public:
    QWidget* MainWidget() override { return nullptr; }
    void SetRevArmBarRange() override { ++revArmBarRangeCalls; }
    void SetRevArmBarPosition(int p) override {
        ++revArmBarPositionCalls;
        revArmBarPosition = p;
    }
    void StopAnimation() override {
        ++stopCalls;
        animationRunning = false;
    }
    void StartAnimation() override {
        ++startCalls;
        animationRunning = true;
    }
    void SetDynVarControlsVisible(bool visible) override {
        ++dynVarVisibleCalls;
        dynVarControlsVisible = visible;
    }
    void RefreshUndoButton() override { ++refreshUndoCalls; }
    void ShowSetRevArmDialog() override {
        ++setRevArmDialogCalls;
        if (onSetRevArmDialog) onSetRevArmDialog();
    }
    void ShowLinesWindow() override { ++linesWindowCalls; }

    bool animationRunning = true;
    bool dynVarControlsVisible = false;
    int revArmBarRangeCalls = 0;
    int revArmBarPositionCalls = 0;
    int revArmBarPosition = 0;
    int stopCalls = 0;
    int startCalls = 0;
    int dynVarVisibleCalls = 0;
    int refreshUndoCalls = 0;
    int setRevArmDialogCalls = 0;
    int linesWindowCalls = 0;
    // Runs while the "dialog" is open (a test can change the positions).
    std::function<void()> onSetRevArmDialog;
};
