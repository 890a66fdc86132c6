// SPDX-License-Identifier: GPL-3.0-or-later
// The workshop papers: the valve-setting sheet, the DXF plan and the tiling
// plan of the full-size drawing (which paints the picture once to find its
// ink).

#include "analysis/setting_sheet.h"
#include "picture/gear_drawing.h"
#include "model/model.h"
#include "workshop/gear_dxf.h"
#include "workshop/tiled_sheets.h"

#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

void BM_SettingSheet(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    const kes::SettingSheetDef def = kes::DefaultSettingSheetDef(m);
    for (auto _ : state) {
        const kes::SettingSheet s = kes::ComputeSettingSheet(m, def);
        benchmark::DoNotOptimize(s.Notches.data());
    }
    state.SetLabel("8 notches");
}
BENCHMARK(BM_SettingSheet)->Unit(benchmark::kMillisecond);

void BM_DxfPlan(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    const workshop::GearDxfDef def;
    for (auto _ : state) {
        const auto plan = workshop::PlanGearDxf(m, def);
        benchmark::DoNotOptimize(plan->Circles.data());
    }
}
BENCHMARK(BM_DxfPlan)->Unit(benchmark::kMicrosecond);

void BM_TilePlanFullSize(benchmark::State& state) {
    kes::Model m;
    kes::InitialiseModel(m);
    GearDrawingDef def;
    def.Setting = m.MidGear();
    def.TitleStrip = false;
    const auto layout = PlanGearDrawing(m, def);
    workshop::TiledPicture pic;
    pic.SizeMm = layout->SheetMm;
    pic.Paint = [&](QPainter& p) { PaintGearDrawing(p, m, def); };
    size_t sheets = 0;
    for (auto _ : state) {
        const workshop::TilePlan plan =
            workshop::PlanTiledSheets(pic, {workshop::PaperKind::A4, std::nullopt, {}});
        sheets = plan.Sheets.size();
        benchmark::DoNotOptimize(plan.Marks.data());
    }
    state.SetLabel(std::to_string(sheets) + " A4 sheets");
}
BENCHMARK(BM_TilePlanFullSize)->Unit(benchmark::kMillisecond);

} // namespace
