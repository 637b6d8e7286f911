#include "EngMisc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngProgram.h"
#include "Testkit.h"

using testkit::TempHomeTest;

class EngMiscTest : public TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        srand(7);
        savedTiming = EngFrameTiming;
    }
    void TearDown() override
    {
        EngFrameTiming = savedTiming;
        TempHomeTest::TearDown();
    }
    _EngFrameTiming savedTiming;
};

TEST_F(EngMiscTest, RandomFloatsAreQuantisedToTheirRange)
{
    for (int i = 0; i < 2000; i++)
    {
        float small = EngMiscRandFloat(0.005f, false);
        ASSERT_GE(small, 0);
        ASSERT_LT(small, 0.005f);
        float steps = small * 1e6f;
        ASSERT_NEAR(steps, std::round(steps), 1e-2f);
        float large = EngMiscRandFloat(250, false);
        ASSERT_EQ(large, std::floor(large));
        ASSERT_LE(large, 249);
        float negative = EngMiscRandFloat(-2, false);
        ASSERT_GE(negative, 0);
        ASSERT_LT(negative, 2);
    }
    EXPECT_EQ(EngMiscRandFloat(0.0000005f, true), 0);
    EXPECT_EQ(EngMiscRandFloatRange(3, 3, false), 3);
    EXPECT_FALSE(EngMiscRandChance(0));
    bool sawNegative = false;
    for (int i = 0; i < 100; i++)
        sawNegative = sawNegative || EngMiscRandFloatRange(1, 2, true) < 0;
    EXPECT_TRUE(sawNegative);
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngMiscTest, FloatsAndVectors)
{
    EXPECT_TRUE(EngMiscAreFloatsAlmostEqual(1000.0f, 1000.5f));
    EXPECT_FALSE(EngMiscAreFloatsAlmostEqual(1000.0f, 1002.0f));
    EXPECT_TRUE(EngMiscAreFloatsAlmostEqual(0, 0));
    EXPECT_FALSE(EngMiscAreFloatsAlmostEqual(0.001f, 0));

    float position[3] = {0, 0, 0}, target[3] = {4, 2, 0}, fraction = 0;
    EXPECT_FALSE(EngMiscMoveVector3TowardsTarget(position, target, 1, &fraction));
    EXPECT_FLOAT_EQ(fraction, 0.25f);
    EXPECT_FLOAT_EQ(position[0], 1);
    EXPECT_FLOAT_EQ(position[1], 0.5f);
    EXPECT_TRUE(EngMiscMoveVector3TowardsTarget(position, target, 10, nullptr));
    EXPECT_FLOAT_EQ(position[0], 4);
}

TEST_F(EngMiscTest, TicksWrapAndReportTheirCycles)
{
    float angle = 0;
    bool done = false;
    float value = EngMiscThrobTick(&angle, 1.5707964f, &done); // angle pi
    EXPECT_NEAR(value, 1, 1e-6f);
    EXPECT_FALSE(done);
    value = EngMiscThrobTick(&angle, 1.5707964f, &done); // angle 2 pi: back at 0
    EXPECT_NEAR(value, 0, 1e-6f);
    EXPECT_TRUE(done);
    EngMiscThrobTick(&angle, 1.5707964f, &done);
    EXPECT_FALSE(done);
    EngMiscThrobTick(&angle, 1.5707964f, &done); // 4 pi wraps to 0
    EXPECT_TRUE(done);
    EXPECT_NEAR(angle, 0, 1e-5f);

    angle = 0;
    EngMiscHalfCycleTick(&angle, 0.8f, &done);
    EXPECT_FALSE(done);
    EngMiscHalfCycleTick(&angle, 0.8f, &done);
    EXPECT_TRUE(done);
    EXPECT_EQ(EngMiscCycleTick(nullptr, 1, &done), 0);
    EXPECT_FALSE(done);
}

TEST_F(EngMiscTest, TraverseBackAndForthTurnsOncePerSecond)
{
    EngFrameTiming.frameTime = 1.0f / 64.0f;
    _EngMiscTraverseVar var;
    EngMiscSetupTraverseVar(&var, ENG_TRAVERSE_LINEAR_BACK_AND_FORTH, 1.0f);
    std::vector<int> turns;
    std::vector<float> valuesAtTurn;
    for (int frame = 1; frame <= 64 * 3; frame++)
    {
        bool done = false;
        float value = EngMiscTraverseVarTick(&var, &done);
        if (done)
        {
            turns.push_back(frame);
            valuesAtTurn.push_back(value);
        }
    }
    ASSERT_EQ(turns, (std::vector<int>{64, 128, 192}));
    EXPECT_FLOAT_EQ(valuesAtTurn[0], 1);
    EXPECT_FLOAT_EQ(valuesAtTurn[1], 0);
    EXPECT_FLOAT_EQ(valuesAtTurn[2], 1);

    EngMiscSetupTraverseVar(&var, ENG_TRAVERSE_LINEAR_ONCE, 2.0f);
    for (int frame = 0; frame < 100; frame++)
        EngMiscTraverseVarTick(&var, nullptr);
    EXPECT_EQ(var.value, 1);
    EngMiscSetupTraverseVar(&var, 99, 1.0f);
    EngMiscTraverseVarTick(&var, nullptr);
    EXPECT_TRUE(LogHas("Unknown type: 99"));
    EXPECT_EQ(EngMiscTraverseVarTick(nullptr, nullptr), 0);
    EXPECT_TRUE(LogHas("Bad parameters."));
}

TEST_F(EngMiscTest, BlendVariableCompletesOnceACycle)
{
    _EngMiscBlendVar var = {};
    var.startValue = 0;
    var.lowValue = 0;
    var.highValue = 1;
    var.riseSpeed = 2;   // 0.5 s up
    var.fallSpeed = 4;   // 0.25 s down
    var.delay = 0.5;
    var.highHold = 0.25;
    var.lowHold = 0.5;
    EngMiscRestartBlendVar(&var);
    EngFrameTiming.frameTime = 0.01f;
    EngFrameTiming.currentTime = 100.0;
    std::vector<double> completed;
    for (int frame = 0; frame < 600; frame++)
    {
        if (EngMiscUpdateBlendVar(&var))
            completed.push_back(EngFrameTiming.currentTime - 100.0);
        EngFrameTiming.currentTime += 0.01;
    }
    // delay 0.5 + rise 0.5 + hold 0.25 + fall 0.25 + hold 0.5 = 2 s a cycle.
    ASSERT_EQ(completed.size(), 2u);
    EXPECT_NEAR(completed[0], 2.0, 0.1);
    EXPECT_NEAR(completed[1] - completed[0], 2.0, 0.1);
}

TEST_F(EngMiscTest, Dates)
{
    struct Row
    {
        _EngMiscDate date;
        _EngMiscDate previous;
    } rows[] = {
        {{2024, 3, 15}, {2024, 3, 14}},
        {{2024, 1, 1}, {2023, 12, 31}},
        {{2024, 3, 1}, {2024, 2, 29}},
        {{2023, 3, 1}, {2023, 2, 28}},
        // Century years follow the month lengths' rule.
        {{1900, 3, 1}, {1900, 2, 28}},
        {{2000, 3, 1}, {2000, 2, 29}},
        {{2024, 5, 1}, {2024, 4, 30}},
        {{2024, 8, 1}, {2024, 7, 31}},
        {{2024, 13, 1}, {2024, 13, 1}},
    };
    for (const Row &row : rows)
    {
        _EngMiscDate date = row.date;
        SCOPED_TRACE(testing::Message() << date.year << "-" << (int)date.month << "-" << (int)date.day);
        EngMiscGetPreviousDay(&date);
        EXPECT_EQ(date.year, row.previous.year);
        EXPECT_EQ(date.month, row.previous.month);
        EXPECT_EQ(date.day, row.previous.day);
    }
    EXPECT_TRUE(LogHas("Invalid date 2024:13:01"));

    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(2, 1900), 28);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(2, 2000), 29);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(4, 2001), 30);
    EXPECT_EQ(EngMiscGetNumberOfDaysInMonth(0, 2001), 0);
    _EngMiscDate march = {2024, 3, 5};
    EXPECT_EQ(EngMiscGetDayOfYearForDate(&march), 31 + 29 + 5);
    EXPECT_TRUE(EngMiscIsDateAfterDate({2024, 3, 5}, {2024, 2, 28}));
    EXPECT_FALSE(EngMiscIsDateAfterDate({2024, 3, 5}, {2024, 3, 5}));
    _EngMiscDateAndTime earlier = {{2024, 12, 31}, {23, 59, 0}}, later = {{2025, 1, 1}, {0, 0, 0}};
    EXPECT_LT(EngMiscGetMinutesFromDateAndTime(&earlier), EngMiscGetMinutesFromDateAndTime(&later));

    _EngMiscDate bad = {2023, 2, 29};
    EXPECT_FALSE(EngMiscIsDateValid(&bad, true));
    EXPECT_TRUE(LogHas("Invalid day 29 (28)."));
    _EngMiscDate old = {1899, 1, 1};
    EXPECT_FALSE(EngMiscIsDateValid(&old, false));
    EXPECT_EQ(std::string(EngMiscGetMonthAbbreviation(12)), "DEC");
    EXPECT_EQ(std::string(EngMiscGetMonthAbbreviation(13)), "?");
    EXPECT_EQ(std::string(EngMiscGetMonthAbbreviation(0)), "?");
}

TEST_F(EngMiscTest, Strings)
{
    struct Row
    {
        const char *name;
        const char *extension;
    } rows[] = {{"archive.tar.gz", "gz"}, {".profile", nullptr}, {"name.", nullptr}, {"noext", nullptr}, {"", nullptr}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        const char *extension = EngMiscGetExtensionFromFilename(row.name);
        if (row.extension)
            EXPECT_STREQ(extension, row.extension);
        else
            EXPECT_EQ(extension, nullptr);
    }
    EXPECT_TRUE(LogHas("No extension in [.profile]."));
    EXPECT_TRUE(LogHas("No filename."));

    char text[] = "line\r\n\n";
    EXPECT_TRUE(EngMiscRemoveTrailingNewlines(text));
    EXPECT_STREQ(text, "line");
    EXPECT_FALSE(EngMiscRemoveTrailingNewlines(nullptr));

    EXPECT_TRUE(EngMiscIsStringOfAllowedCharacters("Ab 9.x-y,", true, true, true, true));
    EXPECT_FALSE(EngMiscIsStringOfAllowedCharacters("Ab 9", false, true, true, true));
    EXPECT_FALSE(EngMiscIsStringOfAllowedCharacters("A\xE9", true, true, true, true));
    EXPECT_FALSE(EngMiscIsStringOfAllowedCharacters("", true, true, true, true));
}

TEST_F(EngMiscTest, ScreenLayoutOnTheDesktop)
{
    EXPECT_EQ(EngMiscGetScreenLayout(3), 3);
    EXPECT_EQ(EngMiscGetScreenLayout(-1), SCREEN_LAYOUT_NORMAL);
    EXPECT_FALSE(EngMiscIsHandheldScreenLayout(-1));
}
