// SPDX-License-Identifier: GPL-3.0-or-later
#include "workshop/arrangement.h"

#include "analysis/link_geometry.h"
#include "model/absolute_points.h"
#include "model/model.h"
#include "model/solver.h"
#include "workshop/sheet_output.h"
#include "workshop/sheet_text.h"
#include "workshop/title_block.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <memory>

namespace workshop {

namespace {

constexpr double MarginMm = 10.0;
constexpr double StripGapMm = 5.0; // between the drawing and the title strip
constexpr double CrossMm = 3.0;

struct World {
    double MinX = 1e300, MaxX = -1e300, MinY = 1e300, MaxY = -1e300;
    void Add(double x, double y) {
        MinX = std::min(MinX, x), MaxX = std::max(MaxX, x);
        MinY = std::min(MinY, y), MaxY = std::max(MaxY, y);
    }
};

std::unique_ptr<kes::Model> Solved(const kes::Model& m, const ArrangementDef& def, QString* error) {
    auto c = std::make_unique<kes::Model>(m);
    c->DriverAngle = static_cast<float>(def.CrankAngle);
    c->RevArmSetting = static_cast<float>(def.Setting.value_or(m.MidGear()));
    c->SolveError = false;
    c->BeepOnError = true;
    kes::SolveLinkage(*c);
    if (c->SolveError) {
        if (error)
            *error = QStringLiteral("The linkage does not close at crank angle %1 and setting %2.")
                         .arg(def.CrankAngle)
                         .arg(c->RevArmSetting);
        return nullptr;
    }
    return c;
}

World Extent(const kes::Model& c, double pin) {
    World w;
    const double r = 0.5 * c.Frame.DriverDiameter;
    w.Add(-r, -r);
    w.Add(r, r);
    for (const kes::GearLink& l : kes::GearLinks(c)) {
        const kes::LinkPlacement at = kes::PlaceOnSolved(l, c);
        for (const kes::Point2& q : kes::SampleOutline(kes::LinkOutline(l, pin), 15.0)) {
            const kes::Point2 wq = at.Apply({"", q.X, q.Y, 0});
            w.Add(wq.X, wq.Y);
        }
    }
    const auto& cyl = c.Cylinder;
    const double e = cyl[kes::CylCtrToDriver], yc = c.Points[kes::Crosshead].Y;
    const double half = 0.5 * std::max(cyl[kes::BoreLength], cyl[kes::ValveChamberLength]);
    w.Add(e - half, yc - 0.5 * cyl[kes::BoreDiameter]);
    w.Add(e + half, yc + cyl[kes::ValveSurfaceToCylCL] + cyl[kes::ValveChamberHeight]);
    return w;
}

QSizeF DrawingArea(QSizeF page) {
    return QSizeF(page.width() - 2 * MarginMm,
                  page.height() - 2 * MarginMm - TitleBlockMm.height() - StripGapMm);
}

} // namespace

const std::vector<int>& ArrangementScales() {
    static const std::vector<int> s = {1, 2, 4, 5, 8, 10};
    return s;
}

bool ParseArrangementScale(const std::string& text, std::optional<int>& divisor) {
    if (text == "fit") {
        divisor.reset();
        return true;
    }
    for (int s : ArrangementScales())
        if (text == "1:" + std::to_string(s)) {
            divisor = s;
            return true;
        }
    return false;
}

std::optional<ArrangementPlan> PlanArrangement(const kes::Model& m, const ArrangementDef& def,
                                               QString* error) {
    const auto c = Solved(m, def, error);
    if (!c) return std::nullopt;
    const double pin = def.PinDiameter.value_or(kes::DefaultPinDiameter(m));
    const World w = Extent(*c, pin);
    ArrangementPlan plan;
    plan.PageMm = def.Paper.SizeMm(def.Paper.Landscape.value_or(true));
    const QSizeF area = DrawingArea(plan.PageMm);
    const double perUnit = MmPer(def.DesignUnit);
    const double fit = std::min(area.width() / ((w.MaxX - w.MinX) * perUnit),
                                area.height() / ((w.MaxY - w.MinY) * perUnit));
    if (!(fit > 0) || !std::isfinite(fit)) {
        if (error) *error = QStringLiteral("The gear has no size to draw.");
        return std::nullopt;
    }
    if (def.ScaleDivisor) {
        if (1.0 / *def.ScaleDivisor > fit * (1 + 1e-9)) {
            if (error) {
                const auto& s = ArrangementScales();
                const auto fits =
                    std::find_if(s.begin(), s.end(), [&](int d) { return 1.0 / d <= fit; });
                *error = QStringLiteral("The gear does not fit the sheet at 1:%1%2.")
                             .arg(*def.ScaleDivisor)
                             .arg(fits == s.end() ? QStringLiteral("; choose fit or a larger sheet")
                                                  : QStringLiteral("; 1:%1 fits").arg(*fits));
            }
            return std::nullopt;
        }
        plan.MmPerUnit = perUnit / *def.ScaleDivisor;
        plan.ScaleText = QStringLiteral("1:%1").arg(*def.ScaleDivisor);
    } else {
        plan.MmPerUnit = perUnit * fit;
        plan.ScaleText = QStringLiteral("fit, 1:%1").arg(1.0 / fit, 0, 'f', 2);
    }
    const double width = (w.MaxX - w.MinX) * plan.MmPerUnit;
    const double height = (w.MaxY - w.MinY) * plan.MmPerUnit;
    plan.AxleMm = QPointF(MarginMm + (area.width() - width) / 2 - w.MinX * plan.MmPerUnit,
                          MarginMm + (area.height() - height) / 2 + w.MaxY * plan.MmPerUnit);
    return plan;
}

bool PaintArrangement(QPainter& p, const kes::Model& m, const ArrangementDef& def) {
    const auto plan = PlanArrangement(m, def);
    if (!plan) return false;
    const auto c = Solved(m, def, nullptr);
    const double pin = def.PinDiameter.value_or(kes::DefaultPinDiameter(m));
    const auto mm = [&](double x, double y) {
        return QPointF(plan->AxleMm.x() + x * plan->MmPerUnit,
                       plan->AxleMm.y() - y * plan->MmPerUnit);
    };
    p.save();
    p.fillRect(QRectF(QPointF(0, 0), plan->PageMm), Qt::white);
    p.setBrush(Qt::NoBrush);
    // Wheel, crank circle and the two centre lines.
    const QPen thin(Qt::darkGray, ThinLineMm, Qt::DashDotLine);
    p.setPen(QPen(Qt::black, ThinLineMm));
    const double wheel = 0.5 * c->Frame.DriverDiameter * plan->MmPerUnit;
    p.drawEllipse(mm(0, 0), wheel, wheel);
    p.setPen(thin);
    const double crank = 0.5 * c->Frame.StrokeLength * plan->MmPerUnit;
    p.drawEllipse(mm(0, 0), crank, crank);
    const auto& cyl = c->Cylinder;
    const double e = cyl[kes::CylCtrToDriver], yc = c->Points[kes::Crosshead].Y;
    const double ys = yc + cyl[kes::ValveStemToCylCL];
    p.drawLine(mm(-0.5 * c->Frame.DriverDiameter, yc), mm(e + 0.5 * cyl[kes::BoreLength], yc));
    p.drawLine(mm(c->Points[kes::ValveStemJoint].X, ys),
               mm(e + 0.5 * cyl[kes::ValveChamberLength], ys));
    // Cylinder and valve chest.
    p.setPen(QPen(Qt::gray, ThickLineMm));
    p.drawRect(QRectF(mm(e - 0.5 * cyl[kes::BoreLength], yc + 0.5 * cyl[kes::BoreDiameter]),
                      mm(e + 0.5 * cyl[kes::BoreLength], yc - 0.5 * cyl[kes::BoreDiameter])));
    const double vs = yc + cyl[kes::ValveSurfaceToCylCL];
    p.drawRect(QRectF(mm(e - 0.5 * cyl[kes::ValveChamberLength], vs + cyl[kes::ValveChamberHeight]),
                      mm(e + 0.5 * cyl[kes::ValveChamberLength], vs)));
    // The links.
    const double r = 0.5 * pin * plan->MmPerUnit;
    for (const kes::GearLink& l : kes::GearLinks(*c)) {
        const kes::LinkPlacement at = kes::PlaceOnSolved(l, *c);
        QPainterPath path;
        const auto pts = kes::SampleOutline(kes::LinkOutline(l, pin), 5.0);
        for (size_t i = 0; i < pts.size(); ++i) {
            const kes::Point2 w = at.Apply({"", pts[i].X, pts[i].Y, 0});
            if (i == 0)
                path.moveTo(mm(w.X, w.Y));
            else
                path.lineTo(mm(w.X, w.Y));
        }
        path.closeSubpath();
        p.setPen(QPen(Qt::black, ThickLineMm));
        p.drawPath(path);
        p.setPen(QPen(Qt::black, ThinLineMm));
        for (const kes::LinkPin& q : l.Pins) {
            const kes::Point2 w = at.Apply(q);
            p.drawEllipse(mm(w.X, w.Y), r, r);
        }
    }
    // The fixed pivots, with their names.
    p.setPen(QPen(Qt::red, ThinLineMm));
    const std::pair<kes::WorldPosition, QString> pivots[] = {
        {{0.0, 0.0}, QStringLiteral("axle")},
        {kes::AbsolutePosition(*c, kes::GearMount), QStringLiteral("gear mount")},
        {kes::AbsolutePosition(*c, kes::RevArmPivot), QStringLiteral("reverse-arm pivot")},
        {kes::AbsolutePosition(*c, kes::BellCrankPivot), QStringLiteral("bell-crank pivot")}};
    for (const auto& [w, name] : pivots) {
        const QPointF q = mm(w.X, w.Y);
        p.setPen(QPen(Qt::red, ThinLineMm));
        p.drawLine(q - QPointF(CrossMm, 0), q + QPointF(CrossMm, 0));
        p.drawLine(q - QPointF(0, CrossMm), q + QPointF(0, CrossMm));
        SheetText(p, q + QPointF(CrossMm + 0.5, -CrossMm - 0.5), name, 2.2);
    }

    TitleInfo t = TitleFor(m, QStringLiteral("General arrangement"), def.SourceFile);
    t.Scale = plan->ScaleText;
    t.Unit = QString::fromLatin1(UnitText(def.DesignUnit));
    t.Extra = QStringLiteral("Crank angle %1 deg, reverse-arm setting %2")
                  .arg(def.CrankAngle, 0, 'f', 2)
                  .arg(c->RevArmSetting, 0, 'f', 4);
    PaintTitleBlock(p,
                    QPointF(plan->PageMm.width() - MarginMm - TitleBlockMm.width(),
                            plan->PageMm.height() - MarginMm - TitleBlockMm.height()),
                    t);
    p.restore();
    return true;
}

bool WriteArrangement(const QString& fileName, const kes::Model& m, const ArrangementDef& def,
                      QString* error) {
    const auto plan = PlanArrangement(m, def, error);
    if (!plan) return false;
    const QString title = QStringLiteral("KESTROVE general arrangement - %1")
                              .arg(QString::fromStdString(m.DataSetName));
    if (IsSvgName(fileName))
        return WriteSvgPage(
            fileName, plan->PageMm, title, [&](QPainter& p) { PaintArrangement(p, m, def); },
            error);
    const bool landscape = def.Paper.Landscape.value_or(true);
    return WritePdfPages(
               fileName, def.Paper, {PdfPage{plan->PageMm, landscape}}, title,
               [&](QPainter& p, int) { PaintArrangement(p, m, def); }, error) == 1;
}

} // namespace workshop
