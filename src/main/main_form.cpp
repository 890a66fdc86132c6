// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/main_form.h"

#include "diagrams/diagram_paint.h"
#include "main/frame_present.h"
#include "main/main_controls.h"
#include "main/mechanism_view.h"
#include "main/sound_player.h"
#include "model/model.h"
#include "motion_dialogs/highlight_dialogs.h"
#include "picture/animation_tick.h"
#include "picture/mechanism_painter.h"
#include "ui_shell/captions.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QToolBar>

namespace {

// The main window's own texts and sizes.
const QString MenuFile = QStringLiteral("&File");
const QString MenuDimensions = QStringLiteral("&Dimensions");
const QString MenuMotion = QStringLiteral("&Motion");
const QString MenuView = QStringLiteral("&View");
const QString MenuSetUp = QStringLiteral("&SetUp");
const QString MenuGraphs = QStringLiteral("Draw&Graphs");
const QString MenuHelp = QStringLiteral("&Help");
const QString ExitText = QStringLiteral("E&xit");
const QString ErrorItemHint = QStringLiteral("Linkage Error");
constexpr QSize PictureStartSize{800, 600};
// The top strip of the picture: every read-out with its panels shown (the
// pivot data down to y 212) and the dynamic-variable bars ending at x 795.
constexpr QSize PictureMinimumSize{800, 216};
constexpr uint32_t HalfVolume = 0x80008000u;
constexpr int ErrorIconSize = 16;

// The error item of the menu bar: a red disc with a white exclamation mark.
QIcon ErrorIcon() {
    QPixmap pix(ErrorIconSize, ErrorIconSize);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x80, 0, 0), 1));
    p.setBrush(QColor(0xFF, 0, 0));
    p.drawEllipse(QRectF(0.5, 0.5, ErrorIconSize - 1, ErrorIconSize - 1));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6.75, 3, 2.5, 6.5), 1, 1);
    p.drawEllipse(QRectF(6.75, 10.75, 2.5, 2.5));
    return QIcon(pix);
}

} // namespace

TMainForm::TMainForm(kes::Model& model, int tickMs, QWidget* parent)
    : QMainWindow(parent), model_(model), frame_(NewFrameImage()) {
    setObjectName(QStringLiteral("MainForm"));
    picture_ = new MechanismView(this);
    picture_->SetFrame(&frame_);
    picture_->OnMousePress = [this](QMouseEvent* e) { PictureMousePressed(e); };
    setCentralWidget(picture_);

    FormCreate();
    BuildMenus();
    CreateOtherWindows();
    AddSessionCommands();

    picture_->setMinimumSize(PictureMinimumSize);
    // Start at a size that shows the whole gear, centred on the screen.
    resize(PictureStartSize.width(), PictureStartSize.height() + menuBar()->sizeHint().height() +
                                         menus_->ToolBar->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setTimerType(Qt::PreciseTimer);
    timer1_.setInterval(std::max(1, tickMs));
    connect(&timer1_, &QTimer::timeout, this, &TMainForm::OnTick);
    pace_ = std::make_unique<shell::TickPace>(timer1_, model_, timer1_.interval());
    timer1_.start();
}

TMainForm::~TMainForm() {
    timer1_.stop();
    // The windows this form owns hold the shared undo text: they go first.
    // The controls delete their own dialogs.
    for (auto& w : ownedWindows_)
        delete w.data();
    controls_.reset();
}

void TMainForm::FormCreate() {
    kes::InitialiseModel(model_);
    sound_ = new SoundPlayer(this);
    sound_->SetOutputVolume(HalfVolume);
}

void TMainForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    menus_ = std::make_unique<MainMenus>();
    auto add = [&](const QString& title, const char* name) {
        QMenu* menu = bar->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    menus_->File = add(MenuFile, "File1");
    menus_->Dimensions = add(MenuDimensions, "Dimensions1");
    menus_->Motion = add(MenuMotion, "Motion1");
    menus_->View = add(MenuView, "View1");
    menus_->SetUp = add(MenuSetUp, "SetUp1");
    menus_->Graphs = add(MenuGraphs, "DrawGraphs1");
    menus_->Help = add(MenuHelp, "Help1");
    menus_->ToolBar = addToolBar(QStringLiteral("ToolBar1"));
    menus_->ToolBar->setObjectName(QStringLiteral("ToolBar1"));
    menus_->ToolBar->setMovable(false);

    errorItem_ = new QAction(ErrorIcon(), QString(), this);
    errorItem_->setObjectName(QStringLiteral("ErrorIndicator"));
    errorItem_->setToolTip(ErrorItemHint);
    errorItem_->setVisible(false);
    bar->addAction(errorItem_);

    controls_ = std::make_unique<MainControls>(model_, *this, picture_, *menus_);
    connect(controls_.get(), &MainControls::HighlightEndRequested, this, [this] {
        if (model_.HighlightedDimension > 0) state_.HighlightFrameCount = HighlightClickFrameCount;
    });
    controls_->SetRevArmBarRange();

    exit1_ = menus_->File->addAction(ExitText);
    exit1_->setObjectName(QStringLiteral("Exit1"));
    connect(exit1_, &QAction::triggered, this, &TMainForm::Exit1Click);
}

const MainMenus& TMainForm::Menus() const {
    return *menus_;
}

void TMainForm::SetOtherWindow(OtherWindow which, QWidget* window, const QString& captionPrefix) {
    const auto i = static_cast<size_t>(which);
    if (i >= windows_.size()) return;
    windows_[i] = window;
    if (window && !captionPrefix.isEmpty()) {
        captionWindows_.emplace_back(window, captionPrefix);
        window->setWindowTitle(WindowCaption(model_, captionPrefix));
    }
}

QWidget* TMainForm::Window(OtherWindow which) const {
    const auto i = static_cast<size_t>(which);
    return i < windows_.size() ? windows_[i].data() : nullptr;
}

void TMainForm::ShowOtherWindow(OtherWindow which) {
    QWidget* w = Window(which);
    if (!w) return;
    if (auto* dialog = qobject_cast<QDialog*>(w)) {
        if (!dialog->isVisible()) dialog->exec();
        return;
    }
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    w->activateWindow();
}

HighlightDialogs* TMainForm::CurrentHighlightDialogs() {
    if (highlightDialogs_) return highlightDialogs_;
    defaultHighlight_ = std::make_unique<DialogHighlightLink>(
        qobject_cast<QDialog*>(Window(OtherWindow::FrameDi)),
        qobject_cast<QDialog*>(Window(OtherWindow::CylDimen)));
    return defaultHighlight_.get();
}

void TMainForm::SetRevArmBarRange() {
    controls_->SetRevArmBarRange();
}
void TMainForm::SetRevArmBarPosition(int p) {
    controls_->SetRevArmBarPosition(p);
}
void TMainForm::StopAnimation() {
    timer1_.stop();
}
void TMainForm::StartAnimation() {
    if (!closed_) timer1_.start();
}
void TMainForm::SetDynVarControlsVisible(bool visible) {
    controls_->SetDynVarControlsVisible(visible);
}
void TMainForm::RefreshUndoButton() {
    controls_->RefreshUndoButton();
}
void TMainForm::ShowSetRevArmDialog() {
    controls_->ShowSetRevArmDialog();
}
void TMainForm::ShowLinesWindow() {
    ShowOtherWindow(OtherWindow::DrawLines);
}

void TMainForm::OnTick() {
    if (inTick_) return;
    inTick_ = true;
    FrameOutcome out;
    // An unchanged frame is neither drawn nor presented again.
    const bool drawn = RunTickIfChanged(model_, state_, frame_, out, frameMemo_);
    pace_->Ticked(drawn);
    UpdateCaptions();
    UpdateModifiedMark();
    ApplyOutcome(out);
    // The controls follow the model (the UnDo button stands by the undo line).
    controls_->SyncFromModel();
    if (drawn)
        picture_->update(FrameRegion(*picture_) &
                         frameChanges_.Update(state_.Drawn, picture_->rect()));
    inTick_ = false;
}

void TMainForm::UpdateCaptions() {
    if (!captionClock_.Update(model_)) return;
    setWindowTitle(captionClock_.Caption(captions::Main));
    for (const auto& [window, prefix] : captionWindows_)
        if (window) window->setWindowTitle(captionClock_.Caption(prefix));
}

void TMainForm::ApplyOutcome(const FrameOutcome& out) {
    for (int i = 0; i < out.BeatCount; ++i) {
        const auto& beat = out.Beats[static_cast<size_t>(i)];
        if (beat.Volume) sound_->SetOutputVolume(*beat.Volume);
        sound_->PlayExhaust();
    }
    if (out.PlayError) sound_->PlayError();
    if (out.Beeps > 0) sound_->Beep();
    if (out.ErrorItemVisible) errorItem_->setVisible(*out.ErrorItemVisible);
    if (out.CloseDialog != HighlightTarget::None)
        CurrentHighlightDialogs()->CloseDimensionDialog(out.CloseDialog);
    if (out.HighlightEnded) {
        picture_->unsetCursor();
        const QCursor* c = QGuiApplication::overrideCursor();
        if (c && c->shape() == Qt::WaitCursor) QGuiApplication::restoreOverrideCursor();
    }
    if (out.ReopenDialog != HighlightTarget::None) {
        // A modal dialog runs its own event loop: never inside the tick.
        const HighlightTarget which = out.ReopenDialog;
        QTimer::singleShot(
            0, this, [this, which] { CurrentHighlightDialogs()->ReopenDimensionDialog(which); });
    }
}

void TMainForm::PictureMousePressed(QMouseEvent* event) {
    if (model_.HighlightedDimension > 0) state_.HighlightFrameCount = HighlightClickFrameCount;
    controls_->MousePressed(event);
}

void TMainForm::Exit1Click() {
    close();
}

void TMainForm::FormActivate() {
    // The driver-angle bar only works while the driver stands still.
    if (model_.StepAngle == 0.0f) return;
    if (auto* bar = picture_->findChild<QWidget*>(QStringLiteral("SBDrvAng")))
        bar->setEnabled(false);
}

void TMainForm::FormClose() {
    closed_ = true;
    timer1_.stop();
    sound_->SetOutputVolume(HalfVolume);
}

void TMainForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
    QMainWindow::changeEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!closed_ && !ConfirmUnsavedChanges()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    // Closing the main window ends the program, whatever else is open.
    for (const auto& w : windows_)
        if (w && w->isVisible()) w->close();
}
