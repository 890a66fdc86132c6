// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/frame_changes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void FrameChanges::MarkBox(const QRect& box) {
    const QRect r = box.normalized() & within_;
    if (r.isEmpty()) return;
    const int c0 = (r.left() - within_.left()) / Tile, c1 = (r.right() - within_.left()) / Tile;
    const int r0 = (r.top() - within_.top()) / Tile, r1 = (r.bottom() - within_.top()) / Tile;
    for (int row = r0; row <= r1; ++row)
        std::fill_n(tiles_.begin() + row * columns_ + c0, c1 - c0 + 1, 1);
}

void FrameChanges::Mark(const DrawnItem& item) {
    if (!item.IsSegment) {
        MarkBox(item.Box);
        return;
    }
    // Along the line in steps shorter than a tile, the pad about each step.
    const int dx = item.B.x() - item.A.x(), dy = item.B.y() - item.A.y();
    const int steps =
        std::max(1, (std::max(std::abs(dx), std::abs(dy)) + Tile / 2 - 1) / (Tile / 2));
    const int pad = item.Pad;
    QPoint from = item.A;
    for (int i = 1; i <= steps; ++i) {
        const QPoint to(
            item.A.x() + static_cast<int>(std::lround(static_cast<double>(dx) * i / steps)),
            item.A.y() + static_cast<int>(std::lround(static_cast<double>(dy) * i / steps)));
        MarkBox(QRect(from, to).normalized().adjusted(-pad, -pad, pad, pad));
        from = to;
    }
}

QRegion FrameChanges::Update(const DrawnItems& drawn, const QRect& within) {
    const bool whole = !known_ || drawn.size() != last_.size() || within != within_;
    last_.resize(drawn.size());
    known_ = true;
    within_ = within;
    if (whole) {
        std::copy(drawn.begin(), drawn.end(), last_.begin());
        return QRegion(within);
    }
    columns_ = (within.width() + Tile - 1) / Tile;
    rows_ = (within.height() + Tile - 1) / Tile;
    tiles_.assign(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), 0);
    for (size_t i = 0; i < drawn.size(); ++i) {
        if (drawn[i].Key == last_[i].Key) continue;
        Mark(last_[i]);
        Mark(drawn[i]);
        last_[i] = drawn[i];
    }
    // Each tile row's runs of changed tiles, rows top to bottom and runs left
    // to right, as QRegion::setRects wants them.
    std::vector<QRect> rects;
    const auto add = [&](int row, int first, int last) {
        const QRect r(within.left() + first * Tile, within.top() + row * Tile,
                      (last - first + 1) * Tile, Tile);
        rects.push_back(r & within);
    };
    for (int row = 0; row < rows_; ++row) {
        int first = -1, last = -1;
        for (int column = 0; column < columns_; ++column) {
            if (!tiles_[static_cast<size_t>(row * columns_ + column)]) continue;
            if (first >= 0 && column - last - 1 > JoinGap) {
                add(row, first, last);
                first = -1;
            }
            if (first < 0) first = column;
            last = column;
        }
        if (first >= 0) add(row, first, last);
    }
    QRegion changed;
    changed.setRects(rects.data(), static_cast<int>(rects.size()));
    return changed;
}
