// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/link_geometry.h"
#include "model/absolute_points.h"
#include "model/solver.h"
#include "workshop/gear_dxf.h"
#include "workshop_test_support.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cmath>
#include <fstream>
#include <map>
#include <set>

namespace {

// What dxflib's reader finds in a file.
struct ReadBack : DL_CreationAdapter {
    std::set<std::string> Layers;
    struct Circle {
        std::string Layer;
        double X, Y, R;
    };
    std::vector<Circle> Circles;
    std::map<std::string, int> Outlines; // closed polylines per layer
    std::map<std::string, int> Vertices;
    std::optional<int> InsUnits;
    std::string currentPolyline;

    void addLayer(const DL_LayerData& d) override { Layers.insert(d.name); }
    void addCircle(const DL_CircleData& d) override {
        Circles.push_back({getAttributes().getLayer(), d.cx, d.cy, d.radius});
    }
    void addPolyline(const DL_PolylineData& d) override {
        currentPolyline = getAttributes().getLayer();
        if (d.flags & 1) ++Outlines[currentPolyline];
    }
    void addVertex(const DL_VertexData&) override { ++Vertices[currentPolyline]; }
    void setVariableInt(const std::string& key, int value, int) override {
        if (key == "$INSUNITS") InsUnits = value;
    }
};

ReadBack Read(const std::string& file) {
    ReadBack r;
    DL_Dxf dxf;
    EXPECT_TRUE(dxf.in(file, &r)) << file;
    return r;
}

class GearDxf : public testing::Test {
  protected:
    QTemporaryDir dir;
    std::string File(const char* name) { return QDir(dir.path()).filePath(name).toStdString(); }
};

TEST_F(GearDxf, AssembledReadsBackWithTheSameCentresOneLayerPerLinkAndTheUnit) {
    const auto m = workshop_test::BigEngine();
    for (const workshop::Unit unit : {workshop::Unit::Inch, workshop::Unit::Millimetre}) {
        workshop::GearDxfDef def;
        def.CrankAngle = 37.0;
        def.DesignUnit = unit;
        const auto plan = workshop::PlanGearDxf(*m, def);
        ASSERT_TRUE(plan);
        const std::string file = File("gear.dxf");
        ASSERT_TRUE(workshop::WriteDxf(file, *plan));
        const ReadBack r = Read(file);
        ASSERT_TRUE(r.InsUnits);
        EXPECT_EQ(*r.InsUnits, unit == workshop::Unit::Inch ? 1 : 4);

        const std::vector<kes::GearLink> links = kes::GearLinks(*m);
        for (const kes::GearLink& l : links) {
            EXPECT_TRUE(r.Layers.count(l.Id)) << l.Id;
            EXPECT_EQ(r.Outlines.at(l.Id), 1) << l.Id; // one closed outline per link
        }
        EXPECT_TRUE(r.Layers.count(workshop::PivotLayer));
        EXPECT_EQ(r.Layers.size(), links.size() + 2); // and layer 0

        ASSERT_EQ(r.Circles.size(), plan->Circles.size());
        for (size_t i = 0; i < r.Circles.size(); ++i) {
            EXPECT_EQ(r.Circles[i].Layer, plan->Circles[i].Layer);
            EXPECT_NEAR(r.Circles[i].X, plan->Circles[i].X, 1e-6);
            EXPECT_NEAR(r.Circles[i].Y, plan->Circles[i].Y, 1e-6);
            EXPECT_NEAR(r.Circles[i].R, plan->Circles[i].Radius, 1e-6);
        }
        // Each link's holes, as read back, lie its designed centre distances apart.
        for (const kes::GearLink& l : links) {
            std::vector<ReadBack::Circle> holes;
            for (const auto& c : r.Circles)
                if (c.Layer == l.Id) holes.push_back(c);
            ASSERT_EQ(holes.size(), l.Pins.size()) << l.Id;
            for (const kes::LinkDimension& d : l.Dimensions) {
                if (d.Kind != kes::LinkDimensionKind::Centres) continue;
                const auto &a = holes[size_t(d.From)], &b = holes[size_t(d.To)];
                EXPECT_NEAR(std::hypot(a.X - b.X, a.Y - b.Y), d.Value, 1e-6) << l.Id;
            }
        }
    }
}

// Assembled, each link's holes sit on the solver's pins (within the solver's
// own closure), so the links are placed the right way round.
TEST_F(GearDxf, AssembledHolesSitOnTheSolvedPins) {
    const auto m = workshop_test::Factory();
    workshop::GearDxfDef def;
    def.CrankAngle = 120.0;
    const auto plan = workshop::PlanGearDxf(*m, def);
    ASSERT_TRUE(plan);
    kes::Model solved = *m;
    solved.DriverAngle = 120.0f;
    solved.RevArmSetting = m->MidGear();
    kes::SolveLinkage(solved);
    size_t i = 0;
    for (const kes::GearLink& l : kes::GearLinks(*m)) {
        for (const kes::LinkPin& p : l.Pins) {
            const auto& c = plan->Circles[i++];
            int point = p.Point;
            kes::WorldPosition w;
            if (point == kes::BellCrankPivotAbs)
                w = kes::AbsolutePosition(solved, kes::BellCrankPivot);
            else if (point == kes::RevArmPivotAbs)
                w = kes::AbsolutePosition(solved, kes::RevArmPivot);
            else
                w = kes::AbsolutePosition(solved, point);
            EXPECT_NEAR(c.X, w.X, 0.01) << l.Id << " " << p.Name;
            EXPECT_NEAR(c.Y, w.Y, 0.01) << l.Id << " " << p.Name;
        }
    }
}

TEST_F(GearDxf, FlatLinksLieApartAndOutlinesClearTheHoles) {
    const auto m = workshop_test::Factory();
    workshop::GearDxfDef def;
    def.Flat = true;
    def.PinDiameter = 0.25;
    const auto plan = workshop::PlanGearDxf(*m, def);
    ASSERT_TRUE(plan);
    // Bounding boxes of the outlines do not overlap.
    struct Box {
        double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
    };
    std::vector<Box> boxes;
    for (const auto& o : plan->Outlines) {
        Box b;
        for (const kes::Point2& p : kes::SampleOutline(o.Vertices)) {
            b.x0 = std::min(b.x0, p.X), b.x1 = std::max(b.x1, p.X);
            b.y0 = std::min(b.y0, p.Y), b.y1 = std::max(b.y1, p.Y);
        }
        EXPECT_GE(b.x0, -1e-9);
        boxes.push_back(b);
    }
    for (size_t a = 0; a < boxes.size(); ++a)
        for (size_t b = a + 1; b < boxes.size(); ++b)
            EXPECT_TRUE(boxes[a].y1 < boxes[b].y0 || boxes[b].y1 < boxes[a].y0) << a << " " << b;
    // Every hole stands at least half the link width minus its radius inside the outline.
    for (const auto& c : plan->Circles) {
        const auto it = std::find_if(plan->Outlines.begin(), plan->Outlines.end(),
                                     [&](const auto& o) { return o.Layer == c.Layer; });
        ASSERT_NE(it, plan->Outlines.end());
        double nearest = 1e300;
        for (const kes::Point2& p : kes::SampleOutline(it->Vertices, 1.0))
            nearest = std::min(nearest, std::hypot(p.X - c.X, p.Y - c.Y));
        EXPECT_GE(nearest, 0.25 - 2e-3) << c.Layer; // link width 0.5 by default
    }
}

TEST_F(GearDxf, RefusesBadSizesAndKeepsTheOldFileOnAFailedWrite) {
    const auto m = workshop_test::Factory();
    workshop::GearDxfDef def;
    def.PinDiameter = 0.3;
    def.LinkWidth = 0.2;
    std::string error;
    EXPECT_FALSE(workshop::PlanGearDxf(*m, def, &error));
    EXPECT_FALSE(error.empty());

    const std::string file = File("old.dxf");
    { std::ofstream(file) << "old"; }
    const auto plan = workshop::PlanGearDxf(*m, {});
    ASSERT_TRUE(plan);
    // A write that cannot be made is reported and touches nothing else (the
    // old file's survival on a full disk is checked with the other writers).
    error.clear();
    EXPECT_FALSE(workshop::WriteDxf(file + "/gear.dxf", *plan, &error));
    EXPECT_FALSE(error.empty());
    std::ifstream in(file);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "old");
}

} // namespace
