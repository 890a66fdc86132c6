// SPDX-License-Identifier: GPL-3.0-or-later
// Where a save writes: through symbolic links to the file they name, over a
// file keeping its permissions, and in place where the folder is read-only.

#include "files/dimension_file.h"
#include "files_test_support.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

using namespace kes;
using namespace filestest;

namespace {

// The bytes a save of the design writes, taken from a save elsewhere.
std::vector<unsigned char> SavedBytes(const Model& m) {
    ScratchDir dir;
    EXPECT_TRUE(SaveDimensionFile(m, dir.File("reference.kvd")).Ok);
    return ReadBytes(dir.File("reference.kvd"));
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

fs::perms ModeOf(const std::string& path) {
    return fs::status(path).permissions() & fs::perms::all;
}

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_ino;
}

constexpr auto ReadOnlyFolderMode = fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec;
// Anyone, also "nobody" for a test run as root, may write it.
constexpr auto WritableFileMode = fs::perms::owner_read | fs::perms::owner_write |
                                  fs::perms::group_read | fs::perms::group_write |
                                  fs::perms::others_read | fs::perms::others_write;

// A read-only folder holding old.kvd of the given bytes, which anyone may
// write.
struct ReadOnlyFolder {
    ScratchDir Dir;
    std::string Path = Dir.File("old.kvd");
    std::vector<unsigned char> Bytes;
    explicit ReadOnlyFolder(std::vector<unsigned char> bytes) : Bytes(std::move(bytes)) {
        WriteBytes(Path, Bytes);
        fs::permissions(Path, WritableFileMode);
        fs::permissions(Dir.Path(), ReadOnlyFolderMode);
    }
    void ExpectUntouched() const {
        EXPECT_EQ(ReadBytes(Path), Bytes);
        EXPECT_EQ(ModeOf(Path), WritableFileMode);
        EXPECT_EQ(Dir.Entries(), std::vector<std::string>{"old.kvd"})
            << "nothing is left beside it";
    }
};

} // namespace

TEST(SaveThroughLink, WritesTheFileItNamesAndKeepsTheLink) {
    const Model m = SampleDesign(7);
    const auto expected = SavedBytes(m);
    const struct {
        const char* Case;
        const char* LinkTo; // relative to the folder unless absolute
        bool TargetExists;
        bool Chain; // saved through a link to the link
    } cases[] = {
        {"existing, relative", "target.kvd", true, false},
        {"existing, absolute", "", true, false},
        {"dangling, relative", "target.kvd", false, false},
        {"dangling, absolute", "", false, false},
        {"dangling, in a subfolder", "sub/target.kvd", false, false},
        {"existing, through two links", "target.kvd", true, true},
        {"dangling, through two links", "target.kvd", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        ScratchDir dir;
        fs::create_directory(dir.Path() / "sub");
        const std::string linkTo = *c.LinkTo != '\0' ? c.LinkTo : dir.File("target.kvd");
        const std::string target = (dir.Path() / linkTo).string();
        const std::vector<unsigned char> old(1440, 0x5A);
        if (c.TargetExists) WriteBytes(target, old);
        const std::string link = dir.File("link.kvd");
        fs::create_symlink(linkTo, link);
        std::string savedThrough = link;
        if (c.Chain) {
            savedThrough = dir.File("outer.kvd");
            fs::create_symlink("link.kvd", savedThrough);
        }

        Model saved = m;
        ASSERT_TRUE(SaveDimensionsAs(saved, savedThrough).Ok);
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link).string(), linkTo);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
        EXPECT_EQ(ReadBytes(target), expected);
        EXPECT_EQ(saved.DataSetName, c.Chain ? "outer" : "link");

        std::vector<std::string> names{"link.kvd", "sub"};
        if (c.Chain) names.push_back("outer.kvd");
        if (linkTo.find("sub/") != 0) names.push_back("target.kvd");
        EXPECT_EQ(Sorted(dir.Entries()), Sorted(names)) << "no temporary file stays";
        // And it opens again through the link.
        Model reopened = SampleDesign(8);
        ASSERT_TRUE(OpenDimensionFile(reopened, savedThrough).Ok);
        ExpectSameStoredValues(m, reopened);
    }
}

TEST(SaveThroughLink, DanglingIntoAMissingFolderFailsAndKeepsTheLink) {
    ScratchDir dir;
    const std::string link = dir.File("link.kvd");
    fs::create_symlink("gone/target.kvd", link);
    Model m = SampleDesign(9);
    m.DataSetName = "before";
    EXPECT_EQ(SaveDimensionsAs(m, link).Message, "File not found");
    EXPECT_EQ(m.DataSetName, "before");
    EXPECT_EQ(fs::read_symlink(link).string(), "gone/target.kvd");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"link.kvd"});
}

TEST(SavePermissions, TheReplacedFileKeepsItsMode) {
    using P = fs::perms;
    const P modes[] = {P::owner_read | P::owner_write | P::group_read,                     // 0640
                       P::owner_read | P::owner_write,                                     // 0600
                       P::owner_read | P::owner_write | P::group_read | P::group_write,    // 0660
                       WritableFileMode,                                                   // 0666
                       P::owner_read | P::owner_write | P::others_read | P::others_write}; // 0606
    // The mask takes group and others' write from a new file: the old mode
    // must still come back whole.
    const mode_t mask = ::umask(022);
    const Model m = SampleDesign(10);
    const auto expected = SavedBytes(m);
    for (const P mode : modes) {
        SCOPED_TRACE(static_cast<int>(mode));
        ScratchDir dir;
        const std::string path = dir.File("kept.kvd");
        WriteBytes(path, std::vector<unsigned char>(100, 1));
        fs::permissions(path, mode);
        ASSERT_TRUE(SaveDimensionFile(m, path).Ok);
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(ReadBytes(path), expected);
    }
    // A new file gets the usual mode.
    ScratchDir dir;
    ASSERT_TRUE(SaveDimensionFile(m, dir.File("new.kvd")).Ok);
    EXPECT_EQ(ModeOf(dir.File("new.kvd")),
              P::owner_read | P::owner_write | P::group_read | P::others_read);
    ::umask(mask);
}

TEST(SaveInPlace, ReadOnlyFolderRewritesTheWritableFile) {
    const Model m = SampleDesign(11);
    const auto expected = SavedBytes(m);
    // Old files shorter and longer than a saved one end at 1440 bytes.
    for (const std::size_t oldSize :
         {std::size_t{0}, std::size_t{300}, std::size_t{1440}, std::size_t{5000}}) {
        SCOPED_TRACE("old size " + std::to_string(oldSize));
        ReadOnlyFolder folder(std::vector<unsigned char>(oldSize, 0xA5));
        const ino_t inode = InodeOf(folder.Path);
        Model saved = m;
        Unprivileged guard;
        if (!guard.Works()) GTEST_SKIP() << "root writes any folder and could not drop its rights";
        ASSERT_TRUE(SaveDimensionsAs(saved, folder.Path).Ok);
        EXPECT_EQ(ReadBytes(folder.Path), expected);
        EXPECT_EQ(InodeOf(folder.Path), inode) << "written in place";
        EXPECT_EQ(ModeOf(folder.Path), WritableFileMode);
        EXPECT_EQ(folder.Dir.Entries(), std::vector<std::string>{"old.kvd"});
        EXPECT_EQ(saved.DataSetName, "old");
    }
}

TEST(SaveInPlace, FailureWritesTheOldContentsBack) {
    const struct {
        SaveFault Fault;
        const char* Message;
    } faults[] = {
        {{0, false, ENOSPC}, "Disk full"},
        {{35, false, ENOSPC}, "Disk full"},
        {{71, false, EIO}, "I/O error 5"},
        {{-1, true, ENOSPC}, "Disk full"},
    };
    for (const std::size_t oldSize : {std::size_t{300}, std::size_t{1440}, std::size_t{5000}})
        for (const auto& f : faults) {
            SCOPED_TRACE("old size " + std::to_string(oldSize) + ", after record " +
                         std::to_string(f.Fault.FailAfterRecords));
            std::vector<unsigned char> old(oldSize);
            for (std::size_t i = 0; i < oldSize; ++i)
                old[i] = static_cast<unsigned char>(i * 7 + 3);
            ReadOnlyFolder folder(old);
            Model m = SampleDesign(12);
            m.DataSetName = "before";
            Unprivileged guard;
            if (!guard.Works())
                GTEST_SKIP() << "root writes any folder and could not drop its rights";
            const FileResult r = SaveDimensionFile(m, folder.Path, f.Fault);
            EXPECT_FALSE(r.Ok);
            EXPECT_EQ(r.Message, f.Message);
            folder.ExpectUntouched();
        }
}

TEST(SaveInPlace, NewOrReadOnlyFileInReadOnlyFolderIsRefused) {
    ReadOnlyFolder folder(std::vector<unsigned char>(1440, 0x33));
    // Made read-only by its owner: not written in place either.
    ReadOnlyFolder locked(std::vector<unsigned char>(1440, 0x44));
    fs::permissions(locked.Path,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Model m = SampleDesign(13);
    Unprivileged guard;
    if (!guard.Works()) GTEST_SKIP() << "root writes any folder and could not drop its rights";
    EXPECT_EQ(SaveDimensionFile(m, folder.Dir.File("new.kvd")).Message, "File access denied");
    folder.ExpectUntouched();
    EXPECT_EQ(SaveDimensionFile(m, locked.Path).Message, "File access denied");
    EXPECT_EQ(ReadBytes(locked.Path), locked.Bytes);
    EXPECT_EQ(locked.Dir.Entries(), std::vector<std::string>{"old.kvd"});
}
