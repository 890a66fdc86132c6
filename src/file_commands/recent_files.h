// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The File menu's recent files (the last eight opened or saved) and the
// folder the file dialogs start in, kept between runs with QSettings.

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

class RecentFiles {
  public:
    static constexpr int MaxCount = 8;

    // An empty path: the user's settings of the application; otherwise an
    // INI file of its own (the tests use a temporary one).
    explicit RecentFiles(const QString& settingsFile = {});
    ~RecentFiles();

    // Newest first; at most MaxCount absolute paths.
    QStringList Files() const;
    // Puts path at the front (once), drops the oldest beyond MaxCount and
    // remembers its folder as the last folder.
    void Add(const QString& path);
    void Remove(const QString& path);
    // The folder of the last file chosen in a dialog ("" before the first).
    QString LastFolder() const;
    void SetLastFolder(const QString& folder);

  private:
    std::unique_ptr<QSettings> settings_;
};
