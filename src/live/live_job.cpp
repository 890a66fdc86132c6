// SPDX-License-Identifier: GPL-3.0-or-later
#include "live/live_job.h"

#include "diagrams/diagram_paint.h"
#include "diagrams/diagram_render.h"
#include "overlay/live_positions.h"

#include <QPainter>

#include <algorithm>

namespace live {

namespace {

const char* const KindNames[] = {"sine", "oval", "steam", "ports"};

const diagrams::DiagramKind& KindOf(DiagramView view) {
    return *diagrams::FindDiagram(KindNames[static_cast<int>(view)]);
}

// Every tile is as large as the largest diagram, so the grid is even.
QSize TileSize(bool withSecond) {
    QSize size;
    for (const auto& kind : diagrams::DiagramKinds())
        size = size.expandedTo(overlay::ComparedSize(kind, withSecond));
    return size;
}

} // namespace

std::shared_ptr<kes::Model> DrawingCopy(const kes::Model& design, const std::vector<float>& offsets,
                                        char portMode) {
    auto copy = std::make_shared<kes::Model>(design);
    overlay::ApplyOffsets(*copy, offsets);
    copy->PortGraphMode = portMode;
    copy->DynVarMode = false;
    copy->UndoDisplay = false;
    return copy;
}

std::vector<Tile> TilesOf(LiveChoice choice, bool withSecond) {
    if (choice != LiveChoice::AllFour) {
        const auto view = static_cast<DiagramView>(choice);
        return {{view, QRect(QPoint(0, 0), overlay::ComparedSize(KindOf(view), withSecond))}};
    }
    const QSize size = TileSize(withSecond);
    std::vector<Tile> tiles;
    for (int i = 0; i < 4; ++i)
        tiles.push_back({static_cast<DiagramView>(i),
                         QRect(QPoint(i % 2 * size.width(), i / 2 * size.height()), size)});
    return tiles;
}

std::optional<std::pair<DiagramView, QPoint>> TileAt(LiveChoice choice, bool withSecond,
                                                     QPoint at) {
    for (const Tile& t : TilesOf(choice, withSecond)) {
        const QRect client(t.Area.topLeft(), KindOf(t.View).ClientSize);
        if (client.contains(at)) return std::pair{t.View, at - t.Area.topLeft()};
    }
    return std::nullopt;
}

LiveResult DrawLive(const LiveRequest& request) {
    LiveResult result{request.Generation, request.Choice, {}, request.Current};
    const bool withSecond = request.Second != nullptr;
    const std::vector<Tile> tiles = TilesOf(request.Choice, withSecond);
    QRect bounds;
    for (const Tile& t : tiles)
        bounds |= t.Area;
    result.Picture = QImage(bounds.size(), QImage::Format_RGB32);
    result.Picture.fill(diagrams::White);
    QPainter p(&result.Picture);
    for (const Tile& t : tiles) {
        const diagrams::DiagramKind& kind = KindOf(t.View);
        DiagramTextState text;
        p.save();
        p.translate(t.Area.topLeft());
        // Some lines of a diagram run past its edges: keep them off its neighbours.
        p.setClipRect(QRect(QPoint(0, 0), t.Area.size()));
        diagrams::BeginDiagram(p);
        overlay::PaintComparedPicture(p, kind, *request.Current, request.Second.get(),
                                      request.Names, text);
        p.restore();
    }
    return result;
}

} // namespace live
