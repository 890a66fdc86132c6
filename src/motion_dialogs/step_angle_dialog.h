// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TStpAng ("Step Angle"): the step per tick typed between 0.01 and 45;
// the driver keeps running or standing as it was.

#include "motion_dialogs/value_dialog.h"

namespace kes {
struct Model;
struct ControlState;
} // namespace kes

class TStpAng : public ValueDialog {
    Q_OBJECT
  public:
    TStpAng(kes::Model& model, kes::ControlState& state, QWidget* parent = nullptr);

  protected:
    void Activate() override;
    void Apply() override;

  private:
    kes::Model& model_;
    kes::ControlState& state_;
};
