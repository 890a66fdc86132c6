// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/display.h"

#include "controls/control_support.h"
#include "controls/motion.h"
#include "controls/view.h"
#include "model/design_edit.h"
#include "model/dyn_vars.h"

namespace kes {

using namespace controls_detail;

// ---- Display settings and panels ----

void ToggleSteamDisplay(Model& m) {
    m.SteamDisplayOn = !m.SteamDisplayOn;
}
void ToggleErrorBeep(Model& m) {
    m.BeepOnError = !m.BeepOnError;
}
void ToggleLineWidth(Model& m) {
    m.LineWidth = m.LineWidth == 1 ? 2 : 1;
}

void ToggleLargeFont(Model& m) {
    const bool large = m.TextScaleX != 1.0f || m.TextScaleY != 1.0f;
    m.TextScaleX = large ? 1.0f : 1.27f;
    m.TextScaleY = large ? 1.0f : 1.22f;
}

void ToggleScreenData(Model& m, ControlState& cs) {
    m.ScreenDataOn = !m.ScreenDataOn;
    if (!m.ScreenDataOn) {
        m.DynVarMode = false;
        m.ReferencePointsOn = false;
        m.UndoDisplay = false;
        m.PivotDataOn = false;
        cs.PanZoomMenuEnabled = true;
    } else {
        cs.PanZoomMenuEnabled = false;
        cs.PanZoomShown = false;
        cs.PanZoomCaption = "Set&PanZoom On";
    }
}

void TogglePanZoom(ControlState& cs) {
    cs.PanZoomShown = !cs.PanZoomShown;
    cs.PanZoomCaption = cs.PanZoomShown ? "SetP&anZoom Off" : "SetP&anZoom On";
}

void PivotDataClick(Model& m, ControlState& cs) {
    m.PivotDataOn = !m.PivotDataOn;
    if (m.PivotDataOn && !m.ReferencePointsOn) SetReferencePoints(m, cs, true);
}

void DynamicVariClick(Model& m, ControlState& cs) {
    m.DynVarMode = !m.DynVarMode;
    cs.DynVarBarsShown = m.DynVarMode;
}

void UndoDisplayClick(Model& m) {
    m.UndoDisplay = !m.UndoDisplay;
}

bool DrawLinesBeeps(const Model& m) {
    const PointSlot& a = m.Points[RefPoint1];
    const PointSlot& b = m.Points[RefPoint2];
    return a.X == 0.0f && a.Y == 0.0f && b.X == 0.0f && b.Y == 0.0f;
}

bool CalcCentRevArm(Model& m, ControlState& cs) {
    const bool found = RefindMidGear(m);
    SetReverseArmToMidGear(m, cs);
    return found;
}

void ResetAllClick(Model& m, ControlState& cs) {
    ResetAllDimensions(m);
    // The bar's range follows the factory RevArmMax; the arm is centred and
    // the view is the normal one.
    ApplyRevArmRange(m, cs);
    SetReverseArmToMidGear(m, cs);
    cs.NormEnabled = false;
    cs.PresetArmed = false;
    cs.DynVarBarsShown = false;
}

std::string SteamDispCaption(const Model& m) {
    return m.SteamDisplayOn ? "SetS&teamDisp Off" : "SetS&teamDisp On";
}
std::string ErrorBeepCaption(const Model& m) {
    return m.BeepOnError ? "Set&ErrorBeep Off" : "Set&ErrorBeep On";
}
std::string LineWidthCaption(const Model& m) {
    return m.LineWidth == 2 ? "Set&LineWidth 1" : "Set&LineWidth 2";
}
std::string FontCaption(const Model& m) {
    const bool large = m.TextScaleX != 1.0f || m.TextScaleY != 1.0f;
    return large ? "SetSmall&Font" : "SetLarge&Font";
}
std::string ScreenDataCaption(const Model& m) {
    return m.ScreenDataOn ? "SetScree&nData Off" : "SetScree&nData On";
}

bool PanZoomBarsVisible(const Model& m, const ControlState& cs) {
    return m.ScreenDataOn || cs.PanZoomShown;
}
bool RefControlsVisible(const Model& m) {
    return m.ScreenDataOn && m.ReferencePointsOn;
}
bool RefBarsVisible(const Model& m) {
    return RefControlsVisible(m) && m.HighlightedDimension <= 0;
}
bool DataTableVisible(const Model& m) {
    return m.ScreenDataOn && m.ReferencePointsOn && m.PivotDataOn;
}
bool DynVarBarsVisible(const Model& m, const ControlState& cs) {
    // After a reset hid them, the bars come back with the first dimension selected.
    return m.ScreenDataOn && m.DynVarMode && (cs.DynVarBarsShown || DynVarBarEnabled(m, 1));
}
bool DynVarBarEnabled(const Model& m, int n) {
    if (n < 1 || n > 4) return false;
    return m.DynVarSlots[static_cast<size_t>(n)].Name != EmptySlotName;
}
bool UndoButtonVisible(const Model& m) {
    return m.ScreenDataOn && m.UndoDisplay;
}
int UndoButtonTop(const Model& m) {
    return m.DynVarMode ? 127 : 72;
}
bool DrawLinesEnabled(const Model& m) {
    return m.ScreenDataOn && m.ReferencePointsOn;
}

} // namespace kes
