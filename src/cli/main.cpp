// SPDX-License-Identifier: GPL-3.0-or-later
// kestrove-cli: the solver's numbers and the diagrams without a window.

#include "cli/cli_balance.h"
#include "cli/cli_design.h"
#include "cli/cli_files.h"
#include "cli/cli_help.h"
#include "cli/cli_performance.h"
#include "cli/cli_scale.h"
#include "cli/commands.h"
#include "files/dimension_file.h"
#include "files/whole_file.h"
#include "model/model.h"

#ifdef KESTROVE_CLI_DIAGRAMS
#include "cli/cli_paper.h"
#include "cli/cli_workshop.h"

#include <QGuiApplication>
#include <QtMessageHandler>
#endif

#include <cstdlib>
#include <iostream>
#include <optional>
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
    "           [--mode F|R|B] [--bare] -o OUT.png|OUT.svg\n"
    "           (a footer strip names the data set and the date; --bare leaves it out)\n"
    "  pdf      [--paper a4|a3|a2|a1|a0|letter|tabloid] -o OUT.pdf  the design report\n"
    "  drawing  [--angle A] [--setting S] [--unit in|mm] [--paper P|WxH]\n"
    "           [--orientation portrait|landscape] -o OUT.svg|OUT.pdf\n"
    "           the gear full size, one unit = 1 in or 1 mm\n"
    "  links    [--unit in|mm] [--decimals N] [--pin-diameter D] [--paper P]\n"
    "           [--orientation ...] -o OUT.pdf|OUT.svg  each link with its hole\n"
    "           centres dimensioned, and the frame pivots\n"
    "  arrangement [--angle A] [--setting S] [--drawing-scale 1:N|fit] [--unit in|mm]\n"
    "           [--paper P] [--orientation ...] -o OUT.pdf|OUT.svg  the whole gear on one sheet\n"
    "  dxf      [--angle A] [--setting S] [--links] [--unit in|mm] [--pin-diameter D]\n"
    "           [--link-width W] -o FILE.dxf  the gear true size for a cutter\n"
    "  pivots   the frame-fixed pivots from the axle centre as CSV\n"
    "  setting-sheet [--notches O1,O2,...] [--format json|csv|pdf] [-o FILE]\n"
    "           crosshead positions at every event, leads and valve travel per notch\n"
    "  events   [--mode F|R]  the port events table as CSV\n"
    "  readouts [--position P]  the sine diagram's mid-gear read-outs as CSV\n"
    "  cutoffs  [--positions P1,P2,...]  the steam diagram's cut-offs as CSV\n"
    "  report   [--settings P1,P2,...|--offsets D1,D2,...] [--cutoff PCT]\n"
    "           [--format csv|json]  the precise valve events at each setting\n"
    "  check    [--format text|csv|json]  the design checks (exit status 3 on a failure)\n"
    "  sensitivity [--format csv|json]  how far each event moves per +0.001 of a dimension\n"
    "  dims     id, name, display name and value of every dimension\n"
    "  save     -o FILE.kvd  write the design after --dims and --set\n"
    "  compare  A.kvd B.kvd  the dimensions that differ and both reports\n"
    "  balance  [--free NAME,...] [--bounds PCT] [--settings ...|--offsets ...]\n"
    "           [--weight-fwd-rev W] [--min-lead L] [--max-evals N] [--format csv|json]\n"
    "           [-o OUT.kvd] | --suggest\n"
    "           repair an infeasible design, then even the front and rear events by\n"
    "           moving the free dimensions; --suggest: which dimensions to free\n"
    "  performance [--engine FILE.json] [--engine-set KEY=VALUE]... [--setting S |\n"
    "           --offset D | --cutoff PCT] [--direction F|R] [--speed V | --rpm N]\n"
    "           [--sweep speed|cutoff] [--format json|csv]\n"
    "           indicator cards, MEP, horsepower, tractive effort and steam rate\n"
    "  targets  --lead L --full-gear-cutoff PCT [--lead-over-range] [--exhaust-lap E]\n"
    "           [--free NAME,...] [--format csv|json] [-o OUT.kvd]\n"
    "           design the valve to a lead and a full-gear cut-off, then balance\n"
    "\n"
    "  --dims FILE  load a .kvd (or .kvx) dimension file first\n"
    "  --scale FACTOR  multiply every length after --dims (25.4: inches to millimetres)\n"
    "  --set NAME=VALUE  change a dimension after --dims (NAME as \"dims\" lists it, or its id)\n"
    "  --help       show this text; COMMAND --help shows the command's own\n"
    "  --version    show the version\n";

#ifdef KESTROVE_CLI_DIAGRAMS
// Qt's notes about its environment (no XDG_RUNTIME_DIR, fonts, ...) are no
// output of a command: only its critical messages reach stderr.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "kestrove-cli: " << text.toStdString() << "\n";
}

// The picture commands need Qt's fonts and painters, but no display.
template <typename Command> int WithPainting(char** argv, Command run) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietQtMessages);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return run();
}
#endif

int Run(const std::vector<std::string>& words, [[maybe_unused]] char** argv) {
    if (const auto status = cli::AnswerHelpOrVersion(words, Usage, std::cout)) return *status;
    try {
        cli::Args args(words);
        const auto command = args.TakePositional();
        if (!command) throw cli::UsageError("no command given (try --help)");

        const std::vector<cli::DesignEdit> edits = cli::TakeDesignEdits(args);
        const std::optional<double> scale = cli::TakeScale(args);
        kes::Model model;
        kes::InitialiseModel(model);
        const auto dims = args.TakeValue("--dims");
        if (dims) {
            const kes::FileResult result = kes::LoadDimensionsByExtension(model, *dims);
            if (!result.Ok) {
                std::cerr << "kestrove-cli: " << *dims << ": " << result.Message << "\n";
                return 1;
            }
        }

        if (scale) cli::ApplyScale(model, *scale);
        cli::ApplyDesignEdits(model, edits);

        if (*command == "compare") return cli::RunCompare(model, edits, args, std::cout);
        if (*command == "performance")
            return cli::RunPerformance(model, args, std::cout, dims.value_or(""));
        if (*command == "balance")
            return cli::RunBalanceCommand(model, args, std::cout, dims.value_or(""));
#ifdef KESTROVE_CLI_DIAGRAMS
        if (cli::IsWorkshopCommand(*command))
            return WithPainting(argv, [&] {
                return *cli::RunWorkshopCommand(*command, model, args, std::cout,
                                                dims.value_or(""));
            });
#endif
        if (const auto status = cli::RunNumericCommand(*command, model, args, std::cout))
            return *status;
#ifdef KESTROVE_CLI_DIAGRAMS
        if (*command == "diagram")
            return WithPainting(argv, [&] { return cli::RunDiagram(model, args, std::cout); });
        if (*command == "pdf")
            return WithPainting(
                argv, [&] { return cli::RunPdf(model, args, std::cout, dims.value_or("")); });
        if (*command == "drawing")
            return WithPainting(argv, [&] { return cli::RunDrawing(model, args, std::cout); });
#endif
        throw cli::UsageError("unknown command: " + *command);
    } catch (const cli::UsageError& e) {
        std::cerr << "kestrove-cli: " << e.what() << "\n";
        return 2;
    } catch (const cli::RunError& e) {
        std::cerr << "kestrove-cli: " << e.what() << "\n";
        return 1;
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const int status = Run(words, argv);
    // A full disk or a closed pipe under stdout shows only when it is flushed.
    const kes::FileResult output = kes::FinishOutput(std::cout);
    if (!output.Ok) {
        std::cerr << "kestrove-cli: cannot write the output: " << output.Message << "\n";
        return status != 0 ? status : 1;
    }
    return status;
}
