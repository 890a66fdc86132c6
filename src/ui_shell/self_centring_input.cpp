// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui_shell/self_centring_input.h"

#include "model/model.h"

#include <QAbstractSlider>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include <utility>

namespace {

// The keys of a horizontal self-centring bar: right and down move it right,
// left and up move it left.
QAbstractSlider::SliderAction ScrollKeyAction(int key) {
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_Left:
    case Qt::Key_Up:
        return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_PageDown:
        return QAbstractSlider::SliderPageStepAdd;
    case Qt::Key_PageUp:
        return QAbstractSlider::SliderPageStepSub;
    default:
        return QAbstractSlider::SliderNoAction;
    }
}

} // namespace

SelfCentringInput::SelfCentringInput(QScrollBar* bar, Handler handler)
    : QObject(bar), bar_(bar), handler_(std::move(handler)) {
    connect(bar_, &QAbstractSlider::actionTriggered, this,
            [this](int action) { action_ = action; });
    connect(bar_, &QAbstractSlider::sliderPressed, this, [this] { dragStarting_ = true; });
    connect(bar_, &QAbstractSlider::valueChanged, this, &SelfCentringInput::Changed);
}

void SelfCentringInput::Recentre() {
    const QSignalBlocker block(bar_);
    bar_->setValue(0);
}

void SelfCentringInput::Changed(int position) {
    const int action = std::exchange(action_, QAbstractSlider::SliderNoAction);
    // 0 is the bar at rest: the thumb dragged back to the middle moves nothing.
    if (position == 0) return;
    // Only the thumb moved on while held is a drag; its first move starts
    // from rest like a click.
    kes::BarMove move = kes::BarMove::Step;
    if (action == QAbstractSlider::SliderMove && bar_->isSliderDown()) {
        if (!dragStarting_) move = kes::BarMove::Drag;
        dragStarting_ = false;
    }
    if (handler_) handler_(position, move);
    Recentre();
}

DynVarBarInput::DynVarBarInput(kes::Model& model, const std::array<QScrollBar*, 4>& bars,
                               Hooks hooks, QObject* parent)
    : QObject(parent), model_(model), bars_(bars), hooks_(std::move(hooks)) {
    for (int n = 1; n <= 4; ++n) {
        QScrollBar* bar = bars_[static_cast<size_t>(n - 1)];
        bar->setSingleStep(kes::DynVarBarSmallChange);
        bar->setPageStep(kes::DynVarBarLargeChange);
        bar->installEventFilter(this);
        new SelfCentringInput(bar, [this, n](int p, kes::BarMove move) { Change(n, p, move); });
        connect(bar, &QAbstractSlider::sliderPressed, this, [this, n] { Begin(n); });
    }
}

int DynVarBarInput::BarNumber(const QObject* watched) const {
    for (int n = 1; n <= 4; ++n)
        if (bars_[static_cast<size_t>(n - 1)] == watched) return n;
    return 0;
}

void DynVarBarInput::Begin(int n) {
    rule_.Begin(model_, n);
}

void DynVarBarInput::Change(int n, int position, kes::BarMove move) {
    // A change that no press, key or wheel began is a whole scroll.
    const bool alone = !rule_.Scrolling(n);
    rule_.Change(model_, n, position, move);
    if (hooks_.Stepped) hooks_.Stepped(n);
    if (alone) End(n);
}

void DynVarBarInput::End(int n) {
    if (!rule_.Scrolling(n)) return;
    const bool recorded = rule_.End(model_, n);
    if (hooks_.Ended) hooks_.Ended(n, recorded);
}

bool DynVarBarInput::eventFilter(QObject* watched, QEvent* event) {
    const int n = BarNumber(watched);
    auto* bar = n > 0 ? bars_[static_cast<size_t>(n - 1)] : nullptr;
    if (!bar || !bar->isEnabled()) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) Begin(n);
        break;
    case QEvent::MouseButtonRelease:
        // The bar finishes its own release first.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            QTimer::singleShot(0, this, [this, n] { End(n); });
        break;
    case QEvent::Wheel:
        // A wheel notch is a whole scroll: it ends once the bar has moved.
        Begin(n);
        QTimer::singleShot(0, this, [this, n] { End(n); });
        break;
    case QEvent::KeyPress: {
        const auto action = ScrollKeyAction(static_cast<QKeyEvent*>(event)->key());
        if (action == QAbstractSlider::SliderNoAction) break;
        Begin(n);
        bar->triggerAction(action);
        return true;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && ScrollKeyAction(key->key()) != QAbstractSlider::SliderNoAction)
            End(n);
        break;
    }
    case QEvent::FocusOut:
        End(n);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
