// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The balancing's MEP term: both ends' mean effective pressure at a setting,
// from the cylinder model at one speed, in percent of the boiler pressure.
// The analysis cannot run the cylinder model, so the callers that know the
// engine data hand this probe to the balancing (BalanceDef::Mep).

#include "analysis/balance_def.h"
#include "cylinder/engine_data.h"
#include "cylinder/steam_gas.h"

#include <optional>
#include <string>

namespace kes {

// Walking pace (3 mph, 5 km/h): the card there shows the valve events, not
// the wire-drawing of speed, and a turn converges quickly.
double BalanceMepSpeed(EngineUnits units);

// Both ends at one setting and direction at `speed` (the engine data's
// units); absent where the gear does not close at the setting or the model
// finds no finite card. Allocates nothing beyond the precise solve's copy of
// the design.
std::optional<BalanceMep> BalanceMepAt(const Mechanism& m, const EngineData& e, const SteamGas& gas,
                                       double setting, RunDirection dir, double speed);

// The probe for BalanceDef::Mep at `speed`, walking pace when absent. Empty,
// with the reason in `error`, when the engine data cannot drive the model
// for the design or the speed is not above 0.
BalanceMepProbe MakeBalanceMepProbe(const Mechanism& m, const EngineData& e,
                                    std::optional<double> speed, std::string& error);

} // namespace kes
