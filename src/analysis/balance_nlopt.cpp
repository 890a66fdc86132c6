// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/balance_nlopt.h"

#include <nlopt.hpp>

#include <algorithm>
#include <exception>

namespace kes {

namespace {

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

} // namespace

void MinimiseInUnitBox(BalanceMethod method, std::vector<double>& y, int maxEvaluations,
                       double relativeTolerance, UnitBoxObjective f, void* data,
                       nlopt::opt*& running) {
    const unsigned n = static_cast<unsigned>(y.size());
    if (n == 0) return;
    nlopt::opt opt(Algorithm(method), n);
    running = &opt;
    opt.set_lower_bounds(std::vector<double>(n, 0.0));
    opt.set_upper_bounds(std::vector<double>(n, 1.0));
    opt.set_min_objective(f, data);
    opt.set_maxeval(std::max(1, maxEvaluations));
    opt.set_xtol_rel(relativeTolerance);
    opt.set_ftol_rel(relativeTolerance);
    double value = 0.0;
    try {
        opt.optimize(y, value);
    } catch (const std::exception&) {
        // Forced stop, round-off or a failure of the method.
    }
    running = nullptr;
}

void StopMinimising(nlopt::opt* running) {
    if (running) running->force_stop();
}

} // namespace kes
