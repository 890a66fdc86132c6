// KESTROVE: the Baker valve gear designer. One model for the whole run,
// handed to the main window, which creates every other window.
//
//   kestrove [--tick-ms N]   N = 1..1000 milliseconds between animation ticks
//                            (default 16, one tick per displayed frame)

#include "main/main_form.h"
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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KESTROVE"));
    const std::optional<Options> options = ParseArguments(QApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "usage: kestrove [--tick-ms N]\n");
        return 2;
    }
    kes::Model model;
    TMainForm form(model, options->TickMs);
    form.show();
    return QApplication::exec();
}
