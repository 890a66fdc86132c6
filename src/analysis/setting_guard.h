// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sweeps turn the driver and move the reverse arm of the design they
// are handed; the guard puts both back when the sweep ends.

#include "model/model.h"

namespace analysis {

class SettingGuard {
  public:
    explicit SettingGuard(kes::Mechanism& m)
        : m_(m), revArmSetting_(m.RevArmSetting), driverAngle_(m.DriverAngle) {}
    ~SettingGuard() {
        m_.RevArmSetting = revArmSetting_;
        m_.DriverAngle = driverAngle_;
    }
    SettingGuard(const SettingGuard&) = delete;
    SettingGuard& operator=(const SettingGuard&) = delete;

  private:
    kes::Mechanism& m_;
    float revArmSetting_;
    float driverAngle_;
};

} // namespace analysis
