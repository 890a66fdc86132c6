// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One picture of a live diagram window, drawn on a worker thread from copies
// of the designs: one diagram, or all four tiled two by two. The result
// keeps the copy it was drawn from, so the cursor read-out answers for the
// picture on show.

#include "live/cursor_readout.h"
#include "model/model.h"
#include "overlay/overlay_render.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace live {

// What the selector offers: one of the four diagrams, or all of them.
enum class LiveChoice { Sine, Oval, Steam, Ports, AllFour };

struct LiveRequest {
    uint64_t Generation = 0;
    LiveChoice Choice = LiveChoice::Sine;
    std::shared_ptr<kes::Model> Current; // the worker's own copies
    std::shared_ptr<kes::Model> Second;  // null: no comparison
    overlay::Names Names;
};

struct LiveResult {
    uint64_t Generation = 0;
    LiveChoice Choice = LiveChoice::Sine;
    QImage Picture;
    std::shared_ptr<kes::Model> Current; // as drawn
};

// A copy ready to draw: the reverse-arm positions at these offsets from
// its mid gear, the port graph mode, no dynamic-variable block or undo line
// (the window has no bars of its own).
std::shared_ptr<kes::Model> DrawingCopy(const kes::Model& design, const std::vector<float>& offsets,
                                        char portMode);

LiveResult DrawLive(const LiveRequest& request);

// The tiles of a picture: where each diagram stands in it.
struct Tile {
    DiagramView View;
    QRect Area;
};
std::vector<Tile> TilesOf(LiveChoice choice, bool withSecond);
// The diagram under a point of the picture and the point in its own
// client pixels; absent between tiles.
std::optional<std::pair<DiagramView, QPoint>> TileAt(LiveChoice choice, bool withSecond, QPoint at);

} // namespace live
