#include "EngPrefFolder.h"

#include <gmock/gmock.h>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMisc.h"
#include "Testkit.h"

class PrefFolderTest : public testkit::TempHomeTest
{
protected:
    void TearDown() override
    {
        PrefFolderShutdown();
        TempHomeTest::TearDown();
    }
};

TEST_F(PrefFolderTest, SetupMakesTheFolderAndPointsTheLogThere)
{
    std::string mainFolder = PrefFolderSetup("Plinx", true, "LogFile.txt", false);
    EXPECT_EQ(mainFolder, UserFolder());
    EXPECT_TRUE(EngFileDirectoryExists(UserFolder().c_str()));
    EXPECT_EQ(std::string(DebugGetLogFilename()), UserFolder() + "/LogFile.txt");
    DebugInfo("into the folder");
    EXPECT_THAT(testkit::ReadFile(UserFolder() + "/LogFile.txt"), testing::HasSubstr(" :  into the folder"));

    EXPECT_TRUE(PrefFolderSetLogFile(nullptr));
    EXPECT_EQ(std::string(DebugGetLogFilename()), UserFolder() + "/LogFile.txt");
}

TEST_F(PrefFolderTest, SubFoldersAreMadeOnceAndOnRequest)
{
    PrefFolderSetup("Plinx", false, nullptr, false);
    std::string first = PrefFolderGetSubFolder("Users", true);
    EXPECT_EQ(first, UserFolder() + "/Users");
    EXPECT_TRUE(EngFileDirectoryExists(first.c_str()));
    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Users", true)), first);
    EXPECT_EQ(DebugGetNumMessages(), 0);

    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Scores", false)), UserFolder() + "/Scores");
    EXPECT_FALSE(EngFileDirectoryExists((UserFolder() + "/Scores").c_str()));

    // A file in the way of a sub-folder: the main folder stands in.
    testkit::WriteFile(UserFolder() + "/Rolls", "");
    EXPECT_EQ(std::string(PrefFolderGetSubFolder("Rolls", true)), UserFolder());
    EXPECT_TRUE(LogHas("Could not create directory <" + UserFolder() + "/Rolls>"));
}

TEST_F(PrefFolderTest, BadNamesFallBack)
{
    PrefFolderSetup("Plinx", false, nullptr, false);
    std::string longName(128, 'n');
    struct Row
    {
        std::string given;
        bool subFolder;
        std::string result;
        const char *logged;
    } rows[] = {
        {longName, false, UserFolder() + "/Temp.dat", "Filename too long"},
        {longName.substr(1), false, UserFolder() + "/" + longName.substr(1), nullptr},
        {"", false, UserFolder(), "No file specified"},
        {"../escape.txt", false, UserFolder() + "/Temp.dat", "Invalid file name <../escape.txt>"},
        {"Users/../../x", false, UserFolder() + "/Temp.dat", "Invalid file name"},
        {"Users/Fred.usr", false, UserFolder() + "/Users/Fred.usr", nullptr},
        {"", true, UserFolder(), "Invalid sub folder name"},
        {longName, true, UserFolder(), "Invalid sub folder name"},
        {"..", true, UserFolder(), "Invalid sub folder name"},
        {"/etc", true, UserFolder(), "Invalid sub folder name"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.given + (row.subFolder ? " (sub-folder)" : " (file)"));
        DebugShutdown();
        std::string result = row.subFolder ? PrefFolderGetSubFolder(row.given.c_str(), true)
                                           : PrefFolderGetMainFolderWithFileAppended(row.given.c_str());
        EXPECT_EQ(result, row.result);
        if (row.logged)
            EXPECT_TRUE(LogHas(row.logged));
        else
            EXPECT_EQ(DebugGetNumMessages(), 0);
    }
}

// With no usable application-data folder everything lands in the current folder.
TEST_F(PrefFolderTest, UnusableDataFolderFallsBackToCurrentFolder)
{
    struct Row
    {
        const char *label;
        std::string dataHome;
        const char *product;
        const char *logged;
    } rows[] = {
        {"data folder is a file", Home() + "/blocked", "Plinx", "Could not create/get directory"},
        {"maker folder is a file", Home() + "/data", "Plinx", "Could not create dir <"},
        {"no product name", Home() + "/data", "", "Folder name is empty"},
    };
    testkit::WriteFile(Home() + "/blocked", "");
    EngFileCreateDirectory((Home() + "/data").c_str(), true);
    testkit::WriteFile(Home() + "/data/Fernbrooks", "");
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.label);
        DebugShutdown();
        setenv("XDG_DATA_HOME", row.dataHome.c_str(), 1);
        EXPECT_STREQ(PrefFolderSetup(row.product, false, nullptr, false), ".");
        EXPECT_TRUE(LogHas(row.logged));
        EXPECT_STREQ(PrefFolderGetSubFolder("Users", false), "./Users");
        EXPECT_STREQ(PrefFolderGetMainFolderWithFileAppended("x.dat"), "./x.dat");
    }
    EXPECT_TRUE(LogHas("Folder name is empty"));
}

TEST_F(PrefFolderTest, ApplicationDataSubFolders)
{
    std::string data = Home() + "/.local/share";
    char out[300];
    EXPECT_TRUE(EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded("A", "B", out, sizeof(out)));
    EXPECT_EQ(std::string(out), data + "/A/B");
    EXPECT_TRUE(EngFileDirectoryExists(out));
    EXPECT_TRUE(EngMiscCreateUserApplicationDataSubDirectoryIfNeeded("A", out, sizeof(out)));
    EXPECT_TRUE(EngMiscGetUserApplicationDataSubDirectory("C", out, sizeof(out)));
    EXPECT_EQ(std::string(out), data + "/C");
    EXPECT_FALSE(EngFileDirectoryExists(out));
    EXPECT_EQ(DebugGetNumMessages(), 0);

    // Bad arguments, and folder buffers too small for the platform call (256 at least).
    EXPECT_FALSE(EngMiscGetUserApplicationDataSubDirectory("", out, sizeof(out)));
    EXPECT_FALSE(EngMiscCreateUserApplicationDataSubSubDirectoryIfNeeded("A", "", out, sizeof(out)));
    EXPECT_FALSE(EngMiscGetUserApplicationDataSubDirectory("C", out, 200));
    EXPECT_FALSE(EngMiscGetUserApplicationDataDirectory_PC(out, 255));
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_TRUE(EngMiscGetUserApplicationDataDirectory_PC(out, 256));
    EXPECT_EQ(std::string(out), data);
}

TEST_F(PrefFolderTest, DesktopFolder)
{
    EXPECT_EQ(std::string(PrefFolderGetDesktopFolder()), Home() + "/Desktop");
    unsetenv("HOME");
    setenv("XDG_DATA_HOME", "relative", 1);
    // Without HOME the password database names the home folder; it always has one here.
    EXPECT_STRNE(PrefFolderGetDesktopFolder(), ".");
}
