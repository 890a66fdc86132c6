#include "ui_shell/captions.h"

#include "kestrove_version.h"
#include "model/model.h"

#include <QDateTime>
#include <QLocale>

QString WindowCaption(const kes::Model& m, const QString& prefix) {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    return prefix + QString::fromStdString(m.DataSetName) + QStringLiteral("     ") +
           locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral("   ") +
           locale.toString(now.time(), QLocale::LongFormat) + QStringLiteral("   ") +
           QStringLiteral("Version " KESTROVE_VERSION);
}
