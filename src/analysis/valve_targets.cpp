// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/valve_targets.h"

#include "analysis/valve_laps.h"
#include "model/dimensions.h"
#include "model/mid_gear.h"
#include "model/typed_value.h"

#include <algorithm>
#include <cmath>

namespace kes {

namespace {

constexpr int SteamLapIds[] = {119, 118}; // ValveLengthFront, ValveLengthRear
constexpr int LeverIds[] = {7, 9};        // CombLeverUpper, CombLeverLower
constexpr int ExhCavityIds[] = {121, 120};
// The laps may have to move far from where they are.
constexpr double FitBoundsPct = 30.0;
// A fit that misses a target by more than this also frees the lever.
constexpr double LeadTolerance = 0.001;
constexpr double CutOffTolerance = 0.5;
// While balancing, the targets are held by their terms, weighted well above
// the front - rear sums.
constexpr double HoldLeadWeight = 1e4;
constexpr double HoldCutOffWeight = 10.0;
// The balancing from a fitted design starts near its end: a short run.
constexpr int BalanceEvaluations = 120;

std::optional<double> Mean(std::initializer_list<std::optional<double>> values) {
    double sum = 0.0;
    for (const auto& v : values) {
        if (!v) return std::nullopt;
        sum += *v;
    }
    return sum / static_cast<double>(values.size());
}

bool Met(const TargetsReached& r, const TargetsDef& d) {
    if (!r.LeadFront || !r.LeadRear || !r.MeanFullGearCutOff) return false;
    return std::fabs(*r.LeadFront - d.Lead) <= LeadTolerance &&
           std::fabs(*r.LeadRear - d.Lead) <= LeadTolerance &&
           std::fabs(*r.MeanFullGearCutOff - d.FullGearCutOffPct) <= CutOffTolerance;
}

std::string CheckTargets(const TargetsDef& d) {
    if (!std::isfinite(d.Lead)) return "the lead wanted is not a number";
    if (!(d.FullGearCutOffPct > 0.0 && d.FullGearCutOffPct < 100.0))
        return "the full-gear cut-off wanted must lie between 0 and 100 %";
    if (d.ExhaustLap && !std::isfinite(*d.ExhaustLap))
        return "the exhaust lap wanted is not a number";
    for (int id : d.Free)
        if (!IsDimensionId(id)) return "unknown dimension id " + std::to_string(id);
    return {};
}

// The fit: only the target terms, over the dimensions given.
BalanceDef FitDef(const Mechanism& m, const TargetsDef& d, const std::vector<int>& ids) {
    BalanceDef fit = d.Balance;
    fit.Free.clear();
    for (int id : ids)
        fit.Free.push_back(DefaultFreeDim(m, id, FitBoundsPct));
    if (!d.LeadOverRange) fit.Settings = ReportDef{}; // mid gear and full gear alone
    fit.Weights = BalanceWeights{};
    fit.Weights.FrontRear = 0.0;
    fit.Weights.MidGearLead = 1.0;
    fit.Weights.MidGearLeadTarget = d.Lead;
    fit.Weights.LeadAtEverySetting = d.LeadOverRange;
    fit.Weights.FullGearCutOff = 1.0;
    fit.Weights.FullGearCutOffTarget = d.FullGearCutOffPct;
    fit.AddFreeWhenStuck = false;
    fit.Multistart = 0;
    return fit;
}

} // namespace

TargetsDef DefaultTargetsDef(const Mechanism& m) {
    TargetsDef d;
    d.Balance = DefaultBalanceDef(m);
    return d;
}

TargetsReached MeasureTargets(const Mechanism& m) {
    TargetsReached t;
    ReportDef probe;
    probe.Offsets = {0.0, m.Frame.RevArmNorm, -m.Frame.RevArmNorm};
    const EventsReport r = ComputeReport(m, probe);
    t.ExhaustLapFront = ExhaustLap(m, true);
    t.ExhaustLapRear = ExhaustLap(m, false);
    if (r.Rows.size() != 4) return t; // rows: mid gear both ways, full gear forward, reverse
    t.LeadFront = r.Rows[0].Events.Front.Lead;
    t.LeadRear = r.Rows[0].Events.Rear.Lead;
    t.FullGearCutOff = {r.Rows[2].Events.Front.Pct(CutOff), r.Rows[2].Events.Rear.Pct(CutOff),
                        r.Rows[3].Events.Front.Pct(CutOff), r.Rows[3].Events.Rear.Pct(CutOff)};
    const auto& c = t.FullGearCutOff;
    t.MeanFullGearCutOff = Mean({c[0], c[1], c[2], c[3]});
    const auto front = Mean({c[0], c[2]});
    const auto rear = Mean({c[1], c[3]});
    if (front && rear) t.FrontRearSpread = *front - *rear;
    return t;
}

TargetsResult RunTargets(const Mechanism& start, const TargetsDef& def,
                         const BalanceControl& control) {
    TargetsResult result;
    result.Designed = start;
    result.Error = CheckTargets(def);
    if (!result.Error.empty()) return result;
    result.Before = MeasureTargets(start);
    ComputeReport(start, def.Balance.Settings, result.ReportBefore);

    // The exhaust laps follow from the cavities alone.
    Mechanism m = start;
    if (def.ExhaustLap) {
        for (bool front : {true, false})
            SetDimension(m, ExhCavityIds[front ? 0 : 1],
                         ToFloat(ExhCavityForLap(m, front, *def.ExhaustLap)));
    }

    result.FitFree = def.Free.empty()
                         ? std::vector<int>(std::begin(SteamLapIds), std::end(SteamLapIds))
                         : def.Free;
    result.Fit = RunBalance(m, FitDef(m, def, result.FitFree), control);
    result.Evaluations = result.Fit.Evaluations;
    if (!result.Fit.Error.empty()) {
        result.Error = result.Fit.Error;
        return result;
    }
    const auto cancelled = [&] { return control.Cancel && control.Cancel->load(); };
    if (def.Free.empty() && !cancelled() &&
        !(result.Fit.Feasible && Met(MeasureTargets(result.Fit.Balanced), def))) {
        // The laps alone set lap and lead, not lap and travel: free the lever.
        result.LeverFreed = true;
        result.FitFree.insert(result.FitFree.end(), std::begin(LeverIds), std::end(LeverIds));
        const Mechanism& from = result.Fit.Feasible ? result.Fit.Balanced : m;
        result.Fit = RunBalance(from, FitDef(from, def, result.FitFree), control);
        result.Evaluations += result.Fit.Evaluations;
    }
    const Mechanism fitted = result.Fit.Feasible ? result.Fit.Balanced : m;

    // Front and rear balanced, the targets held.
    BalanceDef bal = def.Balance;
    for (BalanceFreeDim& f : bal.Free)
        f = DefaultFreeDim(fitted, f.Id);
    // The steam laps stay free, so the leads can be held while the gear
    // moves the valve's centre.
    for (int id : SteamLapIds)
        if (std::none_of(bal.Free.begin(), bal.Free.end(),
                         [&](const BalanceFreeDim& f) { return f.Id == id; }))
            bal.Free.push_back(DefaultFreeDim(fitted, id));
    bal.Weights.MidGearLead = HoldLeadWeight;
    bal.Weights.MidGearLeadTarget = def.Lead;
    bal.Weights.LeadAtEverySetting = def.LeadOverRange;
    bal.Weights.FullGearCutOff = HoldCutOffWeight;
    bal.Weights.FullGearCutOffTarget = def.FullGearCutOffPct;
    bal.MaxEvaluations = std::min(bal.MaxEvaluations, BalanceEvaluations);
    if (!cancelled()) {
        result.Balance = RunBalance(fitted, bal, control);
        result.Evaluations += result.Balance.Evaluations;
    }
    result.Cancelled = cancelled();
    result.Feasible = result.Balance.Feasible;
    result.Designed = result.Balance.Feasible ? result.Balance.Balanced : fitted;
    FindMidGear(result.Designed);
    for (int id = 1; id <= 122; ++id) {
        if (!IsDimensionId(id)) continue;
        const float before = GetDimension(start, id), after = GetDimension(result.Designed, id);
        if (before != after) result.Changes.push_back(BalanceChange{id, before, after});
    }
    result.After = MeasureTargets(result.Designed);
    ComputeReport(result.Designed, def.Balance.Settings, result.ReportAfter);
    return result;
}

} // namespace kes
