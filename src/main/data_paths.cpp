// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/data_paths.h"

#include "auxiliary/data_folders.h"
#include "auxiliary/instructions_window.h"
#include "main/sound_player.h"

#include <QDir>

DataPathsReport ReportDataPaths() {
    const QStringList folders = data_folders::DefaultFolders();
    DataPathsReport report;
    report.AllFound = true;
    for (const QString& name :
         {InstructFileName, SpecialFileName, ExhaustSoundFile, ErrorSoundFile}) {
        const QString path = data_folders::FindFile(name, folders);
        if (path.isEmpty()) report.AllFound = false;
        report.Text += QStringLiteral("%1\t%2\n")
                           .arg(name, path.isEmpty() ? QStringLiteral("not found")
                                                     : QDir::toNativeSeparators(path));
    }
    return report;
}
