// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/control_state.h"

#include "controls/control_support.h"
#include "model/rounding.h"

namespace kes {

using namespace controls_detail;

ControlState InitialControlState(const Model& m) {
    ControlState cs;
    cs.RevArmPos = RoundHalfEven((static_cast<double>(m.RevArmSetting) - m.MidGear()) * 1000.0);
    cs.RevArmPos = ClampInt(cs.RevArmPos, m.RevArmBarMin, m.RevArmBarMax);
    cs.CenterEnabled = cs.RevArmPos != 0;
    cs.FwdEnabled = F(static_cast<double>(m.MidGear()) + m.Frame.RevArmNorm) != m.RevArmSetting;
    cs.RevEnabled = F(static_cast<double>(m.MidGear()) - m.Frame.RevArmNorm) != m.RevArmSetting;
    cs.Running = m.StepAngle > 0.0f;
    cs.DrvAngEnabled = !cs.Running;
    FollowStepButtons(cs, m.SelectedStepAngle);
    const PointSlot& r1 = m.Points[RefPoint1];
    const PointSlot& r2 = m.Points[RefPoint2];
    cs.RefPt1ZeroEnabled = r1.X != 0.0f || r1.Y != 0.0f;
    cs.RefPt2ZeroEnabled = r2.X != 0.0f || r2.Y != 0.0f;
    return cs;
}

} // namespace kes
