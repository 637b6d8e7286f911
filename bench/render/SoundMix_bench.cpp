// The sound output's cost: one second of 44.1 kHz stereo mixed from 16 voices (each resampled
// at its own rate) and a tracker module. The counter "x_realtime" says how many seconds of sound
// one core mixes per second.
#include <benchmark/benchmark.h>

#include <vector>

#include "PlatMusic.h"
#include "PlatSound.h"
#include "Testkit.h"
#include "TestkitSound.h"

namespace
{
const int RATE = 44100;

// Mixes one second per iteration with `voices` looped voices and, when asked, the music.
void MixOneSecond(benchmark::State &state, int voices, bool music)
{
    testkit::TempDir dir;
    PlatSoundPauseOutput(1);
    if (!PlatSoundCreate() || !PlatMusicInit(PLAT_MUSIC_DEFAULT_DEVICE, RATE, 16))
    {
        state.SkipWithError("no sound output");
        return;
    }
    std::vector<PlatSoundBuffer *> buffers;
    for (int i = 0; i < voices; i++)
    {
        // Mono and stereo, 8 and 16 bits, at rates that need resampling.
        uint16_t channels = (uint16_t)(1 + i % 2), bits = (uint16_t)(i % 4 < 2 ? 16 : 8);
        uint32_t rate = 22050 + 1500 * (uint32_t)i;
        PlatSoundFormat format = {1, channels, rate, rate * channels * bits / 8u, (uint16_t)(channels * bits / 8),
                                  bits, 0};
        std::string pcm = testkit::SinePcm(bits, channels, rate, 220.0 + 37.0 * i, 0.2, rate / 3);
        buffers.push_back(PlatSoundCreateBuffer(&format, pcm.data(), (uint32_t)pcm.size(),
                                                PLAT_SOUND_CTRL_VOLUME | PLAT_SOUND_CTRL_FREQUENCY));
        PlatSoundSetVolume(buffers.back(), -300 * (i % 5));
        PlatSoundPlay(buffers.back(), 1);
    }
    if (music)
    {
        std::string path = dir.File("song.mod");
        testkit::WriteFile(path, testkit::TrackerModule({428, 214, 856, 320, 381, 285}));
        PlatMusicLoad(path.c_str(), PLAT_MUSIC_LOOP | PLAT_MUSIC_SMOOTH);
        PlatMusicPlay();
    }

    std::vector<int16_t> out(2 * RATE);
    for (auto _ : state)
    {
        PlatSoundMixFrames(out.data(), RATE);
        benchmark::DoNotOptimize(out.data());
    }
    // Seconds of sound mixed per second of one core; 100 / x_realtime is the share in percent.
    state.counters["x_realtime"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);

    PlatMusicFree();
    PlatSoundDestroy();
    PlatSoundPauseOutput(0);
}
} // namespace

BENCHMARK_CAPTURE(MixOneSecond, 16_voices_and_music, 16, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MixOneSecond, 16_voices, 16, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MixOneSecond, music, 0, true)->Unit(benchmark::kMillisecond);
// The fixed cost: the limiter and the output conversion.
BENCHMARK_CAPTURE(MixOneSecond, nothing, 0, false)->Unit(benchmark::kMillisecond);
