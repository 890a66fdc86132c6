#include "cli/cli_cutoffs.h"

#include "diagrams/event_tables.h"
#include "diagrams/steam_diagram.h"
#include "model/model.h"

#include <array>
#include <ostream>
#include <sstream>
#include <string>

namespace cli {

namespace {

constexpr int MaxPositions = diagrams::MaxSteamPositions;

// "P1,P2,..." into RevArmPositions[1..n]; the rest of the slots are cleared.
void SetPositions(kes::Model& m, const std::string& list) {
    std::array<float, MaxPositions> values{};
    int count = 0;
    std::stringstream words(list);
    std::string word;
    while (std::getline(words, word, ',')) {
        const auto value = ParseReal(word);
        if (!value) throw UsageError("not a number in --positions: \"" + word + "\"");
        if (count == MaxPositions) throw UsageError("--positions takes at most 9 values");
        values[static_cast<size_t>(count++)] = static_cast<float>(*value);
    }
    if (count == 0) throw UsageError("--positions needs at least one value");
    for (int i = 1; i <= MaxPositions; ++i)
        m.RevArmPositions[static_cast<size_t>(i)] =
            i <= count ? values[static_cast<size_t>(i - 1)] : 0.0f;
    m.RevArmPositionCount = count;
}

// The three positions the mid-gear search sets.
void SetDefaultPositions(kes::Model& m) {
    m.RevArmPositions[1] = m.MidGear();
    m.RevArmPositions[2] = m.MidGear() + m.Frame.RevArmNorm;
    m.RevArmPositions[3] = m.MidGear() - m.Frame.RevArmNorm;
    m.RevArmPositionCount = 3;
}

} // namespace

int RunCutoffs(kes::Model& m, Args& args, std::ostream& out) {
    const auto positions = args.TakeValue("--positions");
    args.ExpectEmpty();
    if (positions) {
        SetPositions(m, *positions);
    } else {
        SetDefaultPositions(m);
    }
    diagrams::WriteSteamCutOffsCsv(diagrams::ComputeSteamCutOffs(m), out);
    return 0;
}

} // namespace cli
