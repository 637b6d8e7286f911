#include "Resolution.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngPrefFolder.h"
#include "EngResModes.h"
#include "EngWindow.h"
#include "PlatDialogs.h"
#include "PlatWin.h"
#include "ResolutionDialog.h"
#include "Testkit.h"
#include "TestkitProgram.h"
#include "TestkitSeams.h"

namespace
{
const char *Links(int link)
{
    return link == 1 ? "https://example.org/home" : link == 2 ? "https://example.org/forum" : nullptr;
}

template <typename T> T At(const std::string &bytes, size_t offset)
{
    T value;
    memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

std::string RecordBytes()
{
    return std::string((const char *)ResolutionGetSettings(), RESOLUTION_FILE_SIZE);
}
} // namespace

class ResolutionTest : public testkit::TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        // The desktop of these tests is the fixed one of a machine without a display.
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"})
            if (const char *value = getenv(name))
                savedDisplay.emplace_back(name, value);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        PlatDialogsForceHeadless(true);
        EngMainSetApplication(testkit::TestApplication());
        PrefFolderSetup("Plinx", false, nullptr, false);
        ResolutionSetup(2, 0, 2.42f, 2.2f, Links, false, true, true, false, false, nullptr, 0, 0);
        path = UserFolder() + "/Resolution.dat";
        EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &desktopWidth, &desktopHeight, false, true);
        EngMiscGetDesktopDimensions_PC(nullptr, nullptr, &workWidth, &workHeight, true, true);
    }
    void TearDown() override
    {
        ResolutionShutdown();
        PrefFolderShutdown();
        EngMainSetApplication(nullptr);
        for (const auto &[name, value] : savedDisplay)
            setenv(name.c_str(), value.c_str(), 1);
        TempHomeTest::TearDown();
    }
    std::vector<std::pair<std::string, std::string>> savedDisplay;
    // A valid file of the current version, windowed 800 x 600.
    std::string ValidFile()
    {
        ResolutionSetDefaults();
        ResolutionSettings *s = ResolutionGetSettings();
        s->windowed = 1;
        s->windowedWidth = 800;
        s->windowedHeight = 600;
        s->internetTest[0] = RESOLUTION_INTERNET_TEST_PASSED;
        return RecordBytes();
    }
    std::string path;
    int desktopWidth = 0, desktopHeight = 0, workWidth = 0, workHeight = 0;
};

TEST_F(ResolutionTest, DefaultsAtTheirOffsets)
{
    memset(ResolutionGetSettings(), 0xEE, RESOLUTION_FILE_SIZE);
    ResolutionSetDefaults();
    std::string bytes = RecordBytes();
    EXPECT_FLOAT_EQ(At<float>(bytes, 0), 2.2f);
    EXPECT_FLOAT_EQ(At<float>(bytes, 4), 2.42f);
    struct Int
    {
        size_t offset;
        int32_t value;
    } ints[] = {{24, -1}, {28, -1}, {32, workWidth}, {36, workHeight}, {40, 32}, {44, desktopWidth},
                {48, desktopHeight}, {52, 32}, {56, 60}, {60, 0}, {64, 0}, {68, 0}, {72, 0}, {144, 2}};
    for (const Int &field : ints)
    {
        SCOPED_TRACE(field.offset);
        EXPECT_EQ(At<int32_t>(bytes, field.offset), field.value);
    }
    struct Byte
    {
        size_t offset;
        uint8_t value;
    } singles[] = {{8, 1},   {12, 0},  {16, 0},  {20, 0},  {76, 1},  {77, 1},  {142, 1}, {148, 1},
                   {149, 1}, {150, 0}, {231, 0}, {311, 1}, {312, 255}, {313, 255}, {314, 0}, {315, 0},
                   {316, 0}, {352, 0}, {356, 0}, {357, 1}, {358, 0}, {359, 0}, {360, 0}};
    for (const Byte &field : singles)
    {
        SCOPED_TRACE(field.offset);
        EXPECT_EQ((uint8_t)bytes[field.offset], field.value);
    }
    EXPECT_STREQ(bytes.data() + 78, "English");
    // Bytes the defaults do not write keep what the record held.
    EXPECT_EQ((uint8_t)bytes[361], 0xEE);
    EXPECT_EQ((uint8_t)bytes[423], 0xEE);
}

TEST_F(ResolutionTest, RejectedFilesGiveTheDefaults)
{
    std::string valid = ValidFile();
    std::string otherFormat = valid;
    float format = 2.1f;
    memcpy(otherFormat.data(), &format, 4);
    std::string badSize = valid;
    int32_t zero = 0;
    memcpy(badSize.data() + 32, &zero, 4);
    struct Row
    {
        const char *name;
        std::string bytes; // empty: no file
    } rows[] = {
        {"missing", ""},
        {"423 bytes", valid.substr(0, 423)},
        {"425 bytes", valid + "x"},
        {"other format value", otherFormat},
        {"zero windowed width", badSize},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        unlink(path.c_str());
        if (!row.bytes.empty())
            testkit::WriteFile(path, row.bytes);
        memset(ResolutionGetSettings(), 0, RESOLUTION_FILE_SIZE);
        EXPECT_FALSE(ResolutionLoadSettings());
        EXPECT_EQ(ResolutionGetSettings()->windowed, 0);
        EXPECT_EQ(ResolutionGetSettings()->showStartupWindow, 1);
        EXPECT_EQ(ResolutionGetSettings()->fullScreenWidth, desktopWidth);
    }
}

TEST_F(ResolutionTest, StoreThenLoadRoundTrips)
{
    std::string valid = ValidFile();
    ResolutionSettings *s = ResolutionGetSettings();
    s->showStartupWindow = 0;
    strcpy(s->lastPlayerName, "ALICE");
    s->lastVersionCheck = {2024, 5, 17};
    EngScreenSettings.windowed = 1;
    EngScreenSettings.width = 800;
    EngScreenSettings.height = 600;
    ASSERT_TRUE(ResolutionSaveSettings());
    std::string saved = RecordBytes();
    EXPECT_EQ(testkit::ReadFile(path), saved);
    EXPECT_FALSE(testkit::FileExists(path + ".new"));

    memset(s, 0, sizeof(*s));
    ASSERT_TRUE(ResolutionLoadSettings());
    EXPECT_EQ(RecordBytes(), saved);
    EXPECT_EQ(EngScreenSettings.windowed, 1);
    EXPECT_EQ(EngScreenSettings.width, 800);
    EXPECT_EQ(EngScreenSettings.height, 600);
}

TEST_F(ResolutionTest, AnotherVersionIsAcceptedAndNeedsTheInternetTest)
{
    ValidFile();
    ResolutionSettings *s = ResolutionGetSettings();
    s->internetTest[2] = 9;
    std::string bytes = RecordBytes();
    float older = 2.41f;
    memcpy(bytes.data() + 4, &older, 4);
    testkit::WriteFile(path, bytes);
    ASSERT_TRUE(ResolutionLoadSettings());
    EXPECT_EQ(s->internetTest[0], 255);
    EXPECT_EQ(s->internetTest[1], 255);
    EXPECT_EQ(s->internetTest[2], 0);
    EXPECT_FLOAT_EQ(s->programVersion, 2.41f);
}

TEST_F(ResolutionTest, WindowLargerThanTheWorkAreaIsAppliedReduced)
{
    ResolutionSetDefaults();
    ResolutionSettings *s = ResolutionGetSettings();
    s->windowed = 1;
    s->windowedWidth = workWidth + 500;
    s->windowedHeight = workHeight + 300;
    ASSERT_TRUE(ResolutionSetSettings());
    EXPECT_EQ(EngScreenSettings.width, workWidth);
    EXPECT_EQ(EngScreenSettings.height, workHeight);
    EXPECT_EQ(s->windowedWidth, workWidth + 500);
}

// A crash after the new file is written and before it replaces the old one leaves the old
// file as it was.
TEST_F(ResolutionTest, CrashBeforeTheRenameKeepsTheOldFile)
{
    std::string old = ValidFile();
    testkit::WriteFile(path, old);
    ResolutionGetSettings()->windowedWidth = 1024;
    EXPECT_EXIT(
        {
            ResolutionSetBeforeReplaceHookForTests([] { _exit(7); });
            ResolutionSaveSettings();
        },
        testing::ExitedWithCode(7), "");
    EXPECT_EQ(testkit::ReadFile(path), old);
    ASSERT_TRUE(ResolutionLoadSettings());
    EXPECT_EQ(ResolutionGetSettings()->windowedWidth, 800);
}

TEST_F(ResolutionTest, SaveFailureShowsItsMessageAndKeepsTheOldFile)
{
    std::string old = ValidFile();
    testkit::WriteFile(path, old);
    // A folder where the temporary file would go.
    ASSERT_EQ(mkdir((path + ".new").c_str(), 0700), 0);
    EXPECT_FALSE(ResolutionSaveSettings());
    ASSERT_EQ(boxes->calls.size(), 1u);
    EXPECT_EQ(boxes->calls[0].title, "Problem Creating to Resolution File");
    EXPECT_EQ(boxes->calls[0].text,
              "Could not create file  " + path + "  . \n\n Ensure the disk is not full and has writing permission.");
    EXPECT_EQ(boxes->calls[0].icon, PLAT_MB_ICON_ERROR);
    EXPECT_EQ(testkit::ReadFile(path), old);
}

TEST_F(ResolutionTest, NotSetUp)
{
    ResolutionShutdown();
    EXPECT_FALSE(ResolutionLoadSettings());
    EXPECT_EQ(ResolutionDoDialog(), 0);
    EXPECT_FALSE(ResolutionDoWeeklyVersionCheck());
    EXPECT_TRUE(LogHas("Module not setup"));
}

// ---- The internet test -------------------------------------------------------------------------

namespace
{
std::vector<std::string> s_boxTitles;
int s_yesAnswers = 0;
int AnswerYesThenNo(const char *title, const char *text, int buttons, int icon)
{
    s_boxTitles.push_back(std::string(title) + (buttons == PLAT_MB_YES_NO ? " ?" : ""));
    if (buttons != PLAT_MB_YES_NO)
        return PLAT_MB_RESULT_OK;
    return s_yesAnswers-- > 0 ? PLAT_MB_RESULT_YES : PLAT_MB_RESULT_NO;
}
} // namespace

TEST_F(ResolutionTest, FailedInternetTestAsksAgainThenRecordsTheRefusal)
{
    ResolutionSetDefaults();
    s_boxTitles.clear();
    s_yesAnswers = 1;
    EngMiscSetMessageBoxHook(AnswerYesThenNo);
    ResolutionRunInternetTest();
    EngMiscSetMessageBoxHook(nullptr);
    EXPECT_EQ(s_boxTitles, (std::vector<std::string>{"Internet Test", "Internet Test Failed", "Internet Test Failed ?",
                                                     "Internet Test Failed", "Internet Test Failed ?"}));
    EXPECT_EQ(ResolutionGetSettings()->internetTest[0], RESOLUTION_INTERNET_TEST_DECLINED);
    // Once declined (or passed) there is no test.
    s_boxTitles.clear();
    ResolutionRunInternetTest();
    EXPECT_TRUE(s_boxTitles.empty());
}

// ---- The dialog ----------------------------------------------------------------------------------

namespace
{
_EngResMode Mode(int width, int height, std::vector<std::pair<int, int>> antiAliasing)
{
    _EngResMode mode = {};
    mode.width = width;
    mode.height = height;
    mode.depth = 32;
    mode.numAntiAliasing = (int32_t)antiAliasing.size();
    for (size_t i = 0; i < antiAliasing.size(); i++)
    {
        mode.antiAliasing[i][0] = antiAliasing[i].first;
        mode.antiAliasing[i][1] = antiAliasing[i].second;
    }
    return mode;
}

std::string Item(PlatDialog *dialog, int id, int index)
{
    char text[64] = "";
    PlatDialogsListGetItem(dialog, id, index, text, sizeof(text));
    return text;
}

std::string Selected(PlatDialog *dialog, int id)
{
    return Item(dialog, id, PlatDialogsListGetSelection(dialog, id));
}
} // namespace

class ResolutionDialogTest : public ResolutionTest
{
protected:
    void SetUp() override
    {
        ResolutionTest::SetUp();
        modes = {Mode(640, 480, {{0, 0}}), Mode(1024, 768, {{0, 0}, {2, 0}, {4, 0}, {4, 1}}),
                 Mode(1280, 1024, {{0, 0}, {1, 0}})};
        windowedMode = Mode(1280, 1024, {{0, 0}, {2, 0}});
        ResolutionSetDefaults();
        ResolutionSettings *s = ResolutionGetSettings();
        s->fullScreenWidth = 1000;
        s->fullScreenHeight = 760;
        s->fullScreenMultisampleType = 4;
        s->fullScreenMultisampleQuality = 3;
        dialog = ResolutionDialogCreate(modes.data(), (int)modes.size(), &windowedMode);
        ASSERT_NE(dialog, nullptr);
        ResolutionDialogFill(dialog);
    }
    void TearDown() override
    {
        ResolutionDialogDestroy(dialog);
        PlatDialogsSetScript(nullptr, nullptr);
        ResolutionTest::TearDown();
    }
    std::vector<_EngResMode> modes;
    _EngResMode windowedMode;
    PlatDialog *dialog = nullptr;
};

TEST_F(ResolutionDialogTest, FilledFromTheRecord)
{
    EXPECT_TRUE(PlatDialogsIsChecked(dialog, RESOLUTION_ID_FULLSCREEN));
    EXPECT_EQ(PlatDialogsListGetCount(dialog, RESOLUTION_ID_RESOLUTION), 3);
    EXPECT_EQ(Item(dialog, RESOLUTION_ID_RESOLUTION, 0), "640 x 480 x 32");
    // Closest by |dw| + |dh| + 10 |ddepth|, and by |dtype| + |dquality| among its pairs.
    EXPECT_EQ(Selected(dialog, RESOLUTION_ID_RESOLUTION), "1024 x 768 x 32");
    EXPECT_EQ(Item(dialog, RESOLUTION_ID_ANTIALIASING, 1), "2x2");
    EXPECT_EQ(Selected(dialog, RESOLUTION_ID_ANTIALIASING), "4x4 Level 2");
    EXPECT_EQ(Selected(dialog, RESOLUTION_ID_VSYNC), "Automatic");
    EXPECT_EQ(Selected(dialog, RESOLUTION_ID_CURSOR_TYPE), "Windows");
    EXPECT_EQ(Selected(dialog, RESOLUTION_ID_SOUND), "On");
    EXPECT_EQ(Selected(dialog, RESOLUTION_ID_MUSIC), "On");
    EXPECT_EQ(Selected(dialog, RESOLUTION_ID_MOUSE_SYNC), "Method 2");
    char version[32];
    PlatDialogsGetText(dialog, RESOLUTION_ID_VERSION, version, sizeof(version));
    EXPECT_STREQ(version, "Version 2.42");
    EXPECT_TRUE(PlatDialogsIsEnabled(dialog, RESOLUTION_ID_PLAY));
}

TEST_F(ResolutionDialogTest, ChoicesAreStoredInTheRecord)
{
    ResolutionSettings *s = ResolutionGetSettings();
    PlatDialogsSimulate(dialog, RESOLUTION_ID_RESOLUTION, PLAT_DIALOG_SELECTED, 2);
    EXPECT_EQ(s->fullScreenWidth, 1280);
    EXPECT_EQ(s->fullScreenHeight, 1024);
    // The anti-aliasing list now shows the new mode's choices.
    EXPECT_EQ(PlatDialogsListGetCount(dialog, RESOLUTION_ID_ANTIALIASING), 2);
    EXPECT_EQ(Item(dialog, RESOLUTION_ID_ANTIALIASING, 1), "Level 1");
    PlatDialogsSimulate(dialog, RESOLUTION_ID_ANTIALIASING, PLAT_DIALOG_SELECTED, 1);
    EXPECT_EQ(s->fullScreenMultisampleType, 1);
    EXPECT_EQ(s->fullScreenMultisampleQuality, 0);
    PlatDialogsSimulate(dialog, RESOLUTION_ID_VSYNC, PLAT_DIALOG_SELECTED, 2);
    EXPECT_EQ(s->fullScreenVerticalSync, 2);
    PlatDialogsSimulate(dialog, RESOLUTION_ID_SOUND, PLAT_DIALOG_SELECTED, 0);
    PlatDialogsSimulate(dialog, RESOLUTION_ID_MUSIC, PLAT_DIALOG_SELECTED, 0);
    PlatDialogsSimulate(dialog, RESOLUTION_ID_CURSOR_TYPE, PLAT_DIALOG_SELECTED, 0);
    PlatDialogsSimulate(dialog, RESOLUTION_ID_MOUSE_SYNC, PLAT_DIALOG_SELECTED, 1);
    EXPECT_EQ(s->soundOn, 0);
    EXPECT_EQ(s->musicOn, 0);
    EXPECT_EQ(s->cursorType, 0);
    EXPECT_EQ(s->mouseSync, 1);

    // Windowed: no resolution list, the windowed mode's anti-aliasing, its own sync value.
    PlatDialogsSimulate(dialog, RESOLUTION_ID_WINDOWED, PLAT_DIALOG_CHECKED, 1);
    EXPECT_EQ(s->windowed, 1);
    EXPECT_FALSE(PlatDialogsIsEnabled(dialog, RESOLUTION_ID_RESOLUTION));
    EXPECT_EQ(PlatDialogsListGetCount(dialog, RESOLUTION_ID_RESOLUTION), 0);
    EXPECT_EQ(Item(dialog, RESOLUTION_ID_ANTIALIASING, 1), "2x2");
    PlatDialogsSimulate(dialog, RESOLUTION_ID_VSYNC, PLAT_DIALOG_SELECTED, 1);
    EXPECT_EQ(s->windowedVerticalSync, 1);
    EXPECT_EQ(s->fullScreenVerticalSync, 2);
    EXPECT_EQ(s->fullScreenWidth, 1280);

    // Back to full screen: the list is whole again, on the full-screen size kept meanwhile.
    PlatDialogsSimulate(dialog, RESOLUTION_ID_FULLSCREEN, PLAT_DIALOG_CHECKED, 1);
    EXPECT_EQ(s->windowed, 0);
    EXPECT_TRUE(PlatDialogsIsEnabled(dialog, RESOLUTION_ID_RESOLUTION));
    EXPECT_EQ(PlatDialogsListGetCount(dialog, RESOLUTION_ID_RESOLUTION), 3);
    EXPECT_EQ(Selected(dialog, RESOLUTION_ID_RESOLUTION), "1280 x 1024 x 32");
}

TEST_F(ResolutionDialogTest, EnterPlaysAndEscapeEndsQuietly)
{
    // Enter presses PLAY, the default button.
    PlatDialogsSetScript(
        [](PlatDialog *dialog, void *) {
            PlatDialogsSimulate(dialog, RESOLUTION_ID_RESOLUTION, PLAT_DIALOG_SELECTED, 0);
            PlatDialogsSimulate(dialog, 0, PLAT_DIALOG_ENTER, 0);
        },
        nullptr);
    EXPECT_EQ(ResolutionDialogRunModal(dialog), 1);
    EXPECT_EQ(ResolutionGetSettings()->fullScreenWidth, 640);

    for (int event : {PLAT_DIALOG_ESCAPE, PLAT_DIALOG_CLOSE})
    {
        static int s_event;
        s_event = event;
        PlatDialogsSetScript([](PlatDialog *dialog, void *) { PlatDialogsSimulate(dialog, 0, s_event, 0); }, nullptr);
        EXPECT_EQ(ResolutionDialogRunModal(dialog), -1);
    }
    EXPECT_TRUE(boxes->calls.empty());
}

TEST_F(ResolutionDialogTest, HelpBoxesAndLinks)
{
    struct Row
    {
        int id;
        const char *caption;
        const char *textStart;
    } rows[] = {
        {RESOLUTION_ID_HELP_ANTIALIASING, "Anti-Aliasing", "Anti-aliasing removes the jagged edges"},
        {RESOLUTION_ID_HELP_VSYNC, "Vertical Syncronisation", "Vertical Syncronisation (V-Sync) keeps"},
        {RESOLUTION_ID_HELP_CURSOR_TYPE, "Cursor Type", "Select between two different cursor"},
        {RESOLUTION_ID_HELP_MOUSE_SYNC, "Mouse Synchronisation", "If the movement response of the mouse"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.caption);
        boxes->calls.clear();
        PlatDialogsSimulate(dialog, row.id, PLAT_DIALOG_CLICKED, 0);
        ASSERT_EQ(boxes->calls.size(), 1u);
        EXPECT_EQ(boxes->calls[0].title, row.caption);
        EXPECT_EQ(boxes->calls[0].text.rfind(row.textStart, 0), 0u);
    }
    // The online services are not there yet: they say so in the log.
    DebugClearMessages();
    PlatDialogsSimulate(dialog, RESOLUTION_ID_HOME_PAGE, PLAT_DIALOG_CLICKED, 0);
    EXPECT_TRUE(LogHas("<https://example.org/home>"));
    PlatDialogsSimulate(dialog, RESOLUTION_ID_CHECK_VERSION, PLAT_DIALOG_CLICKED, 0);
    EXPECT_TRUE(LogHas("not available"));
}

TEST_F(ResolutionDialogTest, FullScreenWithoutModesCannotPlay)
{
    ResolutionDialogDestroy(dialog);
    dialog = ResolutionDialogCreate(nullptr, 0, &windowedMode);
    ASSERT_NE(dialog, nullptr);
    ResolutionDialogFill(dialog);
    EXPECT_FALSE(PlatDialogsIsEnabled(dialog, RESOLUTION_ID_PLAY));
    EXPECT_FALSE(PlatDialogsIsEnabled(dialog, RESOLUTION_ID_RESOLUTION));
    PlatDialogsSimulate(dialog, RESOLUTION_ID_WINDOWED, PLAT_DIALOG_CHECKED, 1);
    EXPECT_TRUE(PlatDialogsIsEnabled(dialog, RESOLUTION_ID_PLAY));
}

TEST_F(ResolutionDialogTest, OddRecordValuesAndHiddenLists)
{
    ResolutionSettings *s = ResolutionGetSettings();
    s->fullScreenVerticalSync = 7;
    ResolutionSetup(2, 0, 2.42f, 2.2f, Links, false, false, false, true, true, nullptr, 0, 0);
    ResolutionDialogFill(dialog);
    EXPECT_EQ(s->fullScreenVerticalSync, 0);
    EXPECT_FALSE(PlatDialogsIsEnabled(dialog, RESOLUTION_ID_SOUND));
    EXPECT_EQ(PlatDialogsListGetCount(dialog, RESOLUTION_ID_MUSIC), 0);
    EXPECT_TRUE(LogHas("ID_COMBO_BOARD_TEX not defined."));
    EXPECT_TRUE(LogHas("ID_COMBO_CARD_TEX not defined."));
}
