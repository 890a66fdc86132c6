// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shape shared by the main window's one-value dialogs (reverse-arm
// position, driver angle, step angle, graphic zoom): "Enter", one entry
// field, a few lines of range texts, "OK" and "Cancel". The values are read
// when the dialog is shown and taken when "OK" is pressed.

#include <QDialog>
#include <QStringList>
#include <QVector>

class QLabel;
class QPushButton;
class NumericEntry;

class ValueDialog : public QDialog {
    Q_OBJECT
  public:
    NumericEntry* Field() const { return field_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  protected:
    // texts: the range lines under the field ("Min = 0.00", ...); lines whose
    // text is empty are filled in by Activate().
    ValueDialog(const QString& title, const QStringList& texts, bool allowMinus, QWidget* parent);

    QLabel* TextLine(int i) const { return lines_.value(i); }

    // The dialog is shown: fill the field and the texts.
    virtual void Activate() = 0;
    // "OK": take the value.
    virtual void Apply() = 0;

    void showEvent(QShowEvent* event) override;

  private:
    NumericEntry* field_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QVector<QLabel*> lines_;
};
