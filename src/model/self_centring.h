#pragma once
// The joystick rule of the self-centring scroll bars (pan, zoom, reference
// points, dynamic variables): the step comes from the new position and the
// position two changes earlier; the bar then returns to 0.

namespace kes {

class SelfCentringBar {
  public:
    // Step for a new position p with k positions per unit; shifts the memory.
    double Step(int p, double k);

  private:
    int previous_ = 0;
    int twoBack_ = 0;
};

} // namespace kes
