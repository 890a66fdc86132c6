// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt side of the self-centring scroll bars. SelfCentringInput reports
// each change of one bar with how it came about (a step from rest, or the
// thumb dragged on) and puts the bar back at 0 without reporting that.
// DynVarBarInput wires the four dynamic-variable bars of a window to one
// kes::DynVarBars: a press, key or wheel notch starts a scroll, the release
// ends it, and the window hears of each step and each end. The main window
// and the diagram windows share it.

#include "model/dyn_var_bars.h"
#include "model/self_centring.h"

#include <QObject>

#include <array>
#include <functional>

class QScrollBar;

namespace kes {
struct Model;
}

class SelfCentringInput : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void(int position, kes::BarMove move)>;
    // Watches bar (and is its child) for as long as it lives.
    SelfCentringInput(QScrollBar* bar, Handler handler);

    // The bar back at 0, unreported.
    void Recentre();

  private:
    void Changed(int position);

    QScrollBar* bar_;
    Handler handler_;
    int action_ = 0; // the slider action behind the coming change
    bool dragStarting_ = false;
};

class DynVarBarInput : public QObject {
    Q_OBJECT
  public:
    struct Hooks {
        // Bar n has stepped its slot's dimension.
        std::function<void(int n)> Stepped;
        // A scroll of bar n has ended; recorded says whether it left an undo entry.
        std::function<void(int n, bool recorded)> Ended;
    };

    // bars[0] .. bars[3] are bars 1 .. 4; their small and large changes become 1 and 10.
    DynVarBarInput(kes::Model& model, const std::array<QScrollBar*, 4>& bars, Hooks hooks,
                   QObject* parent = nullptr);

    // The handlers, public so a window or a test can run them.
    void Begin(int n);
    void Change(int n, int position, kes::BarMove move);
    void End(int n);
    bool Scrolling(int n) const { return rule_.Scrolling(n); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int BarNumber(const QObject* watched) const;

    kes::Model& model_;
    std::array<QScrollBar*, 4> bars_;
    Hooks hooks_;
    kes::DynVarBars rule_;
};
