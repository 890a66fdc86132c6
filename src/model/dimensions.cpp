// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/dimensions.h"

#include <array>

namespace kes {

namespace {

constexpr std::array<DimensionInfo, 28> FrameNames = {{
    {1, "Driver Dia"},
    {2, "Stroke"},
    {3, "Main Rod Length"},
    {4, "Drop Link to CrossH Vert"},
    {5, "Drop Link to CrossH BkS"},
    {6, "Union Link Length"},
    {7, "Combo Lever Upper"},
    {8, "Combo Lever Back Set"},
    {9, "Combo Lever Lower"},
    {10, "Valve Rod Length"},
    {11, "Ecc Crank Length"},
    {12, "Ecc Crank Cir Dia"},
    {13, "Ecc Rod Length"},
    {14, "Baker Gear Mtg Vert"},
    {15, "Baker Gear Mtg Horz"},
    {16, "Rev Arm Upper Length"},
    {17, "Rev Arm Lower Length"},
    {18, "Rev Arm Pivot Vert"},
    {19, "Rev Arm Pivot Horz"},
    {20, "Radius Bar Length"},
    {21, "Gear Con Rod Upper"},
    {22, "Gear Con Rod Lower"},
    {23, "Gear Con Rod Lower BkS"},
    {24, "Bell Crank Vert Length"},
    {25, "Bell Crank Backset"},
    {26, "Bell Crank Horz Length"},
    {27, "Bell Crank Pivot Vert"},
    {28, "Bell Crank Pivot Horz"},
}};

constexpr std::array<DimensionInfo, 22> CylinderNames = {{
    {101, "Cyl ctr to Driver ctr"},
    {102, "Cyl CL above Driver ctr"},
    {103, "Cylinder Bore Dia"},
    {104, "Cylinder Bore Length"},
    {105, "Cyl Steam Port Width"},
    {106, "Piston ctr to Crosshead"},
    {107, "Piston Width"},
    {108, "Valve Surface to Cyl CL"},
    {109, "Valve Stem CL to Cyl CL"},
    {110, "Exhaust Port  Width"},
    {111, "Bridge Width   Rear"},
    {112, "Bridge Width   Front"},
    {113, "Steam Port Width  Rear"},
    {114, "Steam Port Width   Front"},
    {115, "Valve Chamber    Height"},
    {116, "Valve Chamber Length"},
    {117, "Valve Height"},
    {118, "Valve Length  Rear Half"},
    {119, "Valve Length   Front Half"},
    {120, "Valve Exh CavityRearHalf"},
    {121, "Valve ExhCavityFrontHalf"},
    {122, "Valve Stem"},
}};

// Cylinder dialog field N (id 100 + N) to its slot of the CylinderArray;
// -1 is field 2, which is the Y of the crosshead.
constexpr std::array<int, 22> CylinderSlotOfField = {
    CylCtrToDriver,     -1,
    BoreDiameter,       BoreLength,
    CylSteamPortWidth,  PistonRodLength,
    PistonWidth,        ValveSurfaceToCylCL,
    ValveStemToCylCL,   ExhaustPortWidth,
    BridgeWidthRear,    BridgeWidthFront,
    SteamPortWidthRear, SteamPortWidthFront,
    ValveChamberHeight, ValveChamberLength,
    ValveHeight,        ValveLengthRear,
    ValveLengthFront,   ExhCavityRear,
    ExhCavityFront,     ValveCtrToJoint,
};

// The storage of a dimension, or nullptr for an unknown id.
float* Storage(Mechanism& m, int id) {
    FrameDimensions& f = m.Frame;
    BakerDimensions& b = m.Baker;
    auto& p = m.Points;
    switch (id) {
    case 1:
        return &f.DriverDiameter;
    case 2:
        return &f.StrokeLength;
    case 3:
        return &f.MainRodLength;
    case 4:
        return &f.DropLinkVert;
    case 5:
        return &f.DropLinkBackSet;
    case 6:
        return &f.UnionLinkLength;
    case 7:
        return &f.CombLeverUpper;
    case 8:
        return &f.CombLeverBackSet;
    case 9:
        return &f.CombLeverLower;
    case 10:
        return &f.ValveRodLength;
    case 11:
        return &f.EccCrankLength;
    case 12:
        return &f.EccCircleDiameter;
    case 13:
        return &f.EccRodLength;
    case 14:
        return &p[GearMount].Y;
    case 15:
        return &p[GearMount].X;
    case 16:
        return &b.RevArmUpperLength;
    case 17:
        return &b.RevArmLowerLength;
    case 18:
        return &p[RevArmPivot].Y;
    case 19:
        return &p[RevArmPivot].X;
    case 20:
        return &b.RadiusBarLength;
    case 21:
        return &b.GearConRodUpper;
    case 22:
        return &b.GearConRodLower;
    case 23:
        return &b.GearConRodBackset;
    case 24:
        return &b.BellCrankVert;
    case 25:
        return &b.BellCrankBackSet;
    case 26:
        return &b.BellCrankHorz;
    case 27:
        return &p[BellCrankPivot].Y;
    case 28:
        return &p[BellCrankPivot].X;
    case RevArmNormId:
        return &f.RevArmNorm;
    case RevArmMaxId:
        return &f.RevArmMax;
    default:
        break;
    }
    if (id >= 101 && id <= 122) {
        const int slot = CylinderSlotOfField[static_cast<size_t>(id - 101)];
        return slot < 0 ? &p[Crosshead].Y : &m.Cylinder[static_cast<size_t>(slot)];
    }
    return nullptr;
}

} // namespace

bool IsDimensionId(int id) {
    return (id >= 1 && id <= 28) || (id >= 101 && id <= 122);
}

bool IsListedDimensionId(int id) {
    return IsDimensionId(id) || id == RevArmNormId || id == RevArmMaxId;
}

std::string_view DimensionName(int id) {
    if (id >= 1 && id <= 28) return FrameNames[static_cast<size_t>(id - 1)].Name;
    if (id == RevArmNormId) return "Rev Arm to Cent Norm";
    if (id == RevArmMaxId) return "Rev Arm to Cent Max";
    if (id >= 101 && id <= 122) return CylinderNames[static_cast<size_t>(id - 101)].Name;
    return {};
}

float GetDimension(const Mechanism& m, int id) {
    const float* v = Storage(const_cast<Mechanism&>(m), id);
    return v ? *v : 0.0f;
}

bool SetDimension(Mechanism& m, int id, float value) {
    float* v = Storage(m, id);
    if (!v) return false;
    *v = value;
    KeepInvariants(m);
    return true;
}

} // namespace kes
