// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear as a DXF a laser or water-jet cutter reads: true size in the
// design's unit ($INSUNITS says which), one layer per link and one for the
// frame pivots, the pin holes as circles and each link as a closed outline
// around its pin centres. Assembled at one crank angle and setting, or
// every link laid out flat and apart.

#include "analysis/link_geometry.h"
#include "workshop/drawing_unit.h"

#include <optional>
#include <string>
#include <vector>

namespace kes {
struct Model;
}

namespace workshop {

struct GearDxfDef {
    double CrankAngle = 0.0;           // degrees
    std::optional<double> Setting;     // reverse-arm setting; mid gear when absent
    bool Flat = false;                 // every link apart instead of assembled
    Unit DesignUnit = Unit::Inch;      // what one design unit is
    std::optional<double> PinDiameter; // design units; DefaultPinDiameter when absent
    std::optional<double> LinkWidth;   // design units; 2 x the pin diameter when absent
};

struct DxfCircle {
    std::string Layer;
    double X = 0.0, Y = 0.0, Radius = 0.0;
};
struct DxfOutline {
    std::string Layer;
    std::vector<kes::OutlineVertex> Vertices; // closed
};
struct DxfLine {
    std::string Layer;
    double X1 = 0.0, Y1 = 0.0, X2 = 0.0, Y2 = 0.0;
};

inline constexpr const char* PivotLayer = "frame-pivots";

struct GearDxf {
    Unit DesignUnit = Unit::Inch;
    std::vector<std::string> Layers; // the link layers, then the pivot layer
    std::vector<DxfCircle> Circles;
    std::vector<DxfOutline> Outlines;
    std::vector<DxfLine> Lines;
};

// nullopt (and *error) when the assembled linkage does not close at the
// def's angle and setting, or the sizes are not positive.
std::optional<GearDxf> PlanGearDxf(const kes::Model& m, const GearDxfDef& def,
                                   std::string* error = nullptr);

// Writes the whole file or nothing: a failed write leaves the old file as it
// was.
bool WriteDxf(const std::string& fileName, const GearDxf& dxf, std::string* error = nullptr);

// The DXF code of $INSUNITS: 1 inches, 4 millimetres.
int InsUnitsCode(Unit unit);

} // namespace workshop
