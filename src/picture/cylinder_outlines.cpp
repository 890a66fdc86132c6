// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/cylinder_outlines.h"

#include "model/model.h"
#include "model/rounding.h"

#include <cstdint>

int ScreenPixel(double v) {
    return kes::SaturatedPixel(v, ScreenPixelLimit);
}

int WorldToScreenX(const kes::View& v, double x) {
    return ScreenPixel(static_cast<double>(v.OffsetX) + static_cast<double>(v.Scale) * x);
}

int WorldToScreenY(const kes::View& v, double y) {
    return ScreenPixel(static_cast<double>(v.OffsetY) - static_cast<double>(v.Scale) * y);
}

int WorldToScreenX(const kes::Model& m, double x) {
    return WorldToScreenX(m.CurrentView, x);
}

int WorldToScreenY(const kes::Model& m, double y) {
    return WorldToScreenY(m.CurrentView, y);
}

void ComputeCylinderOutlines(const kes::Model& m, CylinderOutlines& out) {
    using namespace kes;
    const auto& c = m.Cylinder;
    auto d = [&](CylinderSlot s) { return static_cast<double>(c[s]); };
    auto xp = [&](double x) { return WorldToScreenX(m, x); };
    auto yp = [&](double y) { return WorldToScreenY(m, y); };

    const double e = d(CylCtrToDriver);
    const double cl = m.Points[Crosshead].Y; // CylCLAboveDriver
    const double vs = cl + d(ValveSurfaceToCylCL);
    const double exh = d(ExhaustPortWidth);
    const double bore = d(BoreDiameter);
    const double boreLength = d(BoreLength);

    auto& cyl = out.Cylinder;
    const int chestTop = yp(vs + d(ValveChamberHeight));
    const int seat = yp(vs);
    cyl[0] = {xp(e - exh / 2), chestTop};
    cyl[1] = {xp(e - d(ValveChamberLength) / 2), chestTop};
    cyl[2] = {cyl[1].x(), seat};
    cyl[3] = {xp(e - exh / 2 - d(BridgeWidthRear) - d(SteamPortWidthRear)), seat};
    cyl[4] = {cyl[3].x(), yp(vs - exh / 3)};
    cyl[5] = {xp(e - boreLength / 2), yp(cl + bore / 2)};
    cyl[6] = {cyl[5].x(), yp(cl - bore / 2)};
    cyl[7] = {xp(e + boreLength / 2), cyl[6].y()};
    cyl[8] = {cyl[7].x(), cyl[5].y()};
    cyl[9] = {xp(e + exh / 2 + d(BridgeWidthFront) + d(SteamPortWidthFront)), cyl[4].y()};
    cyl[10] = {cyl[9].x(), seat};
    cyl[11] = {xp(e + d(ValveChamberLength) / 2), seat};
    cyl[12] = {cyl[11].x(), chestTop};
    cyl[13] = {xp(e + exh / 2), chestTop};
    cyl[14] = {cyl[0].x(), yp(vs - d(SteamPortWidthRear))};

    auto& port = out.Port;
    port[0] = {xp(e - exh / 2), seat};
    port[1] = {xp(e - exh / 2 - d(BridgeWidthRear)), seat};
    port[2] = {port[1].x(), yp(vs - exh / 1.5)};
    port[3] = {xp(e - boreLength / 2 + d(CylSteamPortWidth)), yp(cl + bore / 2)};
    port[4] = {xp(e + boreLength / 2 - d(CylSteamPortWidth)), port[3].y()};
    port[5] = {xp(e + exh / 2 + d(BridgeWidthFront)), port[2].y()};
    port[6] = {port[5].x(), seat};
    port[7] = {xp(e + exh / 2), seat};
    port[8] = {port[7].x(), yp(vs - d(SteamPortWidthRear))};

    const double x3 = m.Points[Crosshead].X;
    const double x4 = m.Points[ValveStemJoint].X;
    const double y4 = m.Points[ValveStemJoint].Y;
    auto& pis = out.Piston;
    pis[0] = {xp(x3 + d(PistonRodLength) + d(PistonWidth) / 2), yp(cl)};
    pis[1] = {xp(x3 + d(PistonRodLength) - d(PistonWidth) / 2), yp(cl + bore / 2)};
    pis[2] = {pis[1].x(), yp(cl - bore / 2)};
    pis[3] = {pis[0].x(), pis[2].y()};
    pis[4] = {pis[0].x(), pis[1].y()};
    pis[5] = {xp(x4 + d(ValveCtrToJoint) - d(ValveLengthRear)), yp(y4)};

    auto& val = out.Valve;
    const double valveCentre = x4 + d(ValveCtrToJoint);
    val[0] = {pis[5].x(), yp(vs + d(ValveHeight))};
    val[1] = {xp(valveCentre + d(ValveLengthFront)), val[0].y()};
    val[2] = {val[1].x(), seat};
    val[3] = {xp(valveCentre + d(ExhCavityFront)), seat};
    // A third of the way down from the valve's top, in the outline's own pixels.
    val[4] = {val[3].x(), static_cast<int>(val[0].y() + (int64_t{val[2].y()} - val[0].y()) / 3)};
    val[5] = {xp(valveCentre - d(ExhCavityRear)), val[4].y()};
    val[6] = {val[5].x(), seat};
    val[7] = {pis[5].x(), seat};
}
