// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/diagram_render.h"

#include "diagrams/diagram_paint.h"
#include "diagrams/oval_diagram.h"
#include "diagrams/port_diagram.h"
#include "diagrams/sine_diagram.h"
#include "diagrams/steam_diagram.h"
#include "saving/buffered_save.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>

namespace diagrams {

namespace {

// One line per diagram.
constexpr DiagramKind Kinds[] = {
    {"sine", SineClientSize, &PaintSineDiagram},
    {"oval", OvalClientSize, &PaintOvalDiagram},
    {"steam", SteamClientSize, &PaintSteamDiagram},
    {"ports", PortClientSize, &PaintPortDiagramForMode},
};

void PaintOnWhite(QPainter& p, const DiagramKind& kind, kes::Model& m, DiagramTextState& text) {
    p.fillRect(QRect(QPoint(0, 0), kind.ClientSize), White);
    BeginDiagram(p);
    kind.Paint(p, m, text);
}

} // namespace

std::span<const DiagramKind> DiagramKinds() {
    return Kinds;
}

const DiagramKind* FindDiagram(std::string_view name) {
    for (const DiagramKind& kind : Kinds)
        if (kind.Name == name) return &kind;
    return nullptr;
}

QImage RenderDiagram(const DiagramKind& kind, kes::Model& m, DiagramTextState& text) {
    QImage image(kind.ClientSize, QImage::Format_RGB32);
    QPainter p(&image);
    PaintOnWhite(p, kind, m, text);
    return image;
}

bool WriteDiagram(const DiagramKind& kind, kes::Model& m, DiagramTextState& text,
                  const QString& fileName, QString* error) {
    return WritePictureFile(
        fileName, kind.ClientSize,
        QStringLiteral("KESTROVE %1 diagram")
            .arg(QString::fromLatin1(kind.Name.data(), static_cast<int>(kind.Name.size()))),
        [&](QPainter& p) { kind.Paint(p, m, text); }, [&] { return RenderDiagram(kind, m, text); },
        error);
}

bool WritePictureFile(const QString& fileName, QSize size, const QString& title,
                      const std::function<void(QPainter&)>& paint,
                      const std::function<QImage()>& image, QString* error) {
    const bool svg =
        QFileInfo(fileName).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0;
    return saving::SaveThroughBuffer(
        fileName,
        [&](QIODevice& device, QString* why) {
            if (svg) {
                QSvgGenerator generator;
                generator.setOutputDevice(&device);
                generator.setSize(size);
                generator.setViewBox(QRect(QPoint(0, 0), size));
                generator.setTitle(title);
                QPainter p;
                if (!p.begin(&generator)) return false;
                p.fillRect(QRect(QPoint(0, 0), size), White);
                BeginDiagram(p);
                paint(p);
                return p.end();
            }
            QImageWriter writer(&device, "png");
            if (writer.write(image())) return true;
            *why = writer.errorString();
            return false;
        },
        error);
}

} // namespace diagrams
