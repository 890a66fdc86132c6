// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the data table and the instruction windows share: a read-only text
// in a monospace font above a "Close" button at the right.

class QDialog;
class QFont;
class QPlainTextEdit;
class QVBoxLayout;

namespace text_window {

// The text's font: "DejaVu Sans Mono" 9 pt.
QFont Font();
// The read-only text "Memo1" in that font.
QPlainTextEdit* NewText(QDialog* dialog);
// Lays the dialog out: the text, growing with the dialog, above a row with
// the "Close" button ("Close1") at the right, which closes the dialog.
QVBoxLayout* LayOut(QDialog* dialog, QPlainTextEdit* text);

} // namespace text_window
