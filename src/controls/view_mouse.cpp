// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/view_mouse.h"

#include "controls/control_support.h"

#include <algorithm>
#include <cmath>

namespace kes {

using namespace controls_detail;

void ZoomAboutPixel(Model& m, ControlState& cs, double factor, double x, double y) {
    if (!std::isfinite(factor) || factor <= 0.0 || !std::isfinite(x) || !std::isfinite(y)) return;
    const View old = m.CurrentView;
    if (!UsableScale(old.Scale)) return;
    const double s = std::clamp(old.Scale * factor, static_cast<double>(MinViewScale),
                                static_cast<double>(MaxViewScale));
    const double ratio = s / old.Scale;
    View v = old;
    v.Scale = static_cast<float>(s);
    v.OffsetX = F(x - (x - old.OffsetX) * ratio);
    v.OffsetY = F(y - (y - old.OffsetY) * ratio);
    m.CurrentView = v;
    m.ZoomAnchorView = v;
    cs.NormEnabled = true;
}

void WheelZoom(Model& m, ControlState& cs, double notches, double x, double y) {
    if (!std::isfinite(notches) || notches == 0.0) return;
    // A few notches at most per event: a runaway device cannot overflow.
    ZoomAboutPixel(m, cs, std::pow(WheelZoomPerNotch, std::clamp(notches, -10.0, 10.0)), x, y);
}

void PanByPixels(Model& m, ControlState& cs, double dx, double dy) {
    if (!std::isfinite(dx) || !std::isfinite(dy)) return;
    m.CurrentView.OffsetX = F(m.CurrentView.OffsetX + dx);
    m.CurrentView.OffsetY = F(m.CurrentView.OffsetY + dy);
    m.ZoomAnchorView = m.CurrentView;
    cs.NormEnabled = true;
}

} // namespace kes
