// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui_shell/first_size.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ui_shell {

QSize FirstSize(const QWidget& window, QSize wanted) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return wanted;
    const QSize room = screen->availableGeometry().size();
    return {std::min(wanted.width(), static_cast<int>(room.width() * MostOfTheScreen)),
            std::min(wanted.height(), static_cast<int>(room.height() * MostOfTheScreen))};
}

void ResizeToFirstSize(QWidget& window, QSize wanted) {
    window.resize(FirstSize(window, wanted));
}

} // namespace ui_shell
