// SPDX-License-Identifier: GPL-3.0-or-later
#include "balance/balance_tables.h"

#include "model/dimensions.h"

#include <QHeaderView>
#include <QTableWidget>

#include <cmath>
#include <optional>

namespace balance_tables {

namespace {

QString Cell(const std::optional<double>& v, int decimals) {
    if (!v || !std::isfinite(*v)) return {};
    return QString::number(*v, 'f', decimals);
}

QTableWidgetItem* ReadOnly(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

void Prepare(QTableWidget& t, int rows, const QStringList& headers) {
    t.clearContents();
    t.setColumnCount(static_cast<int>(headers.size()));
    t.setHorizontalHeaderLabels(headers);
    t.setRowCount(rows);
}

struct Quantity {
    const char* Name;
    int Decimals;
    std::optional<double> (*Of)(const kes::PortEventSet&);
    std::optional<double> (*Diff)(const kes::ReportRow&);
};
const Quantity Quantities[] = {
    {"cut-off %", 2, [](const kes::PortEventSet& p) { return p.Pct(kes::CutOff); },
     [](const kes::ReportRow& r) { return r.CutOffDiff; }},
    {"lead", 4, [](const kes::PortEventSet& p) { return p.Lead; },
     [](const kes::ReportRow& r) { return r.LeadDiff; }},
    {"release %", 2, [](const kes::PortEventSet& p) { return p.Pct(kes::Release); },
     [](const kes::ReportRow& r) { return r.ReleaseDiff; }},
    {"compression %", 2, [](const kes::PortEventSet& p) { return p.Pct(kes::Compression); },
     [](const kes::ReportRow& r) { return r.CompressionDiff; }},
};

} // namespace

void FillChecklist(QTableWidget& t, const kes::Mechanism& m) {
    std::vector<int> ids;
    for (int id = 1; id <= 122; ++id)
        if (kes::IsDimensionId(id)) ids.push_back(id);
    Prepare(t, static_cast<int>(ids.size()),
            {QStringLiteral("Dimension"), QStringLiteral("Value"), QStringLiteral("Lower"),
             QStringLiteral("Upper")});
    for (int row = 0; row < static_cast<int>(ids.size()); ++row) {
        const int id = ids[static_cast<size_t>(row)];
        const kes::BalanceFreeDim f = kes::DefaultFreeDim(m, id);
        auto* name = ReadOnly(QString::fromUtf8(kes::DimensionName(id).data(),
                                                static_cast<int>(kes::DimensionName(id).size())));
        name->setFlags(name->flags() | Qt::ItemIsUserCheckable);
        bool free = false;
        for (int d : kes::DefaultFreeDimensionIds)
            free = free || d == id;
        name->setCheckState(free ? Qt::Checked : Qt::Unchecked);
        name->setData(Qt::UserRole, id);
        t.setItem(row, DimColumn, name);
        t.setItem(row, ValueColumn, ReadOnly(QString::number(kes::GetDimension(m, id), 'f', 4)));
        t.setItem(row, LowerColumn, new QTableWidgetItem(QString::number(f.Lower, 'f', 4)));
        t.setItem(row, UpperColumn, new QTableWidgetItem(QString::number(f.Upper, 'f', 4)));
    }
    t.resizeColumnsToContents();
}

std::vector<kes::BalanceFreeDim> CheckedDims(const QTableWidget& t, QString& error) {
    std::vector<kes::BalanceFreeDim> dims;
    error.clear();
    for (int row = 0; row < t.rowCount(); ++row) {
        const QTableWidgetItem* name = t.item(row, DimColumn);
        if (!name || name->checkState() != Qt::Checked) continue;
        bool okLo = false, okHi = false;
        const double lo = t.item(row, LowerColumn)->text().toDouble(&okLo);
        const double hi = t.item(row, UpperColumn)->text().toDouble(&okHi);
        if (!okLo || !okHi || !std::isfinite(lo) || !std::isfinite(hi)) {
            error = QStringLiteral("The bounds of %1 are not numbers.").arg(name->text());
            return {};
        }
        dims.push_back(kes::BalanceFreeDim{name->data(Qt::UserRole).toInt(), lo, hi});
    }
    return dims;
}

void FillChanges(QTableWidget& t, const kes::BalanceResult& r) {
    Prepare(t, static_cast<int>(r.Changes.size()),
            {QStringLiteral("Dimension"), QStringLiteral("Before"), QStringLiteral("After"),
             QStringLiteral("Change %")});
    for (int row = 0; row < static_cast<int>(r.Changes.size()); ++row) {
        const kes::BalanceChange& c = r.Changes[static_cast<size_t>(row)];
        const std::string_view name = kes::DimensionName(c.Id);
        t.setItem(row, 0, ReadOnly(QString::fromUtf8(name.data(), static_cast<int>(name.size()))));
        t.setItem(row, 1, ReadOnly(QString::number(c.Before, 'f', 4)));
        t.setItem(row, 2, ReadOnly(QString::number(c.After, 'f', 4)));
        t.setItem(row, 3, ReadOnly(QString::number(c.Percent(), 'f', 2)));
    }
    t.resizeColumnsToContents();
}

void FillEvents(QTableWidget& t, const kes::BalanceResult& r) {
    const size_t rows = std::min(r.Before.Rows.size(), r.After.Rows.size());
    constexpr int perRow = static_cast<int>(std::size(Quantities));
    Prepare(t, static_cast<int>(rows) * perRow,
            {QStringLiteral("Setting"), QStringLiteral("Quantity"), QStringLiteral("Front before"),
             QStringLiteral("Rear before"), QStringLiteral("F - R before"),
             QStringLiteral("Front after"), QStringLiteral("Rear after"),
             QStringLiteral("F - R after")});
    for (size_t i = 0; i < rows; ++i) {
        const kes::ReportRow& a = r.Before.Rows[i];
        const kes::ReportRow& b = r.After.Rows[i];
        const QString setting = QStringLiteral("%1 %2").arg(
            QString::fromLatin1(kes::RunDirectionText(a.Direction)),
            a.Offset ? QString::number(*a.Offset, 'f', 3) : QString::number(a.Setting));
        for (int q = 0; q < perRow; ++q) {
            const Quantity& k = Quantities[q];
            const int row = static_cast<int>(i) * perRow + q;
            t.setItem(row, 0, ReadOnly(setting));
            t.setItem(row, 1, ReadOnly(QString::fromLatin1(k.Name)));
            t.setItem(row, 2, ReadOnly(Cell(k.Of(a.Events.Front), k.Decimals)));
            t.setItem(row, 3, ReadOnly(Cell(k.Of(a.Events.Rear), k.Decimals)));
            t.setItem(row, 4, ReadOnly(Cell(k.Diff(a), k.Decimals)));
            t.setItem(row, 5, ReadOnly(Cell(k.Of(b.Events.Front), k.Decimals)));
            t.setItem(row, 6, ReadOnly(Cell(k.Of(b.Events.Rear), k.Decimals)));
            t.setItem(row, 7, ReadOnly(Cell(k.Diff(b), k.Decimals)));
        }
    }
    t.resizeColumnsToContents();
}

} // namespace balance_tables
