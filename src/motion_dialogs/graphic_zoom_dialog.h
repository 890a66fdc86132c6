// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Set Zoom of Dimensional Graphic Position" dialog: the zoom of the
// dimension highlight, typed between 0.5 and 2000.

#include "motion_dialogs/value_dialog.h"

namespace kes {
struct Model;
}

// Known on the form as TGraphZoom.
class GraphicZoomDialog : public ValueDialog {
    Q_OBJECT
  public:
    explicit GraphicZoomDialog(kes::Model& model, QWidget* parent = nullptr);

  protected:
    void Activate() override;
    void Apply() override;

  private:
    kes::Model& model_;
};
