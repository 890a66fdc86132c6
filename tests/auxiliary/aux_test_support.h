// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared set-up of the auxiliary windows' tests: headless platform, the one
// offscreen message filtered, and optional PNG captures for review.

#include <QImage>
#include <QString>
#include <QWidget>
#include <QtGlobal>

#include <cstdlib>
#include <cstring>

namespace aux_test {

inline QtMessageHandler previousHandler = nullptr;

inline void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.contains(QStringLiteral("This plugin does not support propagateSizeHints()"))) return;
    if (previousHandler) previousHandler(type, context, msg);
}

// Call first thing in main, before the application object exists.
inline void PrepareHeadless() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
}

// Call from initTestCase: the test library installs its own handler when
// the run starts, and this one passes everything else on to it.
inline void FilterOffscreenMessage() {
    previousHandler = qInstallMessageHandler(FilterMessages);
}

// Grabs a shown window; with KESTROVE_AUX_SHOTS set to a folder, also saves
// it there as name.png for a person to look at.
inline QImage Capture(QWidget& w, const char* name) {
    const QImage image = w.grab().toImage();
    const char* folder = std::getenv("KESTROVE_AUX_SHOTS");
    if (folder && std::strlen(folder) > 0)
        image.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QString::fromLatin1(name) +
                   QStringLiteral(".png"));
    return image;
}

} // namespace aux_test
