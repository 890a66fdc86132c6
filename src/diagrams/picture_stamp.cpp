// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/picture_stamp.h"

#include "diagrams/diagram_paint.h"
#include "diagrams/diagram_render.h"

#include <QPainter>

namespace diagrams {

namespace {

const QColor StripColour{240, 240, 240};
constexpr int StampTextX = 6;

} // namespace

QString StampText(const PictureStamp& stamp) {
    return QStringLiteral("KESTROVE   %1   %2")
        .arg(stamp.DataSetName, stamp.Date.toString(Qt::ISODate));
}

QSize StampedSize(QSize picture) {
    return {picture.width(), picture.height() + StampHeight};
}

void PaintStamp(QPainter& p, QSize picture, const PictureStamp& stamp) {
    p.save();
    const QRect strip(0, picture.height(), picture.width(), StampHeight);
    p.fillRect(strip, StripColour);
    p.setPen(Black);
    p.drawLine(strip.topLeft(), strip.topRight());
    p.setFont(DiagramFont());
    p.drawText(strip.adjusted(StampTextX, 1, -StampTextX, 0), Qt::AlignLeft | Qt::AlignVCenter,
               StampText(stamp));
    p.restore();
}

QImage StampImage(const QImage& picture, const PictureStamp& stamp) {
    QImage out(StampedSize(picture.size()), QImage::Format_RGB32);
    out.fill(White);
    QPainter p(&out);
    p.drawImage(0, 0, picture);
    PaintStamp(p, picture.size(), stamp);
    return out;
}

bool WriteStampedPictureFile(const QString& fileName, QSize size, const QString& title,
                             const std::function<void(QPainter&)>& paint,
                             const std::function<QImage()>& image,
                             const std::optional<PictureStamp>& stamp, QString* error) {
    if (!stamp) return WritePictureFile(fileName, size, title, paint, image, error);
    auto stampedPaint = [&](QPainter& p) {
        p.save();
        paint(p);
        p.restore();
        PaintStamp(p, size, *stamp);
    };
    auto stampedImage = [&] { return StampImage(image(), *stamp); };
    return WritePictureFile(fileName, StampedSize(size), title, stampedPaint, stampedImage, error);
}

bool WriteStampedDiagram(const DiagramKind& kind, kes::Model& m, DiagramTextState& text,
                         const QString& fileName, const std::optional<PictureStamp>& stamp,
                         QString* error) {
    if (!stamp) return WriteDiagram(kind, m, text, fileName, error);
    return WriteStampedPictureFile(
        fileName, kind.ClientSize,
        QStringLiteral("KESTROVE %1 diagram")
            .arg(QString::fromLatin1(kind.Name.data(), static_cast<int>(kind.Name.size()))),
        [&](QPainter& p) { kind.Paint(p, m, text); }, [&] { return RenderDiagram(kind, m, text); },
        stamp, error);
}

} // namespace diagrams
