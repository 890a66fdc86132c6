// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lower half of the "Balance Events..." window: the changed dimensions
// over the chart of front - rear cut-off, beside the before/after table.
// The table is given the width of all its columns when the window has it,
// so its last column shows without dragging the split.

#include "analysis/balance.h"

#include <QSplitter>

class QTableWidget;

namespace balance_chart {
class CutOffChart;
}

namespace balance_tables {

class ResultArea : public QSplitter {
  public:
    explicit ResultArea(QWidget* parent = nullptr);

    void Show(const kes::BalanceResult& r);
    // No result: the tables' headings only and an empty chart.
    void Clear();
    // The split fitted to the tables as they are; call once the window has its size.
    void Fit();

  private:
    QSplitter* left_ = nullptr;
    QTableWidget* changes_ = nullptr;
    QTableWidget* events_ = nullptr;
    balance_chart::CutOffChart* chart_ = nullptr;
};

} // namespace balance_tables
