#include "PlatShell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Testkit.h"

class ShellTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        for (const char *name : {"LC_ALL", "LC_ADDRESS", "LC_MESSAGES", "LANG"})
        {
            const char *value = getenv(name);
            savedLocale.push_back({name, value ? value : "", value != nullptr});
            unsetenv(name);
        }
    }
    void TearDown() override
    {
        for (const Saved &saved : savedLocale)
            if (saved.set)
                setenv(saved.name, saved.value.c_str(), 1);
            else
                unsetenv(saved.name);
        PlatShellSetFunctions(nullptr);
        TempHomeTest::TearDown();
    }

    struct Saved
    {
        const char *name;
        std::string value;
        bool set;
    };
    std::vector<Saved> savedLocale;
};

TEST_F(ShellTest, DataFolderFollowsXdgAndIsCreated)
{
    struct Row
    {
        const char *label;
        bool set;
        std::string dataHome;
        std::string expected;
    } rows[] = {
        {"absolute", true, Home() + "/xdg/data//", Home() + "/xdg/data"},
        {"relative is ignored", true, "relative/data", Home() + "/.local/share"},
        {"unset", false, "", Home() + "/.local/share"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.label);
        if (row.set)
            setenv("XDG_DATA_HOME", row.dataHome.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        char out[512];
        ASSERT_TRUE(PlatShellGetDataFolder(out, sizeof(out))) << PlatShellGetErrorText();
        EXPECT_EQ(std::string(out), row.expected);
        struct stat info;
        ASSERT_EQ(stat(out, &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }

    char small[8];
    EXPECT_FALSE(PlatShellGetDataFolder(small, sizeof(small)));
    EXPECT_STRNE(PlatShellGetErrorText(), "");
    setenv("XDG_DATA_HOME", (Home() + "/file/below").c_str(), 1);
    testkit::WriteFile(Home() + "/file", "");
    char out[512];
    EXPECT_FALSE(PlatShellGetDataFolder(out, sizeof(out)));
}

TEST_F(ShellTest, DesktopFolderFromUserDirs)
{
    struct Row
    {
        const char *label;
        const char *dirsFile; // NULL: no file
        std::string expected;
    } rows[] = {
        {"no file", nullptr, Home() + "/Desktop"},
        {"relative to home", "# made by xdg-user-dirs\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                             "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch/\"\n",
         Home() + "/Schreibtisch"},
        {"absolute", "  XDG_DESKTOP_DIR=\"/srv/desk\"\n", "/srv/desk"},
        {"unusable value", "XDG_DESKTOP_DIR=\"desk\"\n", Home() + "/Desktop"},
    };
    mkdir((Home() + "/.config").c_str(), 0700);
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.label);
        std::string file = Home() + "/.config/user-dirs.dirs";
        if (row.dirsFile)
            testkit::WriteFile(file, row.dirsFile);
        else
            unlink(file.c_str());
        char out[512];
        ASSERT_TRUE(PlatShellGetDesktopFolder(out, sizeof(out)));
        EXPECT_EQ(std::string(out), row.expected);
    }
}

TEST_F(ShellTest, CountryFromLocale)
{
    struct Row
    {
        std::vector<std::pair<const char *, const char *>> variables;
        const char *country; // NULL: none
    } rows[] = {
        {{{"LANG", "en_GB.UTF-8"}}, "GB"},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "de_at@euro"}}, "AT"},
        {{{"LANG", "en_US"}, {"LC_ADDRESS", "fr_CA.UTF-8"}}, "CA"},
        {{{"LC_MESSAGES", "nl_BE"}}, "BE"},
        {{{"LANG", "C.UTF-8"}}, nullptr},
        {{{"LANG", "POSIX"}}, nullptr},
        {{{"LANG", "en_GBR"}}, nullptr},
        {{}, nullptr},
    };
    for (const Row &row : rows)
    {
        for (const char *name : {"LC_ALL", "LC_ADDRESS", "LC_MESSAGES", "LANG"})
            unsetenv(name);
        std::string label;
        for (const auto &variable : row.variables)
        {
            setenv(variable.first, variable.second, 1);
            label += std::string(variable.first) + "=" + variable.second + " ";
        }
        SCOPED_TRACE(label);
        char out[3] = "xx";
        bool found = PlatShellGetUserCountry(out, sizeof(out));
        EXPECT_EQ(found, row.country != nullptr);
        if (row.country)
        {
            EXPECT_STREQ(out, row.country);
        }
    }
}

TEST_F(ShellTest, OpenGoesThroughTheSeamAndRefusesOptionLikeTargets)
{
    testkit::ShellOpenRecorder recorder;
    EXPECT_TRUE(PlatShellOpen("https://www.fernbrooks.example/plinx/"));
    EXPECT_FALSE(PlatShellOpen("--help"));
    EXPECT_FALSE(PlatShellOpen(""));
    EXPECT_FALSE(PlatShellOpen(nullptr));
    ASSERT_EQ(recorder.opened.size(), 1u);
    EXPECT_EQ(recorder.opened[0], "https://www.fernbrooks.example/plinx/");
}

TEST_F(ShellTest, UserNameAndRandomBytes)
{
    char name[64];
    ASSERT_TRUE(PlatShellGetUserName(name, sizeof(name))) << PlatShellGetErrorText();
    EXPECT_GT(strlen(name), 0u);
    char tiny[1];
    EXPECT_FALSE(PlatShellGetUserName(tiny, sizeof(tiny)));

    unsigned char bytes[2496] = {};
    ASSERT_TRUE(PlatShellGetRandomBytes(bytes, sizeof(bytes)));
    int zeros = 0;
    for (unsigned char byte : bytes)
        zeros += byte == 0;
    // About 10 expected; all-zero would mean nothing was filled.
    EXPECT_LT(zeros, 100);
}

TEST_F(ShellTest, GameFolderIsFoundFromTheProgramsPlace)
{
    // A program folder with Data beside it, one in the installed layout, one with both,
    // and one where a Data folder is not the game's (no Common in it).
    const std::string root = Home() + "/games";
    auto makeData = [](const std::string &folder) {
        std::filesystem::create_directories(folder + "/Data/Common");
    };
    const std::string installedBin = root + "/installed/bin";
    std::filesystem::create_directories(installedBin);
    makeData(installedBin + "/" + PLINX_GAME_FOLDER_FROM_PROGRAM);
    makeData(root + "/beside");
    std::filesystem::create_directories(root + "/both/bin");
    makeData(root + "/both/bin");
    makeData(root + "/both/bin/" + PLINX_GAME_FOLDER_FROM_PROGRAM);
    std::filesystem::create_directories(root + "/foreign/Data");
    const std::string buildTree = std::filesystem::path(PLINX_DATA_DIR).parent_path().string();

    struct Row
    {
        const char *label;
        std::string program;
        std::string expected;
    } rows[] = {
        {"beside the program", root + "/beside", root + "/beside"},
        {"installed layout", installedBin,
         std::filesystem::weakly_canonical(installedBin + "/" + PLINX_GAME_FOLDER_FROM_PROGRAM).string()},
        {"beside wins", root + "/both/bin", root + "/both/bin"},
        {"a foreign Data folder: the build tree", root + "/foreign", buildTree},
        {"no such folder: the build tree", root + "/nowhere", buildTree},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.label);
        char out[4096];
        ASSERT_TRUE(PlatShellFindGameFolder(row.program.c_str(), out, sizeof(out))) << PlatShellGetErrorText();
        EXPECT_EQ(std::string(out), row.expected);
    }
    // The test program lives in the build tree, beside its Data.
    char out[4096];
    ASSERT_TRUE(PlatShellFindGameFolder(nullptr, out, sizeof(out)));
    char program[4096];
    ASSERT_TRUE(PlatShellGetProgramFolder(program, sizeof(program)));
    EXPECT_EQ(std::string(out), std::filesystem::canonical(program).string());
    char tiny[4];
    EXPECT_FALSE(PlatShellFindGameFolder(root.c_str(), tiny, sizeof(tiny)));
}

TEST_F(ShellTest, StartProgramRunsItInItsFolderWithNoArguments)
{
    // The started program writes where it runs and how many arguments it got.
    const std::string folder = Home() + "/game folder";
    std::filesystem::create_directories(folder);
    const std::string program = Home() + "/probe";
    testkit::WriteFile(program, "#!/bin/sh\necho \"$(pwd) $#\" > \"$HOME/probe.out.part\"\n"
                                "mv \"$HOME/probe.out.part\" \"$HOME/probe.out\"\n");
    ASSERT_EQ(chmod(program.c_str(), 0700), 0);
    ASSERT_TRUE(PlatShellStartProgram(program.c_str(), folder.c_str())) << PlatShellGetErrorText();
    for (int waited = 0; waited < 500 && !testkit::FileExists(Home() + "/probe.out"); waited++)
        usleep(10000);
    EXPECT_EQ(testkit::ReadFile(Home() + "/probe.out"), folder + " 0\n");

    const std::string plain = Home() + "/not-executable";
    testkit::WriteFile(plain, "#!/bin/sh\n");
    struct Row
    {
        const char *label;
        std::string path;
        const char *folder;
        const char *reason; // part of the error text
    } rows[] = {
        {"missing program", Home() + "/Plinx_DX9", "/", "No such file"},
        {"not executable", plain, "/", "Permission denied"},
        {"missing folder", program, "/no/such/folder", "No such file"},
        {"relative path", "probe", "/", "Not an absolute path"},
        {"no path", "", "/", "No program"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.label);
        EXPECT_FALSE(PlatShellStartProgram(row.path.c_str(), row.folder));
        EXPECT_NE(std::string(PlatShellGetErrorText()).find(row.reason), std::string::npos)
            << PlatShellGetErrorText();
    }
}
