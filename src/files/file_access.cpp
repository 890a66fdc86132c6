// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_access.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kes::fileaccess {

namespace fs = std::filesystem;

namespace {

// Past this many links in a chain the open itself reports the loop.
constexpr int MaxLinkHops = 40;
// An in-place save keeps the old contents to write them back on failure;
// a larger file is not rewritten in place.
constexpr off_t MaxRestoreBytes = off_t{1} << 20;

// A file descriptor that is closed on every way out.
class Fd {
  public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { Reset(-1); }

    int get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Reset(int fd) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    // Closes, returning 0 or the error. Linux frees the descriptor even when
    // close is interrupted, so EINTR is no failure.
    int Close() {
        const int fd = std::exchange(fd_, -1);
        if (fd < 0 || ::close(fd) == 0 || errno == EINTR) return 0;
        return errno;
    }

  private:
    int fd_ = -1;
};

int ErrnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

// What opening something other than a regular file reports.
int RefusalFor(mode_t) {
    return NotRegularFile;
}

bool IsDiskFull(int error) {
#ifdef EDQUOT
    if (error == EDQUOT) return true;
#endif
    return error == ENOSPC;
}

// Writes size bytes at offset; with a limit below size, writes that many and
// fails with limitError.
int WriteAt(int fd, const unsigned char* data, std::size_t size, off_t offset, std::size_t limit,
            int limitError) {
    const std::size_t want = std::min(size, limit);
    std::size_t done = 0;
    while (done < want) {
        const ssize_t n = ::pwrite(fd, data + done, want - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        done += static_cast<std::size_t>(n);
    }
    return want < size ? limitError : 0;
}

// A name for the temporary file beside the target that nobody else uses.
std::string TemporaryName(int attempt) {
    static std::atomic<unsigned> serial{0};
    const auto tick = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    char name[96];
    std::snprintf(name, sizeof name, ".kvd-save-%ld-%llx-%u-%d.tmp", static_cast<long>(::getpid()),
                  tick & 0xFFFFFFFFFFull, serial++, attempt);
    return name;
}

// The normal save: a temporary file, synced, then renamed over the target.
// refusedByFolder tells that the folder would not take the temporary file
// or the rename, so an in-place write may still work.
int ReplaceThroughTemporary(const std::string& path, const unsigned char* data, std::size_t size,
                            const WriteFault& fault, const struct stat* old,
                            bool& refusedByFolder) {
    refusedByFolder = false;
    const fs::path folder = fs::path(path).parent_path();
    const mode_t mode = old != nullptr ? (old->st_mode & 07777) : 0666;
    Fd out;
    std::string temp;
    for (int attempt = 0; attempt < 100 && !out.Valid(); ++attempt) {
        temp = (folder / TemporaryName(attempt)).string();
        out.Reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        const int error = errno;
        if (!out.Valid() && error != EEXIST) {
            refusedByFolder = error == EACCES || error == EPERM;
            return error != 0 ? error : EIO;
        }
    }
    if (!out.Valid()) return EEXIST;

    auto fail = [&](int error) {
        out.Reset(-1);
        ::unlink(temp.c_str());
        return error;
    };
    // The umask may have narrowed the mode. A file system without
    // permissions refuses the change; the contents still count.
    if (old != nullptr) ::fchmod(out.get(), mode);
    if (const int error = WriteAt(out.get(), data, size, 0, fault.FailAfterBytes, fault.Error))
        return fail(error);
    if (::fsync(out.get()) != 0) return fail(ErrnoOr(EIO));
    if (fault.FailClose) return fail(fault.Error);
    if (const int error = out.Close()) return fail(error);
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = ErrnoOr(EIO);
        ::unlink(temp.c_str());
        refusedByFolder = error == EACCES || error == EPERM || error == EBUSY;
        return error;
    }
    return 0;
}

// Rewrites the open file in place. The old contents are read first and
// written back if anything fails, so the file is never left half new.
int WriteInPlace(Fd& file, const std::string& path, const struct stat& old,
                 const unsigned char* data, std::size_t size, const WriteFault& fault,
                 int folderError) {
    if (old.st_size > MaxRestoreBytes) return folderError;
    std::vector<unsigned char> before(static_cast<std::size_t>(old.st_size));
    std::size_t got = 0;
    if (ReadRegularFile(path, before.data(), before.size(), got) != 0 || got != before.size())
        return folderError;

    auto restore = [&](int error) {
        static_cast<void>(WriteAt(file.get(), before.data(), before.size(), 0, before.size(), 0) ==
                              0 &&
                          ::ftruncate(file.get(), old.st_size) == 0 && ::fsync(file.get()) == 0);
        return error;
    };
    // Room first, so a full disk shows before a byte has changed.
    const int room = ::posix_fallocate(file.get(), 0, static_cast<off_t>(size));
    if (IsDiskFull(room)) return restore(room);
    if (const int error = WriteAt(file.get(), data, size, 0, fault.FailAfterBytes, fault.Error))
        return restore(error);
    if (::ftruncate(file.get(), static_cast<off_t>(size)) != 0) return restore(ErrnoOr(EIO));
    if (::fsync(file.get()) != 0) return restore(ErrnoOr(EIO));
    if (fault.FailClose) return restore(fault.Error);
    return file.Close();
}

} // namespace

int ReadRegularFile(const std::string& path, unsigned char* data, std::size_t capacity,
                    std::size_t& got) {
    got = 0;
    // Looked at before opening: opening a device can have effects of its own.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return ErrnoOr(ENOENT);
    if (!S_ISREG(st.st_mode)) return RefusalFor(st.st_mode);
    // Without blocking, in case a pipe took the file's place meanwhile.
    Fd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.Valid()) return ErrnoOr(ENOENT);
    if (::fstat(file.get(), &st) != 0) return ErrnoOr(EIO);
    if (!S_ISREG(st.st_mode)) return RefusalFor(st.st_mode);
    while (got < capacity) {
        const ssize_t n = ::read(file.get(), data + got, capacity - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ErrnoOr(EIO);
        if (n == 0) break; // end of file
        got += static_cast<std::size_t>(n);
    }
    return file.Close();
}

std::string SaveTargetOf(const std::string& path) {
    fs::path target(path);
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) break;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) break;
        // A relative link names a file beside the link.
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target.string();
}

int ReplaceFile(const std::string& linkOrPath, const unsigned char* data, std::size_t size,
                const WriteFault& fault) {
    const std::string path = SaveTargetOf(linkOrPath);
    struct stat old {};
    bool exists = false;
    if (::stat(path.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) return RefusalFor(old.st_mode);
        exists = true;
    } else if (errno != ENOENT) {
        return ErrnoOr(EIO);
    }
    // An existing file must be writable: a read-only file is not replaced
    // behind the user's back. The handle serves an in-place write.
    Fd existing;
    if (exists) {
        existing.Reset(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!existing.Valid()) return ErrnoOr(EACCES);
        if (::fstat(existing.get(), &old) != 0) return ErrnoOr(EIO);
        if (!S_ISREG(old.st_mode)) return RefusalFor(old.st_mode);
    }
    bool refusedByFolder = false;
    const int error =
        ReplaceThroughTemporary(path, data, size, fault, exists ? &old : nullptr, refusedByFolder);
    if (error != 0 && refusedByFolder && exists)
        return WriteInPlace(existing, path, old, data, size, fault, error);
    return error;
}

} // namespace kes::fileaccess
