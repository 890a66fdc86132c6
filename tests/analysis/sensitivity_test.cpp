// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/sensitivity.h"
#include "analysis_designs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using analysis_test::Factory;

size_t IndexOf(const kes::SensitivityTable& t, int id) {
    for (size_t i = 0; i < t.Ids.size(); ++i)
        if (t.Ids[i] == id) return i;
    return t.Ids.size();
}

// Three settings keep the table small.
kes::ReportDef SmallDef() {
    kes::ReportDef def;
    def.Offsets = {0.0, 0.9, -1.2};
    return def;
}

class SensitivityTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        design_ = new kes::Model(Factory());
        table_ = new kes::SensitivityTable(kes::ComputeSensitivity(*design_, SmallDef(), 2));
    }
    static void TearDownTestSuite() {
        delete table_;
        delete design_;
    }
    static kes::Model* design_;
    static kes::SensitivityTable* table_;
};
kes::Model* SensitivityTest::design_ = nullptr;
kes::SensitivityTable* SensitivityTest::table_ = nullptr;

TEST_F(SensitivityTest, CoversEveryDimensionAndSetting) {
    const kes::SensitivityTable& t = *table_;
    EXPECT_EQ(t.Ids.size(), 50u);
    ASSERT_EQ(t.Rows.size(), 4u); // mid gear both ways
    EXPECT_EQ(t.Cells.size(), 200u);
    for (const kes::SensitivityCell& cell : t.Cells)
        for (const auto& port : cell)
            for (const auto& v : port)
                EXPECT_TRUE(v && std::isfinite(*v));
}

// The lead is the steam lap's complement at dead centre: widening the front
// bridge or the front port by 0.001 opens the front port 0.001 more there,
// lengthening the front valve half closes it as much; the rear is untouched.
TEST_F(SensitivityTest, LeadFollowsThePortEdgesExactly) {
    const struct {
        int Id;
        double Front, Rear;
    } cases[] = {{112, 0.001, 0.0}, {114, 0.001, 0.0}, {119, -0.001, 0.0},
                 {111, 0.0, 0.001}, {113, 0.0, 0.001}, {118, 0.0, -0.001}};
    for (const auto& c : cases) {
        const size_t i = IndexOf(*table_, c.Id);
        for (size_t row = 0; row < table_->Rows.size(); ++row) {
            const kes::SensitivityCell& cell = table_->At(i, row);
            EXPECT_NEAR(*cell[0][kes::SensLead], c.Front, 1e-7) << c.Id;
            EXPECT_NEAR(*cell[1][kes::SensLead], c.Rear, 1e-7) << c.Id;
        }
    }
}

TEST_F(SensitivityTest, DrawnOnlyDimensionsMoveNothing) {
    for (int id : {1, 103, 104, 105, 106, 107, 108, 115, 116, 117}) {
        const size_t i = IndexOf(*table_, id);
        for (size_t row = 0; row < table_->Rows.size(); ++row)
            for (const auto& port : table_->At(i, row))
                for (const auto& v : port)
                    EXPECT_EQ(*v, 0.0) << id;
    }
}

// A central difference agrees with a plain report of the changed design.
TEST_F(SensitivityTest, MatchesAReportOfTheChangedDesign) {
    const kes::EventsReport base = kes::ComputeReport(*design_, SmallDef());
    for (int id : {10, 13, 15}) {
        kes::Model changed = *design_;
        kes::SetDimension(changed, id, kes::GetDimension(changed, id) + 0.01f);
        const kes::EventsReport moved = kes::ComputeReport(changed, SmallDef());
        const size_t i = IndexOf(*table_, id);
        for (size_t row = 0; row < base.Rows.size(); ++row) {
            const double direct = (*moved.Rows[row].Events.Front.Pct(kes::CutOff) -
                                   *base.Rows[row].Events.Front.Pct(kes::CutOff)) /
                                  10.0;
            const double table = *table_->At(i, row)[0][kes::SensCutOff];
            EXPECT_NEAR(table, direct, 0.1 * std::fabs(direct) + 1e-4) << id << " row " << row;
        }
    }
}

TEST(Sensitivity, OneThreadGivesTheSameTableAsTwo) {
    kes::Model m = Factory();
    kes::ReportDef def;
    def.Offsets = {0.75};
    const kes::SensitivityTable one = kes::ComputeSensitivity(m, def, 1);
    const kes::SensitivityTable two = kes::ComputeSensitivity(m, def, 2);
    ASSERT_EQ(one.Cells.size(), two.Cells.size());
    for (size_t i = 0; i < one.Cells.size(); ++i)
        EXPECT_EQ(one.Cells[i], two.Cells[i]) << i;
}

} // namespace
