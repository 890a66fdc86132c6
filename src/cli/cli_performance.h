// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// performance: the cylinder model at one setting and speed, or a sweep.

#include "cli/cli_args.h"

#include <iosfwd>
#include <string>

namespace kes {
struct Model;
struct EngineData;
} // namespace kes

namespace cli {

extern const char* const PerformanceUsage;

// The engine data of --engine FILE.json, else of NAME.engine.json beside
// designPath (when not empty), else the defaults, with every
// --engine-set KEY=VALUE applied and checked against the design.
kes::EngineData TakeEngine(const kes::Model& m, Args& args, const std::string& designPath);

// designPath: the --dims file, beside which NAME.engine.json is read when
// --engine is not given.
int RunPerformance(kes::Model& m, Args& args, std::ostream& out, const std::string& designPath);

} // namespace cli
