// SPDX-License-Identifier: GPL-3.0-or-later
// Only regular files are read or written: a named pipe, a folder or a device
// is refused with the usual message at once, and the design stays as it was.

#include "files/dimension_file.h"
#include "files_test_support.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kes;
using namespace filestest;

namespace {

Model Factory() {
    Model m;
    InitialiseModel(m);
    return m;
}

// Runs call in this thread. Should it block on the pipe, the watchdog keeps
// opening the pipe's other ends, which frees it, so the test fails with
// "blocked" instead of hanging.
FileResult WithoutBlockingOn(const std::string& fifo, const std::function<FileResult()>& call,
                             bool& blocked) {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    blocked = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, std::chrono::seconds(5), [&] { return done; })) {
            blocked = true;
            for (int mode : {O_RDONLY | O_NONBLOCK, O_WRONLY | O_NONBLOCK}) {
                const int fd = ::open(fifo.c_str(), mode);
                if (fd >= 0) ::close(fd);
            }
        }
    });
    FileResult result = call();
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    watchdog.join();
    return result;
}

struct Reader {
    const char* Name;
    FileResult (*Read)(Model&, const std::string&);
};
const Reader Readers[] = {
    {"open", OpenDimensionFile},
    {"import", ImportOlderDimensionFile},
    {"load by extension", LoadDimensionsByExtension},
};

// fifo names the pipe the read might wait on, if any.
void ExpectRefusedAndUnchanged(const Reader& reader, const std::string& path,
                               const std::string& fifo = {}) {
    SCOPED_TRACE(std::string(reader.Name) + " " + path);
    Model m = Factory();
    const Model before = m;
    bool blocked = false;
    const FileResult r = fifo.empty() ? reader.Read(m, path)
                                      : WithoutBlockingOn(
                                            fifo, [&] { return reader.Read(m, path); }, blocked);
    EXPECT_FALSE(blocked) << "waited on the pipe";
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Message, "Not a regular file");
    ExpectSameStoredValues(before, m);
    EXPECT_EQ(m.DataSetName, "Nominal");
}

} // namespace

TEST(SpecialFiles, NamedPipeIsRefusedWithoutWaitingForAWriter) {
    ScratchDir dir;
    for (const char* name : {"p.kvd", "p.kvx"}) {
        const std::string fifo = dir.File(name);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        // Also when reached through a link.
        const std::string link = dir.File(std::string("link-") + name);
        fs::create_symlink(fifo, link);
        for (const Reader& reader : Readers)
            for (const std::string& path : {fifo, link})
                ExpectRefusedAndUnchanged(reader, path, fifo);
    }
}

TEST(SpecialFiles, SavingOverANamedPipeIsRefusedAndLeavesIt) {
    ScratchDir dir;
    const std::string fifo = dir.File("p.kvd");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Model m = Factory();
    bool blocked = false;
    const FileResult r = WithoutBlockingOn(
        fifo, [&] { return SaveDimensionsAs(m, fifo); }, blocked);
    EXPECT_FALSE(blocked);
    EXPECT_EQ(r.Message, "Not a regular file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(m.DataSetName, "Nominal");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"p.kvd"});
}

TEST(SpecialFiles, FolderIsRefused) {
    ScratchDir dir;
    for (const char* name : {"d.kvd", "d.kvx"}) {
        fs::create_directory(dir.Path() / name);
        for (const Reader& reader : Readers)
            ExpectRefusedAndUnchanged(reader, dir.File(name));
    }
}

TEST(SpecialFiles, DevicesAreRefusedBeforeAByteIsRead) {
    // /dev/zero would otherwise read as a file of zeros.
    int tried = 0;
    for (const char* device : {"/dev/zero", "/dev/null", "/dev/urandom"}) {
        struct stat st {};
        if (::stat(device, &st) != 0 || !S_ISCHR(st.st_mode)) continue;
        ++tried;
        for (const Reader& reader : Readers)
            ExpectRefusedAndUnchanged(reader, device);
    }
    if (tried == 0) GTEST_SKIP() << "no character devices here";
}

TEST(SpecialFiles, RegularFileStillOpensThroughALink) {
    ScratchDir dir;
    Model saved = Factory();
    FillNonGeometry(saved, 21);
    ASSERT_TRUE(SaveDimensionFile(saved, dir.File("real.kvd")).Ok);
    fs::create_symlink("real.kvd", dir.File("link.kvd"));
    Model m = Factory();
    ASSERT_TRUE(OpenDimensionFile(m, dir.File("link.kvd")).Ok);
    ExpectSameStoredValues(saved, m);
    EXPECT_EQ(m.DataSetName, "link");
}
