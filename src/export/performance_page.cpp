// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/performance_page.h"

#include "cylinder/performance.h"
#include "cylinder/performance_json.h"
#include "export/page_writer.h"
#include "model/model.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace exporting {

namespace {

constexpr double CutOffs[] = {25.0, 50.0, 75.0};
constexpr double PageSpeed = 15.0; // mph or km/h, as the window starts
const QColor CutOffColours[] = {QColor(0x1f, 0x4e, 0xb4), QColor(0x20, 0x90, 0x40),
                                QColor(0xc0, 0x30, 0x20)};

struct Range {
    double Lo = std::numeric_limits<double>::infinity();
    double Hi = -std::numeric_limits<double>::infinity();
    void Add(double v) {
        Lo = std::min(Lo, v);
        Hi = std::max(Hi, v);
    }
    bool Ok() const { return Hi > Lo; }
};

// A step of 1, 2 or 5 times a power of ten giving about five ticks.
double TickStep(const Range& r) {
    const double raw = (r.Hi - r.Lo) / 5.0;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * p >= raw) return m * p;
    return 10.0 * p;
}

struct Plot {
    QRectF Box;
    Range X, Y;
    QPointF At(double x, double y) const {
        return {Box.left() + (x - X.Lo) / (X.Hi - X.Lo) * Box.width(),
                Box.bottom() - (y - Y.Lo) / (Y.Hi - Y.Lo) * Box.height()};
    }
};

void Frame(QPainter& p, const Plot& plot, const QString& xTitle, const QString& yTitle) {
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.Box);
    const QFontMetricsF fm(p.font());
    const double xs = TickStep(plot.X), ys = TickStep(plot.Y);
    for (double x = std::ceil(plot.X.Lo / xs) * xs; x <= plot.X.Hi + 1e-9; x += xs) {
        const QPointF a = plot.At(x, plot.Y.Lo);
        p.drawLine(a, a - QPointF(0, fm.height() / 3));
        p.drawText(QRectF(a.x() - 40 * fm.averageCharWidth(), a.y(), 80 * fm.averageCharWidth(),
                          fm.height()),
                   Qt::AlignHCenter | Qt::AlignTop, QString::number(x));
    }
    for (double y = std::ceil(plot.Y.Lo / ys) * ys; y <= plot.Y.Hi + 1e-9; y += ys) {
        const QPointF a = plot.At(plot.X.Lo, y);
        p.drawLine(a, a + QPointF(fm.height() / 3, 0));
        p.drawText(QRectF(a.x() - 8 * fm.averageCharWidth() - fm.height() / 4,
                          a.y() - fm.height() / 2, 8 * fm.averageCharWidth(), fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(y));
    }
    p.drawText(
        QRectF(plot.Box.left(), plot.Box.bottom() + fm.height(), plot.Box.width(), fm.height()),
        Qt::AlignHCenter, xTitle);
    p.drawText(
        QRectF(plot.Box.left(), plot.Box.top() - 1.3 * fm.height(), plot.Box.width(), fm.height()),
        Qt::AlignLeft, yTitle);
}

void Polyline(QPainter& p, const Plot& plot, const std::vector<QPointF>& points, const QPen& pen) {
    if (points.size() < 2) return;
    QPainterPath path(plot.At(points[0].x(), points[0].y()));
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(plot.At(points[i].x(), points[i].y()));
    p.setPen(pen);
    p.drawPath(path);
}

QRectF PlotBox(QPainter& p, double width, double height) {
    const QFontMetricsF fm(p.font());
    return QRectF(9 * fm.averageCharWidth(), 2 * fm.height(), width - 11 * fm.averageCharWidth(),
                  height - 5 * fm.height());
}

} // namespace

std::optional<kes::EngineData> EngineBeside(const QString& designFile) {
    if (designFile.isEmpty()) return std::nullopt;
    const kes::EngineFileResult r =
        kes::LoadEngineFile(kes::EngineFilePathFor(designFile.toStdString()));
    if (!r.Ok || !r.Present) return std::nullopt;
    return r.Data;
}

void WritePerformancePage(PageWriter& w, const kes::Model& m, const kes::EngineData& e) {
    const kes::PerformanceUnitNames n = kes::UnitNames(e.Units);
    w.BreakPage();
    w.Heading(QStringLiteral("Performance"));
    w.Paragraph(
        QStringLiteral("Boiler %1 %2 gauge, superheat %3, back pressure %4 %2, speed %5 %6, "
                       "running forward.")
            .arg(e.BoilerPressure)
            .arg(QString::fromUtf8(n.Pressure))
            .arg(e.Superheat)
            .arg(e.BackPressure)
            .arg(PageSpeed)
            .arg(QString::fromUtf8(n.Speed)));
    std::vector<kes::PerformanceResult> runs;
    TextTable table;
    table.Header = {QStringLiteral("Cut-off %"),
                    QStringLiteral("MEP ") + n.Pressure,
                    QStringLiteral("IHP ") + n.Power,
                    QStringLiteral("Tractive effort ") + n.Force,
                    QStringLiteral("Steam rate ") + n.Rate,
                    QStringLiteral("Cylinder efficiency %")};
    for (double c : CutOffs) {
        kes::PerformanceRequest r;
        r.Speed = PageSpeed;
        const std::optional<double> s = kes::SettingForCutOff(m, r.Direction, c);
        kes::PerformanceResult p;
        if (s) {
            r.Setting = *s;
            p = kes::ComputePerformance(m, e, r);
        } else {
            p.Error = "no setting gives this cut-off";
        }
        if (p.Ok)
            table.Rows.push_back(
                {QString::number(c), QString::number(p.Mep, 'f', 1), QString::number(p.Ihp, 'f', 2),
                 QString::number(p.TractiveEffort, 'f', 1),
                 p.SteamRate ? QString::number(*p.SteamRate, 'f', 1) : QString(),
                 p.CylinderEfficiency ? QString::number(*p.CylinderEfficiency * 100.0, 'f', 1)
                                      : QString()});
        else
            table.Rows.push_back({QString::number(c), QString::fromStdString(p.Error)});
        runs.push_back(std::move(p));
    }
    w.Table(table);

    const double width = w.Width(), height = width * 0.5;
    w.Picture(width, height,
              QStringLiteral("Indicator cards (front and rear) at 25, 50 and 75 % cut-off"),
              [&](QPainter& p) {
                  Plot plot;
                  plot.Box = PlotBox(p, width, height);
                  for (const kes::PerformanceResult& r : runs)
                      for (const auto* end : {&r.Front, &r.Rear})
                          for (const kes::CardRow& c : end->Card) {
                              plot.X.Add(c.Volume);
                              plot.Y.Add(c.Pressure);
                          }
                  if (!plot.X.Ok() || !plot.Y.Ok()) return;
                  Frame(p, plot, QStringLiteral("Volume (%1)").arg(QString::fromUtf8(n.Volume)),
                        QStringLiteral("Pressure (%1 gauge)").arg(QString::fromUtf8(n.Pressure)));
                  for (std::size_t i = 0; i < runs.size(); ++i)
                      for (const auto* end : {&runs[i].Front, &runs[i].Rear}) {
                          std::vector<QPointF> pts;
                          for (const kes::CardRow& c : end->Card)
                              pts.emplace_back(c.Volume, c.Pressure);
                          if (!pts.empty()) pts.push_back(pts.front());
                          Polyline(p, plot, pts, QPen(CutOffColours[i], w.Mm(0.35)));
                      }
              });

    kes::PerformanceRequest sweep;
    sweep.Setting = kes::SettingForCutOff(m, sweep.Direction, CutOffs[0]).value_or(0.0);
    const double top = e.Units == kes::EngineUnits::Metric ? 100.0 : 50.0;
    const std::vector<kes::SweepRow> rows = kes::SweepSpeed(m, e, sweep, top / 10, top, 10);
    w.Picture(width, height * 0.8,
              QStringLiteral("MEP (blue) and IHP (green) against speed at 25 % cut-off"),
              [&](QPainter& p) {
                  Plot plot;
                  plot.Box = PlotBox(p, width, height * 0.8);
                  std::vector<QPointF> mep, ihp;
                  plot.Y.Add(0.0);
                  for (const kes::SweepRow& r : rows) {
                      plot.X.Add(r.Speed);
                      if (r.Mep) {
                          mep.emplace_back(r.Speed, *r.Mep);
                          plot.Y.Add(*r.Mep);
                      }
                      if (r.Ihp) {
                          ihp.emplace_back(r.Speed, *r.Ihp);
                          plot.Y.Add(*r.Ihp);
                      }
                  }
                  if (!plot.X.Ok() || !plot.Y.Ok()) return;
                  Frame(p, plot, QStringLiteral("Speed (%1)").arg(QString::fromUtf8(n.Speed)),
                        QStringLiteral("MEP (%1), IHP (%2)")
                            .arg(QString::fromUtf8(n.Pressure), QString::fromUtf8(n.Power)));
                  Polyline(p, plot, mep, QPen(CutOffColours[0], w.Mm(0.35)));
                  Polyline(p, plot, ihp, QPen(CutOffColours[1], w.Mm(0.35)));
              });
}

} // namespace exporting
