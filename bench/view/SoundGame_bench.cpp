// The game's worst case for the sound output: every removal and fall instance, every loop of
// the game (flight, both rolls, both special balls) and the game music at full volume, mixed
// for one second of 44.1 kHz stereo. The counter "x_realtime" says how many seconds of sound
// one core mixes per second; 100 / x_realtime is the share of one core in percent.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "GameState.h"
#include "PlatSound.h"
#include "Play.h"
#include "Plinx.h"
#include "Sound.h"
#include "Testkit.h"

// Sound and music on in the start-up record (SoundBenchFlags.cpp).
void SoundBenchSetStartupFlags();

namespace
{
const int RATE = 44100;

void MixGameWorstCase(benchmark::State &state, bool music)
{
    testkit::WorkingFolder folder(std::filesystem::path(PLINX_DATA_DIR).parent_path().string());
    PlatSoundPauseOutput(1);
    PlaySetup();
    SoundBenchSetStartupFlags();
    GameState.userOptions.gameSoundsVolume = 10;
    GameState.levelState = LEVEL_STATE_PLAY;
    if (!folder.Entered() || !SoundInit() || !SoundIsLoaded())
    {
        state.SkipWithError("no sound bank");
        return;
    }
    // Pitches spread over the range the game uses, so that every voice resamples.
    for (int i = 0; i < SOUND_NUM_INSTANCES; i++)
    {
        SoundPlayRemove(0.2f + 0.2f * (float)i);
        SoundPlayFalling(0.9f - 0.2f * (float)i);
    }
    for (int slot : {2, 3, 4})
        SoundPlayLooped(slot);
    SoundPlaySpecial(BALL_WILDCARD);
    SoundPlaySpecial(BALL_EXPLODING);
    if (music)
    {
        SoundUpdateGameMusicVolume(10);
        for (int i = 0; i < 100; i++)
            SoundTickMusic(0.05f);
    }

    std::vector<int16_t> out(2 * RATE);
    for (auto _ : state)
    {
        PlatSoundMixFrames(out.data(), RATE);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["x_realtime"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);

    SoundReleaseAll();
    PlayShutdown();
    PlatSoundPauseOutput(0);
}
} // namespace

BENCHMARK_CAPTURE(MixGameWorstCase, pools_loops_and_music, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MixGameWorstCase, pools_and_loops, false)->Unit(benchmark::kMillisecond);
