// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/link_geometry.h"
#include "workshop/link_sheets.h"
#include "workshop_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>

namespace {

using workshop_test::Centre;
using workshop_test::HoleCentres;

class LinkSheets : public testing::TestWithParam<int> {};

// Each link's holes, measured on its sheet and divided by the sheet's scale,
// lie the design's centre distances apart to the drawing's precision, and
// the sheet writes every dimension with that precision.
TEST_P(LinkSheets, HoleCentresMeasuredOnTheSheetEqualTheDimensions) {
    const auto m = workshop_test::BigEngine();
    workshop::LinkSheetDef def;
    def.DesignUnit = GetParam() == 0 ? workshop::Unit::Inch : workshop::Unit::Millimetre;
    def.Paper = {workshop::PaperKind::A4, true, {}};
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("links.svg"));
    QString error;
    const auto links = kes::GearLinks(*m);
    ASSERT_EQ(workshop::WriteLinkSheets(file, *m, def, &error), int(links.size()) + 1)
        << error.toStdString();
    const int decimals = workshop::DecimalsOf(def);
    const double precision = 0.5 * std::pow(10.0, -decimals);
    for (const kes::GearLink& l : links) {
        QFile f(workshop::SheetFileName(file, QString::fromStdString(l.Id)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << l.Id;
        const QString svg = QString::fromUtf8(f.readAll());
        const workshop::LinkSheetPlan plan = workshop::PlanLinkSheet(*m, l, def);
        EXPECT_TRUE(svg.contains(QStringLiteral("1:%1").arg(plan.ScaleDivisor))) << l.Id;
        const std::vector<Centre> holes = HoleCentres(svg);
        ASSERT_EQ(holes.size(), l.Pins.size()) << l.Id;
        for (const kes::LinkDimension& d : l.Dimensions) {
            const Centre a = holes[size_t(d.From)], b = holes[size_t(d.To)];
            double measured = std::hypot(a.X - b.X, a.Y - b.Y);
            if (d.Kind == kes::LinkDimensionKind::Along) measured = std::fabs(a.X - b.X);
            if (d.Kind == kes::LinkDimensionKind::Square) measured = std::fabs(a.Y - b.Y);
            EXPECT_NEAR(measured / plan.MmPerUnit, d.Value, precision)
                << l.Id << " " << d.Dimension;
            EXPECT_TRUE(svg.contains(workshop::FormatLength(d.Value, decimals)))
                << l.Id << " " << d.Dimension;
        }
        // The whole link, holes and all, lies on the sheet.
        for (const Centre& c : holes) {
            EXPECT_GT(c.X, 0.0);
            EXPECT_LT(c.X, plan.PageMm.width());
            EXPECT_GT(c.Y, 0.0);
            EXPECT_LT(c.Y, plan.PageMm.height());
        }
    }
    QFile pivots(workshop::SheetFileName(file, QStringLiteral("pivots")));
    ASSERT_TRUE(pivots.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(pivots.readAll());
    for (const char* name : {"GearMountX", "RevArmPivotY", "BellCrankPivotX", "CylCLAboveDriver"})
        EXPECT_TRUE(svg.contains(QLatin1String(name))) << name;
}

INSTANTIATE_TEST_SUITE_P(Units, LinkSheets, testing::Values(0, 1));

TEST(LinkSheetScale, TheLargestStandardScaleThatFitsIsChosen) {
    const auto m = workshop_test::Factory();
    workshop::LinkSheetDef def;
    def.Paper = {workshop::PaperKind::A4, true, {}};
    for (const kes::GearLink& l : kes::GearLinks(*m)) {
        const auto plan = workshop::PlanLinkSheet(*m, l, def);
        // The 2.188 in radius bar goes full size on A4; the 16.75 in main rod does not.
        if (l.Id == "radius-bar") {
            EXPECT_EQ(plan.ScaleDivisor, 1);
        }
        if (l.Id == "main-rod") {
            EXPECT_GT(plan.ScaleDivisor, 1);
        }
    }
    def.Paper = {workshop::PaperKind::A0, true, {}};
    for (const kes::GearLink& l : kes::GearLinks(*m))
        EXPECT_EQ(workshop::PlanLinkSheet(*m, l, def).ScaleDivisor, 1) << l.Id;
}

} // namespace
