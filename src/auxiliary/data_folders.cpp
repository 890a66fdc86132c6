// SPDX-License-Identifier: GPL-3.0-or-later
#include "auxiliary/data_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace data_folders {

namespace {

// Two spellings of one folder (a link, "bin/.." against "."), compared as
// the folder itself where it exists.
QString Identity(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
}

} // namespace

QString InstalledFolder(const QString& programDir) {
    if (programDir.isEmpty()) return QString();
    return QDir::cleanPath(QDir(programDir).filePath(InstalledRelative));
}

QStringList Folders(const QString& workingDir, const QString& programDir) {
    QStringList folders;
    QStringList seen;
    for (const QString& folder : {workingDir, programDir, InstalledFolder(programDir)}) {
        if (folder.isEmpty()) continue;
        const QString id = Identity(folder);
        if (seen.contains(id)) continue;
        seen << id;
        folders << folder;
    }
    return folders;
}

QStringList DefaultFolders() {
    return Folders(QDir::currentPath(), QCoreApplication::applicationDirPath());
}

QString FindFile(const QString& name, const QStringList& folders) {
    for (const QString& folder : folders) {
        const QFileInfo info(QDir(folder), name);
        if (info.isFile()) return info.absoluteFilePath();
    }
    return QString();
}

} // namespace data_folders
