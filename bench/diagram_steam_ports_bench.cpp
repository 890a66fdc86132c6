// SPDX-License-Identifier: GPL-3.0-or-later
// The port events and steam diagrams, each a whole drawing into the window's
// picture: the both-graphs port events drawing (2 x 19 x 91 solves) and the
// steam diagram with three reverse-arm positions (3 x 150 solves).

#include "bench_application.h"
#include "diagrams/diagram_paint.h"
#include "diagrams/port_diagram.h"
#include "diagrams/steam_diagram.h"
#include "model/model.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

// Paints one whole drawing into a fresh white picture per iteration.
template <typename Paint>
void PaintEachIteration(benchmark::State& state, QSize size, Paint paint) {
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        diagrams::BeginDiagram(p);
        paint(p);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PortDiagramBoth(benchmark::State& state) {
    EnsureGuiApplication();
    kes::Model m;
    kes::InitialiseModel(m);
    DiagramTextState text;
    PaintEachIteration(state, diagrams::PortClientSize,
                       [&](QPainter& p) { diagrams::PaintPortDiagram(p, m, 'B', true, text); });
    state.SetLabel("2 x 19 x 91 solves and painting");
}
BENCHMARK(BM_PortDiagramBoth)->Unit(benchmark::kMillisecond);

void BM_SteamDiagram(benchmark::State& state) {
    EnsureGuiApplication();
    kes::Model m;
    kes::InitialiseModel(m);
    m.RevArmPositionCount = 3; // mid gear and normal full gear both ways
    DiagramTextState text;
    PaintEachIteration(state, diagrams::SteamClientSize,
                       [&](QPainter& p) { diagrams::PaintSteamDiagram(p, m, text); });
    state.SetLabel("3 positions x 150 solves and painting");
}
BENCHMARK(BM_SteamDiagram)->Unit(benchmark::kMillisecond);

} // namespace
