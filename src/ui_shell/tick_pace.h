// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pace of the main window's tick. While the gear turns the tick runs at
// its own interval; once the picture has stood still for a second it waits
// instead until the next whole second (the clock in the captions), and any
// input to the program or any change of the design brings the full pace
// back at once. A timer stopped by its owner (a diagram window is open) is
// left stopped.

#include "ui_shell/design_signal.h"

#include <QObject>

class QTimer;

namespace kes {
struct Model;
}

namespace shell {

class TickPace : public QObject {
    Q_OBJECT
  public:
    // How long the picture stands still before the tick slows down.
    static constexpr int StillMs = 1000;

    // Watches every input of the application while it lives.
    TickPace(QTimer& timer, kes::Model& model, int tickMs);
    ~TickPace() override;

    // After each tick: whether it drew a new frame.
    void Ticked(bool drew);
    // The full pace again (also on input and design changes).
    void Wake();
    bool Resting() const { return resting_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTimer& timer_;
    DesignSignal design_;
    int tickMs_;
    int stillTicks_ = 0;
    bool resting_ = false;
};

} // namespace shell
