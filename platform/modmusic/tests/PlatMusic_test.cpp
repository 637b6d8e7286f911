#include "PlatMusic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <chrono>
#include <cstring>
#include <thread>

#include "PlatSound.h"
#include "Testkit.h"
#include "TestkitSound.h"

using namespace testkit;

namespace
{
const int RATE = 44100;
const int ROW_FRAMES = RATE * 12 / 100; // 120 ms
// Three orders, each a different note.
const std::vector<int> PERIODS = {428, 214, 856};

class PlatMusicTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PlatSoundPauseOutput(1);
        modulePath = dir.File("song.mod");
        WriteFile(modulePath, TrackerModule(PERIODS));
    }
    void TearDown() override
    {
        PlatMusicFree();
        PlatSoundPauseOutput(0);
    }

    // Sets the library up and loads the test's module.
    void Start(uint32_t flags = PLAT_MUSIC_LOOP | PLAT_MUSIC_SMOOTH)
    {
        ASSERT_TRUE(PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, RATE, 16)) << PlatMusicGetErrorText();
        ASSERT_TRUE(PlatMusicLoad(modulePath.c_str(), flags)) << PlatMusicGetErrorText();
    }

    std::vector<double> Mix(int frames)
    {
        std::vector<int16_t> out((size_t)frames * 2);
        PlatSoundMixFrames(out.data(), frames);
        return Channel(out, 2, 0);
    }

    // The expected period in output samples of the note of order `order`.
    static double NotePeriod(int order) { return RATE / TrackerModuleHertz(PERIODS[(size_t)order]); }

    TempDir dir;
    std::string modulePath;
};
} // namespace

TEST_F(PlatMusicTest, NothingLoadedIsSafe)
{
    EXPECT_EQ(PlatMusicGetVersion(), 2u);
    EXPECT_NE(strstr(PlatMusicGetPlayerText(), "libopenmpt "), nullptr);
    // Before set-up, then with the library up and no module.
    for (int up = 0; up < 2; up++)
    {
        SCOPED_TRACE(up);
        EXPECT_EQ(PlatMusicLoad(modulePath.c_str(), PLAT_MUSIC_LOOP), up ? 1 : 0);
        PlatMusicFreeModule();
        EXPECT_FALSE(PlatMusicPlay());
        EXPECT_FALSE(PlatMusicIsPlaying());
        EXPECT_EQ(PlatMusicGetPosition(), PLAT_MUSIC_NO_POSITION);
        EXPECT_FALSE(PlatMusicSetPosition(0));
        EXPECT_EQ(PlatMusicSetAmplify(25), up ? 1 : 0);
        EXPECT_STRNE(PlatMusicGetErrorText(), "");
        PlatMusicFreeModule();
        if (!up)
        {
            PlatMusicFree();
            ASSERT_TRUE(PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, RATE, 16));
        }
    }
    // Silence is all the output carries.
    EXPECT_EQ(Peak(Mix(4410)), 0.0);
}

TEST_F(PlatMusicTest, InitOncePerFree)
{
    EXPECT_FALSE(PlatMusicInit(0, RATE, 16));
    EXPECT_FALSE(PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, 0, 16));
    ASSERT_TRUE(PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, RATE, 16));
    EXPECT_EQ(PlatSoundGetOutputRate(), RATE);
    EXPECT_FALSE(PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, RATE, 16));
    EXPECT_NE(strstr(PlatMusicGetErrorText(), "already"), nullptr);
    PlatMusicFree();
    EXPECT_EQ(PlatSoundGetOutputRate(), 0); // the output closed with its last user
    EXPECT_TRUE(PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, RATE, 16));
}

TEST_F(PlatMusicTest, PlaysReportsAndResumesAPosition)
{
    Start();
    EXPECT_FALSE(PlatMusicIsPlaying());
    EXPECT_EQ(PlatMusicGetPosition(), PlatMusicPosition(0, 0));
    EXPECT_EQ(Peak(Mix(1000)), 0.0); // loaded, not yet playing
    ASSERT_TRUE(PlatMusicPlay());
    EXPECT_TRUE(PlatMusicIsPlaying());
    std::vector<double> first = Mix(ROW_FRAMES);
    EXPECT_GT(Rms(first), 0.05);
    EXPECT_NEAR(Period(Slice(first, 1000, 4000)), NotePeriod(0), 0.5);

    // Into the second order: the position says so, and the note changes.
    Mix(9 * ROW_FRAMES + ROW_FRAMES / 2);
    uint32_t saved = PlatMusicGetPosition();
    EXPECT_EQ(saved, PlatMusicPosition(1, 2));

    // Free everything, load again and resume there.
    PlatMusicFree();
    Start();
    ASSERT_TRUE(PlatMusicSetPosition(saved));
    EXPECT_EQ(PlatMusicGetPosition(), saved);
    ASSERT_TRUE(PlatMusicPlay());
    std::vector<double> resumed = Mix(ROW_FRAMES / 2);
    EXPECT_EQ(PlatMusicGetPosition(), saved);
    EXPECT_NEAR(Period(Slice(resumed, 1000, 4000)), NotePeriod(1), 0.5);

    // Positions outside the song are refused and change nothing.
    for (uint32_t outside : {PlatMusicPosition(3, 0), PlatMusicPosition(0, 64), PLAT_MUSIC_NO_POSITION})
    {
        SCOPED_TRACE(outside);
        EXPECT_FALSE(PlatMusicSetPosition(outside));
        EXPECT_EQ(PlatMusicGetPosition(), saved);
    }
    EXPECT_TRUE(PlatMusicSetPosition(PlatMusicPosition(2, 7)));
    EXPECT_EQ(PlatMusicGetPosition(), PlatMusicPosition(2, 7));
}

TEST_F(PlatMusicTest, AmplificationScalesTheLevel)
{
    Start();
    ASSERT_TRUE(PlatMusicPlay());
    Mix(1000);
    double full = Rms(Mix(ROW_FRAMES / 2));
    ASSERT_GT(full, 0.05);
    struct Row
    {
        uint32_t amplify;
        double ratio;
    } rows[] = {{25, 0.5}, {0, 0.0}, {50, 1.0}, {80, 1.0}, {10, 0.2}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.amplify);
        ASSERT_TRUE(PlatMusicSetAmplify(row.amplify));
        // The same stretch of the song at each level: back to the row start.
        ASSERT_TRUE(PlatMusicSetPosition(PlatMusicPosition(0, 0)));
        Mix(1000);
        EXPECT_NEAR(Rms(Mix(ROW_FRAMES / 2)) / full, row.ratio, 0.01);
    }
}

TEST_F(PlatMusicTest, LoopFlagDecidesWhatHappensAtTheEnd)
{
    struct Row
    {
        uint32_t flags;
        bool playing;
    } rows[] = {{PLAT_MUSIC_LOOP | PLAT_MUSIC_SMOOTH, true}, {PLAT_MUSIC_LOOP, true}, {PLAT_MUSIC_SMOOTH, false}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.flags);
        Start(row.flags);
        ASSERT_TRUE(PlatMusicPlay());
        Mix(25 * ROW_FRAMES); // past the 24 rows of the song
        EXPECT_EQ(PlatMusicIsPlaying() != 0, row.playing);
        EXPECT_EQ(Peak(Mix(ROW_FRAMES)) > 0.05, row.playing);
        if (row.playing)
        {
            EXPECT_EQ(PlatMusicGetPosition() & 0xffffu, 0u); // back in the first order
        }
        PlatMusicFree();
    }
}

TEST_F(PlatMusicTest, MissingAndCorruptFilesFail)
{
    ASSERT_TRUE(PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, RATE, 16));
    std::string module = TrackerModule(PERIODS);
    struct Row
    {
        const char *name;
        const char *bytes; // NULL: no file
        const char *reason;
    } rows[] = {
        {"missing.mod", nullptr, "Cannot open"},
        {"empty.mod", "", "is empty"},
        {"noise.mod", "this is no music at all, only text", "not a module"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        std::string path = dir.File(row.name);
        if (row.bytes)
            WriteFile(path, row.bytes);
        EXPECT_FALSE(PlatMusicLoad(path.c_str(), PLAT_MUSIC_LOOP));
        EXPECT_NE(strstr(PlatMusicGetErrorText(), row.reason), nullptr) << PlatMusicGetErrorText();
        EXPECT_NE(strstr(PlatMusicGetErrorText(), row.name), nullptr) << PlatMusicGetErrorText();
        EXPECT_EQ(PlatMusicGetPosition(), PLAT_MUSIC_NO_POSITION);
    }
    EXPECT_FALSE(PlatMusicLoad(nullptr, 0));
}

TEST_F(PlatMusicTest, SharesTheOutputWithTheSoundEffects)
{
    Start();
    ASSERT_TRUE(PlatSoundCreate());
    // A 441 Hz effect over the music: both are heard in the one output.
    PlatSoundFormat format = {1, 1, RATE, 2 * RATE, 2, 16, 0};
    std::string pcm = SinePcm(16, 1, RATE, 441, 0.3, 4400);
    PlatSoundBuffer *effect = PlatSoundCreateBuffer(&format, pcm.data(), (uint32_t)pcm.size(), 0);
    ASSERT_TRUE(PlatSoundPlay(effect, 1));
    ASSERT_TRUE(PlatMusicSetAmplify(0));
    double effectOnly = Rms(Slice(Mix(ROW_FRAMES / 2), 1000, 4000));
    ASSERT_TRUE(PlatMusicPlay());
    ASSERT_TRUE(PlatMusicSetAmplify(50));
    double both = Rms(Slice(Mix(ROW_FRAMES / 2), 1000, 4000));
    EXPECT_NEAR(effectOnly, 0.3 / std::sqrt(2.0), 0.005);
    EXPECT_GT(both, effectOnly * 1.05);

    // The sound system ends; the music keeps the output.
    PlatSoundDestroy();
    EXPECT_EQ(PlatSoundGetOutputRate(), RATE);
    EXPECT_GT(Rms(Mix(ROW_FRAMES / 2)), 0.05);
}

// The audio thread renders the music while the main thread loads, moves and frees it; every
// change takes the audio lock (this test runs under ThreadSanitizer too).
TEST(PlatMusicThreads, ChangesWhileTheOutputRuns)
{
    TempDir dir;
    std::string path = dir.File("song.mod");
    WriteFile(path, TrackerModule(PERIODS));
    for (int round = 0; round < 20; round++)
    {
        ASSERT_TRUE(PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, RATE, 16)) << PlatMusicGetErrorText();
        ASSERT_TRUE(PlatMusicLoad(path.c_str(), PLAT_MUSIC_LOOP | PLAT_MUSIC_SMOOTH));
        ASSERT_TRUE(PlatMusicPlay());
        for (int step = 0; step < 5; step++)
        {
            PlatMusicSetAmplify((uint32_t)(10 * step));
            PlatMusicSetPosition(PlatMusicPosition((uint32_t)step % 3, (uint32_t)step));
            PlatMusicGetPosition();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (round % 2)
            PlatMusicFreeModule();
        PlatMusicFree();
    }
    // Left running for a while, the song moves on by itself.
    ASSERT_TRUE(PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, RATE, 16));
    ASSERT_TRUE(PlatMusicLoad(path.c_str(), PLAT_MUSIC_LOOP));
    ASSERT_TRUE(PlatMusicPlay());
    for (int wait = 0; wait < 1000 && PlatMusicGetPosition() == PlatMusicPosition(0, 0); wait++)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_NE(PlatMusicGetPosition(), PlatMusicPosition(0, 0));
    PlatMusicFree();
}
