// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Driver Angle" dialog: the driver set to a typed angle; the motion
// stops.

#include "motion_dialogs/value_dialog.h"

namespace kes {
struct Model;
struct ControlState;
} // namespace kes

// Known on the form as TDrivAng.
class DriverAngleDialog : public ValueDialog {
    Q_OBJECT
  public:
    DriverAngleDialog(kes::Model& model, kes::ControlState& state, QWidget* parent = nullptr);

  protected:
    void Activate() override;
    void Apply() override;

  private:
    kes::Model& model_;
    kes::ControlState& state_;
};
