// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One record of a dimension file: five IEEE single reals, little-endian,
// 20 bytes, slots 1 to 5 at byte offsets 0, 4, 8, 12 and 16. The bytes are
// assembled by hand, so the files are the same on any host.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kes {

constexpr std::size_t RecordSlots = 5;
constexpr std::size_t RecordBytes = 20;

using RecordBytesArray = std::array<unsigned char, RecordBytes>;

struct DimensionRecord {
    std::array<float, RecordSlots> Slot{}; // Slot[0] is slot 1 of the file

    RecordBytesArray ToBytes() const;
    static DimensionRecord FromBytes(const unsigned char* bytes);
};

// A single real in the file's byte order.
void PutFloatLE(float v, unsigned char* out);
float GetFloatLE(const unsigned char* in);

} // namespace kes
