// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TDataTable, "Pivot Data Table": the pivot data of the active pivot slots
// over one driver turn, as read-only text that copies into a spreadsheet
// (tab-separated columns). The table is worked out afresh each time the
// window is shown.

#include <QDialog>

class QAction;
class QPlainTextEdit;
class MainFormLink;

namespace kes {
struct Model;
}

class TDataTable : public QDialog {
    Q_OBJECT
  public:
    TDataTable(kes::Model& model, MainFormLink& link, QWidget* parent = nullptr);

    // Solves the turn again and rewrites the text.
    void Recompute();
    // The caption from the main window's caption code (data-set name, time).
    // While the window is open the main window's tick keeps it, with the
    // captions of the diagrams, as the clock turns.
    void RefreshCaption();
    QString Text() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    kes::Model& model_;
    [[maybe_unused]] MainFormLink& link_;
    QPlainTextEdit* text_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* selectAll_ = nullptr;
};
