// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The display controls: the "&SetUp" settings and their captions, the
// panels (pivot data, dynamic variables, undo line), the menu commands that
// reset or centre, and what the window shows and enables.

#include "controls/control_state.h"

#include <string>

namespace kes {

// ---- Display settings and panels ----
void ToggleSteamDisplay(Model& m);
void ToggleErrorBeep(Model& m);
void ToggleLineWidth(Model& m);
void ToggleLargeFont(Model& m);
void ToggleScreenData(Model& m, ControlState& cs);
void TogglePanZoom(ControlState& cs);
void PivotDataClick(Model& m, ControlState& cs);
void DynamicVariClick(Model& m, ControlState& cs);
void UndoDisplayClick(Model& m);
// "&DrawLinesCircles": true when the beep sounds (both reference points at
// exactly (0, 0)); the window is shown in any case.
bool DrawLinesBeeps(const Model& m);
// "&CalcCentRevArm": mid gear, then the "Cen" button. False when mid gear
// cannot be found for these dimensions (the previous one is kept).
bool CalcCentRevArm(Model& m, ControlState& cs);
// "&ResetAllDimensions" with the controls following.
void ResetAllClick(Model& m, ControlState& cs);

// Captions of the "&SetUp" items for the current settings.
std::string SteamDispCaption(const Model& m);
std::string ErrorBeepCaption(const Model& m);
std::string LineWidthCaption(const Model& m);
std::string FontCaption(const Model& m);
std::string ScreenDataCaption(const Model& m);

// What is shown and usable, for the window to mirror.
bool PanZoomBarsVisible(const Model& m, const ControlState& cs);
bool RefControlsVisible(const Model& m);
// The reference-point bars and zero buttons, which a dimension highlight's
// hourglass and name would lie under.
bool RefBarsVisible(const Model& m);
bool DataTableVisible(const Model& m);
bool DynVarBarsVisible(const Model& m, const ControlState& cs);
bool DynVarBarEnabled(const Model& m, int n);
bool UndoButtonVisible(const Model& m);
int UndoButtonTop(const Model& m);
bool DrawLinesEnabled(const Model& m);

} // namespace kes
