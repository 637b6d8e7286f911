// The play screen: roll-frame choice, balls that shrink away, the border tint, the bar
// texts, the online place box, and a whole frame drawn over the recorder.
#include "ViewTestkit.h"

#include <cmath>
#include <limits>

#include "Levels.h"
#include "Puzzles.h"
#include "ScriptedPlay.h"
#include "ViewLooks.h"

namespace
{
class PlayScreenTest : public viewtest::ViewTest
{
protected:
    int Draws() const { return recorder->CountKind(PLAT_REC_DRAW); }
    // Starts an ARCADE game and runs it until its first level is in play.
    void StartArcade()
    {
        GameState.gameType = GAME_TYPE_ARCADE;
        PlinxStartGame();
        for (int i = 0; i < 600 && GameState.levelState != LEVEL_STATE_PLAY; i++)
            TickGame();
        ASSERT_EQ(LEVEL_STATE_PLAY, GameState.levelState);
    }
};

TEST_F(PlayScreenTest, RollFramesWrapAndTheSecondHalfIsMirrored)
{
    struct Case
    {
        float phase;
        int frame;
        bool mirrored;
    } cases[] = {{0.0f, 0, false},   {34.9f, 34, false}, {35.0f, 34, true},  {69.9f, 0, true},  {-0.5f, 0, false},
                 {70.5f, 0, false},  {-1.5f, 0, true},   {140.2f, 0, false}, {1e30f, 0, false}, {-36.0f, 34, false},
                 {std::numeric_limits<float>::quiet_NaN(), 0, false}, {std::numeric_limits<float>::infinity(), 0, false}};
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << "phase " << c.phase);
        int frame = -1;
        bool mirrored = !c.mirrored;
        RenderGetRollFrame(c.phase, &frame, &mirrored);
        EXPECT_GE(frame, 0);
        EXPECT_LE(frame, 34);
        if (std::isfinite(c.phase) && std::fabs(c.phase) < 1e6f)
        {
            EXPECT_EQ(c.frame, frame);
            EXPECT_EQ(c.mirrored, mirrored);
        }
    }
}

TEST_F(PlayScreenTest, BallsOutsideTheTypesOrWithoutSizeDrawNothing)
{
    CreateGraphics();
    GameState.fieldScale = 1.0f;
    for (int type : {-1, 13, 100})
        RenderDrawBall(0, 0, 1, type, 0, 0, 1);
    for (float size : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()})
        RenderDrawBall(0, 0, size, 3, 0, 0, 1);
    EXPECT_EQ(0, Draws());
    for (int type = 0; type <= BALL_STONE; type++)
        RenderDrawBall(0, 0, 1, type, std::numeric_limits<float>::quiet_NaN(), 0, 1);
    EXPECT_EQ(BALL_NUM_TYPES, Draws());
}

TEST_F(PlayScreenTest, ARemovedBallShrinksToNothingInAThirdOfASecond)
{
    CreateGraphics();
    StartArcade();
    _GameState &gs = GameState;
    _RemovingBall &ball = gs.removingList[0];
    memset(&ball, 0, sizeof(ball));
    ball.x = gs.grid[3][2].x;
    ball.y = gs.grid[3][2].y;
    ball.type = 2;
    ball.timer = 1.0f;
    ball.sound = -1;
    gs.removingCount = 1;
    gs.timeStep = viewtest::FRAME;
    float last = 1.0f;
    int ticks = 0;
    while (gs.removingCount > 0 && ticks < 100)
    {
        TickRemovingAndFallingBalls();
        ticks++;
        if (gs.removingCount > 0)
        {
            EXPECT_LT(gs.removingList[0].timer, last);
            last = gs.removingList[0].timer;
        }
    }
    // Twenty frames of 1/60 s, give or take the last one's rounding.
    EXPECT_NEAR(20, ticks, 1);
}

TEST_F(PlayScreenTest, TheTintBlendsTowardItsTargetAndAStallDoesNotOvershoot)
{
    ViewLooksSeed(7);
    BordersNewTint(1);
    _ColourRGB start, target;
    BordersGetTint(&start, &target);
    EXPECT_FLOAT_EQ(1.0f, std::fmax(target.r, std::fmax(target.g, target.b)));
    BordersNewTint(0);
    BordersGetTint(&start, &target);
    auto distance = [](const _ColourRGB &a, const _ColourRGB &b) {
        return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b);
    };
    const float first = distance(start, target);
    EXPECT_GE(first, 1.0f);
    GameState.timeStep = viewtest::FRAME;
    float previous = first;
    for (int tick = 0; tick < 600; tick++)
    {
        BordersTick(0);
        _ColourRGB now;
        BordersGetTint(&now, nullptr);
        ASSERT_LT(distance(now, target), previous) << tick;
        previous = distance(now, target);
    }
    // Each tick closes 1/600 of the gap: after 600 ticks about 1/e of it is left.
    EXPECT_NEAR(first * std::exp(-1.0f), previous, first * 0.01f);
    GameState.timeStep = 30.0f;
    BordersTick(0);
    _ColourRGB now;
    BordersGetTint(&now, nullptr);
    EXPECT_FLOAT_EQ(target.r, now.r);
    EXPECT_FLOAT_EQ(target.g, now.g);
    EXPECT_FLOAT_EQ(target.b, now.b);
}

TEST_F(PlayScreenTest, TheTintNeverDrawsFromTheGamesGenerator)
{
    StartArcade();
    const _GameState before = GameState;
    for (int i = 0; i < 50; i++)
        BordersNewTint(i % 2);
    EXPECT_EQ(0, memcmp(&before.rng, &GameState.rng, sizeof(before.rng)));
    EXPECT_EQ(before.rngDraws, GameState.rngDraws);
}

TEST_F(PlayScreenTest, LongScoresShrink)
{
    struct Case
    {
        int score;
        float scale;
    } cases[] = {{0, 1.0f}, {1234567, 1.0f}, {12345678, 0.95f}, {2147483640, 0.85f}};
    for (const Case &c : cases)
    {
        GameState.score = c.score;
        PlinxRefreshScoreText();
        EXPECT_FLOAT_EQ(c.scale, PlayScreenGetScoreScale()) << c.score;
    }
    EXPECT_STREQ("2147483640", PlayScreenGetScoreText());
}

TEST_F(PlayScreenTest, TheTopBorderFollowsTheGridAndNeverGoesAboveTheScreen)
{
    CreateGraphics();
    StartArcade();
    BordersComputeLayout();
    GameState.scroll = 0.0f;
    RenderPlayScreen();
    EXPECT_FLOAT_EQ(0.0f, BordersGetLayout()->topHeight);
    GameState.scroll = 0.25f;
    RenderPlayScreen();
    EXPECT_NEAR(0.25f * 240.0f + (GameState.topY + 1.0f) * 240.0f - BordersGetLayout()->borderWidth * 0.5f,
                BordersGetLayout()->topHeight, 0.01f);
}

TEST_F(PlayScreenTest, AFrameDrawsEveryPart)
{
    CreateGraphics();
    StartArcade();
    GameState.score = 4520;
    PlinxRefreshScoreText();
    recorder->Clear();
    RenderPlayScreen();
    int balls = 0;
    for (int column = 0; column < GameState.gridColumns; column++)
        for (int row = 0; row < GRID_ROWS; row++)
            balls += GameState.grid[column][row].type != BALL_EMPTY ? 1 : 0;
    // Borders, bar, two text boxes and their texts, the balls, the turret with its cap,
    // the loaded and next balls.
    EXPECT_GT(Draws(), balls + 10);
    EXPECT_FALSE(LogHas("Not pushed"));
    EXPECT_FALSE(LogHas("Already Called"));
}

TEST_F(PlayScreenTest, ThePlaceBoxPlaysAToneOnlyForAPlaceFound)
{
    static int tones, lastA, lastB, setupMode, position;
    static char changed, ticked;
    static const char *text;
    tones = 0;
    setupMode = -1;
    position = -1;
    changed = ticked = 0;
    text = nullptr;
    PlayScreenSetToneHook([](int a, int b, float) {
        tones++;
        lastA = a;
        lastB = b;
    });
    _PlaceFinder finder = {};
    finder.setup = [](int, int, int mode) { setupMode = mode; };
    finder.findPlace = [](int) -> char { return changed; };
    finder.tick = [](int) -> char { return ticked; };
    finder.getPlace = [](int *at) -> const char * {
        *at = position;
        return text;
    };
    PlayScreenSetPlaceFinder(&finder);
    // The player's display option reaches the finder; a damaged one means off.
    GameState.userOptions.onlinePositionMode = 1;
    PlinxSetupPlaceFinder();
    EXPECT_EQ(setupMode, 1);
    GameState.userOptions.onlinePositionMode = 9;
    PlinxSetupPlaceFinder();
    EXPECT_EQ(setupMode, 2);
    GameState.userOptions.onlinePositionMode = 0;
    PlinxSetupPlaceFinder();

    // A new place without a text is no news.
    changed = 1;
    PlinxUpdatePlace(100, 0);
    EXPECT_EQ(0, tones);
    EXPECT_EQ(-1, PlayScreenGetPlace(nullptr));
    // A place far down a list gives the lowest tone, not a negative value.
    text = "YEAR POSITION 251";
    position = 250;
    PlinxUpdatePlace(100, 0);
    EXPECT_EQ(1, tones);
    EXPECT_EQ(0, lastA);
    EXPECT_EQ(0, lastB);
    EXPECT_STREQ(PlayScreenGetPlaceText(), "YEAR POSITION 251");
    // The finder says the place did not change: no tone; a scheduled calculation that
    // built a text refreshes the box.
    changed = 0;
    PlinxUpdatePlace(100, 0);
    EXPECT_EQ(1, tones);
    text = "DAY POSITION 3";
    position = 2;
    ticked = 1;
    PlinxTickPlace();
    ticked = 0;
    EXPECT_EQ(2, tones);
    float blend;
    EXPECT_EQ(2, PlayScreenGetPlace(&blend));
    EXPECT_STREQ(PlayScreenGetPlaceText(), "DAY POSITION 3");
    // The box fades out and hides.
    GameState.timeStep = 0.5f;
    for (int i = 0; i < 10; i++)
        PlinxTickPlace();
    PlayScreenGetPlace(&blend);
    EXPECT_FLOAT_EQ(0.0f, blend);
    PlayScreenSetPlaceFinder(nullptr);
    PlayScreenSetToneHook(nullptr);
}

TEST_F(PlayScreenTest, PlayWithDrawingEqualsPlayWithout)
{
    CreateGraphics();
    // Headless (no view registered) against the whole view: effects at their fullest,
    // the animated text, and a frame drawn after every tick.
    auto play = [&](bool draw) {
        if (draw)
            GameViewSetup();
        else
            GameViewShutdown();
        std::vector<uint8_t> state;
        ScriptedPlayGame(GAME_TYPE_ARCADE, 1, 4242, 900, [&]() {
            GameState.userOptions.gameEffects = 3;
            // The clock runs the same either way: the game keeps its reading.
            EngFrameTiming.currentTime += viewtest::FRAME;
            if (draw)
            {
                game_effects.TickGameEffects();
                RenderPlayScreen();
                game_effects.RenderGameEffects();
                if (game_text_effects.GetNumLines() > 0)
                    game_text_effects.Tick();
            }
            return true;
        });
        state.resize(sizeof(GameState));
        memcpy(state.data(), &GameState, sizeof(GameState));
        return state;
    };
    const double start = EngFrameTiming.currentTime;
    const std::vector<uint8_t> without = play(false);
    EngFrameTiming.currentTime = start;
    recorder->Clear();
    const std::vector<uint8_t> with = play(true);
    EXPECT_GT(Draws(), 900);
    ASSERT_EQ(without.size(), with.size());
    for (size_t i = 0; i < with.size(); i++)
        ASSERT_EQ(without[i], with[i]) << "byte " << i << " of the game state";
}
} // namespace

namespace
{
TEST_F(PlayScreenTest, TheEditorDrawsItsBarListCursorAndKeyHelp)
{
    CreateGraphics();
    ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "DRAWN"));
    ASSERT_TRUE(PuzzlesPrepareToStart()) << LogText();
    BordersComputeLayout();
    recorder->Clear();
    RenderPlayScreen();
    // Bar, grid cursor, the one next ball, counts, name and the key help's rows of text.
    EXPECT_GT(Draws(), 20);
    EXPECT_FALSE(LogHas("Could not load bottom texture"));
    EXPECT_FALSE(LogHas("Not pushed"));
    EXPECT_FALSE(LogHas("Already Called"));
    PuzzlesReleaseEditor();
}

TEST_F(PlayScreenTest, TheMenuBackgroundDrawsItsThreePictures)
{
    ASSERT_TRUE(PlinxMenuCreateGraphics()) << LogText();
    recorder->Clear();
    PlinxMenuRender(0.5f);
    EXPECT_EQ(3, Draws());
    PlinxMenuReleaseGraphics();
    recorder->Clear();
    PlinxMenuRender(1.0f);
    EXPECT_EQ(0, Draws());
}
} // namespace
