// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cylinder's view of the gear over one turn: the crosshead position and
// the four port openings at every half degree of crank angle, counted from
// the front dead centre in the running direction. Openings are unclipped
// (negative while lapped); the model clips them to the port widths. Metres.

#include "analysis/valve_events.h"

#include <array>
#include <optional>
#include <string>

namespace kes {

struct PortSample {
    double PistonX = 0.0;
    double FrontSteam = 0.0, FrontExhaust = 0.0;
    double RearSteam = 0.0, RearExhaust = 0.0;
};

struct PortTable {
    static constexpr int Samples = 720;
    std::array<PortSample, Samples> At{};
    double XMax = 0.0, XMin = 0.0;
    double FrontPortWidth = 0.0, RearPortWidth = 0.0;
    double FrontDeadCentreDeg = 0.0; // crank angle of the first sample
    double Stroke() const { return XMax - XMin; }
};

// From the gear at a setting and direction, lengths times metresPerUnit.
// Absent, with the reason, where the linkage does not close.
std::optional<PortTable> GearPortTable(PreciseLinkage& linkage, double setting, RunDirection dir,
                                       double metresPerUnit, std::string& why);

// Instant valve events on a pure slider-crank (connecting rod = rodRatio
// strokes long), for the limiting cases: the steam port wide open from
// each dead centre to cut-off, the exhaust from release to compression
// (fractions of the stroke from each end's dead centre).
PortTable InstantEventsTable(double stroke_m, double rodRatio, double portWidth_m, double cutOff,
                             double release, double compression);

struct CardEvents {
    std::optional<double> CutOffPct, ReleasePct, CompressionPct;
};
// The events as the table shows them, in percent of the stroke from each
// end's dead centre.
CardEvents FrontEvents(const PortTable& t);
CardEvents RearEvents(const PortTable& t);

} // namespace kes
