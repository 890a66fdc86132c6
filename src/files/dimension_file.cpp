#include "files/dimension_file.h"

#include "files/dimension_layout.h"
#include "files/dimension_record.h"
#include "model/mid_gear.h"
#include "model/rounding.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>
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
int ErrnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

// A std::FILE that is closed on every way out.
class OpenFile {
  public:
    OpenFile() = default;
    explicit OpenFile(std::FILE* f) : f_(f) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { Discard(); }

    std::FILE* get() const { return f_; }
    void Reset(std::FILE* f) {
        Discard();
        f_ = f;
    }
    // Closes, returning 0 or the error.
    int Close() {
        std::FILE* f = std::exchange(f_, nullptr);
        if (f == nullptr) return 0;
        errno = 0;
        return std::fclose(f) == 0 ? 0 : ErrnoOr(EIO);
    }
    void Discard() {
        if (f_ != nullptr) std::fclose(std::exchange(f_, nullptr));
    }

  private:
    std::FILE* f_ = nullptr;
};

// Reads up to maxRecords whole records from the start of the file; count is
// how many whole records it holds (up to maxRecords).
FileResult ReadRecords(const std::string& path, int maxRecords, FileBuffer& buffer, int& count) {
    count = 0;
    errno = 0;
    OpenFile file(std::fopen(path.c_str(), "rb"));
    if (file.get() == nullptr) return ErrnoFailure(ErrnoOr(ENOENT));
    const std::size_t want = static_cast<std::size_t>(maxRecords) * RecordBytes;
    std::size_t got = 0;
    while (got < want) {
        errno = 0;
        const std::size_t n = std::fread(buffer.data() + got, 1, want - got, file.get());
        got += n;
        if (n == 0) {
            if (std::ferror(file.get())) return ErrnoFailure(ErrnoOr(EIO));
            break; // end of file
        }
    }
    if (const int error = file.Close()) return ErrnoFailure(error);
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

void StoreRecords(Model& m, const FileBuffer& buffer, int lastRecord, Format format) {
    VisitStoredValues(m, [&](int record, int slot, auto& value) {
        if (record > lastRecord) return;
        const float v = SlotValue(buffer, record, slot);
        if (format == Format::Older) {
            if (record == 11 && slot == 3) return; // not used in the older format
            if (record == 12 && slot == 2) {       // the reverse-arm top, not the setting
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

// A name for the temporary file beside the target that nobody else uses.
std::string TemporaryName(int attempt) {
    const auto tick = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    char name[64];
    std::snprintf(name, sizeof name, ".kvd-save-%llx-%d.tmp", tick & 0xFFFFFFFFFFull, attempt);
    return name;
}

} // namespace

std::string IoErrorText(int error) {
    switch (error) {
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
    std::array<DimensionRecord, KvdRecordCount> records{};
    VisitStoredValues(m, [&](int record, int slot, const auto& value) {
        records[static_cast<std::size_t>(record)].Slot[static_cast<std::size_t>(slot)] =
            static_cast<float>(value);
    });
    records[CurrentItemRecord].Slot = {0.0f, 0.0f, 0.0f, 0.0f, static_cast<float>(m.CurrentItem)};

    std::error_code ec;
    fs::path target(path);
    // Saving through a link replaces the file it points to, not the link.
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;
    }
    // An existing file must be writable: a read-only file is not replaced
    // behind the user's back (and a folder is not a file).
    const bool exists = fs::exists(fs::symlink_status(target, ec));
    if (exists) {
        errno = 0;
        OpenFile probe(std::fopen(target.string().c_str(), "r+b"));
        if (probe.get() == nullptr) return ErrnoFailure(ErrnoOr(EACCES));
    }

    OpenFile out;
    std::string tempPath;
    for (int attempt = 0; attempt < 100 && out.get() == nullptr; ++attempt) {
        tempPath = (target.parent_path() / TemporaryName(attempt)).string();
        errno = 0;
        out.Reset(std::fopen(tempPath.c_str(), "wbx"));
        if (out.get() == nullptr && errno != EEXIST) return ErrnoFailure(ErrnoOr(EIO));
    }
    if (out.get() == nullptr) return ErrnoFailure(EEXIST);

    auto fail = [&](int error) {
        out.Discard();
        std::error_code ignored;
        fs::remove(tempPath, ignored);
        return ErrnoFailure(error);
    };
    for (int r = 0; r < KvdRecordCount; ++r) {
        if (r == fault.FailAfterRecords) return fail(fault.Error);
        const RecordBytesArray bytes = records[static_cast<std::size_t>(r)].ToBytes();
        errno = 0;
        if (std::fwrite(bytes.data(), 1, RecordBytes, out.get()) != RecordBytes)
            return fail(ErrnoOr(EIO));
    }
    errno = 0;
    if (std::fflush(out.get()) != 0) return fail(ErrnoOr(EIO));
    if (fault.FailClose) return fail(fault.Error);
    if (const int error = out.Close()) return fail(error);

    if (exists) {
        const fs::file_status status = fs::status(target, ec);
        if (!ec) fs::permissions(tempPath, status.permissions(), ec);
    }
    fs::rename(tempPath, target, ec);
    if (ec) return fail(ec.value());
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

    StoreRecords(m, buffer, complete ? CurrentItemRecord - 1 : FixedRecordCount - 1,
                 Format::Current);
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
