// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Performance window's three plots as Qt Charts: the indicator cards of
// both ends with the ideal cards of the same events dashed, the tractive
// effort against crank angle, and the speed or cut-off sweep. Each Fill
// replaces what the chart held.

#include "cylinder/performance.h"
#include "performance/performance_job.h"

#include <vector>

class QChart;
class QString;

namespace performance_window {

void FillCardChart(QChart& chart, const kes::PerformanceResult& r);
void FillTractiveChart(QChart& chart, const kes::PerformanceResult& r);
void FillSweepChart(QChart& chart, Sweep kind, kes::EngineUnits units,
                    const std::vector<kes::SweepRow>& rows);
void ClearChart(QChart& chart, const QString& title);

} // namespace performance_window
