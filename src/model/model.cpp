// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model.h"

#include "model/design_edit.h"
#include "model/dyn_vars.h"
#include "model/mid_gear.h"
#include "model/rounding.h"

namespace kes {

CylinderArray FactoryCylinder() {
    CylinderArray c{};
    c[CylCtrToDriver] = 24.624f;
    c[BoreDiameter] = 2.5f;
    c[BoreLength] = 4.625f;
    c[CylSpare] = 0.0f;
    c[CylSteamPortWidth] = 0.312f;
    c[PistonRodLength] = 7.875f;
    c[PistonWidth] = 0.5f;
    c[ValveSurfaceToCylCL] = 2.5f;
    c[ValveStemToCylCL] = 3.0f;
    c[ExhaustPortWidth] = 0.5625f;
    c[BridgeWidthRear] = 0.281f;
    c[SteamPortWidthRear] = 0.281f;
    c[ValveChamberHeight] = 1.2f;
    c[ValveChamberLength] = 3.5f;
    c[ValveHeight] = 0.8f;
    c[ValveLengthRear] = 1.062f;
    c[ExhCavityRear] = 0.562f;
    c[ValveCtrToJoint] = 5.695f;
    c[BridgeWidthFront] = 0.281f;
    c[SteamPortWidthFront] = 0.281f;
    c[ValveLengthFront] = 1.062f;
    c[ExhCavityFront] = 0.562f;
    return c;
}

namespace {

constexpr std::array<float, 21> DefaultViewPresets = {
    0.0f,   0.0f,     0.0f,    // triple 0: the pending copy taken by "P"
    62.0f,  315.0f,   237.0f,  // 1
    45.0f,  -220.0f,  395.0f,  // 2
    55.0f,  -800.0f,  275.0f,  // 3
    62.0f,  -1200.0f, 322.0f,  // 4
    400.0f, -9350.0f, 1250.0f, // 5
    400.0f, -9700.0f, 1250.0f, // 6
};

} // namespace

void KeepInvariants(Mechanism& m) {
    m.Points[RevArmPivotCopy].X = m.Points[RevArmPivot].X;
    m.Points[RevArmPivotCopy].Y = m.Points[RevArmPivot].Y;
    m.Points[BellCrankPivotCopy].X = m.Points[BellCrankPivot].X;
    m.Points[BellCrankPivotCopy].Y = m.Points[BellCrankPivot].Y;
    m.Points[ValveStemJoint].Y = m.Points[Crosshead].Y + m.Cylinder[ValveStemToCylCL];
}

void SetRevArmBarRange(Model& m) {
    m.RevArmBarMax = RoundHalfEven(static_cast<double>(m.Frame.RevArmMax) * 1000.0);
    m.RevArmBarMin = RoundHalfEven(-static_cast<double>(m.Frame.RevArmMax) * 1000.0);
}

void ApplyFrameDefaults(Model& m) {
    m.Frame = m.FrameFactory.Dims;
    m.Points[GearMount].X = m.FrameFactory.GearMountX;
    m.Points[GearMount].Y = m.FrameFactory.GearMountY;
}

void ApplyBakerAssyDefaults(Model& m) {
    m.Baker = m.BakerFactory.Dims;
    m.Points[RevArmPivot].X = m.BakerFactory.RevArmPivotX;
    m.Points[RevArmPivot].Y = m.BakerFactory.RevArmPivotY;
    m.Points[BellCrankPivot].X = m.BakerFactory.BellCrankPivotX;
    m.Points[BellCrankPivot].Y = m.BakerFactory.BellCrankPivotY;
    KeepInvariants(m);
}

void ApplyCylinderDefaults(Model& m) {
    m.Cylinder = m.CylinderFactory;
    m.Points[Crosshead].Y = 0.0f; // CylCLAboveDriver
    m.Points[ValveStemJoint].Y = m.Points[Crosshead].Y + m.Cylinder[ValveStemToCylCL];
}

void InitialiseModel(Model& m) {
    // (1) General defaults: a fresh model holds them all, except the tables
    // filled below; keep the factory tables out of the reset.
    m = Model{};
    m.Points[RevArmTop].X = m.RevArmSetting; // 10.3 until mid gear is found
    m.RevArmPositions.fill(0.0f);
    ClearDynVarSlots(m);
    // (2) The view from its home values.
    m.CurrentView = View{};
    m.NormalView = View{};
    m.SavedView = View{};
    m.ZoomAnchorView = View{};
    m.ViewPresets = DefaultViewPresets;
    // (3)-(5) The factory tables.
    m.FrameFactory = FrameDefaults{};
    m.BakerFactory = BakerDefaults{};
    m.CylinderFactory = FactoryCylinder();
    // (6)-(8) Apply the groups.
    ApplyFrameDefaults(m);
    ApplyBakerAssyDefaults(m);
    ApplyCylinderDefaults(m);
    // (9) Mid gear, which also sets RevArmSetting.
    FindMidGear(m);
    // (10) The reverse-arm bar's range.
    SetRevArmBarRange(m);
}

namespace {

void AfterGroupReset(Model& m, bool clearUndo) {
    ClearDynVarSlots(m);
    ReapplyAllDynVars(m);
    if (clearUndo) ClearUndo(m);
    BumpDesignRevision(m);
}

} // namespace

void ResetFrameGroup(Model& m, bool clearUndo) {
    ApplyFrameDefaults(m);
    SetRevArmBarRange(m);
    AfterGroupReset(m, clearUndo);
}

void ResetBakerAssyGroup(Model& m, bool clearUndo) {
    ApplyBakerAssyDefaults(m);
    SetRevArmBarRange(m);
    AfterGroupReset(m, clearUndo);
}

void ResetCylinderGroup(Model& m, bool clearUndo) {
    ApplyCylinderDefaults(m);
    AfterGroupReset(m, clearUndo);
}

void CenterRevArm(Model& m) {
    m.RevArmSetting = m.MidGear();
    m.Points[RevArmTop].X = m.RevArmSetting;
    m.GearDirection = GearDir::Fwd;
    m.CutOffFrontText.clear();
    m.CutOffRearText.clear();
}

void ResetAllDimensions(Model& m) {
    ResetFrameGroup(m, true);
    ResetBakerAssyGroup(m, true);
    ResetCylinderGroup(m, true);
    FindMidGear(m);
    CenterRevArm(m);
    m.SavedView = m.CurrentView;
    m.CurrentView = m.NormalView;
    m.ZoomAnchorView = m.CurrentView;
    m.DataSetName = "Nominal";
    m.VerticalScale = 1.5f;
    ClearUndo(m);
}

} // namespace kes
