// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the design the live diagrams draw from has changed since they
// last looked: the design revision, which every edit bumps, with the
// vertical scale and mid gear that the diagrams also draw from. Every live
// window asks here and nowhere else.

#include <cstdint>
#include <optional>

namespace kes {
struct Model;
}

namespace live {

class DesignWatch {
  public:
    explicit DesignWatch(const kes::Model& model) : model_(model) {}

    // True on the first call and once after each change of the design.
    bool Changed();
    // The next Changed() is true.
    void Forget() { last_.reset(); }

  private:
    struct Key {
        uint64_t Revision = 0;
        uint32_t VerticalScale = 0;
        uint32_t MidGear = 0;
        bool operator==(const Key&) const = default;
    };
    const kes::Model& model_;
    std::optional<Key> last_;
};

} // namespace live
