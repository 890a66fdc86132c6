// SPDX-License-Identifier: GPL-3.0-or-later
#include "valve_events/events_charts.h"

#include "analysis/valve_events.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>

namespace events_window {

namespace {

// The ports' colours, as in the port events diagram's forward graph.
const QColor FrontColour(0, 128, 128);
const QColor RearColour(255, 0, 0);
const QString OffsetAxisTitle = QStringLiteral("Offset from mid gear (forward > 0)");
const char* const PortNames[] = {"Front port", "Rear port"};

std::optional<double> Value(const kes::PortEventSet& p, ChartQuantity q) {
    switch (q) {
    case ChartQuantity::CutOff:
        return p.Pct(kes::CutOff);
    case ChartQuantity::Lead:
        return p.Lead;
    case ChartQuantity::Release:
        return p.Pct(kes::Release);
    case ChartQuantity::Compression:
        return p.Pct(kes::Compression);
    }
    return std::nullopt;
}

QString ValueAxisTitle(ChartQuantity q) {
    return q == ChartQuantity::Lead ? QStringLiteral("Lead") : QStringLiteral("% of stroke");
}

// Four charts share a tab: small margins and short labels keep their
// numbers readable at the window's first size.
constexpr int ChartMinWidth = 300;
constexpr int ChartMinHeight = 230;
constexpr int ChartMargin = 4;

// Each unbroken run of a port's points is its own line, so no line is drawn
// across settings where the event does not happen; the legend names the
// port once.
void AddSeries(QChart& chart, const kes::EventsReport& r, ChartQuantity q, bool dashed,
               const QString& suffix) {
    for (int port = 0; port < 2; ++port) {
        QPen pen(port == 0 ? FrontColour : RearColour, dashed ? 1.5 : 2.0);
        if (dashed) pen.setStyle(Qt::DashLine);
        bool first = true;
        for (const std::vector<QPointF>& run : ChartRuns(r, port, q)) {
            auto* series = new QLineSeries(&chart);
            series->setName(QString::fromLatin1(PortNames[port]) + suffix);
            for (const QPointF& pt : run)
                series->append(pt);
            series->setPen(pen);
            chart.addSeries(series);
            if (!first)
                for (QLegendMarker* marker : chart.legend()->markers(series))
                    marker->setVisible(false);
            first = false;
        }
    }
}

} // namespace

kes::ReportDef ChartReportDef(const kes::Mechanism& m) {
    kes::ReportDef def;
    const double max = m.Frame.RevArmMax;
    for (int k = -ChartStepsEachWay; k <= ChartStepsEachWay; ++k)
        def.Offsets.push_back(max * k / ChartStepsEachWay);
    return def;
}

QString ChartTitle(ChartQuantity q) {
    static const char* const titles[] = {"Cut-off", "Lead", "Release", "Compression"};
    return QString::fromLatin1(titles[static_cast<int>(q)]);
}

std::vector<std::vector<QPointF>> ChartRuns(const kes::EventsReport& r, int port, ChartQuantity q) {
    std::vector<std::vector<QPointF>> runs(1);
    for (const kes::ReportRow& row : r.Rows) {
        const auto v = Value(port == 0 ? row.Events.Front : row.Events.Rear, q);
        if (row.Offset && v)
            runs.back().emplace_back(*row.Offset, *v);
        else if (!runs.back().empty())
            runs.emplace_back();
    }
    if (runs.back().empty()) runs.pop_back();
    return runs;
}

EventsCharts::EventsCharts(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    for (int i = 0; i < ChartCount; ++i) {
        auto* chart = new QChart;
        chart->setTitle(ChartTitle(static_cast<ChartQuantity>(i)));
        chart->legend()->setAlignment(Qt::AlignBottom);
        chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
        chart->setMargins(QMargins(ChartMargin, ChartMargin, ChartMargin, ChartMargin));
        chart->setBackgroundRoundness(0);
        auto* view = new QChartView(chart, this);
        view->setMinimumSize(ChartMinWidth, ChartMinHeight);
        view->setObjectName(QStringLiteral("ValveEventsChart%1").arg(i));
        view->setRenderHint(QPainter::Antialiasing);
        views_[static_cast<size_t>(i)] = view;
        grid->addWidget(view, i / 2, i % 2);
    }
}

QChart* EventsCharts::Chart(ChartQuantity q) const {
    return views_[static_cast<size_t>(q)]->chart();
}

void EventsCharts::Show(const kes::EventsReport& current, const kes::EventsReport* compared,
                        const QString& comparedName) {
    for (int i = 0; i < ChartCount; ++i) {
        const auto q = static_cast<ChartQuantity>(i);
        QChart& chart = *Chart(q);
        chart.removeAllSeries();
        for (QAbstractAxis* axis : chart.axes()) {
            chart.removeAxis(axis);
            delete axis;
        }
        AddSeries(chart, current, q, false, QString());
        if (compared)
            AddSeries(chart, *compared, q, true, QStringLiteral(", %1").arg(comparedName));
        auto* x = new QValueAxis(&chart);
        x->setTitleText(OffsetAxisTitle);
        x->setLabelFormat(QStringLiteral("%.2g"));
        auto* y = new QValueAxis(&chart);
        y->setTitleText(ValueAxisTitle(q));
        y->setLabelFormat(q == ChartQuantity::Lead ? QStringLiteral("%.3f")
                                                   : QStringLiteral("%.0f"));
        chart.addAxis(x, Qt::AlignBottom);
        chart.addAxis(y, Qt::AlignLeft);
        double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
        bool any = false;
        for (QAbstractSeries* s : chart.series()) {
            s->attachAxis(x);
            s->attachAxis(y);
            for (const QPointF& p : static_cast<QLineSeries*>(s)->points()) {
                xMin = any ? std::min(xMin, p.x()) : p.x();
                xMax = any ? std::max(xMax, p.x()) : p.x();
                yMin = any ? std::min(yMin, p.y()) : p.y();
                yMax = any ? std::max(yMax, p.y()) : p.y();
                any = true;
            }
        }
        if (any) {
            x->setRange(xMin, xMax > xMin ? xMax : xMin + 1);
            y->setRange(yMin, yMax > yMin ? yMax : yMin + 1);
            y->applyNiceNumbers();
        }
    }
}

} // namespace events_window
