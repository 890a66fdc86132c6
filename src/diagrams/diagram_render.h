#pragma once
// The diagrams by name, for rendering without a window (kestrove-cli
// diagram, tests): the same drawing functions the windows use, painted on
// white at the window's client size.

#include <QImage>
#include <QSize>
#include <QString>

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

} // namespace diagrams
