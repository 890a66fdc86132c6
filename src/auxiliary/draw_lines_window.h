// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TDrawLines, the lines-and-circles editor. Twenty items of the model's
// LineTable are drawn over the mechanism: each is a line or a circle, fixed
// in the frame or carried by one or two pivots of the gear. The editor writes
// the model as soon as a field changes, so the main picture follows at once.
//
// Picking a pivot: "Pick Pivots" hides the window and sets
// model.LinesPickWaiting (the main picture then shows its prompts). The main
// window passes each click to ChoicesComplete / PickAtReferencePoint (or
// PivotPicked) and shows this window again when the pick is complete.

#include <QDialog>
#include <QPointF>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class MainFormLink;

namespace kes {
struct Model;
struct LineItem;
} // namespace kes

class TDrawLines : public QDialog {
    Q_OBJECT
  public:
    TDrawLines(kes::Model& model, MainFormLink& link, QWidget* parent = nullptr);

    // Rewrites every field from the LineTable and marks CurrentItem's row.
    // The file commands call it after a file is opened or imported.
    void RefreshFromModel();

    // True while the window waits for a pick and the current item's type,
    // colour and reference are all chosen; *refChoice (when given) receives
    // the reference mode: below 3 one left-button pick completes it, 3 needs
    // a left-button pick and then a right-button pick.
    bool ChoicesComplete(int* refChoice = nullptr) const;
    // The main window's click chose point-table slot pointIndex. The left
    // button sets pivot 1, the right button pivot 2 (reference 3 only, after
    // a left pick). Returns true when the pick is complete: the wait is over
    // and the main window should show this window again. Clicks that do not
    // fit (no wait, wrong button, a slot that is not a pivot) are ignored.
    bool PivotPicked(int pointIndex, bool rightButton);
    // The same, choosing the pivot nearest to reference point 1 (left
    // button) or 2 (right button), where the main window has just put the
    // clicked world point.
    bool PickAtReferencePoint(bool rightButton);
    // Ends a wait without a pick (the prompts go away).
    void CancelPick();

    // The pickable pivot nearest to a world point (least |dX| + |dY|, the
    // lower slot on a tie), or -1 when there is none.
    static int NearestPivot(const kes::Model& m, float x, float y);
    // World position of a pivot slot; the two gear-mount-relative pivots
    // (6, 11) and their copies (17, 18) give their absolute positions.
    static QPointF PivotPosition(const kes::Model& m, int pointIndex);
    // Text for a pivot slot, e.g. "8 Valve-rod front pin".
    static QString PivotName(int pointIndex);

  public slots:
    // "Pick Pivots": start waiting for the current item's pivots.
    void StartPick();
    // "Clear Item": the current item back to unset (-1 everywhere).
    void ClearCurrentItem();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    struct RowWidgets {
        QComboBox* Type = nullptr;
        QComboBox* Color = nullptr;
        QComboBox* RefMode = nullptr;
        QComboBox* Pivot1 = nullptr;
        QComboBox* Pivot2 = nullptr;
    };

    kes::LineItem& Item(int item);
    // The lines and circles are stored with the design: a change is an edit.
    void NoteEdit(int item, const kes::LineItem& before);
    int CurrentItemIndex() const; // 1..20
    void SetCurrentItem(int item);
    void RefreshRow(int item);
    void UpdateStatus();
    void ComboChanged(int item, int column);
    void NumberEdited(int row, int column);
    bool CompletePick();

    kes::Model& model_;
    [[maybe_unused]] MainFormLink& link_;
    QTableWidget* table_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* pickButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    std::array<RowWidgets, 21> rows_{}; // 1..20 used
    bool refreshing_ = false;
    bool firstPivotPicked_ = false; // the latch for reference 3
};
