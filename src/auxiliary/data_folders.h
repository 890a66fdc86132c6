// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program's own files (the instruction texts, the sounds) are
// looked for: the working folder, then beside the program (a build tree),
// then the installed data folder, <prefix>/share/kestrove, found from the
// program's folder (<prefix>/bin) so an installed tree can be moved whole.

#include <QString>
#include <QStringList>

namespace data_folders {

// The installed data folder, relative to the program's folder.
inline const QString InstalledRelative = QStringLiteral("../share/kestrove");

// The installed data folder of a program in programDir; empty for an empty
// programDir.
QString InstalledFolder(const QString& programDir);

// workingDir, programDir and the installed folder, in that order, skipping
// empty ones and any that name a folder already listed.
QStringList Folders(const QString& workingDir, const QString& programDir);
// The same for this run: the current folder and the running program's.
QStringList DefaultFolders();

// The first regular file called name in folders, as an absolute path;
// empty when none has it.
QString FindFile(const QString& name, const QStringList& folders);

} // namespace data_folders
