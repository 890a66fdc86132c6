// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's workshop commands in the "&File" menu: "Export &Link
// Drawings...", "Export &General Arrangement...", "Export &DXF..." and
// "Export Valve-&Setting Sheet...". Each asks its settings, then a file
// name, and writes through the workshop drawings. The settings dialog, the
// file chooser and the error box go through replaceable functions, so
// tests run them without modal windows.

#include "file_commands/export_files.h"
#include "workshop/drawing_unit.h"
#include "workshop/sheet_paper.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QWidget;

namespace kes {
struct Model;
}

namespace workshopcommands {
inline const QString LinksText = QStringLiteral("Export &Link Drawings...");
inline const QString ArrangementText = QStringLiteral("Export &General Arrangement...");
inline const QString DxfText = QStringLiteral("Export &DXF...");
inline const QString SheetText = QStringLiteral("Export Valve-&Setting Sheet...");
inline const QString LinksName = QStringLiteral("ExportLinkDrawings");
inline const QString ArrangementName = QStringLiteral("ExportArrangement");
inline const QString DxfName = QStringLiteral("ExportDxf");
inline const QString SheetName = QStringLiteral("ExportSettingSheet");
inline const QString ObjectName = QStringLiteral("WorkshopCommands");
} // namespace workshopcommands

enum class WorkshopExport { Links, Arrangement, Dxf, SettingSheet };

// Everything the four commands ask; each dialog shows the fields its
// command uses.
struct WorkshopSettings {
    double CrankAngle = 0.0;
    double Setting = 0.0;
    workshop::Unit DesignUnit = workshop::Unit::Inch;
    std::optional<int> Decimals;
    workshop::SheetPaper Paper{workshop::DefaultPaperKind(), true, {}};
    std::optional<int> ScaleDivisor; // arrangement; fit when absent
    bool Flat = false;               // DXF: links laid out apart
    double PinDiameter = 0.0;
    double LinkWidth = 0.0;
    std::vector<double> Notches; // offsets from mid gear
};

class WorkshopCommands : public QObject {
    Q_OBJECT
  public:
    using FileChooser = ExportFiles::FileChooser;
    using SettingsAsker =
        std::function<std::optional<WorkshopSettings>(WorkshopExport, const WorkshopSettings&)>;
    using MessageShower = ExportFiles::MessageShower;

    WorkshopCommands(kes::Model& model, QWidget* window, QObject* parent = nullptr);

    // In menu order.
    std::vector<QAction*> Actions() const { return {links_, arrangement_, dxf_, sheet_}; }

    void SetFileChooser(FileChooser f) { files_.SetFileChooser(std::move(f)); }
    void SetSettingsAsker(SettingsAsker f) { asker_ = std::move(f); }
    void SetMessageShower(MessageShower f) { files_.SetMessageShower(std::move(f)); }
    void SetSourceFile(std::function<QString()> f) { files_.SetSourceFile(std::move(f)); }

    // The settings a command starts from: the design's current angle and
    // setting, the default notches, pin and link sizes.
    WorkshopSettings Defaults() const;

  public slots:
    void ExportLinksClick();
    void ExportArrangementClick();
    void ExportDxfClick();
    void ExportSettingSheetClick();

  private:
    std::optional<WorkshopSettings> Ask(WorkshopExport what);
    QString Source() const { return files_.SourceFile(); }

    kes::Model& model_;
    QWidget* window_;
    ExportFiles files_;
    SettingsAsker asker_;
    QAction* links_ = nullptr;
    QAction* arrangement_ = nullptr;
    QAction* dxf_ = nullptr;
    QAction* sheet_ = nullptr;
};

// The settings dialog (modal) of one command, starting from s.
std::optional<WorkshopSettings> AskWorkshopSettings(QWidget* parent, WorkshopExport what,
                                                    const WorkshopSettings& s);
