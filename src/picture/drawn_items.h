// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one frame of the mechanism picture drew, item by item: for each line,
// ellipse, arc, text and batch of dots a key made from everything that
// decides its pixels, and where those pixels may lie. Two frames that draw
// the same item at the same place in the sequence have the same pixels there
// unless a changed item overlaps it, so the window presents only the places
// of the items that differ (picture/frame_changes.h).

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <vector>

struct DrawnItem {
    uint64_t Key = 0;
    // A line from A to B whose pixels lie within Pad of it; otherwise Box.
    bool IsSegment = false;
    QPoint A, B;
    int Pad = 0;
    QRect Box;
};

using DrawnItems = std::vector<DrawnItem>;

// The box every item's pixels lie in.
QRect DrawnBounds(const DrawnItems& items);

// The key of an item: every value that decides its pixels, mixed.
class ItemKey {
  public:
    explicit ItemKey(uint64_t kind) { Add(kind); }
    ItemKey& Add(uint64_t v) {
        h_ = (h_ ^ v) * 0x100000001b3ull;
        h_ ^= h_ >> 29;
        return *this;
    }
    ItemKey& Add(QPoint p) {
        return Add(static_cast<uint64_t>(static_cast<uint32_t>(p.x())) << 32 |
                   static_cast<uint32_t>(p.y()));
    }
    uint64_t Value() const { return h_; }

  private:
    uint64_t h_ = 0xcbf29ce484222325ull;
};
