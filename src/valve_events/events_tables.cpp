#include "valve_events/events_tables.h"

#include "analysis/dimension_names.h"
#include "model/dimensions.h"

#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableWidget>

#include <cmath>

namespace events_window {

namespace {

// Row colours of the checks: a failure stands out, a warning less so.
const QColor FailureColour(0xFF, 0xC8, 0xC8);
const QColor WarningColour(0xFF, 0xF0, 0xB0);

QTableWidgetItem* Item(const QString& text, const QString& tip = {}) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (!tip.isEmpty()) item->setToolTip(tip);
    return item;
}

QStandardItem* NumberItem(std::optional<double> v, int decimals) {
    auto* item = new QStandardItem(CellText(v, decimals));
    item->setEditable(false);
    // Absent numbers sort below every number.
    item->setData(v && std::isfinite(*v) ? *v : -HUGE_VAL, SortRole);
    if (v) item->setToolTip(QString::fromStdString(kes::CsvNumber(v)));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QStandardItem* TextItem(const QString& text) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setData(text, SortRole);
    return item;
}

} // namespace

int Decimals(kes::ColumnKind kind) {
    switch (kind) {
    case kes::ColumnKind::Percent:
    case kes::ColumnKind::Degrees:
        return 2;
    default:
        return 4;
    }
}

QString CellText(std::optional<double> v, int decimals) {
    if (!v || !std::isfinite(*v)) return {};
    const double x = *v == 0.0 ? 0.0 : *v;
    QString text = QString::number(x, 'f', decimals);
    // A value that rounds to zero shows without its sign.
    if (text.startsWith(QLatin1Char('-')) &&
        text.mid(1).remove(QLatin1Char('0')) == QLatin1String("."))
        text.remove(0, 1);
    return text;
}

void FillReportTable(QTableWidget& table, const kes::EventsReport& r) {
    const auto columns = kes::ReportColumns();
    const int shown = static_cast<int>(columns.size() - FirstShownColumn);
    table.setColumnCount(shown);
    table.setRowCount(static_cast<int>(r.Rows.size()));
    QStringList header;
    for (size_t c = FirstShownColumn; c < columns.size(); ++c)
        header << QString::fromLatin1(columns[c].Name);
    table.setHorizontalHeaderLabels(header);
    for (int row = 0; row < table.rowCount(); ++row) {
        const kes::ReportRow& rr = r.Rows[static_cast<size_t>(row)];
        for (size_t c = FirstShownColumn; c < columns.size(); ++c) {
            const int col = static_cast<int>(c - FirstShownColumn);
            const kes::ColumnKind kind = columns[c].Kind;
            if (kind == kes::ColumnKind::Text || kind == kes::ColumnKind::Flag) {
                table.setItem(row, col,
                              Item(QString::fromStdString(kes::ReportCellText(r, rr, c))));
                continue;
            }
            const auto v = kes::ReportCellNumber(r, rr, c);
            QTableWidgetItem* item =
                Item(CellText(v, Decimals(kind)), QString::fromStdString(kes::CsvNumber(v)));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table.setItem(row, col, item);
        }
    }
}

void FillChecksTable(QTableWidget& table, const kes::DesignChecks& c) {
    table.setColumnCount(3);
    table.setHorizontalHeaderLabels(
        {QStringLiteral("level"), QStringLiteral("topic"), QStringLiteral("text")});
    table.setRowCount(static_cast<int>(c.Lines.size()));
    for (int row = 0; row < table.rowCount(); ++row) {
        const kes::CheckLine& l = c.Lines[static_cast<size_t>(row)];
        const QString text = QString::fromStdString(l.Text);
        QTableWidgetItem* items[] = {Item(QString::fromLatin1(kes::CheckLevelText(l.Level))),
                                     Item(QString::fromStdString(l.Topic)), Item(text, text)};
        for (int col = 0; col < 3; ++col) {
            if (l.Level == kes::CheckLevel::Failure) items[col]->setBackground(FailureColour);
            if (l.Level == kes::CheckLevel::Warning) items[col]->setBackground(WarningColour);
            table.setItem(row, col, items[col]);
        }
    }
    table.horizontalHeader()->setStretchLastSection(true);
}

int SensitivityColumn(int port, kes::SensitivityQuantity q) {
    return SensitivityKeyColumns + port * kes::SensQuantityCount + static_cast<int>(q);
}

void FillSensitivityModel(QStandardItemModel& model, const kes::SensitivityTable& t) {
    model.clear();
    QStringList header = {QStringLiteral("id"),           QStringLiteral("name"),
                          QStringLiteral("display name"), QStringLiteral("setting"),
                          QStringLiteral("offset"),       QStringLiteral("direction")};
    for (const char* port : {"front", "rear"})
        for (int q = 0; q < kes::SensQuantityCount; ++q)
            header << QString::fromLatin1(port) + QLatin1Char('_') +
                          QString::fromLatin1(kes::SensitivityQuantityName(
                              static_cast<kes::SensitivityQuantity>(q)));
    model.setHorizontalHeaderLabels(header);
    for (size_t i = 0; i < t.Ids.size(); ++i) {
        const int id = t.Ids[i];
        for (size_t r = 0; r < t.Rows.size(); ++r) {
            const kes::SensitivityRowKey& key = t.Rows[r];
            QList<QStandardItem*> items;
            auto* idItem = NumberItem(id, 0);
            idItem->setToolTip({});
            items << idItem
                  << TextItem(QString::fromLatin1(
                         kes::DimensionCodeName(id).data(),
                         static_cast<qsizetype>(kes::DimensionCodeName(id).size())))
                  << TextItem(
                         QString::fromLatin1(kes::DimensionName(id).data(),
                                             static_cast<qsizetype>(kes::DimensionName(id).size())))
                  << NumberItem(key.Setting, 4) << NumberItem(key.Offset, 4)
                  << TextItem(QString::fromLatin1(kes::RunDirectionText(key.Direction)));
            const kes::SensitivityCell& cell = t.At(i, r);
            // A change per 0.001 is small: six decimals.
            for (int port = 0; port < 2; ++port)
                for (int q = 0; q < kes::SensQuantityCount; ++q)
                    items << NumberItem(cell[static_cast<size_t>(port)][static_cast<size_t>(q)], 6);
            model.appendRow(items);
        }
    }
}

} // namespace events_window
