// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/link_geometry.h"
#include "workshop/arrangement.h"
#include "workshop/title_block.h"
#include "workshop_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>

namespace {

using workshop_test::Centre;

std::vector<Centre> Circles(const kes::Model& m, const workshop::ArrangementDef& def) {
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("ga.svg"));
    QString error;
    EXPECT_TRUE(workshop::WriteArrangement(file, m, def, &error)) << error.toStdString();
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return workshop_test::HoleCentres(QString::fromUtf8(f.readAll()));
}

// At a chosen scale the sheet measures true: the wheel's circle is the
// driver diameter over the scale, and every pin hole lies inside the sheet's
// margins and off the title block.
TEST(Arrangement, DrawsAtTheChosenScaleAndKeepsClearOfTheTitleBlock) {
    const auto m = workshop_test::Factory();
    workshop::ArrangementDef def;
    def.CrankAngle = 60;
    def.ScaleDivisor = 4;
    def.Paper = {workshop::PaperKind::A3, true, {}};
    const auto plan = workshop::PlanArrangement(*m, def);
    ASSERT_TRUE(plan);
    EXPECT_DOUBLE_EQ(plan->MmPerUnit, 25.4 / 4);
    EXPECT_EQ(plan->ScaleText, QStringLiteral("1:4"));
    const std::vector<Centre> circles = Circles(*m, def);
    ASSERT_FALSE(circles.empty());
    // The first circle is the wheel, about the axle.
    EXPECT_NEAR(circles[0].R * 2 / plan->MmPerUnit, m->Frame.DriverDiameter, 1e-3);
    const QRectF title(QPointF(plan->PageMm.width() - 10 - workshop::TitleBlockMm.width(),
                               plan->PageMm.height() - 10 - workshop::TitleBlockMm.height()),
                       workshop::TitleBlockMm);
    for (const Centre& c : circles) {
        const QRectF box(c.X - c.R, c.Y - c.R, 2 * c.R, 2 * c.R);
        EXPECT_FALSE(box.intersects(title));
        EXPECT_GE(box.left(), 10 - 1e-6);
        EXPECT_LE(box.right(), plan->PageMm.width() - 10 + 1e-6);
        EXPECT_GE(box.top(), 10 - 1e-6);
    }
    // The main rod's two holes (the last link) lie its length apart at that scale.
    const auto links = kes::GearLinks(*m);
    size_t holes = 0;
    for (const auto& l : links)
        holes += l.Pins.size();
    ASSERT_EQ(circles.size(), 2 + holes); // wheel, crank circle, then the holes
    const Centre a = circles[circles.size() - 2], b = circles.back();
    EXPECT_NEAR(std::hypot(a.X - b.X, a.Y - b.Y) / plan->MmPerUnit, m->Frame.MainRodLength, 2e-3);
}

TEST(Arrangement, RefusesAScaleTooLargeForTheSheetAndFitsOtherwise) {
    const auto m = workshop_test::Factory();
    workshop::ArrangementDef def;
    def.ScaleDivisor = 1;
    def.Paper = {workshop::PaperKind::A4, true, {}};
    QString error;
    EXPECT_FALSE(workshop::PlanArrangement(*m, def, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("1:4 fits"))) << error.toStdString();
    def.ScaleDivisor.reset();
    const auto fitted = workshop::PlanArrangement(*m, def);
    ASSERT_TRUE(fitted);
    EXPECT_TRUE(fitted->ScaleText.startsWith(QStringLiteral("fit, 1:")));
    EXPECT_GT(fitted->MmPerUnit, 25.4 / 4);
    EXPECT_LT(fitted->MmPerUnit, 25.4 / 2);

    std::optional<int> divisor;
    EXPECT_TRUE(workshop::ParseArrangementScale("1:8", divisor));
    EXPECT_EQ(divisor, 8);
    EXPECT_TRUE(workshop::ParseArrangementScale("fit", divisor));
    EXPECT_FALSE(divisor);
    EXPECT_FALSE(workshop::ParseArrangementScale("1:3", divisor));
}

} // namespace
