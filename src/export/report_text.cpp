// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/report_text.h"

#include "model/dimensions.h"

#include <cmath>

namespace exporting {

namespace {

// The reverse-arm travels have no dialog id of their own; the dimension
// highlight shows them as 29 and 30.
constexpr int RevArmNormId = 29;
constexpr int RevArmMaxId = 30;

TextTable DimensionTable(const QString& title) {
    TextTable t;
    t.Title = title;
    t.Header = {QStringLiteral("Id"), QStringLiteral("Name"), QStringLiteral("Value")};
    t.Widths = {0.8, 4.0, 1.6};
    t.LeftColumns = {1};
    return t;
}

void AddDimension(TextTable& t, int id, std::string_view name, double value) {
    t.Rows.push_back({QString::number(id),
                      QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())),
                      Number(value, LengthDecimals)});
}

void AddIds(TextTable& t, const kes::Mechanism& m, int first, int last) {
    for (int id = first; id <= last; ++id)
        AddDimension(t, id, kes::DimensionName(id), kes::GetDimension(m, id));
}

QStringList RowStart(const kes::ReportRow& row) {
    return {Number(row.Setting, LengthDecimals), Number(row.Offset, LengthDecimals),
            QString::fromLatin1(kes::RunDirectionText(row.Direction))};
}

TextTable PortTable(const kes::EventsReport& r, bool front) {
    TextTable t;
    t.Title = front ? QStringLiteral("Front port") : QStringLiteral("Rear port");
    t.Header = {QStringLiteral("Setting"),   QStringLiteral("Offset"),  QStringLiteral("Dir"),
                QStringLiteral("Lead"),      QStringLiteral("Adm %"),   QStringLiteral("Adm deg"),
                QStringLiteral("Cut-off %"), QStringLiteral("C/o deg"), QStringLiteral("Rel %"),
                QStringLiteral("Comp %"),    QStringLiteral("Max st."), QStringLiteral("Max ex.")};
    t.Widths = {1.3, 1.3, 0.6, 1.1, 1.0, 1.1, 1.2, 1.1, 1.0, 1.0, 1.1, 1.1};
    for (const kes::ReportRow& row : r.Rows) {
        const kes::PortEventSet& p = front ? row.Events.Front : row.Events.Rear;
        QStringList cells = RowStart(row);
        cells << Number(p.Lead, LengthDecimals) << Number(p.Pct(kes::Admission), PercentDecimals)
              << Number(p.Deg(kes::Admission), DegreeDecimals)
              << Number(p.Pct(kes::CutOff), PercentDecimals)
              << Number(p.Deg(kes::CutOff), DegreeDecimals)
              << Number(p.Pct(kes::Release), PercentDecimals)
              << Number(p.Pct(kes::Compression), PercentDecimals)
              << Number(p.MaxSteamOpening, LengthDecimals)
              << Number(p.MaxExhaustOpening, LengthDecimals);
        t.Rows.push_back(cells);
    }
    return t;
}

TextTable DifferenceTable(const kes::EventsReport& r) {
    TextTable t;
    t.Title = QStringLiteral("Front - rear, valve travel and closure");
    t.Header = {
        QStringLiteral("Setting"),   QStringLiteral("Offset"),   QStringLiteral("Dir"),
        QStringLiteral("Closes"),    QStringLiteral("Travel"),   QStringLiteral("d Cut-off"),
        QStringLiteral("d Release"), QStringLiteral("d Compr."), QStringLiteral("d Lead")};
    t.Widths = {1.3, 1.3, 0.6, 0.9, 1.2, 1.2, 1.2, 1.2, 1.2};
    for (const kes::ReportRow& row : r.Rows) {
        QStringList cells = RowStart(row);
        cells << (row.Closes() ? QStringLiteral("yes") : QStringLiteral("no"))
              << Number(row.Events.ValveTravel, LengthDecimals)
              << Number(row.CutOffDiff, PercentDecimals) << Number(row.ReleaseDiff, PercentDecimals)
              << Number(row.CompressionDiff, PercentDecimals)
              << Number(row.LeadDiff, LengthDecimals);
        t.Rows.push_back(cells);
    }
    return t;
}

} // namespace

QString Number(std::optional<double> v, int decimals) {
    if (!v || !std::isfinite(*v)) return QStringLiteral("-");
    // Printed -0.00 would only say the value rounds to nothing.
    const double shown = std::fabs(*v) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : *v;
    return QString::number(shown, 'f', decimals);
}

std::vector<TextTable> DimensionTables(const kes::Mechanism& m) {
    TextTable frame = DimensionTable(QStringLiteral("Frame"));
    AddIds(frame, m, 1, 15);
    AddDimension(frame, RevArmNormId, "Rev Arm to Cent Norm", m.Frame.RevArmNorm);
    AddDimension(frame, RevArmMaxId, "Rev Arm to Cent Max", m.Frame.RevArmMax);
    TextTable baker = DimensionTable(QStringLiteral("Baker assembly"));
    AddIds(baker, m, 16, 28);
    TextTable cylinder = DimensionTable(QStringLiteral("Cylinder"));
    AddIds(cylinder, m, 101, 122);
    return {frame, baker, cylinder};
}

std::vector<TextTable> EventsTables(const kes::EventsReport& r) {
    return {PortTable(r, true), PortTable(r, false), DifferenceTable(r)};
}

TextTable ChecksTable(const kes::DesignChecks& checks) {
    TextTable t;
    t.Title = QStringLiteral("Design checks");
    t.Header = {QStringLiteral("Result"), QStringLiteral("Check")};
    t.Widths = {1.0, 8.0};
    t.LeftColumns = {0, 1};
    for (const kes::CheckLine& line : checks.Lines)
        t.Rows.push_back({QString::fromLatin1(kes::CheckLevelText(line.Level)),
                          QString::fromStdString(line.Text)});
    return t;
}

QStringList ReportSummary(const kes::EventsReport& r) {
    QStringList lines;
    lines << QStringLiteral("Mid gear: %1").arg(Number(r.MidGear, LengthDecimals));
    if (r.Centres) {
        lines << QStringLiteral("Front dead centre: %1 deg, rear dead centre: %2 deg, stroke: %3")
                     .arg(Number(r.Centres->FrontDeg, DegreeDecimals),
                          Number(r.Centres->RearDeg, DegreeDecimals),
                          Number(r.Centres->Stroke(), LengthDecimals));
    } else {
        lines << QStringLiteral("The dead centres cannot be found: the main rod does not reach.");
    }
    lines << QStringLiteral("Events in percent of the stroke from each port's own dead centre, "
                            "crank angles in degrees from it in the running direction.");
    return lines;
}

} // namespace exporting
