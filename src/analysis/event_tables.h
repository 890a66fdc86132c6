// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The event tables as CSV, the way engineers tabulate valve events
// by hand: the port events per reverse-arm row and the steam diagram's
// cut-offs per position.

#include <iosfwd>

namespace analysis {

struct PortEventTable;
struct SteamCutOffs;

// Header and one row per reverse-arm row 0 .. 18:
// row,rev_arm,front_admission,front_release,rear_admission,rear_release,
// front_cutoff,front_compression,rear_cutoff,rear_compression
// Each event is its last crossing in the row, in percent of the stroke from
// its own port's dead centre; empty where it did not happen.
void WritePortEventsCsv(const PortEventTable& table, std::ostream& out);

// Header and one row per position: position_number,position,front_cutoff,
// rear_cutoff, each cut-off as the window finally shows it; empty where none
// was found.
void WriteSteamCutOffsCsv(const SteamCutOffs& cutOffs, std::ostream& out);

} // namespace analysis
