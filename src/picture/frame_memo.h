// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stopped picture with nothing changing need not be drawn again: the tick
// still solves and follows every change, but when what the frame is drawn
// from is byte for byte what the last frame was drawn from, and drawing that
// frame changed nothing, the frame would come out pixel for pixel the same.
// Then the image is left as it is and nothing is presented.

#include "picture/draw_state.h"

#include <cstddef>
#include <optional>
#include <vector>

class QImage;

namespace kes {
struct Model;
}

class FrameMemo {
  public:
    // After steps 1 to 7 of a tick: true when the frame due now is the last
    // one again.
    bool Repeats(const kes::Model& m, const DrawState& s);
    // After the frame is drawn and its outcome applied.
    void Drawn(const kes::Model& m, const DrawState& s, const FrameOutcome& out);
    // The next frame is drawn whatever it shows.
    void Forget() { settled_ = false; }
    // Where the last frame drawn put the UnDo button.
    std::optional<int> UndoButtonTop() const { return undoButtonTop_; }

    // The bytes every frame is drawn from (exposed for the tests).
    static void Key(const kes::Model& m, const DrawState& s, std::vector<unsigned char>& key);

  private:
    std::vector<unsigned char> due_, after_, settled_key_;
    bool settled_ = false;
    std::optional<int> undoButtonTop_;
};

// A whole tick, drawing only when the frame changes. Returns true when it
// drew (image and out hold the new frame), false when the image is the last
// frame still.
bool RunTickIfChanged(kes::Model& m, DrawState& s, QImage& image, FrameOutcome& out,
                      FrameMemo& memo);
