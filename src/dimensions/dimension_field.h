// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The entry field of the two dimension dialogs. Both dialogs share its
// behaviour: the key filter, the typed flag, and taking the value when the
// field is left.

#include <QLineEdit>
#include <QString>

#include <memory>
#include <string_view>

class MainFormLink;

namespace kes {
struct Model;
}

// State shared by every dimension field of both dialogs. TypedFlag is set by
// an accepted key in a field with a dimension id and cleared when such a
// field is left, so a key typed in one dialog can still count in the other.
struct DimensionFieldState {
    bool TypedFlag = false;
};

// The value of a field's text (kes::ParseTypedValue, leading blanks skipped):
// the longest leading part that is a number ("5-" gives 5, "-.5" gives
// -0.5), 0 when there is none ("-", ".", "-."). Never NaN; values beyond the
// range of a 32-bit real are held at its limit.
float ParseFieldText(std::string_view text);
float ParseFieldText(const QString& text);

// The text a field shows for a value: three decimals, at least five
// characters, at most the first ten.
QString FieldDisplayText(float value);
// The same without the ten-character cut.
QString FieldFullText(float value);

// Leaving a field with a dimension id: an undo entry when the flag is set,
// the value stored, the dimension selected as the newest dynamic variable,
// the entry completed and the flag cleared. The model keeps the pivot copies
// and the valve-stem joint height.
void LeaveDimensionField(kes::Model& model, MainFormLink& link, DimensionFieldState& state,
                         int dimensionId, float value);

class DimensionField : public QLineEdit {
    Q_OBJECT
  public:
    // dimensionId 0: a field that takes part in neither the typed flag, the
    // dynamic variables nor the undo record (RevArmNorm, RevArmMax).
    DimensionField(int dimensionId, std::shared_ptr<DimensionFieldState> state,
                   QWidget* parent = nullptr);

    int DimensionId() const { return dimensionId_; }
    // Enter moves the focus here.
    void SetEnterTarget(QWidget* target) { enterTarget_ = target; }

    // Shows a value (the dialog's activation).
    void ShowValue(float value);
    // The value the text stands for. A text cut to ten characters for
    // display and left as it was stands for the whole value it was cut from.
    float Value() const;

    // Takes the value now if the field was entered and not yet left (the
    // dialog closing with the focus in the field).
    void LeaveNow();

  signals:
    // The field was left; the dialog stores the value.
    void Left();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Typed();

    int dimensionId_;
    std::shared_ptr<DimensionFieldState> state_;
    QWidget* enterTarget_ = nullptr;
    bool entered_ = false;
    QString shownText_; // what ShowValue put in the field
    QString fullText_;  // the same before the ten-character cut
};
