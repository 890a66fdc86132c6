// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel saturation every painter uses and the nearest-point search of
// the pickers.

#include "model/model.h"
#include "model/nearest_point.h"
#include "model/rounding.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using namespace kes;

TEST(SaturatedPixel, RoundsHalfEvenAndHoldsTheLimit) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Row {
        double v;
        int32_t limit;
        int32_t want;
    };
    const Row rows[] = {
        {2.5, PixelLimit, 2},          {3.5, PixelLimit, 4},
        {-2.5, PixelLimit, -2},        {999999.6, PixelLimit, 1000000},
        {1e12, PixelLimit, 1000000},   {-1e12, PixelLimit, -1000000},
        {inf, PixelLimit, 1000000},    {-inf, PixelLimit, -1000000},
        {std::nan(""), PixelLimit, 0}, {1e30, 1 << 24, 1 << 24},
        {-1e30, 1 << 24, -(1 << 24)},  {123.4, 100, 100},
    };
    for (const Row& r : rows)
        EXPECT_EQ(SaturatedPixel(r.v, r.limit), r.want) << r.v << " within " << r.limit;
    EXPECT_EQ(SaturatedPixel(1e9), PixelLimit); // the default limit
}

struct XY {
    double X, Y;
};

TEST(NearestCandidate, ManhattanDistanceFirstWinsATie) {
    const std::vector<XY> at = {{0, 0}, {3, 0}, {1, 1}, {0, 2}, {-2, 0}};
    auto pos = [&](int i) { return at[static_cast<size_t>(i)]; };
    const std::array<int, 5> all = {0, 1, 2, 3, 4};
    struct Row {
        double x, y;
        int want;
    };
    const Row rows[] = {
        {0.1, 0.0, 0},  // plain nearest
        {2.9, 0.1, 1},  // |dX| + |dY|, not the straight line
        {1.0, 0.0, 0},  // 0 and 2 both at 1: the first wins
        {-1.0, 1.0, 0}, // 0, 2, 3 and 4 all at 2: the first wins
        {0.9, 1.2, 2},
    };
    for (const Row& r : rows)
        EXPECT_EQ(NearestCandidate(r.x, r.y, all, pos), r.want) << r.x << ", " << r.y;
    const std::array<int, 2> later = {4, 3};
    EXPECT_EQ(NearestCandidate(-1.0, 1.0, later, pos), 4);
}

TEST(NearestCandidate, LimitAndEmptyGiveMinusOne) {
    const std::vector<XY> at = {{10, 10}};
    auto pos = [&](int i) { return at[static_cast<size_t>(i)]; };
    const std::array<int, 1> one = {0};
    EXPECT_EQ(NearestCandidate(0.0, 0.0, one, pos, 20.0), -1); // at 20: not nearer
    EXPECT_EQ(NearestCandidate(0.0, 0.0, one, pos, 20.5), 0);
    const std::array<int, 0> none{};
    EXPECT_EQ(NearestCandidate(0.0, 0.0, none, pos), -1);
    // A NaN position is never the nearest.
    const std::vector<XY> bad = {{std::nan(""), 0}, {5, 5}};
    auto badPos = [&](int i) { return bad[static_cast<size_t>(i)]; };
    const std::array<int, 2> both = {0, 1};
    EXPECT_EQ(NearestCandidate(0.0, 0.0, both, badPos), 1);
}

} // namespace
