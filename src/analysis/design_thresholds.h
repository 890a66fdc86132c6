// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every limit the design checks apply, in one place, each with its reason.

namespace kes::thresholds {

// Front - rear cut-off difference, in points of the stroke. Up to 2 points
// the two ends of the cylinder do nearly equal work and the exhaust beats
// sound even; past 5 one end does markedly more work than the other and the
// engine rocks and beats unevenly.
constexpr double CutOffBalanceWarning = 2.0;
constexpr double CutOffBalanceFailure = 5.0;

// Forward against reverse cut-off at the same offset from mid gear, points
// of the stroke. An engine that must run both ways should pull alike both
// ways; the same limits as the front - rear balance apply.
constexpr double ForwardReverseWarning = 2.0;
constexpr double ForwardReverseFailure = 5.0;

// A Baker gear gives the lead from the crosshead alone, so it should hardly
// change with the setting. A range of more than half the mean lead means the
// eccentric side is disturbing it.
constexpr double LeadRangeWarningFraction = 0.5;

// Over-travel needs no number of its own: a steam opening wider than the
// port runs the valve edge onto the bridge, which is only noted; wider than
// port and bridge together, the edge reaches the exhaust port and live steam
// blows straight to exhaust, which fails.

// At normal full gear each port should open fully to steam; a port that
// never opens wider than this fraction of its width throttles the steam at
// the longest cut-off the engine normally uses.
constexpr double FullOpeningFraction = 1.0;

// An exhaust clearance (negative exhaust lap) larger than a quarter of the
// port width releases so early and compresses so late at short cut-offs
// that much of the expansion is lost.
constexpr double ExhaustClearanceWarningFraction = 0.25;

// A link that swings through more than 70 degrees (35 either side of its
// mean) loses more than a fifth of its effective arm at the ends
// (cos 35 = 0.82), and its pins wear unevenly.
constexpr double SwingWarningDeg = 70.0;

// An eccentric rod steeper than 15 degrees to the horizontal passes the
// return crank's throw on unequally in the two strokes.
constexpr double EccRodAngleWarningDeg = 15.0;

} // namespace kes::thresholds
