// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/design_listeners.h"

#include <algorithm>
#include <utility>

namespace kes {

DesignListeners::Token DesignListeners::Add(std::function<void()> listener) {
    const Token id = next_++;
    list_.push_back({id, std::move(listener)});
    return id;
}

void DesignListeners::Remove(Token token) {
    std::erase_if(list_, [token](const Entry& e) { return e.Id == token; });
}

void DesignListeners::Notify() {
    if (list_.empty()) return;
    std::vector<Token> due;
    due.reserve(list_.size());
    for (const Entry& e : list_)
        due.push_back(e.Id);
    for (const Token id : due) {
        const auto it =
            std::find_if(list_.begin(), list_.end(), [id](const Entry& e) { return e.Id == id; });
        if (it == list_.end()) continue;
        // A copy: the listener may remove itself while it runs.
        const std::function<void()> call = it->Call;
        if (call) call();
    }
}

} // namespace kes
