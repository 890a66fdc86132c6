// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one typeface of every window, dialog and diagram.

#include <QString>

namespace shell {

inline constexpr const char* FontFamilyName = "DejaVu Sans";

inline QString FontFamily() {
    return QString::fromLatin1(FontFamilyName);
}

} // namespace shell
