// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where every stored value sits in a dimension file. Reader and writer both
// walk this one table, so they cannot drift apart.

#include "model/model.h"

namespace kes {

constexpr int KvdRecordCount = 72;   // a complete ".kvd" file, 1440 bytes
constexpr int KvxRecordCount = 13;   // the older ".kvx" file
constexpr int FixedRecordCount = 19; // records 0..18: dimensions, view, positions
constexpr int FirstLineRecord = 19;  // records 19..70: the LineTable
constexpr int CurrentItemRecord = 71;

// Calls visit(record, slot, value) for every value of records 0 to 70, in
// file order; slot counts from 0 and value is a float& or int32_t& (const
// when m is). Record 71 (four zeros and CurrentItem) is left to the caller.
template <class M, class Visit> void VisitStoredValues(M& m, Visit&& visit) {
    auto& f = m.Frame;
    auto& b = m.Baker;
    auto& c = m.Cylinder;
    auto& p = m.Points;
    auto& view = m.CurrentView;
    auto& pos = m.RevArmPositions;
    auto& pre = m.ViewPresets;
    auto row = [&](int r, auto&... v) {
        int s = 0;
        (visit(r, s++, v), ...);
    };

    row(0, f.ValveRodLength, f.CombLeverUpper, f.CombLeverBackSet, f.CombLeverLower,
        f.UnionLinkLength);
    row(1, f.MainRodLength, f.EccRodLength, f.DropLinkBackSet, f.DropLinkVert, p[GearMount].X);
    row(2, p[GearMount].Y, f.EccCrankLength, f.StrokeLength, f.EccCircleDiameter,
        b.RevArmUpperLength);
    row(3, b.RadiusBarLength, b.RevArmLowerLength, p[RevArmPivot].X, p[RevArmPivot].Y,
        b.GearConRodLower);
    row(4, b.GearConRodUpper, b.GearConRodBackset, b.BellCrankHorz, b.BellCrankVert,
        p[BellCrankPivot].X);
    row(5, p[BellCrankPivot].Y, b.BellCrankBackSet, p[RevArmPivotCopy].X, p[RevArmPivotCopy].Y,
        p[BellCrankPivotCopy].X);
    row(6, p[BellCrankPivotCopy].Y, c[CylCtrToDriver], c[BoreDiameter], c[BoreLength], c[CylSpare]);
    row(7, c[CylSteamPortWidth], c[PistonRodLength], c[PistonWidth], c[ValveSurfaceToCylCL],
        c[ValveStemToCylCL]);
    row(8, c[ExhaustPortWidth], c[BridgeWidthRear], c[SteamPortWidthRear], c[ValveChamberHeight],
        c[ValveChamberLength]);
    row(9, c[ValveHeight], c[ValveLengthRear], c[ExhCavityRear], c[ValveCtrToJoint],
        c[BridgeWidthFront]);
    row(10, c[SteamPortWidthFront], c[ValveLengthFront], c[ExhCavityFront], m.VerticalScale,
        p[Crosshead].Y);
    row(11, p[GearConRodRadiusPin].Y, view.Scale, view.OffsetX, m.GraphicZoom, view.OffsetY);
    row(12, f.RevArmNorm, f.RevArmMax, m.RevArmSetting, f.DriverDiameter, m.DiagramRevArmSetting);
    for (int r = 13; r <= 16; ++r) {
        const int k = 5 * (r - 13);
        row(r, pre[k], pre[k + 1], pre[k + 2], pre[k + 3], pre[k + 4]);
    }
    row(17, pre[20], pos[1], pos[2], pos[3], pos[4]);
    row(18, pos[5], pos[6], pos[7], pos[8], pos[9]);

    // Thirteen fields of four records each; item i is slot (i-1)%5 of the
    // field's record (i-1)/5.
    int first = FirstLineRecord;
    auto field = [&](auto member) {
        for (int item = 1; item <= LineItemCount; ++item)
            visit(first + (item - 1) / 5, (item - 1) % 5, m.LineTable[item].*member);
        first += 4;
    };
    field(&LineItem::Point1X);
    field(&LineItem::Point1Y);
    field(&LineItem::Point2X);
    field(&LineItem::Point2Y);
    field(&LineItem::Ref1X);
    field(&LineItem::Ref1Y);
    field(&LineItem::Ref2X);
    field(&LineItem::Ref2Y);
    field(&LineItem::ItemType);
    field(&LineItem::ItemColor);
    field(&LineItem::RefMode);
    field(&LineItem::Ref1Pivot);
    field(&LineItem::Ref2Pivot);
}

} // namespace kes
