// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/numeric_entry.h"

#include "controls/controls.h"

#include <QKeyEvent>
#include <QValidator>

namespace {

// Pasted or dropped text follows the same rule as typed keys. Blanks are let
// through: the program's own fixed-width texts start with them.
class EntryValidator : public QValidator {
  public:
    EntryValidator(bool allowMinus, QObject* parent)
        : QValidator(parent), allowMinus_(allowMinus) {}
    State validate(QString& input, int&) const override {
        int dots = 0, minus = 0;
        for (const QChar c : input) {
            if (c.isDigit() || c == QLatin1Char(' ')) continue;
            if (c == QLatin1Char('.') && ++dots <= 1) continue;
            if (c == QLatin1Char('-') && allowMinus_ && ++minus <= 1) continue;
            return Invalid;
        }
        return Acceptable;
    }

  private:
    bool allowMinus_;
};

// The text as it will be once the selection is replaced by a typed key.
QString TextOutsideSelection(const QLineEdit& edit) {
    QString text = edit.text();
    if (edit.hasSelectedText()) text.remove(edit.selectionStart(), edit.selectedText().size());
    return text;
}

} // namespace

NumericEntry::NumericEntry(bool allowMinus, QWidget* parent)
    : QLineEdit(parent), allowMinus_(allowMinus) {
    setValidator(new EntryValidator(allowMinus, this));
}

float NumericEntry::Value() const {
    return kes::ParseTypedValue(text().trimmed().toStdString());
}

void NumericEntry::Show(const QString& text) {
    setText(text);
    setModified(false);
}

void NumericEntry::keyPressEvent(QKeyEvent* event) {
    const QString t = event->text();
    const bool typesText = !t.isEmpty() && t.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typesText) {
        const QString rest = TextOutsideSelection(*this);
        bool accepted = false;
        if (t.size() == 1) {
            const QChar c = t.at(0);
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                accepted = true;
            else if (c == QLatin1Char('.'))
                accepted = !rest.contains(QLatin1Char('.'));
            else if (c == QLatin1Char('-'))
                accepted = allowMinus_ && !rest.contains(QLatin1Char('-'));
        }
        if (!accepted) {
            event->accept(); // discarded
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}
