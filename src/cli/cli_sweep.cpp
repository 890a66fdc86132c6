#include "cli/commands.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "model/solver.h"

#include <cmath>
#include <cstdio>
#include <ostream>

namespace cli {

namespace {

void Real(std::ostream& out, double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.9g", v);
    out << buffer;
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
    if ((to - from) / step > 1e6) throw UsageError("too many rows: widen --step");

    const float setting = static_cast<float>(revArm ? *revArm : m.MidGear() + offset.value_or(0.0));

    out << "angle,rev_arm";
    for (int i = 0; i <= kes::RevArmPivotAbs; ++i)
        out << ",p" << i << "x,p" << i << "y";
    out << ",valve_offset,front_steam_open,front_exhaust_open,rear_steam_open,rear_exhaust_open,"
           "piston_travel_640,solve_error\n";

    const long rows = static_cast<long>(std::floor((to - from) / step + 1e-9)) + 1;
    for (long r = 0; r < rows; ++r) {
        const double angle = from + static_cast<double>(r) * step;
        m.RevArmSetting = setting;
        m.DriverAngle = static_cast<float>(angle);
        m.SolveError = false;
        kes::SolveLinkage(m);
        kes::SolvePortOpenings(m);
        Real(out, angle);
        out << ',';
        Real(out, m.RevArmSetting);
        for (int i = 0; i <= kes::RevArmPivotAbs; ++i) {
            out << ',';
            Real(out, m.Points[static_cast<size_t>(i)].X);
            out << ',';
            Real(out, m.Points[static_cast<size_t>(i)].Y);
        }
        const kes::SolverOutputs& s = m.Solver;
        for (double v :
             {static_cast<double>(s.ValveOffset), static_cast<double>(s.FrontSteamOpen),
              static_cast<double>(s.FrontExhaustOpen), static_cast<double>(s.RearSteamOpen),
              static_cast<double>(s.RearExhaustOpen), static_cast<double>(s.PistonTravel640)}) {
            out << ',';
            Real(out, v);
        }
        out << ',' << (m.SolveError ? 1 : 0) << '\n';
    }
    return 0;
}

int RunMidGear(kes::Model& m, Args& args, std::ostream& out) {
    args.ExpectEmpty();
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
