// The precise analysis: one polished solve, the default report (what the
// Valve Events window recomputes while a bar is dragged) and the whole
// sensitivity table.

#include "analysis/events_report.h"
#include "analysis/precise_solve.h"
#include "analysis/sensitivity.h"
#include "model/model.h"

#include <benchmark/benchmark.h>

namespace {

// A solve seeded from the previous one, the angle stepping a degree at a
// time as the event sweep does.
void BM_PreciseSolve(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    kes::PreciseLinkage linkage(m);
    const double setting = m.MidGear() + m.Frame.RevArmNorm;
    kes::PreciseSolution s = linkage.Solve(0.0, setting);
    double angle = 0.0;
    for (auto _ : state) {
        angle = angle >= 359.0 ? 0.0 : angle + 1.0;
        s = linkage.Solve(angle, setting, s.Seed());
        benchmark::DoNotOptimize(s.ValveOffset);
    }
}
BENCHMARK(BM_PreciseSolve);

void BM_Report(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    const kes::ReportDef def = kes::DefaultReportDef(m);
    kes::EventsReport report;
    for (auto _ : state) {
        kes::ComputeReport(m, def, report);
        benchmark::DoNotOptimize(report.Rows.data());
    }
    state.SetLabel("12 rows");
}
BENCHMARK(BM_Report)->Unit(benchmark::kMillisecond);

void BM_Sensitivity(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    const kes::ReportDef def = kes::DefaultReportDef(m);
    for (auto _ : state) {
        const kes::SensitivityTable t = kes::ComputeSensitivity(m, def);
        benchmark::DoNotOptimize(t.Cells.data());
    }
    state.SetLabel("50 dimensions x 12 rows");
}
BENCHMARK(BM_Sensitivity)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
