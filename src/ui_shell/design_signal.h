// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design's listeners (model/design_listeners.h) as a Qt signal, for a
// window to follow the design without polling it. A window makes one as a
// member: it listens from its construction and stops with its destruction.
// Changed() comes from the event loop once after one or more changes: the
// window sees a user action whole (mid gear found again, the undo step
// recorded) and the several bumps of one action as one.

#include "model/design_listeners.h"

#include <QObject>

namespace kes {
struct Model;
}

namespace shell {

class DesignSignal : public QObject {
    Q_OBJECT
  public:
    // model must outlive this object.
    explicit DesignSignal(kes::Model& model, QObject* parent = nullptr);
    ~DesignSignal() override;
    DesignSignal(const DesignSignal&) = delete;
    DesignSignal& operator=(const DesignSignal&) = delete;

  signals:
    void Changed();

  private:
    void Heard();

    kes::Model& model_;
    kes::DesignListeners::Token token_ = 0;
    bool queued_ = false;
};

} // namespace shell
