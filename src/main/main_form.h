// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: menus, tool bar, the picture with its controls, the
// animation timer and its tick, the sounds, and the other windows, which it
// creates once and shows modally on demand.

#include "picture/draw_state.h"
#include "picture/frame_changes.h"
#include "picture/frame_memo.h"
#include "ui_shell/captions.h"
#include "ui_shell/main_form_link.h"
#include "ui_shell/tick_pace.h"

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class FileCommands;
class HighlightDialogs;
struct DiagramTextState;
class MainControls;
struct MainMenus;
class MechanismView;
class SoundPlayer;

namespace kes {
struct Model;
}

// The windows besides the main one, in the order they are created.
enum class OtherWindow {
    FrameDi,
    DrivAng,
    OvalDia,
    PortDia,
    RefPnts,
    RevPos,
    SetRevArm,
    SineDia,
    SteamDia,
    StpAng,
    Inst,
    KesSpInst,
    GraphZoom,
    DrawLines,
    DataTable,
    CylDimen,
    Count,
};

class TMainForm : public QMainWindow, public MainFormLink {
    Q_OBJECT
  public:
    static constexpr int DefaultTickMs = 16;

    // Initialises the model (FormCreate) and starts the timer.
    explicit TMainForm(kes::Model& model, int tickMs = DefaultTickMs, QWidget* parent = nullptr);
    ~TMainForm() override;

    // MainFormLink.
    QWidget* MainWidget() override { return this; }
    void SetRevArmBarRange() override;
    void SetRevArmBarPosition(int p) override;
    void StopAnimation() override;
    void StartAnimation() override;
    void SetDynVarControlsVisible(bool visible) override;
    void RefreshUndoButton() override;
    void ShowSetRevArmDialog() override;
    void ShowLinesWindow() override;
    bool ConfirmUnsavedChanges() override;
    void DesignReset() override;

    // One tick: solve, map, outlines, advance, draw, present. A tick that
    // arrives while another is running (a nested event loop) is skipped.
    void OnTick();
    // "E&xit": closes the main window, which ends the program (after asking
    // about unsaved changes).
    void Exit1Click();

    // The file commands (Save, Open, recent files) and the start-up file.
    FileCommands* Files() const { return fileCommands_; }
    // "Scale Design...": asks for a factor and scales the design. Tests
    // answer instead of the dialog.
    void ScaleDesignClick();
    // "Fit to &Window" (key F): frames the whole gear in the picture. After a
    // file is loaded the gear is framed so when its stored view cuts it off.
    void FitToWindowClick();
    void FitGearIfCutOff();
    void SetScaleFactorChooser(std::function<std::optional<double>()> chooser) {
        scaleChooser_ = std::move(chooser);
    }

    // The other windows: each is handed over once, then shown modally by
    // its menu command. A caption prefix makes the tick keep its caption.
    void SetOtherWindow(OtherWindow which, QWidget* window, const QString& captionPrefix = {});
    QWidget* Window(OtherWindow which) const;
    void ShowOtherWindow(OtherWindow which);
    void ShowFrameDimensions() { ShowOtherWindow(OtherWindow::FrameDi); }
    void ShowCylinderDimensions() { ShowOtherWindow(OtherWindow::CylDimen); }
    void ShowSineDiagram() { ShowOtherWindow(OtherWindow::SineDia); }
    void ShowOvalDiagram() { ShowOtherWindow(OtherWindow::OvalDia); }
    void ShowSteamDiagram() { ShowOtherWindow(OtherWindow::SteamDia); }
    void ShowPortDiagram() { ShowOtherWindow(OtherWindow::PortDia); }
    // "&PortOpenClose": the forward graph first, every time.
    void OpenPortDiagram();
    void ShowDataTable() { ShowOtherWindow(OtherWindow::DataTable); }
    void ShowInstructions() { ShowOtherWindow(OtherWindow::Inst); }
    void ShowSpecialInstructions() { ShowOtherWindow(OtherWindow::KesSpInst); }

    // The dimension dialogs as the highlight sees them. Without a custom
    // link the frame and cylinder windows are used as plain dialogs.
    void SetHighlightDialogs(HighlightDialogs* dialogs) { highlightDialogs_ = dialogs; }

    kes::Model& Model() { return model_; }
    DrawState& State() { return state_; }
    const QImage& Frame() const { return frame_; }
    MechanismView* Picture() const { return picture_; }
    MainControls* Controls() const { return controls_.get(); }
    SoundPlayer* Sound() const { return sound_; }
    QAction* ErrorItem() const { return errorItem_; }
    QTimer* Timer1() { return &timer1_; }
    const MainMenus& Menus() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void FormCreate();
    void FormActivate();
    void FormClose();
    void BuildMenus();
    // The other windows and the commands that open them (main_windows.cpp).
    void CreateOtherWindows();
    void AddWindowCommands();
    void PictureMousePressed(QMouseEvent* event);
    void ApplyOutcome(const FrameOutcome& out);
    void UpdateCaptions();
    // Shortcuts, the mouse on the picture, "Scale Design..." and the
    // modified mark of the title (main_session.cpp).
    void AddSessionCommands();
    void UpdateModifiedMark();
    HighlightDialogs* CurrentHighlightDialogs();

    kes::Model& model_;
    DrawState state_;
    FrameMemo frameMemo_;
    QImage frame_;
    FrameChanges frameChanges_; // what each frame changed on the screen
    QTimer timer1_;
    std::unique_ptr<shell::TickPace> pace_; // slower while the picture stands still
    bool inTick_ = false;
    bool closed_ = false;
    MechanismView* picture_ = nullptr;
    SoundPlayer* sound_ = nullptr;
    QAction* errorItem_ = nullptr;
    QAction* exit1_ = nullptr;
    std::unique_ptr<MainMenus> menus_;
    std::unique_ptr<MainControls> controls_;
    std::array<QPointer<QWidget>, static_cast<size_t>(OtherWindow::Count)> windows_{};
    std::vector<std::pair<QPointer<QWidget>, QString>> captionWindows_;
    CaptionClock captionClock_;
    std::vector<QPointer<QWidget>> ownedWindows_; // deleted first, before the undo text
    std::unique_ptr<DiagramTextState> diagramText_;
    FileCommands* fileCommands_ = nullptr;
    HighlightDialogs* highlightDialogs_ = nullptr;
    std::function<std::optional<double>()> scaleChooser_;
    std::unique_ptr<HighlightDialogs> defaultHighlight_;
};
