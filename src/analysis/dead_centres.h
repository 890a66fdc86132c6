// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dead centres: the crank angles of the piston's largest and smallest X
// (the crosshead pin, Point 3), found with a bounded minimiser. With the
// cylinder line off the axle they are not 0 and 180 degrees.

#include "analysis/precise_solve.h"

#include <optional>

namespace kes {

struct DeadCentres {
    double FrontDeg = 0.0; // crank angle of the largest X, 0 .. 360
    double RearDeg = 0.0;  // crank angle of the smallest X
    double XMax = 0.0;
    double XMin = 0.0;
    double Stroke() const { return XMax - XMin; }
    // Where an X lies in the stroke, in percent from each dead centre.
    double FrontPercent(double x) const { return (XMax - x) / Stroke() * 100.0; }
    double RearPercent(double x) const { return (x - XMin) / Stroke() * 100.0; }
};

// Absent where the main rod cannot reach the cylinder line at some angle.
std::optional<DeadCentres> FindDeadCentres(const PreciseLinkage& linkage);

} // namespace kes
