// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window's first size: what it was laid out for, but never larger than the
// screen it opens on (a laptop's 1366 x 768 included), so no part of it opens
// out of reach.

#include <QSize>

class QWidget;

namespace ui_shell {

// The share of the screen's free area a window may take at first.
inline constexpr double MostOfTheScreen = 0.92;

// wanted, bounded by MostOfTheScreen of the available area of the screen
// the window is on (or the primary screen); wanted itself without one.
QSize FirstSize(const QWidget& window, QSize wanted);
void ResizeToFirstSize(QWidget& window, QSize wanted);

} // namespace ui_shell
