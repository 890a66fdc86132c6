// SPDX-License-Identifier: GPL-3.0-or-later
// KESTROVE: the Baker valve gear designer. One model for the whole run,
// handed to the main window, which creates every other window.
//
//   kestrove [--tick-ms N] [FILE]
//       N = 1..1000 milliseconds between animation ticks (default 16, one
//       tick per displayed frame); FILE a ".kvd" (or ".kvx") design to open.
//   kestrove --print-paths
//       where the instruction texts and sounds are found; exit status 1
//       when one is missing.

#include "file_commands/file_commands.h"
#include "main/data_paths.h"
#include "main/main_form.h"
#include "main/ui_settings.h"
#include "model/model.h"

#include <QApplication>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

constexpr int MinTickMs = 1;
constexpr int MaxTickMs = 1000;

struct Options {
    int TickMs = TMainForm::DefaultTickMs;
    QString File;
};

std::optional<int> ParseTickMs(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < MinTickMs || v > MaxTickMs) return std::nullopt;
    return v;
}

// Returns nullopt (after a message) for arguments it does not understand.
// Qt's own options (-platform ...) have been taken out already.
std::optional<Options> ParseArguments(const QStringList& args) {
    Options o;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        std::optional<int> tick;
        if (a == QLatin1String("--tick-ms")) {
            if (i + 1 < args.size()) tick = ParseTickMs(args[++i]);
        } else if (a.startsWith(QLatin1String("--tick-ms="))) {
            tick = ParseTickMs(a.mid(10));
        } else if (!a.startsWith(QLatin1Char('-')) && o.File.isEmpty()) {
            o.File = a;
            continue;
        } else {
            std::fprintf(stderr, "kestrove: unknown argument \"%s\"\n", qPrintable(a));
            return std::nullopt;
        }
        if (!tick) {
            std::fprintf(stderr, "kestrove: --tick-ms takes a whole number from %d to %d\n",
                         MinTickMs, MaxTickMs);
            return std::nullopt;
        }
        o.TickMs = *tick;
    }
    return o;
}

} // namespace

int main(int argc, char** argv) {
    // Qt's high-DPI scaling is read when the application starts.
    ApplyInterfaceScaleAtStart();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KESTROVE"));
    QApplication::setOrganizationName(QStringLiteral("KESTROVE"));
    if (QApplication::arguments().contains(QLatin1String("--print-paths"))) {
        const DataPathsReport report = ReportDataPaths();
        std::fputs(qPrintable(report.Text), stdout);
        return report.AllFound ? 0 : 1;
    }
    const std::optional<Options> options = ParseArguments(QApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "usage: kestrove [--tick-ms N] [FILE.kvd|FILE.kvx]\n");
        return 2;
    }
    kes::Model model;
    TMainForm form(model, options->TickMs);
    UiSettings settings;
    settings.RestoreInto(form, model);
    form.show();
    // A file that cannot be read: the usual message, and the factory design.
    if (!options->File.isEmpty()) form.Files()->OpenPath(options->File);
    const int status = QApplication::exec();
    settings.SaveFrom(form, model);
    return status;
}
