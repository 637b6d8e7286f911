// The play screen's costs on the recording executor (no GPU: what the processor spends
// issuing a frame): a full 22 x 14 grid with 50 balls in flight and every removal and
// fall record in use; every particle system at effects level 3; and the roll frames made
// from empty and checked when all are present.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "DeviceFixture.h"
#include "Effects.h"
#include "EngDevice.h"
#include "EngDeviceDX9.h"
#include "EngGlobals.h"
#include "EngMain.h"
#include "EngPrefFolder.h"
#include "EngProgram.h"
#include "GameState.h"
#include "Grid.h"
#include "PlatD3dExecutor.h"
#include "PlayScreen.h"
#include "Play.h"
#include "Plinx.h"
#include "Rolls.h"
#include "Testkit.h"

namespace
{
// A device over the recorder, run from the build folder with a per-user folder of its own.
struct BenchDevice
{
    BenchDevice()
        : folder(std::filesystem::path(PLINX_DATA_DIR).parent_path().string())
    {
        setenv("HOME", home.Path().c_str(), 1);
        setenv("XDG_DATA_HOME", (home.Path() + "/.local/share").c_str(), 1);
        EngMainShutdown();
        EngMainShutdownProgramLayer();
        program = new EngProgram();
        PlatD3dFakeDisplay display = devicetest::FakeDisplay();
        PlatD3dSetFakeDisplay(&display);
        PlatD3dSetExecutorFactory(PlatD3dRecorderFactory);
        EngDeviceDX9AllowNoWindow(true);
        devicetest::SetScreen(640, 480);
        device = new EngDevice(nullptr);
        device->Create(true, 640, 480, 32, 60);
        recorder = PlatD3dLastRecorder();
        if (recorder)
            recorder->keepVertices = false;
        PrefFolderSetup("Plinx", false, nullptr, false);
        EngFrameTiming.currentTime = 100.0;
        EngFrameTiming.frameTime = 1.0f / 60.0f;
    }
    ~BenchDevice()
    {
        game_effects.ReleaseAll();
        PlinxReleaseGraphics();
        PrefFolderShutdown();
        delete device;
        delete program;
        EngMainShutdown();
        EngMainShutdownProgramLayer();
        PlatD3dSetExecutorFactory(nullptr);
        PlatD3dSetFakeDisplay(nullptr);
        EngDeviceDX9AllowNoWindow(false);
    }
    std::string Rolls() const { return home.Path() + "/.local/share/Fernbrooks/Plinx/Rolls"; }

    testkit::TempDir home;
    testkit::WorkingFolder folder;
    EngProgram *program = nullptr;
    EngDevice *device = nullptr;
    PlatD3dRecorder *recorder = nullptr;
};

void FillCrowdedField()
{
    _GameState &gs = GameState;
    PlaySetup();
    gs.gameType = GAME_TYPE_STRATEGIC;
    gs.gridColumns = GRID_MAX_COLUMNS;
    gs.rowsFilled = GRID_ROWS;
    gs.numColours = BALL_NUM_COLOURS;
    PlinxResetGrid();
    for (int column = 1; column < GRID_MAX_COLUMNS - 1; column++)
        for (int row = 0; row < GRID_ROWS; row++)
            gs.grid[column][row].type = (int8_t)((column + row) % BALL_NUM_TYPES);
    gs.levelState = LEVEL_STATE_PLAY;
    gs.gridBallScale = 1.0f;
    gs.movingCount = MAX_MOVING_BALLS;
    for (int i = 0; i < MAX_MOVING_BALLS; i++)
    {
        _MovingBall &ball = gs.movingList[i];
        ball = {};
        ball.x = -0.8f + 0.03f * (float)i;
        ball.y = 0.5f - 0.01f * (float)i;
        ball.type = (int8_t)(i % BALL_NUM_TYPES);
        ball.rollPhase = (float)i;
        ball.angle = 0.1f * (float)i;
    }
    gs.removingCount = MAX_ANIMATED_BALLS;
    gs.fallingCount = MAX_ANIMATED_BALLS;
    for (int i = 0; i < MAX_ANIMATED_BALLS; i++)
    {
        gs.removingList[i] = {};
        gs.removingList[i].x = gs.grid[1 + i % 20][i / 22 % GRID_ROWS].x;
        gs.removingList[i].y = gs.grid[1 + i % 20][i / 22 % GRID_ROWS].y;
        gs.removingList[i].type = (int8_t)(i % 10);
        gs.removingList[i].timer = 0.5f;
        gs.fallingList[i] = {};
        gs.fallingList[i].x = gs.removingList[i].x;
        gs.fallingList[i].y = gs.removingList[i].y + 0.3f;
        gs.fallingList[i].type = (int8_t)(i % 10);
    }
    gs.currentBall = 3;
    gs.nextBall = 4;
    gs.turretLoad = 1.0f;
    PlinxUpdateTurretBall();
    GridComputeLayout();
    BordersComputeLayout();
    PlinxRefreshScoreText();
    PlinxRefreshCaptionText();
}

void BM_RenderPlayScreenFullGrid(benchmark::State &state)
{
    BenchDevice bench;
    if (!bench.recorder || !PlinxCreateGraphics())
    {
        state.SkipWithError("no graphics");
        return;
    }
    FillCrowdedField();
    for (auto _ : state)
    {
        bench.device->BeginRendering();
        RenderPlayScreen();
        bench.device->EndRendering();
        bench.recorder->Clear();
    }
    PlayShutdown();
}
BENCHMARK(BM_RenderPlayScreenFullGrid)->Unit(benchmark::kMicrosecond);

void BM_EffectsLevelThreeAllRunning(benchmark::State &state)
{
    BenchDevice bench;
    PlaySetup();
    GameState.userOptions.gameEffects = 3;
    GameState.userOptions.menuEffects = 3;
    GameState.fieldScale = 1.0f;
    game_effects.CreateGraphics();
    _Vector3d positions[Effects::NUM_BALL_EFFECTS] = {};
    const _Vector3d centre = {0, 0, 0}, scale = {2.2f, 2.2f, 2.2f};
    const _ColourRGB red = {1, 0, 0};
    for (int i = 0; i < Effects::NUM_BALL_EFFECTS; i++)
    {
        game_effects.StartExplosionBall(&positions[i]);
        game_effects.StartWildcardBall(&positions[i]);
    }
    game_effects.StartGameOverEffect(0, 0.9f, 0);
    game_effects.SetGameOverStrength(1.4f);
    game_effects.StartMenuEffect();
    for (auto _ : state)
    {
        // The bursts play once: start them again as they end, as a busy game does.
        if (!game_effects.GetExplosion()->IsRunning())
            game_effects.StartExplosion(&centre, &scale);
        if (!game_effects.GetRemove()->IsRunning())
            game_effects.StartRemoveEffect(&centre, &scale, &red);
        EngFrameTiming.currentTime += 1.0 / 60.0;
        bench.device->BeginRendering();
        game_effects.TickGameEffects();
        game_effects.TickMenuEffect();
        game_effects.RenderGameEffects();
        game_effects.RenderMenuEffect();
        bench.device->EndRendering();
        bench.recorder->Clear();
    }
    game_effects.StopMenuEffect();
    game_effects.ResetGameEffects();
    PlayShutdown();
}
BENCHMARK(BM_EffectsLevelThreeAllRunning)->Unit(benchmark::kMicrosecond);

void BM_RollsFromEmpty(benchmark::State &state)
{
    BenchDevice bench;
    for (auto _ : state)
    {
        state.PauseTiming();
        std::filesystem::remove_all(bench.Rolls());
        state.ResumeTiming();
        if (!TexGenCreateRollsFromPackedPictures())
            state.SkipWithError("generation failed");
        bench.recorder->Clear();
    }
}
BENCHMARK(BM_RollsFromEmpty)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RollsAllPresent(benchmark::State &state)
{
    BenchDevice bench;
    TexGenCreateRollsFromPackedPictures();
    for (auto _ : state)
        benchmark::DoNotOptimize(TexGenCreateRollsFromPackedPictures());
}
BENCHMARK(BM_RollsAllPresent)->Unit(benchmark::kMicrosecond);
} // namespace
