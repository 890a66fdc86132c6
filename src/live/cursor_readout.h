// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the live diagrams read out under the mouse, from the design the
// picture was drawn from and a point of the picture (client pixels of the
// fixed layout): on the sine and oval diagrams the crank angle, valve
// offset, piston position from each dead centre and the four port openings
// of the nearest curve; on the steam diagram the pressure and the stroke;
// on the port events diagram the setting and the nearest event.

#include <QPoint>
#include <QString>

#include <optional>

namespace kes {
struct Model;
}

namespace live {

enum class DiagramView { Sine, Oval, Steam, Ports };

// The values the sine and oval read-outs show, each at the display
// precision of its text.
struct GearReadout {
    int Position = 0;                 // 1 .. RevArmPositionCount
    float Setting = 0;                // RevArmSetting of that position
    double CrankDeg = 0;              // 0 .. 360
    double ValveOffset = 0;           // valve centre ahead of the cylinder centre
    double FrontPct = 0, RearPct = 0; // piston from each dead centre
    double FrontSteam = 0, FrontExhaust = 0, RearSteam = 0, RearExhaust = 0;
};

// The sine diagram's crank angle at picture x (x 90 is 0 degrees), within
// its curves' span.
std::optional<double> SineAngleAt(int x);
// The solved values at this crank angle for position n.
GearReadout SolveGearReadout(kes::Model& m, int n, double crankDeg);
// The nearest curve's values under the point; absent off the curves' span
// or without positions.
std::optional<GearReadout> SineReadoutAt(kes::Model& m, QPoint at);
std::optional<GearReadout> OvalReadoutAt(kes::Model& m, QPoint at);

QString GearReadoutText(const GearReadout& r);

// The read-out of any diagram as one line of text; absent where the point
// lies outside the plotted area. Drives the model's RevArmSetting and
// DriverAngle and puts them back.
std::optional<QString> ReadoutAt(DiagramView view, kes::Model& m, QPoint at);

} // namespace live
