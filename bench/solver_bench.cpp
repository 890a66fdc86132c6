// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/mid_gear.h"
#include "model/model.h"
#include "model/solver.h"

#include <benchmark/benchmark.h>

namespace {

// One solve and the port openings at the factory gear, the angle stepping
// through a turn from one iteration to the next.
void BM_Solve(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    float angle = 0.0f;
    for (auto _ : state) {
        m.DriverAngle = angle;
        kes::SolveLinkage(m);
        kes::SolvePortOpenings(m);
        benchmark::DoNotOptimize(m.Solver.ValveOffset);
        angle += 7.0f;
        if (angle >= 360.0f) angle -= 360.0f;
    }
}
BENCHMARK(BM_Solve);

// The size of one port-events graph: 19 reverse-arm rows of 91 angles.
void BM_PortEventsSweep(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    for (auto _ : state) {
        for (int row = 0; row <= 18; ++row) {
            const float setting = m.MidGear() + row * m.Frame.RevArmMax / 18.0f;
            float angle = 0.0f;
            for (int j = 0; j <= 90; ++j) {
                angle += 4.0f;
                if (angle > 360.0f) angle -= 360.0f;
                m.RevArmSetting = setting;
                m.DriverAngle = angle;
                kes::SolveLinkage(m);
                kes::SolvePortOpenings(m);
                benchmark::DoNotOptimize(m.Solver.FrontSteamOpen);
            }
        }
    }
    state.SetLabel("19 x 91 solves");
}
BENCHMARK(BM_PortEventsSweep)->Unit(benchmark::kMillisecond);

} // namespace
