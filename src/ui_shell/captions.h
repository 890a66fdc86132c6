// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window captions: program, data-set name, date, time and version.

#include <QString>

#include <cstdint>
#include <string>

namespace kes {
struct Model;
}

namespace captions {
inline const QString Main = QStringLiteral("KESTROVE            ");
inline const QString Sine = QStringLiteral("KESTROVE      Sine Diagram    ");
inline const QString Oval = QStringLiteral("KESTROVE      Oval Diagram    ");
inline const QString Steam = QStringLiteral("KESTROVE      Steam Diagram    ");
inline const QString Ports = QStringLiteral("KESTROVE      Port Open/Closed    ");
inline const QString DataTable = QStringLiteral("KESTROVE  Data Table   ");
} // namespace captions

// prefix + DataSetName + "     " + date + "   " + time + "   Version " and
// the project's version (2.6)
QString WindowCaption(const kes::Model& m, const QString& prefix);

// The part of every caption after its prefix, rebuilt only when its text can
// change: when the clock passes into a new second or the data-set name
// changes. Formatting the date and time goes through the locale and the time
// zone, far too dear for every tick.
class CaptionClock {
  public:
    // True when the text changed since the last call.
    bool Update(const kes::Model& m);
    // prefix + DataSetName + date, time and version, as WindowCaption.
    QString Caption(const QString& prefix) const { return prefix + body_; }

  private:
    int64_t second_ = INT64_MIN;
    std::string name_;
    QString body_;
};
