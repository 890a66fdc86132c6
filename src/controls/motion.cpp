// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/motion.h"

#include "controls/control_support.h"
#include "model/format.h"
#include "model/rounding.h"
#include "model/typed_value.h"

#include <algorithm>
#include <cmath>

namespace kes {

using namespace controls_detail;

namespace {

// The step-angle bands: a position below Below gives the band's step.
struct BandRow {
    int Below;
    StepBand Band;
};
constexpr std::array<BandRow, 16> StepBands = {{
    {705, {0.01f, 1, 5}},
    {1592, {0.02f, 2, 10}},
    {2409, {0.03f, 3, 15}},
    {3613, {0.05f, 5, 25}},
    {4705, {0.1f, 10, 50}},
    {5592, {0.2f, 20, 100}},
    {6409, {0.3f, 30, 150}},
    {7613, {0.5f, 50, 250}},
    {8705, {1.0f, 100, 500}},
    {9592, {2.0f, 200, 1000}},
    {10409, {3.0f, 300, 1500}},
    {11613, {5.0f, 500, 2500}},
    {12705, {10.0f, 1000, 4500}},
    {13592, {20.0f, 2000, 4500}},
    {14409, {30.0f, 3000, 4500}},
    {14614, {45.0f, 4500, 4500}},
}};

// Positions the three step buttons put the step bar at.
constexpr int Step1Position = 8000;
constexpr int Step10Position = 12000;
constexpr int Step45Position = 14613;

void SetSelectedStep(Model& m, float step) {
    m.SelectedStepAngle = step;
    m.RunStepAngle = step;
}

void ClearCutOffTexts(Model& m) {
    m.CutOffFrontText.clear();
    m.CutOffRearText.clear();
}

void SetGearDirectionFromSetting(Model& m) {
    m.GearDirection = m.MidGear() <= m.RevArmSetting ? GearDir::Fwd : GearDir::Rev;
}

void StepButtonClick(Model& m, ControlState& cs, float step, int position) {
    SetSelectedStep(m, step);
    if (cs.Running) m.StepAngle = step;
    SetStepAngPosition(m, cs, position);
    FollowStepButtons(cs, step);
}

void DegreeClick(Model& m, ControlState& cs, float angle, int position) {
    m.DriverAngle = angle;
    SetDrvAngPosition(m, cs, position);
    m.StepAngle = 0.0f;
    cs.DrvAngEnabled = true;
    cs.Running = false;
}

} // namespace

StepBand StepBandForPosition(int p) {
    for (const BandRow& row : StepBands) {
        if (p < row.Below) return row.Band;
    }
    return StepBands.back().Band;
}

int StepBarPositionFor(double step) {
    if (!(step > 0.0)) return bars::StepAngMin;
    const int p = RoundHalfEven(std::log10(step * 100.0) * 4000.0);
    return ClampInt(p, bars::StepAngMin, bars::StepAngMax);
}

// ---- Reverse arm ----

void RevArmChange(Model& m, ControlState& cs, int p) {
    cs.RevArmPos = p;
    const float mid = m.MidGear();
    m.RevArmSetting = F(static_cast<double>(mid) + p / 1000.0);
    m.Points[RevArmTop].X = m.RevArmSetting;
    SetGearDirectionFromSetting(m);
    cs.CenterEnabled = p != 0;
    cs.FwdEnabled = F(static_cast<double>(mid) + m.Frame.RevArmNorm) != m.RevArmSetting;
    cs.RevEnabled = F(static_cast<double>(mid) - m.Frame.RevArmNorm) != m.RevArmSetting;
    ClearCutOffTexts(m);
}

void SetRevArmPosition(Model& m, ControlState& cs, int p) {
    p = ClampInt(p, m.RevArmBarMin, m.RevArmBarMax);
    if (p != cs.RevArmPos) RevArmChange(m, cs, p);
}

void ApplyRevArmRange(Model& m, ControlState& cs) {
    SetRevArmPosition(m, cs, cs.RevArmPos);
}

void SetReverseArmToMidGear(Model& m, ControlState& cs) {
    SetRevArmPosition(m, cs, 0);
    CenterRevArm(m);
    cs.FwdEnabled = true;
    cs.RevEnabled = true;
    cs.CenterEnabled = false;
}

namespace {

// "Fwd" (sign +1) and "Rev" (sign -1): the normal full gear. When the bar's
// range cannot reach it, the arm stops where the bar does.
void NormalGearClick(Model& m, ControlState& cs, int sign) {
    const double norm = m.Frame.RevArmNorm;
    const double end = sign > 0 ? m.RevArmBarMax : m.RevArmBarMin;
    const int wanted = RoundHalfEven(norm * end / m.Frame.RevArmMax);
    const int p = ClampInt(wanted, m.RevArmBarMin, m.RevArmBarMax);
    m.RevArmSetting = F(static_cast<double>(m.MidGear()) + sign * norm);
    m.Points[RevArmTop].X = m.RevArmSetting;
    if (p != wanted)
        RevArmChange(m, cs, p);
    else
        SetRevArmPosition(m, cs, p);
    SetGearDirectionFromSetting(m);
    cs.FwdEnabled = sign < 0;
    cs.RevEnabled = sign > 0;
    cs.CenterEnabled = true;
    ClearCutOffTexts(m);
}

} // namespace

void SetReverseArmToForward(Model& m, ControlState& cs) {
    NormalGearClick(m, cs, +1);
}
void SetReverseArmToReverse(Model& m, ControlState& cs) {
    NormalGearClick(m, cs, -1);
}

// ---- Driver angle and run/stop ----

void DrvAngChange(Model& m, ControlState& cs, int p) {
    cs.DrvAngPos = p;
    m.DriverAngle = F(p / 100.0);
    cs.Deg00Enabled = true;
    cs.Deg180Enabled = true;
}

void SetDrvAngPosition(Model& m, ControlState& cs, int p) {
    p = ClampInt(p, bars::DrvAngMin, bars::DrvAngMax);
    if (p != cs.DrvAngPos) DrvAngChange(m, cs, p);
}

void SetDriverAngleToZero(Model& m, ControlState& cs) {
    DegreeClick(m, cs, 0.0f, 0);
    cs.Deg00Enabled = false;
    cs.Deg180Enabled = true;
}

void SetDriverAngleTo180(Model& m, ControlState& cs) {
    DegreeClick(m, cs, 180.0f, 18000);
    cs.Deg180Enabled = false;
    cs.Deg00Enabled = true;
}

void StartOrStopDriver(Model& m, ControlState& cs) {
    if (!cs.Running) {
        m.StepAngle = m.SelectedStepAngle;
        cs.DrvAngEnabled = false;
        cs.Running = true;
    } else {
        SetDrvAngPosition(m, cs, RoundHalfEven(static_cast<double>(m.DriverAngle) * 100.0));
        m.StepAngle = 0.0f;
        cs.DrvAngEnabled = true;
        cs.Running = false;
    }
    cs.Deg00Enabled = true;
    cs.Deg180Enabled = true;
}

// ---- Step angle ----

void StepAngChange(Model& m, ControlState& cs, int p) {
    cs.StepAngPos = p;
    if (!cs.StepAngFirstCallSeen) {
        cs.StepAngFirstCallSeen = true;
        return;
    }
    const StepBand band = StepBandForPosition(p);
    SetSelectedStep(m, band.Step);
    if (cs.Running) m.StepAngle = band.Step;
    cs.DrvAngSmallChange = band.SmallChange;
    cs.DrvAngLargeChange = band.LargeChange;
    FollowStepButtons(cs, band.Step);
}

void SetStepAngPosition(Model& m, ControlState& cs, int p) {
    p = ClampInt(p, bars::StepAngMin, bars::StepAngMax);
    if (p != cs.StepAngPos) StepAngChange(m, cs, p);
}

void SetStepAngleTo1(Model& m, ControlState& cs) {
    StepButtonClick(m, cs, 1.0f, Step1Position);
}
void SetStepAngleTo10(Model& m, ControlState& cs) {
    StepButtonClick(m, cs, 10.0f, Step10Position);
}
void SetStepAngleTo45(Model& m, ControlState& cs) {
    StepButtonClick(m, cs, 45.0f, Step45Position);
}

// ---- The three motion dialogs ----

ReverseArmSettingTexts TextsForReverseArmSetting(const Model& m) {
    const double mid = m.MidGear();
    const double max = m.Frame.RevArmMax;
    const double norm = m.Frame.RevArmNorm;
    ReverseArmSettingTexts t;
    t.Labels = {
        "Min = " + FormatFixed(mid - max, 5, 3),  "Cen = " + FormatFixed(mid, 5, 3),
        "Max = " + FormatFixed(mid + max, 5, 3),  "Rev = " + FormatFixed(mid - norm, 5, 3),
        "Fwd = " + FormatFixed(mid + norm, 5, 3),
    };
    t.Field = FormatFixed(m.RevArmSetting, 7, 3);
    return t;
}

void TakeReverseArmSetting(Model& m, ControlState& cs, float value) {
    const double mid = m.MidGear();
    const double max = m.Frame.RevArmMax;
    const double v =
        ClampValue(value, std::min(mid - max, mid + max), std::max(mid - max, mid + max));
    SetRevArmPosition(m, cs, RoundHalfEven((v - mid) * 1000.0));
}

std::string TextForDriverAngle(const Model& m, const ControlState& cs) {
    return cs.Running ? std::string("0.00") : FormatFixed(m.DriverAngle, 4, 2);
}

void TakeDriverAngle(Model& m, ControlState& cs, float value) {
    // The motion stops first, as the Run button would stop it.
    cs.Running = true;
    StartOrStopDriver(m, cs);
    m.DriverAngle = ClampValue(value, 0.0, 360.0);
    SetDrvAngPosition(m, cs, RoundHalfEven(static_cast<double>(m.DriverAngle) * 100.0));
    m.StepAngle = 0.0f;
    cs.DrvAngEnabled = true;
}

std::string TextForStepAngle(const Model& m) {
    // The step "Run" turns with, also while stopped (when StepAngle is 0).
    return FormatFixed(m.SelectedStepAngle, 4, 2);
}

void TakeStepAngle(Model& m, ControlState& cs, float value) {
    const float step = ClampValue(value, MinStepAngle, MaxStepAngle);
    SetSelectedStep(m, step);
    // Run is pressed twice over: the running state stays, and a running
    // driver takes the new step.
    cs.Running = !cs.Running;
    StartOrStopDriver(m, cs);
    // The bar shows the typed step without snapping it to a band.
    cs.StepAngPos = StepBarPositionFor(step);
    cs.StepAngFirstCallSeen = true;
    cs.DrvAngSmallChange = RoundHalfEven(static_cast<double>(step) * 100.0);
    cs.DrvAngLargeChange = RoundHalfEven(static_cast<double>(step) * 500.0);
    FollowStepButtons(cs, step);
}

} // namespace kes
