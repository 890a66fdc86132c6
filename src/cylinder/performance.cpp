// SPDX-License-Identifier: GPL-3.0-or-later
#include "cylinder/performance.h"

#include "analysis/cutoff_settings.h"
#include "analysis/precise_mid_gear.h"
#include "cylinder/cylinder_model.h"
#include "cylinder/steam_gas.h"

#include <cmath>
#include <numbers>

namespace kes {

namespace {

constexpr double AtmosphereAbs_Pa = 101325.0;
constexpr double MetresPerInch = 0.0254;
constexpr double NewtonsPerLbf = 4.4482216152605;
constexpr double PaPerPsi = NewtonsPerLbf / (MetresPerInch * MetresPerInch);
constexpr double PaPerBar = 1e5;
constexpr double KgPerLb = 0.45359237;
// 33000 ft lbf per minute.
constexpr double WattsPerHp = 33000.0 * 0.3048 * NewtonsPerLbf / 60.0;

struct UnitSet {
    double MetresPerUnit, PaPerPressure, KelvinPerDegree, UnitsPerMinutePerSpeed;
    double MassUnit_kg, PowerUnit_W, ForceUnit_N;
};

UnitSet UnitsOf(EngineUnits u) {
    if (u == EngineUnits::Metric) return {1e-3, PaPerBar, 1.0, 1e6 / 60.0, 1.0, 1e3, 1e3};
    return {MetresPerInch, PaPerPsi, 1.0 / 1.8, 63360.0 / 60.0, KgPerLb, WattsPerHp, NewtonsPerLbf};
}

PerformanceResult Fail(const std::string& why) {
    PerformanceResult r;
    r.Error = why;
    return r;
}

bool AllFinite(const PerformanceResult& r) {
    for (double v : {r.Mep, r.Ihp, r.TractiveEffort, r.SteamPerHour, r.Front.Mep, r.Rear.Mep,
                     r.Front.SteamPerTurn, r.Rear.SteamPerTurn})
        if (!std::isfinite(v)) return false;
    for (const EndPerformance* e : {&r.Front, &r.Rear})
        for (const CardRow& c : e->Card)
            if (!std::isfinite(c.Volume) || !std::isfinite(c.Pressure)) return false;
    return true;
}

std::vector<CardRow> IdealCard(const std::vector<CardRow>& card, const CardEvents& ev, double swept,
                               double clearance, double p1, double pb, double k, bool frontEnd,
                               double toPressure, double atmosphere) {
    std::vector<CardRow> out;
    if (!ev.CutOffPct || !ev.ReleasePct || !ev.CompressionPct) return out;
    const double c = *ev.CutOffPct / 100, rl = *ev.ReleasePct / 100, q = *ev.CompressionPct / 100,
                 c0 = clearance / swept;
    out.reserve(card.size());
    for (std::size_t i = 0; i < card.size(); ++i) {
        const double v = card[i].Volume / swept; // of the swept volume, clearance included
        const double f = v - c0;
        const bool outward = frontEnd ? i < card.size() / 2 : i >= card.size() / 2;
        double p;
        if (outward)
            p = f <= c ? p1 : (f < rl ? p1 * std::pow((c0 + c) / v, k) : pb);
        else
            p = f > q ? pb : std::min(p1, pb * std::pow((c0 + q) / v, k));
        out.push_back({card[i].CrankDeg, card[i].Volume, (p - atmosphere) / toPressure});
    }
    return out;
}

// The engine's figures from one cylinder's cycle, in the data's units.
struct Totals {
    double Mep = 0.0, Ihp = 0.0, TractiveEffort = 0.0, SteamPerHour = 0.0;
    std::optional<double> SteamRate, CylinderEfficiency;
    bool Finite() const {
        return std::isfinite(Mep) && std::isfinite(Ihp) && std::isfinite(TractiveEffort) &&
               std::isfinite(SteamPerHour) && (!SteamRate || std::isfinite(*SteamRate));
    }
};

Totals TotalsOf(const CylinderCycle& cycle, const CylinderGeometry& geometry, const SteamGas& gas,
                const EngineData& e, double rpm) {
    const UnitSet u = UnitsOf(e.Units);
    const int n = e.Cylinders;
    const double workPerTurn = n * (cycle.Front.Work_J + cycle.Rear.Work_J);
    const double steamPerTurn = n * (cycle.Front.SteamIn_kg + cycle.Rear.SteamIn_kg);
    const double powerW = workPerTurn * rpm / 60.0;
    Totals t;
    t.Mep = (cycle.Front.Work_J + cycle.Rear.Work_J) /
            (cycle.Front.Swept_m3 + cycle.Rear.Swept_m3) / u.PaPerPressure;
    t.Ihp = powerW / u.PowerUnit_W;
    t.TractiveEffort = workPerTurn / (std::numbers::pi * geometry.DriverDiameter_m) / u.ForceUnit_N;
    t.SteamPerHour = steamPerTurn * rpm * 60.0 / u.MassUnit_kg;
    if (t.Ihp > 0.0) t.SteamRate = t.SteamPerHour / t.Ihp;
    if (steamPerTurn > 0.0 && gas.RankineWork_J_kg > 0.0)
        t.CylinderEfficiency = workPerTurn / (steamPerTurn * gas.RankineWork_J_kg);
    return t;
}

} // namespace

std::optional<SteamGas> SteamGasOf(const EngineData& e) {
    const UnitSet u = UnitsOf(e.Units);
    return MakeSteamGas(e.BoilerPressure * u.PaPerPressure + AtmosphereAbs_Pa,
                        e.Superheat * u.KelvinPerDegree,
                        e.BackPressure * u.PaPerPressure + AtmosphereAbs_Pa);
}

std::optional<CylinderGeometry> GeometryOf(const Mechanism& m, const EngineData& e,
                                           const PortTable& ports, double rpm) {
    const UnitSet u = UnitsOf(e.Units);
    const double bore = m.Cylinder[BoreDiameter] * u.MetresPerUnit;
    const double rod = PistonRodDiameterOf(e, m) * u.MetresPerUnit;
    CylinderGeometry geometry;
    geometry.BoreArea_m2 = std::numbers::pi * bore * bore / 4.0;
    geometry.RodArea_m2 = std::numbers::pi * rod * rod / 4.0;
    const double stroke = ports.Stroke();
    if (!(stroke > 0.0)) return std::nullopt;
    geometry.ClearanceFront_m3 = e.ClearanceFrontPct / 100.0 * geometry.BoreArea_m2 * stroke;
    geometry.ClearanceRear_m3 =
        e.ClearanceRearPct / 100.0 * (geometry.BoreArea_m2 - geometry.RodArea_m2) * stroke;
    geometry.PortCircumference_m = PortCircumferenceOf(e, m) * u.MetresPerUnit;
    geometry.DischargeCoefficient = e.DischargeCoefficient;
    geometry.DriverDiameter_m = m.Frame.DriverDiameter * u.MetresPerUnit;
    geometry.Rpm = rpm;
    geometry.Condensation = e.Condensation;
    return geometry;
}

double MetresPerUnitOf(EngineUnits units) {
    return UnitsOf(units).MetresPerUnit;
}

double PascalsPerPressureUnit(EngineUnits units) {
    return UnitsOf(units).PaPerPressure;
}

std::optional<double> RpmForSpeed(const Mechanism& m, const EngineData& e, double speed) {
    const double d = m.Frame.DriverDiameter;
    if (!(d > 0.0) || !std::isfinite(speed) || !(speed > 0.0)) return std::nullopt;
    return speed * UnitsOf(e.Units).UnitsPerMinutePerSpeed / (std::numbers::pi * d);
}

std::optional<double> SpeedForRpm(const Mechanism& m, const EngineData& e, double rpm) {
    const double d = m.Frame.DriverDiameter;
    if (!(d > 0.0) || !std::isfinite(rpm) || !(rpm > 0.0)) return std::nullopt;
    return rpm * std::numbers::pi * d / UnitsOf(e.Units).UnitsPerMinutePerSpeed;
}

std::optional<double> SettingForCutOff(const Mechanism& m, RunDirection dir, double pct) {
    if (!(pct > 0.0 && pct < 100.0)) return std::nullopt;
    const std::optional<double> mid = PreciseMidGear(m);
    if (!mid) return std::nullopt;
    PreciseLinkage linkage(m);
    const auto centres = FindDeadCentres(linkage);
    return FindMeanCutOffSetting(linkage, centres, *mid, m.Frame.RevArmMax, pct, dir);
}

PerformanceResult ComputePerformance(const Mechanism& m, const EngineData& e,
                                     const PerformanceRequest& r) {
    const std::string bad = CheckEngineData(e, m);
    if (!bad.empty()) return Fail(bad);
    if (!std::isfinite(r.Setting)) return Fail("the setting must be a finite number");
    PreciseLinkage linkage(m);
    std::string why;
    const std::optional<PortTable> table =
        GearPortTable(linkage, r.Setting, r.Direction, UnitsOf(e.Units).MetresPerUnit, why);
    if (!table) return Fail("the gear does not close: " + why);
    return ComputePerformanceWith(m, e, r, *table);
}

PerformanceResult ComputePerformanceWith(const Mechanism& m, const EngineData& e,
                                         const PerformanceRequest& r, const PortTable& ports) {
    const std::string bad = CheckEngineData(e, m);
    if (!bad.empty()) return Fail(bad);
    const UnitSet u = UnitsOf(e.Units);
    std::optional<double> rpm = r.Rpm;
    if (!rpm && r.Speed) rpm = RpmForSpeed(m, e, *r.Speed);
    if (!rpm || !(*rpm > 0.0) || !std::isfinite(*rpm))
        return Fail("the speed must be above 0 (and the driver diameter too)");
    const std::optional<double> speed = SpeedForRpm(m, e, *rpm);
    if (!speed) return Fail("the driver diameter must be above 0");

    const double p1 = e.BoilerPressure * u.PaPerPressure + AtmosphereAbs_Pa;
    const double pb = e.BackPressure * u.PaPerPressure + AtmosphereAbs_Pa;
    const std::optional<SteamGas> gas = SteamGasOf(e);
    if (!gas) return Fail("the steam conditions lie outside the steam tables (IAPWS-IF97)");
    const std::optional<CylinderGeometry> shape = GeometryOf(m, e, ports, *rpm);
    if (!shape) return Fail("the stroke must be above 0");
    const CylinderGeometry& geometry = *shape;

    CylinderCycle cycle;
    RunCylinder(*gas, geometry, ports, cycle);

    PerformanceResult out;
    out.Units = e.Units;
    out.Setting = r.Setting;
    out.Direction = r.Direction;
    out.Rpm = *rpm;
    out.Speed = *speed;
    out.Turns = cycle.Turns;
    out.Converged = cycle.Converged;
    const double volumeUnit = u.MetresPerUnit * u.MetresPerUnit * u.MetresPerUnit;
    const auto fill = [&](EndPerformance& end, const EndCycle& c, const CardEvents& ev,
                          double clearance, bool front) {
        end.CutOffPct = ev.CutOffPct;
        end.ReleasePct = ev.ReleasePct;
        end.CompressionPct = ev.CompressionPct;
        end.Mep = c.Mep_Pa() / u.PaPerPressure;
        end.SteamPerTurn = c.SteamIn_kg / u.MassUnit_kg;
        end.Card.reserve(c.Card.size());
        for (std::size_t i = 0; i < c.Card.size(); ++i)
            end.Card.push_back({static_cast<double>(i), c.Card[i].Volume_m3 / volumeUnit,
                                (c.Card[i].Pressure_Pa - AtmosphereAbs_Pa) / u.PaPerPressure});
        end.IdealCard = IdealCard(end.Card, ev, c.Swept_m3 / volumeUnit, clearance / volumeUnit, p1,
                                  pb, gas->Exponent, front, u.PaPerPressure, AtmosphereAbs_Pa);
    };
    fill(out.Front, cycle.Front, FrontEvents(ports), geometry.ClearanceFront_m3, true);
    fill(out.Rear, cycle.Rear, RearEvents(ports), geometry.ClearanceRear_m3, false);

    const int n = e.Cylinders;
    const Totals t = TotalsOf(cycle, geometry, *gas, e, *rpm);
    out.Mep = t.Mep;
    out.Ihp = t.Ihp;
    out.TractiveEffort = t.TractiveEffort;
    out.SteamPerHour = t.SteamPerHour;
    out.SteamRate = t.SteamRate;
    out.CylinderEfficiency = t.CylinderEfficiency;
    // Cylinders quartered: two at 90 degrees, more spread evenly.
    const int phase = n == 2 ? 90 : 360 / n;
    for (int deg = 0; deg < 360; ++deg) {
        double sum = 0.0;
        for (int c = 0; c < n; ++c)
            sum += cycle.RimForce_N[(deg + c * phase) % 360];
        out.TractiveByCrank[deg] = sum / u.ForceUnit_N;
    }
    if (!AllFinite(out)) return Fail("the cylinder model found no steady cycle for these data");
    out.Ok = true;
    return out;
}

std::vector<SweepRow> SweepSpeed(const Mechanism& m, const EngineData& e,
                                 const PerformanceRequest& r, double from, double to, int count) {
    std::vector<SweepRow> rows;
    if (count < 1) return rows;
    rows.reserve(static_cast<std::size_t>(count));
    PreciseLinkage linkage(m);
    std::string why;
    const std::optional<PortTable> table =
        GearPortTable(linkage, r.Setting, r.Direction, UnitsOf(e.Units).MetresPerUnit, why);
    const std::optional<SteamGas> gas =
        CheckEngineData(e, m).empty() ? SteamGasOf(e) : std::optional<SteamGas>();
    std::optional<double> cutOff;
    if (table) {
        const CardEvents ev = FrontEvents(*table), er = RearEvents(*table);
        if (ev.CutOffPct && er.CutOffPct) cutOff = (*ev.CutOffPct + *er.CutOffPct) / 2;
    }
    // Each speed starts from where the last one's turn ended: the cycle
    // changes little from one speed to the next, so it repeats sooner.
    CylinderRunOptions options;
    CylinderCycle cycle;
    for (int i = 0; i < count; ++i) {
        SweepRow row;
        row.Speed = count == 1 ? from : from + (to - from) * i / (count - 1);
        if (table) row.CutOffPct = cutOff.value_or(0.0);
        const std::optional<double> rpm = RpmForSpeed(m, e, row.Speed);
        const std::optional<CylinderGeometry> geometry =
            table && gas && rpm ? GeometryOf(m, e, *table, *rpm) : std::nullopt;
        if (geometry) {
            RunCylinder(*gas, *geometry, *table, cycle, options);
            const Totals t = TotalsOf(cycle, *geometry, *gas, e, *rpm);
            options.Start = t.Finite() ? cycle.End : CylinderState{};
            if (t.Finite()) {
                row.Mep = t.Mep;
                row.Ihp = t.Ihp;
                row.TractiveEffort = t.TractiveEffort;
                row.SteamRate = t.SteamRate;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<SweepRow> SweepCutOff(const Mechanism& m, const EngineData& e,
                                  const PerformanceRequest& r, const std::vector<double>& cutoffs) {
    std::vector<SweepRow> rows;
    for (double pct : cutoffs) {
        SweepRow row;
        row.CutOffPct = pct;
        const std::optional<double> setting = SettingForCutOff(m, r.Direction, pct);
        if (setting) {
            PerformanceRequest q = r;
            q.Setting = *setting;
            const PerformanceResult p = ComputePerformance(m, e, q);
            row.Speed = p.Speed;
            if (p.Ok) {
                row.Mep = p.Mep;
                row.Ihp = p.Ihp;
                row.TractiveEffort = p.TractiveEffort;
                row.SteamRate = p.SteamRate;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace kes
