// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The entry field of the main window's small dialogs: only digits,
// backspace, one "." and, where allowed, one "-" get in; every other key is
// discarded. Navigation keys, Tab and Enter keep their usual work.

#include <QLineEdit>

class NumericEntry : public QLineEdit {
    Q_OBJECT
  public:
    explicit NumericEntry(bool allowMinus, QWidget* parent = nullptr);

    bool AllowsMinus() const { return allowMinus_; }
    // The value of the text: its longest leading number, 0 when there is none.
    float Value() const;
    // Shows a text as typed by the program (not as an edit of the user).
    void Show(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool allowMinus_;
};
