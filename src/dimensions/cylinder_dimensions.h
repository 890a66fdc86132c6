// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cylinder, port and piston-valve dimensions.

#include "dimensions/dimension_dialog.h"

class QPushButton;

// Known on the form as TCylDimen.
class CylinderDimensionsDialog : public DimensionDialog {
    Q_OBJECT
  public:
    // A dialog with a typed flag of its own.
    CylinderDimensionsDialog(kes::Model& model, MainFormLink& link, QWidget* parent = nullptr);
    // A dialog sharing the typed flag with the frame dialog.
    CylinderDimensionsDialog(kes::Model& model, MainFormLink& link,
                             std::shared_ptr<DimensionFieldState> state, QWidget* parent = nullptr);

    QPushButton* Reset1() const { return reset1_; }

    // "ResetCylDim": the mouse-down restores the cylinder group, empties the
    // dynamic variables and shows the values; the click also clears the undo
    // record. The reverse-arm bar is not touched.
    void Reset1MouseDown();
    void ResetCylClick();

  protected:
    float ShownValue(int n) const override;
    void EditExit(int n) override;
    void ButtonClick(int n) override;

  private:
    QPushButton* reset1_ = nullptr;
};
