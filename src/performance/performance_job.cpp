// SPDX-License-Identifier: GPL-3.0-or-later
#include "performance/performance_job.h"

#include "cylinder/performance_json.h"

namespace performance_window {

namespace {
constexpr int SweepSpeeds = 10;
}

bool JobInput::operator==(const JobInput& o) const {
    return kes::EngineDataJson(Engine) == kes::EngineDataJson(o.Engine) && Mode == o.Mode &&
           Value == o.Value && Direction == o.Direction && Speed == o.Speed &&
           SweepKind == o.SweepKind;
}

std::vector<double> SweepCutOffs() {
    return {10, 20, 30, 40, 50, 60, 70, 80};
}

double SweepTopSpeed(kes::EngineUnits u) {
    return u == kes::EngineUnits::Metric ? 100.0 : 50.0;
}

JobResult RunJob(const kes::Mechanism& design, const JobInput& in, uint64_t generation) {
    JobResult out;
    out.Generation = generation;
    out.SweepKind = in.SweepKind;
    kes::PerformanceRequest r;
    r.Direction = in.Direction;
    r.Speed = in.Speed;
    if (in.Mode == SettingMode::Setting) {
        r.Setting = in.Value;
    } else {
        const std::optional<double> s = kes::SettingForCutOff(design, in.Direction, in.Value);
        if (!s) {
            out.Turn.Error = "No setting of the gear gives this cut-off.";
            return out;
        }
        r.Setting = *s;
    }
    out.Turn = kes::ComputePerformance(design, in.Engine, r);
    if (!out.Turn.Ok) return out;
    if (in.SweepKind == Sweep::Speed) {
        const double top = SweepTopSpeed(in.Engine.Units);
        out.Rows = kes::SweepSpeed(design, in.Engine, r, top / SweepSpeeds, top, SweepSpeeds);
    } else {
        out.Rows = kes::SweepCutOff(design, in.Engine, r, SweepCutOffs());
    }
    return out;
}

} // namespace performance_window
