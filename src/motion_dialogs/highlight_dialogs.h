// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the main window's dimension highlight reaches the two dimension
// dialogs: it closes the open one while it shows a dimension, and opens it
// again (modal) when it is done.

#include "picture/draw_state.h"

#include <QPointer>

class QDialog;

class HighlightDialogs {
  public:
    virtual ~HighlightDialogs() = default;
    // Called on every frame of the highlight, from inside the tick: close the
    // dialog if it is open. Must not run an event loop.
    virtual void CloseDimensionDialog(HighlightTarget which) = 0;
    // Open the dialog again, modal. Called from the event loop after the
    // tick has finished, never from inside it.
    virtual void ReopenDimensionDialog(HighlightTarget which) = 0;
};

// The plain way in: done() ends the dialog's exec(), and exec() opens it again.
class DialogHighlightLink : public HighlightDialogs {
  public:
    DialogHighlightLink(QDialog* frameDialog, QDialog* cylinderDialog);
    void CloseDimensionDialog(HighlightTarget which) override;
    void ReopenDimensionDialog(HighlightTarget which) override;

  private:
    QDialog* Find(HighlightTarget which) const;
    QPointer<QDialog> frame_;
    QPointer<QDialog> cylinder_;
};
