#pragma once
// Option parsing shared by the kestrove-cli commands. A bad option or
// number is a UsageError: one line on stderr and exit status 2.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Args {
  public:
    explicit Args(std::vector<std::string> words) : words_(std::move(words)) {}

    // Takes "--name VALUE" if present (once); throws when the value is missing.
    std::optional<std::string> TakeValue(const std::string& name);
    // Takes "--name" if present.
    bool TakeFlag(const std::string& name);
    // Takes "--name NUMBER"; a malformed number, or one outside the float
    // range, is a UsageError.
    std::optional<double> TakeNumber(const std::string& name);
    // Takes the next word that is not an option (a sub-command or operand).
    std::optional<std::string> TakePositional();
    // Throws a UsageError naming the first word nobody took.
    void ExpectEmpty() const;

  private:
    std::vector<std::string> words_;
};

// Parses a whole word as a real a float can hold (finite, at most the
// largest float in size); nullopt when it is not one.
std::optional<double> ParseReal(const std::string& text);

// v as a float; a UsageError naming what when it is outside the float range.
float NarrowReal(double v, const std::string& what);

} // namespace cli
