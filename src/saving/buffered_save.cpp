// SPDX-License-Identifier: GPL-3.0-or-later
#include "saving/buffered_save.h"

#include "files/whole_file.h"

#include <QBuffer>
#include <QFile>

#include <string_view>

namespace saving {

bool SaveBytes(const QString& fileName, const QByteArray& bytes, QString* error) {
    const std::string path = QFile::encodeName(fileName).toStdString();
    const kes::FileResult r = kes::WriteWholeFile(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!r.Ok && error) *error = QString::fromStdString(r.Message);
    return r.Ok;
}

bool SaveThroughBuffer(const QString& fileName, const Producer& produce, QString* error) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QString why;
        if (!produce(buffer, &why)) {
            if (error)
                *error = why.isEmpty() ? QStringLiteral("Cannot write %1").arg(fileName) : why;
            return false;
        }
    }
    return SaveBytes(fileName, bytes, error);
}

} // namespace saving
