#include "live/design_watch.h"

#include "model/model.h"

#include <bit>

namespace live {

bool DesignWatch::Changed() {
    const Key key{events_window::KeyOf(model_), std::bit_cast<uint32_t>(model_.VerticalScale),
                  std::bit_cast<uint32_t>(model_.MidGear())};
    if (last_ && *last_ == key) return false;
    last_ = key;
    return true;
}

} // namespace live
