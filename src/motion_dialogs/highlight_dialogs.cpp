// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/highlight_dialogs.h"

#include <QDialog>

DialogHighlightLink::DialogHighlightLink(QDialog* frameDialog, QDialog* cylinderDialog)
    : frame_(frameDialog), cylinder_(cylinderDialog) {}

QDialog* DialogHighlightLink::Find(HighlightTarget which) const {
    switch (which) {
    case HighlightTarget::Frame:
        return frame_;
    case HighlightTarget::Cylinder:
        return cylinder_;
    case HighlightTarget::None:
        break;
    }
    return nullptr;
}

void DialogHighlightLink::CloseDimensionDialog(HighlightTarget which) {
    if (QDialog* d = Find(which); d && d->isVisible()) d->done(QDialog::Rejected);
}

void DialogHighlightLink::ReopenDimensionDialog(HighlightTarget which) {
    if (QDialog* d = Find(which); d && !d->isVisible()) d->exec();
}
