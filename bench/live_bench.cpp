// SPDX-License-Identifier: GPL-3.0-or-later
// A live diagram window's drawing, as its worker runs it: one diagram or all
// four tiled, alone or with a second design under it, and the read-out the
// mouse asks for on each move over the oval diagram.

#include "bench_application.h"
#include "live/cursor_readout.h"
#include "live/live_job.h"
#include "model/dimensions.h"
#include "model/model.h"
#include "overlay/live_positions.h"

#include <benchmark/benchmark.h>

namespace {

// state.range(0): the choice; state.range(1): 1 with a second design.
void BM_LiveDrawing(benchmark::State& state) {
    EnsureGuiApplication();
    kes::Model m;
    kes::InitialiseModel(m);
    kes::Model other = m;
    kes::SetDimension(other, 10, 6.4f);
    const auto choice = static_cast<live::LiveChoice>(state.range(0));
    const bool second = state.range(1) != 0;
    for (auto _ : state) {
        live::LiveRequest r;
        r.Choice = choice;
        r.Current = live::DrawingCopy(m, overlay::DefaultLiveOffsets(m), 'F');
        if (second) r.Second = live::DrawingCopy(other, overlay::DefaultLiveOffsets(m), 'F');
        const live::LiveResult result = live::DrawLive(r);
        benchmark::DoNotOptimize(result.Picture.constBits());
    }
    state.SetLabel(second ? "with a second design" : "current design alone");
}
BENCHMARK(BM_LiveDrawing)
    ->ArgsProduct({{static_cast<int>(live::LiveChoice::Sine),
                    static_cast<int>(live::LiveChoice::AllFour)},
                   {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_OvalReadout(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    auto drawn = live::DrawingCopy(m, overlay::DefaultLiveOffsets(m), 'F');
    for (auto _ : state)
        benchmark::DoNotOptimize(live::ReadoutAt(live::DiagramView::Oval, *drawn, {300, 200}));
    state.SetLabel("3 loops searched, 1 degree then 0.05");
}
BENCHMARK(BM_OvalReadout)->Unit(benchmark::kMillisecond);

} // namespace
