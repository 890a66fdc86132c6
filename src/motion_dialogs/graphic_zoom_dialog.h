// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TGraphZoom ("Set Zoom of Dimensional Graphic Position"): the zoom of the
// dimension highlight, typed between 0.5 and 2000.

#include "motion_dialogs/value_dialog.h"

namespace kes {
struct Model;
}

class TGraphZoom : public ValueDialog {
    Q_OBJECT
  public:
    explicit TGraphZoom(kes::Model& model, QWidget* parent = nullptr);

  protected:
    void Activate() override;
    void Apply() override;

  private:
    kes::Model& model_;
};
