// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_design.h"
#include "cli/commands.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "model/solver.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <ostream>
#include <span>

namespace cli {

namespace {

constexpr double MaxRows = 1e6;

void Real(std::ostream& out, double v) {
    if (!std::isfinite(v)) return; // an empty cell, never nan
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.9g", v);
    out << buffer;
}

constexpr float Unreached = std::numeric_limits<float>::quiet_NaN();

// The points a solve writes. Each row starts with them unset, so a point the
// solve did not reach prints as an empty cell, not as the previous row's.
void ClearSolvedPoints(kes::Mechanism& m) {
    auto& P = m.Points;
    for (int i : {kes::RevArmRadiusPin, kes::BellCrankHorzPin, kes::BellCrankVertPin,
                  kes::ValveRodFrontPin, kes::GearConRodRadiusPin, kes::CombLeverLowerPin,
                  kes::CrankPin, kes::EccCrankPin, kes::EccRodFrontPin, kes::UnionLinkRearPin})
        P[static_cast<size_t>(i)].X = P[static_cast<size_t>(i)].Y = Unreached;
    P[kes::RevArmTop].Y = Unreached;
    P[kes::Crosshead].X = Unreached;
    P[kes::ValveStemJoint].X = Unreached;
}

// A search that ran into its iteration limit leaves a negative step behind.
// Its own points are as far as it got: clear them too.
bool ClearStoppedSearch(kes::Mechanism& m) {
    if (!(m.Solver.InnerStep < 0.0f)) return false;
    auto& P = m.Points;
    static constexpr int gearPoints[] = {kes::BellCrankHorzPin, kes::EccRodFrontPin,
                                         kes::GearConRodRadiusPin};
    static constexpr int leverPoints[] = {kes::ValveRodFrontPin, kes::CombLeverLowerPin};
    const bool gearSearch = std::isnan(P[kes::Crosshead].X);
    for (int i : gearSearch ? std::span<const int>(gearPoints) : std::span<const int>(leverPoints))
        P[static_cast<size_t>(i)].X = P[static_cast<size_t>(i)].Y = Unreached;
    P[kes::ValveStemJoint].X = Unreached;
    return true;
}

} // namespace

int RunSweep(kes::Model& m, Args& args, std::ostream& out) {
    const auto revArm = args.TakeNumber("--rev-arm");
    const auto offset = args.TakeNumber("--rev-arm-offset");
    const double from = args.TakeNumber("--from").value_or(0.0);
    const double to = args.TakeNumber("--to").value_or(355.0);
    const double step = args.TakeNumber("--step").value_or(5.0);
    args.ExpectEmpty();
    if (revArm && offset) throw UsageError("give --rev-arm or --rev-arm-offset, not both");
    if (!(step > 0.0)) throw UsageError("--step must be above 0");
    if (to < from) throw UsageError("--to must not be below --from");
    // Counted in reals first: the count becomes an integer only once it is known to be small.
    const double span = (to - from) / step;
    if (!(span <= MaxRows)) throw UsageError("too many rows: widen --step");
    const long rows = span < 0.0 ? 0 : static_cast<long>(std::floor(span + 1e-9)) + 1;

    if (!revArm) RequireMidGear(m, "sweep");
    const float setting = NarrowReal(revArm ? *revArm : m.MidGear() + offset.value_or(0.0),
                                     revArm ? "--rev-arm" : "mid gear plus --rev-arm-offset");

    out << "angle,rev_arm";
    for (int i = 0; i <= kes::RevArmPivotAbs; ++i)
        out << ",p" << i << "x,p" << i << "y";
    out << ",valve_offset,front_steam_open,front_exhaust_open,rear_steam_open,rear_exhaust_open,"
           "piston_travel_640,solve_error\n";

    for (long r = 0; r < rows; ++r) {
        const double angle = from + static_cast<double>(r) * step;
        m.RevArmSetting = setting;
        m.DriverAngle = NarrowReal(angle, "--to");
        m.SolveError = false;
        ClearSolvedPoints(m);
        kes::SolveLinkage(m);
        kes::SolvePortOpenings(m);
        const bool stopped = ClearStoppedSearch(m);
        // A row is flagged when any of its numbers could not be computed.
        bool missing = false;
        const auto cell = [&](double v) {
            out << ',';
            missing = missing || !std::isfinite(v);
            Real(out, v);
        };
        Real(out, angle);
        out << ',';
        Real(out, m.RevArmSetting);
        for (int i = 0; i <= kes::RevArmPivotAbs; ++i) {
            cell(m.Points[static_cast<size_t>(i)].X);
            cell(m.Points[static_cast<size_t>(i)].Y);
        }
        const kes::SolverOutputs& s = m.Solver;
        for (double v :
             {static_cast<double>(s.ValveOffset), static_cast<double>(s.FrontSteamOpen),
              static_cast<double>(s.FrontExhaustOpen), static_cast<double>(s.RearSteamOpen),
              static_cast<double>(s.RearExhaustOpen), static_cast<double>(s.PistonTravel640)})
            cell(v);
        out << ',' << (m.SolveError || stopped || missing ? 1 : 0) << '\n';
    }
    return 0;
}

int RunMidGear(kes::Model& m, Args& args, std::ostream& out) {
    args.ExpectEmpty();
    RequireMidGear(m, "midgear");
    out << "mid_gear,rev_arm_position_2,rev_arm_position_3\n";
    Real(out, m.RevArmPositions[0]);
    out << ',';
    Real(out, m.RevArmPositions[2]);
    out << ',';
    Real(out, m.RevArmPositions[3]);
    out << '\n';
    return 0;
}

} // namespace cli
