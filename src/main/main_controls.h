// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls that sit on the main window's picture: reverse arm, driver
// and step angle, run/stop, pan and zoom, presets, reference points, the
// dynamic-variable bars and the UnDo button, with their menu commands,
// tool buttons and the mouse picking of the drawing.

#include <QObject>

class QAction;
class QMenu;
class QMouseEvent;
class QToolBar;
class QWidget;
class MainFormLink;
class ReverseArmSettingDialog;
class DriverAngleDialog;
class StepAngleDialog;
class ReferencePointsDialog;
class GraphicZoomDialog;
class ReverseArmPositionsDialog;

namespace kes {
struct Model;
struct ControlState;
} // namespace kes

// The menus of the main window that the controls add their commands to.
struct MainMenus {
    QMenu* File = nullptr;       // "&File"
    QMenu* Dimensions = nullptr; // "&Dimensions"
    QMenu* Motion = nullptr;     // "&Motion"
    QMenu* View = nullptr;       // "&View"
    QMenu* SetUp = nullptr;      // "&SetUp"
    QMenu* Graphs = nullptr;     // "Draw&Graphs"
    QMenu* Help = nullptr;       // "&Help"
    QToolBar* ToolBar = nullptr;
};

class MainControls : public QObject {
    Q_OBJECT
  public:
    // host is the widget the picture is painted on; the controls are its children.
    MainControls(kes::Model& model, MainFormLink& link, QWidget* host, const MainMenus& menus);
    ~MainControls() override;

    // Called once per tick, after the drawing: mirrors the model into the
    // controls (enabled states, visibility, bar ranges).
    void SyncFromModel();
    // Mouse button pressed on the picture (reference points, pivot picking).
    void MousePressed(QMouseEvent* event);

    // SBRevArm, for MainFormLink.
    void SetRevArmBarRange();
    void SetRevArmBarPosition(int p);
    void SetDynVarControlsVisible(bool visible);
    void RefreshUndoButton();
    void ShowSetRevArmDialog();
    // The UnDo button's step (nothing while the button is disabled) and its redo.
    void UndoLastChange();
    void RedoLastChange();
    // The Run/Stop button's command from the keyboard, while the button is usable.
    void ToggleRunIfUsable();

    // What the controls show (bar positions, enabled flags, running state).
    kes::ControlState& State();
    // The menu command or tool button with this object name, or nullptr.
    QAction* Action(const QString& name) const;
    ReverseArmSettingDialog* DialogForReverseArmSetting() const;
    DriverAngleDialog* DialogForDriverAngle() const;
    StepAngleDialog* DialogForStepAngle() const;
    ReferencePointsDialog* DialogForReferencePoints() const;
    GraphicZoomDialog* DialogForGraphicZoom() const;
    ReverseArmPositionsDialog* DialogForReverseArmPositions() const;

  signals:
    // The "DataTable" button: show the pivot data table.
    void DataTableRequested();
    // A click for the lines-and-circles window's pivot pick, after the
    // reference point (left: 1, right: 2) has been moved to it. The receiver
    // picks the pivot and shows the window again when the pick is complete.
    // Without a receiver the window is simply shown when the pick completes.
    void LinesPivotClicked(bool rightButton);
    // The system beep is asked for. The receiver sounds it; without one the
    // controls call the platform's beep themselves (not under KESTROVE_NO_SOUND).
    void Beeped();
    // "Norm" was pressed during a dimension highlight: the window ends the
    // highlight at its next frame, as a click on the picture does.
    void HighlightEndRequested();

  private:
    struct Impl;
    Impl* d;
};
