// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The valve events of one turn of the crank at one reverse-arm setting and
// running direction.
//
// Definitions. Piston position x is the X of the crosshead pin; the front
// dead centre is the crank angle of the largest x, the rear that of the
// smallest; stroke = xmax - xmin. A front-port event lies at
// (xmax - x) / stroke * 100 %, a rear-port event at (x - xmin) / stroke *
// 100 %, each from its own port's dead centre. As the crank turns in the
// running direction (forward: the angle grows; reverse: it falls):
// admission = the port's steam opening becomes >= 0 from < 0; cut-off = it
// becomes <= 0 from > 0; release = its exhaust opening becomes >= 0 from
// < 0; compression = it becomes <= 0 from > 0. An event's crank angle is
// counted from its port's dead centre in the running direction, wrapped to
// (-180, 180]. Lead = the steam opening at the port's dead centre.
//
// Events are bracketed between whole degrees and refined with TOMS 748 to
// 1e-9 degree. An event that does not happen in the turn is absent.

#include "analysis/dead_centres.h"
#include "analysis/precise_solve.h"

#include <array>
#include <optional>

namespace kes {

enum class RunDirection { Forward, Reverse };
inline const char* RunDirectionText(RunDirection d) {
    return d == RunDirection::Forward ? "F" : "R";
}

enum EventKind : int {
    Admission = 0,
    CutOff = 1,
    Release = 2,
    Compression = 3,
    EventKindCount = 4
};
const char* EventKindName(EventKind k); // "admission", "cutoff", "release", "compression"

struct EventPosition {
    double CrankDeg = 0.0;  // from the port's dead centre, in (-180, 180]
    double StrokePct = 0.0; // from the port's dead centre
};

struct PortEventSet {
    std::array<std::optional<EventPosition>, EventKindCount> Event{};
    // How often each event happens in the turn; when more than once, Event
    // holds the earliest from half a turn before the dead centre.
    std::array<int, EventKindCount> Times{};
    std::optional<double> Lead;
    std::optional<double> MaxSteamOpening;
    std::optional<double> MaxExhaustOpening;

    std::optional<double> Pct(EventKind k) const;
    std::optional<double> Deg(EventKind k) const;
};

// The largest swings over the turn, in degrees (sampled at whole degrees).
struct LinkageSwing {
    double RadiusBar = 0.0;
    double GearConRod = 0.0;
    double BellCrank = 0.0;
    double CombLever = 0.0;
    double EccRodToHorizontal = 0.0; // the largest angle, not a swing
};

struct TurnEvents {
    double Setting = 0.0;
    RunDirection Direction = RunDirection::Forward;
    // True when every whole degree of the turn closes. Otherwise the first
    // angle (in running order from 0) that does not, and why.
    bool Closes = false;
    std::optional<double> FailureDeg;
    ClosureFailure Failure = ClosureFailure::None;
    std::optional<DeadCentres> Centres;
    std::optional<double> ValveTravel; // largest minus smallest valve offset
    std::optional<double> MinValveOffset, MaxValveOffset;
    PortEventSet Front, Rear;
    std::optional<LinkageSwing> Swing; // present when the turn closes
};

// Allocates nothing. The dead centres depend only on the crank and the main
// rod, so a caller doing many settings finds them once.
void ComputeTurnEvents(PreciseLinkage& linkage, const std::optional<DeadCentres>& centres,
                       double setting, RunDirection dir, TurnEvents& out);
TurnEvents ComputeTurnEvents(PreciseLinkage& linkage, double setting, RunDirection dir);

} // namespace kes
