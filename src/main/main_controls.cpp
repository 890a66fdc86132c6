// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/main_controls.h"

#include "controls/controls.h"
#include "main/controls_icons.h"
#include "main/controls_layout.h"
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
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolBar>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace layout = controls_layout;

namespace {

// Hints of the controls, shown as tool tips.
namespace hints {
const QString RevArm = QStringLiteral("Set Reverse Arm Between Max & Min");
const QString DrvAng = QStringLiteral("Set Driver Angle From 0 to 360 Deg");
const QString StepAng = QStringLiteral("Set Driver Step Angle to Predefined Values");
const QString Run = QStringLiteral("Start / Stop Driver Rotation");
const QString Center = QStringLiteral("Set Reverse Arm to Mid Gear");
const QString Fwd = QStringLiteral("Set Reverse Arm to Normal Forward");
const QString Rev = QStringLiteral("Set Reverse Arm to Normal Reverse");
const QString Deg00 = QStringLiteral("Set Driver to 0 Deg");
const QString Deg180 = QStringLiteral("Set Driver Angle to 180 Deg");
const QString Step1 = QStringLiteral("Set Driver Step Angle to 1 Deg");
const QString Step10 = QStringLiteral("Set Driver Step Angle to 10 Deg");
const QString Step45 = QStringLiteral("Set Driver Step Angle to 45 Deg");
const QString PanVert = QStringLiteral("Pan Vertical");
const QString PanHorz = QStringLiteral("Pan Horizontal");
const QString Zoom = QStringLiteral("Zoom In / Out");
const QString Norm = QStringLiteral("Return Pan & Zoom to Normal");
const QString Preset0 = QStringLiteral("Select First to Change Presets");
const QString Preset = QStringLiteral("Pan & Zoom to Preset %1");
const QString Ref1Vert = QStringLiteral("Change Ref Point 1 Vert");
const QString Ref1Horz = QStringLiteral("Change Ref Point 1 Horz");
const QString Ref2Vert = QStringLiteral("Change Ref Point 2 Vert");
const QString Ref2Horz = QStringLiteral("Change Ref Point 2 Horz");
const QString RefPt = QStringLiteral("Pan to Ref Point %1");
const QString RefPtZero = QStringLiteral("Zero Reference Point %1");
const QString DataTable = QStringLiteral("Show Pivot Data Table");
const QString UnDo = QStringLiteral("UnDo Last Dimension Change");
const std::array<QString, 4> DynVar = {
    QStringLiteral("Change Last Variable Clicked"),
    QStringLiteral("Change Next to Last Variable Clicked"),
    QStringLiteral("Change 2nd to Last Variable Clicked"),
    QStringLiteral("Change 3rd to Last Variable Clicked"),
};
// Tool buttons.
const QString RevArmPos = QStringLiteral("Set Reverse Arm to Desired Position");
const QString DriverAng = QStringLiteral("Set Driver Angle to Desired Position");
const QString StepAngDlg = QStringLiteral("Set Step Angle to Desired Amount");
const QString MidGear = QStringLiteral("Calculate Mid Gear Position if Necessary");
const QString RefPoints = QStringLiteral("Turn On Reference Points");
const QString PivotData = QStringLiteral("Turn On Pivot Data");
const QString DynamicVari = QStringLiteral("Turn On Dynamic Variables");
const QString UnDoDisplay = QStringLiteral("Turn On UnDo");
const QString DrawLines = QStringLiteral("Draw Lines and Circles");
} // namespace hints

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

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

void SetCaption(QPushButton* b, const QString& text) {
    if (b->text() != text) b->setText(text);
}

void SetActionText(QAction* a, const QString& text) {
    if (a->text() != text) a->setText(text);
}

} // namespace

struct MainControls::Impl {
    Impl(MainControls* owner, kes::Model& model, MainFormLink& link, QWidget* host,
         const MainMenus& menus)
        : q(owner), m(model), link(link), host(host), menus(menus),
          cs(kes::InitialControlState(model)) {}
    ~Impl() {
        for (const QPointer<QObject>& o : owned)
            delete o.data();
    }

    MainControls* q;
    kes::Model& m;
    MainFormLink& link;
    QWidget* host;
    MainMenus menus;
    kes::ControlState cs;

    QScrollBar *revArm = nullptr, *drvAng = nullptr, *stepAng = nullptr;
    QScrollBar *panVert = nullptr, *panHorz = nullptr, *zoom = nullptr;
    std::array<QScrollBar*, 4> refBars{};
    std::array<QScrollBar*, 5> dynBars{}; // 1..4
    QPushButton *center = nullptr, *fwd = nullptr, *rev = nullptr;
    QPushButton *deg00 = nullptr, *deg180 = nullptr, *run = nullptr;
    QPushButton *step1 = nullptr, *step10 = nullptr, *step45 = nullptr;
    QPushButton* norm = nullptr;
    std::array<QPushButton*, 7> presets{};
    QPushButton *refPt1 = nullptr, *refPt2 = nullptr;
    QPushButton *refPt1Zero = nullptr, *refPt2Zero = nullptr;
    QPushButton *dataTable = nullptr, *undo = nullptr;

    QAction *revPosAct = nullptr, *drvAngAct = nullptr, *stepAngAct = nullptr;
    QAction *calcCentAct = nullptr, *resetAllAct = nullptr;
    QAction *refPointsAct = nullptr, *pivotDataAct = nullptr, *dynVarAct = nullptr;
    QAction *undoAct = nullptr, *drawLinesAct = nullptr, *panZoomAct = nullptr;
    QAction *refPntsAct = nullptr, *graphZoomAct = nullptr;
    QAction *steamAct = nullptr, *beepAct = nullptr, *lineWidthAct = nullptr;
    QAction *fontAct = nullptr, *screenDataAct = nullptr;

    ReverseArmSettingDialog* revPos = nullptr;
    DriverAngleDialog* drivAng = nullptr;
    StepAngleDialog* stpAng = nullptr;
    ReferencePointsDialog* refPnts = nullptr;
    GraphicZoomDialog* graphZoom = nullptr;
    ReverseArmPositionsDialog* setRevArm = nullptr;

    // The dynamic-variable bars' scrolls, steps and undo entries.
    DynVarBarInput* dynInput = nullptr;
    bool toolBarFollowsScreenData = false;
    bool lastScreenData = true;

    std::vector<QPointer<QObject>> owned;

    template <class W> W* Own(W* w) {
        owned.emplace_back(w);
        return w;
    }

    QPushButton* MakeButton(const char* name, const QString& caption, const QRect& box,
                            const QString& hint);
    QScrollBar* MakeBar(const char* name, const QRect& box, int lo, int hi, int value,
                        const QString& hint);
    // A menu command; a tool command also gets a tool button with its hint.
    QAction* MakeAction(const char* name, const QString& text, QMenu* menu);
    QAction* MakeToolAction(const char* name, const QString& text, const QString& hint, QMenu* menu,
                            ControlIcon icon);

    void BuildControls();
    void BuildActions();
    void Connect();
    void Mirror();
    void Beep();
    void ShowDialog(QDialog* dialog);
};

QPushButton* MainControls::Impl::MakeButton(const char* name, const QString& caption,
                                            const QRect& box, const QString& hint) {
    auto* b = Own(new QPushButton(caption, host));
    b->setObjectName(QLatin1String(name));
    b->setGeometry(box);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(QFont(layout::FontFamily, layout::FontPoints));
    b->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
    return b;
}

QScrollBar* MainControls::Impl::MakeBar(const char* name, const QRect& box, int lo, int hi,
                                        int value, const QString& hint) {
    auto* bar = Own(new QScrollBar(Qt::Horizontal, host));
    bar->setObjectName(QLatin1String(name));
    bar->setGeometry(box);
    bar->setRange(lo, hi);
    bar->setValue(value);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setToolTip(hint);
    return bar;
}

QAction* MainControls::Impl::MakeAction(const char* name, const QString& text, QMenu* menu) {
    auto* a = new QAction(text, q);
    a->setObjectName(QLatin1String(name));
    if (menu) menu->addAction(a);
    return a;
}

QAction* MainControls::Impl::MakeToolAction(const char* name, const QString& text,
                                            const QString& hint, QMenu* menu, ControlIcon icon) {
    QAction* a = MakeAction(name, text, menu);
    a->setIcon(MakeControlIcon(icon));
    a->setIconVisibleInMenu(false);
    a->setToolTip(hint);
    if (menus.ToolBar) menus.ToolBar->addAction(a);
    return a;
}

void MainControls::Impl::BuildControls() {
    namespace L = layout;
    namespace B = kes::bars;
    revArm = MakeBar("SBRevArm", L::SBRevArm, m.RevArmBarMin, m.RevArmBarMax, cs.RevArmPos,
                     hints::RevArm);
    center = MakeButton("Center", QStringLiteral("Cen"), L::Center, hints::Center);
    fwd = MakeButton("Fwd", QStringLiteral("Fwd"), L::Fwd, hints::Fwd);
    rev = MakeButton("Rev", QStringLiteral("Rev"), L::Rev, hints::Rev);
    drvAng =
        MakeBar("SBDrvAng", L::SBDrvAng, B::DrvAngMin, B::DrvAngMax, cs.DrvAngPos, hints::DrvAng);
    deg00 = MakeButton("Deg00", QStringLiteral("0.0"), L::Deg00, hints::Deg00);
    deg180 = MakeButton("Deg180", QStringLiteral("180"), L::Deg180, hints::Deg180);
    run = MakeButton("Run", QStringLiteral("Stop"), L::Run, hints::Run);
    stepAng = MakeBar("SBStepAng", L::SBStepAng, B::StepAngMin, B::StepAngMax, cs.StepAngPos,
                      hints::StepAng);
    step1 = MakeButton("Step1", QStringLiteral("1.0"), L::Step1, hints::Step1);
    step10 = MakeButton("Step10", QStringLiteral("10.0"), L::Step10, hints::Step10);
    step45 = MakeButton("Step45", QStringLiteral("45.0"), L::Step45, hints::Step45);

    norm = MakeButton("NormVHZ", QStringLiteral("Norm"), L::NormVHZ, hints::Norm);
    presets[0] = MakeButton("Preset0", QStringLiteral("P"), L::Preset0, hints::Preset0);
    for (int n = 1; n <= 6; ++n) {
        const QRect box(L::PresetLeft + L::PresetPitch * (n - 1), L::Row4Top, L::PresetWidth,
                        L::RowHeight);
        presets[size_t(n)] = MakeButton(QStringLiteral("Preset%1").arg(n).toLatin1().constData(),
                                        QString::number(n), box, hints::Preset.arg(n));
    }
    refPt1 = MakeButton("RefPt1", QStringLiteral("RP1"), L::RefPt1, hints::RefPt.arg(1));
    refPt2 = MakeButton("RefPt2", QStringLiteral("RP2"), L::RefPt2, hints::RefPt.arg(2));

    panVert = MakeBar("SBPanVert", L::SBPanVert, B::PanMin, B::PanMax, 0, hints::PanVert);
    panHorz = MakeBar("SBPanHorz", L::SBPanHorz, B::PanMin, B::PanMax, 0, hints::PanHorz);
    zoom = MakeBar("SBZoom", L::SBZoom, B::ZoomMin, B::ZoomMax, 0, hints::Zoom);

    refBars[0] =
        MakeBar("SBRef1Vert", L::SBRef1Vert, B::RefVertMin, B::RefVertMax, 0, hints::Ref1Vert);
    refBars[1] =
        MakeBar("SBRef1Horz", L::SBRef1Horz, B::RefHorzMin, B::RefHorzMax, 0, hints::Ref1Horz);
    refBars[2] =
        MakeBar("SBRef2Vert", L::SBRef2Vert, B::RefVertMin, B::RefVertMax, 0, hints::Ref2Vert);
    refBars[3] =
        MakeBar("SBRef2Horz", L::SBRef2Horz, B::RefHorzMin, B::RefHorzMax, 0, hints::Ref2Horz);
    refPt1Zero =
        MakeButton("RefPt1Zero", QStringLiteral("0"), L::RefPt1Zero, hints::RefPtZero.arg(1));
    refPt2Zero =
        MakeButton("RefPt2Zero", QStringLiteral("0"), L::RefPt2Zero, hints::RefPtZero.arg(2));

    dataTable =
        MakeButton("DataTable", QStringLiteral("DataTable"), L::DataTable, hints::DataTable);
    for (int n = 1; n <= 4; ++n) {
        const QRect box(L::DynVarLeft, L::DynVarTop + L::DynVarPitch * (n - 1), L::DynVarWidth,
                        L::DynVarHeight);
        dynBars[size_t(n)] =
            MakeBar(QStringLiteral("SBDynVar%1").arg(n).toLatin1().constData(), box, B::DynVarMin,
                    B::DynVarMax, 0, hints::DynVar[size_t(n - 1)]);
    }
    undo = MakeButton("UnDoDn", QStringLiteral("UnDo"),
                      QRect(L::UnDoLeft, kes::UndoButtonTop(m), L::UnDoWidth, L::UnDoHeight),
                      hints::UnDo);
}

void MainControls::Impl::BuildActions() {
    using I = ControlIcon;
    revPosAct = MakeToolAction("SetRevArmPos", QStringLiteral("Set&RevArmPos"), hints::RevArmPos,
                               menus.Motion, I::RevArmPos);
    drvAngAct = MakeToolAction("SetDriverAng", QStringLiteral("Set&DriverAng"), hints::DriverAng,
                               menus.Motion, I::DriverAng);
    stepAngAct = MakeToolAction("SetStepAng", QStringLiteral("Set&StepAng"), hints::StepAngDlg,
                                menus.Motion, I::StepAng);
    calcCentAct = MakeToolAction("CalcCentRevArm", QStringLiteral("&CalcCentRevArm"),
                                 hints::MidGear, menus.Dimensions, I::MidGear);
    resetAllAct =
        MakeAction("ResetAllDimensions", QStringLiteral("&ResetAllDimensions"), menus.Dimensions);
    refPointsAct = MakeToolAction("ReferPoints", QStringLiteral("&ReferPoints"), hints::RefPoints,
                                  menus.View, I::RefPoints);
    pivotDataAct = MakeToolAction("PivotData", QStringLiteral("Pi&votData"), hints::PivotData,
                                  menus.View, I::PivotData);
    dynVarAct = MakeToolAction("DynamicVari", QStringLiteral("D&ynamicVari"), hints::DynamicVari,
                               menus.View, I::DynamicVari);
    undoAct = MakeToolAction("UnDoDisplay", QStringLiteral("&UnDo"), hints::UnDoDisplay, menus.View,
                             I::UnDo);
    drawLinesAct = MakeToolAction("DrawLinesCircles", QStringLiteral("&DrawLinesCircles"),
                                  hints::DrawLines, menus.View, I::DrawLines);
    panZoomAct = MakeAction("SetPanZoom", Q(cs.PanZoomCaption), menus.View);
    refPntsAct = MakeAction("SetRefPoints", QStringLiteral("SetRefPoints"), menus.View);
    graphZoomAct = MakeAction("SetGraphicZoom", QStringLiteral("SetGraphicZoom"), menus.View);
    steamAct = MakeAction("SetSteamDisp", Q(kes::SteamDispCaption(m)), menus.SetUp);
    beepAct = MakeAction("SetErrorBeep", Q(kes::ErrorBeepCaption(m)), menus.SetUp);
    lineWidthAct = MakeAction("SetLineWidth", Q(kes::LineWidthCaption(m)), menus.SetUp);
    fontAct = MakeAction("SetFont", Q(kes::FontCaption(m)), menus.SetUp);
    screenDataAct = MakeAction("SetScreenData", Q(kes::ScreenDataCaption(m)), menus.SetUp);
}

void MainControls::Impl::Connect() {
    // Every handler runs on the model, then the controls follow it.
    auto on = [this](QPushButton* b, auto handler) {
        QObject::connect(b, &QPushButton::clicked, q, [this, handler] {
            handler();
            Mirror();
        });
    };
    auto onBar = [this](QScrollBar* bar, auto handler) {
        QObject::connect(bar, &QScrollBar::valueChanged, q, [this, handler](int p) {
            handler(p);
            Mirror();
        });
    };
    auto onAction = [this](QAction* a, auto handler) {
        QObject::connect(a, &QAction::triggered, q, [this, handler] {
            handler();
            Mirror();
        });
    };

    onBar(revArm, [this](int p) { kes::RevArmChange(m, cs, p); });
    on(center, [this] { kes::SetReverseArmToMidGear(m, cs); });
    on(fwd, [this] { kes::SetReverseArmToForward(m, cs); });
    on(rev, [this] { kes::SetReverseArmToReverse(m, cs); });
    onBar(drvAng, [this](int p) { kes::DrvAngChange(m, cs, p); });
    on(deg00, [this] { kes::SetDriverAngleToZero(m, cs); });
    on(deg180, [this] { kes::SetDriverAngleTo180(m, cs); });
    on(run, [this] { kes::StartOrStopDriver(m, cs); });
    onBar(stepAng, [this](int p) { kes::StepAngChange(m, cs, p); });
    on(step1, [this] { kes::SetStepAngleTo1(m, cs); });
    on(step10, [this] { kes::SetStepAngleTo10(m, cs); });
    on(step45, [this] { kes::SetStepAngleTo45(m, cs); });

    // The self-centring bars hear how each change came about.
    auto onCentring = [this](QScrollBar* bar, auto handler) {
        new SelfCentringInput(bar, [this, handler](int p, kes::BarMove move) {
            handler(p, move);
            Mirror();
        });
    };
    onCentring(panVert, [this](int p, kes::BarMove move) { kes::PanVertChange(m, cs, p, move); });
    onCentring(panHorz, [this](int p, kes::BarMove move) { kes::PanHorzChange(m, cs, p, move); });
    onCentring(zoom, [this](int p, kes::BarMove move) { kes::ZoomChange(m, cs, p, move); });
    on(norm, [this] {
        kes::NormClick(m, cs);
        if (cs.NormAfterHighlight) emit q->HighlightEndRequested();
    });
    on(presets[0], [this] { kes::Preset0Click(m, cs); });
    for (int n = 1; n <= 6; ++n)
        on(presets[size_t(n)], [this, n] { kes::PresetClick(m, cs, n); });

    for (int i = 0; i < 4; ++i)
        onCentring(refBars[size_t(i)],
                   [this, i](int p, kes::BarMove move) { kes::RefBarChange(m, cs, i, p, move); });
    on(refPt1, [this] { kes::RefPtClick(m, cs, 1); });
    on(refPt2, [this] { kes::RefPtClick(m, cs, 2); });
    on(refPt1Zero, [this] { kes::RefPtZeroClick(m, cs, 1); });
    on(refPt2Zero, [this] { kes::RefPtZeroClick(m, cs, 2); });

    DynVarBarInput::Hooks dynHooks;
    dynHooks.Stepped = [this](int) { Mirror(); };
    dynHooks.Ended = [this](int, bool) { Mirror(); };
    dynInput = new DynVarBarInput(m, {dynBars[1], dynBars[2], dynBars[3], dynBars[4]},
                                  std::move(dynHooks), q);
    on(undo, [this] { kes::UndoStep(m); });
    QObject::connect(dataTable, &QPushButton::clicked, q, &MainControls::DataTableRequested);

    onAction(revPosAct, [this] { ShowDialog(revPos); });
    onAction(drvAngAct, [this] { ShowDialog(drivAng); });
    onAction(stepAngAct, [this] { ShowDialog(stpAng); });
    onAction(calcCentAct, [this] {
        if (!kes::CalcCentRevArm(m, cs)) Beep();
    });
    onAction(resetAllAct, [this] {
        if (!link.ConfirmUnsavedChanges()) return;
        kes::ResetAllClick(m, cs);
        link.DesignReset();
    });
    onAction(refPointsAct, [this] { kes::RefPointsClick(m, cs); });
    onAction(pivotDataAct, [this] { kes::PivotDataClick(m, cs); });
    onAction(dynVarAct, [this] { kes::DynamicVariClick(m, cs); });
    onAction(undoAct, [this] { kes::UndoDisplayClick(m); });
    onAction(drawLinesAct, [this] {
        if (kes::DrawLinesBeeps(m)) Beep();
        link.ShowLinesWindow();
    });
    onAction(panZoomAct, [this] { kes::TogglePanZoom(cs); });
    onAction(refPntsAct, [this] { ShowDialog(refPnts); });
    onAction(graphZoomAct, [this] { ShowDialog(graphZoom); });
    onAction(steamAct, [this] { kes::ToggleSteamDisplay(m); });
    onAction(beepAct, [this] { kes::ToggleErrorBeep(m); });
    onAction(lineWidthAct, [this] { kes::ToggleLineWidth(m); });
    onAction(fontAct, [this] { kes::ToggleLargeFont(m); });
    onAction(screenDataAct, [this] { kes::ToggleScreenData(m, cs); });

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

void MainControls::Impl::ShowDialog(QDialog* dialog) {
    dialog->show();
}

void MainControls::Impl::Mirror() {
    namespace B = kes::bars;
    const bool screen = m.ScreenDataOn;

    SetBar(revArm, std::min(m.RevArmBarMin, m.RevArmBarMax),
           std::max(m.RevArmBarMin, m.RevArmBarMax), cs.RevArmPos);
    SetBar(drvAng, B::DrvAngMin, B::DrvAngMax, cs.DrvAngPos);
    if (drvAng->singleStep() != cs.DrvAngSmallChange) drvAng->setSingleStep(cs.DrvAngSmallChange);
    if (drvAng->pageStep() != cs.DrvAngLargeChange) drvAng->setPageStep(cs.DrvAngLargeChange);
    SetBar(stepAng, B::StepAngMin, B::StepAngMax, cs.StepAngPos);
    // The self-centring bars are back at 0 after every change.
    for (QScrollBar* bar : {panVert, panHorz, zoom})
        SetBar(bar, bar->minimum(), bar->maximum(), 0);
    for (QScrollBar* bar : refBars)
        SetBar(bar, bar->minimum(), bar->maximum(), 0);
    for (int n = 1; n <= 4; ++n) {
        QScrollBar* bar = dynBars[size_t(n)];
        SetBar(bar, bar->minimum(), bar->maximum(), 0);
    }

    // Motion.
    for (QWidget* w : std::initializer_list<QWidget*>{revArm, center, fwd, rev, drvAng, deg00,
                                                      deg180, run, stepAng, step1, step10, step45})
        SetShown(w, screen);
    SetUsable(center, cs.CenterEnabled);
    SetUsable(fwd, cs.FwdEnabled);
    SetUsable(rev, cs.RevEnabled);
    SetUsable(drvAng, cs.DrvAngEnabled);
    SetUsable(deg00, cs.Deg00Enabled);
    SetUsable(deg180, cs.Deg180Enabled);
    SetCaption(run, cs.Running ? QStringLiteral("Stop") : QStringLiteral("Run"));
    SetUsable(step1, cs.Step1Enabled);
    SetUsable(step10, cs.Step10Enabled);
    SetUsable(step45, cs.Step45Enabled);

    // View.
    const bool panZoom = kes::PanZoomBarsVisible(m, cs);
    for (QWidget* w : std::initializer_list<QWidget*>{panVert, panHorz, zoom})
        SetShown(w, panZoom);
    SetShown(norm, screen);
    SetUsable(norm, cs.NormEnabled);
    for (QPushButton* b : presets)
        SetShown(b, screen);
    SetUsable(presets[0], !cs.PresetArmed);

    // Reference points and pivot data.
    const bool refs = kes::RefControlsVisible(m);
    const bool refBarsShown = kes::RefBarsVisible(m);
    for (QWidget* w : refBars)
        SetShown(w, refBarsShown);
    for (QWidget* w : std::initializer_list<QWidget*>{refPt1, refPt2})
        SetShown(w, refs);
    for (QWidget* w : std::initializer_list<QWidget*>{refPt1Zero, refPt2Zero})
        SetShown(w, refBarsShown);
    SetUsable(refPt1Zero, cs.RefPt1ZeroEnabled);
    SetUsable(refPt2Zero, cs.RefPt2ZeroEnabled);
    SetShown(dataTable, kes::DataTableVisible(m));

    // Dynamic variables and undo.
    const bool dyn = kes::DynVarBarsVisible(m, cs);
    for (int n = 1; n <= 4; ++n) {
        SetShown(dynBars[size_t(n)], dyn);
        SetUsable(dynBars[size_t(n)], kes::DynVarBarEnabled(m, n));
    }
    SetShown(undo, kes::UndoButtonVisible(m));
    SetUsable(undo, m.UndoButtonsEnabled);
    // The bars and UnDo stand beside their texts at the text scale in use.
    const ScaledControlRects places = ControlRectsFor(m);
    const auto place = [](QWidget* w, const QRect& r) {
        if (w->geometry() != r) w->setGeometry(r);
    };
    place(panVert, places.PanVert);
    place(panHorz, places.PanHorz);
    place(zoom, places.Zoom);
    for (int n = 1; n <= 4; ++n)
        place(dynBars[size_t(n)], places.DynVar[size_t(n - 1)]);
    place(undo, places.UnDo);

    // Menus and tool bar.
    for (QAction* a :
         {drvAngAct, refPointsAct, refPntsAct, calcCentAct, dynVarAct, undoAct, pivotDataAct})
        a->setEnabled(screen);
    drawLinesAct->setEnabled(kes::DrawLinesEnabled(m));
    panZoomAct->setEnabled(cs.PanZoomMenuEnabled);
    SetActionText(panZoomAct, Q(cs.PanZoomCaption));
    SetActionText(steamAct, Q(kes::SteamDispCaption(m)));
    SetActionText(beepAct, Q(kes::ErrorBeepCaption(m)));
    SetActionText(lineWidthAct, Q(kes::LineWidthCaption(m)));
    SetActionText(fontAct, Q(kes::FontCaption(m)));
    SetActionText(screenDataAct, Q(kes::ScreenDataCaption(m)));
    if (menus.ToolBar && screen != lastScreenData) menus.ToolBar->setVisible(screen);
    lastScreenData = screen;
}

MainControls::MainControls(kes::Model& model, MainFormLink& link, QWidget* host,
                           const MainMenus& menus)
    : QObject(host), d(new Impl(this, model, link, host, menus)) {
    d->BuildControls();
    d->BuildActions();
    d->revPos = d->Own(new ReverseArmSettingDialog(model, d->cs, host));
    d->drivAng = d->Own(new DriverAngleDialog(model, d->cs, host));
    d->stpAng = d->Own(new StepAngleDialog(model, d->cs, host));
    d->refPnts = d->Own(new ReferencePointsDialog(model, d->cs, host));
    d->graphZoom = d->Own(new GraphicZoomDialog(model, host));
    d->setRevArm = d->Own(new ReverseArmPositionsDialog(model, host));
    d->Connect();
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
    if (!d->run->isVisible() || !d->run->isEnabled()) return;
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
