// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tables of the "Balance Events..." window: the free-dimension
// checklist and the result (the changes, the events before and after).

#include "analysis/balance.h"
#include "model/model.h"

#include <QString>

#include <vector>

class QTableWidget;

namespace balance_tables {

// Columns of the checklist: the dimension (checkable), its value, the bounds.
enum ChecklistColumn { DimColumn = 0, ValueColumn, LowerColumn, UpperColumn, ChecklistColumns };

// Every dimension with an id, one a row; the default free ones checked,
// bounds at their defaults.
void FillChecklist(QTableWidget& t, const kes::Mechanism& m);
// The checked rows as free dimensions; an error text when a bound is not a number.
std::vector<kes::BalanceFreeDim> CheckedDims(const QTableWidget& t, QString& error);

void FillChanges(QTableWidget& t, const kes::BalanceResult& r);
// One line per setting and quantity: front, rear and front - rear, before and after.
void FillEvents(QTableWidget& t, const kes::BalanceResult& r);

} // namespace balance_tables
