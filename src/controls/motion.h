// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The motion controls: the reverse arm, the driver angle with run and stop,
// the step angle and their three small dialogs.

#include "controls/control_state.h"

#include <array>
#include <string>

namespace kes {

// A band of the step-angle bar: the preset step and the driver bar's small
// and large change that go with it.
struct StepBand {
    float Step;
    int SmallChange;
    int LargeChange;
};
// The band of a step-bar position; bounds are the geometric midpoints
// between the presets.
StepBand StepBandForPosition(int p);
// round(log10(step x 100) x 4000), kept within the bar's range.
int StepBarPositionFor(double step);

// ---- Reverse arm ----
// SBRevArmChange: the bar moved to p.
void RevArmChange(Model& m, ControlState& cs, int p);
// SBRevArm.Position := p (kept within the bar's range); runs the change
// handler when the position changes.
void SetRevArmPosition(Model& m, ControlState& cs, int p);
// After the model's RevArmBarMin/Max changed: the position is kept within it.
void ApplyRevArmRange(Model& m, ControlState& cs);
void SetReverseArmToMidGear(Model& m, ControlState& cs); // "Cen"
void SetReverseArmToForward(Model& m, ControlState& cs); // "Fwd"
void SetReverseArmToReverse(Model& m, ControlState& cs); // "Rev"

// ---- Driver angle and run/stop ----
void DrvAngChange(Model& m, ControlState& cs, int p);
void SetDrvAngPosition(Model& m, ControlState& cs, int p);
void SetDriverAngleToZero(Model& m, ControlState& cs); // "0.0"
void SetDriverAngleTo180(Model& m, ControlState& cs);  // "180"
void StartOrStopDriver(Model& m, ControlState& cs);    // "Run" / "Stop"

// ---- Step angle ----
void StepAngChange(Model& m, ControlState& cs, int p);
void SetStepAngPosition(Model& m, ControlState& cs, int p);
void SetStepAngleTo1(Model& m, ControlState& cs);  // "1.0"
void SetStepAngleTo10(Model& m, ControlState& cs); // "10.0"
void SetStepAngleTo45(Model& m, ControlState& cs); // "45.0"

// ---- The three motion dialogs ----
// Texts shown when ReverseArmSettingDialog opens: "Min = ", "Cen = ", "Max = ", "Rev = ",
// "Fwd = " with their values, and the field.
struct ReverseArmSettingTexts {
    std::array<std::string, 5> Labels;
    std::string Field;
};
ReverseArmSettingTexts TextsForReverseArmSetting(const Model& m);
void TakeReverseArmSetting(Model& m, ControlState& cs, float value);
std::string TextForDriverAngle(const Model& m, const ControlState& cs);
void TakeDriverAngle(Model& m, ControlState& cs, float value);
std::string TextForStepAngle(const Model& m);
void TakeStepAngle(Model& m, ControlState& cs, float value);

} // namespace kes
