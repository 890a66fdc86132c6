// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The footer strip a saved picture carries below itself: the data set's
// name and the date, so a print of it says which design it shows. A bare
// picture leaves the strip out.

#include <QDate>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

class QPainter;
struct DiagramTextState;

namespace kes {
struct Model;
}

namespace diagrams {

struct PictureStamp {
    QString DataSetName;
    QDate Date = QDate::currentDate();
};

// The strip's height in pixels, below the picture.
inline constexpr int StampHeight = 18;
inline const QString StampCheckBoxName = QStringLiteral("StampImage");
inline const QString StampCheckBoxText = QStringLiteral("Stamp the data set name and date");

// "KESTROVE   <name>   <yyyy-MM-dd>"
QString StampText(const PictureStamp& stamp);
QSize StampedSize(QSize picture);
// Paints the strip under a picture of the given size (the painter's origin
// at the picture's top-left).
void PaintStamp(QPainter& p, QSize picture, const PictureStamp& stamp);
// The picture with the strip added below it.
QImage StampImage(const QImage& picture, const PictureStamp& stamp);

// WritePictureFile with the strip when a stamp is given.
bool WriteStampedPictureFile(const QString& fileName, QSize size, const QString& title,
                             const std::function<void(QPainter&)>& paint,
                             const std::function<QImage()>& image,
                             const std::optional<PictureStamp>& stamp, QString* error = nullptr);

struct DiagramKind;
// WriteDiagram with the strip when a stamp is given.
bool WriteStampedDiagram(const DiagramKind& kind, kes::Model& m, DiagramTextState& text,
                         const QString& fileName, const std::optional<PictureStamp>& stamp,
                         QString* error = nullptr);

} // namespace diagrams
