// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The piston's travel in stroke units, as the solver gives it
// (PistonTravel640): 0 at the front dead centre, 640 at the rear. Events
// and cut-offs are quoted in percent of the stroke from their own end.

namespace analysis {

inline constexpr double StrokeUnits = 640.0;
inline constexpr double UnitsPerPercent = StrokeUnits / 100.0;

// Percent of the stroke from the front dead centre.
inline double FrontPercent(double travel) {
    return travel / UnitsPerPercent;
}
// Percent of the stroke from the rear dead centre.
inline double RearPercent(double travel) {
    return (StrokeUnits - travel) / UnitsPerPercent;
}

} // namespace analysis
