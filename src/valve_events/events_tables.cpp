// SPDX-License-Identifier: GPL-3.0-or-later
#include "valve_events/events_tables.h"

#include "analysis/dimension_names.h"
#include "model/dimensions.h"

#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableWidget>

#include <cmath>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

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

QString ReportHeading(size_t column) {
    const std::string_view name = kes::ReportColumns()[column].Name;
    struct Heading {
        std::string_view Field;
        const char* Text;
    };
    static constexpr Heading Headings[] = {{"mid_gear", "Mid gear"},
                                           {"setting", "Setting"},
                                           {"offset", "Offset"},
                                           {"direction", "Direction"},
                                           {"closes", "Closes"},
                                           {"valve_travel", "Valve travel"},
                                           {"lead", "Lead"},
                                           {"admission_pct", "Admission %"},
                                           {"admission_deg", "Admission deg"},
                                           {"cutoff_pct", "Cut-off %"},
                                           {"cutoff_deg", "Cut-off deg"},
                                           {"release_pct", "Release %"},
                                           {"release_deg", "Release deg"},
                                           {"compression_pct", "Compression %"},
                                           {"compression_deg", "Compression deg"},
                                           {"max_steam_opening", "Max steam opening"},
                                           {"max_exhaust_opening", "Max exhaust opening"},
                                           {"cutoff_diff", "Cut-off %"},
                                           {"release_diff", "Release %"},
                                           {"compression_diff", "Compression %"},
                                           {"lead_diff", "Lead"}};
    QString group;
    std::string_view field = name;
    if (field.starts_with("front_")) {
        group = QStringLiteral("Front port");
        field.remove_prefix(6);
    } else if (field.starts_with("rear_")) {
        group = QStringLiteral("Rear port");
        field.remove_prefix(5);
    } else if (field.ends_with("_diff")) {
        group = QStringLiteral("Front - rear");
    }
    QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    for (const Heading& h : Headings)
        if (h.Field == field) text = QString::fromLatin1(h.Text);
    return group + QLatin1Char('\n') + text;
}

void FillReportTable(QTableWidget& table, const kes::EventsReport& r,
                     const kes::EventsReport* compared) {
    const auto columns = kes::ReportColumns();
    const auto isNumber = [&](size_t c) {
        return columns[c].Kind != kes::ColumnKind::Text && columns[c].Kind != kes::ColumnKind::Flag;
    };
    // Which report column and which figure (0 current, 1 compared, 2
    // difference) each table column shows.
    std::vector<std::pair<size_t, int>> shown;
    for (size_t c = FirstShownColumn; c < columns.size(); ++c) {
        shown.emplace_back(c, 0);
        if (compared && isNumber(c) && columns[c].Kind != kes::ColumnKind::Setting) {
            shown.emplace_back(c, 1);
            shown.emplace_back(c, 2);
        }
    }
    table.clear();
    table.setColumnCount(static_cast<int>(shown.size()));
    table.setRowCount(static_cast<int>(r.Rows.size()));
    for (int col = 0; col < table.columnCount(); ++col) {
        const auto [c, figure] = shown[static_cast<size_t>(col)];
        const QString field = QString::fromLatin1(columns[c].Name);
        static const char* const suffixes[] = {"", "\n(compared)", "\n(difference)"};
        auto* header =
            new QTableWidgetItem(ReportHeading(c) + QString::fromLatin1(suffixes[figure]));
        header->setData(FieldNameRole, figure == 0 ? field : QString());
        header->setToolTip(field);
        table.setHorizontalHeaderItem(col, header);
    }
    for (int row = 0; row < table.rowCount(); ++row) {
        const kes::ReportRow& rr = r.Rows[static_cast<size_t>(row)];
        const kes::ReportRow* other = compared && static_cast<size_t>(row) < compared->Rows.size()
                                          ? &compared->Rows[static_cast<size_t>(row)]
                                          : nullptr;
        for (int col = 0; col < table.columnCount(); ++col) {
            const auto [c, figure] = shown[static_cast<size_t>(col)];
            if (!isNumber(c)) {
                table.setItem(row, col,
                              Item(QString::fromStdString(kes::ReportCellText(r, rr, c))));
                continue;
            }
            const auto mine = kes::ReportCellNumber(r, rr, c);
            const auto theirs =
                other ? kes::ReportCellNumber(*compared, *other, c) : std::optional<double>();
            std::optional<double> v = figure == 0 ? mine : figure == 1 ? theirs : std::nullopt;
            if (figure == 2 && mine && theirs) v = *mine - *theirs;
            QTableWidgetItem* item = Item(CellText(v, Decimals(columns[c].Kind)),
                                          QString::fromStdString(kes::CsvNumber(v)));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (figure > 0) item->setForeground(QColor(0x60, 0x60, 0x60));
            table.setItem(row, col, item);
        }
    }
}

void FillChecksTable(QTableWidget& table, const kes::DesignChecks& c) {
    table.setColumnCount(3);
    table.setHorizontalHeaderLabels(
        {QStringLiteral("Level"), QStringLiteral("Topic"), QStringLiteral("Text")});
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
    QStringList header = {QStringLiteral("Id"),           QStringLiteral("Name"),
                          QStringLiteral("Display name"), QStringLiteral("Setting"),
                          QStringLiteral("Offset"),       QStringLiteral("Direction")};
    // Each change is for +0.001 of the dimension.
    static const char* const quantities[] = {"Lead", "Cut-off %", "Release %", "Compression %"};
    static_assert(std::size(quantities) == kes::SensQuantityCount);
    for (const char* port : {"Front port", "Rear port"})
        for (const char* q : quantities)
            header << QString::fromLatin1(port) + QLatin1Char('\n') + QString::fromLatin1(q) +
                          QStringLiteral("\nper +0.001");
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
