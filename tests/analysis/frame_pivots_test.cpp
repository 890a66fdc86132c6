// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/dimension_names.h"
#include "analysis/frame_pivots.h"
#include "analysis_designs.h"
#include "model/absolute_points.h"

#include <gtest/gtest.h>

namespace {

// Every pivot lies where the solver puts it, and every name is one the
// command line's --set takes, holding the stored value shown.
TEST(FramePivots, PositionsFromTheAxleAndTheCommandLinesNames) {
    for (const auto& [name, m] : analysis_test::AllDesigns()) {
        const std::vector<kes::FramePivot> pivots = kes::FramePivots(m);
        ASSERT_EQ(pivots.size(), 6u);
        const auto expect = [&](size_t i, kes::WorldPosition w) {
            ASSERT_TRUE(pivots[i].X && pivots[i].Y) << name << " " << pivots[i].Name;
            EXPECT_NEAR(*pivots[i].X, w.X, 1e-5) << name << " " << pivots[i].Name;
            EXPECT_NEAR(*pivots[i].Y, w.Y, 1e-5) << name << " " << pivots[i].Name;
        };
        expect(0, {0.0, 0.0});
        expect(1, kes::AbsolutePosition(m, kes::GearMount));
        expect(2, kes::AbsolutePosition(m, kes::RevArmPivot));
        expect(3, kes::AbsolutePosition(m, kes::BellCrankPivot));
        EXPECT_NEAR(*pivots[5].Y - *pivots[4].Y, m.Cylinder[kes::ValveStemToCylCL], 1e-6);
        EXPECT_FALSE(pivots[5].X); // a line, not a point
        for (const kes::FramePivot& p : pivots) {
            const std::pair<const std::string*, const std::optional<double>*> named[] = {
                {&p.XName, &p.StoredX}, {&p.YName, &p.StoredY}};
            for (const auto& [dim, stored] : named) {
                if (dim->empty()) continue;
                const auto d = kes::FindNamedDimension(*dim);
                ASSERT_TRUE(d) << *dim;
                ASSERT_TRUE(stored->has_value()) << *dim;
                EXPECT_FLOAT_EQ(kes::GetNamedDimension(m, *d), float(**stored)) << *dim;
            }
        }
    }
    const std::string csv = kes::FramePivotsCsv(kes::FramePivots(analysis_test::Factory()));
    EXPECT_EQ(csv.rfind("pivot,x_name,y_name,x,y,stored_x,stored_y,note\n", 0), 0u);
    EXPECT_NE(csv.find("Reverse-arm pivot,RevArmPivotX,RevArmPivotY,10.914,3.25,2.961,1.75,"), std::string::npos)
        << csv;
}

} // namespace
