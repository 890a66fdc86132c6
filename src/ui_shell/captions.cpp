// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui_shell/captions.h"

#include "kestrove_version.h"
#include "model/model.h"

#include <QDateTime>
#include <QLocale>

#include <utility>

namespace {

QString CaptionBody(const kes::Model& m) {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    return QString::fromStdString(m.DataSetName) + QStringLiteral("     ") +
           locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral("   ") +
           locale.toString(now.time(), QLocale::LongFormat) + QStringLiteral("   ") +
           QStringLiteral("Version " KESTROVE_VERSION);
}

} // namespace

QString WindowCaption(const kes::Model& m, const QString& prefix) {
    return prefix + CaptionBody(m);
}

bool CaptionClock::Update(const kes::Model& m) {
    // The epoch second needs no time zone; the local time shown changes only
    // when it does.
    const int64_t second = QDateTime::currentSecsSinceEpoch();
    if (second == second_ && m.DataSetName == name_) return false;
    second_ = second;
    name_ = m.DataSetName;
    QString body = CaptionBody(m);
    if (body == body_) return false;
    body_ = std::move(body);
    return true;
}
