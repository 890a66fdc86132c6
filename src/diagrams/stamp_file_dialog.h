// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Save Image..." file dialog of the diagram windows, with the check box
// that decides whether the saved picture carries its footer strip.

#include <QString>

class QWidget;

namespace diagrams {

// *stamp starts the check box and receives its state. The chosen name, or
// empty.
QString ChooseImageFileWithStamp(QWidget* parent, const QString& caption, bool* stamp);

} // namespace diagrams
