#include "PlatSound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <chrono>
#include <cstring>
#include <thread>

#include "Testkit.h"
#include "TestkitSound.h"

using namespace testkit;

// ---- Wave files ----------------------------------------------------------------------------

namespace
{
// A copy of `bytes` with the 32-bit little-endian value at `offset` replaced.
std::string WithU32(std::string bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes[offset + i] = (char)((value >> (8 * i)) & 0xff);
    return bytes;
}

std::string WithU16(std::string bytes, size_t offset, uint16_t value)
{
    bytes[offset] = (char)(value & 0xff);
    bytes[offset + 1] = (char)(value >> 8);
    return bytes;
}

// Offsets in the image WaveFile makes.
const size_t RIFF_SIZE = 4, FMT_ID = 12, FMT_TAG = 20, FMT_CHANNELS = 22, FMT_RATE = 24, FMT_BITS = 34,
             DATA_ID = 36, DATA_SIZE = 40;
} // namespace

TEST(PlatSoundWave, ReadsPcmAndRefusesEveryBrokenStep)
{
    TempDir dir;
    const std::string pcm16 = SinePcm(16, 1, 22050, 441, 0.5, 100); // 200 bytes
    const std::string good = WaveFile(1, 1, 22050, 16, pcm16);
    // An odd-sized chunk with its pad byte between "fmt " and "data".
    std::string padded = good.substr(0, DATA_ID) + std::string("LIST\x03\0\0\0abc\0", 12) + good.substr(DATA_ID);
    padded = WithU32(padded, RIFF_SIZE, (uint32_t)padded.size() - 8);
    // A data chunk whose size is not whole frames: 201 bytes cut to 200.
    std::string ragged = WaveFile(1, 1, 22050, 16, pcm16 + "x");

    struct Row
    {
        const char *name;
        std::string bytes;
        int result;
        uint16_t channels, bits;
        uint32_t dataBytes;
    } rows[] = {
        {"8-bit mono", WaveFile(1, 1, 11025, 8, SinePcm(8, 1, 11025, 441, 0.5, 50)), PLAT_WAVE_OK, 1, 8, 50},
        {"8-bit stereo", WaveFile(1, 2, 11025, 8, SinePcm(8, 2, 11025, 441, 0.5, 50)), PLAT_WAVE_OK, 2, 8, 100},
        {"16-bit mono", good, PLAT_WAVE_OK, 1, 16, 200},
        {"16-bit stereo", WaveFile(1, 2, 44100, 16, SinePcm(16, 2, 44100, 441, 0.5, 50)), PLAT_WAVE_OK, 2, 16, 200},
        {"odd chunk with pad", padded, PLAT_WAVE_OK, 1, 16, 200},
        {"partial frame cut", ragged, PLAT_WAVE_OK, 1, 16, 200},
        {"not PCM", WithU16(good, FMT_TAG, 3), PLAT_WAVE_NOT_PCM},
        {"empty file", "", PLAT_WAVE_BAD_FILE},
        {"no RIFF", "RIFX" + good.substr(4), PLAT_WAVE_BAD_FILE},
        {"not WAVE", good.substr(0, 8) + "AVI " + good.substr(12), PLAT_WAVE_BAD_FILE},
        {"RIFF larger than file", WithU32(good, RIFF_SIZE, (uint32_t)good.size()), PLAT_WAVE_BAD_FILE},
        {"truncated data", good.substr(0, good.size() - 10), PLAT_WAVE_BAD_FILE},
        {"data larger than file", WithU32(good, DATA_SIZE, 0xfffffff0u), PLAT_WAVE_BAD_FILE},
        {"no fmt chunk", WithU32(good, FMT_ID, 0x6b6e756a /* "junk" */), PLAT_WAVE_BAD_FILE},
        {"no data chunk", WithU32(good, DATA_ID, 0x6b6e756a), PLAT_WAVE_BAD_FILE},
        {"zero channels", WithU16(good, FMT_CHANNELS, 0), PLAT_WAVE_BAD_FILE},
        {"zero bits", WithU16(good, FMT_BITS, 0), PLAT_WAVE_BAD_FILE},
        {"zero rate", WithU32(good, FMT_RATE, 0), PLAT_WAVE_BAD_FILE},
        {"24 bits", WaveFile(1, 1, 22050, 24, std::string(300, '\0')), PLAT_WAVE_BAD_FILE},
        {"three channels", WaveFile(1, 3, 22050, 16, std::string(300, '\0')), PLAT_WAVE_BAD_FILE},
        {"no whole frame", WaveFile(1, 2, 22050, 16, "abc"), PLAT_WAVE_BAD_FILE},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        std::string path = dir.File("sound.wav");
        WriteFile(path, row.bytes);
        PlatSoundFormat format;
        void *data = (void *)1;
        uint32_t dataBytes = 1;
        EXPECT_EQ(PlatSoundReadWave(path.c_str(), &format, &data, &dataBytes), row.result)
            << PlatSoundGetErrorText();
        if (row.result == PLAT_WAVE_OK)
        {
            EXPECT_EQ(format.formatTag, 1);
            EXPECT_EQ(format.channels, row.channels);
            EXPECT_EQ(format.bitsPerSample, row.bits);
            EXPECT_EQ(dataBytes, row.dataBytes);
            ASSERT_NE(data, nullptr);
            // The data is the chunk's own bytes.
            size_t at = row.bytes.find("data") + 8;
            EXPECT_EQ(memcmp(data, row.bytes.data() + at, dataBytes), 0);
        }
        else
        {
            EXPECT_EQ(data, nullptr);
            EXPECT_EQ(dataBytes, 0u);
            EXPECT_STRNE(PlatSoundGetErrorText(), "");
        }
        PlatSoundFreeWave(data == (void *)1 ? nullptr : data);
    }

    PlatSoundFormat format;
    void *data;
    uint32_t dataBytes;
    EXPECT_EQ(PlatSoundReadWave(dir.File("missing.wav").c_str(), &format, &data, &dataBytes), PLAT_WAVE_CANNOT_OPEN);
    EXPECT_NE(strstr(PlatSoundGetErrorText(), "missing.wav"), nullptr);
}

// ---- The mixer -------------------------------------------------------------------------------

namespace
{
const int RATE = 44100;

// The sound system with its output paused: the test pulls every frame itself.
class PlatSoundMixerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PlatSoundPauseOutput(1);
        ASSERT_TRUE(PlatSoundCreate()) << PlatSoundGetErrorText();
        ASSERT_EQ(PlatSoundGetOutputRate(), RATE);
    }
    void TearDown() override
    {
        PlatSoundDestroy();
        PlatSoundPauseOutput(0);
    }

    // A buffer of a sine tone of 16-bit mono at RATE.
    PlatSoundBuffer *Tone(double hertz, double amplitude, uint32_t frames, uint16_t bits = 16, uint16_t channels = 1)
    {
        PlatSoundFormat format = {1, channels, RATE, RATE * channels * bits / 8u, (uint16_t)(channels * bits / 8),
                                  bits, 0};
        std::string pcm = SinePcm(bits, channels, RATE, hertz, amplitude, frames);
        return PlatSoundCreateBuffer(&format, pcm.data(), (uint32_t)pcm.size(),
                                     PLAT_SOUND_CTRL_VOLUME | PLAT_SOUND_CTRL_FREQUENCY);
    }

    // The next `frames` of output, left channel.
    std::vector<double> Mix(int frames)
    {
        std::vector<int16_t> out((size_t)frames * 2);
        PlatSoundMixFrames(out.data(), frames);
        return Channel(out, 2, 0);
    }
};
} // namespace

TEST_F(PlatSoundMixerTest, VolumeInHundredthsOfDecibel)
{
    struct Row
    {
        int32_t volume;
        double ratio; // of the RMS at full volume
    } rows[] = {{0, 1.0}, {500, 1.0}, {-602, 0.5}, {-2000, 0.1}, {-10000, 0.0}, {-30000, 0.0}};
    PlatSoundBuffer *tone = Tone(441, 0.5, 4410);
    ASSERT_NE(tone, nullptr);
    ASSERT_TRUE(PlatSoundPlay(tone, 1));
    double full = Rms(Mix(4410));
    EXPECT_NEAR(full, 0.5 / std::sqrt(2.0), 0.002);
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.volume);
        ASSERT_TRUE(PlatSoundSetVolume(tone, row.volume));
        Mix(4410); // past the ramp
        EXPECT_NEAR(Rms(Mix(4410)) / full, row.ratio, 0.001);
    }
}

TEST_F(PlatSoundMixerTest, FrequencyScalesThePeriodAndIsClamped)
{
    PlatSoundBuffer *tone = Tone(441, 0.5, 4400); // 44 periods of 100 samples
    ASSERT_TRUE(PlatSoundPlay(tone, 1));
    EXPECT_NEAR(Period(Mix(4410)), 100.0, 0.01);
    ASSERT_TRUE(PlatSoundSetFrequency(tone, 2 * RATE));
    EXPECT_NEAR(Period(Mix(4410)), 50.0, 0.01);
    ASSERT_TRUE(PlatSoundSetFrequency(tone, 30000));
    EXPECT_NEAR(Period(Mix(4410)), 100.0 * RATE / 30000, 0.01);

    struct Row
    {
        uint32_t asked, got;
    } rows[] = {{0, 100}, {99, 100}, {100, 100}, {200000, 200000}, {200001, 200000}, {0xffffffffu, 200000}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.asked);
        uint32_t hertz = 0;
        ASSERT_TRUE(PlatSoundSetFrequency(tone, row.asked));
        ASSERT_TRUE(PlatSoundGetFrequency(tone, &hertz));
        EXPECT_EQ(hertz, row.got);
    }
}

TEST_F(PlatSoundMixerTest, EveryPcmLayoutPlaysTheSameTone)
{
    double expected = 0.5 / std::sqrt(2.0);
    for (uint16_t bits : {8, 16})
        for (uint16_t channels : {1, 2})
        {
            SCOPED_TRACE(testing::Message() << bits << " bits, " << channels << " channels");
            PlatSoundBuffer *tone = Tone(441, 0.5, 4410, bits, channels);
            ASSERT_NE(tone, nullptr) << PlatSoundGetErrorText();
            ASSERT_TRUE(PlatSoundPlay(tone, 0));
            std::vector<double> out = Mix(4410);
            EXPECT_NEAR(Rms(out), expected, 0.005);
            EXPECT_NEAR(Period(out), 100.0, 0.05);
            PlatSoundReleaseBuffer(tone);
        }
}

TEST_F(PlatSoundMixerTest, LoopedVoiceWrapsWithoutAClick)
{
    // 4400 frames hold exactly 44 periods; at rates other than the buffer's the loop point falls
    // between output samples.
    for (uint32_t hertz : {44100u, 30000u, 61234u})
    {
        SCOPED_TRACE(hertz);
        PlatSoundBuffer *tone = Tone(441, 0.8, 4400);
        ASSERT_TRUE(PlatSoundSetFrequency(tone, hertz));
        ASSERT_TRUE(PlatSoundPlay(tone, 1));
        std::vector<double> out = Mix(20000); // several wraps
        double ownStep = 0.8 * 2.0 * std::sin(M_PI * 441.0 * hertz / RATE / RATE);
        EXPECT_LE(MaxStep(out), ownStep * 1.01);
        EXPECT_TRUE(PlatSoundIsPlaying(tone));
        PlatSoundReleaseBuffer(tone);
    }
}

TEST_F(PlatSoundMixerTest, OneShotEndsAndPlaysAgainFromTheStart)
{
    PlatSoundBuffer *tone = Tone(441, 0.5, 1000);
    ASSERT_TRUE(PlatSoundPlay(tone, 0));
    std::vector<double> out = Mix(2000);
    EXPECT_FALSE(PlatSoundIsPlaying(tone));
    EXPECT_GT(Rms(Slice(out, 0, 1000)), 0.3);
    EXPECT_EQ(Peak(Slice(out, 1002, 998)), 0.0);
    ASSERT_TRUE(PlatSoundPlay(tone, 0));
    EXPECT_GT(Rms(Mix(1000)), 0.3);
}

TEST_F(PlatSoundMixerTest, StopFadesOutWithinMilliseconds)
{
    PlatSoundBuffer *tone = Tone(441, 0.8, 4410);
    ASSERT_TRUE(PlatSoundPlay(tone, 1));
    Mix(1000);
    ASSERT_TRUE(PlatSoundStop(tone));
    EXPECT_FALSE(PlatSoundIsPlaying(tone));
    std::vector<double> out = Mix(1000);
    EXPECT_LE(MaxStep(out), 0.8 * 2.0 * std::sin(M_PI * 441.0 / RATE) * 1.01);
    EXPECT_EQ(Peak(Slice(out, RATE / 100, 1000)), 0.0); // silent after 10 ms
}

TEST_F(PlatSoundMixerTest, FiftyVoicesStayBelowFullScaleUndistorted)
{
    std::vector<PlatSoundBuffer *> voices;
    for (int i = 0; i < 50; i++)
    {
        voices.push_back(Tone(441, 1.0, 4410));
        ASSERT_TRUE(PlatSoundPlay(voices.back(), 1));
    }
    std::vector<double> out = Mix(RATE);
    EXPECT_LE(Peak(out), 0.98 + 1.0 / 32768);
    // Once the limiter holds, the sum is a clean, loud tone: scaled, not clipped.
    std::vector<double> steady = Slice(out, RATE / 2, 4400);
    EXPECT_GT(Peak(steady), 0.9);
    EXPECT_LT(SineDistortion(steady, 100.0), 0.01);
}

TEST_F(PlatSoundMixerTest, ControlsAndHandlesAreChecked)
{
    PlatSoundFormat format = {1, 1, RATE, 2 * RATE, 2, 16, 0};
    std::string pcm = SinePcm(16, 1, RATE, 441, 0.5, 100);
    PlatSoundBuffer *plain = PlatSoundCreateBuffer(&format, pcm.data(), (uint32_t)pcm.size(), 0);
    ASSERT_NE(plain, nullptr);
    uint32_t hertz;
    EXPECT_FALSE(PlatSoundSetFrequency(plain, 22050));
    EXPECT_FALSE(PlatSoundGetFrequency(plain, &hertz));
    EXPECT_FALSE(PlatSoundSetVolume(plain, -600));
    EXPECT_TRUE(PlatSoundPlay(plain, 0));

    PlatSoundFormat bad = format;
    bad.formatTag = 2;
    EXPECT_EQ(PlatSoundCreateBuffer(&bad, pcm.data(), (uint32_t)pcm.size(), 0), nullptr);
    EXPECT_EQ(PlatSoundCreateBuffer(&format, pcm.data(), 1, 0), nullptr);

    // After the system is destroyed, its buffers are gone and their handles refused.
    PlatSoundDestroy();
    ASSERT_TRUE(PlatSoundCreate());
    EXPECT_FALSE(PlatSoundPlay(plain, 0));
    EXPECT_FALSE(PlatSoundIsPlaying(plain));
    PlatSoundReleaseBuffer(plain);
    EXPECT_FALSE(PlatSoundPlay(nullptr, 0));
    EXPECT_FALSE(PlatSoundCreate()); // already created
}

TEST_F(PlatSoundMixerTest, PrimaryFormatOnlyRaisesTheOutputRate)
{
    struct Row
    {
        const char *name;
        PlatSoundFormat format;
        int accepted;
        int rate; // of the output afterwards
    } rows[] = {
        {"22050 Hz mono keeps 44100", {1, 1, 22050, 44100, 2, 16, 0}, 1, 44100},
        {"48000 Hz stereo raises it", {1, 2, 48000, 192000, 4, 16, 0}, 1, 48000},
        {"lower again keeps 48000", {1, 2, 44100, 176400, 4, 16, 0}, 1, 48000},
        {"zero rate", {1, 2, 0, 0, 4, 16, 0}, 0, 48000},
        {"not PCM", {3, 2, 96000, 768000, 8, 32, 0}, 0, 48000},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PlatSoundSetPrimaryFormat(&row.format), row.accepted) << PlatSoundGetErrorText();
        EXPECT_EQ(PlatSoundGetOutputRate(), row.rate);
    }
    // A 44100 Hz tone keeps its pitch on the 48000 Hz output.
    PlatSoundBuffer *tone = Tone(441, 0.5, 4400);
    ASSERT_TRUE(PlatSoundPlay(tone, 1));
    EXPECT_NEAR(Period(Mix(4800)), 100.0 * 48000 / RATE, 0.01);
}

// The audio thread mixes while the main thread changes what plays; every change takes the
// audio lock (this test runs under ThreadSanitizer too).
TEST(PlatSoundThreads, ChangesWhileTheOutputRuns)
{
    ASSERT_TRUE(PlatSoundCreate()) << PlatSoundGetErrorText();
    PlatSoundFormat format = {1, 1, RATE, 2 * RATE, 2, 16, 0};
    std::string pcm = SinePcm(16, 1, RATE, 441, 0.3, RATE / 20);
    const uint32_t flags = PLAT_SOUND_CTRL_VOLUME | PLAT_SOUND_CTRL_FREQUENCY;
    std::vector<PlatSoundBuffer *> buffers(8, nullptr);
    for (int round = 0; round < 200; round++)
    {
        PlatSoundBuffer *&buffer = buffers[(size_t)round % buffers.size()];
        PlatSoundReleaseBuffer(buffer);
        buffer = PlatSoundCreateBuffer(&format, pcm.data(), (uint32_t)pcm.size(), flags);
        ASSERT_NE(buffer, nullptr);
        PlatSoundPlay(buffer, round % 2);
        PlatSoundSetVolume(buffer, -10 * round);
        PlatSoundSetFrequency(buffer, 22050 + 100 * (uint32_t)round);
        if (round % 3 == 0)
            PlatSoundStop(buffers[(size_t)(round + 4) % buffers.size()]);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // The output keeps pulling frames: a short one-shot played now ends by itself.
    PlatSoundBuffer *shot = PlatSoundCreateBuffer(&format, pcm.data(), (uint32_t)pcm.size(), flags);
    ASSERT_TRUE(PlatSoundPlay(shot, 0));
    for (int wait = 0; wait < 1000 && PlatSoundIsPlaying(shot); wait++)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(PlatSoundIsPlaying(shot));
    PlatSoundDestroy();
}
