// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui_shell/design_signal.h"

#include "model/model.h"

namespace shell {

DesignSignal::DesignSignal(kes::Model& model, QObject* parent) : QObject(parent), model_(model) {
    token_ = model_.Listeners.Add([this] { Heard(); });
}

DesignSignal::~DesignSignal() {
    model_.Listeners.Remove(token_);
}

void DesignSignal::Heard() {
    if (queued_) return;
    queued_ = true;
    // A queued call still waiting when this object goes is dropped with it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            queued_ = false;
            emit Changed();
        },
        Qt::QueuedConnection);
}

} // namespace shell
