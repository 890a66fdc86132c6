// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/travel_readouts.h"

#include "analysis/setting_guard.h"
#include "model/format.h"
#include "model/model.h"
#include "model/solver.h"
#include "model/typed_value.h"

#include <cmath>

namespace analysis {

float SineSampleAngle(int j) {
    float a = static_cast<float>(8 * j + 272);
    while (a > 360.0f)
        a -= 360.0f;
    return a;
}

namespace {

// A read-out beyond the float range is held at its edge.
float Narrow(double v) {
    return kes::ToFloat(v);
}

} // namespace

bool IsAtMidGear(const kes::Mechanism& m, double position) {
    // The distance in double: beside a huge mid gear a band in float
    // collapses onto mid gear itself and would shut mid gear out.
    const float mid = m.MidGear();
    if (!(std::fabs(position - mid) < MidGearBand)) return false;
    // The edges as the positions hold them, so that MidGear + 0.05 is outside.
    const float band = static_cast<float>(MidGearBand);
    const float low = mid - band, high = mid + band;
    return (low == mid || low < position) && (high == mid || position < high);
}

bool NormalReadoutMode(const kes::Mechanism& m) {
    return m.Cylinder[kes::ValveLengthRear] > m.Cylinder[kes::SteamPortWidthRear];
}

MidGearReadouts ComputeReadouts(const kes::Mechanism& m, const JointTravel& travel) {
    const kes::SolverOutputs& s = m.Solver;
    const double toValve =
        static_cast<double>(m.Cylinder[kes::ValveCtrToJoint]) - m.Cylinder[kes::CylCtrToDriver];
    const double vmax = travel.Max + toValve;
    const double vmin = travel.Min + toValve;
    const double jmid = (static_cast<double>(travel.Min) + travel.Max) / 2.0;
    const double fso = s.FrontSteamOpenLevel();
    const double feo = s.FrontExhaustOpenLevel();
    const double rso = s.RearSteamOpenLevel();
    const double reo = s.RearExhaustOpenLevel();

    MidGearReadouts r;
    r.RearLead = Narrow(vmax + rso);
    r.FrontLead = Narrow(fso - vmin);
    if (NormalReadoutMode(m)) {
        r.FrontSteamLap = Narrow(-fso);
        r.FrontExhaustClearance = Narrow(-feo);
        r.RearExhaustClearance = Narrow(-reo);
        r.RearSteamLap = Narrow(-rso);
    } else {
        r.FrontSteamLap = Narrow(-fso - jmid);
        r.FrontExhaustClearance = Narrow(-feo - jmid);
        r.RearExhaustClearance = Narrow(jmid - reo);
        r.RearSteamLap = Narrow(jmid - rso);
    }
    return r;
}

std::string FormatReadout(float v) {
    return kes::FormatFixed(v, 6, 3);
}

MidGearReadouts SineReadouts(kes::Mechanism& m, float position) {
    const SettingGuard guard(m);
    m.RevArmSetting = position;
    JointTravel travel;
    for (int j = SineFirstSample; j <= SineLastSample; ++j) {
        m.DriverAngle = SineSampleAngle(j);
        kes::SolveLinkage(m);
        travel.Add(m.Points[kes::ValveStemJoint].X);
    }
    return ComputeReadouts(m, travel);
}

} // namespace analysis
