// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Who is told that the design changed: the windows that show it, so they
// need not look again and again. The list belongs to one model object, not
// to its value: a copy (the one a worker thread computes from, an undo
// snapshot) starts with nobody on it, and taking another model's value keeps
// the list as it was. Used on the thread that edits the design.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kes {

class DesignListeners {
  public:
    using Token = std::uint64_t;

    DesignListeners() = default;
    DesignListeners(const DesignListeners&) noexcept {}
    DesignListeners& operator=(const DesignListeners&) noexcept { return *this; }
    ~DesignListeners() = default;

    // The token takes the listener off again.
    Token Add(std::function<void()> listener);
    void Remove(Token token);
    // Calls every listener in the order added. One may add or remove
    // listeners meanwhile: one removed before its turn is not called.
    void Notify();
    std::size_t Count() const { return list_.size(); }

  private:
    struct Entry {
        Token Id;
        std::function<void()> Call;
    };
    std::vector<Entry> list_;
    Token next_ = 1;
};

} // namespace kes
