// The port events and steam diagrams, each a whole drawing into the window's
// picture: the both-graphs port events drawing (2 x 19 x 91 solves) and the
// steam diagram with three reverse-arm positions (3 x 150 solves).

#include "diagrams/diagram_paint.h"
#include "diagrams/port_diagram.h"
#include "diagrams/steam_diagram.h"
#include "model/model.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Texts need a GUI application; made once, off screen, if no other
// benchmark has made one.
void EnsureDiagramApplication() {
    static int argc = 1;
    static char name[] = "kestrove-bench";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app;
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
}

void BM_PortDiagramBoth(benchmark::State& state) {
    EnsureDiagramApplication();
    kes::Model m;
    kes::InitialiseModel(m);
    DiagramTextState text;
    QImage image(diagrams::PortClientSize, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        diagrams::BeginDiagram(p);
        diagrams::PaintPortDiagram(p, m, 'B', true, text);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel("2 x 19 x 91 solves and painting");
}
BENCHMARK(BM_PortDiagramBoth)->Unit(benchmark::kMillisecond);

void BM_SteamDiagram(benchmark::State& state) {
    EnsureDiagramApplication();
    kes::Model m;
    kes::InitialiseModel(m);
    m.RevArmPositionCount = 3; // mid gear and normal full gear both ways
    DiagramTextState text;
    QImage image(diagrams::SteamClientSize, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        diagrams::BeginDiagram(p);
        diagrams::PaintSteamDiagram(p, m, text);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel("3 positions x 150 solves and painting");
}
BENCHMARK(BM_SteamDiagram)->Unit(benchmark::kMillisecond);

} // namespace
