#include "UserList.h"

#include <gtest/gtest.h>

#include <string>

#include "ProfilesTestkit.h"

using profilestest::ProfilesTest;

namespace
{
class UserListTest : public ProfilesTest
{
protected:
    void TearDown() override
    {
        UserListClear();
        ProfilesTest::TearDown();
    }
    std::string Names() const
    {
        std::string names;
        for (int i = 0; i < UserListGetNumUsers(); i++)
            names += std::string(UserListGetUserName(i)) + "/" + UserListGetUserCountryCode(i) + " ";
        return names;
    }
};
} // namespace

TEST_F(UserListTest, PlayersComeFromTheUsersFolderInNameOrder)
{
    EXPECT_EQ(UserListBuild(), 0);
    MakePlayer("Zed", "FR");
    MakePlayer("ann", "DE");
    MakePlayer("B", "GB");
    MakePlayer("A.B", "US");
    // Only names ending exactly in ".usr" and having a name part; a file that does not
    // load still lists its player (with no country), so it can be reset or deleted.
    testkit::WriteFile(UsersFolder() + "/Broken.usr", "not a player");
    testkit::WriteFile(UsersFolder() + "/Caps.USR", "x");
    testkit::WriteFile(UsersFolder() + "/.usr", "x");
    testkit::WriteFile(UsersFolder() + "/Zed.usr.bak", "x");
    EXPECT_EQ(UserListBuild(), 5);
    EXPECT_EQ(Names(), "A.B/US ann/DE B/GB Broken/ Zed/FR ");
    EXPECT_EQ(UserListFindUser("ann"), 1);
    EXPECT_EQ(UserListFindUser("ANN"), -1);
    EXPECT_EQ(UserListGetUserName(5), nullptr);
    EXPECT_EQ(UserListGetUserName(-1), nullptr);
    EXPECT_STREQ(UserListGetUserCountryCode(9), "");
}

TEST_F(UserListTest, NamesLongerThanAnEntryAreSkippedNotCut)
{
    MakePlayer("Ann");
    // Cut to 24 characters this name would be another player's: it is left out.
    const std::string longName(24, 'x'), tooLong = std::string(24, 'x') + "y";
    testkit::WriteFile(UserFile(tooLong), "x");
    testkit::WriteFile(UserFile(longName), "x");
    EXPECT_EQ(UserListBuild(), 2);
    EXPECT_EQ(Names(), "Ann/GB " + longName + "/ ");
    EXPECT_TRUE(LogHas("Player file name too long, skipped <" + tooLong + ".usr>"));
    UserListClear();
    EXPECT_EQ(UserListGetNumUsers(), 0);
}
