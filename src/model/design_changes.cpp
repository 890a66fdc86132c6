// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/design_changes.h"

namespace kes {

void MarkDesignModified(ScreenState& s) {
    ++s.DesignRevision;
    s.Listeners.Notify();
}

void MarkDesignSaved(Model& m) {
    m.SavedDesignRevision = m.DesignRevision;
}

bool IsDesignModified(const ScreenState& s) {
    return s.DesignRevision != s.SavedDesignRevision;
}

} // namespace kes
