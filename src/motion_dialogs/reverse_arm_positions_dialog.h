// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Set Reverse Arm Positions" dialog: the nine reverse-arm positions
// that the diagrams plot and their vertical scale, with a graph of the
// positions across the travel of the reverse arm from mid gear - RevArmMax
// to mid gear + RevArmMax. Leaving a field stores it and redraws the graph;
// closing asks the diagrams to redraw.

#include <QDialog>

#include <array>

class QPainter;
class QPushButton;
class NumericEntry;

namespace kes {
struct Model;
}

// Known on the form as TSetRevArm.
class ReverseArmPositionsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ReverseArmPositionsDialog(kes::Model& model, QWidget* parent = nullptr);

    // Field n: 1..9 a position, 10 the vertical scale.
    NumericEntry* Field(int n) const { return fields_.at(static_cast<size_t>(n - 1)); }

    // The texts and the graph, as the dialog paints them.
    static void PaintGraph(QPainter& painter, const kes::Model& model);

  public slots:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void FieldLeft(int n);

    kes::Model& model_;
    std::array<NumericEntry*, 10> fields_{};
    QPushButton* close_ = nullptr;
};
