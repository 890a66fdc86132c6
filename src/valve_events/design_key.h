#pragma once
// What the valve events depend on, in a form cheap to copy and compare: the
// three dimension groups and the dimensions that live in the point table.
// The window compares a fresh key with the last computed one on every
// check, so any editor's change (typed, a bar, UnDo, a file, a reset) is
// seen without anyone telling it.

#include "model/model.h"

#include <array>
#include <cstdint>

namespace events_window {

struct DesignKey {
    // Bit patterns of the floats, so a NaN equals itself.
    std::array<uint32_t, 64> Bits{};
    bool operator==(const DesignKey&) const = default;
};

DesignKey KeyOf(const kes::Mechanism& m);

} // namespace events_window
