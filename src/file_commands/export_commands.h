// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's paper commands in the "&File" menu: "Export &Report
// (PDF)...", "Export &Drawing..." and "&Print Report...". The file chooser,
// the drawing's settings dialog, the print dialog and the error box go
// through replaceable functions, so tests run them without modal windows.

#include "export/report_print.h"
#include "file_commands/export_files.h"
#include "picture/gear_drawing.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QWidget;

namespace kes {
struct Model;
}

namespace exportcommands {
inline const QString ReportText = QStringLiteral("Export &Report (PDF)...");
inline const QString DrawingText = QStringLiteral("Export &Drawing...");
inline const QString PrintText = QStringLiteral("&Print Report...");
inline const QString ReportName = QStringLiteral("ExportReport");
inline const QString DrawingName = QStringLiteral("ExportDrawing");
inline const QString PrintName = QStringLiteral("PrintReport");
inline const QString ObjectName = QStringLiteral("ExportCommands");
} // namespace exportcommands

class ExportCommands : public QObject {
    Q_OBJECT
  public:
    using FileChooser = ExportFiles::FileChooser;
    // Asks the angle, setting, unit and paper of a drawing; nullopt when cancelled.
    using DrawingAsker = std::function<std::optional<GearDrawingDef>(const GearDrawingDef&)>;
    using MessageShower = ExportFiles::MessageShower;

    ExportCommands(kes::Model& model, QWidget* window, QObject* parent = nullptr);

    QAction* ReportAction() const { return report_; }
    QAction* DrawingAction() const { return drawing_; }
    QAction* PrintAction() const { return print_; }

    void SetFileChooser(FileChooser f) { files_.SetFileChooser(std::move(f)); }
    void SetDrawingAsker(DrawingAsker f) { asker_ = std::move(f); }
    void SetPrintDialog(exporting::PrintDialogFn f) { printDialog_ = std::move(f); }
    void SetMessageShower(MessageShower f) { files_.SetMessageShower(std::move(f)); }

    // The dimension file the design came from, for the report's title block.
    void SetSourceFile(std::function<QString()> f) { files_.SetSourceFile(std::move(f)); }
    // Where an export dialog starts: the design's own folder (when it came
    // from a file) and a name made from the design's name ("big-engine.pdf").
    QString SuggestedPath(const QString& suffix) const { return files_.SuggestedPath(suffix); }

  public slots:
    void ExportReportClick();
    void ExportDrawingClick();
    void PrintReportClick();

  private:
    exporting::ReportInfo Info() const;

    kes::Model& model_;
    QWidget* window_;
    ExportFiles files_;
    DrawingAsker asker_;
    exporting::PrintDialogFn printDialog_;
    QAction* report_ = nullptr;
    QAction* drawing_ = nullptr;
    QAction* print_ = nullptr;
};

// The drawing's settings dialog (modal): crank angle, reverse-arm setting,
// unit and paper, starting from def.
std::optional<GearDrawingDef> AskGearDrawingDef(QWidget* parent, const GearDrawingDef& def);
