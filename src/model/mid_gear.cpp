// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/mid_gear.h"

#include "model/narrowing.h"

#include <cmath>

namespace kes {

namespace {

constexpr int SearchLimit = 1000;

float F(double v) {
    return static_cast<float>(v);
}

} // namespace

bool FindMidGear(Mechanism& m) {
    // Search, behind and above GearMount, for the point that lies the gear
    // connecting rod's upper length from the reverse-arm pivot and the bell
    // crank's horizontal arm from the bell-crank pivot: with the radius-bar
    // pin there, the eccentric moves no valve.
    const auto& P = m.Points;
    const double X11 = P[RevArmPivot].X, Y11 = P[RevArmPivot].Y;
    const double X6 = P[BellCrankPivot].X, Y6 = P[BellCrankPivot].Y;
    const double upper = m.Baker.GearConRodUpper;

    float& step = m.Solver.InnerStep;
    step = 0.1f;
    if (!FitsFloat(X11 - 0.5)) return false;
    float e = F(X11 - 0.5);
    for (int pass = 0;; ++pass) {
        // A search that runs away, or leaves the reach of the gear
        // connecting rod, has no answer for these dimensions.
        if (pass >= SearchLimit) return false;
        const double reach = upper * upper - (X11 - e) * (X11 - e);
        if (!(reach >= 0.0)) return false;
        const double root = std::sqrt(reach);
        const double dx = e - X6;
        if (!FitsFloat(root) || !FitsFloat(dx)) return false;
        const float f = F(root);
        const double dy = Y6 + Y11 - f;
        const double across = std::sqrt(dx * dx + dy * dy);
        const double next = e + static_cast<double>(step);
        if (!FitsFloat(across) || !FitsFloat(next)) return false;
        const float o = F(across);
        if (o < m.Baker.BellCrankHorz) {
            e = F(next);
            continue;
        }
        if (!FitsFloat(e - 0.8 * step)) return false;
        e = F(e - 0.8 * step);
        step = F(0.2 * step);
        if (step <= m.SolveTolerance) break;
    }
    if (std::fabs(upper) < 0.00001) return false;

    const double exact =
        static_cast<double>(P[GearMount].X) - X11 -
        (static_cast<double>(m.Baker.RevArmUpperLength) + m.Baker.RevArmLowerLength) * (e - X11) /
            upper;
    if (!FitsFloat(exact)) return false;
    const float midGear = F(exact);
    const double ahead = static_cast<double>(midGear) + m.Frame.RevArmNorm;
    const double behind = static_cast<double>(midGear) - m.Frame.RevArmNorm;
    if (!FitsFloat(ahead) || !FitsFloat(behind)) return false;

    m.RevArmPositions[0] = midGear;
    m.RevArmPositions[1] = midGear;
    m.RevArmPositions[2] = F(ahead);
    m.RevArmPositions[3] = F(behind);
    m.Points[RevArmTop].X = midGear;
    m.RevArmSetting = midGear;
    UpdateRevArmPositionCount(m);
    return true;
}

void UpdateRevArmPositionCount(Mechanism& m) {
    int count = 1;
    for (int i = 9; i >= 1; --i) {
        if (m.RevArmPositions[static_cast<size_t>(i)] != 0.0f) {
            count = i;
            break;
        }
    }
    m.RevArmPositionCount = count;
}

} // namespace kes
