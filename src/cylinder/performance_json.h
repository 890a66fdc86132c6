// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The performance of one turn, and the sweeps, as JSON and CSV in the
// engine data's units. JSON keys are fixed (the "units" key names the unit
// system); CSV headers carry the unit in each column name. Absent numbers
// are JSON null and empty CSV cells.

#include "cylinder/performance.h"

#include <string>
#include <vector>

namespace kes {

enum class SweepKind { Speed, CutOff };

std::string PerformanceJson(const PerformanceResult& r);
// The card of both ends and the tractive effort, one row per degree.
std::string PerformanceCsv(const PerformanceResult& r);
std::string SweepJson(SweepKind kind, const std::vector<SweepRow>& rows);
std::string SweepCsv(SweepKind kind, EngineUnits units, const std::vector<SweepRow>& rows);

// Unit names for labels and column headers.
struct PerformanceUnitNames {
    const char* Volume;   // "in3"
    const char* Pressure; // "psi"
    const char* Mass;     // "lb"
    const char* Power;    // "hp"
    const char* Force;    // "lbf"
    const char* Speed;    // "mph"
    const char* Rate;     // "lb/ihp-h"
};
PerformanceUnitNames UnitNames(EngineUnits u);

} // namespace kes
