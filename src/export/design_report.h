// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design report: a title block (data set, file, date, program
// version), the dimension tables, the design checks, the precise valve
// events, the valve-setting sheet and the four diagrams painted by their own
// drawing code, with page numbers, and the engine's performance when it has
// engine data. The same pages go to a PDF file or to a printer.

#include "cylinder/engine_data.h"
#include "export/paper.h"

#include <QDateTime>
#include <QString>

#include <optional>

class QPagedPaintDevice;

namespace kes {
struct Model;
}

namespace exporting {

struct ReportInfo {
    QString SourceFile; // the dimension file the design came from; may be empty
    QDateTime When = QDateTime::currentDateTime();
    // The engine data for the "Performance" page; without them, those
    // beside SourceFile when there are any, else no such page.
    std::optional<kes::EngineData> Engine;
};

// The program's version, as the window captions show it.
QString ProgramVersion();

// Paints every page on a device whose page layout is already set. The
// model is not changed (the diagrams draw on a copy). Returns the number
// of pages, or 0 when the device cannot be painted on.
int PaintReport(QPagedPaintDevice& device, const kes::Model& m, const ReportInfo& info);

// Writes the report as a PDF through a temporary file, so a failed write
// leaves an earlier file of that name as it was. Returns the number of
// pages, or 0 and sets *error.
int WriteReportPdf(const QString& fileName, const kes::Model& m, const ReportInfo& info,
                   Paper paper, QString* error = nullptr);

} // namespace exporting
