// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the dimension-file tests: a scratch folder, raw file access and
// a comparison of every value the file stores.

#include "files/dimension_record.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace filestest {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchDir {
  public:
    ScratchDir() {
        std::random_device rd;
        std::mt19937_64 gen(rd());
        path_ = fs::temp_directory_path() / ("kestrove-files-" + std::to_string(gen()));
        fs::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    fs::path Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Everything in the folder, for checking that no temporary file stays.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        return names;
    }

  private:
    fs::path path_;
};

// Permission checks do not apply to root: the body runs as "nobody" then.
// Works() is false when root could not drop its rights; skip the test then.
class Unprivileged {
  public:
    Unprivileged() {
        if (geteuid() == 0) dropped_ = seteuid(65534) == 0;
    }
    ~Unprivileged() {
        if (dropped_) {
            EXPECT_EQ(seteuid(0), 0);
        }
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;
    bool Works() const { return geteuid() != 0; }

  private:
    bool dropped_ = false;
};

inline std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Slot s (0..4) of record r of a file's bytes.
inline float SlotOf(const std::vector<unsigned char>& bytes, int r, int s) {
    return kes::GetFloatLE(bytes.data() + 20 * r + 4 * s);
}

// A file of n records whose every slot is f(record, slot).
template <class F> std::vector<unsigned char> MakeRecords(int n, F f) {
    std::vector<unsigned char> bytes(static_cast<size_t>(20 * n));
    for (int r = 0; r < n; ++r)
        for (int s = 0; s < 5; ++s)
            kes::PutFloatLE(f(r, s), bytes.data() + 20 * r + 4 * s);
    return bytes;
}

inline uint32_t Bits(float v) {
    return std::bit_cast<uint32_t>(v);
}

#define EXPECT_SAME_BITS(a, b) EXPECT_EQ(filestest::Bits(a), filestest::Bits(b)) << #a " vs " #b

// Every value that a ".kvd" file stores, compared bit for bit.
// RevArmSetting and RevArmPositions[1..3] are optional because mid gear
// replaces them after an open.
inline void ExpectSameStoredValues(const kes::Model& a, const kes::Model& b,
                                   bool withMidGearValues = true) {
    using namespace kes;
    EXPECT_EQ(0, std::memcmp(&a.Frame, &b.Frame, sizeof a.Frame)) << "frame group";
    EXPECT_EQ(0, std::memcmp(&a.Baker, &b.Baker, sizeof a.Baker)) << "Baker assembly group";
    EXPECT_EQ(0, std::memcmp(a.Cylinder.data(), b.Cylinder.data(), sizeof a.Cylinder))
        << "cylinder";
    for (int p : {GearMount, RevArmPivot, BellCrankPivot, RevArmPivotCopy, BellCrankPivotCopy}) {
        EXPECT_SAME_BITS(a.Points[p].X, b.Points[p].X) << " point " << p;
        EXPECT_SAME_BITS(a.Points[p].Y, b.Points[p].Y) << " point " << p;
    }
    EXPECT_SAME_BITS(a.Points[Crosshead].Y, b.Points[Crosshead].Y);
    EXPECT_SAME_BITS(a.Points[GearConRodRadiusPin].Y, b.Points[GearConRodRadiusPin].Y);
    EXPECT_SAME_BITS(a.VerticalScale, b.VerticalScale);
    EXPECT_SAME_BITS(a.CurrentView.Scale, b.CurrentView.Scale);
    EXPECT_SAME_BITS(a.CurrentView.OffsetX, b.CurrentView.OffsetX);
    EXPECT_SAME_BITS(a.CurrentView.OffsetY, b.CurrentView.OffsetY);
    EXPECT_SAME_BITS(a.GraphicZoom, b.GraphicZoom);
    EXPECT_SAME_BITS(a.DiagramRevArmSetting, b.DiagramRevArmSetting);
    EXPECT_EQ(0, std::memcmp(a.ViewPresets.data(), b.ViewPresets.data(), sizeof a.ViewPresets))
        << "presets";
    for (int i = withMidGearValues ? 1 : 4; i <= 9; ++i)
        EXPECT_SAME_BITS(a.RevArmPositions[i], b.RevArmPositions[i]) << " position " << i;
    if (withMidGearValues) {
        EXPECT_SAME_BITS(a.RevArmSetting, b.RevArmSetting);
    }
    EXPECT_EQ(0, std::memcmp(a.LineTable.data() + 1, b.LineTable.data() + 1,
                             sizeof(LineItem) * LineItemCount))
        << "lines table";
    EXPECT_EQ(a.CurrentItem, b.CurrentItem);
}

// Every stored value of the model set to a distinct number from the seed;
// geometry stays the factory's so mid gear can still be found.
inline void FillNonGeometry(kes::Model& m, uint32_t seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> any(-5000.0f, 5000.0f);
    std::uniform_int_distribution<int> small(-1, 21);
    m.VerticalScale = any(gen);
    m.CurrentView = {any(gen), any(gen), any(gen)};
    m.GraphicZoom = any(gen);
    m.DiagramRevArmSetting = any(gen);
    for (float& v : m.ViewPresets)
        v = any(gen);
    for (int i = 1; i <= 9; ++i)
        m.RevArmPositions[static_cast<size_t>(i)] = any(gen);
    m.RevArmSetting = any(gen);
    m.Points[kes::GearConRodRadiusPin].Y = any(gen);
    for (int i = 1; i <= kes::LineItemCount; ++i) {
        auto& it = m.LineTable[static_cast<size_t>(i)];
        it = {any(gen), any(gen),   any(gen),   any(gen),   any(gen),   any(gen),  any(gen),
              any(gen), small(gen), small(gen), small(gen), small(gen), small(gen)};
    }
    m.CurrentItem = 1 + static_cast<int>(seed % 20);
}

// A factory design with seeded values in every record that is not geometry.
inline kes::Model SampleDesign(uint32_t seed) {
    kes::Model m;
    kes::InitialiseModel(m);
    FillNonGeometry(m, seed);
    return m;
}

} // namespace filestest
