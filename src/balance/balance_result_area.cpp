// SPDX-License-Identifier: GPL-3.0-or-later
#include "balance/balance_result_area.h"

#include "balance/balance_chart.h"
#include "balance/balance_tables.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

namespace balance_tables {

namespace {

// The changes and the chart keep at least this width beside the table.
constexpr int LeftColumnMinWidth = 300;
// The changes table shows this many rows unscrolled at least, and at most.
constexpr int ChangesRowsMin = 4;
constexpr int ChangesRowsMax = 8;

} // namespace

ResultArea::ResultArea(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
    setObjectName(QStringLiteral("ResultSplit"));
    left_ = new QSplitter(Qt::Vertical, this);
    left_->setObjectName(QStringLiteral("ChangesSplit"));
    changes_ = new QTableWidget(left_);
    changes_->setObjectName(QStringLiteral("Changes"));
    // Short rows: the chart below wants the height.
    changes_->verticalHeader()->setDefaultSectionSize(changes_->fontMetrics().height() + 8);
    chart_ = new balance_chart::CutOffChart(left_);
    chart_->setObjectName(QStringLiteral("CutOff"));
    left_->setStretchFactor(0, 0);
    left_->setStretchFactor(1, 1);
    left_->setMinimumWidth(LeftColumnMinWidth);
    events_ = new QTableWidget(this);
    events_->setObjectName(QStringLiteral("Events"));
    setStretchFactor(0, 1);
    setStretchFactor(1, 0);
    Clear();
}

void ResultArea::Show(const kes::BalanceResult& r) {
    FillChanges(*changes_, r);
    FillEvents(*events_, r);
    chart_->Show(r);
    Fit();
}

void ResultArea::Clear() {
    // The headings stay, so the split fits them before a run.
    const kes::BalanceResult none;
    FillChanges(*changes_, none);
    FillEvents(*events_, none);
    chart_->Clear();
}

void ResultArea::Fit() {
    int wide = 2 * events_->frameWidth() + events_->verticalHeader()->sizeHint().width() +
               events_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < events_->columnCount(); ++c)
        wide += events_->columnWidth(c);
    const int width = this->width() - handleWidth();
    if (width <= 0) return;
    const int right = std::min(wide, width - LeftColumnMinWidth);
    setSizes({width - right, right});

    // The changes as tall as their rows, the chart the rest (half at least).
    const int rows = std::clamp(changes_->rowCount(), ChangesRowsMin, ChangesRowsMax);
    const int tall = 2 * changes_->frameWidth() +
                     changes_->horizontalHeader()->sizeHint().height() +
                     rows * changes_->verticalHeader()->defaultSectionSize();
    const int height = left_->height() - left_->handleWidth();
    if (height <= 0) return;
    const int top = std::min(tall, height / 2);
    left_->setSizes({top, height - top});
}

} // namespace balance_tables
