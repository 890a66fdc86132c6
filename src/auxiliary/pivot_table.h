// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pivot data table: for each active pivot slot, the point's position
// every 10 degrees over one driver turn, and the distances of the pairs
// (1,2), (3,4), (5,6). The sweep drives the model's solver and puts the
// driver angle, the reverse arm and the solved points back as they were.

#include <QPointF>
#include <QString>

#include <array>
#include <vector>

namespace kes {
struct Model;
}

namespace pivot_table {

inline constexpr int SlotCount = 6;    // pivot slots 1..6
inline constexpr int PairCount = 3;    // pairs (1,2), (3,4), (5,6)
inline constexpr int StepDegrees = 10; // one row every 10 degrees
inline constexpr int RowCount = 360 / StepDegrees;
inline constexpr int Decimals = 4; // positions and distances

struct Row {
    float Angle = 0.0f;                            // driver angle, degrees
    std::array<QPointF, SlotCount + 1> Position{}; // 1..6, world (X forward, Y up)
    std::array<double, PairCount + 1> Distance{};  // 1..3
    bool SolveError = false;                       // the linkage did not close at this angle
};

struct Table {
    std::array<bool, SlotCount + 1> Listed{}; // active with a real point
    std::array<int, SlotCount + 1> PointIndex{};
    std::array<bool, PairCount + 1> PairListed{};
    std::vector<Row> Rows;
    bool AnyListed() const;
};

// Sweeps one driver turn with SolveLinkage. On return DriverAngle,
// RevArmSetting, SolveError, BeepOnError and the solved points are as they
// were (the gear is solved again at the restored angle).
Table Compute(kes::Model& m);

// The table as text: a few heading lines, then tab-separated columns of
// fixed-point numbers that paste straight into a spreadsheet.
QString Format(const kes::Model& m, const Table& t);

} // namespace pivot_table
