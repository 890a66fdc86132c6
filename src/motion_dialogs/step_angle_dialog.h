// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Step Angle" dialog: the step per tick typed between 0.01 and 45;
// the driver keeps running or standing as it was.

#include "motion_dialogs/value_dialog.h"

namespace kes {
struct Model;
struct ControlState;
} // namespace kes

// Known on the form as TStpAng.
class StepAngleDialog : public ValueDialog {
    Q_OBJECT
  public:
    StepAngleDialog(kes::Model& model, kes::ControlState& state, QWidget* parent = nullptr);

  protected:
    void Activate() override;
    void Apply() override;

  private:
    kes::Model& model_;
    kes::ControlState& state_;
};
