// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small rules the control handlers share. Internal to the controls library.

#include "controls/control_state.h"
#include "model/typed_value.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kes::controls_detail {

inline float F(double v) {
    return ToFloat(v);
}

inline int ClampInt(int v, int lo, int hi) {
    if (lo > hi) std::swap(lo, hi);
    return std::clamp(v, lo, hi);
}

inline void FollowStepButtons(ControlState& cs, float selected) {
    cs.Step1Enabled = selected != 1.0f;
    cs.Step10Enabled = selected != 10.0f;
    cs.Step45Enabled = selected != 45.0f;
}

// A self-centring bar moved to p: the step for it, and the bar's memory of
// the return to 0 (which runs the handler once more with no step).
inline double SelfCentre(SelfCentringBar& bar, int p, double k, BarMove move) {
    const double d = bar.Step(p, k, move);
    if (p != 0) bar.Step(0, k);
    return d;
}

inline bool UsableScale(float s) {
    return std::isfinite(s) && s > 0.0f;
}

inline void SetZeroButton(ControlState& cs, int point, bool enabled) {
    (point == 1 ? cs.RefPt1ZeroEnabled : cs.RefPt2ZeroEnabled) = enabled;
}

} // namespace kes::controls_detail
