// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one nearest-point search of the pickers (the pivot data and the
// lines-and-circles window): distance is |dX| + |dY|, as the mouse picks
// have always measured it.

#include <cmath>
#include <limits>

namespace kes {

// The candidate nearest to (x, y); the first one wins a tie. positionOf(c)
// gives a candidate's world position as an object with X and Y. -1 when no
// candidate lies nearer than limit.
template <class Candidates, class PositionOf>
int NearestCandidate(double x, double y, const Candidates& candidates, PositionOf positionOf,
                     double limit = std::numeric_limits<double>::infinity()) {
    double best = limit;
    int nearest = -1;
    for (const int c : candidates) {
        const auto p = positionOf(c);
        const double distance =
            std::fabs(static_cast<double>(p.X) - x) + std::fabs(static_cast<double>(p.Y) - y);
        if (distance < best) {
            best = distance;
            nearest = c;
        }
    }
    return nearest;
}

} // namespace kes
