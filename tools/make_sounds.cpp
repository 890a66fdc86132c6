// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the program's sounds, "Exhaust.wav" and "Error.wav", into the
// folder given on the command line. Run by the build; each file is written
// to a temporary name first and then renamed, so a stopped build never
// leaves half a file behind.

#include "main/sound_synth.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::path temp = path;
    temp += ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    return !ec;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir(argv[1]);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    using namespace kes::sound;
    if (!WriteFile(dir / "Exhaust.wav", EncodeWav(SynthesizeExhaust())) ||
        !WriteFile(dir / "Error.wav", EncodeWav(SynthesizeErrorTone()))) {
        std::fprintf(stderr, "cannot write the sounds into %s\n", dir.string().c_str());
        return 1;
    }
    return 0;
}
