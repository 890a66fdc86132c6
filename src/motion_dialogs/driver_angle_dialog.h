// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TDrivAng ("Driver Angle"): the driver set to a typed angle; the motion
// stops.

#include "motion_dialogs/value_dialog.h"

namespace kes {
struct Model;
struct ControlState;
} // namespace kes

class TDrivAng : public ValueDialog {
    Q_OBJECT
  public:
    TDrivAng(kes::Model& model, kes::ControlState& state, QWidget* parent = nullptr);

  protected:
    void Activate() override;
    void Apply() override;

  private:
    kes::Model& model_;
    kes::ControlState& state_;
};
