// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sixteen colours a line or circle of the LineTable may take. ItemColor
// is an index into this table; anything outside 0..15 draws black.

#include <QColor>

#include <array>

namespace kes {

struct LineColorEntry {
    const char* Name;
    QRgb Rgb;
};

inline constexpr int LineColorCount = 16;

inline constexpr std::array<LineColorEntry, LineColorCount> LineColors{{
    {"Black", 0x000000},
    {"Maroon", 0x800000},
    {"Green", 0x008000},
    {"Olive", 0x808000},
    {"Navy", 0x000080},
    {"Purple", 0x800080},
    {"Teal", 0x008080},
    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},
    {"Red", 0xFF0000},
    {"Lime", 0x00FF00},
    {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},
    {"Fuchsia", 0xFF00FF},
    {"Aqua", 0x00FFFF},
    {"White", 0xFFFFFF},
}};

inline QColor LineColor(int index) {
    if (index < 0 || index >= LineColorCount) return QColor(Qt::black);
    return QColor(LineColors[static_cast<size_t>(index)].Rgb);
}

} // namespace kes
