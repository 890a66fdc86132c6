// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the frame and the cylinder dimension dialogs have in common: rows of
// small buttons, labels painted on the dialog and silver fields; showing the
// values each time the dialog is shown; "Close".

#include "dimensions/dimension_field.h"

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>

#include <array>
#include <functional>
#include <memory>

class QPushButton;
class MainFormLink;

namespace kes {
struct Model;
}

// The two columns both dialogs are laid out in, in pixels before the text
// scale: each row has a small button, a label and a field.
namespace dimension_columns {
constexpr int RowHeight = 13;
constexpr std::array<int, 2> SmallButtonX = {0, 194};
constexpr int SmallButtonWidth = 8;
constexpr std::array<int, 2> FieldX = {146, 342};
constexpr int FieldWidth = 40;
constexpr int FieldHeight = 13;
constexpr std::array<int, 2> LabelX = {10, 204};
constexpr int HelpX = 1;
} // namespace dimension_columns

class DimensionDialog : public QDialog {
    Q_OBJECT
  public:
    // A text painted on the dialog: its top-left corner, scaled.
    struct DrawnText {
        QString Text;
        QPoint Origin;
    };

    // Field N and its small button (nullptr outside 1..count).
    DimensionField* Field(int n) const;
    QPushButton* SmallButton(int n) const;
    int FieldCount() const { return static_cast<int>(fields_.size()) - 1; }
    QPushButton* CloseButton() const { return close1_; }
    // The labels and help lines at the current text scale.
    QVector<DrawnText> DrawnTexts() const;
    // The horizontal squeeze of the painted texts (at most 1): the font's
    // letters are wider than the layout's, so every text is narrowed alike
    // until each ends before the next control on its line.
    double TextStretch() const;
    // The geometry a control was laid out with, before scaling.
    QRect BaseGeometry(const QWidget* w) const;
    // Pixels each field is widened by so that it holds a value of eight
    // characters in the dialog's font; everything right of a field column
    // moves right by as much.
    int FieldGrowth() const { return fieldGrowth_; }
    const std::shared_ptr<DimensionFieldState>& FieldState() const { return state_; }

    // Shows the values in the fields (each time the dialog is shown).
    void FormActivate();
    // "Close": mid gear found again, the reverse-arm bar to 0, the cut-off
    // read-outs cleared, the dialog closed.
    void Close1Click();

  protected:
    DimensionDialog(kes::Model& model, MainFormLink& link,
                    std::shared_ptr<DimensionFieldState> state, QWidget* parent);

    // Building the layout (coordinates before scaling).
    void SetClientSize(int width, int height);
    DimensionField* AddField(int n, int dimensionId, QRect rect);
    QPushButton* AddSmallButton(int n, QRect rect);
    QPushButton* AddButton(const QString& objectName, const QString& caption, QRect rect);
    void AddText(const QString& text, int x, int y);
    // Field n and small button n in column 0 (left) or 1 (right), their tops
    // at y; a small button may span more than one row.
    DimensionField* AddColumnField(int n, int dimensionId, int column, int y);
    QPushButton* AddColumnSmallButton(int n, int column, int y, int height);
    // The two help lines below the columns, the first with its top at y.
    void AddHelpLines(const QString& first, const QString& second, int y);
    // The close button; Enter in a field moves the focus to it.
    void SetCloseButton(QPushButton* button);
    // Runs mouseDown when a mouse button is pressed on the button.
    void OnMouseDown(QPushButton* button, std::function<void()> mouseDown);

    // The value field N shows.
    virtual float ShownValue(int n) const = 0;
    // Field N was left.
    virtual void EditExit(int n) = 0;
    // Small button N was clicked.
    virtual void ButtonClick(int n) = 0;

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    kes::Model& model_;
    MainFormLink& link_;

  private:
    struct Placed {
        QWidget* Widget;
        QRect Rect;
    };
    struct Text {
        QString Text;
        int X, Y;
    };
    void ApplyScale();
    // The shift of a control or text at base x, from the widened fields left of it.
    int GrowthShift(int baseX) const;
    double ScaleX() const;
    double ScaleY() const;

    std::shared_ptr<DimensionFieldState> state_;
    QVector<DimensionField*> fields_{nullptr}; // 1-based
    QVector<QPushButton*> smallButtons_{nullptr};
    QVector<Placed> placed_;
    QVector<Text> texts_;
    QVector<QPair<QPushButton*, std::function<void()>>> mouseDown_;
    QPushButton* close1_ = nullptr;
    int clientWidth_ = 0, clientHeight_ = 0;
    int fieldGrowth_ = 0;
};
