// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the Qt writers (QPdfWriter, QSvgGenerator, QImageWriter, text
// tables) put a file on disk. They paint or write into a buffer in memory;
// the buffer then replaces the file whole through kes::WriteWholeFile, which
// checks every write, the sync and the close before the rename. A QSaveFile
// is not used: with this Qt its commit() can report success after its final
// flush failed on a full disk.

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

namespace saving {

// Fills device with the file's contents; false (and *why) when it could not.
using Producer = std::function<bool(QIODevice& device, QString* why)>;

// Runs produce into a buffer, then replaces fileName with it. On failure the
// old file is as it was and *error says why ("Disk full", ...).
bool SaveThroughBuffer(const QString& fileName, const Producer& produce, QString* error);

// The same for contents already made.
bool SaveBytes(const QString& fileName, const QByteArray& bytes, QString* error);

} // namespace saving
