// kestrove-cli: the solver's numbers and the diagrams without a window.

#include "cli/commands.h"
#include "files/dimension_file.h"
#include "model/model.h"

#ifdef KESTROVE_CLI_DIAGRAMS
#include <QGuiApplication>
#endif

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const Usage =
    "Usage: kestrove-cli COMMAND [--dims FILE] [options]\n"
    "\n"
    "Commands:\n"
    "  sweep    [--rev-arm X | --rev-arm-offset D] [--from A] [--to B] [--step S]\n"
    "           CSV of every point and the port openings, one row per driver angle\n"
    "           (defaults 0, 355, 5; the reverse arm at mid gear)\n"
    "  midgear  CSV of mid gear and reverse-arm positions 2 and 3\n"
    "  diagram  sine|oval|steam|ports [--positions P1,P2,...] [--vertical-scale S]\n"
    "           [--mode F|R|B] -o OUT.png|OUT.svg\n"
    "  events   [--mode F|R]  the port events table as CSV\n"
    "  readouts [--position P]  the sine diagram's mid-gear read-outs as CSV\n"
    "  cutoffs  [--positions P1,P2,...]  the steam diagram's cut-offs as CSV\n"
    "\n"
    "  --dims FILE  load a .kvd (or .kvx) dimension file first\n"
    "  --help       show this text\n";

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    for (const auto& w : words) {
        if (w == "--help" || w == "-h") {
            std::cout << Usage;
            return 0;
        }
    }
    try {
        cli::Args args(words);
        const auto command = args.TakePositional();
        if (!command) throw cli::UsageError("no command given (try --help)");

        kes::Model model;
        kes::InitialiseModel(model);
        if (const auto dims = args.TakeValue("--dims")) {
            const kes::FileResult result = kes::LoadDimensionsByExtension(model, *dims);
            if (!result.Ok) {
                std::cerr << "kestrove-cli: " << *dims << ": " << result.Message << "\n";
                return 1;
            }
        }

        if (const auto status = cli::RunNumericCommand(*command, model, args, std::cout))
            return *status;
#ifdef KESTROVE_CLI_DIAGRAMS
        if (*command == "diagram") {
            // Pictures need fonts but no display.
            if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
            int qtArgc = 1;
            QGuiApplication app(qtArgc, argv);
            return cli::RunDiagram(model, args, std::cout);
        }
#endif
        throw cli::UsageError("unknown command: " + *command);
    } catch (const cli::UsageError& e) {
        std::cerr << "kestrove-cli: " << e.what() << "\n";
        return 2;
    }
}
