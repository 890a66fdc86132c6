// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_commands/workshop_commands.h"

#include "analysis/link_geometry.h"
#include "analysis/setting_sheet.h"
#include "model/model.h"
#include "workshop/arrangement.h"
#include "workshop/gear_dxf.h"
#include "workshop/link_sheets.h"
#include "workshop/setting_sheet_page.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

namespace {

const QString PdfFilter = QStringLiteral("PDF document (*.pdf)");
const QString PdfSvgFilters = QStringLiteral("PDF document (*.pdf);;SVG drawing (*.svg)");
const QString DxfFilter = QStringLiteral("DXF drawing (*.dxf)");
const QString SheetFilters =
    QStringLiteral("PDF document (*.pdf);;JSON (*.json);;CSV table (*.csv)");

QString Caption(WorkshopExport what) {
    switch (what) {
    case WorkshopExport::Links:
        return QStringLiteral("Export Link Drawings");
    case WorkshopExport::Arrangement:
        return QStringLiteral("Export General Arrangement");
    case WorkshopExport::Dxf:
        return QStringLiteral("Export DXF");
    case WorkshopExport::SettingSheet:
        break;
    }
    return QStringLiteral("Export Valve-Setting Sheet");
}

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

WorkshopCommands::WorkshopCommands(kes::Model& model, QWidget* window, QObject* parent)
    : QObject(parent), model_(model), window_(window), files_(model, window) {
    setObjectName(workshopcommands::ObjectName);
    auto make = [&](const QString& text, const QString& name, void (WorkshopCommands::*slot)()) {
        auto* a = new QAction(text, this);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    links_ = make(workshopcommands::LinksText, workshopcommands::LinksName,
                  &WorkshopCommands::ExportLinksClick);
    arrangement_ = make(workshopcommands::ArrangementText, workshopcommands::ArrangementName,
                        &WorkshopCommands::ExportArrangementClick);
    dxf_ = make(workshopcommands::DxfText, workshopcommands::DxfName,
                &WorkshopCommands::ExportDxfClick);
    sheet_ = make(workshopcommands::SheetText, workshopcommands::SheetName,
                  &WorkshopCommands::ExportSettingSheetClick);
}

WorkshopSettings WorkshopCommands::Defaults() const {
    WorkshopSettings s;
    s.CrankAngle = model_.DriverAngle;
    s.Setting = model_.RevArmSetting;
    s.PinDiameter = kes::DefaultPinDiameter(model_);
    s.LinkWidth = 2.0 * s.PinDiameter;
    s.Notches = kes::DefaultSettingSheetDef(model_).Offsets;
    return s;
}

std::optional<WorkshopSettings> WorkshopCommands::Ask(WorkshopExport what) {
    const WorkshopSettings start = Defaults();
    return asker_ ? asker_(what, start) : AskWorkshopSettings(window_, what, start);
}

void WorkshopCommands::ExportLinksClick() {
    const auto s = Ask(WorkshopExport::Links);
    if (!s) return;
    const QString file = files_.Choose(Caption(WorkshopExport::Links), PdfSvgFilters, "pdf");
    if (file.isEmpty()) return;
    workshop::LinkSheetDef def{s->DesignUnit, s->Decimals, s->PinDiameter, s->Paper, Source()};
    QString error;
    if (workshop::WriteLinkSheets(file, model_, def, &error) == 0)
        files_.ReportFailure(file, error);
}

void WorkshopCommands::ExportArrangementClick() {
    const auto s = Ask(WorkshopExport::Arrangement);
    if (!s) return;
    const QString file = files_.Choose(Caption(WorkshopExport::Arrangement), PdfSvgFilters, "pdf");
    if (file.isEmpty()) return;
    workshop::ArrangementDef def{s->CrankAngle,  s->Setting, s->ScaleDivisor, s->DesignUnit,
                                 s->PinDiameter, s->Paper,   Source()};
    QString error;
    if (!workshop::WriteArrangement(file, model_, def, &error)) files_.ReportFailure(file, error);
}

void WorkshopCommands::ExportDxfClick() {
    const auto s = Ask(WorkshopExport::Dxf);
    if (!s) return;
    const QString file = files_.Choose(Caption(WorkshopExport::Dxf), DxfFilter, "dxf");
    if (file.isEmpty()) return;
    workshop::GearDxfDef def{s->CrankAngle, s->Setting,     s->Flat,
                             s->DesignUnit, s->PinDiameter, s->LinkWidth};
    std::string error;
    const auto plan = workshop::PlanGearDxf(model_, def, &error);
    if (!plan || !workshop::WriteDxf(file.toStdString(), *plan, &error))
        files_.ReportFailure(file, QString::fromStdString(error));
}

void WorkshopCommands::ExportSettingSheetClick() {
    const auto s = Ask(WorkshopExport::SettingSheet);
    if (!s) return;
    const QString file = files_.Choose(Caption(WorkshopExport::SettingSheet), SheetFilters, "pdf");
    if (file.isEmpty()) return;
    // The analysis works on its own copy of the design.
    const kes::SettingSheet sheet = kes::ComputeSettingSheet(model_, {s->Notches});
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("json")) {
        files_.Write(file, kes::SettingSheetJson(sheet));
    } else if (suffix == QLatin1String("csv")) {
        files_.Write(file, kes::SettingSheetCsv(sheet));
    } else {
        QString error;
        if (!workshop::WriteSettingSheetPdf(
                file, model_, sheet, {s->DesignUnit, s->Decimals, s->Paper, Source()}, &error))
            files_.ReportFailure(file, error);
    }
}

std::optional<WorkshopSettings> AskWorkshopSettings(QWidget* parent, WorkshopExport what,
                                                    const WorkshopSettings& s) {
    QDialog dialog(parent);
    dialog.setWindowTitle(Caption(what));
    auto* form = new QFormLayout(&dialog);
    const bool posed = what == WorkshopExport::Arrangement || what == WorkshopExport::Dxf;
    const bool paper = what != WorkshopExport::Dxf;
    auto* angle = Number(&dialog, QStringLiteral("WorkshopAngle"), 0, 360, 2, s.CrankAngle);
    auto* setting = Number(&dialog, QStringLiteral("WorkshopSetting"), -1000, 1000, 4, s.Setting);
    if (posed) {
        form->addRow(QStringLiteral("Crank angle (deg)"), angle);
        form->addRow(QStringLiteral("Reverse-arm setting"), setting);
    }
    auto* unit = new QComboBox(&dialog);
    unit->setObjectName(QStringLiteral("WorkshopUnit"));
    unit->addItems({QStringLiteral("1 unit = 1 inch"), QStringLiteral("1 unit = 1 mm")});
    unit->setCurrentIndex(s.DesignUnit == workshop::Unit::Inch ? 0 : 1);
    form->addRow(QStringLiteral("Design unit"), unit);
    auto* decimals = new QSpinBox(&dialog);
    decimals->setObjectName(QStringLiteral("WorkshopDecimals"));
    decimals->setRange(0, 6);
    decimals->setValue(s.Decimals.value_or(workshop::DefaultDecimals(s.DesignUnit)));
    if (what == WorkshopExport::Links || what == WorkshopExport::SettingSheet)
        form->addRow(QStringLiteral("Decimals"), decimals);
    auto* scale = new QComboBox(&dialog);
    scale->setObjectName(QStringLiteral("WorkshopScale"));
    scale->addItem(QStringLiteral("Fit to the sheet"));
    for (int d : workshop::ArrangementScales())
        scale->addItem(QStringLiteral("1:%1").arg(d), d);
    if (what == WorkshopExport::Arrangement) form->addRow(QStringLiteral("Scale"), scale);
    auto* flat = new QCheckBox(QStringLiteral("Every link laid out flat and apart"), &dialog);
    flat->setObjectName(QStringLiteral("WorkshopFlat"));
    flat->setChecked(s.Flat);
    auto* pin =
        Number(&dialog, QStringLiteral("WorkshopPinDiameter"), 0.001, 1000, 4, s.PinDiameter);
    auto* width = Number(&dialog, QStringLiteral("WorkshopLinkWidth"), 0.002, 2000, 4, s.LinkWidth);
    if (what != WorkshopExport::SettingSheet) form->addRow(QStringLiteral("Pin diameter"), pin);
    if (what == WorkshopExport::Dxf) {
        form->addRow(QStringLiteral("Link width"), width);
        form->addRow(QString(), flat);
    }
    auto* size = new QComboBox(&dialog);
    size->setObjectName(QStringLiteral("WorkshopPaper"));
    const std::pair<QString, workshop::PaperKind> sizes[] = {
        {QStringLiteral("A4"), workshop::PaperKind::A4},
        {QStringLiteral("A3"), workshop::PaperKind::A3},
        {QStringLiteral("A2"), workshop::PaperKind::A2},
        {QStringLiteral("A1"), workshop::PaperKind::A1},
        {QStringLiteral("A0"), workshop::PaperKind::A0},
        {QStringLiteral("Letter"), workshop::PaperKind::Letter},
        {QStringLiteral("Tabloid / Ledger"), workshop::PaperKind::Tabloid}};
    for (const auto& [name, kind] : sizes) {
        size->addItem(name, int(kind));
        if (kind == s.Paper.Kind) size->setCurrentIndex(size->count() - 1);
    }
    auto* orientation = new QComboBox(&dialog);
    orientation->setObjectName(QStringLiteral("WorkshopOrientation"));
    orientation->addItems({QStringLiteral("Landscape"), QStringLiteral("Portrait")});
    orientation->setCurrentIndex(s.Paper.Landscape.value_or(true) ? 0 : 1);
    if (paper) {
        form->addRow(QStringLiteral("Paper"), size);
        form->addRow(QStringLiteral("Orientation"), orientation);
    }
    auto* notches = new QLineEdit(&dialog);
    notches->setObjectName(QStringLiteral("WorkshopNotches"));
    QStringList list;
    for (double n : s.Notches)
        list << QString::number(n, 'g', 6);
    notches->setText(list.join(QStringLiteral(", ")));
    notches->setToolTip(QStringLiteral("Reverse-arm offsets from mid gear, forward positive"));
    if (what == WorkshopExport::SettingSheet) form->addRow(QStringLiteral("Notches"), notches);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    WorkshopSettings out = s;
    out.CrankAngle = angle->value();
    out.Setting = setting->value();
    out.DesignUnit = unit->currentIndex() == 0 ? workshop::Unit::Inch : workshop::Unit::Millimetre;
    out.Decimals = decimals->value();
    out.ScaleDivisor = scale->currentIndex() == 0
                           ? std::nullopt
                           : std::optional<int>(scale->currentData().toInt());
    out.Flat = flat->isChecked();
    out.PinDiameter = pin->value();
    out.LinkWidth = width->value();
    out.Paper.Kind = static_cast<workshop::PaperKind>(size->currentData().toInt());
    out.Paper.Landscape = orientation->currentIndex() == 0;
    std::vector<double> parsed;
    for (const QString& t : notches->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = t.trimmed().toDouble(&ok);
        if (ok && std::isfinite(v)) parsed.push_back(v);
    }
    if (!parsed.empty()) out.Notches = parsed;
    return out;
}
