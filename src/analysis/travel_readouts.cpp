#include "analysis/travel_readouts.h"

#include "analysis/setting_guard.h"
#include "model/format.h"
#include "model/model.h"
#include "model/solver.h"

namespace analysis {

float SineSampleAngle(int j) {
    float a = static_cast<float>(8 * j + 272);
    while (a > 360.0f)
        a -= 360.0f;
    return a;
}

bool IsAtMidGear(const kes::Mechanism& m, float position) {
    // In the positions' own precision, so that MidGear + 0.05 is excluded.
    const float low = m.MidGear() - MidGearBand;
    const float high = m.MidGear() + MidGearBand;
    return low < position && position < high;
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
    r.RearLead = static_cast<float>(vmax + rso);
    r.FrontLead = static_cast<float>(fso - vmin);
    if (NormalReadoutMode(m)) {
        r.FrontSteamLap = static_cast<float>(-fso);
        r.FrontExhaustClearance = static_cast<float>(-feo);
        r.RearExhaustClearance = static_cast<float>(-reo);
        r.RearSteamLap = static_cast<float>(-rso);
    } else {
        r.FrontSteamLap = static_cast<float>(-fso - jmid);
        r.FrontExhaustClearance = static_cast<float>(-feo - jmid);
        r.RearExhaustClearance = static_cast<float>(jmid - reo);
        r.RearSteamLap = static_cast<float>(jmid - rso);
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
