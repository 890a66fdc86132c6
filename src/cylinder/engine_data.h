// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine data a dimension file does not hold: steam conditions and the
// cylinder's clearances and ports. Kept beside the design as
// NAME.engine.json, in the user's units (the "units" key says which):
// imperial = design lengths in inches, psi gauge, degrees F, mph; metric =
// millimetres, bar gauge, degrees C, km/h.

#include "model/model.h"

#include <map>
#include <optional>
#include <string>

namespace kes {

enum class EngineUnits { Imperial, Metric };
const char* EngineUnitsText(EngineUnits u); // "imperial" or "metric"

struct EngineData {
    EngineUnits Units = EngineUnits::Imperial;
    double BoilerPressure = 200.0;  // steam-chest pressure at rest, gauge
    double Superheat = 0.0;         // degrees above saturation; 0 = dry saturated
    double BackPressure = 3.0;      // exhaust, gauge
    double ClearanceFrontPct = 8.0; // of each end's swept volume
    double ClearanceRearPct = 8.0;
    // Design units; absent = 0.15 x bore and pi x ValveHeight x 0.8.
    std::optional<double> PistonRodDiameter;
    std::optional<double> PortCircumference;
    double DischargeCoefficient = 0.8;
    int Cylinders = 2;
    bool Condensation = false;
    // Keys this program does not know, as JSON text, written back unchanged.
    std::map<std::string, std::string> OtherKeys;
};

EngineData DefaultEngineData(EngineUnits units = EngineUnits::Imperial);

// The engine data with every absent value filled from the design.
double PistonRodDiameterOf(const EngineData& e, const Design& d);
double PortCircumferenceOf(const EngineData& e, const Design& d);

// Empty when the data can drive the cylinder model; otherwise a message
// naming the first bad key.
std::string CheckEngineData(const EngineData& e, const Design& d);

struct EngineParse {
    std::optional<EngineData> Data;
    std::string Error; // names the key, when Data is absent
};
EngineParse ParseEngineData(const std::string& json);
std::string EngineDataJson(const EngineData& e);

// Sets one key from text as typed (--engine-set KEY=VALUE, the window's
// form); returns the error, empty when it was set. Changing "units"
// converts the values to the new units.
std::string SetEngineValue(EngineData& e, const std::string& key, const std::string& value);

// NAME.kvd -> NAME.engine.json.
std::string EngineFilePathFor(const std::string& designPath);

struct EngineFileResult {
    bool Ok = false;
    bool Present = false; // false: no file, the defaults
    EngineData Data;
    std::string Message;
};
// A missing file gives the defaults; a bad one an error naming the key.
EngineFileResult LoadEngineFile(const std::string& path);
// Written to a temporary file and renamed over the old one; on a failure
// the old file stays and the message says why.
EngineFileResult SaveEngineFile(const std::string& path, const EngineData& e);

} // namespace kes
