// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui_shell/tick_pace.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QTimer>

#include <algorithm>

namespace shell {

namespace {

// Input that may change what the picture shows, directly or through a
// control or a dialog.
bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TabletPress:
    case QEvent::Drop:
    case QEvent::WindowActivate:
    case QEvent::Resize:
        return true;
    default:
        return false;
    }
}

// A little after the clock passes into the next second.
int MsToNextSecond() {
    constexpr int After = 5;
    const qint64 ms = QDateTime::currentMSecsSinceEpoch() % 1000;
    return static_cast<int>(1000 - ms) + After;
}

} // namespace

TickPace::TickPace(QTimer& timer, kes::Model& model, int tickMs)
    : timer_(timer), design_(model), tickMs_(std::max(1, tickMs)) {
    connect(&design_, &DesignSignal::Changed, this, &TickPace::Wake);
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

TickPace::~TickPace() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void TickPace::Ticked(bool drew) {
    if (drew) {
        stillTicks_ = 0;
        if (resting_) Wake();
        return;
    }
    if (!resting_ && ++stillTicks_ * tickMs_ < StillMs) return;
    resting_ = true;
    if (timer_.isActive()) timer_.start(MsToNextSecond());
}

void TickPace::Wake() {
    stillTicks_ = 0;
    if (!resting_) return;
    resting_ = false;
    if (timer_.isActive())
        timer_.start(tickMs_);
    else
        timer_.setInterval(tickMs_);
}

bool TickPace::eventFilter(QObject* watched, QEvent* event) {
    if (IsInput(event->type())) Wake();
    return QObject::eventFilter(watched, event);
}

} // namespace shell
