// SPDX-License-Identifier: GPL-3.0-or-later
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

    // Takes "--name VALUE" if present; throws when the value is missing or
    // the option is given twice.
    std::optional<std::string> TakeValue(const std::string& name);
    // Takes every "--name VALUE", for the options that may repeat.
    std::vector<std::string> TakeEveryValue(const std::string& name);
    // Takes "--name" if present; throws when it is given twice.
    bool TakeFlag(const std::string& name);
    // Takes "--name NUMBER"; a malformed number, or one outside the float
    // range, is a UsageError.
    std::optional<double> TakeNumber(const std::string& name);
    // Takes the next word that is not an option (a sub-command or operand).
    std::optional<std::string> TakePositional();
    // Throws a UsageError naming the first word nobody took.
    void ExpectEmpty() const;

  private:
    std::optional<std::string> TakeNextValue(const std::string& name);
    void RefuseAgain(const std::string& name) const;

    std::vector<std::string> words_;
};

// True for a decimal number, nothing around it: [+-]digits[.digits][e[+-]digits].
// No spaces, no hexadecimal, no "inf" or "nan".
bool IsDecimalNumber(const std::string& text);
// Parses a whole word as a decimal real a float can hold (finite, at most
// the largest float in size); nullopt when it is not one.
std::optional<double> ParseReal(const std::string& text);
// The same, or a UsageError: 'not a number WHERE: "text"', or 'out of range
// WHERE: "text"' for a number beyond the float range (where: "for --step").
double RequireReal(const std::string& text, const std::string& where);

// v as a float; a UsageError naming what when it is outside the float range.
float NarrowReal(double v, const std::string& what);

} // namespace cli
