// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/format.h"
#include "model/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    const struct {
        double in;
        int32_t out;
    } cases[] = {{0.5, 0},
                 {1.5, 2},
                 {2.5, 2},
                 {-0.5, 0},
                 {-1.5, -2},
                 {-2.5, -2},
                 {314.0 + 270.5, 584},
                 {314.0 - 270.5, 44},
                 {2.4999, 2},
                 {-7.6, -8}};
    for (const auto& c : cases)
        EXPECT_EQ(kes::RoundHalfEven(c.in), c.out) << c.in;
}

TEST(RoundHalfEven, SaturatesAndMapsNaNToZero) {
    constexpr auto lo = std::numeric_limits<int32_t>::min();
    constexpr auto hi = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(kes::RoundHalfEven(1e300), hi);
    EXPECT_EQ(kes::RoundHalfEven(-1e300), lo);
    EXPECT_EQ(kes::RoundHalfEven(INFINITY), hi);
    EXPECT_EQ(kes::RoundHalfEven(-INFINITY), lo);
    EXPECT_EQ(kes::RoundHalfEven(NAN), 0);
    EXPECT_EQ(kes::RoundHalfEven(2147483647.4), hi);
    EXPECT_EQ(kes::RoundHalfEven(-2147483648.0), lo);
}

TEST(FormatFixed, RightAlignsWithTheGivenDecimals) {
    EXPECT_EQ(kes::FormatFixed(9.0, 5, 3), "9.000");
    EXPECT_EQ(kes::FormatFixed(16.75, 5, 3), "16.750");
    EXPECT_EQ(kes::FormatFixed(-0.5, 5, 3), "-0.500");
    EXPECT_EQ(kes::FormatFixed(10.4234, 6, 3), "10.423");
    EXPECT_EQ(kes::FormatFixed(1.5, 6, 3), " 1.500");
    EXPECT_EQ(kes::FormatFixed(1.5, 3, 1), "1.5");
    EXPECT_EQ(kes::FormatInt(7, 2), " 7");
    EXPECT_EQ(kes::FormatInt(123, 2), "123");
}

TEST(FormatFixed, NoMinusSignOnAValueShownAsZero) {
    struct Case {
        double v;
        int width, decimals;
        const char* text;
    };
    const Case cases[] = {
        {-0.00025, 6, 3, " 0.000"}, // the factory exhaust clearance
        {-0.0, 6, 3, " 0.000"},     {-0.0004999, 5, 3, "0.000"}, {-0.0005001, 6, 3, "-0.001"},
        {-0.04, 4, 1, " 0.0"},      {-0.4, 1, 0, "0"},           {-10.0001, 6, 3, "-10.000"},
        {-0.006, 6, 2, " -0.01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kes::FormatFixed(c.v, c.width, c.decimals), c.text) << c.v;
}

TEST(FormatFixed, HostileValuesStillGiveAText) {
    EXPECT_FALSE(kes::FormatFixed(NAN, 6, 3).empty());
    EXPECT_FALSE(kes::FormatFixed(INFINITY, 6, 3).empty());
    EXPECT_EQ(kes::FormatFixed(1e30, 6, 3).size(), 35u);
    EXPECT_EQ(kes::FormatFixed(-0.0, 6, 3), " 0.000");
}

} // namespace

#include <clocale>

namespace {

TEST(FormatFixed, IgnoresADecimalCommaLocale) {
    const char* had = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = had ? had : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no decimal-comma locale on this machine";
    EXPECT_EQ(kes::FormatFixed(16.75, 5, 3), "16.750");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
