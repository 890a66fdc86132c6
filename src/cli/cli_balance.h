// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kestrove-cli balance: the events balanced by the optimiser, before and
// after, and with -o the balanced design written as a dimension file.

#include "cli/cli_args.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace kes {
struct Model;
struct BalanceDef;
struct BalanceResult;
} // namespace kes

namespace cli {

extern const char* const BalanceUsage;

// Exit status 0 when balanced and feasible, 3 when no feasible design was
// found (nothing is written then), 1 when the output file cannot be written.
// designPath: the --dims file, beside which NAME.engine.json is read for
// the MEP term when --engine is not given.
int RunBalanceCommand(kes::Model& m, Args& args, std::ostream& out,
                      const std::string& designPath = {});

// The result as JSON (extra: further members, each led by ", ", before the
// reports) and as CSV, one quantity a line: name, before, after, after -
// before, and for a dimension the change in percent; "# " lines say what
// the run did, after the extra lines (each a CSV row without its line end).
void WriteBalanceJson(const kes::BalanceResult& r, const kes::BalanceDef& def, std::ostream& out,
                      const std::string& extra = {});
void WriteBalanceCsv(const kes::BalanceResult& r, const kes::BalanceDef& def, std::ostream& out,
                     const std::vector<std::string>& extraLines = {});

} // namespace cli
