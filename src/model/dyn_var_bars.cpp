// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/dyn_var_bars.h"

#include "model/dyn_vars.h"

namespace kes {

namespace {

bool ValidBar(int n) {
    return n >= 1 && n <= 4;
}

} // namespace

void DynVarBars::Begin(Model& m, int n) {
    if (!ValidBar(n) || scrolling_[static_cast<size_t>(n)]) return;
    scrolling_[static_cast<size_t>(n)] = true;
    memory_[static_cast<size_t>(n)].Forget();
    RememberBefore(m, n);
}

double DynVarBars::Change(Model& m, int n, int p, BarMove move) {
    if (!ValidBar(n)) return 0.0;
    Begin(m, n);
    const double d = memory_[static_cast<size_t>(n)].Step(p, DynVarBarPerUnit, move);
    // The bar's return to 0 is one more change, with no step.
    if (p != 0) memory_[static_cast<size_t>(n)].Step(0, DynVarBarPerUnit);
    StepDynVar(m, n, static_cast<float>(d));
    return d;
}

bool DynVarBars::End(Model& m, int n) {
    if (!ValidBar(n) || !scrolling_[static_cast<size_t>(n)]) return false;
    scrolling_[static_cast<size_t>(n)] = false;
    memory_[static_cast<size_t>(n)].Forget();
    return PushUndoForSlot(m, n);
}

bool DynVarBars::Scrolling(int n) const {
    return ValidBar(n) && scrolling_[static_cast<size_t>(n)];
}

} // namespace kes
