// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Reverse Arm Position" dialog: the reverse-arm setting typed between
// its limits, which the dialog lists from mid gear.

#include "motion_dialogs/value_dialog.h"

namespace kes {
struct Model;
struct ControlState;
} // namespace kes

// Known on the form as TRevPos.
class ReverseArmSettingDialog : public ValueDialog {
    Q_OBJECT
  public:
    ReverseArmSettingDialog(kes::Model& model, kes::ControlState& state, QWidget* parent = nullptr);

  protected:
    void Activate() override;
    void Apply() override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void FocusField();

    kes::Model& model_;
    kes::ControlState& state_;
    bool focusOnActivation_ = false;
};
