// SPDX-License-Identifier: GPL-3.0-or-later
// Repair and balance of the sample engines with the defaults, as one press
// of Run does it, and the valve designed to targets on the factory design.

#include "analysis/balance.h"
#include "analysis/valve_targets.h"
#include "files/dimension_file.h"
#include "model/model.h"
#include "model/scale_design.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

kes::Model BigEngine(double scale) {
    kes::Model m;
    kes::InitialiseModel(m);
    kes::LoadDimensionsByExtension(m, std::string(KESTROVE_DATA) + "/big-engine.kvd");
    if (scale != 1.0) kes::ScaleDesign(m, scale);
    return m;
}

void BM_RepairAndBalance(benchmark::State& state) {
    const kes::Model m = BigEngine(state.range(0) / 10.0);
    const kes::BalanceDef def = kes::DefaultBalanceDef(m);
    kes::BalanceResult r;
    for (auto _ : state) {
        r = kes::RunBalance(m, def);
        benchmark::DoNotOptimize(r.ObjectiveAfter);
    }
    state.counters["feasible"] = r.Feasible ? 1 : 0;
    state.counters["J_after"] = r.ObjectiveAfter.value_or(-1.0);
    state.counters["evaluations"] = r.Evaluations;
    state.counters["added"] = static_cast<double>(r.Added.size());
}
// The argument is the scale in tenths: the sample, and the sample 1.3 times as large.
BENCHMARK(BM_RepairAndBalance)->Arg(10)->Arg(13)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Targets(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    kes::TargetsDef def = kes::DefaultTargetsDef(m);
    def.Lead = 0.03;
    def.FullGearCutOffPct = 75.0;
    kes::TargetsResult r;
    for (auto _ : state) {
        r = kes::RunTargets(m, def);
        benchmark::DoNotOptimize(r.Feasible);
    }
    state.counters["feasible"] = r.Feasible ? 1 : 0;
    state.counters["evaluations"] = r.Evaluations;
    state.counters["mean_cutoff"] = r.After.MeanFullGearCutOff.value_or(-1.0);
}
BENCHMARK(BM_Targets)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
