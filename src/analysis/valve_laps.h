// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The valve's laps from its dimensions, as the solver's port geometry has
// them: the steam lap is how far the valve edge overlaps the port's outer
// edge with the valve central, the exhaust lap how far the exhaust cavity
// edge overlaps the bridge (negative: exhaust clearance).

#include "model/model.h"

namespace kes {

inline double SteamLap(const Mechanism& m, bool front) {
    const CylinderArray& c = m.Cylinder;
    const double h = c[ExhaustPortWidth] / 2.0;
    return front ? static_cast<double>(c[ValveLengthFront]) - h - c[BridgeWidthFront] -
                       c[SteamPortWidthFront]
                 : static_cast<double>(c[ValveLengthRear]) - h - c[BridgeWidthRear] -
                       c[SteamPortWidthRear];
}

inline double ExhaustLap(const Mechanism& m, bool front) {
    const CylinderArray& c = m.Cylinder;
    const double h = c[ExhaustPortWidth] / 2.0;
    return front ? static_cast<double>(c[ExhCavityFront]) - h - c[BridgeWidthFront]
                 : static_cast<double>(c[ExhCavityRear]) - h - c[BridgeWidthRear];
}

// The exhaust cavity half length that gives a port the exhaust lap wanted.
inline double ExhCavityForLap(const Mechanism& m, bool front, double lap) {
    const CylinderArray& c = m.Cylinder;
    return lap + c[ExhaustPortWidth] / 2.0 + (front ? c[BridgeWidthFront] : c[BridgeWidthRear]);
}

} // namespace kes
