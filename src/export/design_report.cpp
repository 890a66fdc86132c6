// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/design_report.h"

#include "analysis/design_checks.h"
#include "analysis/events_report.h"
#include "diagrams/diagram_paint.h"
#include "diagrams/diagram_render.h"
#include "export/page_writer.h"
#include "export/performance_page.h"
#include "export/report_text.h"
#include "export/setting_sheet_text.h"
#include "kestrove_version.h"
#include "model/model.h"
#include "saving/buffered_save.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <memory>

namespace exporting {

namespace {

const QString ReportTitle = QStringLiteral("KESTROVE design report");

struct ReportData {
    kes::EventsReport Report;
    kes::DesignChecks Checks;
    std::optional<kes::EngineData> Engine;
    kes::SettingSheet Sheet;
};

QString DiagramCaption(std::string_view name) {
    if (name == "sine") return QStringLiteral("Sine diagram");
    if (name == "oval") return QStringLiteral("Oval diagram");
    if (name == "steam") return QStringLiteral("Steam diagram");
    return QStringLiteral("Port events diagram");
}

void WritePages(PageWriter& w, const kes::Model& m, const ReportInfo& info,
                const ReportData& data) {
    const QString name = QString::fromStdString(m.DataSetName);
    w.Title(ReportTitle);
    w.Paragraph(QStringLiteral("Data set: ") + name);
    w.Paragraph(QStringLiteral("File: ") + (info.SourceFile.isEmpty()
                                                ? QStringLiteral("(not from a file)")
                                                : info.SourceFile));
    w.Paragraph(QStringLiteral("Date: ") + info.When.toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    w.Paragraph(QStringLiteral("Program: KESTROVE version ") + ProgramVersion());
    w.Space(4);

    for (const TextTable& t : DimensionTables(m))
        w.Table(t);

    w.BreakPage();
    w.Table(ChecksTable(data.Checks));

    w.BreakPage();
    w.Heading(QStringLiteral("Valve events"));
    for (const QString& line : ReportSummary(data.Report))
        w.Paragraph(line);
    w.Space(3);
    for (const TextTable& t : EventsTables(data.Report))
        w.Table(t);

    w.BreakPage();
    w.Heading(QStringLiteral("Valve-setting sheet"));
    for (const QString& line : SettingSheetSummary(data.Sheet))
        w.Paragraph(line);
    w.Space(3);
    for (const TextTable& t : SettingSheetTables(data.Sheet))
        w.Table(t);

    w.BreakPage();
    for (const diagrams::DiagramKind& kind : diagrams::DiagramKinds()) {
        const double width = w.Width();
        const double scale = width / kind.ClientSize.width();
        const double height = kind.ClientSize.height() * scale;
        w.Picture(width, height, DiagramCaption(kind.Name), [&](QPainter& p) {
            // The diagrams drive the reverse arm and the driver; they draw a copy.
            auto copy = std::make_unique<kes::Model>(m);
            DiagramTextState text;
            p.scale(scale, scale);
            p.fillRect(QRect(QPoint(0, 0), kind.ClientSize), diagrams::White);
            diagrams::BeginDiagram(p);
            kind.Paint(p, *copy, text);
            p.setPen(diagrams::Black);
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(QPoint(0, 0), kind.ClientSize - QSize(1, 1)));
        });
    }
    if (data.Engine) WritePerformancePage(w, m, *data.Engine);
}

} // namespace

QString ProgramVersion() {
    return QStringLiteral(KESTROVE_VERSION);
}

int PaintReport(QPagedPaintDevice& device, const kes::Model& m, const ReportInfo& info) {
    ReportData data;
    data.Report = kes::ComputeReport(m, kes::DefaultReportDef(m));
    data.Checks = kes::RunDesignChecks(m, data.Report);
    data.Engine = info.Engine ? info.Engine : EngineBeside(info.SourceFile);
    data.Sheet = kes::ComputeSettingSheet(m, kes::DefaultSettingSheetDef(m));
    const QString footer =
        ReportTitle + QStringLiteral(" - ") + QString::fromStdString(m.DataSetName);

    // First count the pages, then draw them with the total in the footers.
    PageWriter counter(device, nullptr, footer, 0);
    WritePages(counter, m, info, data);
    const int total = counter.Finish();

    QPainter painter;
    if (!painter.begin(&device)) return 0;
    PageWriter writer(device, &painter, footer, total);
    WritePages(writer, m, info, data);
    const int pages = writer.Finish();
    painter.end();
    return pages;
}

int WriteReportPdf(const QString& fileName, const kes::Model& m, const ReportInfo& info,
                   Paper paper, QString* error) {
    int pages = 0;
    const bool saved = saving::SaveThroughBuffer(
        fileName,
        [&](QIODevice& device, QString*) {
            QPdfWriter writer(&device);
            writer.setTitle(ReportTitle + QStringLiteral(" - ") +
                            QString::fromStdString(m.DataSetName));
            writer.setCreator(QStringLiteral("KESTROVE ") + ProgramVersion());
            writer.setResolution(300);
            writer.setPageSize(PageSizeOf(paper));
            writer.setPageMargins(QMarginsF(PageMarginMm, PageMarginMm, PageMarginMm, PageMarginMm),
                                  QPageLayout::Millimeter);
            pages = PaintReport(writer, m, info);
            return pages > 0;
        },
        error);
    return saved ? pages : 0;
}

} // namespace exporting
