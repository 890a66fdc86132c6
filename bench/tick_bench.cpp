// SPDX-License-Identifier: GPL-3.0-or-later
// One whole tick of the main window (solve, map, outlines, advance, draw
// into the 1280 x 1024 image) at the factory gear while it runs; the
// argument switches the steam display off (0) or on (1).

#include "bench_application.h"
#include "model/model.h"
#include "picture/animation_tick.h"
#include "picture/draw_state.h"
#include "picture/mechanism_painter.h"

#include <QImage>

#include <array>
#include <limits>
#include <string>

#include <benchmark/benchmark.h>

namespace {

void BM_Tick(benchmark::State& state) {
    EnsureGuiApplication();
    kes::Model m;
    kes::InitialiseModel(m);
    m.SteamDisplayOn = state.range(0) != 0;
    m.StepAngle = 10.0f;
    DrawState s;
    QImage image = NewFrameImage();
    for (auto _ : state) {
        FrameOutcome out;
        RunTick(m, s, image, out);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_Tick)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same with the steam display on in a hostile view: the factory scale,
// 30000 (the cylinder far larger than the picture) and +Inf. The steam dots
// are bounded by what can land on the picture, so none of these may take
// much longer than the factory view; a tick stays under 2 ms.
constexpr std::array<float, 3> HostileScales{19.0f, 30000.0f,
                                             std::numeric_limits<float>::infinity()};

void BM_TickSteamHostileScale(benchmark::State& state) {
    EnsureGuiApplication();
    kes::Model m;
    kes::InitialiseModel(m);
    m.SteamDisplayOn = true;
    m.StepAngle = 10.0f;
    m.CurrentView.Scale = HostileScales[static_cast<size_t>(state.range(0))];
    state.SetLabel("scale " + std::to_string(m.CurrentView.Scale));
    DrawState s;
    QImage image = NewFrameImage();
    for (auto _ : state) {
        FrameOutcome out;
        RunTick(m, s, image, out);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_TickSteamHostileScale)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

} // namespace
