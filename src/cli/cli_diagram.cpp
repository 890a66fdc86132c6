// kestrove-cli diagram: the diagram windows' pictures, drawn by the same
// functions, written as PNG or SVG. kestrove-cli readouts: the sine
// diagram's mid-gear read-outs as CSV.
#include "cli/cli_positions.h"
#include "cli/commands.h"
#include "diagrams/diagram_paint.h"
#include "diagrams/diagram_render.h"
#include "diagrams/sine_diagram.h"
#include "model/model.h"

#include <QFileInfo>
#include <QString>

#include <cctype>
#include <cmath>
#include <iostream>
#include <ostream>
#include <sstream>

namespace cli {

namespace {

constexpr double MinVerticalScale = 0.1;
constexpr double MaxVerticalScale = 1000.0;
constexpr double MidGearBand = 0.05;

std::string DiagramNames() {
    std::string names;
    for (const auto& kind : diagrams::DiagramKinds()) {
        if (!names.empty()) names += '|';
        names += kind.Name;
    }
    return names;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

} // namespace

int RunDiagram(kes::Model& m, Args& args, std::ostream& out) {
    const auto output = args.TakeValue("-o");
    const auto positions = args.TakeValue("--positions");
    const auto scale = args.TakeNumber("--vertical-scale");
    const auto mode = args.TakeValue("--mode");
    const auto name = args.TakePositional();
    args.ExpectEmpty();

    if (!name) throw UsageError("diagram: name one of " + DiagramNames());
    const diagrams::DiagramKind* kind = diagrams::FindDiagram(*name);
    if (!kind) throw UsageError("unknown diagram: " + *name + " (" + DiagramNames() + ")");
    if (!output || output->empty()) throw UsageError("diagram: -o OUT.png|OUT.svg is required");
    const QString fileName = QString::fromStdString(*output);
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg"))
        throw UsageError("diagram: the output must end in .png or .svg: " + *output);

    SetPositions(m, positions);
    if (scale) {
        if (!(*scale >= MinVerticalScale && *scale <= MaxVerticalScale))
            throw UsageError("--vertical-scale must be from 0.1 to 1000");
        m.VerticalScale = static_cast<float>(*scale);
    }
    if (mode) {
        if (mode->size() != 1 || std::string("FRBfrb").find((*mode)[0]) == std::string::npos)
            throw UsageError("--mode must be F, R or B");
        m.PortGraphMode = static_cast<char>(std::toupper(static_cast<unsigned char>((*mode)[0])));
    }

    DiagramTextState text;
    QString error;
    if (!diagrams::WriteDiagram(*kind, m, text, fileName, &error)) {
        std::cerr << "kestrove-cli: " << *output << ": " << error.toStdString() << "\n";
        return 1;
    }
    out << *output << "\n";
    return 0;
}

int RunReadouts(kes::Model& m, Args& args, std::ostream& out) {
    const auto position = args.TakeNumber("--position");
    args.ExpectEmpty();
    const float p = position ? static_cast<float>(*position) : m.MidGear();
    if (!diagrams::IsAtMidGear(m, p)) {
        std::ostringstream why;
        why << "--position must lie within " << MidGearBand << " of mid gear (" << m.MidGear()
            << ")";
        throw UsageError(why.str());
    }
    const diagrams::MidGearReadouts r = diagrams::SineReadouts(m, p);
    out << "rear_lead,front_steam_lap,front_exhaust_clearance,rear_exhaust_clearance,"
           "rear_steam_lap,front_lead\n";
    const float values[] = {
        r.RearLead,     r.FrontSteamLap, r.FrontExhaustClearance, r.RearExhaustClearance,
        r.RearSteamLap, r.FrontLead};
    for (size_t i = 0; i < std::size(values); ++i) {
        if (i) out << ',';
        out << Trimmed(diagrams::FormatReadout(values[i]));
    }
    out << "\n";
    return 0;
}

} // namespace cli
