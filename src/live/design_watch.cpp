// SPDX-License-Identifier: GPL-3.0-or-later
#include "live/design_watch.h"

#include "model/design_edit.h"
#include "model/model.h"

#include <bit>

namespace live {

bool DesignWatch::Changed() {
    const Key key{kes::DesignRevision(model_), std::bit_cast<uint32_t>(model_.VerticalScale),
                  std::bit_cast<uint32_t>(model_.MidGear())};
    if (last_ && *last_ == key) return false;
    last_ = key;
    return true;
}

} // namespace live
