// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts need a GUI application. The benchmarks' own main (bench_main.cpp)
// makes one, off screen, before any benchmark runs and destroys it before
// Qt's own statics go.

#include <QGuiApplication>

// Stops a benchmark that would paint without the application.
inline void EnsureGuiApplication() {
    if (!QCoreApplication::instance()) qFatal("kestrove-bench: no QGuiApplication");
}
