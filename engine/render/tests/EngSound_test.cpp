#include "EngSound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "PlatSound.h"
#include "PlatClock.h"
#include "Testkit.h"
#include "TestkitSound.h"

using namespace testkit;

namespace
{
const int RATE = 44100;

// A temporary home with the sound system's output paused: tests pull the output themselves.
class EngSoundTest : public TempHomeTest
{
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        PlatSoundPauseOutput(1);
        tonePath = home->File("Tone.wav");
        // 441 Hz: 100 samples a period; 22050 frames hold 220.5 periods, so loop tests use
        // whole periods below.
        WriteFile(tonePath, WaveFile(1, 1, RATE, 16, SinePcm(16, 1, RATE, 441, 0.5, RATE / 2)));
    }
    void TearDown() override
    {
        EngSoundDestroy();
        PlatSoundPauseOutput(0);
        TempHomeTest::TearDown();
    }

    // The game's own start: DirectSound, no 3D, frequency control, the reference file.
    bool Start(const char *reference = nullptr)
    {
        return EngSoundInit(ENG_SOUND_SYSTEM_DX, 0, 1, 0, reference ? reference : tonePath.c_str(), 50);
    }

    std::vector<double> Mix(int frames)
    {
        std::vector<int16_t> out((size_t)frames * 2);
        PlatSoundMixFrames(out.data(), frames);
        return Channel(out, 2, 0);
    }

    // The in-memory messages, one a line, for failure output.
    std::string LogMessages() const
    {
        std::string text;
        for (int i = 0; i < DebugGetNumMessages(); i++)
            text += std::string(DebugGetMessage(i)->text) + "\n";
        return text;
    }

    std::string tonePath;
};
} // namespace

TEST_F(EngSoundTest, LoadsAWaveFileAndPlaysIt)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(EngSoundGetActiveSystem(), ENG_SOUND_SYSTEM_DX);
    EXPECT_TRUE(LogHas("Sound output: dummy, 44100 Hz stereo"));
    EngSound tone(tonePath.c_str(), 0, "tone");
    ASSERT_TRUE(tone.IsLoaded());
    EXPECT_FLOAT_EQ(tone.GetDuration(), 0.5f);
    EXPECT_EQ(tone.GetBaseFrequency(), 44100u);
    EXPECT_EQ(tone.GetFormat().bitsPerSample, 16);
    EXPECT_EQ(tone.GetFormat().averageBytesPerSecond, 2u * RATE);

    ASSERT_TRUE(tone.Play());
    std::vector<double> out = Mix(RATE);
    EXPECT_NEAR(Rms(Slice(out, 0, 22000)), 0.5 / std::sqrt(2.0), 0.002);
    EXPECT_EQ(Peak(Slice(out, 22060, 20000)), 0.0); // a one-shot ends after 0.5 s
    ASSERT_TRUE(tone.PlayLooped());
    EXPECT_GT(Rms(Mix(RATE)), 0.3); // still going after a whole second
    tone.Stop();
    Mix(1000);
    EXPECT_EQ(Peak(Mix(1000)), 0.0);
    EXPECT_EQ(DebugGetNumMessages(), 1) << LogText(); // only the output line
}

TEST_F(EngSoundTest, VolumeIsLogarithmicInHundredthsOfDecibel)
{
    ASSERT_TRUE(Start());
    EngSound tone(tonePath.c_str(), 0, "tone");
    ASSERT_TRUE(tone.PlayLooped());
    double full = Rms(Mix(4400));
    struct Row
    {
        float volume;
        double ratio; // of the level at volume 1
    } rows[] = {{1.0f, 1.0},   {2.0f, 1.0}, {0.5f, 0.50003 /* -602 */}, {0.1f, 0.1},
                {0.00001f, 0.0}, {0.0f, 0.0}, {-1.0f, 0.0},           {NAN, 0.0}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.volume);
        tone.SetVolume(row.volume);
        Mix(4400); // past the gain ramp
        EXPECT_NEAR(Rms(Mix(4400)) / full, row.ratio, 0.0005);
    }
}

TEST_F(EngSoundTest, PitchScalesTheBaseFrequencyWithinLimits)
{
    ASSERT_TRUE(Start());
    EngSound tone(tonePath.c_str(), 0, "tone");
    ASSERT_TRUE(tone.PlayLooped());
    struct Row
    {
        float pitch;
        uint32_t hertz;
    } rows[] = {{1.5f, 66150}, {1.0f, 44100}, {0.001f, 100}, {0.0f, 100}, {-2.0f, 100}, {NAN, 100}, {10.0f, 200000}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.pitch);
        tone.SetPitch(row.pitch);
        EXPECT_EQ(tone.GetFrequencyDX(), row.hertz);
    }
    tone.SetPitch(1.5f);
    std::vector<double> out = Mix(8000);
    EXPECT_NEAR(Period(Slice(out, 0, 7000)), 100.0 / 1.5, 0.05);
    EXPECT_EQ(DebugGetNumMessages(), 1) << LogText();
}

TEST_F(EngSoundTest, WithoutFrequencyControlPitchIsRefused)
{
    ASSERT_TRUE(EngSoundInit(ENG_SOUND_SYSTEM_DX, 0, 0, 0, tonePath.c_str(), 50));
    EngSound tone(tonePath.c_str(), 0, "tone");
    ASSERT_TRUE(tone.IsLoaded());
    EXPECT_EQ(tone.GetBaseFrequency(), 0u);
    tone.SetPitch(1.5f);
    EXPECT_TRUE(LogHas("Frequency operations not enabled."));
    EXPECT_TRUE(LogHas("( EngSound::SetFrequencyDX )    IDirectSoundBuffer_SetFrequency - "));
}

TEST_F(EngSoundTest, BadFilesAreRefusedWithTheirReason)
{
    ASSERT_TRUE(Start());
    std::string pcm = SinePcm(16, 1, RATE, 441, 0.5, 100);
    std::string good = WaveFile(1, 1, RATE, 16, pcm);
    struct Row
    {
        const char *name;
        std::string bytes; // empty: no file at all
        const char *logged;
    } rows[] = {
        {"missing", "", "Filename does not exist <"},
        {"not PCM", WaveFile(2, 1, RATE, 16, pcm), "( LoadSoundFromFileDX )    Invalid format in "},
        {"truncated", good.substr(0, good.size() - 1), "is larger than the file"},
        {"no data chunk", good.substr(0, 36) + "junk" + good.substr(40), "No \"data\" chunk"},
        {"zero channels", WaveFile(1, 0, RATE, 16, pcm), "has 0 channels"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        DebugClearMessages();
        std::string path = home->File(std::string(row.name) + ".wav");
        if (!row.bytes.empty())
            WriteFile(path, row.bytes);
        EngSound sound(path.c_str(), 0, row.name);
        EXPECT_FALSE(sound.IsLoaded());
        EXPECT_TRUE(LogHas(row.logged)) << LogMessages();
        // A sound that did not load stays silent and says so.
        EXPECT_FALSE(sound.Play());
        EXPECT_TRUE(LogHas("Sound called but no buffer present"));
    }
    DebugClearMessages();
    EngSound unnamed(nullptr, 0, nullptr);
    EXPECT_TRUE(LogHas("No filename"));
}

TEST_F(EngSoundTest, SystemChoiceAndSettings)
{
    std::string longName(512, 'a');
    struct Row
    {
        const char *name;
        int system;
        const char *reference;
        bool started;
        const char *logged;
    } rows[] = {
        {"no system", ENG_SOUND_SYSTEM_NONE, nullptr, false, "Sound parameters not setup"},
        {"unknown system", 2, nullptr, false, "Unknown sound system 2"},
        {"reference name too long", ENG_SOUND_SYSTEM_DX, longName.c_str(), false, "Sample sound filename too long"},
        {"no reference file", ENG_SOUND_SYSTEM_DX, "", true, "Sound output: "},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        DebugClearMessages();
        EXPECT_EQ(EngSoundInit(row.system, 0, 1, 0, row.reference, 50), row.started);
        EXPECT_TRUE(LogHas(row.logged)) << LogText();
        EngSoundDestroy();
    }

    // Any system but DirectSound leaves every member "Not implemented.".
    EngSoundInit(2, 0, 1, 0, nullptr, 50);
    DebugClearMessages();
    EngSound sound;
    EXPECT_FALSE(sound.Play());
    EXPECT_TRUE(LogHas("Play@EngSound > Not implemented."));
}

TEST_F(EngSoundTest, AFailedStartIsNeverTakenAsRunning)
{
    std::string later = home->File("Later.wav");
    EXPECT_FALSE(Start(later.c_str()));
    EXPECT_EQ(EngSoundGetActiveSystem(), ENG_SOUND_SYSTEM_NONE);
    EXPECT_TRUE(LogHas("( EngSoundInit_DX9 )    (primary)SetFormat - "));
    // A second start tries again rather than answering that the system runs.
    EXPECT_FALSE(EngSoundUpdate(nullptr));
    EngSound early(tonePath.c_str(), 0, "early");
    EXPECT_FALSE(early.IsLoaded());

    WriteFile(later, ReadFile(tonePath));
    EXPECT_TRUE(EngSoundUpdate(nullptr));
    EXPECT_EQ(EngSoundGetActiveSystem(), ENG_SOUND_SYSTEM_DX);
    EngSound tone(tonePath.c_str(), 0, "tone");
    EXPECT_TRUE(tone.IsLoaded());
    // Once running, another update changes nothing: the sound still plays.
    EXPECT_TRUE(EngSoundUpdate(nullptr));
    EXPECT_TRUE(tone.Play());
}

TEST_F(EngSoundTest, ThreeDimensionalSoundsPlayAsPlainOnes)
{
    struct Row
    {
        char allow3d;
        bool reported;
    } rows[] = {{0, false}, {1, true}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE((int)row.allow3d);
        ASSERT_TRUE(EngSoundInit(ENG_SOUND_SYSTEM_DX, row.allow3d, 1, 0, tonePath.c_str(), 50));
        DebugClearMessages();
        EngSound sound(tonePath.c_str(), 1, "3d");
        EXPECT_TRUE(sound.IsLoaded());
        EXPECT_FALSE(sound.Has3D());
        EXPECT_EQ(LogHas("QueryInterface(3d sound buffer)"), row.reported);
        sound.Destroy();
        EngSoundDestroy();
    }
}

TEST_F(EngSoundTest, SoundsOutlivingTheSystemAreLeftAlone)
{
    ASSERT_TRUE(Start());
    EngSound tone(tonePath.c_str(), 0, "tone");
    ASSERT_TRUE(tone.IsLoaded());
    EngSoundDestroy();
    DebugClearMessages();
    // Without a sound system every sound is quietly silent.
    EXPECT_FALSE(tone.Play());
    tone.SetVolume(0.5f);
    EXPECT_EQ(DebugGetNumMessages(), 0) << LogText();
    // A new system does not take over the old buffers.
    ASSERT_TRUE(Start());
    DebugClearMessages();
    EXPECT_FALSE(tone.Play());
    EXPECT_TRUE(LogHas("Sound called but no buffer present"));
    tone.Destroy();
    EXPECT_TRUE(LogHas("Sound was not released"));
}

// The whole road to the speakers: SDL's disk driver writes what the output plays to a file.
TEST_F(EngSoundTest, DiskOutputCarriesTheTone)
{
    std::string capture = home->File("capture.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1); // ms per device buffer: faster than real time
    PlatSoundPauseOutput(0);
    bool started = Start();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(started);
    EXPECT_TRUE(LogHas("Sound output: disk, 44100 Hz stereo"));

    EngSound tone(tonePath.c_str(), 0, "tone");
    ASSERT_TRUE(tone.IsLoaded());
    tone.SetVolume(0.5f);
    size_t before = ReadFile(capture).size();
    ASSERT_TRUE(tone.Play());
    // Wait until the capture holds the whole tone and a little more.
    size_t wanted = before + (size_t)(0.7 * RATE) * 4;
    for (int wait = 0; wait < 3000 && ReadFile(capture).size() < wanted; wait++)
        PlatClockSleep(10);
    tone.Destroy();
    EngSoundDestroy();

    std::string bytes = ReadFile(capture);
    ASSERT_GE(bytes.size(), wanted);
    std::vector<int16_t> samples(bytes.size() / 2);
    memcpy(samples.data(), bytes.data(), samples.size() * 2);
    std::vector<double> left = Channel(samples, 2, 0), right = Channel(samples, 2, 1);
    size_t start = 0;
    while (start < left.size() && left[start] == 0.0)
        start++;
    ASSERT_LT(start + RATE / 2, left.size());
    // The middle 0.4 s of the tone: 441 Hz at half the file's level, the same on both sides.
    std::vector<double> tonePart = Slice(left, start + RATE / 20, RATE * 2 / 5);
    EXPECT_NEAR(Period(tonePart), 100.0, 0.02);
    EXPECT_NEAR(Rms(tonePart), 0.25 / std::sqrt(2.0), 0.002);
    EXPECT_EQ(Slice(right, start + RATE / 20, RATE * 2 / 5), tonePart);
    EXPECT_EQ(Peak(Slice(left, start + RATE / 2 + 10, RATE / 10)), 0.0);
}
