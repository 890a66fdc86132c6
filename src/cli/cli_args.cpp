// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_args.h"

#include "model/narrowing.h"

#include <cmath>
#include <cstdlib>

namespace cli {

std::optional<std::string> Args::TakeNextValue(const std::string& name) {
    for (size_t i = 0; i < words_.size(); ++i) {
        if (words_[i] != name) continue;
        if (i + 1 >= words_.size()) throw UsageError(name + " needs a value");
        std::string value = words_[i + 1];
        words_.erase(words_.begin() + static_cast<long>(i),
                     words_.begin() + static_cast<long>(i) + 2);
        return value;
    }
    return std::nullopt;
}

void Args::RefuseAgain(const std::string& name) const {
    for (const std::string& w : words_)
        if (w == name) throw UsageError(name + " is given twice");
}

std::optional<std::string> Args::TakeValue(const std::string& name) {
    auto value = TakeNextValue(name);
    if (value) RefuseAgain(name);
    return value;
}

std::vector<std::string> Args::TakeEveryValue(const std::string& name) {
    std::vector<std::string> values;
    while (auto value = TakeNextValue(name))
        values.push_back(std::move(*value));
    return values;
}

bool Args::TakeFlag(const std::string& name) {
    for (size_t i = 0; i < words_.size(); ++i) {
        if (words_[i] == name) {
            words_.erase(words_.begin() + static_cast<long>(i));
            RefuseAgain(name);
            return true;
        }
    }
    return false;
}

std::optional<double> Args::TakeNumber(const std::string& name) {
    const auto text = TakeValue(name);
    if (!text) return std::nullopt;
    return RequireReal(*text, "for " + name);
}

std::optional<std::string> Args::TakePositional() {
    for (size_t i = 0; i < words_.size(); ++i) {
        if (words_[i].rfind("--", 0) == 0) {
            ++i; // skip the option's value as well
            continue;
        }
        std::string word = words_[i];
        words_.erase(words_.begin() + static_cast<long>(i));
        return word;
    }
    return std::nullopt;
}

void Args::ExpectEmpty() const {
    if (!words_.empty()) throw UsageError("unknown option or argument: " + words_.front());
}

bool IsDecimalNumber(const std::string& text) {
    size_t i = 0;
    const size_t n = text.size();
    auto digits = [&] {
        const size_t start = i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - start;
    };
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    size_t mantissa = digits();
    if (i < n && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == n;
}

std::optional<double> ParseReal(const std::string& text) {
    if (!IsDecimalNumber(text)) return std::nullopt;
    const double value = std::strtod(text.c_str(), nullptr);
    // Every number ends in a float of the model: one beyond its range would
    // not survive the conversion.
    if (!kes::FitsFloat(value)) return std::nullopt;
    return value;
}

double RequireReal(const std::string& text, const std::string& where) {
    if (const auto value = ParseReal(text)) return *value;
    const char* problem = IsDecimalNumber(text) ? "out of range " : "not a number ";
    throw UsageError(problem + where + ": \"" + text + "\"");
}

float NarrowReal(double v, const std::string& what) {
    if (!kes::FitsFloat(v)) throw UsageError(what + " is outside the range of a float");
    return static_cast<float>(v);
}

} // namespace cli
