#pragma once
// Texts need a GUI application; the benchmarks share one, made once and off
// screen, by whichever runs first.

#include <QGuiApplication>

#include <memory>

inline void EnsureGuiApplication() {
    static int argc = 1;
    static char name[] = "kestrove-bench";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app;
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
}
