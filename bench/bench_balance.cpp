// SPDX-License-Identifier: GPL-3.0-or-later
// The balancing of the factory design with the defaults: the four free
// dimensions, the eight settings, BOBYQA, as the window's Run does it. And
// how long a Cancel takes to stop a run.

#include "analysis/balance.h"
#include "model/model.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

void BM_Balance(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    const kes::BalanceDef def = kes::DefaultBalanceDef(m);
    kes::BalanceResult r;
    for (auto _ : state) {
        r = kes::RunBalance(m, def);
        benchmark::DoNotOptimize(r.ObjectiveAfter);
    }
    state.counters["J_before"] = r.ObjectiveBefore.value_or(-1.0);
    state.counters["J_after"] = r.ObjectiveAfter.value_or(-1.0);
    state.counters["evaluations"] = r.Evaluations;
}
BENCHMARK(BM_Balance)->Unit(benchmark::kMillisecond)->Iterations(3);

// From setting the flag to RunBalance returning, with the run well under way.
void BM_BalanceCancel(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    const kes::BalanceDef def = kes::DefaultBalanceDef(m);
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        std::atomic<int> seen{0};
        kes::BalanceControl control;
        control.Cancel = &cancel;
        control.Progress = [&](const kes::BalanceProgress& p) { seen = p.Evaluations; };
        std::chrono::steady_clock::time_point set, done;
        std::thread run([&] {
            kes::RunBalance(m, def, control);
            done = std::chrono::steady_clock::now();
        });
        while (seen < 20)
            std::this_thread::yield();
        set = std::chrono::steady_clock::now();
        cancel = true;
        run.join();
        state.SetIterationTime(std::chrono::duration<double>(done - set).count());
    }
}
BENCHMARK(BM_BalanceCancel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
