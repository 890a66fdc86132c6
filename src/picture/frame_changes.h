// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a new frame changed on the screen. Most of a turning gear's picture
// stays as it was from one frame to the next (the frame lines, the cylinder,
// the labels); presenting only the changed parts spares copying the whole
// picture to the window sixty times a second. The items a frame drew
// (picture/drawn_items.h) are compared with the last frame's, place by
// place in the sequence; the places of those that differ, old and new, are
// the change, in whole tiles.

#include "picture/drawn_items.h"

#include <QRect>
#include <QRegion>

#include <vector>

class FrameChanges {
  public:
    // Tiles of this many pixels each way.
    static constexpr int Tile = 16;
    // Runs of changed tiles closer than this many tiles in one row are
    // presented as one: fewer, larger rectangles cost the window less.
    static constexpr int JoinGap = 2;

    // The part of within that the frame which drew drawn changed against the
    // frame given last; all of within the first time, after Forget, or when
    // the two drew different numbers of items.
    QRegion Update(const DrawnItems& drawn, const QRect& within);
    void Forget() { known_ = false; }

  private:
    void Mark(const DrawnItem& item);
    void MarkBox(const QRect& box);

    DrawnItems last_;
    bool known_ = false;
    QRect within_;
    int columns_ = 0, rows_ = 0;
    std::vector<unsigned char> tiles_;
};
