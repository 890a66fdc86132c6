// One whole tick of the main window (solve, map, outlines, advance, draw
// into the 1280 x 1024 image) at the factory gear while it runs; the
// argument switches the steam display off (0) or on (1).

#include "bench_application.h"
#include "main/animation_tick.h"
#include "main/draw_state.h"
#include "main/mechanism_painter.h"
#include "model/model.h"

#include <QImage>

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

} // namespace
