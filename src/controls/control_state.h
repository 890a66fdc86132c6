// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window's widgets show (bar positions, enabled flags, the
// running state), the ranges of its scroll bars and the limits of the values
// its small dialogs take. The handlers in motion.h, view.h, picking.h and
// display.h work on the model and a ControlState; the window mirrors both
// into its widgets. Setting a bar's position from a handler behaves as the
// window's scroll bars do: the bar's change handler runs when the position
// really changes. Standard library only.

#include "model/model.h"
#include "model/self_centring.h"

#include <array>
#include <string>

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
    bool PresetArmed = false;        // "P" pressed: the next preset button stores
    bool NormAfterHighlight = false; // "Norm" waits for the highlight to end

    // Reference points: bars 1V, 1H, 2V, 2H.
    std::array<SelfCentringBar, 4> RefBars;
    bool RefPt1ZeroEnabled = false;
    bool RefPt2ZeroEnabled = false;

    // "SetP&anZoom On"/"Off": usable only while screen data is off.
    bool PanZoomShown = false;
    bool PanZoomMenuEnabled = false;
    std::string PanZoomCaption = "SetP&anZoom On";

    // Whether the dynamic-variable bars are shown while DynVarMode is on
    // ("&ResetAllDimensions" hides them until a dimension is selected).
    bool DynVarBarsShown = true;

    // Mouse: a left click arms the two-pivot pick of the lines window.
    bool ClickLatch = false;
};

// The state of a freshly created window for a freshly initialised model.
ControlState InitialControlState(const Model& m);

} // namespace kes
