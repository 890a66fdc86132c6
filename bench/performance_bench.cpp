// SPDX-License-Identifier: GPL-3.0-or-later
// The cylinder model: one turn to a repeating cycle at one setting and speed
// (what the Performance window recomputes after an edit), and the grid of
// 10 speeds by 10 cut-offs behind its sweeps.

#include "cylinder/performance.h"
#include "model/model.h"

#include <benchmark/benchmark.h>

namespace {

void BM_PerformanceTurn(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    const kes::EngineData e = kes::DefaultEngineData();
    kes::PerformanceRequest r;
    r.Setting = kes::SettingForCutOff(m, kes::RunDirection::Forward, 25.0).value_or(0.0);
    r.Speed = 20.0;
    for (auto _ : state) {
        const kes::PerformanceResult p = kes::ComputePerformance(m, e, r);
        benchmark::DoNotOptimize(p.Mep);
    }
    state.SetLabel("25 % cut-off, 20 mph, both ends");
}
BENCHMARK(BM_PerformanceTurn)->Unit(benchmark::kMillisecond);

void BM_PerformanceSweep(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    const kes::EngineData e = kes::DefaultEngineData();
    std::vector<double> cutoffs;
    for (int pct = 10; pct <= 75; pct += 7)
        cutoffs.push_back(pct);
    for (auto _ : state) {
        int rows = 0;
        for (double c : cutoffs) {
            kes::PerformanceRequest r;
            r.Setting = kes::SettingForCutOff(m, kes::RunDirection::Forward, c).value_or(0.0);
            rows += static_cast<int>(kes::SweepSpeed(m, e, r, 5.0, 50.0, 10).size());
        }
        benchmark::DoNotOptimize(rows);
    }
    state.SetLabel("10 speeds x 10 cut-offs, settings found each time");
}
BENCHMARK(BM_PerformanceSweep)->Unit(benchmark::kMillisecond);

} // namespace
