// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TRefPnts ("Reference Points"): the two reference points typed as
// vertical and horizontal values. "OK" takes them and switches the
// reference points on, "Cancel" switches them off, "Zero" puts both at the
// origin and switches them off.

#include <QDialog>

#include <array>

class QPushButton;
class ControlsEntry;

namespace kes {
struct Model;
struct ControlState;
} // namespace kes

class TRefPnts : public QDialog {
    Q_OBJECT
  public:
    TRefPnts(kes::Model& model, kes::ControlState& state, QWidget* parent = nullptr);

    // Fields in the order V1, H1, V2, H2.
    ControlsEntry* Field(int i) const { return fields_.at(static_cast<size_t>(i)); }

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    kes::Model& model_;
    kes::ControlState& state_;
    std::array<ControlsEntry*, 4> fields_{};
};
