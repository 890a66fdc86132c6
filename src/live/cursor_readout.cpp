// SPDX-License-Identifier: GPL-3.0-or-later
#include "live/cursor_readout.h"

#include "analysis/precise_solve.h"
#include "analysis/steam_simulation.h"
#include "analysis/stroke_scale.h"
#include "analysis/travel_readouts.h"
#include "analysis/valve_events.h"
#include "diagrams/diagram_paint.h"
#include "diagrams/oval_diagram.h"
#include "model/model.h"
#include "model/solver.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace live {

namespace {

// The sine diagram: x 90 is 0 degrees, one pixel per degree; its curves
// run from sample 7 to sample 73, x = 8 j + 2.
constexpr int SineZeroX = 90;
constexpr int SineLeftX = 8 * analysis::SineFirstSample + 2;
constexpr int SineRightX = 8 * analysis::SineLastSample + 2;
// The oval's loops are searched in whole degrees, then finer around the
// nearest.
constexpr double OvalSearchStepDeg = 1.0;
constexpr double OvalFineStepDeg = 0.05;
// The steam diagram: travel x = 584 - 0.84375 T, pressure y = 343 - 0.9 P.
constexpr int SteamFrontX = 584;
constexpr double SteamTravelScale = 0.84375;
constexpr int SteamBaseY = 343;
constexpr double SteamPressureScale = 0.9;
// The port events diagram: row i at y = 343 - 16 i, 0 % at x 9, 540 pixels
// for the stroke.
constexpr int PortBaseY = 343;
constexpr int PortRowSpacing = 16;
constexpr int PortRows = 18;
constexpr int PortLeftX = 9;
constexpr double PortPixelsPerPct = 5.4;

class KeepSetting {
  public:
    explicit KeepSetting(kes::Model& m) : m_(m), setting_(m.RevArmSetting), angle_(m.DriverAngle) {}
    ~KeepSetting() {
        m_.RevArmSetting = setting_;
        m_.DriverAngle = angle_;
    }
    KeepSetting(const KeepSetting&) = delete;
    KeepSetting& operator=(const KeepSetting&) = delete;

  private:
    kes::Model& m_;
    float setting_, angle_;
};

int PositionCount(const kes::Model& m) {
    return std::clamp(m.RevArmPositionCount, 0, 9);
}

// The part of a port that is open, 0 while closed.
double Opening(double raw, double portWidth) {
    return std::clamp(raw, 0.0, std::max(portWidth, 0.0));
}

QString Number(double v, int decimals) {
    QString text = QString::number(v, 'f', decimals);
    if (text.startsWith(QLatin1Char('-')) &&
        text.mid(1).remove(QLatin1Char('0')) == QLatin1String("."))
        text.remove(0, 1);
    return text;
}

QString SteamText(QPoint at) {
    const double travel = (SteamFrontX - at.x()) / SteamTravelScale;
    const double pressure = (SteamBaseY - at.y()) / SteamPressureScale;
    if (travel < 0 || travel > analysis::StrokeUnits || pressure < 0) return {};
    return QStringLiteral("pressure %1 % of boiler, piston %2 % from front dead centre, %3 % "
                          "from rear")
        .arg(Number(pressure / analysis::steam::BoilerPressure * 100.0, 1),
             Number(analysis::FrontPercent(travel), 1), Number(analysis::RearPercent(travel), 1));
}

QString PortText(kes::Model& m, QPoint at) {
    const double row = static_cast<double>(PortBaseY - at.y()) / PortRowSpacing;
    const double pct = (at.x() - PortLeftX) / PortPixelsPerPct;
    if (row < 0 || row > PortRows || pct < 0 || pct > 100) return {};
    const bool reverse = m.PortGraphMode == 'R';
    const double offset = row * m.Frame.RevArmMax / PortRows;
    const double setting = m.MidGear() + (reverse ? -offset : offset);
    kes::PreciseLinkage linkage(m);
    const kes::TurnEvents events = kes::ComputeTurnEvents(
        linkage, setting, reverse ? kes::RunDirection::Reverse : kes::RunDirection::Forward);
    QString nearest;
    double best = std::numeric_limits<double>::infinity();
    for (const auto& [port, set] :
         {std::pair{"Front", &events.Front}, std::pair{"Rear", &events.Rear}})
        for (int k = 0; k < kes::EventKindCount; ++k) {
            const auto p = set->Pct(static_cast<kes::EventKind>(k));
            if (!p || std::abs(*p - pct) >= best) continue;
            best = std::abs(*p - pct);
            nearest =
                QStringLiteral("%1 %2 %3 %")
                    .arg(QString::fromLatin1(port),
                         QString::fromLatin1(kes::EventKindName(static_cast<kes::EventKind>(k))),
                         Number(*p, 1));
        }
    QString text = QStringLiteral("setting %1 (%2 from mid gear), %3 % of stroke")
                       .arg(Number(setting, 3), Number(setting - m.MidGear(), 3), Number(pct, 1));
    if (!nearest.isEmpty()) text += QStringLiteral(", nearest event: ") + nearest;
    return text;
}

} // namespace

std::optional<double> SineAngleAt(int x) {
    if (x < SineLeftX || x > SineRightX) return std::nullopt;
    return std::fmod(x - SineZeroX + 360.0 * 2, 360.0);
}

GearReadout SolveGearReadout(kes::Model& m, int n, double crankDeg) {
    KeepSetting keep(m);
    GearReadout r;
    r.Position = n;
    r.Setting = m.RevArmPositions[static_cast<size_t>(n)];
    r.CrankDeg = crankDeg;
    m.RevArmSetting = r.Setting;
    m.DriverAngle = static_cast<float>(crankDeg);
    kes::SolveLinkage(m);
    kes::SolvePortOpenings(m);
    const kes::SolverOutputs& s = m.Solver;
    r.ValveOffset = s.ValveOffset;
    r.FrontPct = analysis::FrontPercent(s.PistonTravel640);
    r.RearPct = analysis::RearPercent(s.PistonTravel640);
    r.FrontSteam = Opening(s.FrontSteamOpen, m.Cylinder[kes::SteamPortWidthFront]);
    r.FrontExhaust = Opening(s.FrontExhaustOpen, m.Cylinder[kes::SteamPortWidthFront]);
    r.RearSteam = Opening(s.RearSteamOpen, m.Cylinder[kes::SteamPortWidthRear]);
    r.RearExhaust = Opening(s.RearExhaustOpen, m.Cylinder[kes::SteamPortWidthRear]);
    return r;
}

std::optional<GearReadout> SineReadoutAt(kes::Model& m, QPoint at) {
    const auto angle = SineAngleAt(at.x());
    if (!angle || PositionCount(m) == 0) return std::nullopt;
    const double k = diagrams::PixelsPerUnit(m);
    std::optional<GearReadout> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int n = 1; n <= PositionCount(m); ++n) {
        const GearReadout r = SolveGearReadout(m, n, *angle);
        const double d = std::abs(diagrams::TravelY(r.ValveOffset, k) - at.y());
        if (d < bestDistance) {
            bestDistance = d;
            best = r;
        }
    }
    return best;
}

std::optional<GearReadout> OvalReadoutAt(kes::Model& m, QPoint at) {
    if (PositionCount(m) == 0) return std::nullopt;
    const double k = diagrams::PixelsPerUnit(m);
    int bestN = 0;
    double bestAngle = 0, bestDistance = std::numeric_limits<double>::infinity();
    KeepSetting keep(m);
    const auto search = [&](int n, double from, double to, double step) {
        m.RevArmSetting = m.RevArmPositions[static_cast<size_t>(n)];
        for (double a = from; a < to; a += step) {
            const double angle = std::fmod(a + 360.0, 360.0);
            m.DriverAngle = static_cast<float>(angle);
            kes::SolveLinkage(m);
            const double dx = diagrams::OvalPistonX(m, angle) - at.x();
            const double dy = diagrams::TravelY(m.Solver.ValveOffset, k) - at.y();
            if (dx * dx + dy * dy < bestDistance) {
                bestDistance = dx * dx + dy * dy;
                bestN = n;
                bestAngle = angle;
            }
        }
    };
    for (int n = 1; n <= PositionCount(m); ++n)
        search(n, 0.0, 360.0, OvalSearchStepDeg);
    search(bestN, bestAngle - OvalSearchStepDeg, bestAngle + OvalSearchStepDeg, OvalFineStepDeg);
    return SolveGearReadout(m, bestN, bestAngle);
}

QString GearReadoutText(const GearReadout& r) {
    return QStringLiteral("position %1 (%2): crank %3 deg, valve offset %4, piston %5 % from "
                          "front dead centre, %6 % from rear; openings front steam %7, exhaust "
                          "%8, rear steam %9, exhaust %10")
        .arg(QString::number(r.Position), Number(r.Setting, 3), Number(r.CrankDeg, 1),
             Number(r.ValveOffset, 3), Number(r.FrontPct, 1), Number(r.RearPct, 1),
             Number(r.FrontSteam, 3), Number(r.FrontExhaust, 3), Number(r.RearSteam, 3))
        .arg(Number(r.RearExhaust, 3));
}

std::optional<QString> ReadoutAt(DiagramView view, kes::Model& m, QPoint at) {
    QString text;
    switch (view) {
    case DiagramView::Sine:
        if (const auto r = SineReadoutAt(m, at)) text = GearReadoutText(*r);
        break;
    case DiagramView::Oval:
        if (const auto r = OvalReadoutAt(m, at)) text = GearReadoutText(*r);
        break;
    case DiagramView::Steam:
        text = SteamText(at);
        break;
    case DiagramView::Ports:
        text = PortText(m, at);
        break;
    }
    if (text.isEmpty()) return std::nullopt;
    return text;
}

} // namespace live
