// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steam (indicator) diagram: the analysis library's steam simulation
// painted, pressure against the piston's travel, with the cut-off of each
// end for every reverse-arm position.

#include "analysis/steam_simulation.h"

#include <QSize>

class QPainter;
struct DiagramTextState;

namespace kes {
struct Model;
}

namespace diagrams {

inline constexpr QSize SteamClientSize{632, 414};

// The simulation's lines and labels in client pixels.
class SteamPixelSink : public analysis::SteamSink {
  public:
    // A pressure line.
    virtual void PressureLine(analysis::SteamEnd, int /*x1*/, int /*y1*/, int /*x2*/, int /*y2*/) {}
    // The bold position label at (x, y).
    virtual void PositionLabel(analysis::SteamEnd, int /*counter*/, int /*x*/, int /*y*/) {}

    void PressureStep(analysis::SteamEnd end, float fromTravel, float fromPressure, float toTravel,
                      float pressure) final;
    void CutOffLevel(analysis::SteamEnd end, float fromTravel, float toTravel, double u,
                     float pressure) final;
    void LabelDue(analysis::SteamEnd end, int counter, float travel) final;
};

// Where the n-th row of the cut-off lists stands.
int CutOffRowY(int n);

// One whole drawing over what the painter holds.
void PaintSteamDiagram(QPainter& p, kes::Model& m, DiagramTextState& text);

} // namespace diagrams
