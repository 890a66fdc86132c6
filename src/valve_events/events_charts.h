// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Charts" tab: the events across the whole reverser range as curves,
// drawn with Qt Charts: cut-off, lead, release and compression of both
// ports against the setting's offset from mid gear, reverse gear to the
// left, forward to the right; the compared design's curves dashed.

#include "analysis/events_report.h"
#include "model/model.h"

#include <QPointF>
#include <QString>
#include <QWidget>

#include <array>
#include <vector>

class QChart;
class QChartView;

namespace events_window {

// The settings the charts are drawn at: this many steps each side of mid
// gear, out to RevArmMax, and mid gear itself both ways.
inline constexpr int ChartStepsEachWay = 20;
kes::ReportDef ChartReportDef(const kes::Mechanism& m);

enum class ChartQuantity { CutOff = 0, Lead = 1, Release = 2, Compression = 3 };
inline constexpr int ChartCount = 4;
QString ChartTitle(ChartQuantity q);

// One port's curve: (offset from mid gear, value) for each row where both
// are known, in the report's order, broken into runs where a row has none.
std::vector<std::vector<QPointF>> ChartRuns(const kes::EventsReport& r, int port, ChartQuantity q);

class EventsCharts : public QWidget {
  public:
    explicit EventsCharts(QWidget* parent = nullptr);
    // compared may be null; comparedName labels its curves.
    void Show(const kes::EventsReport& current, const kes::EventsReport* compared,
              const QString& comparedName);
    QChart* Chart(ChartQuantity q) const;

  private:
    std::array<QChartView*, ChartCount> views_{};
};

} // namespace events_window
