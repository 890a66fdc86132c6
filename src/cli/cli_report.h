// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The precise valve-events commands: report, check and sensitivity.

#include "cli/cli_args.h"

#include <iosfwd>
#include <string>

namespace kes {
struct Model;
struct ReportDef;
} // namespace kes

namespace cli {

// The exit status of check when a check fails.
constexpr int CheckFailedStatus = 3;

// report [--settings P1,P2,...|--offsets D1,D2,...] [--cutoff PCT] [--format csv|json]
int RunReport(kes::Model& m, Args& args, std::ostream& out);
// check [--format text|csv|json]: 0 when nothing fails, 3 when a check fails.
int RunCheck(kes::Model& m, Args& args, std::ostream& out);
// sensitivity [--settings ...|--offsets ...] [--format csv|json]
int RunSensitivity(kes::Model& m, Args& args, std::ostream& out);

// --settings or --offsets into a report definition (the default without
// either); needs mid gear unless --settings is given.
kes::ReportDef TakeReportSettings(const kes::Model& m, Args& args, const std::string& command);
// --format, one of the allowed words (the first is the default).
std::string TakeFormat(Args& args, std::initializer_list<const char*> allowed);

} // namespace cli
