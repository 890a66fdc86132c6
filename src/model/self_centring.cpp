#include "model/self_centring.h"

namespace kes {

double SelfCentringBar::Step(int p, double k) {
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

} // namespace kes
