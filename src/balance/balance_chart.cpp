// SPDX-License-Identifier: GPL-3.0-or-later
#include "balance/balance_chart.h"

#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <limits>

namespace balance_chart {

namespace {

// The design before in grey dashes under the result, as the live diagrams
// draw a second design.
const QColor BeforeColour(0x80, 0x80, 0x80);
const QColor AfterColour(0x1f, 0x4e, 0xb4);
constexpr qreal LineWidth = 1.6;
const QString BeforeName = QStringLiteral("Before");
const QString AfterName = QStringLiteral("After");
const QString SettingTitle =
    QString::fromUtf8("Setting: offset from mid gear (forward +, reverse \u2212)");
// Short enough to stand beside a chart a few hundred pixels high.
const QString DifferenceTitle = QString::fromUtf8("F \u2212 R cut-off %");

void Reset(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* a : chart.axes()) {
        chart.removeAxis(a);
        delete a;
    }
}

QLineSeries* Series(QChart& chart, const std::vector<QPointF>& points, const QString& name,
                    bool before, kes::RunDirection d) {
    auto* s = new QLineSeries;
    s->setName(name);
    s->setObjectName(name + (d == kes::RunDirection::Forward ? QStringLiteral(" forward")
                                                             : QStringLiteral(" reverse")));
    for (const QPointF& p : points)
        s->append(p);
    QPen pen(before ? BeforeColour : AfterColour, LineWidth);
    if (before) pen.setStyle(Qt::DashLine);
    s->setPen(pen);
    s->setPointsVisible(true);
    chart.addSeries(s);
    // One legend entry each for before and after, not one per direction.
    if (d == kes::RunDirection::Reverse)
        for (QLegendMarker* m : chart.legend()->markers(s))
            m->setVisible(false);
    return s;
}

// Axes fitted to the points with a margin; 0 always in sight, the balance
// the run aims at.
void Axes(QChart& chart) {
    double x0 = std::numeric_limits<double>::infinity(), x1 = -x0, y0 = 0.0, y1 = 0.0;
    for (QAbstractSeries* a : chart.series())
        for (const QPointF& p : static_cast<QLineSeries*>(a)->points()) {
            x0 = std::min(x0, p.x());
            x1 = std::max(x1, p.x());
            y0 = std::min(y0, p.y());
            y1 = std::max(y1, p.y());
        }
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    x->setTitleText(SettingTitle);
    y->setTitleText(DifferenceTitle);
    if (x1 > x0)
        x->setRange(x0, x1);
    else if (x1 == x0) // one setting
        x->setRange(x0 - 1.0, x0 + 1.0);
    else // no points yet
        x->setRange(-1.0, 1.0);
    const double margin = y1 > y0 ? 0.05 * (y1 - y0) : 1.0;
    y->setRange(y0 - margin, y1 + margin);
    x->applyNiceNumbers();
    y->applyNiceNumbers();
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* a : chart.series()) {
        a->attachAxis(x);
        a->attachAxis(y);
    }
}

} // namespace

std::vector<QPointF> CutOffDifference(const kes::EventsReport& r, kes::RunDirection d) {
    std::vector<QPointF> points;
    for (const kes::ReportRow& row : r.Rows)
        if (row.Direction == d && row.Offset && row.CutOffDiff)
            points.emplace_back(*row.Offset, *row.CutOffDiff);
    std::stable_sort(points.begin(), points.end(),
                     [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    return points;
}

CutOffChart::CutOffChart(QWidget* parent) : QWidget(parent) {
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    view_ = new QChartView(chart, this);
    view_->setObjectName(QStringLiteral("CutOffChart"));
    view_->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    Clear();
}

QChart* CutOffChart::Chart() const {
    return view_->chart();
}

void CutOffChart::Clear() {
    QChart& chart = *Chart();
    Reset(chart);
    Axes(chart);
}

void CutOffChart::Show(const kes::BalanceResult& r) {
    QChart& chart = *Chart();
    Reset(chart);
    for (kes::RunDirection d : {kes::RunDirection::Forward, kes::RunDirection::Reverse}) {
        Series(chart, CutOffDifference(r.Before, d), BeforeName, true, d);
        Series(chart, CutOffDifference(r.After, d), AfterName, false, d);
    }
    Axes(chart);
}

} // namespace balance_chart
