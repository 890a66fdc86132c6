// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The chart beside the before/after table: front - rear cut-off against
// the setting, the design as the run started (dashed grey) and the result
// (solid), over the run's settings. Reverse settings lie left of mid gear
// and forward ones right, each direction its own curve, so mid gear, run
// both ways, shows twice at 0. Drawn with Qt Charts.

#include "analysis/balance.h"

#include <QPointF>
#include <QWidget>

#include <vector>

class QChart;
class QChartView;

namespace balance_chart {

// (offset from mid gear, front - rear cut-off in points of the stroke) of
// one direction, for each row where both are known, by offset.
std::vector<QPointF> CutOffDifference(const kes::EventsReport& r, kes::RunDirection d);

class CutOffChart : public QWidget {
  public:
    explicit CutOffChart(QWidget* parent = nullptr);
    void Show(const kes::BalanceResult& r);
    void Clear();
    QChart* Chart() const;

  private:
    QChartView* view_ = nullptr;
};

} // namespace balance_chart
