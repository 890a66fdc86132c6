// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls and menu commands, one entry each, in the order
// they are made (which is the order of the menus and the tool bar).

#include "main/control_hints.h"
#include "main/controls_layout.h"
#include "main/main_controls_impl.h"
#include "main/scaled_controls.h"
#include "model/dyn_vars.h"
#include "model/model.h"
#include "ui_shell/main_form_link.h"

#include "motion_dialogs/driver_angle_dialog.h"
#include "motion_dialogs/graphic_zoom_dialog.h"
#include "motion_dialogs/reference_points_dialog.h"
#include "motion_dialogs/reverse_arm_setting_dialog.h"
#include "motion_dialogs/step_angle_dialog.h"

#include <algorithm>

namespace hints = control_hints;
namespace L = controls_layout;
namespace B = kes::bars;

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QRect PresetBox(int n) {
    return {L::PresetLeft + L::PresetPitch * (n - 1), L::Row4Top, L::PresetWidth, L::RowHeight};
}

QRect DynVarBox(int n) {
    return {L::DynVarLeft, L::DynVarTop + L::DynVarPitch * (n - 1), L::DynVarWidth,
            L::DynVarHeight};
}

} // namespace

std::vector<PictureControl> MainControls::Impl::ControlTable() {
    const auto screen = [this] { return m.ScreenDataOn; };
    const auto panZoom = [this] { return kes::PanZoomBarsVisible(m, cs); };
    const auto refBars = [this] { return kes::RefBarsVisible(m); };
    const auto flag = [this](bool kes::ControlState::*f) { return [this, f] { return cs.*f; }; };
    // A button, and a bar with a plain, a self-centring or no handler of its own.
    const auto button = [](const QString& name, const QString& caption, const QRect& box,
                           const QString& hint, std::function<void()> press,
                           std::function<bool()> shown, std::function<bool()> usable = {}) {
        PictureControl c;
        c.Name = name;
        c.Caption = caption;
        c.Box = box;
        c.Hint = hint;
        c.Press = std::move(press);
        c.Shown = std::move(shown);
        c.Usable = std::move(usable);
        return c;
    };
    const auto bar = [](const QString& name, const QRect& box, int lo, int hi, int start,
                        const QString& hint, std::function<bool()> shown) {
        PictureControl c;
        c.Name = name;
        c.Box = box;
        c.Hint = hint;
        c.Low = lo;
        c.High = hi;
        c.Start = start;
        c.Shown = std::move(shown);
        return c;
    };
    const auto centring = [&](const QString& name, const QRect& box, int lo, int hi,
                              const QString& hint, std::function<bool()> shown,
                              std::function<void(int, kes::BarMove)> move) {
        PictureControl c = bar(name, box, lo, hi, 0, hint, std::move(shown));
        c.CentringMove = std::move(move);
        return c;
    };

    std::vector<PictureControl> t;
    // Motion: the reverse arm, the driver angle with run and stop, the step angle.
    t.push_back(bar(QStringLiteral("SBRevArm"), L::SBRevArm, m.RevArmBarMin, m.RevArmBarMax,
                    cs.RevArmPos, hints::RevArm, screen));
    t.back().Move = [this](int p) { kes::RevArmChange(m, cs, p); };
    t.back().Position = [this] { return cs.RevArmPos; };
    t.back().Range = [this] {
        return std::pair{std::min(m.RevArmBarMin, m.RevArmBarMax),
                         std::max(m.RevArmBarMin, m.RevArmBarMax)};
    };
    t.push_back(button(
        QStringLiteral("Center"), QStringLiteral("Cen"), L::Center, hints::Center,
        [this] { kes::SetReverseArmToMidGear(m, cs); }, screen,
        flag(&kes::ControlState::CenterEnabled)));
    t.push_back(button(
        QStringLiteral("Fwd"), QStringLiteral("Fwd"), L::Fwd, hints::Fwd,
        [this] { kes::SetReverseArmToForward(m, cs); }, screen,
        flag(&kes::ControlState::FwdEnabled)));
    t.push_back(button(
        QStringLiteral("Rev"), QStringLiteral("Rev"), L::Rev, hints::Rev,
        [this] { kes::SetReverseArmToReverse(m, cs); }, screen,
        flag(&kes::ControlState::RevEnabled)));
    t.push_back(bar(QStringLiteral("SBDrvAng"), L::SBDrvAng, B::DrvAngMin, B::DrvAngMax,
                    cs.DrvAngPos, hints::DrvAng, screen));
    t.back().Move = [this](int p) { kes::DrvAngChange(m, cs, p); };
    t.back().Position = [this] { return cs.DrvAngPos; };
    t.back().Usable = flag(&kes::ControlState::DrvAngEnabled);
    t.push_back(button(
        QStringLiteral("Deg00"), QStringLiteral("0.0"), L::Deg00, hints::Deg00,
        [this] { kes::SetDriverAngleToZero(m, cs); }, screen,
        flag(&kes::ControlState::Deg00Enabled)));
    t.push_back(button(
        QStringLiteral("Deg180"), QStringLiteral("180"), L::Deg180, hints::Deg180,
        [this] { kes::SetDriverAngleTo180(m, cs); }, screen,
        flag(&kes::ControlState::Deg180Enabled)));
    t.push_back(button(
        QStringLiteral("Run"), QStringLiteral("Stop"), L::Run, hints::Run,
        [this] { kes::StartOrStopDriver(m, cs); }, screen));
    t.back().Text = [this] { return cs.Running ? QStringLiteral("Stop") : QStringLiteral("Run"); };
    t.push_back(bar(QStringLiteral("SBStepAng"), L::SBStepAng, B::StepAngMin, B::StepAngMax,
                    cs.StepAngPos, hints::StepAng, screen));
    t.back().Move = [this](int p) { kes::StepAngChange(m, cs, p); };
    t.back().Position = [this] { return cs.StepAngPos; };
    t.push_back(button(
        QStringLiteral("Step1"), QStringLiteral("1.0"), L::Step1, hints::Step1,
        [this] { kes::SetStepAngleTo1(m, cs); }, screen, flag(&kes::ControlState::Step1Enabled)));
    t.push_back(button(
        QStringLiteral("Step10"), QStringLiteral("10.0"), L::Step10, hints::Step10,
        [this] { kes::SetStepAngleTo10(m, cs); }, screen, flag(&kes::ControlState::Step10Enabled)));
    t.push_back(button(
        QStringLiteral("Step45"), QStringLiteral("45.0"), L::Step45, hints::Step45,
        [this] { kes::SetStepAngleTo45(m, cs); }, screen, flag(&kes::ControlState::Step45Enabled)));

    // View: "Norm", the presets, the pans to a reference point, pan and zoom.
    t.push_back(button(
        QStringLiteral("NormVHZ"), QStringLiteral("Norm"), L::NormVHZ, hints::Norm,
        [this] {
            kes::NormClick(m, cs);
            if (cs.NormAfterHighlight) emit q->HighlightEndRequested();
        },
        screen, flag(&kes::ControlState::NormEnabled)));
    t.push_back(button(
        QStringLiteral("Preset0"), QStringLiteral("P"), L::Preset0, hints::Preset0,
        [this] { kes::Preset0Click(m, cs); }, screen, [this] { return !cs.PresetArmed; }));
    for (int n = 1; n <= 6; ++n)
        t.push_back(button(
            QStringLiteral("Preset%1").arg(n), QString::number(n), PresetBox(n),
            hints::Preset.arg(n), [this, n] { kes::PresetClick(m, cs, n); }, screen));
    const auto refs = [this] { return kes::RefControlsVisible(m); };
    for (int n = 1; n <= 2; ++n)
        t.push_back(button(
            QStringLiteral("RefPt%1").arg(n), QStringLiteral("RP%1").arg(n),
            n == 1 ? L::RefPt1 : L::RefPt2, hints::RefPt.arg(n),
            [this, n] { kes::RefPtClick(m, cs, n); }, refs));
    t.push_back(centring(QStringLiteral("SBPanVert"), L::SBPanVert, B::PanMin, B::PanMax,
                         hints::PanVert, panZoom,
                         [this](int p, kes::BarMove move) { kes::PanVertChange(m, cs, p, move); }));
    t.back().Place = [](const ScaledControlRects& r) { return r.PanVert; };
    t.push_back(centring(QStringLiteral("SBPanHorz"), L::SBPanHorz, B::PanMin, B::PanMax,
                         hints::PanHorz, panZoom,
                         [this](int p, kes::BarMove move) { kes::PanHorzChange(m, cs, p, move); }));
    t.back().Place = [](const ScaledControlRects& r) { return r.PanHorz; };
    t.push_back(centring(QStringLiteral("SBZoom"), L::SBZoom, B::ZoomMin, B::ZoomMax, hints::Zoom,
                         panZoom,
                         [this](int p, kes::BarMove move) { kes::ZoomChange(m, cs, p, move); }));
    t.back().Place = [](const ScaledControlRects& r) { return r.Zoom; };

    // Reference points: four bars and the two "0" buttons.
    struct RefBar {
        const char* Name;
        QRect Box;
        bool Vertical;
        const QString& Hint;
    };
    const RefBar refBarRows[] = {{"SBRef1Vert", L::SBRef1Vert, true, hints::Ref1Vert},
                                 {"SBRef1Horz", L::SBRef1Horz, false, hints::Ref1Horz},
                                 {"SBRef2Vert", L::SBRef2Vert, true, hints::Ref2Vert},
                                 {"SBRef2Horz", L::SBRef2Horz, false, hints::Ref2Horz}};
    for (int i = 0; i < 4; ++i) {
        const RefBar& r = refBarRows[i];
        t.push_back(centring(
            QLatin1String(r.Name), r.Box, r.Vertical ? B::RefVertMin : B::RefHorzMin,
            r.Vertical ? B::RefVertMax : B::RefHorzMax, r.Hint, refBars,
            [this, i](int p, kes::BarMove move) { kes::RefBarChange(m, cs, i, p, move); }));
    }
    t.push_back(button(
        QStringLiteral("RefPt1Zero"), QStringLiteral("0"), L::RefPt1Zero, hints::RefPtZero.arg(1),
        [this] { kes::RefPtZeroClick(m, cs, 1); }, refBars,
        flag(&kes::ControlState::RefPt1ZeroEnabled)));
    t.push_back(button(
        QStringLiteral("RefPt2Zero"), QStringLiteral("0"), L::RefPt2Zero, hints::RefPtZero.arg(2),
        [this] { kes::RefPtZeroClick(m, cs, 2); }, refBars,
        flag(&kes::ControlState::RefPt2ZeroEnabled)));

    // The pivot data table, the dynamic-variable bars and UnDo.
    t.push_back(button(
        QStringLiteral("DataTable"), QStringLiteral("DataTable"), L::DataTable, hints::DataTable,
        [this] { emit q->DataTableRequested(); }, [this] { return kes::DataTableVisible(m); }));
    for (int n = 1; n <= 4; ++n) {
        t.push_back(bar(QStringLiteral("SBDynVar%1").arg(n), DynVarBox(n), B::DynVarMin,
                        B::DynVarMax, 0, hints::DynVar[size_t(n - 1)],
                        [this] { return kes::DynVarBarsVisible(m, cs); }));
        t.back().Usable = [this, n] { return kes::DynVarBarEnabled(m, n); };
        t.back().Place = [n](const ScaledControlRects& r) { return r.DynVar[size_t(n - 1)]; };
    }
    t.push_back(button(
        QStringLiteral("UnDoDn"), QStringLiteral("UnDo"),
        QRect(L::UnDoLeft, kes::UndoButtonTop(m), L::UnDoWidth, L::UnDoHeight), hints::UnDo,
        [this] { kes::UndoStep(m); }, [this] { return kes::UndoButtonVisible(m); },
        [this] { return m.UndoButtonsEnabled; }));
    t.back().Place = [](const ScaledControlRects& r) { return r.UnDo; };
    return t;
}

std::vector<MenuCommand> MainControls::Impl::CommandTable() {
    using I = ControlIcon;
    const auto screen = [this] { return m.ScreenDataOn; };
    // A tool command (icon and hint) or a menu command.
    const auto tool = [](const char* name, const QString& text, const QString& hint, QMenu* menu,
                         I icon, std::function<void()> run, std::function<bool()> enabled = {}) {
        MenuCommand c;
        c.Name = QLatin1String(name);
        c.Text = text;
        c.Menu = menu;
        c.Icon = icon;
        c.Hint = hint;
        c.Run = std::move(run);
        c.Enabled = std::move(enabled);
        return c;
    };
    const auto item = [](const char* name, const QString& text, QMenu* menu,
                         std::function<void()> run, std::function<bool()> enabled = {}) {
        MenuCommand c;
        c.Name = QLatin1String(name);
        c.Text = text;
        c.Menu = menu;
        c.Run = std::move(run);
        c.Enabled = std::move(enabled);
        return c;
    };
    // A SetUp command whose caption says what it switches to.
    const auto toggle = [this](const char* name, std::string (*caption)(const kes::Model&),
                               std::function<void()> run) {
        MenuCommand c;
        c.Name = QLatin1String(name);
        c.Text = Q(caption(m));
        c.Menu = menus.SetUp;
        c.Run = std::move(run);
        c.Caption = [this, caption] { return Q(caption(m)); };
        return c;
    };

    std::vector<MenuCommand> t;
    t.push_back(tool("SetRevArmPos", QStringLiteral("Set&RevArmPos"), hints::RevArmPos,
                     menus.Motion, I::RevArmPos, [this] { revPos->show(); }));
    t.push_back(tool(
        "SetDriverAng", QStringLiteral("Set&DriverAng"), hints::DriverAng, menus.Motion,
        I::DriverAng, [this] { drivAng->show(); }, screen));
    t.push_back(tool("SetStepAng", QStringLiteral("Set&StepAng"), hints::StepAngDlg, menus.Motion,
                     I::StepAng, [this] { stpAng->show(); }));
    t.push_back(tool(
        "CalcCentRevArm", QStringLiteral("&CalcCentRevArm"), hints::MidGear, menus.Dimensions,
        I::MidGear,
        [this] {
            if (!kes::CalcCentRevArm(m, cs)) Beep();
        },
        screen));
    t.push_back(
        item("ResetAllDimensions", QStringLiteral("&ResetAllDimensions"), menus.Dimensions, [this] {
            if (!link.ConfirmUnsavedChanges()) return;
            kes::ResetAllClick(m, cs);
            link.DesignReset();
        }));
    t.push_back(tool(
        "ReferPoints", QStringLiteral("&ReferPoints"), hints::RefPoints, menus.View, I::RefPoints,
        [this] { kes::RefPointsClick(m, cs); }, screen));
    t.push_back(tool(
        "PivotData", QStringLiteral("Pi&votData"), hints::PivotData, menus.View, I::PivotData,
        [this] { kes::PivotDataClick(m, cs); }, screen));
    t.push_back(tool(
        "DynamicVari", QStringLiteral("D&ynamicVari"), hints::DynamicVari, menus.View,
        I::DynamicVari, [this] { kes::DynamicVariClick(m, cs); }, screen));
    t.push_back(tool(
        "UnDoDisplay", QStringLiteral("&UnDo"), hints::UnDoDisplay, menus.View, I::UnDo,
        [this] { kes::UndoDisplayClick(m); }, screen));
    t.push_back(tool(
        "DrawLinesCircles", QStringLiteral("&DrawLinesCircles"), hints::DrawLines, menus.View,
        I::DrawLines,
        [this] {
            if (kes::DrawLinesBeeps(m)) Beep();
            link.ShowLinesWindow();
        },
        [this] { return kes::DrawLinesEnabled(m); }));
    t.push_back(item(
        "SetPanZoom", Q(cs.PanZoomCaption), menus.View, [this] { kes::TogglePanZoom(cs); },
        [this] { return cs.PanZoomMenuEnabled; }));
    t.back().Caption = [this] { return Q(cs.PanZoomCaption); };
    t.push_back(item(
        "SetRefPoints", QStringLiteral("SetRefPoints"), menus.View, [this] { refPnts->show(); },
        screen));
    t.push_back(item("SetGraphicZoom", QStringLiteral("SetGraphicZoom"), menus.View,
                     [this] { graphZoom->show(); }));
    t.push_back(
        toggle("SetSteamDisp", kes::SteamDispCaption, [this] { kes::ToggleSteamDisplay(m); }));
    t.push_back(toggle("SetErrorBeep", kes::ErrorBeepCaption, [this] { kes::ToggleErrorBeep(m); }));
    t.push_back(toggle("SetLineWidth", kes::LineWidthCaption, [this] { kes::ToggleLineWidth(m); }));
    t.push_back(toggle("SetFont", kes::FontCaption, [this] { kes::ToggleLargeFont(m); }));
    t.push_back(
        toggle("SetScreenData", kes::ScreenDataCaption, [this] { kes::ToggleScreenData(m, cs); }));
    return t;
}
