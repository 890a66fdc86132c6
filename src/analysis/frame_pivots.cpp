// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frame_pivots.h"

#include "analysis/report_format.h"

#include <array>
#include <charconv>

namespace kes {

namespace {

// The values are the model's 32-bit reals: written as the shortest text
// that reads back to the same float, as the dims command writes them.
std::string FloatCell(const std::optional<double>& v) {
    if (!v) return {};
    std::array<char, 32> buffer{};
    const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), float(*v));
    return std::string(buffer.data(), r.ptr);
}

// A position the solver holds as a float (its absolute pivots, step 0).
double AsFloat(double v) {
    return double{float(v)};
}

} // namespace

std::vector<FramePivot> FramePivots(const Mechanism& m) {
    const PointSlot& mount = m.Points[GearMount];
    const PointSlot& rev = m.Points[RevArmPivot];
    const PointSlot& bell = m.Points[BellCrankPivot];
    const double cl = m.Points[Crosshead].Y;
    std::vector<FramePivot> t;
    t.push_back({"Driver axle centre (datum)", "", "", 0.0, 0.0, std::nullopt, std::nullopt,
                 "origin of every position"});
    t.push_back({"Gear mount", "GearMountX", "GearMountY", mount.X, mount.Y, mount.X, mount.Y,
                 "forward of and above the axle"});
    t.push_back({"Reverse-arm pivot", "RevArmPivotX", "RevArmPivotY",
                 AsFloat(double{mount.X} - rev.X), AsFloat(double{mount.Y} - rev.Y), rev.X, rev.Y,
                 "stored behind and below the gear mount"});
    t.push_back({"Bell-crank pivot", "BellCrankPivotX", "BellCrankPivotY",
                 AsFloat(double{mount.X} - bell.X), AsFloat(double{mount.Y} + bell.Y), bell.X,
                 bell.Y, "stored behind and above the gear mount"});
    t.push_back({"Cylinder centre", "CylCtrToDriver", "CylCLAboveDriver",
                 m.Cylinder[CylCtrToDriver], cl, m.Cylinder[CylCtrToDriver], cl,
                 "the cylinder centre line runs level at this height"});
    t.push_back({"Valve-stem line", "", "ValveStemToCylCL", std::nullopt,
                 AsFloat(cl + m.Cylinder[ValveStemToCylCL]), std::nullopt,
                 m.Cylinder[ValveStemToCylCL], "level; stored above the cylinder centre line"});
    return t;
}

std::string FramePivotsCsv(const std::vector<FramePivot>& pivots) {
    std::string text = "pivot,x_name,y_name,x,y,stored_x,stored_y,note\n";
    for (const FramePivot& p : pivots) {
        for (const std::string& cell :
             {CsvText(p.Name), p.XName, p.YName, FloatCell(p.X), FloatCell(p.Y),
              FloatCell(p.StoredX), FloatCell(p.StoredY)}) {
            text += cell;
            text += ',';
        }
        text += CsvText(p.Note);
        text += '\n';
    }
    return text;
}

} // namespace kes
