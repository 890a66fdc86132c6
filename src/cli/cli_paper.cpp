// SPDX-License-Identifier: GPL-3.0-or-later
// kestrove-cli pdf and drawing: the design report and the full-size gear
// drawing, painted by the same code as the window's File commands.
#include "cli/cli_paper.h"

#include "cli/cli_design.h"

#include "export/design_report.h"
#include "export/paper.h"
#include "model/model.h"
#include "workshop/sheet_paper.h"
#include "picture/gear_drawing.h"

#include <QFileInfo>
#include <QString>

#include <cmath>
#include <iostream>
#include <ostream>

namespace cli {

namespace {

exporting::Paper TakePaper(Args& args) {
    const auto paper = args.TakeValue("--paper");
    if (!paper) return exporting::DefaultPaper();
    const auto parsed = exporting::ParsePaper(*paper);
    if (!parsed) throw UsageError("--paper must be a4, a3, a2, a1, a0, letter or tabloid");
    return *parsed;
}

// The drawing also takes a custom WIDTHxHEIGHT (mm) and an orientation.
workshop::SheetPaper TakeDrawingPaper(Args& args) {
    workshop::SheetPaper paper{exporting::DefaultPaper(), std::nullopt, {}};
    if (const auto text = args.TakeValue("--paper")) {
        const auto parsed = workshop::ParseSheetPaper(*text);
        if (!parsed)
            throw UsageError("--paper must be a4, a3, a2, a1, a0, letter, tabloid or "
                             "WIDTHxHEIGHT in mm (50 to 2000)");
        paper = *parsed;
    }
    if (const auto text = args.TakeValue("--orientation")) {
        const auto parsed = workshop::ParseLandscape(*text);
        if (!parsed) throw UsageError("--orientation must be portrait or landscape");
        paper.Landscape = *parsed;
    }
    return paper;
}

QString TakeOutput(Args& args, const char* command, std::initializer_list<const char*> suffixes) {
    const auto output = args.TakeValue("-o");
    std::string list;
    for (const char* s : suffixes)
        list += (list.empty() ? "OUT." : "|OUT.") + std::string(s);
    if (!output || output->empty())
        throw UsageError(std::string(command) + ": -o " + list + " is required");
    const QString name = QString::fromStdString(*output);
    const QString suffix = QFileInfo(name).suffix().toLower();
    for (const char* s : suffixes)
        if (suffix == QLatin1String(s)) return name;
    throw UsageError(std::string(command) + ": the output must be " + list + ": " + *output);
}

int Failed(const QString& file, const QString& error) {
    std::cerr << "kestrove-cli: " << file.toStdString() << ": " << error.toStdString() << "\n";
    return 1;
}

} // namespace

int RunPdf(kes::Model& m, Args& args, std::ostream& out, const std::string& sourceFile) {
    const exporting::Paper paper = TakePaper(args);
    const QString fileName = TakeOutput(args, "pdf", {"pdf"});
    args.ExpectEmpty();
    exporting::ReportInfo info;
    info.SourceFile = QString::fromStdString(sourceFile);
    QString error;
    const int pages = exporting::WriteReportPdf(fileName, m, info, paper, &error);
    if (pages == 0) return Failed(fileName, error);
    out << fileName.toStdString() << "\n";
    return 0;
}

int RunDrawing(kes::Model& m, Args& args, std::ostream& out) {
    GearDrawingDef def;
    def.CrankAngle = args.TakeNumber("--angle").value_or(0.0);
    def.Setting = args.TakeNumber("--setting").value_or(m.MidGear());
    if (const auto unit = args.TakeValue("--unit")) {
        const auto parsed = ParseDrawingUnit(QString::fromStdString(*unit));
        if (!parsed) throw UsageError("--unit must be in or mm");
        def.Unit = *parsed;
    }
    const workshop::SheetPaper paper = TakeDrawingPaper(args);
    def.Paper = paper.Kind;
    def.Landscape = paper.Landscape;
    def.CustomPaperMm = paper.CustomMm;
    const QString fileName = TakeOutput(args, "drawing", {"svg", "pdf"});
    args.ExpectEmpty();
    if (!(def.CrankAngle >= -360.0 && def.CrankAngle <= 720.0))
        throw UsageError("--angle must be from -360 to 720 degrees");
    def.CrankAngle = std::fmod(def.CrankAngle + 360.0, 360.0);
    QString error;
    // A gear that cannot be drawn is the design's fault, not the file's.
    if (!PlanGearDrawing(m, def, &error)) throw RunError("drawing: " + error.toStdString());
    const int pages = WriteGearDrawing(fileName, m, def, &error);
    if (pages == 0) return Failed(fileName, error);
    out << fileName.toStdString() << "\n";
    return 0;
}

} // namespace cli
