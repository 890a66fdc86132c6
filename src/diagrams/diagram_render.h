// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The diagrams by name, for rendering without a window (kestrove-cli
// diagram, tests): the same drawing functions the windows use, painted on
// white at the window's client size.

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <span>
#include <string_view>

class QPainter;
struct DiagramTextState;

namespace kes {
struct Model;
}

namespace diagrams {

// Paints one whole diagram (for the port events diagram, its both-graphs
// sequence when PortGraphMode is 'B').
using PaintFunction = void (*)(QPainter&, kes::Model&, DiagramTextState&);

struct DiagramKind {
    std::string_view Name; // "sine", "oval", "steam", "ports"
    QSize ClientSize;
    PaintFunction Paint;
};

// Every diagram the registry knows, in the order the help lists them.
std::span<const DiagramKind> DiagramKinds();
// nullptr for an unknown name.
const DiagramKind* FindDiagram(std::string_view name);

// The diagram as the window shows it after "&ReDraw".
QImage RenderDiagram(const DiagramKind& kind, kes::Model& m, DiagramTextState& text);
// Writes it as SVG when the name ends in ".svg", otherwise as PNG. Returns
// false and sets *error when the file cannot be written.
bool WriteDiagram(const DiagramKind& kind, kes::Model& m, DiagramTextState& text,
                  const QString& fileName, QString* error = nullptr);

// Writes a picture through a temporary file, so a failed write leaves an
// earlier file of the same name as it was. When the name ends in ".svg",
// paint draws it on a white page of the given size, the painter set up as
// for a diagram; otherwise the PNG of image() is written. Returns false and
// sets *error when the file cannot be written.
bool WritePictureFile(const QString& fileName, QSize size, const QString& title,
                      const std::function<void(QPainter&)>& paint,
                      const std::function<QImage()>& image, QString* error = nullptr);

} // namespace diagrams
