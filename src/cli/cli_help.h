// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of "kestrove-cli COMMAND --help" for each command.

#include <optional>
#include <string>

namespace cli {

// nullopt for a command without its own help.
std::optional<std::string> CommandHelp(const std::string& command);

// What every command takes besides its own options.
extern const char* const CommonOptionsHelp;

} // namespace cli

#include <iosfwd>
#include <vector>

namespace cli {

// "--version", or "--help" / "-h" anywhere: prints the version, the
// command's own help or the general usage and returns exit status 0;
// nullopt when the words ask for neither.
std::optional<int> AnswerHelpOrVersion(const std::vector<std::string>& words, const char* usage,
                                       std::ostream& out);

} // namespace cli
