#include "EngDirList.h"

#include <sys/stat.h>

#include <gmock/gmock.h>

#include "EngDebug.h"
#include "Testkit.h"

class DirListTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        folder = Home() + "/list";
        mkdir(folder.c_str(), 0700);
    }

    // Every name of one listing, in order.
    std::vector<std::string> ListAll(DirList &list)
    {
        std::vector<std::string> names;
        EXPECT_TRUE(list.PrepareToGetFilenamesInDir());
        for (int guard = 0; guard < 100; guard++)
        {
            std::string name = list.GetNextFilenameInDir();
            if (name.empty())
                break;
            names.push_back(name);
        }
        list.CleanupAfterGettingFilenamesInDir();
        return names;
    }

    std::string folder;
};

TEST_F(DirListTest, ListsEveryEntryInNameOrder)
{
    // Made in reverse order, so the file system's own order would differ.
    mkdir((folder + "/c").c_str(), 0700);
    testkit::WriteFile(folder + "/b.txt", "");
    testkit::WriteFile(folder + "/B2.txt", "");
    testkit::WriteFile(folder + "/a.txt", "");
    DirList list;
    ASSERT_TRUE(list.OpenDir(folder.c_str(), nullptr, nullptr, true));
    EXPECT_THAT(ListAll(list), testing::ElementsAre("a.txt", "b.txt", "B2.txt", "c"));
    // The end stays the end; a second listing gives the same names.
    EXPECT_THAT(ListAll(list), testing::ElementsAre("a.txt", "b.txt", "B2.txt", "c"));
    list.CloseDir();
    EXPECT_EQ(DebugGetNumMessages(), 0);

    DirList empty;
    ASSERT_TRUE(empty.OpenDir((Home() + "\\list\\c").c_str(), nullptr, nullptr, true));
    EXPECT_TRUE(ListAll(empty).empty());
}

TEST_F(DirListTest, FilterSeesCountNameFolderAndUserData)
{
    for (const char *name : {"English.txt", "Deutsch.txt", "notes.md", "Francais.txt"})
        testkit::WriteFile(folder + "/" + name, "");
    struct Seen
    {
        std::vector<std::string> calls;
    } seen;
    auto filter = [](int accepted, const char *name, const char *directory, void *user) {
        Seen *record = (Seen *)user;
        record->calls.push_back(std::to_string(accepted) + ":" + name + "@" + directory);
        size_t length = strlen(name);
        return length > 4 && strcmp(name + length - 4, ".txt") == 0;
    };
    DirList list;
    ASSERT_TRUE(list.OpenDir(folder.c_str(), filter, &seen, true));
    EXPECT_THAT(ListAll(list), testing::ElementsAre("Deutsch.txt", "English.txt", "Francais.txt"));
    EXPECT_THAT(seen.calls, testing::ElementsAre("0:Deutsch.txt@" + folder, "1:English.txt@" + folder,
                                                 "2:Francais.txt@" + folder, "3:notes.md@" + folder));
}

TEST_F(DirListTest, CallsOutOfOrderAreRefused)
{
    DirList list;
    EXPECT_FALSE(list.PrepareToGetFilenamesInDir());
    EXPECT_TRUE(LogHas("Directory not opened - call DirList::OpenDir() first."));
    EXPECT_STREQ(list.GetNextFilenameInDir(), "");
    EXPECT_TRUE(LogHas("Call DirList::PrepareToGetFilenamesInDir() first."));
    list.CleanupAfterGettingFilenamesInDir();
    EXPECT_TRUE(LogHas("Not getting files in dir"));

    EXPECT_FALSE(list.OpenDir("", nullptr, nullptr, true));
    EXPECT_TRUE(LogHas("Invalid Path Passed In"));
    DebugShutdown();
    EXPECT_FALSE(list.OpenDir((folder + "/missing").c_str(), nullptr, nullptr, false));
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_FALSE(list.OpenDir((folder + "/missing").c_str(), nullptr, nullptr, true));
    EXPECT_TRUE(LogHas("Directory does not exist [" + folder + "/missing]"));

    ASSERT_TRUE(list.OpenDir(folder.c_str(), nullptr, nullptr, true));
    EXPECT_STREQ(list.GetNextFilenameInDir(), "");
    ASSERT_TRUE(list.PrepareToGetFilenamesInDir());
    EXPECT_FALSE(list.PrepareToGetFilenamesInDir());
    EXPECT_TRUE(LogHas("Error - get filenames in progress"));
}
