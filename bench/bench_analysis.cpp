// SPDX-License-Identifier: GPL-3.0-or-later
// The precise analysis: one polished solve, the default report (what the
// Valve Events window recomputes while a bar is dragged) and the whole
// sensitivity table, also of designs that do not close.

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

// Designs whose linkage does not close: at full gear in reverse (arg 0), or
// at no setting at all (arg 1). Each step is given up at the first setting
// that does not close; the aim is under 2 s for any design.
void BM_SensitivityNotClosing(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    if (state.range(0) == 0)
        m.Frame.RevArmMax = 2.5f; // the radius bar cannot follow so far in reverse
    else
        m.Baker.RadiusBarLength = 0.1f; // cannot reach at all
    const kes::ReportDef def = kes::DefaultReportDef(m);
    for (auto _ : state) {
        const kes::SensitivityTable t = kes::ComputeSensitivity(m, def);
        benchmark::DoNotOptimize(t.Cells.data());
    }
    state.SetLabel(state.range(0) == 0 ? "open at full reverse" : "open everywhere");
}
BENCHMARK(BM_SensitivityNotClosing)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
