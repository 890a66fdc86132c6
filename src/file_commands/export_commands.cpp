// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_commands/export_commands.h"

#include "export/design_report.h"
#include "model/model.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>

namespace {

const QString ReportCaption = QStringLiteral("Export Report");
const QString DrawingCaption = QStringLiteral("Export Drawing");
const QString PdfFilter = QStringLiteral("PDF document (*.pdf)");
const QString DrawingFilters = QStringLiteral("SVG drawing (*.svg);;PDF document (*.pdf)");

QDoubleSpinBox* Number(QWidget* parent, const QString& name, double min, double max, int decimals,
                       double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(min, max);
    box->setDecimals(decimals);
    box->setValue(value);
    return box;
}

} // namespace

ExportCommands::ExportCommands(kes::Model& model, QWidget* window, QObject* parent)
    : QObject(parent), model_(model), window_(window), files_(model, window) {
    setObjectName(exportcommands::ObjectName);
    auto make = [&](const QString& text, const QString& name, void (ExportCommands::*slot)()) {
        auto* a = new QAction(text, this);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    report_ = make(exportcommands::ReportText, exportcommands::ReportName,
                   &ExportCommands::ExportReportClick);
    drawing_ = make(exportcommands::DrawingText, exportcommands::DrawingName,
                    &ExportCommands::ExportDrawingClick);
    print_ = make(exportcommands::PrintText, exportcommands::PrintName,
                  &ExportCommands::PrintReportClick);
}

exporting::ReportInfo ExportCommands::Info() const {
    exporting::ReportInfo info;
    info.SourceFile = files_.SourceFile();
    return info;
}

void ExportCommands::ExportReportClick() {
    const QString fileName = files_.Choose(ReportCaption, PdfFilter, QStringLiteral("pdf"));
    if (fileName.isEmpty()) return;
    QString error;
    if (exporting::WriteReportPdf(fileName, model_, Info(), exporting::DefaultPaper(), &error) == 0)
        files_.ReportFailure(fileName, error);
}

void ExportCommands::ExportDrawingClick() {
    GearDrawingDef def;
    def.CrankAngle = model_.DriverAngle;
    def.Setting = model_.RevArmSetting;
    def.Paper = exporting::DefaultPaper();
    const auto chosen = asker_ ? asker_(def) : AskGearDrawingDef(window_, def);
    if (!chosen) return;
    const QString fileName = files_.Choose(DrawingCaption, DrawingFilters, QStringLiteral("svg"));
    if (fileName.isEmpty()) return;
    QString error;
    if (WriteGearDrawing(fileName, model_, *chosen, &error) == 0)
        files_.ReportFailure(fileName, error);
}

void ExportCommands::PrintReportClick() {
    const exporting::PrintOutcome out =
        exporting::PrintReport(model_, Info(), exporting::DefaultPaper(), printDialog_, window_);
    if (!out.Error.isEmpty()) files_.Show(out.Error);
}

std::optional<GearDrawingDef> AskGearDrawingDef(QWidget* parent, const GearDrawingDef& def) {
    QDialog dialog(parent);
    dialog.setWindowTitle(DrawingCaption);
    auto* form = new QFormLayout(&dialog);
    auto* angle = Number(&dialog, QStringLiteral("DrawingAngle"), 0, 360, 2, def.CrankAngle);
    auto* setting = Number(&dialog, QStringLiteral("DrawingSetting"), -1000, 1000, 4, def.Setting);
    auto* unit = new QComboBox(&dialog);
    unit->setObjectName(QStringLiteral("DrawingUnit"));
    unit->addItems({QStringLiteral("1 unit = 1 inch"), QStringLiteral("1 unit = 1 mm")});
    unit->setCurrentIndex(def.Unit == DrawingUnit::Inch ? 0 : 1);
    auto* paper = new QComboBox(&dialog);
    paper->setObjectName(QStringLiteral("DrawingPaper"));
    using exporting::Paper;
    for (const auto& [text, kind] : {std::pair{"A4", Paper::A4},
                                     {"Letter", Paper::Letter},
                                     {"A3", Paper::A3},
                                     {"A2", Paper::A2},
                                     {"A1", Paper::A1},
                                     {"A0", Paper::A0},
                                     {"Tabloid", Paper::Tabloid}}) {
        paper->addItem(QString::fromLatin1(text), int(kind));
        if (kind == def.Paper) paper->setCurrentIndex(paper->count() - 1);
    }
    auto* orientation = new QComboBox(&dialog);
    orientation->setObjectName(QStringLiteral("DrawingOrientation"));
    orientation->addItems(
        {QStringLiteral("Fewest sheets"), QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    orientation->setCurrentIndex(def.Landscape ? (*def.Landscape ? 2 : 1) : 0);
    form->addRow(QStringLiteral("Crank angle (deg)"), angle);
    form->addRow(QStringLiteral("Reverse-arm setting"), setting);
    form->addRow(QStringLiteral("Scale"), unit);
    form->addRow(QStringLiteral("Paper (PDF)"), paper);
    form->addRow(QStringLiteral("Orientation (PDF)"), orientation);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    GearDrawingDef out = def;
    out.CrankAngle = angle->value();
    out.Setting = setting->value();
    out.Unit = unit->currentIndex() == 0 ? DrawingUnit::Inch : DrawingUnit::Millimetre;
    out.Paper = static_cast<exporting::Paper>(paper->currentData().toInt());
    out.Landscape = orientation->currentIndex() == 0
                        ? std::nullopt
                        : std::optional<bool>(orientation->currentIndex() == 2);
    return out;
}
