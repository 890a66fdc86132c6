// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One computation of the Performance window on its own copy of the design:
// the turn at the chosen setting and speed and the chosen sweep. Runs on a
// worker thread.

#include "cylinder/performance.h"
#include "model/model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace performance_window {

enum class SettingMode { CutOff, Setting };
enum class Sweep { Speed, CutOff };

struct JobInput {
    kes::EngineData Engine;
    SettingMode Mode = SettingMode::CutOff;
    double Value = 25.0; // the wanted mean cut-off (%) or the setting
    kes::RunDirection Direction = kes::RunDirection::Forward;
    double Speed = 15.0; // mph or km/h
    Sweep SweepKind = Sweep::Speed;
    bool operator==(const JobInput& o) const;
};

struct JobResult {
    uint64_t Generation = 0;
    kes::PerformanceResult Turn;
    std::vector<kes::SweepRow> Rows;
    Sweep SweepKind = Sweep::Speed;
};

// The cut-off sweep's cut-offs and the speed sweep's range in the units.
std::vector<double> SweepCutOffs();
double SweepTopSpeed(kes::EngineUnits u);

JobResult RunJob(const kes::Mechanism& design, const JobInput& in, uint64_t generation);

} // namespace performance_window
