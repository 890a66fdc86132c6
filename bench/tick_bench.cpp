// One whole tick of the main window (solve, map, outlines, advance, draw
// into the 1280 x 1024 image) at the factory gear while it runs; the
// argument switches the steam display off (0) or on (1).

#include "main/animation_tick.h"
#include "main/draw_state.h"
#include "main/mechanism_painter.h"
#include "model/model.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Texts need a GUI application; the benchmarks share one, off screen.
void EnsureGuiApplication() {
    static int argc = 1;
    static char name[] = "kestrove-bench";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app;
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
}

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
