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

struct Range {
    double Low = std::numeric_limits<double>::infinity();
    double High = -std::numeric_limits<double>::infinity();
    bool Valid() const { return High > Low; }
};

// The x and y ranges of the series.
std::pair<Range, Range> Extent(const QList<QAbstractSeries*>& series) {
    Range x, y;
    for (QAbstractSeries* a : series)
        for (const QPointF& p : static_cast<QLineSeries*>(a)->points()) {
            x.Low = std::min(x.Low, p.x());
            x.High = std::max(x.High, p.x());
            y.Low = std::min(y.Low, p.y());
            y.High = std::max(y.High, p.y());
        }
    return {x, y};
}

QValueAxis* ValueAxis(const QString& title, Range r, double margin) {
    auto* a = new QValueAxis;
    a->setTitleText(title);
    if (r.Valid()) {
        const double m = margin * (r.High - r.Low);
        a->setRange(r.Low - m, r.High + m);
        a->applyNiceNumbers();
    }
    return a;
}

void Attach(QAbstractSeries* s, QAbstractAxis* x, QAbstractAxis* y) {
    s->attachAxis(x);
    s->attachAxis(y);
}

// Axes fitted to the series (with a margin on y), titled.
void Axes(QChart& chart, const QString& xTitle, const QString& yTitle) {
    const auto [xr, yr] = Extent(chart.series());
    QValueAxis* x = ValueAxis(xTitle, xr, 0.0);
    QValueAxis* y = ValueAxis(yTitle, yr, 0.05);
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* a : chart.series())
        Attach(a, x, y);
}

// A turn of the crank, in quarters.
QValueAxis* CrankAxis() {
    auto* a = new QValueAxis;
    a->setTitleText(QString::fromUtf8("Crank angle from front dead centre (\u00b0)"));
    a->setRange(0, 360);
    a->setTickCount(5);
    a->setLabelFormat(QStringLiteral("%.0f"));
    return a;
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
    QValueAxis* x = CrankAxis();
    QValueAxis* y = ValueAxis(QStringLiteral("Effort (%1)").arg(Unit(n.Force)),
                              Extent(chart.series()).second, 0.05);
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* a : chart.series())
        Attach(a, x, y);
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
    // MEP and power differ in size by an order: each gets its own axis.
    const auto [xr, mr] = Extent({mep});
    const Range pr = Extent({ihp}).second;
    QValueAxis* x = ValueAxis(speed ? QStringLiteral("Speed (%1)").arg(Unit(n.Speed))
                                    : QStringLiteral("Cut-off (%)"),
                              xr.Valid() ? xr : Extent({ihp}).first, 0.0);
    QValueAxis* yMep = ValueAxis(QStringLiteral("MEP (%1)").arg(Unit(n.Pressure)), mr, 0.05);
    QValueAxis* yPower = ValueAxis(QStringLiteral("IHP (%1)").arg(Unit(n.Power)), pr, 0.05);
    yMep->setLinePenColor(FrontColour);
    yMep->setLabelsColor(FrontColour);
    yPower->setLinePenColor(PowerColour);
    yPower->setLabelsColor(PowerColour);
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(yMep, Qt::AlignLeft);
    chart.addAxis(yPower, Qt::AlignRight);
    Attach(mep, x, yMep);
    Attach(ihp, x, yPower);
}

} // namespace performance_window
