// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_commands/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString FilesKey = QStringLiteral("RecentFiles/Files");
const QString FolderKey = QStringLiteral("RecentFiles/LastFolder");

QString Absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}
} // namespace

RecentFiles::RecentFiles(const QString& settingsFile)
    : settings_(settingsFile.isEmpty()
                    ? std::make_unique<QSettings>()
                    : std::make_unique<QSettings>(settingsFile, QSettings::IniFormat)) {}

RecentFiles::~RecentFiles() = default;

QStringList RecentFiles::Files() const {
    QStringList files = settings_->value(FilesKey).toStringList();
    files.removeAll(QString());
    if (files.size() > MaxCount) files = files.mid(0, MaxCount);
    return files;
}

void RecentFiles::Add(const QString& path) {
    if (path.isEmpty()) return;
    const QString full = Absolute(path);
    QStringList files = Files();
    files.removeAll(full);
    files.prepend(full);
    while (files.size() > MaxCount)
        files.removeLast();
    settings_->setValue(FilesKey, files);
    SetLastFolder(QFileInfo(full).absolutePath());
}

void RecentFiles::Remove(const QString& path) {
    QStringList files = Files();
    if (files.removeAll(Absolute(path)) > 0) settings_->setValue(FilesKey, files);
    settings_->sync();
}

QString RecentFiles::LastFolder() const {
    return settings_->value(FolderKey).toString();
}

void RecentFiles::SetLastFolder(const QString& folder) {
    if (folder.isEmpty()) return;
    settings_->setValue(FolderKey, folder);
    settings_->sync();
}
