// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/balance.h"

#include "analysis/balance_nlopt.h"
#include "analysis/balance_repair.h"
#include "model/dimensions.h"
#include "model/mid_gear.h"
#include "model/typed_value.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace kes {

namespace {

// The optimiser works on each free dimension scaled to 0..1 over its
// bounds, so a step means the same to every dimension.
struct RunState {
    BalanceObjective& Objective;
    const BalanceDef& Def;
    const BalanceControl& Control;
    std::vector<double> X, BestX;
    double BestJ = 0.0;
    double Penalty = 0.0;
    int Evaluations = 0;
    int EvaluationsBefore = 0; // the start and the repair
    bool Cancelled = false;
    nlopt::opt* Opt = nullptr;
};

bool CancelRequested(const RunState& r) {
    return r.Control.Cancel && r.Control.Cancel->load(std::memory_order_relaxed);
}

double Evaluate(unsigned n, const double* y, double*, void* data) {
    RunState& r = *static_cast<RunState*>(data);
    if (CancelRequested(r)) r.Cancelled = true;
    if (r.Cancelled || r.Evaluations >= r.Def.MaxEvaluations) {
        StopMinimising(r.Opt);
        return r.BestJ;
    }
    for (unsigned i = 0; i < n; ++i) {
        const BalanceFreeDim& f = r.Def.Free[i];
        r.X[i] = f.Lower + std::clamp(y[i], 0.0, 1.0) * (f.Upper - f.Lower);
    }
    ++r.Evaluations;
    BalanceEvaluation ev = r.Objective.Evaluate(r.X.data(), false);
    // Only a design that could become the result earns the full scan.
    if (ev.Feasible() && ev.Objective && *ev.Objective < r.BestJ) {
        const BalanceEvaluation scan = r.Objective.ScanFully();
        if (scan.Feasible()) {
            r.BestJ = *ev.Objective;
            r.BestX = r.X;
        } else {
            ev.Problem = scan.Problem;
        }
    }
    const bool ok = ev.Feasible() && ev.Objective;
    if (r.Control.Progress) {
        BalanceProgress p;
        p.Evaluations = r.EvaluationsBefore + r.Evaluations;
        if (ok) p.Current = ev.Objective;
        p.Best = r.BestJ;
        r.Control.Progress(p);
    }
    return ok ? *ev.Objective : r.Penalty;
}

// Halton points, spread evenly through the box without a random generator,
// so a run is repeatable.
double RadicalInverse(unsigned index, unsigned base) {
    double f = 1.0, v = 0.0;
    for (unsigned i = index; i > 0; i /= base) {
        f /= base;
        v += f * (i % base);
    }
    return v;
}
constexpr unsigned Primes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53};

void Optimise(RunState& r, std::vector<double> y) {
    MinimiseInUnitBox(r.Def.Method, y, r.Def.MaxEvaluations - r.Evaluations,
                      r.Def.RelativeTolerance, Evaluate, &r, r.Opt);
}

std::string CheckDef(const BalanceDef& def) {
    if (def.Free.empty()) return "no free dimensions";
    if (def.MaxEvaluations < 1) return "the evaluation limit must be at least 1";
    if (!(def.RelativeTolerance >= 0.0)) return "the tolerance must not be negative";
    for (size_t i = 0; i < def.Free.size(); ++i) {
        const BalanceFreeDim& f = def.Free[i];
        if (!IsDimensionId(f.Id)) return "unknown dimension id " + std::to_string(f.Id);
        for (size_t k = 0; k < i; ++k)
            if (def.Free[k].Id == f.Id) return "dimension " + std::to_string(f.Id) + " twice";
        if (!std::isfinite(f.Lower) || !std::isfinite(f.Upper) || !(f.Lower < f.Upper))
            return "the bounds of " + std::string(DimensionName(f.Id)) + " are empty";
    }
    return {};
}

} // namespace

const char* BalanceMethodName(BalanceMethod m) {
    switch (m) {
    case BalanceMethod::Cobyla:
        return "COBYLA";
    case BalanceMethod::NelderMead:
        return "Nelder-Mead";
    case BalanceMethod::Bobyqa:
        break;
    }
    return "BOBYQA";
}

double BalanceChange::Percent() const {
    if (Before == 0.0f) return 0.0;
    return (static_cast<double>(After) - Before) / std::fabs(static_cast<double>(Before)) * 100.0;
}

bool BalanceResult::Changed() const {
    for (const BalanceChange& c : Changes)
        if (c.After != c.Before) return true;
    return false;
}

BalanceResult RunBalance(const Mechanism& start, const BalanceDef& def,
                         const BalanceControl& control) {
    BalanceResult result;
    result.Balanced = start;
    result.Error = CheckDef(def);
    if (!result.Error.empty()) return result;
    for (const BalanceFreeDim& f : def.Free) {
        const float v = GetDimension(start, f.Id);
        result.Changes.push_back(BalanceChange{f.Id, v, v});
    }
    ComputeReport(start, def.Settings, result.Before);

    // The optimiser works on the free dimensions that move some event.
    BalanceDef work = def;
    result.LeftOut = NoEffectDimensions(start, def);
    std::erase_if(work.Free, [&](const BalanceFreeDim& f) {
        return std::find(result.LeftOut.begin(), result.LeftOut.end(), f.Id) !=
               result.LeftOut.end();
    });
    const auto startValues = [&] {
        std::vector<double> x;
        for (const BalanceFreeDim& f : work.Free)
            x.push_back(GetDimension(start, f.Id));
        return x;
    };
    auto objective = std::make_unique<BalanceObjective>(start, work);
    std::vector<double> x = startValues();
    result.Start = objective->Evaluate(x.data(), true);
    result.Evaluations = 1;
    result.ObjectiveBefore = result.Start.Objective;
    BalanceEvaluation at = result.Start;

    const auto cancelled = [&] { return control.Cancel && control.Cancel->load(); };
    if (!at.Feasible() || !at.Objective) {
        result.Phase = 1;
        for (;;) {
            RepairOutcome repair;
            repair.X = x;
            repair.Evaluation = at;
            if (!work.Free.empty())
                repair = RepairDesign(*objective, work, x, control, result.Evaluations);
            result.Evaluations += repair.Evaluations;
            result.Cancelled = repair.Cancelled;
            x = repair.X;
            at = repair.Evaluation;
            if (repair.Feasible || repair.Cancelled || !def.AddFreeWhenStuck) break;
            const int room = def.MaxAdded - static_cast<int>(result.Added.size());
            if (room <= 0) break;
            // Rank at the least infeasible design reached, and free the best.
            Mechanism reached = start;
            for (size_t i = 0; i < x.size(); ++i)
                SetDimension(reached, work.Free[i].Id, ToFloat(x[i]));
            FindMidGear(reached);
            std::vector<int> exclude;
            for (const BalanceFreeDim& f : def.Free)
                exclude.push_back(f.Id);
            exclude.insert(exclude.end(), result.Added.begin(), result.Added.end());
            const std::vector<int> add =
                DimensionsToAdd(RankFreeDimensions(reached, work, exclude), room);
            if (add.empty()) break;
            for (int id : add) {
                work.Free.push_back(DefaultFreeDim(start, id));
                x.push_back(GetDimension(start, id));
                const float v = GetDimension(start, id);
                result.Changes.push_back(BalanceChange{id, v, v});
                result.Added.push_back(id);
            }
            objective = std::make_unique<BalanceObjective>(start, work);
            at = objective->Evaluate(x.data(), true);
            ++result.Evaluations;
        }
    }

    const auto setChanges = [&](Mechanism& m) {
        for (size_t i = 0; i < x.size(); ++i)
            SetDimension(m, work.Free[i].Id, ToFloat(x[i]));
        FindMidGear(m);
        for (BalanceChange& c : result.Changes)
            c.After = GetDimension(m, c.Id);
    };
    if (!at.Feasible() || !at.Objective) {
        // No feasible design: the least infeasible one reached, to show only.
        setChanges(result.Balanced);
        result.InfeasibilityAfter = at.Infeasibility;
        ComputeReport(result.Balanced, def.Settings, result.After);
        result.Failures = FindBalanceFailures(result.Balanced, work);
        std::vector<int> exclude;
        for (const BalanceFreeDim& f : work.Free)
            exclude.push_back(f.Id);
        result.Suggestions = RankFreeDimensions(result.Balanced, work, exclude);
        result.Suggestion = SuggestionLine(
            BalanceFailureSummary(result.Failures, result.After.Rows.size(), def.MinLead),
            FreeAdvice(result.Suggestions));
        return result;
    }

    if (result.Phase == 1)
        work.MaxEvaluations = std::min(work.MaxEvaluations, work.MaxEvaluationsAfterRepair);
    result.Phase = 2;
    RunState r{*objective, work, control, x, x};
    r.BestJ = *at.Objective;
    r.Penalty = 1e3 * (1.0 + r.BestJ);
    r.EvaluationsBefore = result.Evaluations;
    std::vector<double> y0(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        const BalanceFreeDim& f = work.Free[i];
        y0[i] = std::clamp((x[i] - f.Lower) / (f.Upper - f.Lower), 0.0, 1.0);
    }
    if (!result.Cancelled && !cancelled() && !work.Free.empty()) Optimise(r, y0);
    for (int s = 1; s <= def.Multistart && !work.Free.empty(); ++s) {
        if (r.Cancelled || cancelled() || r.Evaluations >= work.MaxEvaluations) break;
        std::vector<double> y(x.size());
        for (size_t i = 0; i < x.size(); ++i)
            y[i] =
                0.2 + 0.6 * RadicalInverse(static_cast<unsigned>(s), Primes[i % std::size(Primes)]);
        Optimise(r, y);
    }
    result.Cancelled = result.Cancelled || r.Cancelled || cancelled();
    result.Evaluations += r.Evaluations;

    // The best was scanned in full when it was found, and J is a function
    // of the design alone, so it stands as it was evaluated.
    x = r.BestX;
    setChanges(result.Balanced);
    result.Feasible = true;
    result.ObjectiveAfter = r.BestJ;
    ComputeReport(result.Balanced, def.Settings, result.After);
    return result;
}

FreeAdviceResult SuggestFreeDimensions(const Mechanism& m, const BalanceDef& def) {
    FreeAdviceResult out;
    out.Failures = FindBalanceFailures(m, def);
    std::vector<int> exclude;
    for (const BalanceFreeDim& f : def.Free)
        exclude.push_back(f.Id);
    out.Ranked = RankFreeDimensions(m, def, exclude);
    const EventsReport report = ComputeReport(m, def.Settings);
    out.Line = SuggestionLine(BalanceFailureSummary(out.Failures, report.Rows.size(), def.MinLead),
                              FreeAdvice(out.Ranked));
    return out;
}

bool ApplyBalance(Mechanism& m, const BalanceResult& result) {
    for (const BalanceChange& c : result.Changes)
        if (c.After != GetDimension(m, c.Id)) SetDimension(m, c.Id, c.After);
    return FindMidGear(m);
}

BalanceFreeDim DefaultFreeDim(const Mechanism& m, int id, double pct) {
    const double v = GetDimension(m, id);
    const double half = std::max(std::fabs(v) * pct / 100.0, MinimumBoundsHalfWidth);
    return BalanceFreeDim{id, v - half, v + half};
}

ReportDef DefaultBalanceSettings(const Mechanism& m) {
    ReportDef def;
    for (double f : {0.25, 0.5, 0.75, 1.0}) {
        def.Offsets.push_back(f * m.Frame.RevArmNorm);
        def.Offsets.push_back(-f * m.Frame.RevArmNorm);
    }
    return def;
}

BalanceDef DefaultBalanceDef(const Mechanism& m) {
    BalanceDef def;
    def.AddFreeWhenStuck = true;
    for (int id : DefaultFreeDimensionIds)
        def.Free.push_back(DefaultFreeDim(m, id));
    def.Settings = DefaultBalanceSettings(m);
    // The targets of the optional terms: the design's own figures, so a
    // term switched on holds what the design has.
    ReportDef probe;
    probe.Offsets = {0.0, static_cast<double>(m.Frame.RevArmNorm)};
    const EventsReport report = ComputeReport(m, probe);
    for (const ReportRow& row : report.Rows) {
        const PortEventSet& f = row.Events.Front;
        const PortEventSet& r = row.Events.Rear;
        if (row.Offset && *row.Offset == 0.0 && row.Direction == RunDirection::Forward && f.Lead &&
            r.Lead)
            def.Weights.MidGearLeadTarget = (*f.Lead + *r.Lead) / 2.0;
        if (row.Offset && *row.Offset > 0.0 && f.Pct(CutOff) && r.Pct(CutOff))
            def.Weights.FullGearCutOffTarget = (*f.Pct(CutOff) + *r.Pct(CutOff)) / 2.0;
    }
    return def;
}

} // namespace kes
