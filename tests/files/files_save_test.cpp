// Saving never destroys the old file: a temporary file beside it, every
// write and the close checked, then a rename over the target.

#include "files/dimension_file.h"
#include "files_test_support.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace kes;
using namespace filestest;

namespace {

Model Design(uint32_t seed) {
    Model m;
    InitialiseModel(m);
    FillNonGeometry(m, seed);
    return m;
}

// Permission checks do not apply to root: run the body as "nobody" then.
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

  private:
    bool dropped_ = false;
};

// A folder holding one saved design, old.kvd.
struct SavedOld {
    ScratchDir Dir;
    std::string Path = Dir.File("old.kvd");
    std::vector<unsigned char> Bytes;
    SavedOld() {
        EXPECT_TRUE(SaveDimensionFile(Design(1), Path).Ok);
        Bytes = ReadBytes(Path);
    }
    void ExpectUntouched() const {
        EXPECT_EQ(ReadBytes(Path), Bytes);
        EXPECT_EQ(Dir.Entries(), std::vector<std::string>{"old.kvd"})
            << "no temporary file stays behind";
    }
};

} // namespace

TEST(Save, ReplacesTheOldFileAndKeepsItsPermissions) {
    SavedOld old;
    fs::permissions(old.Path,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    Model m = Design(2);
    ASSERT_TRUE(SaveDimensionFile(m, old.Path).Ok);
    const auto bytes = ReadBytes(old.Path);
    EXPECT_EQ(bytes.size(), 1440u);
    EXPECT_NE(bytes, old.Bytes);
    EXPECT_EQ(fs::status(old.Path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(old.Dir.Entries(), std::vector<std::string>{"old.kvd"});
}

TEST(Save, FailurePartWayLeavesTheOldFileIntact) {
    const struct {
        SaveFault Fault;
        const char* Message;
    } cases[] = {
        {{0, false, ENOSPC}, "Disk full"},  {{1, false, ENOSPC}, "Disk full"},
        {{35, false, ENOSPC}, "Disk full"}, {{71, false, EIO}, "I/O error 5"},
        {{-1, true, ENOSPC}, "Disk full"},
    };
    for (const auto& c : cases) {
        SavedOld old;
        Model m = Design(3);
        const FileResult r = SaveDimensionFile(m, old.Path, c.Fault);
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.Message, c.Message) << "after record " << c.Fault.FailAfterRecords;
        old.ExpectUntouched();
    }
}

TEST(Save, UnwritableFolderLeavesTheOldFileIntact) {
    SavedOld old;
    // The file itself may be written; the folder may not.
    fs::permissions(old.Path, fs::perms::all & ~fs::perms::others_exec & ~fs::perms::group_exec &
                                  ~fs::perms::owner_exec);
    fs::permissions(old.Dir.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    Model m = Design(4);
    m.DataSetName = "before";
    {
        Unprivileged guard;
        const FileResult r = SaveDimensionsAs(m, old.Path);
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.Message, "File access denied");
        const FileResult fresh = SaveDimensionFile(m, old.Dir.File("new.kvd"));
        EXPECT_EQ(fresh.Message, "File access denied");
    }
    EXPECT_EQ(m.DataSetName, "before");
    old.ExpectUntouched();
}

TEST(Save, ReadOnlyFileIsNotReplaced) {
    SavedOld old;
    fs::permissions(old.Dir.Path(), fs::perms::all);
    fs::permissions(old.Path,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Model m = Design(5);
    {
        Unprivileged guard;
        const FileResult r = SaveDimensionFile(m, old.Path);
        EXPECT_EQ(r.Message, "File access denied");
    }
    old.ExpectUntouched();
}

TEST(Save, MissingFolderAndFolderAsTarget) {
    ScratchDir dir;
    Model m = Design(6);
    EXPECT_EQ(SaveDimensionFile(m, dir.File("no such folder/x.kvd")).Message, "File not found");
    fs::create_directory(dir.Path() / "sub.kvd");
    EXPECT_EQ(SaveDimensionFile(m, dir.File("sub.kvd")).Message, "File access denied");
    EXPECT_TRUE(fs::is_directory(dir.Path() / "sub.kvd"));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"sub.kvd"});
}

TEST(Save, ThroughALinkWritesTheFileItPointsTo) {
    SavedOld old;
    const std::string link = old.Dir.File("link.kvd");
    fs::create_symlink(old.Path, link);
    Model m = Design(7);
    ASSERT_TRUE(SaveDimensionFile(m, link).Ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(ReadBytes(old.Path), old.Bytes);
    EXPECT_EQ(ReadBytes(link), ReadBytes(old.Path));
}

TEST(Save, DataSetNameChangesOnlyWhenTheSaveWorked) {
    ScratchDir dir;
    Model m = Design(8);
    ASSERT_TRUE(SaveDimensionsAs(m, dir.File("Pacific 4-6-2.kvd")).Ok);
    EXPECT_EQ(m.DataSetName, "Pacific 4-6-2");
    EXPECT_FALSE(SaveDimensionsAs(m, dir.File("gone/Mogul.kvd")).Ok);
    EXPECT_EQ(m.DataSetName, "Pacific 4-6-2");
}
