// SPDX-License-Identifier: GPL-3.0-or-later
#include "cylinder/balance_mep.h"

#include "cylinder/cylinder_model.h"
#include "cylinder/performance.h"
#include "cylinder/port_table.h"

#include <cmath>

namespace kes {

double BalanceMepSpeed(EngineUnits units) {
    return units == EngineUnits::Metric ? 5.0 : 3.0;
}

std::optional<BalanceMep> BalanceMepAt(const Mechanism& m, const EngineData& e, const SteamGas& gas,
                                       double setting, RunDirection dir, double speed) {
    if (!std::isfinite(setting) || !CheckEngineData(e, m).empty()) return std::nullopt;
    const std::optional<double> rpm = RpmForSpeed(m, e, speed);
    if (!rpm) return std::nullopt;
    PreciseLinkage linkage(m);
    std::string why;
    const std::optional<PortTable> ports =
        GearPortTable(linkage, setting, dir, MetresPerUnitOf(e.Units), why);
    if (!ports) return std::nullopt;
    const std::optional<CylinderGeometry> geometry = GeometryOf(m, e, *ports, *rpm);
    if (!geometry) return std::nullopt;
    CylinderCycle cycle;
    RunCylinder(gas, *geometry, *ports, cycle);
    // Percent of the boiler pressure, gauge, as the user gives it.
    const double scale = 100.0 / (e.BoilerPressure * PascalsPerPressureUnit(e.Units));
    const BalanceMep mep{cycle.Front.Mep_Pa() * scale, cycle.Rear.Mep_Pa() * scale};
    if (!std::isfinite(mep.FrontPct) || !std::isfinite(mep.RearPct)) return std::nullopt;
    return mep;
}

BalanceMepProbe MakeBalanceMepProbe(const Mechanism& m, const EngineData& e,
                                    std::optional<double> speed, std::string& error) {
    error = CheckEngineData(e, m);
    if (!error.empty()) return {};
    const double v = speed.value_or(BalanceMepSpeed(e.Units));
    if (!std::isfinite(v) || !(v > 0.0)) {
        error = "the speed for the MEP term must be above 0";
        return {};
    }
    const std::optional<SteamGas> gas = SteamGasOf(e);
    if (!gas) {
        error = "the steam conditions lie outside the steam tables (IAPWS-IF97)";
        return {};
    }
    return [e, g = *gas, v](const Mechanism& lane, double setting, RunDirection dir) {
        return BalanceMepAt(lane, e, g, setting, dir, v);
    };
}

} // namespace kes
