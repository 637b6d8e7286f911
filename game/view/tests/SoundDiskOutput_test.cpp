// A scripted game played in real time with the sound output written to a file (SDL's disk
// audio driver, into the build folder's temp folder): the launch, landing and removal sounds
// are in the file where the game played them, and nothing clips.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "GameTestkit.h"
#include "ScriptedPlay.h"
#include "SoundTestkit.h"

using namespace soundtest;

namespace
{

// Where the game did something audible: the frame the output had reached.
struct AudibleEvent
{
    const char *what;
    long frame;
};

long FileBytes(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? (long)info.st_size : 0;
}

class SoundDiskOutputTest : public SoundTest
{
protected:
    void SetUp() override
    {
        const char *driver = getenv("SDL_AUDIODRIVER");
        savedDriver = driver ? driver : "";
        std::string temp = BuildFolder() + "/temp";
        std::filesystem::create_directories(temp);
        outputPath = temp + "/SoundDiskOutput_test.raw";
        std::filesystem::remove(outputPath);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", outputPath.c_str(), 1);
        SoundTest::SetUp();
        // The disk driver pulls the output in real time.
        PlatSoundPauseOutput(0);
    }
    void TearDown() override
    {
        SoundTest::TearDown();
        setenv("SDL_AUDIODRIVER", savedDriver.c_str(), 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }

    std::string savedDriver;
    std::string outputPath;
};

} // namespace

TEST_F(SoundDiskOutputTest, ScriptedGameSoundsAtItsEventsWithoutClipping)
{
    std::vector<AudibleEvent> events;
    int rate = 0;
    bool started = false;
    int lastMoving = 0, lastRemoving = 0, launches = 0, landings = 0, removals = 0;
    auto next = std::chrono::steady_clock::now();
    const auto tick = std::chrono::microseconds(1000000 / 60);

    ScriptedPlayGame(GAME_TYPE_STRATEGIC, 0, 777, 60 * 12, [&]() {
        _GameState &gs = GameState;
        if (!started)
        {
            // The player's volumes arrive after the game was set up: full game sounds, no music.
            gs.userOptions.gameSoundsVolume = 10;
            SoundUpdateGameSoundsVolume();
            started = SoundIsLoaded();
            rate = PlatSoundGetOutputRate();
            if (!started)
                return false;
        }
        long frame = FileBytes(outputPath) / 4;
        if (gs.movingCount > lastMoving)
            events.push_back({"launch", frame}), launches++;
        if (gs.movingCount < lastMoving)
            events.push_back({"landing", frame}), landings++;
        bool removalSound = false;
        for (int i = lastRemoving; i < gs.removingCount; i++)
            removalSound = removalSound || gs.removingList[i].sound >= 0;
        if (removalSound)
            events.push_back({"removal", frame}), removals++;
        lastMoving = gs.movingCount;
        lastRemoving = gs.removingCount;
        next += tick;
        std::this_thread::sleep_until(next);
        return !(launches >= 3 && landings >= 3 && removals >= 1);
    });
    ASSERT_TRUE(started) << Messages();
    ASSERT_GE(launches, 3);
    ASSERT_GE(landings, 3);
    ASSERT_GE(removals, 1) << "the script made no match";
    // Half a second more, so that the last sounds are written.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    SoundReleaseAll();

    std::string bytes = testkit::ReadFile(outputPath);
    ASSERT_EQ(PlatSoundGetOutputRate(), 0) << "the output is closed";
    std::vector<int16_t> samples(bytes.size() / 2);
    memcpy(samples.data(), bytes.data(), samples.size() * 2);
    std::vector<double> left = testkit::Channel(samples, 2, 0);
    std::vector<double> right = testkit::Channel(samples, 2, 1);
    ASSERT_GT((long)left.size(), events.back().frame);

    // A sound started at an event is mixed into the block after the one being written then.
    const long before = rate / 20, after = rate / 4;
    for (const AudibleEvent &event : events)
    {
        SCOPED_TRACE(std::string(event.what) + " at frame " + std::to_string(event.frame));
        long from = std::max(0L, event.frame - before);
        double energy = testkit::Rms(testkit::Slice(left, (size_t)from, (size_t)(before + after)));
        EXPECT_GT(energy, 0.01);
    }
    int clipped = 0;
    for (int16_t sample : samples)
        clipped += sample == 32767 || sample == -32768;
    EXPECT_EQ(clipped, 0);
    EXPECT_GT(testkit::Peak(left), 0.1);
    EXPECT_GT(testkit::Peak(right), 0.1);
}
