// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `kestrove --print-paths`: where this run finds its instruction texts and
// sounds, one "NAME<tab>PATH" line each ("NAME<tab>not found" otherwise),
// for checking an installed program without opening a window.

#include <QString>

// The report, and whether every file was found.
struct DataPathsReport {
    QString Text;
    bool AllFound = false;
};

DataPathsReport ReportDataPaths();
