// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Reference Points" dialog: the two reference points typed as
// vertical and horizontal values. "OK" takes them and switches the
// reference points on, "Cancel" switches them off, "Zero" puts both at the
// origin and switches them off.

#include <QDialog>

#include <array>

class QPushButton;
class NumericEntry;

namespace kes {
struct Model;
struct ControlState;
} // namespace kes

// Known on the form as TRefPnts.
class ReferencePointsDialog : public QDialog {
    Q_OBJECT
  public:
    ReferencePointsDialog(kes::Model& model, kes::ControlState& state, QWidget* parent = nullptr);

    // Fields in the order V1, H1, V2, H2.
    NumericEntry* Field(int i) const { return fields_.at(static_cast<size_t>(i)); }

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    kes::Model& model_;
    kes::ControlState& state_;
    std::array<NumericEntry*, 4> fields_{};
};
