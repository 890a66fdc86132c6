// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/main_controls.h"

#include "main/controls_layout.h"
#include "main/main_controls_impl.h"
#include "main/scaled_controls.h"
#include "model/design_edit.h"
#include "model/dyn_vars.h"
#include "model/model.h"
#include "motion_dialogs/driver_angle_dialog.h"
#include "motion_dialogs/graphic_zoom_dialog.h"
#include "motion_dialogs/reference_points_dialog.h"
#include "motion_dialogs/reverse_arm_positions_dialog.h"
#include "motion_dialogs/reverse_arm_setting_dialog.h"
#include "motion_dialogs/step_angle_dialog.h"
#include "ui_shell/main_form_link.h"
#include "ui_shell/self_centring_input.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolBar>

#include <algorithm>
#include <array>
#include <utility>

namespace layout = controls_layout;

namespace {

void SetShown(QWidget* w, bool shown) {
    if (w->isHidden() == shown) w->setVisible(shown);
}

void SetUsable(QWidget* w, bool usable) {
    if (w->testAttribute(Qt::WA_Disabled) == usable) w->setEnabled(usable);
}

void SetBar(QScrollBar* bar, int lo, int hi, int value) {
    const QSignalBlocker block(bar);
    if (bar->minimum() != lo || bar->maximum() != hi) bar->setRange(lo, hi);
    if (bar->value() != value) bar->setValue(value);
}

QWidget* MakeButton(QWidget* host, const PictureControl& c) {
    auto* b = new QPushButton(c.Caption, host);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(QFont(layout::FontFamily, layout::FontPoints));
    b->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
    return b;
}

QWidget* MakeBar(QWidget* host, const PictureControl& c) {
    auto* bar = new QScrollBar(Qt::Horizontal, host);
    bar->setRange(c.Low, c.High);
    bar->setValue(c.Start);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    return bar;
}

} // namespace

MainControls::Impl::Impl(MainControls* owner, kes::Model& model, MainFormLink& link, QWidget* host,
                         const MainMenus& menus)
    : q(owner), m(model), link(link), host(host), menus(menus),
      cs(kes::InitialControlState(model)) {}

MainControls::Impl::~Impl() {
    for (const QPointer<QObject>& o : owned)
        delete o.data();
}

QWidget* MainControls::Impl::Control(const QString& name) const {
    for (const PictureControl& c : controls)
        if (c.Name == name) return c.Widget;
    return nullptr;
}

QScrollBar* MainControls::Impl::Bar(const QString& name) const {
    return qobject_cast<QScrollBar*>(Control(name));
}

void MainControls::Impl::Build() {
    controls = ControlTable();
    for (PictureControl& c : controls) {
        QWidget* w = Own(c.Caption.isEmpty() ? MakeBar(host, c) : MakeButton(host, c));
        w->setObjectName(c.Name);
        w->setGeometry(c.Box);
        w->setToolTip(c.Hint);
        c.Widget = w;
    }
    commands = CommandTable();
    for (MenuCommand& c : commands) {
        auto* a = new QAction(c.Text, q);
        a->setObjectName(c.Name);
        if (c.Menu) c.Menu->addAction(a);
        if (c.Icon) {
            a->setIcon(MakeControlIcon(*c.Icon));
            a->setIconVisibleInMenu(false);
            a->setToolTip(c.Hint);
            if (menus.ToolBar) menus.ToolBar->addAction(a);
        }
        c.Action = a;
    }
}

void MainControls::Impl::Wire() {
    // Every handler runs on the model, then the controls follow it.
    for (const PictureControl& c : controls) {
        if (c.Press) {
            QObject::connect(static_cast<QPushButton*>(c.Widget), &QPushButton::clicked, q,
                             [this, press = c.Press] {
                                 press();
                                 Mirror();
                             });
        } else if (c.Move) {
            QObject::connect(static_cast<QScrollBar*>(c.Widget), &QScrollBar::valueChanged, q,
                             [this, move = c.Move](int p) {
                                 move(p);
                                 Mirror();
                             });
        } else if (c.CentringMove) {
            // The self-centring bars hear how each change came about.
            new SelfCentringInput(static_cast<QScrollBar*>(c.Widget),
                                  [this, move = c.CentringMove](int p, kes::BarMove how) {
                                      move(p, how);
                                      Mirror();
                                  });
        }
    }
    DynVarBarInput::Hooks dynHooks;
    dynHooks.Stepped = [this](int) { Mirror(); };
    dynHooks.Ended = [this](int, bool) { Mirror(); };
    dynInput =
        new DynVarBarInput(m,
                           {Bar(QStringLiteral("SBDynVar1")), Bar(QStringLiteral("SBDynVar2")),
                            Bar(QStringLiteral("SBDynVar3")), Bar(QStringLiteral("SBDynVar4"))},
                           std::move(dynHooks), q);

    for (const MenuCommand& c : commands)
        QObject::connect(c.Action, &QAction::triggered, q, [this, run = c.Run] {
            run();
            Mirror();
        });
    for (QDialog* dialog :
         std::initializer_list<QDialog*>{revPos, drivAng, stpAng, refPnts, graphZoom, setRevArm})
        QObject::connect(dialog, &QDialog::finished, q, [this] { Mirror(); });
}

void MainControls::Impl::Beep() {
    // The main window sounds it through its own player when it listens.
    static const QMetaMethod signal = QMetaMethod::fromSignal(&MainControls::Beeped);
    if (q->isSignalConnected(signal))
        emit q->Beeped();
    else if (qEnvironmentVariableIsEmpty("KESTROVE_NO_SOUND"))
        QApplication::beep();
}

void MainControls::Impl::Mirror() {
    // The bars and UnDo stand beside their texts at the text scale in use.
    const ScaledControlRects places = ControlRectsFor(m);
    for (const PictureControl& c : controls) {
        QWidget* w = c.Widget;
        if (auto* bar = qobject_cast<QScrollBar*>(w)) {
            const auto [lo, hi] = c.Range ? c.Range() : std::pair{bar->minimum(), bar->maximum()};
            SetBar(bar, lo, hi, c.Position ? c.Position() : 0);
        }
        if (c.Text) {
            auto* b = static_cast<QPushButton*>(w);
            if (const QString text = c.Text(); b->text() != text) b->setText(text);
        }
        SetShown(w, c.Shown());
        if (c.Usable) SetUsable(w, c.Usable());
        if (c.Place) {
            if (const QRect r = c.Place(places); w->geometry() != r) w->setGeometry(r);
        }
    }
    // The driver bar's steps follow the step angle.
    QScrollBar* drvAng = Bar(QStringLiteral("SBDrvAng"));
    if (drvAng->singleStep() != cs.DrvAngSmallChange) drvAng->setSingleStep(cs.DrvAngSmallChange);
    if (drvAng->pageStep() != cs.DrvAngLargeChange) drvAng->setPageStep(cs.DrvAngLargeChange);

    for (const MenuCommand& c : commands) {
        if (c.Enabled) c.Action->setEnabled(c.Enabled());
        if (c.Caption) {
            if (const QString text = c.Caption(); c.Action->text() != text) c.Action->setText(text);
        }
    }
    const bool screen = m.ScreenDataOn;
    if (menus.ToolBar && screen != lastScreenData) menus.ToolBar->setVisible(screen);
    lastScreenData = screen;
}

MainControls::MainControls(kes::Model& model, MainFormLink& link, QWidget* host,
                           const MainMenus& menus)
    : QObject(host), d(new Impl(this, model, link, host, menus)) {
    d->Build();
    d->revPos = d->Own(new ReverseArmSettingDialog(model, d->cs, host));
    d->drivAng = d->Own(new DriverAngleDialog(model, d->cs, host));
    d->stpAng = d->Own(new StepAngleDialog(model, d->cs, host));
    d->refPnts = d->Own(new ReferencePointsDialog(model, d->cs, host));
    d->graphZoom = d->Own(new GraphicZoomDialog(model, host));
    d->setRevArm = d->Own(new ReverseArmPositionsDialog(model, host));
    d->Wire();
    // The step bar's initial position counts as its first change.
    kes::StepAngChange(model, d->cs, d->cs.StepAngPos);
    d->lastScreenData = model.ScreenDataOn;
    d->Mirror();
}

MainControls::~MainControls() {
    delete d;
}

void MainControls::SyncFromModel() {
    // "Norm" pressed during a highlight: the highlight has restored its view.
    if (d->cs.NormAfterHighlight && d->m.HighlightedDimension <= 0) kes::NormClick(d->m, d->cs);
    // Another window may have narrowed RevArmMax: the arm follows the bar.
    const int lo = std::min(d->m.RevArmBarMin, d->m.RevArmBarMax);
    const int hi = std::max(d->m.RevArmBarMin, d->m.RevArmBarMax);
    if (d->cs.RevArmPos < lo || d->cs.RevArmPos > hi) kes::ApplyRevArmRange(d->m, d->cs);
    d->Mirror();
}

void MainControls::MousePressed(QMouseEvent* event) {
    if (!event) return;
    const QPoint at = event->position().toPoint();
    kes::MouseButton button = kes::MouseButton::Other;
    if (event->button() == Qt::LeftButton) button = kes::MouseButton::Left;
    if (event->button() == Qt::RightButton) button = kes::MouseButton::Right;
    const kes::PickResult r = kes::MousePick(d->m, d->cs, at.x(), at.y(), button);
    d->Mirror();
    if (r.LinesPick) {
        static const QMetaMethod signal = QMetaMethod::fromSignal(&MainControls::LinesPivotClicked);
        if (isSignalConnected(signal))
            emit LinesPivotClicked(r.LinesPickRight);
        else if (r.OpenLinesWindow)
            d->link.ShowLinesWindow();
    }
}

void MainControls::SetRevArmBarRange() {
    kes::ApplyRevArmRange(d->m, d->cs);
    d->Mirror();
}

void MainControls::SetRevArmBarPosition(int p) {
    kes::SetRevArmPosition(d->m, d->cs, p);
    d->Mirror();
}

void MainControls::SetDynVarControlsVisible(bool visible) {
    d->cs.DynVarBarsShown = visible;
    d->Mirror();
}

void MainControls::RefreshUndoButton() {
    d->Mirror();
}

void MainControls::UndoLastChange() {
    if (!d->m.UndoButtonsEnabled) return;
    kes::UndoStep(d->m);
    d->Mirror();
}

void MainControls::RedoLastChange() {
    if (kes::RedoStep(d->m)) d->Mirror();
}

void MainControls::ToggleRunIfUsable() {
    const QWidget* run = d->Control(QStringLiteral("Run"));
    if (!run->isVisible() || !run->isEnabled()) return;
    kes::StartOrStopDriver(d->m, d->cs);
    d->Mirror();
}

void MainControls::ShowSetRevArmDialog() {
    // The diagram windows wait for it: they draw the positions set here.
    if (!d->setRevArm->isVisible()) d->setRevArm->exec();
}

kes::ControlState& MainControls::State() {
    return d->cs;
}

QAction* MainControls::Action(const QString& name) const {
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

ReverseArmSettingDialog* MainControls::DialogForReverseArmSetting() const {
    return d->revPos;
}
DriverAngleDialog* MainControls::DialogForDriverAngle() const {
    return d->drivAng;
}
StepAngleDialog* MainControls::DialogForStepAngle() const {
    return d->stpAng;
}
ReferencePointsDialog* MainControls::DialogForReferencePoints() const {
    return d->refPnts;
}
GraphicZoomDialog* MainControls::DialogForGraphicZoom() const {
    return d->graphZoom;
}
ReverseArmPositionsDialog* MainControls::DialogForReverseArmPositions() const {
    return d->setRevArm;
}
