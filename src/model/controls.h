#pragma once
// The model side of the main window's controls: the reverse arm, driver and
// step angle, run/stop, pan and zoom, the presets, the reference points, the
// mouse picking of the drawing and the display settings, with the value
// handling of their small dialogs.
//
// Every handler is a plain function on the model and a ControlState, which
// holds what the window's widgets show (bar positions, enabled flags, the
// running state). The window mirrors ControlState and the model into its
// widgets; setting a bar's position from here behaves as the window's scroll
// bars do: the bar's change handler runs when the position really changes.
// Standard library only.

#include "model/model.h"
#include "model/self_centring.h"

#include <array>
#include <string>
#include <string_view>

namespace kes {

// Ranges of the window's scroll bars (the reverse-arm bar takes its range
// from the model's RevArmBarMin/Max).
namespace bars {
constexpr int DrvAngMin = -4000, DrvAngMax = 40000, DrvAngStart = 1;
constexpr int StepAngMin = 0, StepAngMax = 14613, StepAngStart = 12000;
constexpr int PanMin = -500, PanMax = 500;
constexpr int ZoomMin = -200, ZoomMax = 200;
constexpr int RefVertMin = -5000, RefVertMax = 5000;
constexpr int RefHorzMin = -10000, RefHorzMax = 10000;
constexpr int DynVarMin = -100, DynVarMax = 100;
// Positions per unit of the self-centring bars.
constexpr double PanPerPixel = 10.0;
constexpr double ZoomPerPercent = 10.0;
constexpr double RefPerUnit = 1000.0;
constexpr double DynVarPerUnit = 1000.0;
} // namespace bars

// The window pixel that a zoom keeps in place and a pan to a reference point
// centres on.
constexpr double ZoomCentreX = 320.0;
constexpr double ZoomCentreY = 240.0;
constexpr float MinViewScale = 0.5f;
constexpr float MaxViewScale = 3000.0f;
constexpr float MinGraphicZoom = 0.5f;
constexpr float MaxGraphicZoom = 2000.0f;
constexpr float MinStepAngle = 0.01f;
constexpr float MaxStepAngle = 45.0f;
constexpr float MinVerticalScale = 0.1f;
constexpr float MaxVerticalScale = 1000.0f;

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

struct ControlState {
    // Reverse arm.
    int RevArmPos = 0;
    bool CenterEnabled = false;
    bool FwdEnabled = true;
    bool RevEnabled = true;

    // Driver angle.
    int DrvAngPos = bars::DrvAngStart;
    bool DrvAngEnabled = false; // usable only while stopped
    int DrvAngSmallChange = 1000;
    int DrvAngLargeChange = 4500;
    bool Deg00Enabled = true;
    bool Deg180Enabled = true;
    bool Running = true; // the Run button reads "Stop" while running

    // Step angle. The bar's first change after start-up (its initial
    // position) is not a choice of the user.
    int StepAngPos = bars::StepAngStart;
    bool StepAngFirstCallSeen = false;
    bool Step1Enabled = true;
    bool Step10Enabled = false;
    bool Step45Enabled = true;

    // Pan and zoom.
    SelfCentringBar PanVertBar, PanHorzBar, ZoomBar;
    bool NormEnabled = false;
    bool PresetArmed = false; // "P" pressed: the next preset button stores

    // Reference points: bars 1V, 1H, 2V, 2H.
    std::array<SelfCentringBar, 4> RefBars;
    bool RefPt1ZeroEnabled = false;
    bool RefPt2ZeroEnabled = false;

    // "SetP&anZoom On"/"Off": usable only while screen data is off.
    bool PanZoomShown = false;
    bool PanZoomMenuEnabled = false;
    std::string PanZoomCaption = "SetP&anZoom On";

    // Dynamic-variable bars (1..4 used) and whether they are shown while
    // DynVarMode is on.
    std::array<SelfCentringBar, 5> DynVarBars;
    bool DynVarBarsShown = true;

    // Mouse: a left click arms the two-pivot pick of the lines window.
    bool ClickLatch = false;
};

// The state of a freshly created window for a freshly initialised model.
ControlState InitialControlState(const Model& m);

// ---- Reverse arm ----
// SBRevArmChange: the bar moved to p.
void RevArmChange(Model& m, ControlState& cs, int p);
// SBRevArm.Position := p (kept within the bar's range); runs the change
// handler when the position changes.
void SetRevArmPosition(Model& m, ControlState& cs, int p);
// After the model's RevArmBarMin/Max changed: the position is kept within it.
void ApplyRevArmRange(Model& m, ControlState& cs);
void CenterClick(Model& m, ControlState& cs);
void FwdClick(Model& m, ControlState& cs);
void RevClick(Model& m, ControlState& cs);

// ---- Driver angle and run/stop ----
void DrvAngChange(Model& m, ControlState& cs, int p);
void SetDrvAngPosition(Model& m, ControlState& cs, int p);
void Deg00Click(Model& m, ControlState& cs);
void Deg180Click(Model& m, ControlState& cs);
void RunClick(Model& m, ControlState& cs);

// ---- Step angle ----
void StepAngChange(Model& m, ControlState& cs, int p);
void SetStepAngPosition(Model& m, ControlState& cs, int p);
void Step1Click(Model& m, ControlState& cs);
void Step10Click(Model& m, ControlState& cs);
void Step45Click(Model& m, ControlState& cs);

// ---- The three motion dialogs ----
// Texts shown when TRevPos opens: "Min = ", "Cen = ", "Max = ", "Rev = ",
// "Fwd = " with their values, and the field.
struct RevPosTexts {
    std::array<std::string, 5> Labels;
    std::string Field;
};
RevPosTexts RevPosActivate(const Model& m);
void RevPosOk(Model& m, ControlState& cs, float value);
std::string DrivAngActivate(const Model& m, const ControlState& cs);
void DrivAngOk(Model& m, ControlState& cs, float value);
std::string StpAngActivate(const Model& m);
void StpAngOk(Model& m, ControlState& cs, float value);

// ---- Pan, zoom and presets ----
void PanVertChange(Model& m, ControlState& cs, int p);
void PanHorzChange(Model& m, ControlState& cs, int p);
void ZoomChange(Model& m, ControlState& cs, int p);
void NormClick(Model& m, ControlState& cs);
void Preset0Click(Model& m, ControlState& cs);
void PresetClick(Model& m, ControlState& cs, int n); // n = 1..6

// ---- Reference points ----
// bar: 0 = SBRef1Vert, 1 = SBRef1Horz, 2 = SBRef2Vert, 3 = SBRef2Horz.
void RefBarChange(Model& m, ControlState& cs, int bar, int p);
void RefPtZeroClick(Model& m, ControlState& cs, int point); // point = 1 or 2
void RefPtClick(Model& m, ControlState& cs, int point);     // pan to the point
void RefPointsClick(Model& m, ControlState& cs);
void SetReferencePoints(Model& m, ControlState& cs, bool on);
// TRefPnts: the field texts (V1, H1, V2, H2), "OK", "Cancel" and "Zero".
std::array<std::string, 4> RefPntsActivate(const Model& m);
void RefPntsOk(Model& m, ControlState& cs, float v1, float h1, float v2, float h2);
void RefPntsCancel(Model& m, ControlState& cs);
void RefPntsZero(Model& m, ControlState& cs);

// ---- Graphic zoom and the reverse-arm positions ----
std::string GraphZoomActivate(const Model& m);
void GraphZoomOk(Model& m, float value);
// TSetRevArm field n (1..9 a reverse-arm position, 10 the vertical scale).
std::string SetRevArmFieldText(const Model& m, int field);
void SetRevArmFieldLeft(Model& m, int field, float value);
void SetRevArmClose(Model& m);

// ---- Mouse picking ----
enum class MouseButton { Left, Right, Other };
struct PickResult {
    // The click belongs to the lines-and-circles window's pivot pick (left
    // button, or the right button after a left one for a two-pivot item).
    bool LinesPick = false;
    bool LinesPickRight = false;
    // The pick is complete: the lines-and-circles window is shown again.
    bool OpenLinesWindow = false;
    bool RefPointMoved = false;
    bool PivotPicked = false;
    bool PivotArmed = false;
};
// True where a click counts as a click on the drawing.
bool InDrawingArea(int x, int y);
// The slot of 1..23 (not 19, 20) nearest to RefPoint1, by |dY| + |dX|; the
// lowest index wins a tie.
int NearestPoint(const Model& m);
PickResult MousePick(Model& m, ControlState& cs, int x, int y, MouseButton button);

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

// A dynamic-variable bar n (1..4) moved to p: the self-centring step is
// applied to the slot's dimension. Returns the step.
double DynVarChange(Model& m, ControlState& cs, int n, int p);

// Captions of the "&SetUp" items for the current settings.
std::string SteamDispCaption(const Model& m);
std::string ErrorBeepCaption(const Model& m);
std::string LineWidthCaption(const Model& m);
std::string FontCaption(const Model& m);
std::string ScreenDataCaption(const Model& m);

// What is shown and usable, for the window to mirror.
bool PanZoomBarsVisible(const Model& m, const ControlState& cs);
bool RefControlsVisible(const Model& m);
bool DataTableVisible(const Model& m);
bool DynVarBarsVisible(const Model& m, const ControlState& cs);
bool DynVarBarEnabled(const Model& m, int n);
bool UndoButtonVisible(const Model& m);
int UndoButtonTop(const Model& m);
bool DrawLinesEnabled(const Model& m);

// The value of a typed text: its longest leading part that is a number
// ("5-" gives 5, "-.5" gives -0.5), 0 when there is none. Never NaN.
float ParseTypedValue(std::string_view text);
// v kept within [lo, hi]; NaN becomes lo.
float ClampValue(double v, double lo, double hi);

} // namespace kes
