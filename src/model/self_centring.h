// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The joystick rule of the self-centring scroll bars (pan, zoom, reference
// points, dynamic variables). A click on an arrow or in the trough, a wheel
// notch or a key moves the bar from rest by its step: the change is the new
// position itself. While the thumb is dragged the bar is set back to 0
// after every report, so the drag's positions are compared with the one
// before: moving on steps on, moving back steps back. The bar then returns
// to 0.

namespace kes {

// How a bar's change came about.
enum class BarMove {
    Step, // arrow, trough, wheel, key: one step from rest
    Drag, // the thumb held and moved on
};

class SelfCentringBar {
  public:
    // Step for a new position p with k positions per unit; shifts the memory.
    // A Step starts from rest, so it never depends on what came before.
    double Step(int p, double k, BarMove move = BarMove::Drag);
    // The bar is at rest: the next drag starts from 0.
    void Forget();

  private:
    int previous_ = 0;
    int twoBack_ = 0;
};

} // namespace kes
