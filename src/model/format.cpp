// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/format.h"

#include <charconv>
#include <cmath>

// std::to_chars never follows the locale, so a decimal-comma desktop still
// shows (and reads back) "16.750".

namespace kes {

std::string FormatFixed(double v, int width, int decimals) {
    if (width < 0) width = 0;
    if (width > 64) width = 64;
    if (decimals < 0) decimals = 0;
    if (decimals > 20) decimals = 20;
    std::string text;
    if (std::isnan(v)) {
        text = "nan";
    } else if (std::isinf(v)) {
        text = v > 0 ? "inf" : "-inf";
    } else {
        char buffer[400]; // the largest double in fixed notation fits
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
        text.assign(buffer, result.ptr);
        // A tiny negative value that rounds to zero is shown as 0.000, not -0.000.
        if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
            text.erase(0, 1);
    }
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return text;
}

std::string FormatInt(long long v, int width) {
    if (width < 0) width = 0;
    if (width > 64) width = 64;
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    std::string text(buffer, result.ptr);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return text;
}

} // namespace kes
