// Platform letters and icon cells, and the mapping of a value to a progress tone.
#include <sys/stat.h>
#include <unistd.h>

#include "EngDebug.h"
#include "EngMemory.h"
#include "Platform.h"
#include "Testkit.h"

namespace
{

class PlatformTest : public testkit::TempHomeTest
{
};

TEST_F(PlatformTest, LettersAndTheirIconCells)
{
    EXPECT_EQ(PlatformGetCurrentPlatform(), 'W');
    const struct
    {
        char letter;
        bool valid;
        float left, top, right, bottom; // left < 0: no icon
    } cases[] = {
        {'M', true, 0.01f, 0.01f, 0.24f, 0.24f}, {'m', true, 0.01f, 0.01f, 0.24f, 0.24f},
        {'W', true, 0.26f, 0.01f, 0.49f, 0.24f}, {'P', true, 0.76f, 0.01f, 0.99f, 0.24f},
        {'A', true, 0.01f, 0.26f, 0.24f, 0.49f}, {'S', false, 0.76f, 0.26f, 0.99f, 0.49f},
        {'F', true, 0.01f, 0.51f, 0.24f, 0.74f}, {'b', true, 0.76f, 0.51f, 0.99f, 0.74f},
        {'r', true, 0.26f, 0.51f, 0.49f, 0.74f}, {'X', false, -1, 0, 0, 0},
        {0, false, -1, 0, 0, 0},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.letter);
        EXPECT_EQ(PlatformIsPlatformValid(c.letter, 0), c.valid ? 1 : 0);
        _Dimension cell = {};
        ASSERT_EQ(PlatformGetIconCoordinates(c.letter, &cell, 0), c.left >= 0);
        if (c.left < 0)
            continue;
        EXPECT_NEAR(cell.x, c.left, 1e-6);
        EXPECT_NEAR(cell.y, c.top, 1e-6);
        EXPECT_NEAR(cell.w, c.right, 1e-6);
        EXPECT_NEAR(cell.h, c.bottom, 1e-6);
    }
    EXPECT_FALSE(PlatformIsPlatformValid('S', 1));
    EXPECT_TRUE(LogHas("Invalid platform '83'."));
}

TEST_F(PlatformTest, UnknownIconsAreReportedTwentyTimesAtMost)
{
    // Thirty different letters without an icon (this test is the only one that asks for
    // reports): twenty reports in the run.
    _Dimension cell;
    const char letters[] = "acdeghjknopqstuvwxyz0123456789";
    for (int i = 0; i < 30; i++)
        EXPECT_FALSE(PlatformGetIconCoordinates(letters[i], &cell, 1));
    int reports = 0;
    for (int i = 0; i < DebugGetNumMessages(); i++)
        reports += strstr(DebugGetMessage(i)->text, "Unknown platform: ") != nullptr;
    EXPECT_EQ(reports, 20);
}

TEST_F(PlatformTest, ValuesMapToTonesAndPitches)
{
    const struct
    {
        int value;
        bool final;
        bool ok;
        int a, b;
        float pitch;
    } cases[] = {
        {0, false, true, 0, 0, 0.7f},    {4, false, true, 0, 0, 1.0f},   {5, false, true, 0, 1, 0.7f},
        {20, false, true, 1, 0, 0.7f},   {97, false, true, 4, 3, 0.85f}, {97, true, true, 4, 2, 0.85f},
        {100, true, true, 4, 3, 1.0f},   {100, false, false, 0, 0, 1.0f}, {-5, false, false, 0, 0, 1.0f},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.value << (c.final ? " final" : ""));
        int a = -9, b = -9;
        float pitch = -9;
        EXPECT_EQ(ProgressGetNumbersFromRangeOfZeroToOneHundred(c.value, &a, &b, &pitch, c.final), c.ok ? 1 : 0);
        EXPECT_EQ(a, c.a);
        EXPECT_EQ(b, c.b);
        EXPECT_NEAR(pitch, c.pitch, 1e-5);
    }
    EXPECT_TRUE(LogHas("Bad value [100=>20=>5:0]"));
    EXPECT_TRUE(ProgressGetNumbersFromRangeOfZeroToOneHundred(50, nullptr, nullptr, nullptr, 1));
}

TEST_F(PlatformTest, ToneFilesAreNamedByRowAndColumnAndMustExist)
{
    testkit::WorkingFolder folder(Home());
    ASSERT_TRUE(folder.Entered());
    for (const char *folder : {"Data", "Data/Common", "Data/Common/Sounds", "Data/Common/Sounds/Progress"})
        mkdir(folder, 0755);
    testkit::WriteFile("Data/Common/Sounds/Progress/Progress23.wav", "RIFF");
    char *name = ProgressSoundsGetFilename(2, 3);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "Data/Common/Sounds/Progress/Progress23.wav");
    EngFree(name, true, "test");
    EXPECT_EQ(ProgressSoundsGetFilename(2, 2), nullptr);
    EXPECT_EQ(ProgressSoundsGetFilename(5, 0), nullptr);
    EXPECT_TRUE(LogHas("Bad value [5:0]"));
    EXPECT_EQ(ProgressSoundsGetFilename(0, -1), nullptr);
}

} // namespace
