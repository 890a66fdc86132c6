// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/diagram_window.h"

#include "diagrams/diagram_fit.h"
#include "diagrams/diagram_render.h"
#include "diagrams/picture_stamp.h"
#include "diagrams/stamp_file_dialog.h"
#include "model/dyn_vars.h"
#include "model/model.h"
#include "ui_shell/captions.h"
#include "ui_shell/main_form_link.h"
#include "ui_shell/self_centring_input.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The controls every diagram window places on its picture.
constexpr QSize CloseButtonSize{75, 25};
constexpr int BarLeft = 112;
constexpr int BarTops[4] = {3, 15, 27, 39};
constexpr QSize BarSize{121, 10};
constexpr int BarMin = -200;
constexpr int BarMax = 200;
constexpr QRect UndoButtonRect{110, 54, 40, 16};
const QString CloseCaption = QStringLiteral("Close");
const QString UndoCaption = QStringLiteral("UnDo");
const QString SaveImageName = QStringLiteral("SaveImage");
const QString SaveImageCaption = QStringLiteral("Save Image...");

} // namespace

// The client area: shows the retained picture, fitted to its size, and
// reports mouse moves.
class DiagramWindow::ClientArea : public QWidget {
  public:
    ClientArea(DiagramWindow* owner, QSize size)
        : QWidget(owner), owner_(owner), pictureSize_(size) {
        setObjectName(QStringLiteral("DiagramClient"));
        setMinimumSize(size / 2);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        resize(size);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(owner->names_.RedrawsOnMouseMove);
    }
    QSize sizeHint() const override { return pictureSize_; }
    diagrams::PictureFit Fit() const { return diagrams::FitPicture(pictureSize_, size()); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const diagrams::PictureFit fit = Fit();
        if (diagrams::IsUnscaled(fit, devicePixelRatioF())) {
            const QPoint at = fit.Offset.toPoint();
            if (at != QPoint(0, 0) || size() != pictureSize_) p.fillRect(rect(), Qt::white);
            p.drawImage(at, owner_->picture_);
        } else {
            p.drawImage(QPoint(0, 0), owner_->FittedPicture());
        }
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        owner_->fittedStale_ = true;
        owner_->LayOutControls();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        owner_->MouseMoved();
        QWidget::mouseMoveEvent(event);
    }

  private:
    DiagramWindow* owner_;
    QSize pictureSize_;
};

DiagramWindow::DiagramWindow(kes::Model& model, MainFormLink& link, DiagramTextState& text,
                             const DiagramWindowNames& names, QWidget* parent)
    : QDialog(parent), model_(model), link_(link), text_(text), names_(names),
      picture_(names.ClientSize, QImage::Format_RGB32) {
    picture_.fill(Qt::white);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setModal(true);
    setFont(diagrams::DiagramFont());
    setWindowTitle(names_.CaptionPrefix);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(names_.MenuBarName);
    menuBar_->setNativeMenuBar(false);
    layout->setMenuBar(menuBar_);

    client_ = new ClientArea(this, names_.ClientSize);
    layout->addWidget(client_);

    closeButton_ = new QPushButton(CloseCaption, client_);
    closeButton_->setObjectName(names_.CloseName);
    closeButton_->setGeometry(QRect(names_.ClosePos, CloseButtonSize));
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);

    for (int i = 0; i < 4; ++i) {
        auto* bar = new QScrollBar(Qt::Horizontal, client_);
        bar->setObjectName(names_.DynVarBarPrefix + QString::number(i + 1));
        bar->setGeometry(QRect(QPoint(BarLeft, BarTops[i]), BarSize));
        bar->setRange(BarMin, BarMax);
        bar->setValue(0);
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->hide();
        bars_[static_cast<size_t>(i)] = bar;
    }
    DynVarBarInput::Hooks hooks;
    hooks.Stepped = [this](int) { ClearAndDraw(); };
    hooks.Ended = [this](int, bool) {
        link_.RefreshUndoButton();
        closeButton_->setFocus();
        DrawWithoutClearing();
    };
    dynVarInput_ = new DynVarBarInput(model_, bars_, std::move(hooks), this);

    undoButton_ = new QPushButton(UndoCaption, client_);
    undoButton_->setObjectName(names_.UndoButtonName);
    undoButton_->setGeometry(UndoButtonRect);
    undoButton_->setEnabled(false);
    undoButton_->hide();
    connect(undoButton_, &QPushButton::clicked, this, &DiagramWindow::UnDoButtonClick);

    BuildMenu();
    // Opens at the picture's own size, however small the screen.
    resize(sizeHint());
    LayOutControls();
    closeButton_->setFocus();
}

DiagramWindow::~DiagramWindow() = default;

void DiagramWindow::BuildMenu() {
    auto add = [this](const DiagramMenuItem& item, void (DiagramWindow::*handler)()) {
        if (item.Name.isEmpty()) return;
        QAction* action = menuBar_->addAction(item.Caption);
        action->setObjectName(item.Name);
        connect(action, &QAction::triggered, this, handler);
    };
    add(names_.SetRevArmPos, &DiagramWindow::SetRevArmPosClick);
    add(names_.ReDraw, &DiagramWindow::ReDrawClick);
    add(names_.UnDo, &DiagramWindow::UnDoMenuClick);
    add(names_.DynVar, &DiagramWindow::DynVarMenuClick);
    add({SaveImageName, SaveImageCaption}, &DiagramWindow::SaveImageClick);
}

QScrollBar* DiagramWindow::DynVarBar(int n) const {
    if (n < 1 || n > 4) return nullptr;
    return bars_[static_cast<size_t>(n - 1)];
}

double DiagramWindow::PictureScale() const {
    return static_cast<const ClientArea*>(client_)->Fit().Scale;
}

void DiagramWindow::LayOutControls() {
    const diagrams::PictureFit fit = static_cast<ClientArea*>(client_)->Fit();
    closeButton_->setGeometry(diagrams::MapToArea(fit, QRect(names_.ClosePos, CloseButtonSize)));
    for (int i = 0; i < 4; ++i)
        bars_[static_cast<size_t>(i)]->setGeometry(
            diagrams::MapToArea(fit, QRect(QPoint(BarLeft, BarTops[i]), BarSize)));
    undoButton_->setGeometry(diagrams::MapToArea(fit, UndoButtonRect));
}

const QImage& DiagramWindow::FittedPicture() {
    const QSize area = client_->size();
    const qreal ratio = client_->devicePixelRatioF();
    if (fittedStale_ || fitted_.deviceIndependentSize().toSize() != area ||
        fitted_.devicePixelRatio() != ratio) {
        fitted_ = diagrams::RenderFitted(area, ratio, static_cast<ClientArea*>(client_)->Fit(),
                                         [this](QPainter& p) { PaintRetained(p); });
        fittedStale_ = false;
    }
    return fitted_;
}

void DiagramWindow::PaintRetained(QPainter& painter) {
    // The drawing rebuilds the shared undo line: run it with the line the
    // picture was drawn with and keep the current one.
    const QString current = text_.UndoMessage;
    text_.UndoMessage = undoMessageBeforeDraw_;
    DrawForExport(painter);
    text_.UndoMessage = current;
}

void DiagramWindow::ClearPicture() {
    picture_.fill(Qt::white);
    fittedStale_ = true;
    client_->update();
}

void DiagramWindow::DrawPicture() {
    undoMessageBeforeDraw_ = text_.UndoMessage;
    {
        QPainter painter(&picture_);
        diagrams::BeginDiagram(painter);
        Draw(painter);
    }
    fittedStale_ = true;
    SyncControls();
    client_->update();
}

void DiagramWindow::ClearAndDraw() {
    ClearPicture();
    DrawPicture();
}

void DiagramWindow::DrawWithoutClearing() {
    DrawPicture();
}

void DiagramWindow::SyncControls() {
    for (int n = 1; n <= 4; ++n) {
        QScrollBar* bar = bars_[static_cast<size_t>(n - 1)];
        bar->setVisible(model_.DynVarMode);
        bar->setEnabled(diagrams::DynVarSlotChosen(model_, n));
    }
    undoButton_->setVisible(model_.UndoDisplay);
    undoButton_->setEnabled(model_.UndoButtonsEnabled);
}

void DiagramWindow::Activate() {
    link_.StopAnimation();
    setWindowTitle(WindowCaption(model_, names_.CaptionPrefix));
    closeButton_->setFocus();
    if (names_.ShowsSetRevArmOnActivate) link_.ShowSetRevArmDialog();
    ClearAndDraw();
}

void DiagramWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || activationQueued_) return;
    // Activation runs once the window is up, so that the reverse-arm
    // positions dialog opens over it.
    activationQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        activationQueued_ = false;
        if (isVisible()) Activate();
    });
}

void DiagramWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) link_.StartAnimation();
}

void DiagramWindow::MouseMoved() {
    if (!names_.RedrawsOnMouseMove || !model_.RedrawPending) return;
    ClearAndDraw();
    model_.RedrawPending = false;
}

void DiagramWindow::SetRevArmPosClick() {
    link_.ShowSetRevArmDialog();
}

void DiagramWindow::ReDrawClick() {
    ClearAndDraw();
}

void DiagramWindow::UnDoMenuClick() {
    if (model_.UndoDisplay) {
        model_.UndoDisplay = false;
        ClearAndDraw();
    } else {
        model_.UndoDisplay = true;
        DrawWithoutClearing();
        DrawWithoutClearing();
    }
}

void DiagramWindow::DynVarMenuClick() {
    model_.DynVarMode = !model_.DynVarMode;
    ClearAndDraw();
    link_.SetDynVarControlsVisible(model_.DynVarMode);
}

void DiagramWindow::UnDoButtonClick() {
    // An empty record disables the UnDo buttons and changes nothing.
    kes::UndoStep(model_);
    link_.RefreshUndoButton();
    for (int i = 0; i < names_.UndoButtonRedraws; ++i)
        ClearAndDraw();
}

void DiagramWindow::DynVarBarEntered(int n) {
    dynVarInput_->Begin(n);
}

void DiagramWindow::DynVarBarChanged(int n, int position) {
    dynVarInput_->Change(n, position, kes::BarMove::Step);
}

void DiagramWindow::DynVarBarScrollEnded(int n) {
    dynVarInput_->End(n);
}

bool DiagramWindow::SaveImage(const QString& fileName, QString* error) {
    auto paint = [this](QPainter& painter) { PaintRetained(painter); };
    // "name@2x.png" asks for twice the size, as high-density images are named.
    const bool doubled =
        QFileInfo(fileName).completeBaseName().endsWith(QStringLiteral("@2x"), Qt::CaseInsensitive);
    const int scale = doubled ? 2 : SaveImageScale;
    std::optional<diagrams::PictureStamp> stamp;
    if (StampImages) stamp = diagrams::PictureStamp{QString::fromStdString(model_.DataSetName)};
    return diagrams::WriteStampedPictureFile(
        fileName, names_.ClientSize, names_.CaptionPrefix.trimmed(), paint,
        [this, &paint, scale] {
            if (scale <= 1) return picture_;
            return diagrams::RenderScaled(names_.ClientSize, scale, paint);
        },
        stamp, error);
}

void DiagramWindow::SaveImageClick() {
    QString fileName;
    if (ChooseImageFile) {
        fileName = ChooseImageFile(this);
    } else {
        fileName = diagrams::ChooseImageFileWithStamp(this, SaveImageCaption, &StampImages);
    }
    if (fileName.isEmpty()) return;
    if (QFileInfo(fileName).suffix().isEmpty()) fileName += QStringLiteral(".png");
    QString error;
    if (!SaveImage(fileName, &error)) QMessageBox::warning(this, SaveImageCaption, error);
}
