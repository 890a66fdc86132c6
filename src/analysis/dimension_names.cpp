// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/dimension_names.h"

#include "model/dimensions.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kes {

namespace {

// One name a line, as the dimension tables list them.
// clang-format off
constexpr std::array<NamedDimension, 52> Table = {{
    {"DriverDiameter", 1},
    {"StrokeLength", 2},
    {"MainRodLength", 3},
    {"DropLinkVert", 4},
    {"DropLinkBackSet", 5},
    {"UnionLinkLength", 6},
    {"CombLeverUpper", 7},
    {"CombLeverBackSet", 8},
    {"CombLeverLower", 9},
    {"ValveRodLength", 10},
    {"EccCrankLength", 11},
    {"EccCircleDiameter", 12},
    {"EccRodLength", 13},
    {"GearMountY", 14},
    {"GearMountX", 15},
    {"RevArmNorm", 29},
    {"RevArmMax", 30},
    {"RevArmUpperLength", 16},
    {"RevArmLowerLength", 17},
    {"RevArmPivotY", 18},
    {"RevArmPivotX", 19},
    {"RadiusBarLength", 20},
    {"GearConRodUpper", 21},
    {"GearConRodLower", 22},
    {"GearConRodBackset", 23},
    {"BellCrankVert", 24},
    {"BellCrankBackSet", 25},
    {"BellCrankHorz", 26},
    {"BellCrankPivotY", 27},
    {"BellCrankPivotX", 28},
    {"CylCtrToDriver", 101},
    {"CylCLAboveDriver", 102},
    {"BoreDiameter", 103},
    {"BoreLength", 104},
    {"CylSteamPortWidth", 105},
    {"PistonRodLength", 106},
    {"PistonWidth", 107},
    {"ValveSurfaceToCylCL", 108},
    {"ValveStemToCylCL", 109},
    {"ExhaustPortWidth", 110},
    {"BridgeWidthRear", 111},
    {"BridgeWidthFront", 112},
    {"SteamPortWidthRear", 113},
    {"SteamPortWidthFront", 114},
    {"ValveChamberHeight", 115},
    {"ValveChamberLength", 116},
    {"ValveHeight", 117},
    {"ValveLengthRear", 118},
    {"ValveLengthFront", 119},
    {"ExhCavityRear", 120},
    {"ExhCavityFront", 121},
    {"ValveCtrToJoint", 122},
}};
// clang-format on

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

} // namespace

std::span<const NamedDimension> NamedDimensions() {
    return Table;
}

std::string_view DimensionCodeName(int id) {
    for (const NamedDimension& d : Table)
        if (d.Id == id) return d.Name;
    return {};
}

std::optional<NamedDimension> FindNamedDimension(std::string_view text) {
    int id = 0;
    const char* end = text.data() + text.size();
    if (!text.empty() && std::from_chars(text.data(), end, id).ptr == end) {
        if (!IsListedDimensionId(id)) return std::nullopt;
        return NamedDimension{DimensionCodeName(id), id};
    }
    for (const NamedDimension& d : Table)
        if (SameName(d.Name, text)) return d;
    return std::nullopt;
}

float GetNamedDimension(const Mechanism& m, const NamedDimension& d) {
    return GetDimension(m, d.Id);
}

bool SetNamedDimension(Mechanism& m, const NamedDimension& d, float value) {
    if (!std::isfinite(value)) return false;
    return SetDimension(m, d.Id, value);
}

} // namespace kes
