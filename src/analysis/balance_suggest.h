// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which dimensions to free: from the sensitivities (lead per +0.001 at each
// chosen setting and port), how much of the leads' shortfall each dimension
// could make up within its default range, and the one line a designer
// reads: "The leads are negative at every setting: free the valve's steam
// laps (Valve Length Front/Rear Half) or the combination lever (Combo Lever
// Upper)". Also the free dimensions that move no event at all.

#include "analysis/balance_def.h"
#include "analysis/balance_failures.h"
#include "model/model.h"

#include <string>
#include <vector>

namespace kes {

struct FreeSuggestion {
    int Id = 0;
    // The share of the shortfall (0..1) the dimension could make up within
    // its default range, less what it would spoil elsewhere.
    double Score = 0.0;
    int Direction = 0; // +1: longer helps, -1: shorter helps
};

// The dimensions a designer would free (the gear and the valve; not the
// wheels, the stroke, the rods of the engine nor the cylinder casting),
// best first, those that help only, less any in exclude. Empty when no lead
// falls short.
std::vector<FreeSuggestion> RankFreeDimensions(const Mechanism& m, const BalanceDef& def,
                                               const std::vector<int>& exclude);

// The best-ranked dimensions to add, at most max, a group's members
// (both steam laps) together.
std::vector<int> DimensionsToAdd(const std::vector<FreeSuggestion>& ranked, int max);

// "free the valve's steam laps (Valve Length Front/Rear Half) or the
// combination lever (Combo Lever Upper)"; empty when nothing helps.
std::string FreeAdvice(const std::vector<FreeSuggestion>& ranked);

// The summary of the failures, ": ", the advice; or the advice alone.
std::string SuggestionLine(const std::string& summary, const std::string& advice);

// The free dimensions whose change moves no event at the def's settings
// (nor mid gear): the wheel, the bore, ... They are left as they are.
std::vector<int> NoEffectDimensions(const Mechanism& m, const BalanceDef& def);

// "Driver Dia has no effect on the events: left as it is"
std::string NoEffectText(int id);

// A dimension's display name with its runs of blanks closed up.
std::string PlainDimensionName(int id);

} // namespace kes
