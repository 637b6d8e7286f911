#include "EngMisc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "EngDebug.h"
#include "PlatShell.h"
#include "Testkit.h"

class MiscPlatformTest : public testkit::TempHomeTest
{
protected:
    void TearDown() override
    {
        PlatShellSetFunctions(nullptr);
        TempHomeTest::TearDown();
    }
};

TEST_F(MiscPlatformTest, DesktopDimensions)
{
    int x = -1, y = -1, width = 0, height = 0;
    EXPECT_TRUE(EngMiscGetDesktopDimensions_PC(&x, &y, &width, &height, false, true));
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
    int workWidth = 0;
    // Every output is optional.
    EXPECT_TRUE(EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &workWidth, nullptr, true, true));
    EXPECT_GT(workWidth, 0);
    EXPECT_LE(workWidth, width);
    EXPECT_EQ(DebugGetNumMessages(), 0);

    EXPECT_TRUE(EngMiscGetDesktopDimensions_PC(nullptr, nullptr, nullptr, nullptr, false, false));
    ASSERT_EQ(DebugGetNumMessages(), 1);
    EXPECT_STREQ(DebugGetMessage(0)->text, " *  Warning: Not using the current screen is not supported on PCs.");
    EXPECT_EQ(DebugGetMessage(0)->noteType, DEBUG_NOTE_STANDARD);
}

namespace
{
bool NoUserName(char *, size_t)
{
    return false;
}
} // namespace

TEST_F(MiscPlatformTest, UserName)
{
    char name[32] = "";
    EXPECT_TRUE(EngMiscGetDefaultUsersName_PC(name, sizeof(name)));
    EXPECT_GT(strlen(name), 0u);
    EXPECT_FALSE(EngMiscGetDefaultUsersName_PC(name, 0));
    EXPECT_TRUE(LogHas("Bad parameters."));

    PlatShellFunctions failing = {nullptr, nullptr, NoUserName};
    PlatShellSetFunctions(&failing);
    strcpy(name, "stale");
    EXPECT_FALSE(EngMiscGetDefaultUsersName_PC(name, sizeof(name)));
    EXPECT_STREQ(name, "");
    EXPECT_TRUE(LogHas("Could not get user name."));
}

TEST_F(MiscPlatformTest, FoldersAndPlatformAnswers)
{
    char folder[256];
    EXPECT_TRUE(EngMiscGetDesktopDirectory_PC(folder, sizeof(folder)));
    EXPECT_EQ(std::string(folder), Home() + "/Desktop");
    EXPECT_FALSE(EngMiscGetDesktopDirectory_PC(folder, 255));
    EXPECT_EQ(DebugGetNumMessages(), 0);

    // The data folder blocked by a file.
    testkit::WriteFile(Home() + "/blocked", "");
    setenv("XDG_DATA_HOME", (Home() + "/blocked").c_str(), 1);
    EXPECT_FALSE(EngMiscGetUserApplicationDataDirectory_PC(folder, sizeof(folder)));
    EXPECT_TRUE(LogHas("Could not get app data path"));
    EXPECT_STREQ(folder, "");

    EXPECT_TRUE(EngMiscIsDesktopPlatform());
    EXPECT_FALSE(EngMiscIsLargeScreenDevice());
    EXPECT_STREQ(EngMiscGetPlatformName(), "Linux");
    EXPECT_TRUE(EngMiscIsConnectedToInternet());
}

TEST_F(MiscPlatformTest, UserCountryFromTheLocale)
{
    const char *names[] = {"LC_ALL", "LC_ADDRESS", "LC_MESSAGES", "LANG"};
    std::string saved[4];
    bool had[4];
    for (int i = 0; i < 4; i++)
    {
        const char *value = getenv(names[i]);
        had[i] = value != nullptr;
        saved[i] = value ? value : "";
        unsetenv(names[i]);
    }
    char code[3] = "xx";
    setenv("LANG", "fr_CA.UTF-8", 1);
    EXPECT_TRUE(EngMiscGetUserCountryCode_PC(code, sizeof(code)));
    EXPECT_STREQ(code, "CA");
    setenv("LANG", "C.UTF-8", 1);
    EXPECT_FALSE(EngMiscGetUserCountryCode_PC(code, sizeof(code)));
    EXPECT_STREQ(code, "");
    EXPECT_FALSE(EngMiscGetUserCountryCode_PC(nullptr, 3));
    EXPECT_TRUE(LogHas("Bad parameters."));
    for (int i = 0; i < 4; i++)
    {
        if (had[i])
            setenv(names[i], saved[i].c_str(), 1);
        else
            unsetenv(names[i]);
    }
}
