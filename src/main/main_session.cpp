// SPDX-License-Identifier: GPL-3.0-or-later
// What keeps a day's work: the keyboard shortcuts, the wheel and the middle
// button on the picture, "Scale Design...", the question about unsaved
// changes before the design is replaced, and the modified mark of the title.

#include "auxiliary/draw_lines_window.h"
#include "controls/controls.h"
#include "controls/view_fit.h"
#include "controls/view_mouse.h"
#include "file_commands/file_commands.h"
#include "main/main_controls.h"
#include "main/main_form.h"
#include "main/mechanism_view.h"
#include "main/ui_settings.h"
#include "model/design_changes.h"
#include "model/model.h"
#include "model/rounding.h"
#include "model/scale_design.h"
#include "motion_dialogs/scale_design_dialog.h"
#include "overlay/compared_design.h"
#include "ui_shell/captions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace {
const QString UndoStepText = QStringLiteral("UnDo Last Dimension Change");
const QString RedoStepText = QStringLiteral("ReDo Last Dimension Change");
const QString ScaleText = QStringLiteral("Scale Design...");
const QString ModifiedPlaceholder = QStringLiteral("[*]");
const QString FitText = QStringLiteral("Fit to &Window");
const QString InterfaceScaleText = QStringLiteral("Interface &Scale\u2026");
const QString FitHint = QStringLiteral("Frame the whole gear in the window");
} // namespace

void TMainForm::AddSessionCommands() {
    // The factory design has nothing to save yet.
    kes::MarkDesignSaved(model_);

    exit1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    if (auto* help = findChild<QAction*>(QStringLiteral("Instructions1")))
        help->setShortcut(QKeySequence(Qt::Key_F1));

    QMenu* dims = menus_->Dimensions;
    auto* undo = new QAction(UndoStepText, this);
    undo->setObjectName(QStringLiteral("UnDoStep"));
    undo->setShortcut(QKeySequence::Undo);
    connect(undo, &QAction::triggered, this, [this] {
        controls_->UndoLastChange();
        UpdateModifiedMark();
    });
    auto* redo = new QAction(RedoStepText, this);
    redo->setObjectName(QStringLiteral("ReDoStep"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(redo, &QAction::triggered, this, [this] {
        controls_->RedoLastChange();
        UpdateModifiedMark();
    });
    auto* scale = new QAction(ScaleText, this);
    scale->setObjectName(QStringLiteral("ScaleDesign1"));
    connect(scale, &QAction::triggered, this, &TMainForm::ScaleDesignClick);
    dims->addSeparator();
    dims->addAction(undo);
    dims->addAction(redo);
    dims->addAction(scale);

    auto* fit = new QAction(FitText, this);
    fit->setObjectName(QStringLiteral("FitToWindow"));
    fit->setShortcut(QKeySequence(Qt::Key_F));
    fit->setToolTip(FitHint);
    fit->setStatusTip(FitHint);
    connect(fit, &QAction::triggered, this, &TMainForm::FitToWindowClick);
    menus_->View->addSeparator();
    menus_->View->addAction(fit);

    auto* interfaceScale = new QAction(InterfaceScaleText, this);
    interfaceScale->setObjectName(QStringLiteral("InterfaceScale1"));
    connect(interfaceScale, &QAction::triggered, this, [this] {
        UiSettings settings;
        AskInterfaceScale(this, settings);
    });
    menus_->SetUp->addSeparator();
    menus_->SetUp->addAction(interfaceScale);

    picture_->OnWheel = [this](double notches, QPointF at) {
        kes::WheelZoom(model_, controls_->State(), notches, at.x(), at.y());
        controls_->SyncFromModel();
    };
    picture_->OnPan = [this](QPointF delta) {
        kes::PanByPixels(model_, controls_->State(), delta.x(), delta.y());
        controls_->SyncFromModel();
    };
    picture_->OnSpace = [this] { controls_->ToggleRunIfUsable(); };
}

void TMainForm::FitToWindowClick() {
    if (kes::FitToWindowClick(model_, controls_->State(), picture_->width(), picture_->height()))
        controls_->SyncFromModel();
}

void TMainForm::FitGearIfCutOff() {
    if (kes::ViewCutsOffGear(model_, picture_->width(), picture_->height())) FitToWindowClick();
}

bool TMainForm::ConfirmUnsavedChanges() {
    return fileCommands_ == nullptr || fileCommands_->ConfirmUnsavedChanges();
}

void TMainForm::DesignReset() {
    if (fileCommands_) fileCommands_->DesignReset();
}

void TMainForm::ScaleDesignClick() {
    const std::optional<double> factor =
        scaleChooser_ ? scaleChooser_() : ScaleDesignDialog::Ask(this);
    const kes::Model before = model_;
    if (!factor || !kes::ScaleModel(model_, *factor)) return;
    overlay::ComparedDesignOf(*this).KeepBefore(before, QStringLiteral("Scale Design"));
    // As after opening a file: the reverse-arm bar takes the new range and
    // stands at the (new) mid gear.
    const float a = model_.Solver.SignFactorA, b = model_.Solver.SignFactorB;
    const bool sameSense = (a > 0 && b > 0) || (a < 0 && b < 0);
    const double offset = static_cast<double>(model_.RevArmSetting) - model_.MidGear();
    controls_->SetRevArmBarRange();
    controls_->SetRevArmBarPosition(kes::RoundHalfEven((sameSense ? offset : -offset) * 1000.0));
    controls_->SetDynVarControlsVisible(model_.DynVarMode);
    if (auto* lines = qobject_cast<TDrawLines*>(Window(OtherWindow::DrawLines)))
        lines->RefreshFromModel();
    UpdateModifiedMark();
}

void TMainForm::UpdateModifiedMark() {
    const bool modified = kes::IsDesignModified(model_);
    QString title = windowTitle();
    if (!title.contains(ModifiedPlaceholder)) {
        // The mark ("*" where the platform shows one) follows the data set name.
        const QString head = captions::Main + QString::fromStdString(model_.DataSetName);
        if (title.startsWith(head))
            title.insert(head.size(), ModifiedPlaceholder);
        else
            title.append(ModifiedPlaceholder);
        setWindowTitle(title);
    }
    if (isWindowModified() != modified) setWindowModified(modified);
}
