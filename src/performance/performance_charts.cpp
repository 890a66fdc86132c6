// SPDX-License-Identifier: GPL-3.0-or-later
#include "performance/performance_charts.h"

#include "cylinder/performance_json.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <limits>

namespace performance_window {

namespace {

const QColor FrontColour(0x1f, 0x4e, 0xb4);
const QColor RearColour(0xc0, 0x30, 0x20);
const QColor MeanColour(0x40, 0x40, 0x40);
const QColor PowerColour(0x20, 0x90, 0x40);
constexpr qreal LineWidth = 1.6;

QString Unit(const char* text) {
    return QString::fromUtf8(text);
}

QLineSeries* Series(const QString& name, const QColor& colour, bool dashed) {
    auto* s = new QLineSeries;
    s->setName(name);
    QPen pen(colour, LineWidth);
    if (dashed) pen.setStyle(Qt::DashLine);
    s->setPen(pen);
    return s;
}

// Axes fitted to the series (with a margin), titled.
void Axes(QChart& chart, const QString& xTitle, const QString& yTitle) {
    double x0 = std::numeric_limits<double>::infinity(), x1 = -x0, y0 = x0, y1 = -x0;
    for (QAbstractSeries* a : chart.series())
        for (const QPointF& p : static_cast<QLineSeries*>(a)->points()) {
            x0 = std::min(x0, p.x());
            x1 = std::max(x1, p.x());
            y0 = std::min(y0, p.y());
            y1 = std::max(y1, p.y());
        }
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    x->setTitleText(xTitle);
    y->setTitleText(yTitle);
    if (x1 > x0) x->setRange(x0, x1);
    if (y1 > y0) y->setRange(y0 - 0.05 * (y1 - y0), y1 + 0.05 * (y1 - y0));
    x->applyNiceNumbers();
    y->applyNiceNumbers();
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* a : chart.series()) {
        a->attachAxis(x);
        a->attachAxis(y);
    }
}

void Reset(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* a : chart.axes()) {
        chart.removeAxis(a);
        delete a;
    }
}

void AddCard(QChart& chart, const std::vector<kes::CardRow>& card, QLineSeries* s) {
    for (const kes::CardRow& c : card)
        s->append(c.Volume, c.Pressure);
    if (!card.empty()) s->append(card.front().Volume, card.front().Pressure);
    chart.addSeries(s);
}

} // namespace

void ClearChart(QChart& chart, const QString& title) {
    Reset(chart);
    chart.setTitle(title);
}

void FillCardChart(QChart& chart, const kes::PerformanceResult& r) {
    Reset(chart);
    const kes::PerformanceUnitNames n = kes::UnitNames(r.Units);
    chart.setTitle(QStringLiteral("Indicator cards: MEP %1 %2 front, %3 %2 rear")
                       .arg(r.Front.Mep, 0, 'f', 1)
                       .arg(Unit(n.Pressure))
                       .arg(r.Rear.Mep, 0, 'f', 1));
    AddCard(chart, r.Front.Card, Series(QStringLiteral("Front"), FrontColour, false));
    AddCard(chart, r.Rear.Card, Series(QStringLiteral("Rear"), RearColour, false));
    AddCard(chart, r.Front.IdealCard, Series(QStringLiteral("Front, ideal"), FrontColour, true));
    AddCard(chart, r.Rear.IdealCard, Series(QStringLiteral("Rear, ideal"), RearColour, true));
    Axes(chart, QStringLiteral("Volume (%1)").arg(Unit(n.Volume)),
         QStringLiteral("Pressure (%1 gauge)").arg(Unit(n.Pressure)));
}

void FillTractiveChart(QChart& chart, const kes::PerformanceResult& r) {
    Reset(chart);
    const kes::PerformanceUnitNames n = kes::UnitNames(r.Units);
    chart.setTitle(QStringLiteral("Tractive effort at the rim: mean %1 %2")
                       .arg(r.TractiveEffort, 0, 'f', 1)
                       .arg(Unit(n.Force)));
    auto* te = Series(QStringLiteral("All cylinders"), FrontColour, false);
    for (int deg = 0; deg < 360; ++deg)
        te->append(deg, r.TractiveByCrank[deg]);
    chart.addSeries(te);
    auto* mean = Series(QStringLiteral("Mean"), MeanColour, true);
    mean->append(0, r.TractiveEffort);
    mean->append(359, r.TractiveEffort);
    chart.addSeries(mean);
    Axes(chart, QString::fromUtf8("Crank angle from front dead centre (\u00b0)"),
         QStringLiteral("Tractive effort (%1)").arg(Unit(n.Force)));
}

void FillSweepChart(QChart& chart, Sweep kind, kes::EngineUnits units,
                    const std::vector<kes::SweepRow>& rows) {
    Reset(chart);
    const kes::PerformanceUnitNames n = kes::UnitNames(units);
    const bool speed = kind == Sweep::Speed;
    chart.setTitle(speed ? QStringLiteral("Against speed at this setting")
                         : QStringLiteral("Against cut-off at this speed"));
    auto* mep = Series(QStringLiteral("MEP (%1)").arg(Unit(n.Pressure)), FrontColour, false);
    auto* ihp = Series(QStringLiteral("IHP (%1)").arg(Unit(n.Power)), PowerColour, false);
    for (const kes::SweepRow& row : rows) {
        const double x = speed ? row.Speed : row.CutOffPct;
        if (row.Mep) mep->append(x, *row.Mep);
        if (row.Ihp) ihp->append(x, *row.Ihp);
    }
    chart.addSeries(mep);
    chart.addSeries(ihp);
    Axes(chart,
         speed ? QStringLiteral("Speed (%1)").arg(Unit(n.Speed)) : QStringLiteral("Cut-off (%)"),
         QStringLiteral("MEP (%1), IHP (%2)").arg(Unit(n.Pressure), Unit(n.Power)));
}

} // namespace performance_window
