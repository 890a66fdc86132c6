// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/dimension_file.h"

#include "files/dimension_layout.h"
#include "files/dimension_record.h"
#include "files/file_access.h"
#include "model/dimensions.h"
#include "model/mid_gear.h"
#include "model/rounding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <type_traits>
#include <utility>

namespace kes {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t KvdBytes = KvdRecordCount * RecordBytes;
using FileBuffer = std::array<unsigned char, KvdBytes>;

FileResult Failure(std::string text) {
    return FileResult{false, std::move(text)};
}
FileResult ErrnoFailure(int error) {
    return Failure(IoErrorText(error));
}
// Reads up to maxRecords whole records from the start of the file; count is
// how many whole records it holds (up to maxRecords).
FileResult ReadRecords(const std::string& path, int maxRecords, FileBuffer& buffer, int& count) {
    count = 0;
    std::size_t got = 0;
    const std::size_t want = static_cast<std::size_t>(maxRecords) * RecordBytes;
    if (const int error = fileaccess::ReadRegularFile(path, buffer.data(), want, got))
        return ErrnoFailure(error);
    count = static_cast<int>(got / RecordBytes);
    return {};
}

float SlotValue(const FileBuffer& buffer, int record, int slot) {
    return GetFloatLE(buffer.data() + static_cast<std::size_t>(record) * RecordBytes +
                      static_cast<std::size_t>(slot) * 4);
}

void StoreValue(float& dst, float v) {
    dst = v;
}
// Integers are kept as reals in the file: round to the nearest, saturating.
void StoreValue(int32_t& dst, float v) {
    dst = RoundHalfEven(v);
}

enum class Format { Current, Older };

bool IsStored(int record, int slot, Format format) {
    return !(format == Format::Older && record == 11 && slot == 3);
}

// Values a file holds that are never used: the setting and reverse-arm
// positions 1 to 3, which opening replaces with mid gear, and the height of
// the gear connecting rod's radius-bar pin, a solved point that the next
// solve replaces (a design that cannot close may have saved it as anything).
bool ReplacedOnOpen(int record, int slot, Format format) {
    if (record == 11 && slot == 0) return true;
    if (format != Format::Current) return false;
    return (record == 12 && slot == 2) || (record == 17 && slot >= 1 && slot <= 3);
}

// The display name of the value at record and slot, its runs of spaces made
// one ("Valve Length Front Half"), or "slot N" for a value that is not a
// dimension.
std::string StoredValueName(int record, int slot) {
    auto probe = std::make_unique<Model>();
    auto marker = [](int r, int s) { return static_cast<float>(r * 8 + s + 1); };
    VisitStoredValues(*probe, [&](int r, int s, auto& value) {
        value = static_cast<std::remove_reference_t<decltype(value)>>(marker(r, s));
    });
    for (int id = 1; id <= 122; ++id) {
        const std::string_view name = DimensionName(id);
        if (name.empty() || GetDimension(*probe, id) != marker(record, slot)) continue;
        std::string text;
        for (const char c : name)
            if (c != ' ' || (!text.empty() && text.back() != ' ')) text += c;
        return text;
    }
    return "slot " + std::to_string(slot + 1);
}

// Refuses a file that holds a NaN or an infinity in a real it would store:
// such a value would pass through every computation and every check. The
// values kept as integers are rounded and saturated on reading instead.
FileResult CheckFinite(const FileBuffer& buffer, int lastRecord, Format format) {
    auto probe = std::make_unique<Model>();
    int badRecord = -1, badSlot = -1;
    VisitStoredValues(*probe, [&](int record, int slot, auto& value) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, float>) {
            if (badRecord >= 0 || record > lastRecord || !IsStored(record, slot, format) ||
                ReplacedOnOpen(record, slot, format))
                return;
            if (!std::isfinite(SlotValue(buffer, record, slot))) {
                badRecord = record;
                badSlot = slot;
            }
        }
    });
    if (badRecord < 0) return {};
    return Failure("Dimension file: record " + std::to_string(badRecord) + ", " +
                   StoredValueName(badRecord, badSlot) + " is not a finite number");
}

void StoreRecords(Model& m, const FileBuffer& buffer, int lastRecord, Format format) {
    VisitStoredValues(m, [&](int record, int slot, auto& value) {
        if (record > lastRecord) return;
        const float v = SlotValue(buffer, record, slot);
        if (format == Format::Older) {
            if (!IsStored(record, slot, format)) return; // not used in the older format
            if (record == 12 && slot == 2) {             // the reverse-arm top, not the setting
                m.Points[RevArmTop].X = v;
                return;
            }
        }
        StoreValue(value, v);
    });
    // The valve-stem joint height is not in the file; it follows the two
    // values that are.
    m.Points[ValveStemJoint].Y = m.Points[Crosshead].Y + m.Cylinder[ValveStemToCylCL];
}

// The file holds every value as a real. An int32_t always rounds to a float
// in range; a double could overflow one and would need a range check first.
float StoredReal(float v) {
    return v;
}
float StoredReal(int32_t v) {
    return static_cast<float>(v);
}
template <class T> float StoredReal(T) = delete;

} // namespace

std::string IoErrorText(int error) {
    switch (error) {
    case fileaccess::NotRegularFile:
        return NotRegularFileText;
    case ENOENT:
    case ENOTDIR:
        return "File not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return "File access denied";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "Disk full";
    default:
        return "I/O error " + std::to_string(error);
    }
}

std::string DataSetNameFromPath(const std::string& path) {
    const std::size_t sep = path.find_last_of("/\\");
    const std::string base = sep == std::string::npos ? path : path.substr(sep + 1);
    // Drop the last four characters (UTF-8 aware: a character's continuation
    // bytes go with it).
    std::size_t end = base.size();
    for (int dropped = 0; dropped < 4; ++dropped) {
        if (end == 0) return {};
        --end;
        while (end > 0 && (static_cast<unsigned char>(base[end]) & 0xC0u) == 0x80u)
            --end;
    }
    return base.substr(0, end);
}

FileResult SaveDimensionFile(const Model& m, const std::string& path) {
    return SaveDimensionFile(m, path, SaveFault{});
}

FileResult SaveDimensionFile(const Model& m, const std::string& path, const SaveFault& fault) {
    // The whole image first: nothing touches the disk until every byte is known.
    std::array<DimensionRecord, KvdRecordCount> records{};
    VisitStoredValues(m, [&](int record, int slot, const auto& value) {
        records[static_cast<std::size_t>(record)].Slot[static_cast<std::size_t>(slot)] =
            StoredReal(value);
    });
    records[CurrentItemRecord].Slot = {0.0f, 0.0f, 0.0f, 0.0f, StoredReal(m.CurrentItem)};
    FileBuffer image{};
    for (std::size_t r = 0; r < records.size(); ++r) {
        const RecordBytesArray bytes = records[r].ToBytes();
        std::copy(bytes.begin(), bytes.end(),
                  image.begin() + static_cast<std::ptrdiff_t>(r * RecordBytes));
    }

    fileaccess::WriteFault writeFault;
    if (fault.FailAfterRecords >= 0)
        writeFault.FailAfterBytes = static_cast<std::size_t>(fault.FailAfterRecords) * RecordBytes;
    writeFault.FailClose = fault.FailClose;
    writeFault.Error = fault.Error;
    if (const int error = fileaccess::ReplaceFile(path, image.data(), image.size(), writeFault))
        return ErrnoFailure(error);
    return {};
}

FileResult SaveDimensionsAs(Model& m, const std::string& path) {
    FileResult result = SaveDimensionFile(m, path);
    if (result.Ok) m.DataSetName = DataSetNameFromPath(path);
    return result;
}

FileResult OpenDimensionFile(Model& m, const std::string& path) {
    FileBuffer buffer{};
    int count = 0;
    FileResult result = ReadRecords(path, KvdRecordCount, buffer, count);
    if (!result.Ok) return result;
    // 19 or 20 records hold the dimensions without the lines and circles;
    // anything else short of 72 is a broken file.
    const bool complete = count >= KvdRecordCount;
    if (count < FixedRecordCount || (count > FixedRecordCount + 1 && !complete))
        return Failure(ReadBeyondEndText);

    const int last = complete ? CurrentItemRecord - 1 : FixedRecordCount - 1;
    if (FileResult finite = CheckFinite(buffer, last, Format::Current); !finite.Ok) return finite;
    StoreRecords(m, buffer, last, Format::Current);
    float holding = 1.0f;
    if (complete)
        for (int slot = 0; slot < static_cast<int>(RecordSlots); ++slot)
            holding = SlotValue(buffer, CurrentItemRecord, slot);
    m.CurrentItemHolding = holding;
    // CurrentItem picks a row of the lines table: keep it on one.
    m.CurrentItem = std::clamp(RoundHalfEven(holding), 1, LineItemCount);
    m.DataSetName = DataSetNameFromPath(path);
    return {};
}

FileResult ImportOlderDimensionFile(Model& m, const std::string& path) {
    FileBuffer buffer{};
    int count = 0;
    FileResult result = ReadRecords(path, KvxRecordCount, buffer, count);
    if (!result.Ok) return result;
    if (count < KvxRecordCount) return Failure(ReadBeyondEndText);
    if (FileResult finite = CheckFinite(buffer, KvxRecordCount - 1, Format::Older); !finite.Ok)
        return finite;
    StoreRecords(m, buffer, KvxRecordCount - 1, Format::Older);
    m.DataSetName = DataSetNameFromPath(path);
    return {};
}

int FinishDimensionLoad(Model& m) {
    FindMidGear(m);
    UpdateRevArmPositionCount(m);
    SetRevArmBarRange(m);
    const float a = m.Solver.SignFactorA;
    const float b = m.Solver.SignFactorB;
    const bool sameSense = (a > 0 && b > 0) || (a < 0 && b < 0);
    const double setting = m.RevArmSetting;
    const double mid = m.MidGear();
    return RoundHalfEven((sameSense ? setting - mid : mid - setting) * 1000.0);
}

FileResult LoadDimensionsByExtension(Model& m, const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) {
        return static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch + 32 : ch);
    });
    FileResult result =
        ext == ".kvx" ? ImportOlderDimensionFile(m, path) : OpenDimensionFile(m, path);
    if (result.Ok) FinishDimensionLoad(m);
    return result;
}

} // namespace kes
