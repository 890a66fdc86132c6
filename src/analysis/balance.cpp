#include "analysis/balance.h"

#include "model/dimensions.h"
#include "model/mid_gear.h"
#include "model/typed_value.h"

#include <nlopt.hpp>

#include <algorithm>
#include <cmath>
#include <exception>

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
        r.Opt->force_stop();
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
        p.Evaluations = r.Evaluations + 1; // counting the start
        if (ok) p.Current = ev.Objective;
        p.Best = r.BestJ;
        r.Control.Progress(p);
    }
    return ok ? *ev.Objective : r.Penalty;
}

nlopt::algorithm Algorithm(BalanceMethod m) {
    switch (m) {
    case BalanceMethod::Cobyla:
        return nlopt::LN_COBYLA;
    case BalanceMethod::NelderMead:
        return nlopt::LN_NELDERMEAD;
    case BalanceMethod::Bobyqa:
        break;
    }
    return nlopt::LN_BOBYQA;
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
    const unsigned n = static_cast<unsigned>(y.size());
    nlopt::opt opt(Algorithm(r.Def.Method), n);
    r.Opt = &opt;
    opt.set_lower_bounds(std::vector<double>(n, 0.0));
    opt.set_upper_bounds(std::vector<double>(n, 1.0));
    opt.set_min_objective(Evaluate, &r);
    opt.set_maxeval(std::max(1, r.Def.MaxEvaluations - r.Evaluations));
    opt.set_xtol_rel(r.Def.RelativeTolerance);
    opt.set_ftol_rel(r.Def.RelativeTolerance);
    double f = 0.0;
    try {
        opt.optimize(y, f);
    } catch (const std::exception&) {
        // Forced stop, round-off or a failure of the method: the best
        // feasible design seen so far is kept either way.
    }
    r.Opt = nullptr;
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

    BalanceObjective objective(start, def);
    const size_t n = def.Free.size();
    std::vector<double> x0(n), y0(n);
    for (size_t i = 0; i < n; ++i) {
        const BalanceFreeDim& f = def.Free[i];
        x0[i] = GetDimension(start, f.Id);
        y0[i] = std::clamp((x0[i] - f.Lower) / (f.Upper - f.Lower), 0.0, 1.0);
        result.Changes.push_back(
            BalanceChange{f.Id, static_cast<float>(x0[i]), static_cast<float>(x0[i])});
    }
    result.Start = objective.Evaluate(x0.data(), true);
    result.Evaluations = 1;
    result.ObjectiveBefore = result.Start.Objective;
    ComputeReport(start, def.Settings, result.Before);
    if (!result.Start.Feasible() || !result.Start.Objective) {
        result.After = result.Before;
        return result;
    }

    RunState r{objective, def, control, x0, x0};
    r.BestJ = *result.Start.Objective;
    r.Penalty = 1e3 * (1.0 + r.BestJ);
    Optimise(r, y0);
    for (int s = 1; s <= def.Multistart; ++s) {
        if (r.Cancelled || CancelRequested(r) || r.Evaluations >= def.MaxEvaluations) break;
        std::vector<double> y(n);
        for (size_t i = 0; i < n; ++i)
            y[i] =
                0.2 + 0.6 * RadicalInverse(static_cast<unsigned>(s), Primes[i % std::size(Primes)]);
        Optimise(r, y);
    }
    result.Cancelled = r.Cancelled || CancelRequested(r);
    result.Evaluations += r.Evaluations;

    for (size_t i = 0; i < n; ++i)
        SetDimension(result.Balanced, def.Free[i].Id, ToFloat(r.BestX[i]));
    FindMidGear(result.Balanced);
    // The best was scanned in full when it was found, and J is a function
    // of the design alone, so it stands as it was evaluated.
    for (size_t i = 0; i < n; ++i)
        result.Changes[i].After = GetDimension(result.Balanced, def.Free[i].Id);
    result.Feasible = true;
    result.ObjectiveAfter = r.BestJ;
    ComputeReport(result.Balanced, def.Settings, result.After);
    return result;
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
