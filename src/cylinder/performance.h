// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the gear does for the engine at one setting, direction and speed:
// the cylinder model run on the design with its engine data, reported in
// the engine data's units (imperial: in3, psi gauge, lb, hp, lbf, mph;
// metric: mm3, bar gauge, kg, kW, kN, km/h). Qt-free; a window runs it on a
// copy of the design on a worker thread.

#include "cylinder/cylinder_model.h"
#include "cylinder/engine_data.h"
#include "cylinder/port_table.h"
#include "cylinder/steam_gas.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kes {

struct PerformanceRequest {
    double Setting = 0.0; // X of the reverse-arm top
    RunDirection Direction = RunDirection::Forward;
    // One of the two: a road speed (mph or km/h) or revolutions per minute.
    std::optional<double> Speed;
    std::optional<double> Rpm;
};

struct CardRow {
    double CrankDeg = 0.0; // from the front dead centre, in the running direction
    double Volume = 0.0;   // cubic design units
    double Pressure = 0.0; // gauge
};

struct EndPerformance {
    std::optional<double> CutOffPct, ReleasePct, CompressionPct;
    double Mep = 0.0;
    double SteamPerTurn = 0.0; // lb or kg, from the chest
    std::vector<CardRow> Card;
    std::vector<CardRow> IdealCard; // the same events, instant, p V^k
};

struct PerformanceResult {
    bool Ok = false;
    std::string Error; // when not Ok: why, fit for a message box
    EngineUnits Units = EngineUnits::Imperial;
    double Setting = 0.0;
    RunDirection Direction = RunDirection::Forward;
    double Rpm = 0.0;
    double Speed = 0.0;
    EndPerformance Front, Rear;
    double Mep = 0.0;                          // both ends, weighted by swept volume
    double Ihp = 0.0;                          // hp or kW, all cylinders
    double TractiveEffort = 0.0;               // lbf or kN, the mean at the rim
    double SteamPerHour = 0.0;                 // lb/h or kg/h
    std::optional<double> SteamRate;           // lb per IHP-hour or kg per kWh
    std::optional<double> CylinderEfficiency;  // work over the Rankine work of the steam
    std::array<double, 360> TractiveByCrank{}; // all cylinders, quartered
    int Turns = 0;
    bool Converged = false;
};

// Absent dims give the error; the design is only read.
PerformanceResult ComputePerformance(const Mechanism& m, const EngineData& e,
                                     const PerformanceRequest& r);

// The same with a port table made elsewhere (the limiting-case seam).
PerformanceResult ComputePerformanceWith(const Mechanism& m, const EngineData& e,
                                         const PerformanceRequest& r, const PortTable& ports);

// The pieces of the model for callers that run it themselves: the steam of
// the engine data (absent outside IF97), the cylinder for a port table at
// an rpm (absent without a stroke), and the units' scales to SI.
std::optional<SteamGas> SteamGasOf(const EngineData& e);
std::optional<CylinderGeometry> GeometryOf(const Mechanism& m, const EngineData& e,
                                           const PortTable& ports, double rpm);
double MetresPerUnitOf(EngineUnits units);
double PascalsPerPressureUnit(EngineUnits units);

// Speed <-> rpm for the design's driver diameter, in the engine data's units.
std::optional<double> RpmForSpeed(const Mechanism& m, const EngineData& e, double speed);
std::optional<double> SpeedForRpm(const Mechanism& m, const EngineData& e, double rpm);

struct SweepRow {
    double Speed = 0.0;     // for a speed sweep
    double CutOffPct = 0.0; // for a cut-off sweep
    std::optional<double> Mep, Ihp, TractiveEffort, SteamRate;
};
// Speeds from `from` to `to` in `count` steps at one setting.
std::vector<SweepRow> SweepSpeed(const Mechanism& m, const EngineData& e,
                                 const PerformanceRequest& r, double from, double to, int count);
// Cut-offs (mean of the ends, percent) at one speed; a cut-off the gear
// cannot give is a row without numbers.
std::vector<SweepRow> SweepCutOff(const Mechanism& m, const EngineData& e,
                                  const PerformanceRequest& r, const std::vector<double>& cutoffs);

// The setting for a wanted mean cut-off in a direction; absent where the
// gear cannot give it.
std::optional<double> SettingForCutOff(const Mechanism& m, RunDirection dir, double pct);

} // namespace kes
