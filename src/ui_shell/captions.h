#pragma once
// The window captions: program, data-set name, date, time and version.

#include <QString>

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
