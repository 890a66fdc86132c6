// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/self_centring.h"

namespace kes {

double SelfCentringBar::Step(int p, double k, BarMove move) {
    if (move == BarMove::Step) Forget();
    // Within a drag the position two changes back is the drag's previous
    // position (the return to 0 lies between them).
    const int p2 = twoBack_;
    double d = 0.0;
    if (p > 0 && p2 < p) d = p / k;
    if (p < 0 && p2 < p) d = -p / k;
    if (p < 0 && p < p2) d = p / k;
    if (p > 0 && p < p2) d = -p / k;
    twoBack_ = previous_;
    previous_ = p;
    return d;
}

void SelfCentringBar::Forget() {
    previous_ = 0;
    twoBack_ = 0;
}

} // namespace kes
