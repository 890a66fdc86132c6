// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which dimension moves which event, which way and how much: for every
// dimension with an id, the change of each port's lead, cut-off, release and
// compression at each reported setting for +0.001 of that dimension, from
// central differences of the precise report (mid gear found again for each
// perturbed design, as an edit would). A dimension whose step leaves the
// linkage open somewhere is given up and marked so.

#include "analysis/events_report.h"

#include <array>
#include <optional>
#include <vector>

namespace kes {

constexpr double SensitivityStep = 0.001;

enum SensitivityQuantity : int {
    SensLead = 0,        // length units
    SensCutOff = 1,      // points of the stroke
    SensRelease = 2,     // points of the stroke
    SensCompression = 3, // points of the stroke
    SensQuantityCount = 4,
};
const char* SensitivityQuantityName(SensitivityQuantity q); // "lead", "cutoff", ...

struct SensitivityRowKey {
    std::optional<double> Offset;
    double Setting = 0.0; // of the unperturbed design
    RunDirection Direction = RunDirection::Forward;
};

// Change per +0.001: [port][quantity], port 0 front, 1 rear.
using SensitivityCell = std::array<std::array<std::optional<double>, SensQuantityCount>, 2>;

struct SensitivityTable {
    std::vector<int> Ids; // dimension ids, in the order of the dimension tables
    std::vector<SensitivityRowKey> Rows;
    std::vector<SensitivityCell> Cells; // Ids.size() x Rows.size(), id-major
    // Per id: 0 when the linkage does not close at some setting a step away;
    // that dimension's cells are all empty then.
    std::vector<char> StepCloses;

    const SensitivityCell& At(size_t idIndex, size_t row) const {
        return Cells[idIndex * Rows.size() + row];
    }
};

// threads: how many designs are reported at once (each thread on its own
// copies); 0 lets the machine decide.
SensitivityTable ComputeSensitivity(const Mechanism& m, const ReportDef& def, unsigned threads = 0);

} // namespace kes
