// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/typed_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kes {

namespace {

constexpr double FloatTop = std::numeric_limits<float>::max();

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

float ToFloat(double v) {
    if (std::isnan(v)) return 0.0f;
    return static_cast<float>(std::clamp(v, -FloatTop, FloatTop));
}

float ParseTypedValue(std::string_view text, bool skipBlanks) {
    size_t i = 0;
    if (skipBlanks)
        while (i < text.size() && text[i] == ' ')
            ++i;
    const size_t start = i;
    if (i < text.size() && text[i] == '-') ++i;
    const size_t intStart = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    const size_t intDigits = i - intStart;
    size_t end = intDigits > 0 ? i : start; // "5-" ends after the 5
    if (i < text.size() && text[i] == '.') {
        size_t j = i + 1;
        while (j < text.size() && IsDigit(text[j]))
            ++j;
        if (intDigits > 0 || j > i + 1) end = j; // "5." and ".5" are numbers, "." is not
    }
    if (end == start) return 0.0f;

    double value = 0.0;
    const auto res =
        std::from_chars(text.data() + start, text.data() + end, value, std::chars_format::fixed);
    if (res.ec == std::errc::result_out_of_range) {
        // Too many digits for a double: huge when the whole part has a
        // non-zero digit, otherwise too small to matter.
        bool huge = false;
        for (size_t k = intStart; k < intStart + intDigits; ++k)
            huge = huge || text[k] != '0';
        value = huge ? FloatTop : 0.0;
        if (text[start] == '-') value = -value;
    } else if (res.ec != std::errc()) {
        return 0.0f;
    }
    return ToFloat(value) + 0.0f; // no negative zero
}

float ClampValue(double v, double lo, double hi) {
    if (std::isnan(v)) return ToFloat(lo);
    return ToFloat(std::clamp(v, lo, hi));
}

} // namespace kes
