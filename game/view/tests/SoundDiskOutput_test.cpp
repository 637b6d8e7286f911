// A scripted game played in real time with the sound output written to a file (SDL's disk
// audio driver, into the build folder's temp folder): the launch, landing and removal sounds
// are in the file where the game played them, and nothing clips. The launch and landing
// sounds play at their own pitch, so their wave is found in the output by correlation; the
// removal sound's pitch glides, so for it the output only has to carry sound.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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

// Where the game did something audible: the frame the output had reached then.
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

// The first `frames` frames of a 16-bit mono wave file, -1 .. 1, and its rate.
std::vector<double> WaveStart(const char *path, int frames, int *rate)
{
    PlatSoundFormat format;
    void *data = nullptr;
    uint32_t bytes = 0;
    std::vector<double> wave;
    if (PlatSoundReadWave(path, &format, &data, &bytes) != PLAT_WAVE_OK)
        return wave;
    *rate = (int)format.samplesPerSecond;
    if (format.channels == 1 && format.bitsPerSample == 16)
    {
        const int16_t *samples = (const int16_t *)data;
        for (uint32_t i = 0; i < bytes / 2 && (int)i < frames; i++)
            wave.push_back(samples[i] / 32768.0);
    }
    PlatSoundFreeWave(data);
    return wave;
}

// The best normalised correlation of `wave` with `signal` at a start in [from, to).
double BestCorrelation(const std::vector<double> &signal, const std::vector<double> &wave, long from, long to)
{
    double waveNorm = 0.0;
    for (double sample : wave)
        waveNorm += sample * sample;
    double best = 0.0;
    for (long start = std::max(0L, from); start < to && start + (long)wave.size() <= (long)signal.size(); start++)
    {
        double dot = 0.0, norm = 0.0;
        for (size_t i = 0; i < wave.size(); i++)
        {
            dot += signal[(size_t)start + i] * wave[i];
            norm += signal[(size_t)start + i] * signal[(size_t)start + i];
        }
        if (norm > 0.0)
            best = std::max(best, dot / std::sqrt(norm * waveNorm));
    }
    return best;
}

// The events, recorded where the rules call the sound module.
struct
{
    std::string outputPath;
    std::vector<AudibleEvent> events;
} s_recorder;

void RecordEvent(const char *what)
{
    s_recorder.events.push_back({what, FileBytes(s_recorder.outputPath) / 4});
}

void RecordingPlay(int slot)
{
    if (slot == SOUND_BALL_LAUNCH)
        RecordEvent("launch");
    if (slot == SOUND_GRID_LAND)
        RecordEvent("landing");
    SoundPlay(slot);
}

int RecordingPlayRemove(float pitch)
{
    int instance = SoundPlayRemove(pitch);
    if (instance >= 0)
        RecordEvent("removal");
    return instance;
}

int Count(const char *what)
{
    int count = 0;
    for (const AudibleEvent &event : s_recorder.events)
        count += !strcmp(event.what, what);
    return count;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class SoundDiskOutputTest : public SoundTest
{
protected:
    void SetUp() override
    {
        const char *driver = getenv("SDL_AUDIODRIVER");
        hadDriver = driver != nullptr;
        savedDriver = driver ? driver : "";
        std::string temp = BuildFolder() + "/temp";
        std::filesystem::create_directories(temp);
        // One file per run, so that runs side by side keep apart; kept when the test fails.
        s_recorder.outputPath = temp + "/SoundDiskOutput_test_" + std::to_string(getpid()) + ".raw";
        s_recorder.events.clear();
        std::filesystem::remove(s_recorder.outputPath);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", s_recorder.outputPath.c_str(), 1);
        SoundTest::SetUp();
        // The disk driver pulls the output in real time.
        PlatSoundPauseOutput(0);
        _ViewHooks hooks = {};
        SoundFillViewHooks(&hooks);
        hooks.soundPlay = RecordingPlay;
        hooks.soundPlayRemove = RecordingPlayRemove;
        ViewSetHooks(&hooks);
    }
    void TearDown() override
    {
        SoundTest::TearDown();
        if (!HasFailure())
            std::filesystem::remove(s_recorder.outputPath);
        if (hadDriver)
            setenv("SDL_AUDIODRIVER", savedDriver.c_str(), 1);
        else
            unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }

    bool hadDriver = false;
    std::string savedDriver;
};

} // namespace

TEST_F(SoundDiskOutputTest, ScriptedGameSoundsAtItsEventsWithoutClipping)
{
    int rate = 0;
    bool started = false;
    auto next = std::chrono::steady_clock::now();
    const auto tick = std::chrono::microseconds(1000000 / 60);

    ScriptedPlayGame(GAME_TYPE_STRATEGIC, 0, 777, 60 * 12, [&]() {
        if (!started)
        {
            // The player's volumes arrive after the game was set up: full game sounds, no music.
            GameState.userOptions.gameSoundsVolume = 10;
            SoundUpdateGameSoundsVolume();
            started = SoundIsLoaded();
            rate = PlatSoundGetOutputRate();
            if (!started)
                return false;
        }
        next += tick;
        std::this_thread::sleep_until(next);
        return !(Count("launch") >= 3 && Count("landing") >= 3 && Count("removal") >= 1);
    });
    ASSERT_TRUE(started) << Messages();
    ASSERT_GE(Count("launch"), 3);
    ASSERT_GE(Count("landing"), 3);
    ASSERT_GE(Count("removal"), 1) << "the script made no match";
    // Half a second more, so that the last sounds are written.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    SoundReleaseAll();

    const std::vector<AudibleEvent> &events = s_recorder.events;
    std::string bytes = testkit::ReadFile(s_recorder.outputPath);
    ASSERT_EQ(PlatSoundGetOutputRate(), 0) << "the output is closed";
    std::vector<int16_t> samples(bytes.size() / 2);
    memcpy(samples.data(), bytes.data(), samples.size() * 2);
    std::vector<double> left = testkit::Channel(samples, 2, 0);
    std::vector<double> right = testkit::Channel(samples, 2, 1);
    ASSERT_GT((long)left.size(), events.back().frame);

    // Each event's sound is in the output: there is sound from the block being written when the
    // game played it, and the launch and landing waves start there. Other sounds overlap them
    // (the roll loops, a landing next to a launch), so their correlation is judged by the median
    // over the game: a wave that is not there correlates at about 0.45 by chance.
    const long before = rate / 50, after = rate / 4, search = rate / 10;
    int waveRate = 0;
    std::vector<double> launchWave = WaveStart("Data/BallLaunch.wav", 1024, &waveRate);
    ASSERT_EQ(waveRate, rate);
    std::vector<double> landingWave = WaveStart("Data/GridLand.wav", 1024, &waveRate);
    ASSERT_EQ(waveRate, rate);
    ASSERT_EQ(launchWave.size(), 1024u);
    ASSERT_EQ(landingWave.size(), 1024u);
    std::vector<double> launchCorrelations, landingCorrelations;
    for (const AudibleEvent &event : events)
    {
        SCOPED_TRACE(std::string(event.what) + " at frame " + std::to_string(event.frame));
        long from = std::max(0L, event.frame - before);
        EXPECT_GT(testkit::Rms(testkit::Slice(left, (size_t)from, (size_t)(before + after))), 0.01);
        if (!strcmp(event.what, "launch"))
            launchCorrelations.push_back(BestCorrelation(left, launchWave, from, event.frame + search));
        if (!strcmp(event.what, "landing"))
            landingCorrelations.push_back(BestCorrelation(left, landingWave, from, event.frame + search));
    }
    EXPECT_GT(Median(launchCorrelations), 0.7);
    EXPECT_GT(Median(landingCorrelations), 0.65);
    int clipped = 0;
    for (int16_t sample : samples)
        clipped += sample == 32767 || sample == -32768;
    EXPECT_EQ(clipped, 0);
    EXPECT_GT(testkit::Peak(left), 0.1);
    EXPECT_GT(testkit::Peak(right), 0.1);
}
