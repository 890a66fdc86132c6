#include "model/format.h"

#include <cmath>
#include <cstdio>

namespace kes {

std::string FormatFixed(double v, int width, int decimals) {
    if (width < 0) width = 0;
    if (width > 64) width = 64;
    if (decimals < 0) decimals = 0;
    if (decimals > 20) decimals = 20;
    if (v == 0.0) v = 0.0; // no "-0.000"
    const int n = std::snprintf(nullptr, 0, "%*.*f", width, decimals, v);
    if (n <= 0) return std::string();
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%*.*f", width, decimals, v);
    text.resize(static_cast<size_t>(n));
    return text;
}

std::string FormatInt(long long v, int width) {
    if (width < 0) width = 0;
    if (width > 64) width = 64;
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%*lld", width, v);
    return buffer;
}

} // namespace kes
