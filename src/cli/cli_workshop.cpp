// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_workshop.h"

#include "cli/cli_design.h"
#include "cli/cli_setting_sheet.h"
#include "model/model.h"
#include "workshop/arrangement.h"
#include "workshop/gear_dxf.h"
#include "workshop/link_sheets.h"
#include "workshop/setting_sheet_page.h"
#include "workshop/sheet_paper.h"

#include <QString>

#include <cmath>
#include <iostream>
#include <ostream>

namespace cli {

namespace {

workshop::Unit TakeUnit(Args& args) {
    const auto text = args.TakeValue("--unit");
    if (!text) return workshop::Unit::Inch;
    const auto unit = workshop::ParseUnit(*text);
    if (!unit) throw UsageError("--unit must be in or mm");
    return *unit;
}

std::optional<double> TakePositive(Args& args, const char* option) {
    const auto v = args.TakeNumber(option);
    if (v && !(*v > 0.0)) throw UsageError(std::string(option) + " must be above 0");
    return v;
}

double TakeAngle(Args& args) {
    const double a = args.TakeNumber("--angle").value_or(0.0);
    if (!(a >= -360.0 && a <= 720.0)) throw UsageError("--angle must be from -360 to 720 degrees");
    return std::fmod(a + 360.0, 360.0);
}

std::string TakeOutputFile(Args& args, const std::string& command,
                           std::initializer_list<const char*> suffixes) {
    const auto output = args.TakeValue("-o");
    std::string list;
    for (const char* s : suffixes)
        list += (list.empty() ? "OUT." : "|OUT.") + std::string(s);
    if (!output || output->empty()) throw UsageError(command + ": -o " + list + " is required");
    const auto dot = output->rfind('.');
    std::string suffix = dot == std::string::npos ? "" : output->substr(dot + 1);
    for (char& c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* s : suffixes)
        if (suffix == s) return *output;
    throw UsageError(command + ": the output must be " + list + ": " + *output);
}

int RunDxf(kes::Model& m, Args& args, std::ostream& out) {
    workshop::GearDxfDef def;
    def.CrankAngle = TakeAngle(args);
    def.Setting = args.TakeNumber("--setting");
    def.Flat = args.TakeFlag("--links");
    def.DesignUnit = TakeUnit(args);
    def.PinDiameter = TakePositive(args, "--pin-diameter");
    def.LinkWidth = TakePositive(args, "--link-width");
    const std::string file = TakeOutputFile(args, "dxf", {"dxf"});
    args.ExpectEmpty();
    if (!def.Setting && !def.Flat) RequireMidGear(m, "dxf");
    std::string error;
    const auto plan = workshop::PlanGearDxf(m, def, &error);
    if (!plan) throw RunError(error);
    if (!workshop::WriteDxf(file, *plan, &error)) throw RunError(file + ": " + error);
    out << file << "\n";
    return 0;
}

workshop::SheetPaper TakeSheetPaper(Args& args, std::optional<bool> landscape) {
    workshop::SheetPaper paper{workshop::DefaultPaperKind(), landscape, {}};
    if (const auto text = args.TakeValue("--paper")) {
        const auto parsed = workshop::ParseSheetPaper(*text);
        if (!parsed)
            throw UsageError("--paper must be a4, a3, a2, a1, a0, letter, tabloid or WIDTHxHEIGHT "
                             "in mm (50 to 2000)");
        paper.Kind = parsed->Kind;
        paper.CustomMm = parsed->CustomMm;
    }
    if (const auto text = args.TakeValue("--orientation")) {
        const auto parsed = workshop::ParseLandscape(*text);
        if (!parsed) throw UsageError("--orientation must be portrait or landscape");
        paper.Landscape = *parsed;
    }
    return paper;
}

std::optional<int> TakeDecimals(Args& args) {
    const auto v = args.TakeNumber("--decimals");
    if (!v) return std::nullopt;
    if (!(*v >= 0 && *v <= 6 && *v == std::floor(*v)))
        throw UsageError("--decimals must be a whole number from 0 to 6");
    return static_cast<int>(*v);
}

int Failed(const std::string& file, const QString& error) {
    throw RunError(file + ": " + error.toStdString());
}

int RunSettingSheetPaper(kes::Model& m, Args& args, std::ostream& out,
                         const std::string& sourceFile) {
    workshop::SettingSheetPageDef page;
    page.DesignUnit = TakeUnit(args);
    page.Decimals = TakeDecimals(args);
    page.Paper = TakeSheetPaper(args, true);
    page.SourceFile = QString::fromStdString(sourceFile);
    const SettingSheetRequest r = TakeSettingSheetRequest(m, args);
    const kes::SettingSheet sheet = kes::ComputeSettingSheet(m, r.Def);
    if (r.Format != "pdf") {
        WriteCommandText(
            r.Output,
            r.Format == "csv" ? kes::SettingSheetCsv(sheet) : kes::SettingSheetJson(sheet), out);
        return 0;
    }
    QString error;
    if (!workshop::WriteSettingSheetPdf(QString::fromStdString(*r.Output), m, sheet, page, &error))
        return Failed(*r.Output, error);
    out << *r.Output << "\n";
    return 0;
}

int RunLinks(kes::Model& m, Args& args, std::ostream& out, const std::string& sourceFile) {
    workshop::LinkSheetDef def;
    def.DesignUnit = TakeUnit(args);
    def.Decimals = TakeDecimals(args);
    def.PinDiameter = TakePositive(args, "--pin-diameter");
    def.Paper = TakeSheetPaper(args, true);
    def.SourceFile = QString::fromStdString(sourceFile);
    const std::string file = TakeOutputFile(args, "links", {"pdf", "svg"});
    args.ExpectEmpty();
    QString error;
    const int sheets = workshop::WriteLinkSheets(QString::fromStdString(file), m, def, &error);
    if (sheets == 0) return Failed(file, error);
    out << file << "\n";
    return 0;
}

int RunArrangement(kes::Model& m, Args& args, std::ostream& out, const std::string& sourceFile) {
    workshop::ArrangementDef def;
    def.CrankAngle = TakeAngle(args);
    def.Setting = args.TakeNumber("--setting");
    if (const auto scale = args.TakeValue("--drawing-scale")) {
        if (!workshop::ParseArrangementScale(*scale, def.ScaleDivisor))
            throw UsageError("--drawing-scale must be 1:1, 1:2, 1:4, 1:5, 1:8, 1:10 or fit");
    }
    def.DesignUnit = TakeUnit(args);
    def.PinDiameter = TakePositive(args, "--pin-diameter");
    def.Paper = TakeSheetPaper(args, true);
    def.SourceFile = QString::fromStdString(sourceFile);
    const std::string file = TakeOutputFile(args, "arrangement", {"pdf", "svg"});
    args.ExpectEmpty();
    if (!def.Setting) RequireMidGear(m, "arrangement");
    QString error;
    if (!workshop::WriteArrangement(QString::fromStdString(file), m, def, &error))
        return Failed(file, error);
    out << file << "\n";
    return 0;
}

} // namespace

bool IsWorkshopCommand(const std::string& command) {
    return command == "dxf" || command == "setting-sheet" || command == "links" ||
           command == "arrangement";
}

std::optional<int> RunWorkshopCommand(const std::string& command, kes::Model& m, Args& args,
                                      std::ostream& out, const std::string& sourceFile) {
    if (command == "dxf") return RunDxf(m, args, out);
    if (command == "setting-sheet") return RunSettingSheetPaper(m, args, out, sourceFile);
    if (command == "links") return RunLinks(m, args, out, sourceFile);
    if (command == "arrangement") return RunArrangement(m, args, out, sourceFile);
    return std::nullopt;
}

} // namespace cli
