// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "&Print Report...": the print dialog, then the report's pages on the
// chosen printer. The dialog goes through a replaceable function so tests
// (and machines without printers) can print to a PDF file instead.

#include "export/design_report.h"

#include <functional>

class QPrinter;
class QWidget;

namespace exporting {

// Shows the dialog for the printer; true when the user chose to print.
using PrintDialogFn = std::function<bool(QPrinter&, QWidget* parent)>;

// The toolkit's print dialog (modal). Without an installed printer it
// offers printing to a PDF file.
bool ShowPrintDialog(QPrinter& printer, QWidget* parent);

struct PrintOutcome {
    bool Printed = false;
    int Pages = 0;
    QString Error; // empty when cancelled or printed
};

// Sets the printer to the paper, asks the dialog, and prints the report.
PrintOutcome PrintReport(const kes::Model& m, const ReportInfo& info, Paper paper,
                         const PrintDialogFn& dialog, QWidget* parent = nullptr);

} // namespace exporting
