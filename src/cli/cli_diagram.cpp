// SPDX-License-Identifier: GPL-3.0-or-later
// kestrove-cli diagram: the diagram windows' pictures, drawn by the same
// functions, written as PNG or SVG.
#include "analysis/vertical_scale.h"
#include "cli/cli_positions.h"
#include "cli/commands.h"
#include "diagrams/diagram_paint.h"
#include "diagrams/diagram_render.h"
#include "diagrams/picture_stamp.h"
#include "model/model.h"
#include "overlay/compared_file.h"
#include "overlay/live_positions.h"
#include "overlay/overlay_render.h"

#include <QFileInfo>
#include <QString>

#include <cctype>
#include <iostream>
#include <optional>
#include <ostream>

namespace cli {

namespace {

std::string DiagramNames() {
    std::string names;
    for (const auto& kind : diagrams::DiagramKinds()) {
        if (!names.empty()) names += '|';
        names += kind.Name;
    }
    return names;
}

} // namespace

int RunDiagram(kes::Model& m, Args& args, std::ostream& out) {
    const auto output = args.TakeValue("-o");
    const auto positions = args.TakeValue("--positions");
    const auto scale = args.TakeNumber("--vertical-scale");
    const auto mode = args.TakeValue("--mode");
    const bool bare = args.TakeFlag("--bare");
    const auto compare = args.TakeValue("--compare");
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
        if (!(*scale >= analysis::MinVerticalScale && *scale <= analysis::MaxVerticalScale))
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
    std::optional<diagrams::PictureStamp> stamp;
    if (!bare) stamp = diagrams::PictureStamp{QString::fromStdString(m.DataSetName)};
    bool written = false;
    if (compare) {
        if (compare->empty()) throw UsageError("--compare needs a dimension file");
        overlay::LoadedDesign other = overlay::LoadComparedDesign(*compare);
        if (!other.Design) {
            std::cerr << "kestrove-cli: " << *compare << ": " << other.Message << "\n";
            return 1;
        }
        // The second design at the same offsets from its own mid gear.
        kes::Model& second = *other.Design;
        overlay::ApplyOffsets(second, overlay::TableOffsets(m));
        second.VerticalScale = m.VerticalScale;
        second.PortGraphMode = m.PortGraphMode;
        const overlay::Names names{QString::fromStdString(m.DataSetName),
                                   QString::fromStdString(second.DataSetName)};
        written = diagrams::WriteStampedPictureFile(
            fileName, overlay::ComparedSize(*kind, true),
            QStringLiteral("KESTROVE %1 diagram").arg(QString::fromStdString(*name)),
            [&](QPainter& p) { overlay::PaintComparedPicture(p, *kind, m, &second, names, text); },
            [&] { return overlay::RenderCompared(*kind, m, &second, names, text); }, stamp, &error);
    } else {
        written = diagrams::WriteStampedDiagram(*kind, m, text, fileName, stamp, &error);
    }
    if (!written) {
        std::cerr << "kestrove-cli: " << *output << ": " << error.toStdString() << "\n";
        return 1;
    }
    out << *output << "\n";
    return 0;
}

} // namespace cli
