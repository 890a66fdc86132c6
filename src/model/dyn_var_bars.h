// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four dynamic-variable bars of one window (the main window's and each
// diagram's): a scroll of bar n remembers the slot's value when it starts,
// steps the slot at every change of the bar and records one undo entry when
// it ends, if the value has changed. Standard library only; the windows
// share one Qt wiring of it.

#include "model/model.h"
#include "model/self_centring.h"

#include <array>

namespace kes {

constexpr double DynVarBarPerUnit = 1000.0; // one bar position is 0.001 length unit
constexpr int DynVarBarSmallChange = 1;
constexpr int DynVarBarLargeChange = 10;

class DynVarBars {
  public:
    // A scroll of bar n (1..4) starts: the slot's value is the value before.
    // A scroll already running goes on.
    void Begin(Model& m, int n);
    // Bar n moved to p (a scroll starts if none runs): the slot's dimension
    // takes the step, which is returned.
    double Change(Model& m, int n, int p, BarMove move);
    // The scroll of bar n ends. True when it recorded an undo entry, which
    // it does only when the value has changed.
    bool End(Model& m, int n);
    bool Scrolling(int n) const;

  private:
    std::array<SelfCentringBar, 5> memory_{};
    std::array<bool, 5> scrolling_{};
};

} // namespace kes
