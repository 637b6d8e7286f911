// Whole games drawn by OpenGL (needs a display: run under Xvfb): an ARCADE game played by
// script for 600 ticks, a STRATEGIC game played to its end, and a puzzle with its
// next-ball strip. Each last frame is checked in known places and saved in the build
// folder ("play_demo.png", "play_over.png", "play_puzzle.png") for a person to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "DeviceFixture.h"
#include "Effects.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngPrefFolder.h"
#include "AppDouble.h"
#include "GameView.h"
#include "GameState.h"
#include "LevelsRender.h"
#include "PlayScreen.h"
#include "Play.h"
#include "Plinx.h"
#include "Puzzles.h"
#include "RenderTestkit.h"
#include "ScriptedPlay.h"
#include "TextEffects.h"
#include "Tick.h"
#include "ViewLooks.h"

namespace
{
constexpr int kWidth = 640, kHeight = 480;
const float kFrame = 1.0f / 60.0f;

int R(uint32_t c) { return (c >> 16) & 0xFF; }
int G(uint32_t c) { return (c >> 8) & 0xFF; }
int B(uint32_t c) { return c & 0xFF; }
// How far a pixel is from grey: balls and tinted borders are coloured.
int Saturation(uint32_t c)
{
    return std::max(R(c), std::max(G(c), B(c))) - std::min(R(c), std::min(G(c), B(c)));
}

class PlayDemoTest : public devicetest::DeviceTest
{
protected:
    bool UseGL() const override { return true; }

    void SetUp() override
    {
        DeviceTest::SetUp();
        folder.emplace(PLINX_BUILD_DIR);
        ASSERT_TRUE(folder->Entered());
        PrefFolderSetup("Plinx", false, nullptr, false);
        EngFrameTiming.currentTime = 100.0;
        EngFrameTiming.frameTime = kFrame;
        ViewLooksSeed(99);
        ASSERT_TRUE(MakeDevice(kWidth, kHeight)) << LogText();
        ASSERT_TRUE(PlinxCreateGraphics()) << LogText();
        ASSERT_TRUE(game_effects.CreateGraphics()) << LogText();
        LevelsSetupCaptionPlaces();
        GameViewSetup();
    }
    void TearDown() override
    {
        GameViewShutdown();
        AppSetHooks(nullptr);
        game_effects.ReleaseAll();
        game_text_effects.Clear();
        PlinxReleaseGraphics();
        PuzzlesShutdown();
        PlayShutdown();
        PlinxSetFixedSeed(0);
        PrefFolderShutdown();
        folder.reset();
        DeviceTest::TearDown();
    }

    // One frame as the program draws it: the play screen, then the effects over it.
    void DrawFrame()
    {
        EngFrameTiming.currentTime += kFrame;
        game_effects.TickGameEffects();
        if (game_text_effects.GetNumLines() > 0)
            game_text_effects.Tick();
        ASSERT_TRUE(device->BeginRendering());
        device->SetClearColour(0.02f, 0.03f, 0.07f);
        device->ClearScreenAndZBuffer();
        RenderPlayScreen();
        game_effects.RenderGameEffects();
        device->EndRendering();
    }

    void Save(const char *name)
    {
        frame.assign((size_t)kWidth * kHeight, 0);
        ASSERT_EQ(PLAT_D3D_OK, PlatD3dDeviceReadBackBuffer(EngDeviceDX9GetD3dDevice(), frame.data(), kWidth, kHeight));
        rendertest::Image image;
        image.width = kWidth;
        image.height = kHeight;
        for (uint32_t pixel : frame)
            image.pixels.push_back(pixel | 0xFF000000u);
        ASSERT_TRUE(rendertest::WriteImage(std::string(PLINX_BUILD_DIR) + "/" + name, image));
    }

    uint32_t At(int x, int y) const { return frame[(size_t)y * kWidth + x]; }
    template <typename F> int Count(int x0, int y0, int x1, int y1, F test) const
    {
        int count = 0;
        for (int y = std::max(0, y0); y < std::min(kHeight, y1); y++)
            for (int x = std::max(0, x0); x < std::min(kWidth, x1); x++)
                count += test(At(x, y)) ? 1 : 0;
        return count;
    }
    static int PixelX(float x) { return (int)std::lround(320.0f + 240.0f * GameState.fieldScale * x); }
    static int PixelY(float y) { return (int)std::lround(240.0f + 240.0f * y); }

    // The borders are tinted metal down both sides; the ball centres are coloured; the
    // turret stands above its pivot; the score is light text in its box.
    void CheckField()
    {
        const _GameState &gs = GameState;
        const _BordersLayout *layout = BordersGetLayout();
        const int left = (int)(layout->outerX + layout->borderWidth * 0.5f);
        const int right = (int)(layout->outerX + layout->outerWidth - layout->borderWidth * 0.5f);
        EXPECT_GT(Count(left - 2, 150, left + 3, 350, [](uint32_t c) { return R(c) + G(c) + B(c) > 150; }), 600);
        EXPECT_GT(Count(right - 2, 150, right + 3, 350, [](uint32_t c) { return R(c) + G(c) + B(c) > 150; }), 600);
        int balls = 0, coloured = 0;
        for (int column = 1; column < gs.gridColumns - 1; column++)
            for (int row = 0; row < GRID_ROWS; row++)
            {
                const _GridCell &cell = gs.grid[column][row];
                if (cell.type < 0 || cell.type >= BALL_NUM_COLOURS || cell.y + gs.scroll > 0.55f)
                    continue;
                balls++;
                uint32_t c = At(PixelX(cell.x), PixelY(cell.y + gs.scroll));
                coloured += R(c) + G(c) + B(c) > 150 ? 1 : 0;
            }
        EXPECT_GT(balls, 10);
        EXPECT_GE(coloured, balls * 9 / 10);
        const int pivotX = PixelX(gs.turretX), pivotY = PixelY(gs.turretY);
        EXPECT_GT(Count(pivotX - 30, pivotY - 80, pivotX + 30, pivotY - 20,
                        [](uint32_t c) { return R(c) + G(c) + B(c) > 300; }),
                  60);
        const _Dimension &box = layout->scoreBox;
        EXPECT_GT(Count((int)box.x, (int)box.y, (int)(box.x + box.w), (int)(box.y + box.h),
                        [](uint32_t c) { return R(c) > 200 && G(c) > 180; }),
                  25);
    }

    std::optional<testkit::WorkingFolder> folder;
    std::vector<uint32_t> frame;
};

TEST_F(PlayDemoTest, AnArcadeGamePlayedForTenSeconds)
{
    int ticks = ScriptedPlayGame(GAME_TYPE_ARCADE, 0, 2024, 600, [&]() {
        GameState.userOptions.gameEffects = 3;
        DrawFrame();
        return !HasFatalFailure();
    });
    ASSERT_EQ(600, ticks);
    ASSERT_EQ(LEVEL_STATE_PLAY, GameState.levelState);
    DrawFrame();
    Save("play_demo.png");
    CheckField();
    EXPECT_GT(GameState.score, 0);
}

TEST_F(PlayDemoTest, AStrategicGameAtItsEnd)
{
    ScriptedPlayGame(GAME_TYPE_STRATEGIC, 2, 77, 40000, [&]() {
        GameState.userOptions.gameEffects = 3;
        return true;
    });
    ASSERT_TRUE(GameState.gameOver);
    ASSERT_EQ(LEVEL_STATE_GAME_OVER, GameState.levelState);
    for (int i = 0; i < 90; i++)
    {
        TickGame();
        DrawFrame();
    }
    Save("play_over.png");
    CheckField();
    // "GAME  OVER" in warm letters across the middle.
    EXPECT_GT(Count(100, 150, 540, 250, [](uint32_t c) { return R(c) > 200 && G(c) > 100 && B(c) < 120; }), 1500);
}

TEST_F(PlayDemoTest, APuzzleWithItsNextBallStrip)
{
    PlayShutdown();
    PlaySetup();
    AppDoubleReset();
    AppGoFromMenusToGame(nullptr, 1);
    {
        testkit::WorkingFolder source(PLINX_SOURCE_DIR);
        PuzzlesLoadAllLists();
    }
    _GameState &gs = GameState;
    gs.gameType = GAME_TYPE_PUZZLE;
    gs.userOptions.difficulty[GAME_TYPE_PUZZLE] = 1;
    gs.userOptions.puzzleLevel[1] = 2;
    gs.userOptions.gameEffects = 3;
    PlinxSetFixedSeed(5);
    const char *name = PuzzlesGetPuzzleNameOfDifficulty(1, 2);
    ASSERT_NE(nullptr, name);
    ASSERT_TRUE(PuzzlesLoadFromFile(GAME_TYPE_PUZZLE, name));
    PlinxStartGame();
    for (int i = 0; i < 400 && gs.levelState != LEVEL_STATE_PLAY; i++)
    {
        TickGame();
        DrawFrame();
    }
    ASSERT_EQ(LEVEL_STATE_PLAY, gs.levelState);
    ASSERT_TRUE(gs.nextListInUse);
    ASSERT_GT(gs.nextBallCount, 1);
    // Half-way through loading the next ball: the strip slides toward the turret.
    PlinxSetTurretAngle(-0.3f, 0, 0);
    PlinxShoot(0);
    for (int i = 0; i < 8; i++)
    {
        TickGame();
        DrawFrame();
    }
    Save("play_puzzle.png");
    CheckField();
    // The strip: small coloured balls left of the turret along the bottom.
    const int y = PixelY(1.05f * gs.ballRadius + gs.turretY);
    const int pivotX = PixelX(gs.turretX);
    EXPECT_GT(Count(pivotX - 90, y - 4, pivotX - 20, y + 4, [](uint32_t c) { return Saturation(c) > 60; }), 40);
}

TEST_F(PlayDemoTest, ThePuzzleEditor)
{
    PlayShutdown();
    PlaySetup();
    AppDoubleReset();
    ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "MY FIRST"));
    _GameState &gs = GameState;
    gs.puzzle.numNextBalls = 6;
    for (int i = 0; i < 6; i++)
        gs.puzzle.nextBalls[i] = (int8_t)(i % 4);
    for (int column = 1; column <= 9; column++)
        gs.puzzle.grid[column][0] = (int8_t)(column % 5);
    gs.puzzle.grid[4][1] = BALL_STONE;
    ASSERT_TRUE(PuzzlesPrepareToStart()) << LogText();
    BordersComputeLayout();
    DrawFrame();
    Save("play_editor.png");
    // The key help beside the field: light text in the left margin.
    EXPECT_GT(Count(0, 0, (int)BordersGetLayout()->outerX, 300, [](uint32_t c) { return R(c) > 180 && G(c) > 150; }),
              200);
    PuzzlesReleaseEditor();
}
} // namespace
