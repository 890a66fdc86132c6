// SPDX-License-Identifier: GPL-3.0-or-later
#include "dimensions/dimension_field.h"

#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/format.h"
#include "model/model.h"
#include "model/typed_value.h"
#include "ui_shell/main_form_link.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>

#include <string>
#include <utility>

namespace {

constexpr int DisplayWidth = 5;
constexpr int DisplayDecimals = 3;
constexpr int DisplayMaxChars = 10;

// Keys that move the cursor or the selection, or copy; they change no text.
bool IsNavigation(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        return true;
    default:
        return e->matches(QKeySequence::SelectAll) || e->matches(QKeySequence::Copy);
    }
}

// Keys that would change the text behind the key filter's back.
bool IsForbiddenEdit(const QKeyEvent* e) {
    return e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut) ||
           e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo);
}

} // namespace

float ParseFieldText(std::string_view text) {
    return kes::ParseTypedValue(text, true);
}

float ParseFieldText(const QString& text) {
    const std::string utf8 = text.toStdString();
    return ParseFieldText(std::string_view(utf8));
}

QString FieldFullText(float value) {
    return QString::fromStdString(kes::FormatFixed(value, DisplayWidth, DisplayDecimals));
}

QString FieldDisplayText(float value) {
    return FieldFullText(value).left(DisplayMaxChars);
}

void LeaveDimensionField(kes::Model& model, MainFormLink& link, DimensionFieldState& state,
                         int dimensionId, float value) {
    if (!kes::IsDimensionId(dimensionId)) return;
    const bool typed = state.TypedFlag;
    const float before = kes::GetDimension(model, dimensionId);
    kes::SetDimension(model, dimensionId, value);
    // The dimension becomes the most recent dynamic variable; the slot's
    // value goes back into the dimension, which keeps the pivot copies and
    // the valve-stem joint height.
    kes::SelectDimension(model, dimensionId);
    kes::SetDimension(model, dimensionId, model.DynVarSlots[0].Value);
    // A typed edit that leaves the value as it was records nothing.
    const float after = kes::GetDimension(model, dimensionId);
    if (after != before) kes::BumpDesignRevision(model);
    if (typed && after != before) {
        kes::RecordDimensionEdit(model, dimensionId, before, after);
        link.RefreshUndoButton();
    }
    state.TypedFlag = false;
}

DimensionField::DimensionField(int dimensionId, std::shared_ptr<DimensionFieldState> state,
                               QWidget* parent)
    : QLineEdit(parent), dimensionId_(dimensionId), state_(std::move(state)) {
    if (!state_) state_ = std::make_shared<DimensionFieldState>();
    // Text reaches the field only through the key filter: no paste by menu,
    // drop or input method.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void DimensionField::ShowValue(float value) {
    fullText_ = FieldFullText(value);
    shownText_ = fullText_.left(DisplayMaxChars);
    setText(shownText_);
    // The start of the value (its sign) stays in sight, not its end.
    setCursorPosition(0);
}

float DimensionField::Value() const {
    const QString current = text();
    if (current == shownText_ && fullText_ != shownText_) return ParseFieldText(fullText_);
    return ParseFieldText(current);
}

void DimensionField::LeaveNow() {
    if (!entered_) return;
    entered_ = false;
    emit Left();
}

void DimensionField::Typed() {
    if (dimensionId_ != 0) state_->TypedFlag = true;
}

void DimensionField::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter counts as typed, moves the focus on (which leaves the field)
        // and goes no further.
        Typed();
        event->accept();
        if (enterTarget_) enterTarget_->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (IsForbiddenEdit(event)) {
        event->accept();
        return;
    }
    if (key == Qt::Key_Backspace) {
        Typed();
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    const auto commandKeys = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (typed.size() == 1 && !(event->modifiers() & commandKeys)) {
        const QChar c = typed.at(0);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            Typed();
            QLineEdit::keyPressEvent(event);
            return;
        }
        if (c == QLatin1Char('-') || c == QLatin1Char('.')) {
            Typed();
            // One minus sign and one point at most, anywhere in the text as
            // it will be once the key has replaced the selection.
            QString after = text();
            if (hasSelectedText()) after.remove(selectionStart(), selectedText().size());
            if (after.contains(c)) {
                event->accept();
                return;
            }
            QLineEdit::keyPressEvent(event);
            return;
        }
    }
    if (key == Qt::Key_Delete) {
        // Delete edits the text like backspace, so it counts as typed.
        Typed();
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (IsNavigation(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept(); // every other key is discarded
}

void DimensionField::focusInEvent(QFocusEvent* event) {
    entered_ = true;
    QLineEdit::focusInEvent(event);
}

void DimensionField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Another window or a popup taking the focus does not leave the field.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    LeaveNow();
    if (!hasFocus()) setCursorPosition(0);
}

void DimensionField::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept(); // no paste of the selection
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void DimensionField::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}
