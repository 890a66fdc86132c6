// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/dimension_record.h"

#include <bit>
#include <limits>

namespace kes {

static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559,
              "the dimension file holds IEEE single reals");

void PutFloatLE(float v, unsigned char* out) {
    const auto bits = std::bit_cast<uint32_t>(v);
    out[0] = static_cast<unsigned char>(bits & 0xFFu);
    out[1] = static_cast<unsigned char>((bits >> 8) & 0xFFu);
    out[2] = static_cast<unsigned char>((bits >> 16) & 0xFFu);
    out[3] = static_cast<unsigned char>((bits >> 24) & 0xFFu);
}

float GetFloatLE(const unsigned char* in) {
    const uint32_t bits = static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
                          (static_cast<uint32_t>(in[2]) << 16) |
                          (static_cast<uint32_t>(in[3]) << 24);
    return std::bit_cast<float>(bits);
}

RecordBytesArray DimensionRecord::ToBytes() const {
    RecordBytesArray bytes{};
    for (std::size_t s = 0; s < RecordSlots; ++s)
        PutFloatLE(Slot[s], bytes.data() + 4 * s);
    return bytes;
}

DimensionRecord DimensionRecord::FromBytes(const unsigned char* bytes) {
    DimensionRecord r;
    for (std::size_t s = 0; s < RecordSlots; ++s)
        r.Slot[s] = GetFloatLE(bytes + 4 * s);
    return r;
}

} // namespace kes
