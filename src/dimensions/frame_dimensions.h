// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame, driving gear and Baker gear assembly dimensions.

#include "dimensions/dimension_dialog.h"

class QPushButton;

// Known on the form as TFrameDi.
class FrameDimensionsDialog : public DimensionDialog {
    Q_OBJECT
  public:
    // A dialog with a typed flag of its own.
    FrameDimensionsDialog(kes::Model& model, MainFormLink& link, QWidget* parent = nullptr);
    // A dialog sharing the typed flag with the cylinder dialog.
    FrameDimensionsDialog(kes::Model& model, MainFormLink& link,
                          std::shared_ptr<DimensionFieldState> state, QWidget* parent = nullptr);

    QPushButton* ResetFrame() const { return resetFrame_; }
    QPushButton* ResetBakerAssy() const { return resetBakerAssy_; }

    // "ResetFD" and "ResetBA": the mouse-down restores the group, sets the
    // reverse-arm bar's range, empties the dynamic variables and shows the
    // values; the click also clears the undo record.
    void ResetFrameMouseDown();
    void ResetFrameClick();
    void ResetBakerAssyMouseDown();
    void ResetBakerAssyClick();

  protected:
    float ShownValue(int n) const override;
    void EditExit(int n) override;
    void ButtonClick(int n) override;

  private:
    void Edit29Exit();
    void Edit30Exit();
    // Brings the set reverse-arm positions within RevArmNorm of mid gear.
    void ClampRevArmPositions(bool includeZero);

    QPushButton* resetFrame_ = nullptr;
    QPushButton* resetBakerAssy_ = nullptr;
};
