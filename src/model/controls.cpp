#include "model/controls.h"

#include "model/dyn_vars.h"
#include "model/format.h"
#include "model/mid_gear.h"
#include "model/rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kes {

namespace {

float F(double v) {
    constexpr double top = std::numeric_limits<float>::max();
    if (std::isnan(v)) return 0.0f;
    return static_cast<float>(std::clamp(v, -top, top));
}

int ClampInt(int v, int lo, int hi) {
    if (lo > hi) std::swap(lo, hi);
    return std::clamp(v, lo, hi);
}

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

void FollowStepButtons(ControlState& cs, float selected) {
    cs.Step1Enabled = selected != 1.0f;
    cs.Step10Enabled = selected != 10.0f;
    cs.Step45Enabled = selected != 45.0f;
}

void SetSelectedStep(Model& m, float step) {
    m.SelectedStepAngle = step;
    m.RunStepAngle = step;
}

// A self-centring bar moved to p: the step for it, and the bar's memory of
// the return to 0 (which runs the handler once more with no step).
double SelfCentre(SelfCentringBar& bar, int p, double k) {
    const double d = bar.Step(p, k);
    if (p != 0) bar.Step(0, k);
    return d;
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

bool UsableScale(float s) {
    return std::isfinite(s) && s > 0.0f;
}

// The world point under a window pixel; false when the view has no usable scale.
bool WorldAt(const Model& m, int x, int y, float& wx, float& wy) {
    const View& v = m.CurrentView;
    if (!UsableScale(v.Scale)) return false;
    wx = F((x - static_cast<double>(v.OffsetX)) / v.Scale);
    wy = F(-(y - static_cast<double>(v.OffsetY)) / v.Scale);
    return true;
}

void SetZeroButton(ControlState& cs, int point, bool enabled) {
    (point == 1 ? cs.RefPt1ZeroEnabled : cs.RefPt2ZeroEnabled) = enabled;
}

// Rows of the pivot-data panel that arm a pivot slot, before text scaling.
constexpr int PivotRowTop = 152;
constexpr int PivotRowBottom = 161;
constexpr int PivotRowPitch = 10;
constexpr int PivotRowRight = 20;

// The top strip holds the controls; the drawing starts below it.
constexpr int DrawingTop = 120;
constexpr int DrawingTopRight = 67;
constexpr int DrawingRightOf = 247;

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

ControlState InitialControlState(const Model& m) {
    ControlState cs;
    cs.RevArmPos = RoundHalfEven((static_cast<double>(m.RevArmSetting) - m.MidGear()) * 1000.0);
    cs.RevArmPos = ClampInt(cs.RevArmPos, m.RevArmBarMin, m.RevArmBarMax);
    cs.CenterEnabled = cs.RevArmPos != 0;
    cs.FwdEnabled = F(static_cast<double>(m.MidGear()) + m.Frame.RevArmNorm) != m.RevArmSetting;
    cs.RevEnabled = F(static_cast<double>(m.MidGear()) - m.Frame.RevArmNorm) != m.RevArmSetting;
    cs.Running = m.StepAngle > 0.0f;
    cs.DrvAngEnabled = !cs.Running;
    FollowStepButtons(cs, m.SelectedStepAngle);
    const PointSlot& r1 = m.Points[RefPoint1];
    const PointSlot& r2 = m.Points[RefPoint2];
    cs.RefPt1ZeroEnabled = r1.X != 0.0f || r1.Y != 0.0f;
    cs.RefPt2ZeroEnabled = r2.X != 0.0f || r2.Y != 0.0f;
    return cs;
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

void CenterClick(Model& m, ControlState& cs) {
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

void FwdClick(Model& m, ControlState& cs) {
    NormalGearClick(m, cs, +1);
}
void RevClick(Model& m, ControlState& cs) {
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

void Deg00Click(Model& m, ControlState& cs) {
    DegreeClick(m, cs, 0.0f, 0);
    cs.Deg00Enabled = false;
    cs.Deg180Enabled = true;
}

void Deg180Click(Model& m, ControlState& cs) {
    DegreeClick(m, cs, 180.0f, 18000);
    cs.Deg180Enabled = false;
    cs.Deg00Enabled = true;
}

void RunClick(Model& m, ControlState& cs) {
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

void Step1Click(Model& m, ControlState& cs) {
    StepButtonClick(m, cs, 1.0f, Step1Position);
}
void Step10Click(Model& m, ControlState& cs) {
    StepButtonClick(m, cs, 10.0f, Step10Position);
}
void Step45Click(Model& m, ControlState& cs) {
    StepButtonClick(m, cs, 45.0f, Step45Position);
}

// ---- The three motion dialogs ----

RevPosTexts RevPosActivate(const Model& m) {
    const double mid = m.MidGear();
    const double max = m.Frame.RevArmMax;
    const double norm = m.Frame.RevArmNorm;
    RevPosTexts t;
    t.Labels = {
        "Min = " + FormatFixed(mid - max, 5, 3),  "Cen = " + FormatFixed(mid, 5, 3),
        "Max = " + FormatFixed(mid + max, 5, 3),  "Rev = " + FormatFixed(mid - norm, 5, 3),
        "Fwd = " + FormatFixed(mid + norm, 5, 3),
    };
    t.Field = FormatFixed(m.RevArmSetting, 7, 3);
    return t;
}

void RevPosOk(Model& m, ControlState& cs, float value) {
    const double mid = m.MidGear();
    const double max = m.Frame.RevArmMax;
    const double v =
        ClampValue(value, std::min(mid - max, mid + max), std::max(mid - max, mid + max));
    SetRevArmPosition(m, cs, RoundHalfEven((v - mid) * 1000.0));
}

std::string DrivAngActivate(const Model& m, const ControlState& cs) {
    return cs.Running ? std::string("0.00") : FormatFixed(m.DriverAngle, 4, 2);
}

void DrivAngOk(Model& m, ControlState& cs, float value) {
    // The motion stops first, as the Run button would stop it.
    cs.Running = true;
    RunClick(m, cs);
    m.DriverAngle = ClampValue(value, 0.0, 360.0);
    SetDrvAngPosition(m, cs, RoundHalfEven(static_cast<double>(m.DriverAngle) * 100.0));
    m.StepAngle = 0.0f;
    cs.DrvAngEnabled = true;
}

std::string StpAngActivate(const Model& m) {
    return FormatFixed(m.StepAngle, 4, 2);
}

void StpAngOk(Model& m, ControlState& cs, float value) {
    const float step = ClampValue(value, MinStepAngle, MaxStepAngle);
    SetSelectedStep(m, step);
    // Run is pressed twice over: the running state stays, and a running
    // driver takes the new step.
    cs.Running = !cs.Running;
    RunClick(m, cs);
    // The bar shows the typed step without snapping it to a band.
    cs.StepAngPos = StepBarPositionFor(step);
    cs.StepAngFirstCallSeen = true;
    cs.DrvAngSmallChange = RoundHalfEven(static_cast<double>(step) * 100.0);
    cs.DrvAngLargeChange = RoundHalfEven(static_cast<double>(step) * 500.0);
    FollowStepButtons(cs, step);
}

// ---- Pan, zoom and presets ----

void PanVertChange(Model& m, ControlState& cs, int p) {
    const double d = SelfCentre(cs.PanVertBar, p, bars::PanPerPixel);
    m.CurrentView.OffsetY = F(m.CurrentView.OffsetY - d);
    m.ZoomAnchorView = m.CurrentView;
    cs.NormEnabled = true;
}

void PanHorzChange(Model& m, ControlState& cs, int p) {
    const double d = SelfCentre(cs.PanHorzBar, p, bars::PanPerPixel);
    m.CurrentView.OffsetX = F(m.CurrentView.OffsetX + d);
    m.ZoomAnchorView = m.CurrentView;
    cs.NormEnabled = true;
}

void ZoomChange(Model& m, ControlState& cs, int p) {
    const double d = SelfCentre(cs.ZoomBar, p, bars::ZoomPerPercent);
    cs.NormEnabled = true;
    m.ZoomAnchorView = m.CurrentView;
    if (d == 0.0) return;
    const View anchor = m.ZoomAnchorView;
    double s = anchor.Scale;
    if (!std::isfinite(s)) s = MaxViewScale;
    s = std::min(s, static_cast<double>(MaxViewScale));
    s += s * d * 0.01;
    // The scale is held within its limits before the offsets follow it, so
    // the pixel (320, 240) stays on the same world point even at a limit.
    s = ClampValue(s, MinViewScale, MaxViewScale);
    View v = anchor;
    v.Scale = static_cast<float>(s);
    if (UsableScale(anchor.Scale)) {
        const double ratio = s / anchor.Scale;
        v.OffsetX = F((anchor.OffsetX - ZoomCentreX) * ratio + ZoomCentreX);
        v.OffsetY = F(ratio * (anchor.OffsetY - ZoomCentreY) + ZoomCentreY);
    }
    m.CurrentView = v;
}

void NormClick(Model& m, ControlState& cs) {
    m.SavedView = m.CurrentView;
    m.CurrentView = m.NormalView;
    cs.NormEnabled = false;
    cs.PresetArmed = false;
    m.ZoomAnchorView = m.CurrentView;
}

void Preset0Click(Model& m, ControlState& cs) {
    m.ViewPresets[0] = m.CurrentView.Scale;
    m.ViewPresets[1] = m.CurrentView.OffsetX;
    m.ViewPresets[2] = m.CurrentView.OffsetY;
    cs.PresetArmed = true;
    cs.NormEnabled = true;
}

void PresetClick(Model& m, ControlState& cs, int n) {
    if (n < 1 || n > 6) return;
    const size_t at = static_cast<size_t>(3 * n);
    if (cs.PresetArmed) {
        for (size_t i = 0; i < 3; ++i)
            m.ViewPresets[at + i] = m.ViewPresets[i];
    }
    m.CurrentView.Scale = m.ViewPresets[at];
    m.CurrentView.OffsetX = m.ViewPresets[at + 1];
    m.CurrentView.OffsetY = m.ViewPresets[at + 2];
    cs.NormEnabled = true;
    cs.PresetArmed = false;
}

// ---- Reference points ----

void RefBarChange(Model& m, ControlState& cs, int bar, int p) {
    if (bar < 0 || bar > 3) return;
    const double d = SelfCentre(cs.RefBars[static_cast<size_t>(bar)], p, bars::RefPerUnit);
    PointSlot& pt = m.Points[bar < 2 ? RefPoint1 : RefPoint2];
    float& v = bar % 2 == 0 ? pt.Y : pt.X;
    v = F(v + d);
    SetZeroButton(cs, bar < 2 ? 1 : 2, true);
}

void RefPtZeroClick(Model& m, ControlState& cs, int point) {
    if (point != 1 && point != 2) return;
    PointSlot& pt = m.Points[point == 1 ? RefPoint1 : RefPoint2];
    pt.X = 0.0f;
    pt.Y = 0.0f;
    SetZeroButton(cs, point, false);
}

void RefPtClick(Model& m, ControlState& cs, int point) {
    if (point != 1 && point != 2) return;
    const PointSlot& pt = m.Points[point == 1 ? RefPoint1 : RefPoint2];
    View& v = m.CurrentView;
    v.OffsetX = F(ZoomCentreX - static_cast<double>(pt.X) * v.Scale);
    v.OffsetY = F(static_cast<double>(v.Scale) * pt.Y + ZoomCentreY);
    // The point now sits at (320, 240); the pan bars stay centred.
    m.ZoomAnchorView = v;
    cs.NormEnabled = true;
}

void SetReferencePoints(Model& m, ControlState&, bool on) {
    m.ReferencePointsOn = on;
    if (!on) m.PivotDataOn = false;
}

void RefPointsClick(Model& m, ControlState& cs) {
    SetReferencePoints(m, cs, !m.ReferencePointsOn);
}

std::array<std::string, 4> RefPntsActivate(const Model& m) {
    const PointSlot& p1 = m.Points[RefPoint1];
    const PointSlot& p2 = m.Points[RefPoint2];
    return {FormatFixed(p1.Y, 5, 3), FormatFixed(p1.X, 5, 3), FormatFixed(p2.Y, 5, 3),
            FormatFixed(p2.X, 5, 3)};
}

void RefPntsOk(Model& m, ControlState& cs, float v1, float h1, float v2, float h2) {
    m.Points[RefPoint1].Y = v1;
    m.Points[RefPoint1].X = h1;
    m.Points[RefPoint2].Y = v2;
    m.Points[RefPoint2].X = h2;
    if (v1 != 0.0f || h1 != 0.0f) cs.RefPt1ZeroEnabled = true;
    if (v2 != 0.0f || h2 != 0.0f) cs.RefPt2ZeroEnabled = true;
    SetReferencePoints(m, cs, true);
}

void RefPntsCancel(Model& m, ControlState& cs) {
    SetReferencePoints(m, cs, false);
}

void RefPntsZero(Model& m, ControlState& cs) {
    RefPtZeroClick(m, cs, 1);
    RefPtZeroClick(m, cs, 2);
    SetReferencePoints(m, cs, false);
}

// ---- Graphic zoom and the reverse-arm positions ----

std::string GraphZoomActivate(const Model& m) {
    return FormatFixed(m.GraphicZoom, 4, 2);
}

void GraphZoomOk(Model& m, float value) {
    m.GraphicZoom = ClampValue(value, MinGraphicZoom, MaxGraphicZoom);
}

std::string SetRevArmFieldText(const Model& m, int field) {
    if (field >= 1 && field <= 9)
        return FormatFixed(m.RevArmPositions[static_cast<size_t>(field)], 7, 3);
    if (field == 10) return FormatFixed(m.VerticalScale, 7, 3);
    return {};
}

void SetRevArmFieldLeft(Model& m, int field, float value) {
    if (field >= 1 && field <= 9) {
        // 0 leaves the slot unused; a position is one the reverse arm can reach.
        float v = value;
        if (v != 0.0f) {
            const double mid = m.MidGear();
            const double max = m.Frame.RevArmMax;
            v = ClampValue(v, std::min(mid - max, mid + max), std::max(mid - max, mid + max));
        }
        m.RevArmPositions[static_cast<size_t>(field)] = v;
        UpdateRevArmPositionCount(m);
    } else if (field == 10) {
        m.VerticalScale = ClampValue(value, MinVerticalScale, MaxVerticalScale);
    }
}

void SetRevArmClose(Model& m) {
    m.RedrawPending = true;
}

// ---- Mouse picking ----

bool InDrawingArea(int x, int y) {
    return y > DrawingTop || (y > DrawingTopRight && x > DrawingRightOf);
}

int NearestPoint(const Model& m) {
    const PointSlot& r = m.Points[RefPoint1];
    double best = 10000.0;
    int nearest = 0;
    for (int i = 1; i <= RevArmPivotAbs; ++i) {
        if (i == RefPoint1 || i == RefPoint2) continue;
        const PointSlot& p = m.Points[static_cast<size_t>(i)];
        const double dist =
            std::fabs(static_cast<double>(r.Y) - p.Y) + std::fabs(static_cast<double>(r.X) - p.X);
        if (dist < best) {
            best = dist;
            nearest = i;
        }
    }
    return nearest;
}

PickResult MousePick(Model& m, ControlState& cs, int x, int y, MouseButton button) {
    PickResult r;
    const bool left = button == MouseButton::Left;
    const bool right = button == MouseButton::Right;
    float wx = 0.0f, wy = 0.0f;
    const bool mapped = WorldAt(m, x, y, wx, wy);

    // The reference points follow the clicks on the drawing.
    if (m.ReferencePointsOn && mapped && (left || right) && InDrawingArea(x, y)) {
        PointSlot& pt = m.Points[left ? RefPoint1 : RefPoint2];
        pt.X = wx;
        pt.Y = wy;
        SetZeroButton(cs, left ? 1 : 2, true);
        r.RefPointMoved = true;
    }
    // The lines-and-circles window waiting for its pivots.
    if (m.ReferencePointsOn && left && m.LinesPickWaiting) {
        r.LinesPick = true;
        if (m.LinesPickRefChoice < 3) r.OpenLinesWindow = true;
    }
    if (left) cs.ClickLatch = true;
    if (m.ReferencePointsOn && right && m.LinesPickWaiting && m.LinesPickRefChoice == 3 &&
        cs.ClickLatch) {
        cs.ClickLatch = false;
        r.LinesPick = true;
        r.LinesPickRight = true;
        r.OpenLinesWindow = true;
    }
    // An armed pivot slot takes the point nearest to the click.
    if (m.PivotDataOn && m.PivotPickArmed && m.ReferencePointsOn && left && mapped) {
        m.Points[RefPoint1].X = wx;
        m.Points[RefPoint1].Y = wy;
        SetZeroButton(cs, 1, true);
        const int nearest = NearestPoint(m);
        m.PivotPickArmed = false;
        const int slot = std::clamp(m.PivotPickSlot, 1, 6);
        m.PivotSlots[static_cast<size_t>(slot)].PointIndex = nearest;
        r.PivotPicked = true;
    }
    // A click on a row label of the pivot-data panel arms that slot.
    if (m.PivotDataOn && !m.PivotPickArmed && m.ReferencePointsOn && left) {
        const double sx = m.TextScaleX, sy = m.TextScaleY;
        for (int k = 1; k <= 6; ++k) {
            const int top = RoundHalfEven(sy * (PivotRowTop + PivotRowPitch * (k - 1)));
            const int bottom = RoundHalfEven(sy * (PivotRowBottom + PivotRowPitch * (k - 1)));
            if (top < y && y < bottom && 0 < x && x < RoundHalfEven(sx * PivotRowRight)) {
                m.PivotPickSlot = k;
                m.PivotSlots[static_cast<size_t>(k)].Active = true;
                m.PivotPickArmed = true;
                r.PivotArmed = true;
            }
        }
    }
    return r;
}

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
    const bool found = FindMidGear(m);
    CenterClick(m, cs);
    return found;
}

void ResetAllClick(Model& m, ControlState& cs) {
    ResetAllDimensions(m);
    // The bar's range follows the factory RevArmMax; the arm is centred and
    // the view is the normal one.
    ApplyRevArmRange(m, cs);
    CenterClick(m, cs);
    cs.NormEnabled = false;
    cs.PresetArmed = false;
    cs.DynVarBarsShown = false;
}

double DynVarChange(Model& m, ControlState& cs, int n, int p) {
    if (n < 1 || n > 4) return 0.0;
    const double d = SelfCentre(cs.DynVarBars[static_cast<size_t>(n)], p, bars::DynVarPerUnit);
    StepDynVar(m, n, static_cast<float>(d));
    return d;
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
bool DataTableVisible(const Model& m) {
    return m.ScreenDataOn && m.ReferencePointsOn && m.PivotDataOn;
}
bool DynVarBarsVisible(const Model& m, const ControlState& cs) {
    return m.ScreenDataOn && m.DynVarMode && cs.DynVarBarsShown;
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

float ParseTypedValue(std::string_view text) {
    // The longest leading part of the form [-]digits[.digits].
    size_t i = 0;
    std::string number;
    if (i < text.size() && text[i] == '-') number += text[i++];
    bool digits = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        number += text[i++];
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            number += text[i++];
            digits = true;
        }
    }
    if (!digits) return 0.0f;
    double v = 0.0;
    const auto res = std::from_chars(number.data(), number.data() + number.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Too many digits: a whole part beyond every real, or a fraction
        // below the smallest.
        const size_t whole = number.find_first_of("123456789");
        const size_t dot = number.find('.');
        if (whole == std::string::npos || (dot != std::string::npos && whole > dot)) return 0.0f;
        return number[0] == '-' ? -std::numeric_limits<float>::max()
                                : std::numeric_limits<float>::max();
    }
    return F(v);
}

float ClampValue(double v, double lo, double hi) {
    if (std::isnan(v)) return F(lo);
    return F(std::clamp(v, lo, hi));
}

} // namespace kes
