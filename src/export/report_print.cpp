// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/report_print.h"

#include "model/model.h"

#include <QPrintDialog>
#include <QPrinter>

namespace exporting {

bool ShowPrintDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Report"));
    return dialog.exec() == QDialog::Accepted;
}

PrintOutcome PrintReport(const kes::Model& m, const ReportInfo& info, Paper paper,
                         const PrintDialogFn& dialog, QWidget* parent) {
    PrintOutcome out;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(PageSizeOf(paper));
    printer.setPageMargins(QMarginsF(PageMarginMm, PageMarginMm, PageMarginMm, PageMarginMm),
                           QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("KESTROVE design report - ") +
                       QString::fromStdString(m.DataSetName));
    // With no printer installed the dialog's only choice is a PDF file.
    if (printer.printerName().isEmpty()) printer.setOutputFormat(QPrinter::PdfFormat);
    if (!(dialog ? dialog(printer, parent) : ShowPrintDialog(printer, parent))) return out;
    out.Pages = PaintReport(printer, m, info);
    out.Printed = out.Pages > 0;
    if (!out.Printed) {
        out.Error = printer.outputFileName().isEmpty()
                        ? QStringLiteral("The printer could not be started.")
                        : QStringLiteral("Cannot write %1").arg(printer.outputFileName());
    }
    return out;
}

} // namespace exporting
