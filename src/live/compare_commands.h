// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Compare With..." (a dimension file), "Compare With Before" and "Clear
// Comparison": the commands that choose the second design. The main window
// puts them in its menu; every live diagram window has them too.

#include <QString>

#include <functional>

class QAction;
class QWidget;

namespace overlay {
class ComparedDesign;
}

namespace live {

inline const QString CompareWithCaption = QString::fromUtf8("Compare &With\u2026");
inline const QString CompareBeforeCaption = QStringLiteral("Compare With &Before");
inline const QString CompareClearCaption = QStringLiteral("C&lear Comparison");

// Reads the file and shows it as the second design; false with *error set
// when it cannot be read (the comparison stays as it was).
bool CompareWithFile(overlay::ComparedDesign& compared, const QString& path,
                     QString* error = nullptr);

struct CompareActions {
    QAction* With = nullptr;
    QAction* Before = nullptr;
    QAction* Clear = nullptr;
};
// The three commands, owned by owner. chooser gives the file name (the
// file dialog when empty); a file that cannot be read is reported in a
// message box. "Compare With Before" is enabled while a design is kept.
CompareActions MakeCompareActions(QWidget* owner, overlay::ComparedDesign& compared,
                                  std::function<QString()> chooser = {});

} // namespace live
