// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steam display of the main picture: live steam in the chest, the
// pressure of each end of the cylinder as dots coloured by its phase, the
// exhaust and its plume, the legend, and the exhaust beats.

#include "picture/draw_state.h"

#include <QRgb>

#include <cstdint>
#include <optional>

class Canvas;

namespace kes {
struct Model;
}

// No dot group draws more dots than this, whatever the scale, nor more than
// eight for each pixel of the picture it can land on; past that a group
// would only fill its part of the picture more densely, and a tick stays
// short.
inline constexpr int64_t MaxSteamGroupDots = 1 << 14;
// The dot groups of a frame: four of live steam, three for each end and
// four for each end's exhaust.
inline constexpr int SteamDotGroups = 18;

// The output volume for a beat, from the pressure v recorded at the other
// end's last beat; nullopt leaves the volume as it is.
std::optional<uint32_t> BeatVolume(int v);

// A screen span about to be divided by: 0 becomes 1, with a beep when
// BeepOnError is on.
int64_t SpanGuard(int64_t span, const kes::Model& m, FrameOutcome& out);

// The generator of the dots: uniform 0..n-1, and 0 for an empty or negative range.
class DotRandom {
  public:
    explicit DotRandom(uint32_t& state) : state_(state) {}
    static void Seed(uint32_t& state, uint32_t seed) { state = seed ? seed : 0x9E3779B9u; }
    int64_t operator()(int64_t n);

  private:
    uint32_t& state_;
};

// Draws the steam of one frame and fires the exhaust beats. c is the
// drawing's colour variable, carried between the steps.
void DrawSteam(Canvas& canvas, const kes::Model& m, DrawState& s, FrameOutcome& out, QRgb& c);

// The phase and colour rule of one end, and the pressure change it brings.
// Exposed for the tests.
void UpdateSteamPhase(float steamOpen, float exhaustOpen, char& phase, QRgb& c);
void UpdateSteamPressure(float& pressure, QRgb c, float stepAngle, float steamOpen,
                         float exhaustOpen);
// Step 8: arming and firing of both ends' beats.
void UpdateExhaustBeats(const kes::Model& m, DrawState& s, FrameOutcome& out);
