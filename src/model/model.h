// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one model of a run, in three parts: the design (what a dimension file
// holds), the operating variables with the solver's outputs, and the screen
// state the windows share. The application creates one Model and hands it
// to every window by reference; the solver and the analysis take the
// Mechanism part. Tests create their own. Standard library only.

#include "model/design_listeners.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kes {

// Point-table slots. 0..21 are mechanism points, 22 and 23 solver scratch.
enum PointIndex : int {
    DriverCentre = 0,
    RevArmTop = 1,
    RevArmRadiusPin = 2,
    Crosshead = 3,
    ValveStemJoint = 4,
    BellCrankHorzPin = 5,
    BellCrankPivot = 6, // relative to GearMount: X behind, Y above
    BellCrankVertPin = 7,
    ValveRodFrontPin = 8,
    GearConRodRadiusPin = 9,
    CombLeverLowerPin = 10,
    RevArmPivot = 11, // relative to GearMount: X behind, Y below
    CrankPin = 12,
    CrankOffset = 13,
    EccCrankPin = 14,
    EccRodFrontPin = 15,
    GearMount = 16,
    RevArmPivotCopy = 17,
    BellCrankPivotCopy = 18,
    RefPoint1 = 19,
    RefPoint2 = 20,
    UnionLinkRearPin = 21,
    BellCrankPivotAbs = 22,
    RevArmPivotAbs = 23,
    PointCount = 27,
    DrawnPointCount = 22,
};

struct PointSlot {
    float X = 0.0f; // world
    float Y = 0.0f;
    int32_t SX = 0; // window pixels, y down
    int32_t SY = 0;
};

// Slots of the CylinderArray. The order is also the order in the dimension file.
enum CylinderSlot : int {
    CylCtrToDriver = 0,
    BoreDiameter = 1,
    BoreLength = 2,
    CylSpare = 3,
    CylSteamPortWidth = 4,
    PistonRodLength = 5,
    PistonWidth = 6,
    ValveSurfaceToCylCL = 7,
    ValveStemToCylCL = 8,
    ExhaustPortWidth = 9,
    BridgeWidthRear = 10,
    SteamPortWidthRear = 11,
    ValveChamberHeight = 12,
    ValveChamberLength = 13,
    ValveHeight = 14,
    ValveLengthRear = 15,
    ExhCavityRear = 16,
    ValveCtrToJoint = 17,
    BridgeWidthFront = 18,
    SteamPortWidthFront = 19,
    ValveLengthFront = 20,
    ExhCavityFront = 21,
    CylinderSlotCount = 22,
};

// Frame group (the left column of the frame dialog plus its last two rows).
struct FrameDimensions {
    float DriverDiameter = 9.0f;
    float StrokeLength = 3.5f;
    float MainRodLength = 16.75f;
    float DropLinkVert = 1.0f;
    float DropLinkBackSet = 0.0f;
    float UnionLinkLength = 2.65f;
    float CombLeverUpper = 0.61f;
    float CombLeverBackSet = 0.28f;
    float CombLeverLower = 4.0f;
    float ValveRodLength = 6.343f;
    float EccCrankLength = 2.035f;
    float EccCircleDiameter = 2.375f;
    float EccRodLength = 11.1f;
    float RevArmNorm = 1.5f; // reverse-arm top travel, mid gear to normal full gear
    float RevArmMax = 1.7f;  // largest travel from mid gear
};

// Baker assembly group (the right column of the frame dialog).
struct BakerDimensions {
    float RevArmUpperLength = 1.406f;
    float RevArmLowerLength = 2.188f;
    float RadiusBarLength = 2.188f;
    float GearConRodUpper = 1.844f;
    float GearConRodLower = 2.488f;
    float GearConRodBackset = 0.25f;
    float BellCrankVert = 2.916f;
    float BellCrankBackSet = 0.937f;
    float BellCrankHorz = 2.125f;
};

// The factory tables. The mounting point and the two pivots are dimensions
// too, but their live values sit in the point table (Points 16, 11, 6).
struct FrameDefaults {
    FrameDimensions Dims;
    float GearMountX = 13.875f; // Point 16 X
    float GearMountY = 5.0f;    // Point 16 Y
};
struct BakerDefaults {
    BakerDimensions Dims;
    float RevArmPivotX = 2.961f;    // Point 11 X, behind GearMount
    float RevArmPivotY = 1.75f;     // Point 11 Y, below GearMount
    float BellCrankPivotX = 1.25f;  // Point 6 X, behind GearMount
    float BellCrankPivotY = 0.891f; // Point 6 Y, above GearMount
};

using CylinderArray = std::array<float, CylinderSlotCount>;
CylinderArray FactoryCylinder();

// Everything SolveLinkage and SolvePortOpenings write besides the points.
struct SolverOutputs {
    float CrankRadius = 0, EccRadius = 0;
    float EccLeadAngle = 0; // degrees
    float GearConRodSpan = 0;
    float GearConRodAngle = 0; // radians
    float BellCrankVertSpan = 0;
    float CombLeverTopSpan = 0;
    float InnerStep = 0, OuterStep = 0;
    float MainRodCopy = 0, StrokeCopy = 0;
    float SignFactorA = 1, SignFactorB = 1;
    // Port geometry.
    float NegFrontSteamLap = 0;       // = FrontSteamOpenLevel
    float FrontBridgeToValveEdge = 0; // = FrontSteamMaxLevel
    float NegFrontExhaustLap = 0;     // = FrontExhaustOpenLevel
    float NegRearSteamLap = 0;        // = RearSteamOpenLevel
    float RearBridgeToValveEdge = 0;  // = RearSteamMaxLevel
    float NegRearExhaustLap = 0;      // = RearExhaustOpenLevel
    float ValveOffset = 0;            // valve centre ahead of the cylinder centre
    float RearAdmitJointNeg = 0;
    float FrontAdmitJoint = 0;
    float FrontSteamLap = 0, RearSteamLap = 0;
    float FrontExhaustLap = 0, RearExhaustLap = 0;
    // Port openings: positive while open, then equal to the opening width.
    float PistonTravel640 = 0; // 0 at front dead centre, 640 at rear
    float FrontSteamOpen = 0, FrontExhaustOpen = 0;
    float RearSteamOpen = 0, RearExhaustOpen = 0;

    // The six port-edge levels the diagrams draw, as values of ValveOffset.
    float FrontSteamOpenLevel() const { return NegFrontSteamLap; }
    float FrontSteamMaxLevel() const { return FrontBridgeToValveEdge; }
    float FrontExhaustOpenLevel() const { return NegFrontExhaustLap; }
    float RearSteamOpenLevel() const { return NegRearSteamLap; }
    float RearSteamMaxLevel() const { return RearBridgeToValveEdge; }
    float RearExhaustOpenLevel() const { return NegRearExhaustLap; }
};

struct View {
    float Scale = 19.0f;
    float OffsetX = 100.0f;
    float OffsetY = 280.0f;
};

constexpr int DynVarSlotCount = 5; // slot 0 = just edited, 1..4 = the dynamic variables
constexpr int UndoEntryCount = 21; // entry 1 is the newest
constexpr int MaxNameLength = 25;
// Thirteen blanks and "??": the name of an empty dynamic-variable slot.
inline const std::string EmptySlotName = "             ??";

struct DynVarSlot {
    int32_t Id = 0;
    float Value = 0.0f;
    std::string Name = EmptySlotName;
};

struct UndoEntry {
    int32_t Id = 0;
    float Before = 0.0f;
    float After = 0.0f;
    std::string Name;
};

// One item of the user's lines and circles. Unset values are -1.
struct LineItem {
    float Point1X = -1, Point1Y = -1, Point2X = -1, Point2Y = -1;
    float Ref1X = -1, Ref1Y = -1, Ref2X = -1, Ref2Y = -1;
    int32_t ItemType = -1;  // 0 line, 1 circle
    int32_t ItemColor = -1; // index into LineColors (picture/line_colors.h)
    int32_t RefMode = -1;   // 0..3
    int32_t Ref1Pivot = -1; // point-table slot
    int32_t Ref2Pivot = -1;
};
constexpr int LineItemCount = 20;

struct PivotSlot {
    bool Active = false;
    int32_t PointIndex = 0;
};

enum class GearDir { Fwd, Rev };
inline const char* GearDirText(GearDir d) {
    return d == GearDir::Fwd ? "Fwd" : "Rev";
}

// What a dimension file holds: the dimensions, the factory tables, the
// reverse-arm positions, the views and presets, the pivots picked for the
// data table and the user's lines and circles. GearMount, RevArmPivot,
// BellCrankPivot, their copies and CylCLAboveDriver (Point 3 Y) are
// dimensions too, but live in the point table of Mechanism.
struct Design {
    FrameDimensions Frame;
    BakerDimensions Baker;
    CylinderArray Cylinder{};

    // Factory tables, filled once by InitialiseModel.
    FrameDefaults FrameFactory;
    BakerDefaults BakerFactory;
    CylinderArray CylinderFactory{};

    std::array<float, 10> RevArmPositions{}; // [0] = MidGear
    int RevArmPositionCount = 1;
    float VerticalScale = 1.5f;
    float DiagramRevArmSetting = 0.0f; // carried through the dimension file only
    float MidGear() const { return RevArmPositions[0]; }

    std::string DataSetName = "Nominal";

    // View (pan, zoom, presets; the reference points live in Points 19 and 20).
    View CurrentView;
    View NormalView;
    View SavedView;
    View ZoomAnchorView;
    std::array<float, 21> ViewPresets{};
    float GraphicZoom = 7.5f;

    // Pivot data: the points whose positions the data table shows.
    std::array<PivotSlot, 7> PivotSlots{}; // 1..6 used

    // Lines and circles.
    std::array<LineItem, LineItemCount + 1> LineTable{}; // 1..20 used
    int CurrentItem = 1;
    float CurrentItemHolding = 1.0f; // survives between file commands
};

// The operating variables and the solver's outputs besides the points.
struct Operating {
    float DriverAngle = 0.0f; // degrees, kept in 0..360.1
    float StepAngle = 10.0f;  // 0 while stopped
    float RunStepAngle = 10.0f;
    float SelectedStepAngle = 10.0f;
    GearDir GearDirection = GearDir::Fwd;
    float RevArmSetting = 10.3f;

    SolverOutputs Solver;
    float SolveTolerance = 0.0001f;
    bool SolveError = false;
    bool BeepOnError = true;
};

// What the solver and the analysis see: the design, the operating variables
// and the point table, which carries both the pivots and the solved points.
struct Mechanism : Design, Operating {
    std::array<PointSlot, PointCount> Points{};
};

// One dimension's change within an undo step.
struct DimensionChange {
    int32_t Id = 0;
    float Before = 0.0f;
    float After = 0.0f;
};

// What finding mid gear writes, kept before and after a step that found it.
struct MidGearState {
    std::array<float, 10> RevArmPositions{};
    int RevArmPositionCount = 1;
    float RevArmSetting = 0.0f;
    float RevArmTopX = 0.0f;
    GearDir GearDirection = GearDir::Fwd;
};

// The rest of an undo step beyond the entry the UnDo line shows. An entry
// without details is one dimension from Before to After; a step of several
// dimensions lists them; a step that replaced the whole design (Scale
// Design) keeps the design before and after it.
struct UndoStepDetail {
    std::vector<DimensionChange> Changes;
    std::optional<MidGearState> MidGearBefore, MidGearAfter;
    std::shared_ptr<const Mechanism> DesignBefore, DesignAfter;
};

struct RedoEntry {
    UndoEntry Shown;
    UndoStepDetail Detail;
};

// What only the windows need: display settings, the picking and highlight
// state, the dynamic variables and the undo record, and the values the
// controls and the dialogs pass to each other.
struct ScreenState {
    bool RedrawPending = false;

    // Display settings.
    bool ScreenDataOn = true;
    bool SteamDisplayOn = false;
    int LineWidth = 1;
    float TextScaleX = 1.0f;
    float TextScaleY = 1.0f;
    bool ReferencePointsOn = false;
    bool PivotDataOn = false;
    bool DynVarMode = false;
    bool UndoDisplay = false;

    // The pivot pick of the data table.
    bool PivotPickArmed = false;
    int PivotPickSlot = 1;

    // While the lines-and-circles window waits for a pivot pick the drawing
    // shows its prompts; RefChoice 3 asks for two pivots.
    bool LinesPickWaiting = false;
    int LinesPickRefChoice = 0;

    // Dynamic variables and undo.
    std::array<DynVarSlot, DynVarSlotCount> DynVarSlots{};
    float DynVarDelta = 0.001f;
    int CurrentDynVar = 1;
    float DynVarBefore = 0.0f; // remembered when a bar is entered
    std::array<UndoEntry, UndoEntryCount> UndoRecord{};
    // What each entry of UndoRecord changed, index for index (model/design_edit.h).
    std::array<UndoStepDetail, UndoEntryCount> UndoDetails{};
    int UndoCount = 0;
    // The steps undone since the last new edit, the newest last.
    std::vector<RedoEntry> RedoRecord;
    // Enabled state of the UnDo buttons: main, sine, oval, steam, port events.
    bool UndoButtonsEnabled = false;

    // Reverse-arm scroll bar range, read by the main window.
    int32_t RevArmBarMin = -100;
    int32_t RevArmBarMax = 100;

    // Dimension highlight (0 = off): set by the dimension dialogs' small
    // buttons, run by the main window's drawing.
    int HighlightedDimension = 0;
    // Cut-off read-outs of the main window, emptied when the reverse arm
    // moves; the drawing hands new values back with its frame outcome.
    std::string CutOffFrontText;
    std::string CutOffRearText;

    // Port events diagram: 'F', 'R' or 'B'.
    char PortGraphMode = 'F';

    // Every edit of the design adds one (model/design_edit.h). Unsaved
    // changes (model/design_changes.h): the design is modified while
    // DesignRevision differs from the revision last saved or opened.
    uint64_t DesignRevision = 0;
    uint64_t SavedDesignRevision = 0;
    // Told of every new revision (model/design_edit.h) and of a mid gear
    // found again; a copy of the model starts with none.
    DesignListeners Listeners;
};

// The one model of a run: the mechanism and the screen state.
struct Model : Mechanism, ScreenState {};

// Start-up, all ten steps: defaults, view, factory tables, groups, mid gear,
// reverse-arm bar range.
void InitialiseModel(Model& m);
void ApplyFrameDefaults(Model& m);
void ApplyBakerAssyDefaults(Model& m);
void ApplyCylinderDefaults(Model& m);
// Sets RevArmBarMin/Max from RevArmMax.
void SetRevArmBarRange(Model& m);

// Group resets of the dimension dialogs. clearUndo is false for the
// mouse-down half of a reset button, true for the click.
void ResetFrameGroup(Model& m, bool clearUndo);
void ResetBakerAssyGroup(Model& m, bool clearUndo);
void ResetCylinderGroup(Model& m, bool clearUndo);
// The model side of "&ResetAllDimensions": the three resets, mid gear, the
// reverse arm to the centre, the normal view, DataSetName, VerticalScale,
// undo cleared. The window hides its dynamic-variable bars.
void ResetAllDimensions(Model& m);

// Point 17 = Point 11, Point 18 = Point 6, valve-stem joint height.
void KeepInvariants(Mechanism& m);

// Reverse arm to mid gear (the "Cen" button's model side).
void CenterRevArm(Model& m);

} // namespace kes
