// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The port events: for reverse-arm settings from mid gear to the maximum,
// where in the stroke each port opens and closes to steam and to exhaust.
// The sweep (19 rows of 91 driver angles) reports to a sink; the table
// below collects it for the port events diagram and the command line.

#include <array>
#include <cstdint>

namespace kes {
struct Mechanism;
}

namespace analysis {

// The eight events in the order the sweep tests them.
enum PortEvent : int {
    FrontAdmission = 0,
    FrontRelease = 1,
    RearAdmission = 2,
    RearRelease = 3,
    FrontCutOff = 4,
    FrontCompression = 5,
    RearCutOff = 6,
    RearCompression = 7,
    PortEventCount = 8,
};

constexpr int PortRowCount = 19;    // row 0 is mid gear, row 18 the maximum
constexpr int PortSampleCount = 91; // 4 degrees apart: 90 intervals, one turn
constexpr float PortStepAngle = 4.0f;

// True for the events of the front port (their travel is measured from the
// front dead centre).
bool IsFrontEvent(PortEvent e);

// The event rule: an opening that opens has become >= 0 from < 0, one that
// closes has become <= 0 from > 0 (so exactly 0 counts as open for the one
// and closed for the other).
bool EventHappens(bool opens, float now, float before);
// The travel where the opening passes zero, by linear interpolation between
// the previous sample (travel, opening) and this one.
double CrossingTravel(double travel, double opening, double previousTravel, double previousOpening);

// Mode 'R' sweeps the reverse gear; anything else the forward gear.
float PortRowSetting(const kes::Mechanism& m, char mode, int row);

// Receives the sweep as it runs: each row as it begins and each crossing in
// the order the sweep finds it.
class PortEventSink {
  public:
    virtual ~PortEventSink() = default;
    virtual void RowBegun(int row, float setting) = 0;
    // travel: the interpolated piston travel of the crossing, 0 .. 640 from
    // the front dead centre.
    virtual void Crossing(int row, PortEvent event, float travel) = 0;
    // Sample j (0 .. 90) of the row has been solved at this driver angle.
    virtual void SampleSolved(int /*row*/, int /*j*/, float /*driverAngle*/, float /*travel*/) {}
};

// Runs the sweep for mode 'F' or 'R' (anything but 'R' sweeps forward).
// RevArmSetting and DriverAngle are put back afterwards; nothing is
// allocated.
void SweepPortEvents(kes::Mechanism& m, char mode, PortEventSink& sink);

// One crossing as the sweep found it.
struct PortCrossing {
    float Travel = 0; // 0 .. 640 from the front dead centre
    uint8_t Row = 0;
    uint8_t Event = 0; // a PortEvent
};
// Each of the four openings changes sign at most once between two samples.
constexpr int MaxPortCrossings = PortRowCount * (PortSampleCount - 1) * 4;

// The events of one drawing: per row and event the last crossing (travel
// from the front dead centre, -1 when there was none) and how many there
// were, and every crossing in the order the sweep found it.
struct PortEventTable {
    char Mode = 'F';
    std::array<float, PortRowCount> Setting{};
    std::array<std::array<float, PortEventCount>, PortRowCount> LastTravel{};
    std::array<std::array<uint8_t, PortEventCount>, PortRowCount> Count{};
    int CrossingCount = 0;
    std::array<PortCrossing, MaxPortCrossings> Crossings{};

    bool Found(int row, PortEvent e) const { return Count[row][e] > 0; }
    // The last crossing in percent of the stroke from the event's own port's
    // dead centre (T/6.4 front, (640 - T)/6.4 rear).
    double Percent(int row, PortEvent e) const;
};

PortEventTable ComputePortEvents(kes::Mechanism& m, char mode);
// The same into a table the caller holds (it is about 55 kB).
void ComputePortEvents(kes::Mechanism& m, char mode, PortEventTable& table);

} // namespace analysis
