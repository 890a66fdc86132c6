// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The view controls: pan, zoom and the presets, the reference points, the
// graphic zoom and the reverse-arm positions dialog.

#include "controls/control_state.h"

#include <array>
#include <string>

namespace kes {

// ---- Pan, zoom and presets ----
// A self-centring bar moved to p: a step from rest (a click, notch or key)
// moves by p; a drag goes on from the drag's previous position.
void PanVertChange(Model& m, ControlState& cs, int p, BarMove move = BarMove::Drag);
void PanHorzChange(Model& m, ControlState& cs, int p, BarMove move = BarMove::Drag);
void ZoomChange(Model& m, ControlState& cs, int p, BarMove move = BarMove::Drag);
// During a dimension highlight "Norm" only asks for the highlight to end
// (NormAfterHighlight); run it again once the highlight is over.
void NormClick(Model& m, ControlState& cs);
void Preset0Click(Model& m, ControlState& cs);
void PresetClick(Model& m, ControlState& cs, int n); // n = 1..6

// ---- Reference points ----
// bar: 0 = SBRef1Vert, 1 = SBRef1Horz, 2 = SBRef2Vert, 3 = SBRef2Horz.
void RefBarChange(Model& m, ControlState& cs, int bar, int p, BarMove move = BarMove::Drag);
void RefPtZeroClick(Model& m, ControlState& cs, int point); // point = 1 or 2
void RefPtClick(Model& m, ControlState& cs, int point);     // pan to the point
void RefPointsClick(Model& m, ControlState& cs);
void SetReferencePoints(Model& m, ControlState& cs, bool on);
// ReferencePointsDialog: the field texts (V1, H1, V2, H2), "OK", "Cancel" and "Zero".
std::array<std::string, 4> TextsForReferencePoints(const Model& m);
void TakeReferencePoints(Model& m, ControlState& cs, float v1, float h1, float v2, float h2);
void SwitchReferencePointsOff(Model& m, ControlState& cs);
void ZeroReferencePoints(Model& m, ControlState& cs);

// ---- Graphic zoom and the reverse-arm positions ----
std::string TextForGraphicZoom(const Model& m);
void TakeGraphicZoom(Model& m, float value);
// ReverseArmPositionsDialog field n (1..9 a reverse-arm position, 10 the vertical scale).
std::string TextForReverseArmPosition(const Model& m, int field);
void TakeReverseArmPosition(Model& m, int field, float value);
void CloseReverseArmPositions(Model& m);

} // namespace kes
