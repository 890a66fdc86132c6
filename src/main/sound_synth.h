// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's two sounds, made from scratch: a short steam chuff of
// filtered noise for the exhaust beat and a short two-note warning tone for
// a linkage error, and the WAV file that carries them (16-bit mono PCM).
// Standard library only; the build runs a small generator with it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>
#include <vector>

namespace kes::sound {

inline constexpr int SampleRate = 22050;
inline constexpr double ChuffSeconds = 0.24;
inline constexpr double ErrorNoteSeconds = 0.14;
inline constexpr double ErrorGapSeconds = 0.05;
inline constexpr double ErrorHighHz = 880.0;
inline constexpr double ErrorLowHz = 660.0;

namespace detail {

inline std::vector<int16_t> ToPcm(const std::vector<double>& v, double peak) {
    double max = 0.0;
    for (double x : v)
        max = std::max(max, std::abs(x));
    const double k = max > 0.0 ? peak * 32767.0 / max : 0.0;
    std::vector<int16_t> out(v.size());
    std::transform(v.begin(), v.end(), out.begin(), [k](double x) {
        return static_cast<int16_t>(std::clamp(std::lround(x * k), -32767L, 32767L));
    });
    return out;
}

inline void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

inline void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

inline void PutTag(std::vector<uint8_t>& b, std::string_view tag) {
    for (char c : tag)
        b.push_back(static_cast<uint8_t>(c));
}

} // namespace detail

// A puff of steam: white noise through two low-pass stages, with a sharp
// attack and an exponential fall, over a short low thump.
inline std::vector<int16_t> SynthesizeExhaust(int rate = SampleRate) {
    const auto n = static_cast<size_t>(ChuffSeconds * rate);
    std::vector<double> v(n);
    uint32_t noise = 0x2545F491u;
    double low1 = 0.0, low2 = 0.0;
    const double a = 1.0 - std::exp(-2.0 * std::numbers::pi * 1800.0 / rate);
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        noise = noise * 1664525u + 1013904223u;
        const double white = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
        low1 += a * (white - low1);
        low2 += a * (low1 - low2);
        const double attack = std::min(1.0, t / 0.006);
        const double hiss = (0.65 * low2 + 0.35 * (low1 - low2)) * attack * std::exp(-t / 0.055);
        const double thump =
            0.35 * std::sin(2.0 * std::numbers::pi * 70.0 * t) * attack * std::exp(-t / 0.03);
        v[i] = hiss + thump;
    }
    return detail::ToPcm(v, 0.8);
}

// Two short notes, high then low, with soft edges.
inline std::vector<int16_t> SynthesizeErrorTone(int rate = SampleRate) {
    const auto note = static_cast<size_t>(ErrorNoteSeconds * rate);
    const auto gap = static_cast<size_t>(ErrorGapSeconds * rate);
    const auto fade = static_cast<size_t>(0.005 * rate);
    std::vector<double> v;
    v.reserve(2 * note + gap);
    auto addNote = [&](double hz) {
        for (size_t i = 0; i < note; ++i) {
            const double t = static_cast<double>(i) / rate;
            const double edge =
                std::min({1.0, static_cast<double>(i) / static_cast<double>(fade),
                          static_cast<double>(note - i) / static_cast<double>(fade)});
            const double w = 2.0 * std::numbers::pi * hz * t;
            v.push_back(edge * (std::sin(w) + 0.2 * std::sin(3.0 * w)));
        }
    };
    addNote(ErrorHighHz);
    v.insert(v.end(), gap, 0.0);
    addNote(ErrorLowHz);
    return detail::ToPcm(v, 0.6);
}

// A complete WAV file of 16-bit mono samples.
inline std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int rate = SampleRate) {
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> b;
    b.reserve(44 + dataBytes);
    detail::PutTag(b, "RIFF");
    detail::Put32(b, 36 + dataBytes);
    detail::PutTag(b, "WAVE");
    detail::PutTag(b, "fmt ");
    detail::Put32(b, 16);
    detail::Put16(b, 1); // PCM
    detail::Put16(b, 1); // mono
    detail::Put32(b, static_cast<uint32_t>(rate));
    detail::Put32(b, static_cast<uint32_t>(rate) * 2); // bytes per second
    detail::Put16(b, 2);                               // bytes per frame
    detail::Put16(b, 16);                              // bits per sample
    detail::PutTag(b, "data");
    detail::Put32(b, dataBytes);
    for (int16_t s : samples)
        detail::Put16(b, static_cast<uint16_t>(s));
    return b;
}

} // namespace kes::sound
