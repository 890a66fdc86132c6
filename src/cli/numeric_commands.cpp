// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_balance.h"
#include "cli/cli_cutoffs.h"
#include "cli/cli_files.h"
#include "cli/cli_pivots.h"
#include "cli/cli_report.h"
#include "cli/cli_targets.h"
#include "cli/cli_setting_sheet.h"
#include "cli/commands.h"

namespace cli {

std::optional<int> RunNumericCommand(const std::string& command, kes::Model& m, Args& args,
                                     std::ostream& out) {
    if (command == "sweep") return RunSweep(m, args, out);
    if (command == "midgear") return RunMidGear(m, args, out);
    if (command == "events") return RunEvents(m, args, out);
    if (command == "readouts") return RunReadouts(m, args, out);
    if (command == "cutoffs") return RunCutoffs(m, args, out);
    if (command == "report") return RunReport(m, args, out);
    if (command == "check") return RunCheck(m, args, out);
    if (command == "sensitivity") return RunSensitivity(m, args, out);
    if (command == "dims") return RunDims(m, args, out);
    if (command == "save") return RunSave(m, args, out);
    if (command == "balance") return RunBalanceCommand(m, args, out);
    if (command == "targets") return RunTargetsCommand(m, args, out);
    if (command == "setting-sheet") return RunSettingSheet(m, args, out);
    if (command == "pivots") return RunPivots(m, args, out);
    return std::nullopt;
}

} // namespace cli
