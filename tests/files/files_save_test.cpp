// SPDX-License-Identifier: GPL-3.0-or-later
// Saving never destroys the old file: a temporary file beside it, every
// write and the close checked, then a rename over the target. Links,
// permissions and read-only folders: files_save_places_test.cpp.

#include "files/dimension_file.h"
#include "files_test_support.h"
#include "model/model.h"

#include <gtest/gtest.h>

using namespace kes;
using namespace filestest;

namespace {

// A folder holding one saved design, old.kvd.
struct SavedOld {
    ScratchDir Dir;
    std::string Path = Dir.File("old.kvd");
    std::vector<unsigned char> Bytes;
    SavedOld() {
        EXPECT_TRUE(SaveDimensionFile(SampleDesign(1), Path).Ok);
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
    Model m = SampleDesign(2);
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
        Model m = SampleDesign(3);
        const FileResult r = SaveDimensionFile(m, old.Path, c.Fault);
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.Message, c.Message) << "after record " << c.Fault.FailAfterRecords;
        old.ExpectUntouched();
    }
}

TEST(Save, ReadOnlyFileIsNotReplaced) {
    SavedOld old;
    fs::permissions(old.Dir.Path(), fs::perms::all);
    fs::permissions(old.Path,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Model m = SampleDesign(5);
    {
        Unprivileged guard;
        if (!guard.Works()) GTEST_SKIP() << "root writes any file and could not drop its rights";
        const FileResult r = SaveDimensionFile(m, old.Path);
        EXPECT_EQ(r.Message, "File access denied");
    }
    old.ExpectUntouched();
}

TEST(Save, MissingFolderAndFolderAsTarget) {
    ScratchDir dir;
    Model m = SampleDesign(6);
    EXPECT_EQ(SaveDimensionFile(m, dir.File("no such folder/x.kvd")).Message, "File not found");
    fs::create_directory(dir.Path() / "sub.kvd");
    EXPECT_EQ(SaveDimensionFile(m, dir.File("sub.kvd")).Message, "Not a regular file");
    EXPECT_TRUE(fs::is_directory(dir.Path() / "sub.kvd"));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"sub.kvd"});
}

TEST(Save, DataSetNameChangesOnlyWhenTheSaveWorked) {
    ScratchDir dir;
    Model m = SampleDesign(8);
    ASSERT_TRUE(SaveDimensionsAs(m, dir.File("Pacific 4-6-2.kvd")).Ok);
    EXPECT_EQ(m.DataSetName, "Pacific 4-6-2");
    EXPECT_FALSE(SaveDimensionsAs(m, dir.File("gone/Mogul.kvd")).Ok);
    EXPECT_EQ(m.DataSetName, "Pacific 4-6-2");
}
