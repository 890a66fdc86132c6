// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_help.h"

#include "cli/cli_args.h"
#include "cli/cli_balance.h"
#include "cli/cli_performance.h"
#include "cli/cli_targets.h"
#include "kestrove_version.h"

#include <array>
#include <ostream>
#include <string_view>

namespace cli {

const char* const CommonOptionsHelp =
    "\n"
    "Every command also takes:\n"
    "  --dims FILE         load a .kvd (or .kvx) dimension file first\n"
    "  --set NAME=VALUE    change a dimension after --dims (any number of times);\n"
    "                      NAME as \"kestrove-cli dims\" lists it, or its id\n"
    "  --scale FACTOR      multiply every length after --dims, before --set\n"
    "Exit status: 0 done, 1 the design or a file does not allow it (mid gear not\n"
    "found, a file that cannot be read or written), 2 a bad option.\n";

namespace {

struct Help {
    std::string_view Command;
    const char* Text;
};

constexpr std::array<Help, 19> Helps = {{
    {"sweep", "Usage: kestrove-cli sweep [--rev-arm X | --rev-arm-offset D] [--from A] [--to B]\n"
              "                          [--step S]\n"
              "Every point of the linkage and the port openings as CSV, one row per driver\n"
              "angle from A to B (defaults 0, 355, 5; B not below A). The reverse arm stands at\n"
              "X, or D from mid gear (mid gear by default). A row the solver could not close\n"
              "has solve_error 1 and empty cells for the points it did not reach.\n"},
    {"midgear", "Usage: kestrove-cli midgear\n"
                "Mid gear and reverse-arm positions 2 and 3 (mid gear +/- RevArmNorm) as CSV.\n"},
    {"diagram",
     "Usage: kestrove-cli diagram sine|oval|steam|ports [--positions P1,P2,...]\n"
     "                            [--vertical-scale S] [--mode F|R|B] -o OUT.png|OUT.svg\n"
     "                            [--bare] [--compare OTHER.kvd]\n"
     "A diagram drawn by the same code as its window, with a footer strip naming the\n"
     "data set and the date; --bare leaves the strip out. --compare draws the design\n"
     "of OTHER.kvd under it in grey dashed lines, at the same offsets from its own mid\n"
     "gear, with a legend naming both.\n"},
    {"pdf", "Usage: kestrove-cli pdf [--paper a4|a3|a2|a1|a0|letter|tabloid] -o OUT.pdf\n"
            "The design report: title block, dimension tables, design checks, the precise\n"
            "valve events and the four diagrams, with page numbers.\n"},
    {"drawing",
     "Usage: kestrove-cli drawing [--angle A] [--setting S] [--unit in|mm]\n"
     "                            [--paper a4|a3|a2|a1|a0|letter|tabloid|WxH]\n"
     "                            [--orientation portrait|landscape] -o OUT.svg|OUT.pdf\n"
     "The gear at driver angle A and reverse-arm setting S, one design unit drawn\n"
     "as one inch or one millimetre; a PDF larger than a page is tiled over the\n"
     "sheets that carry some of it, numbered row/column, the title block and an\n"
     "assembly key whole on the first. WxH is a custom sheet in millimetres; without\n"
     "--orientation the one needing fewer sheets is taken.\n"},
    {"links", "Usage: kestrove-cli links [--unit in|mm] [--decimals N] [--pin-diameter D]\n"
              "                          [--paper P|WxH] [--orientation portrait|landscape]\n"
              "                          -o OUT.pdf|OUT.svg\n"
              "A sheet per link drawn to the largest standard scale that fits (1:1, 1:2, 1:4,\n"
              "1:5, 1:8, 1:10...), its pin centres with every centre distance, arm length and\n"
              "back-set dimensioned (default 3 decimals in inches, 1 in millimetres), and a\n"
              "last sheet of the frame pivots from the axle centre. D is the pin holes'\n"
              "diameter in design units (default 0.04 of the driver diameter). SVG writes one\n"
              "file per sheet: OUT-radius-bar.svg ... OUT-pivots.svg. Landscape by default.\n"},
    {"arrangement",
     "Usage: kestrove-cli arrangement [--angle A] [--setting S]\n"
     "                                [--drawing-scale 1:1|1:2|1:4|1:5|1:8|1:10|fit]\n"
     "                                [--unit in|mm] [--pin-diameter D] [--paper P|WxH]\n"
     "                                [--orientation portrait|landscape] -o OUT.pdf|OUT.svg\n"
     "The whole gear on one sheet at the scale chosen (fit by default) at driver\n"
     "angle A and setting S (mid gear), with a title block of its own. A scale at\n"
     "which the gear does not fit is refused, naming one that does.\n"},
    {"dxf", "Usage: kestrove-cli dxf [--angle A] [--setting S] [--links] [--unit in|mm]\n"
            "                        [--pin-diameter D] [--link-width W] -o FILE.dxf\n"
            "The gear true size in design units ($INSUNITS from --unit, inches by\n"
            "default): one layer per link and \"frame-pivots\", pin holes as circles and\n"
            "each link as a closed outline W wide (default 2 x D) round its pins.\n"
            "Assembled at A and S (mid gear), or with --links every link flat and apart.\n"},
    {"pivots", "Usage: kestrove-cli pivots\n"
               "Each frame-fixed pivot (axle centre, gear mount, reverse-arm and bell-crank\n"
               "pivots, cylinder centre, valve-stem line) from the axle centre, X forward and\n"
               "Y up, with the names of the dimensions that place it and their stored values.\n"},
    {"setting-sheet",
     "Usage: kestrove-cli setting-sheet [--notches O1,O2,...] [--format json|csv|pdf]\n"
     "                                  [-o FILE] [--unit in|mm] [--decimals N] [--paper P]\n"
     "The valve-setting sheet: for each notch (reverse-arm offset from mid gear,\n"
     "forward positive; default full gear and 75, 50, 25 % of it both ways) the\n"
     "crosshead's distance from its front dead centre at each port's admission,\n"
     "cut-off, release and compression, the leads, the valve travel; also the\n"
     "dead-centre crank angles and the crosshead travel. null (an empty cell) where\n"
     "an event does not happen. The PDF needs -o.\n"},
    {"events", "Usage: kestrove-cli events [--mode F|R]\n"
               "The port events table of the port events diagram as CSV.\n"},
    {"readouts", "Usage: kestrove-cli readouts [--position P]\n"
                 "Lead, lap and exhaust clearance at mid gear, as the sine diagram prints them.\n"},
    {"cutoffs", "Usage: kestrove-cli cutoffs [--positions P1,P2,...]\n"
                "The steam diagram's cut-off of each end, per reverse-arm position, as CSV.\n"},
    {"report", "Usage: kestrove-cli report [--settings P1,P2,...|--offsets D1,D2,...]\n"
               "                           [--cutoff PCT] [--format csv|json]\n"
               "The precise valve events of both ports at each setting, with the front - rear\n"
               "differences. Settings are X of the reverse-arm top, offsets are measured from\n"
               "mid gear (default: 0, +/- 25, 50, 75, 100 % of RevArmNorm, +/- RevArmMax). A\n"
               "setting ahead of mid gear runs forward, one behind it in reverse; mid gear is\n"
               "reported both ways. --cutoff also finds the settings that give that cut-off.\n"
               "An event that does not happen is an empty cell (JSON null).\n"},
    {"check", "Usage: kestrove-cli check [--format text|csv|json]\n"
              "The design checks, one line each: pass, warning or failure with the numbers\n"
              "that decide it. Exit status 0 when nothing fails, 3 when a check fails.\n"},
    {"sensitivity",
     "Usage: kestrove-cli sensitivity [--settings ...|--offsets ...] [--format csv|json]\n"
     "For each dimension with an id, how far lead, cut-off, release and compression\n"
     "of each port move for +0.001 of it, at each reported setting.\n"},
    {"dims", "Usage: kestrove-cli dims\n"
             "Id, name, display name and value of every dimension as CSV.\n"},
    {"save", "Usage: kestrove-cli save -o FILE.kvd\n"
             "Writes the design after --dims and --set; every other record as loaded or as\n"
             "the factory default.\n"},
    {"compare", "Usage: kestrove-cli compare A.kvd B.kvd\n"
                "The dimensions that differ, then both designs' reports field by field with\n"
                "their differences (B - A). \"-\" stands for the design of --dims (the factory\n"
                "design without it); --set applies to both.\n"},
}};

} // namespace

std::optional<std::string> CommandHelp(const std::string& command) {
    for (const Help& h : Helps)
        if (h.Command == command) return std::string(h.Text) + CommonOptionsHelp;
    if (command == "balance") return std::string(BalanceUsage) + CommonOptionsHelp;
    if (command == "performance") return std::string(PerformanceUsage) + CommonOptionsHelp;
    if (command == "targets") return std::string(TargetsUsage) + CommonOptionsHelp;
    return std::nullopt;
}

std::optional<int> AnswerHelpOrVersion(const std::vector<std::string>& words, const char* usage,
                                       std::ostream& out) {
    // Counted here, not taken: a repeated --help is no error.
    bool help = false, version = false;
    std::vector<std::string> rest;
    for (const std::string& w : words) {
        if (w == "--help" || w == "-h")
            help = true;
        else if (w == "--version")
            version = true;
        else
            rest.push_back(w);
    }
    Args args(rest);
    if (!help) {
        if (!version) return std::nullopt;
        out << "kestrove-cli " << KESTROVE_VERSION << "\n";
        return 0;
    }
    const auto command = args.TakePositional();
    const auto text = command ? CommandHelp(*command) : std::nullopt;
    out << (text ? *text : std::string(usage));
    return 0;
}

} // namespace cli
