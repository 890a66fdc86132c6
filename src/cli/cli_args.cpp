#include "cli/cli_args.h"

#include "model/narrowing.h"

#include <cmath>
#include <cstdlib>

namespace cli {

std::optional<std::string> Args::TakeValue(const std::string& name) {
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

bool Args::TakeFlag(const std::string& name) {
    for (size_t i = 0; i < words_.size(); ++i) {
        if (words_[i] == name) {
            words_.erase(words_.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

std::optional<double> Args::TakeNumber(const std::string& name) {
    const auto text = TakeValue(name);
    if (!text) return std::nullopt;
    const auto value = ParseReal(*text);
    if (!value) throw UsageError("not a number for " + name + ": " + *text);
    return value;
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

std::optional<double> ParseReal(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    // Every number ends in a float of the model: one beyond its range would
    // not survive the conversion.
    if (end != begin + text.size() || !kes::FitsFloat(value)) return std::nullopt;
    return value;
}

float NarrowReal(double v, const std::string& what) {
    if (!kes::FitsFloat(v)) throw UsageError(what + " is outside the range of a float");
    return static_cast<float>(v);
}

} // namespace cli
