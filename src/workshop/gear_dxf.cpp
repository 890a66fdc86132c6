// SPDX-License-Identifier: GPL-3.0-or-later
#include "workshop/gear_dxf.h"

#include "model/absolute_points.h"
#include "model/model.h"
#include "model/solver.h"

#include "files/whole_file.h"

#include <QTemporaryDir>

#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>

namespace workshop {

namespace {

using kes::Point2;

void AddLink(GearDxf& out, const kes::GearLink& link, const kes::LinkPlacement& at, double pinR,
             double halfWidth) {
    for (const kes::LinkPin& p : link.Pins) {
        const Point2 w = at.Apply(p);
        out.Circles.push_back({link.Id, w.X, w.Y, pinR});
    }
    DxfOutline o{link.Id, {}};
    for (kes::OutlineVertex v : kes::LinkOutline(link, halfWidth)) {
        v.At = at.Apply({"", v.At.X, v.At.Y, 0});
        o.Vertices.push_back(v); // a rotation keeps the bulges
    }
    out.Outlines.push_back(std::move(o));
}

void AddPivots(GearDxf& out, const kes::Mechanism& m, double pinR) {
    const kes::WorldPosition pivots[] = {{0.0, 0.0},
                                         kes::AbsolutePosition(m, kes::RevArmPivot),
                                         kes::AbsolutePosition(m, kes::BellCrankPivot)};
    const double arm = 2.0 * pinR;
    for (const kes::WorldPosition& p : pivots) {
        out.Circles.push_back({PivotLayer, p.X, p.Y, pinR});
        out.Lines.push_back({PivotLayer, p.X - arm, p.Y, p.X + arm, p.Y});
        out.Lines.push_back({PivotLayer, p.X, p.Y - arm, p.X, p.Y + arm});
    }
    const kes::WorldPosition mount = kes::AbsolutePosition(m, kes::GearMount);
    out.Lines.push_back({PivotLayer, mount.X - arm, mount.Y, mount.X + arm, mount.Y});
    out.Lines.push_back({PivotLayer, mount.X, mount.Y - arm, mount.X, mount.Y + arm});
    // The cylinder centre line and the valve-stem line, over the cylinder.
    const double e = m.Cylinder[kes::CylCtrToDriver];
    const double half = 0.5 * m.Cylinder[kes::BoreLength];
    const double yc = m.Points[kes::Crosshead].Y;
    const double ys = yc + m.Cylinder[kes::ValveStemToCylCL];
    out.Lines.push_back({PivotLayer, e - half, yc, e + half, yc});
    out.Lines.push_back({PivotLayer, e - half, ys, e + half, ys});
}

} // namespace

int InsUnitsCode(Unit unit) {
    return unit == Unit::Inch ? 1 : 4;
}

std::optional<GearDxf> PlanGearDxf(const kes::Model& m, const GearDxfDef& def, std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<GearDxf> {
        if (error) *error = why;
        return std::nullopt;
    };
    const double pin = def.PinDiameter.value_or(kes::DefaultPinDiameter(m));
    const double width = def.LinkWidth.value_or(2.0 * pin);
    if (!(pin > 0.0) || !(width > pin) || !std::isfinite(width))
        return fail("The link width must be larger than the pin diameter, and both positive.");
    GearDxf out;
    out.DesignUnit = def.DesignUnit;
    const std::vector<kes::GearLink> links = kes::GearLinks(m);
    for (const kes::GearLink& l : links)
        out.Layers.push_back(l.Id);
    out.Layers.push_back(PivotLayer);

    if (def.Flat) {
        // Stacked along Y, a link width apart, each starting at X = 0.
        double y = 0.0;
        for (const kes::GearLink& l : links) {
            double minX = 1e300, minY = 1e300, maxY = -1e300;
            for (const kes::LinkPin& p : l.Pins) {
                minX = std::min(minX, p.X);
                minY = std::min(minY, p.Y);
                maxY = std::max(maxY, p.Y);
            }
            kes::LinkPlacement at;
            at.Origin = {width / 2 - minX, y + width / 2 - minY};
            AddLink(out, l, at, pin / 2, width / 2);
            y += (maxY - minY) + 2.0 * width;
        }
        return out;
    }
    auto c = std::make_unique<kes::Model>(m);
    c->DriverAngle = static_cast<float>(def.CrankAngle);
    c->RevArmSetting = static_cast<float>(def.Setting.value_or(m.MidGear()));
    c->SolveError = false;
    c->BeepOnError = true;
    kes::SolveLinkage(*c);
    if (c->SolveError)
        return fail("The linkage does not close at crank angle " + std::to_string(def.CrankAngle) +
                    " and setting " + std::to_string(c->RevArmSetting) + ".");
    for (const kes::GearLink& l : links)
        AddLink(out, l, kes::PlaceOnSolved(l, *c), pin / 2, width / 2);
    AddPivots(out, *c, pin / 2);
    return out;
}

// dxflib writes through a stream whose errors it never reports, so the file
// is made in a private folder, read back whole and checked for its end
// marker, and only then put in place by the one whole-file writer.
bool WriteDxf(const std::string& fileName, const GearDxf& dxf, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    const QTemporaryDir folder;
    if (!folder.isValid()) return fail("Cannot write " + fileName + ": no temporary folder");
    const std::string temp = folder.filePath(QStringLiteral("drawing.dxf")).toStdString();
    DL_Dxf out;
    std::unique_ptr<DL_WriterA> dw(out.out(temp.c_str(), DL_Codes::AC1015));
    if (!dw || dw->openFailed()) return fail("Cannot write " + fileName);
    out.writeHeader(*dw);
    dw->dxfString(9, "$INSUNITS");
    dw->dxfInt(70, InsUnitsCode(dxf.DesignUnit));
    dw->dxfString(9, "$MEASUREMENT");
    dw->dxfInt(70, dxf.DesignUnit == Unit::Inch ? 0 : 1);
    dw->sectionEnd();

    dw->sectionTables();
    out.writeVPort(*dw);
    dw->tableLinetypes(3);
    out.writeLinetype(*dw, DL_LinetypeData("BYBLOCK", "BYBLOCK", 0, 0, 0.0));
    out.writeLinetype(*dw, DL_LinetypeData("BYLAYER", "BYLAYER", 0, 0, 0.0));
    out.writeLinetype(*dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
    dw->tableEnd();
    dw->tableLayers(static_cast<int>(dxf.Layers.size()) + 1);
    out.writeLayer(*dw, DL_LayerData("0", 0),
                   DL_Attributes("", DL_Codes::black, 100, "CONTINUOUS", 1.0));
    int colour = 1;
    for (const std::string& layer : dxf.Layers) {
        out.writeLayer(
            *dw, DL_LayerData(layer, 0),
            DL_Attributes("", layer == PivotLayer ? 1 : 1 + colour++ % 6, 100, "CONTINUOUS", 1.0));
    }
    dw->tableEnd();
    dw->tableStyle(1);
    out.writeStyle(*dw, DL_StyleData("standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    dw->tableEnd();
    out.writeView(*dw);
    out.writeUcs(*dw);
    dw->tableAppid(1);
    out.writeAppid(*dw, "ACAD");
    dw->tableEnd();
    out.writeDimStyle(*dw, 1, 1, 1, 1, 1);
    out.writeBlockRecord(*dw);
    dw->tableEnd();
    dw->sectionEnd();

    dw->sectionBlocks();
    for (const char* block : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
        out.writeBlock(*dw, DL_BlockData(block, 0, 0.0, 0.0, 0.0));
        out.writeEndBlock(*dw, block);
    }
    dw->sectionEnd();

    dw->sectionEntities();
    const auto attributes = [](const std::string& layer) {
        return DL_Attributes(layer, 256, -1, "BYLAYER", 1.0);
    };
    for (const DxfOutline& o : dxf.Outlines) {
        out.writePolyline(*dw, DL_PolylineData(static_cast<int>(o.Vertices.size()), 0, 0, 1),
                          attributes(o.Layer));
        for (const kes::OutlineVertex& v : o.Vertices)
            out.writeVertex(*dw, DL_VertexData(v.At.X, v.At.Y, 0.0, v.Bulge));
        out.writePolylineEnd(*dw);
    }
    for (const DxfCircle& c : dxf.Circles)
        out.writeCircle(*dw, DL_CircleData(c.X, c.Y, 0.0, c.Radius), attributes(c.Layer));
    for (const DxfLine& l : dxf.Lines)
        out.writeLine(*dw, DL_LineData(l.X1, l.Y1, 0.0, l.X2, l.Y2, 0.0), attributes(l.Layer));
    dw->sectionEnd();
    out.writeObjects(*dw);
    out.writeObjectsEnd(*dw);
    dw->dxfEOF();
    dw->close();
    dw.reset();
    std::ifstream in(temp, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return fail("Cannot write " + fileName);
    if (bytes.size() < 4 || bytes.find("EOF", bytes.size() - 8) == std::string::npos)
        return fail(fileName + ": Disk full");
    const kes::FileResult written = kes::WriteWholeFile(fileName, bytes);
    if (!written.Ok) return fail(fileName + ": " + written.Message);
    return true;
}

} // namespace workshop
