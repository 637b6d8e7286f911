#include <cstring>

#include "GameTestkit.h"

using gametest::GameTest;

class LevelsTest : public GameTest
{
protected:
    void StartLevel(int gameType, int difficulty, int level)
    {
        _GameState &gs = GameState;
        gs.gameType = gameType;
        if (gameType <= GAME_TYPE_PUZZLE)
            gs.userOptions.difficulty[gameType] = (int8_t)difficulty;
        gs.nextLevel = level;
        LevelsStartNextLevel();
    }

    // A puzzle of `width` columns with one row of colour 0 and the next balls given.
    void SetPuzzle(int gameType, int width, std::vector<int8_t> nextBalls)
    {
        _Puzzle &puzzle = GameState.puzzle;
        memset(&puzzle, 0, sizeof(puzzle));
        memset(puzzle.grid, -1, sizeof(puzzle.grid));
        strcpy(puzzle.name, "SPIRAL");
        puzzle.type = gameType;
        puzzle.width = width;
        puzzle.numBallTypes = 4;
        puzzle.numNextBalls = (int32_t)nextBalls.size();
        for (size_t i = 0; i < nextBalls.size(); i++)
            puzzle.nextBalls[i] = nextBalls[i];
        for (int column = 1; column < width - 1; column++)
            puzzle.grid[column][0] = 0;
        puzzle.moveDown = 5;
        puzzle.fallUp = 5;
        puzzle.removeUp = 2;
    }

    // An arcade game started and run on until its first level is in play.
    void StartArcadeUntilPlay()
    {
        GameState.gameType = GAME_TYPE_ARCADE;
        PlinxStartGame();
        while (GameState.levelState != LEVEL_STATE_PLAY)
            TickGame();
    }

    // Ticks until the level state changes; the ticks run.
    int TicksInState(int limit = 2000)
    {
        int state = GameState.levelState;
        int ticks = 0;
        while (GameState.levelState == state && ticks < limit)
        {
            TickGame();
            ticks++;
        }
        return ticks;
    }
};

TEST_F(LevelsTest, ArcadeTuning)
{
    struct Case
    {
        int level, difficulty;
        int colours, gridColumns, removePoints, fallPoints, bonus;
        float baseSpeed, landPushBack;
    } cases[] = {
        {0, 0, 5, 9, 2, 25, 100, 0.35f, 0.00005f},
        {1, 0, 6, 9, 1, 17, 70, 0.245f, 0.0000353500f},
        {2, 0, 7, 9, 1, 10, 40, 0.14f, 0.0000204000f},
        {3, 0, 5, 9, 3, 37, 150, 0.525f, 0.000075f},
        {1, 1, 6, 11, 4, 45, 180, 0.315f, 0.0000454500f},
        {5, 2, 7, 13, 13, 130, 520, 0.455f, 0.0000663000f},
        {3, 3, 5, 15, 31, 315, 1260, 0.735f, 0.000105f},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " difficulty " << c.difficulty);
        StartLevel(GAME_TYPE_ARCADE, c.difficulty, c.level);
        const _GameState &gs = GameState;
        EXPECT_EQ(gs.level, c.level);
        EXPECT_EQ(gs.moveMode, MOVE_MODE_CONTINUOUS);
        EXPECT_EQ(gs.numColours, c.colours);
        EXPECT_EQ(gs.gridColumns, c.gridColumns);
        EXPECT_EQ(gs.rowsFilled, 6);
        EXPECT_EQ(gs.removePoints, c.removePoints);
        EXPECT_EQ(gs.fallPoints, c.fallPoints);
        EXPECT_EQ(gs.arcadeLevelBonus, c.bonus);
        EXPECT_EQ(gs.strategicLevelBonus, 0);
        EXPECT_NEAR(gs.baseSpeed, c.baseSpeed, 1e-6f);
        EXPECT_NEAR(gs.pushBackSpeed, c.baseSpeed / 0.7f * 1.3f, 1e-5f);
        EXPECT_NEAR(gs.landPushBack, c.landPushBack, 1e-9f);
        EXPECT_EQ(gs.wildcardFrequency, 100);
        EXPECT_EQ(gs.explodingFrequency, 100);
        // The grid holds the level's colours in its first six rows, nothing below.
        for (int column = 1; column < gs.gridColumns - 1; column++)
        {
            EXPECT_NE(gs.grid[column][5].type, BALL_EMPTY);
            EXPECT_EQ(gs.grid[column][6].type, BALL_EMPTY);
        }
    }
}

TEST_F(LevelsTest, StrategicTuning)
{
    const float r = 0.065f;
    struct Case
    {
        int level, difficulty;
        int colours, rows, gridColumns, fallPoints, removePoints, bonus, frequency;
        float moveDown, fallUp;
    } cases[] = {
        {0, 0, 6, 6, 12, 50, 5, 100, 200, r * 0.1f, r * 0.125f},
        {30, 0, 10, 6, 12, 125, 12, 100, 200, r * (0.1f + 2.0f * 0.1f * 30 * 0.25f), r * (2.0f * 0.125f * 30 * 0.25f + 0.125f)},
        {4, 1, 7, 6, 14, 120, 12, 200, 400, r * (0.1111111f + 1.5f * 0.1111111f * 0.25f), r * (1.5f * 0.125f * 0.25f + 0.125f)},
        {10, 5, 9, 7, 22, 450, 45, 1000, 1200, r * (0.1f + 0.1f * 7 * 0.25f), r * (0.14285715f * 7 * 0.25f + 0.14285715f)},
        // Difficulty 3 keeps six colours at every level.
        {9, 3, 6, 7, 18, 290, 29, 500, 800, r * 0.1f, r * 0.14285715f},
        {30, 3, 6, 7, 18, 500, 50, 500, 800, r * (0.1f + 1.15f * 0.1f * 18 * 0.25f), r * (1.15f * 0.14285715f * 18 * 0.25f + 0.14285715f)},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " difficulty " << c.difficulty);
        StartLevel(GAME_TYPE_STRATEGIC, c.difficulty, c.level);
        const _GameState &gs = GameState;
        EXPECT_EQ(gs.moveMode, MOVE_MODE_PER_SHOT);
        EXPECT_EQ(gs.numColours, c.colours);
        EXPECT_EQ(gs.rowsFilled, c.rows);
        EXPECT_EQ(gs.gridColumns, c.gridColumns);
        EXPECT_EQ(gs.fallPoints, c.fallPoints);
        EXPECT_EQ(gs.removePoints, c.removePoints);
        EXPECT_EQ(gs.strategicLevelBonus, c.bonus);
        EXPECT_EQ(gs.arcadeLevelBonus, 0);
        EXPECT_EQ(gs.wildcardFrequency, c.frequency);
        EXPECT_EQ(gs.explodingFrequency, c.frequency);
        EXPECT_NEAR(gs.shotMoveDown, c.moveDown, 1e-6f);
        EXPECT_NEAR(gs.fallMoveUp, c.fallUp, 1e-6f);
        EXPECT_EQ(gs.removeMoveUp, 0.0f);
        EXPECT_EQ(gs.shotVelocityLimit, 20.0f);
        // The grid is drawn from exactly the level's colours.
        bool inSet[BALL_NUM_COLOURS] = {};
        for (int i = 0; i < gs.numColours; i++)
            inSet[gs.colourSet[i]] = true;
        for (int column = 1; column < gs.gridColumns - 1; column++)
            for (int row = 0; row < gs.rowsFilled; row++)
                EXPECT_TRUE(inSet[gs.grid[column][row].type]);
    }
}

TEST_F(LevelsTest, PuzzleAmountsOutOfRangeAreTakenAsFour)
{
    const float r = 0.065f;
    struct Case
    {
        int moveDown, fallUp, removeUp;
        float expectedMoveDown, expectedFallUp, expectedRemoveUp;
    } cases[] = {
        {5, 5, 2, r * 0.5f, r * 0.5f, r * 0.2f},
        {0, 29, 0, 0.0f, r * 2.9f, 0.0f},
        {31, 31, 31, r * 0.4f, r * 0.4f, r * 0.4f},
        {30, -1, -100, r * 0.4f, r * 0.4f, r * 0.4f},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.moveDown << " " << c.fallUp << " " << c.removeUp);
        SetPuzzle(GAME_TYPE_PUZZLE, 9, {0, 1});
        GameState.puzzle.moveDown = (int8_t)c.moveDown;
        GameState.puzzle.fallUp = (int8_t)c.fallUp;
        GameState.puzzle.removeUp = (int8_t)c.removeUp;
        StartLevel(GAME_TYPE_PUZZLE, 0, 0);
        EXPECT_NEAR(GameState.shotMoveDown, c.expectedMoveDown, 1e-7f);
        EXPECT_NEAR(GameState.fallMoveUp, c.expectedFallUp, 1e-7f);
        EXPECT_NEAR(GameState.removeMoveUp, c.expectedRemoveUp, 1e-7f);
    }
}

TEST_F(LevelsTest, PuzzlePointsByDifficulty)
{
    struct Case
    {
        int gameType, difficulty, removePoints, fallPoints, bonus;
    } cases[] = {
        {GAME_TYPE_PUZZLE, 0, 10, 100, 5000},
        {GAME_TYPE_PUZZLE, 2, 20, 200, 15000},
        {GAME_TYPE_MY_PUZZLES, 0, 15, 150, 10000},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.gameType << " " << c.difficulty);
        SetPuzzle(c.gameType, 11, {0, 1, 2});
        StartLevel(c.gameType, c.difficulty, 0);
        const _GameState &gs = GameState;
        EXPECT_EQ(gs.gridColumns, 11);
        EXPECT_EQ(gs.numColours, 4);
        EXPECT_EQ(gs.moveMode, MOVE_MODE_PER_SHOT);
        EXPECT_EQ(gs.removePoints, c.removePoints);
        EXPECT_EQ(gs.fallPoints, c.fallPoints);
        EXPECT_EQ(gs.puzzleLevelBonus, c.bonus);
        EXPECT_EQ(gs.wildcardFrequency, 0);
        EXPECT_EQ(gs.explodingFrequency, 0);
        EXPECT_EQ(gs.nextListInUse, 1);
        EXPECT_EQ(gs.nextBallCount, 1);
    }
}

TEST_F(LevelsTest, PuzzleNotSetUpKeepsTheLevel)
{
    StartLevel(GAME_TYPE_STRATEGIC, 0, 2);
    SetPuzzle(GAME_TYPE_MY_PUZZLES, 9, {0});
    StartLevel(GAME_TYPE_PUZZLE, 0, 5);
    EXPECT_TRUE(LogHas("Puzzle not setup"));
    EXPECT_EQ(GameState.level, 2);
    EXPECT_EQ(GameState.gridColumns, 12);
    EXPECT_EQ(GameState.removePoints, 5);
}

TEST_F(LevelsTest, BadDifficultyIsReportedAndTakenAsZero)
{
    StartLevel(GAME_TYPE_STRATEGIC, 9, 0);
    EXPECT_TRUE(LogHas("Bad difficulty 9 for game type 1"));
    EXPECT_EQ(GameState.gridColumns, 12);
    StartLevel(GAME_TYPE_ARCADE, -3, 0);
    EXPECT_EQ(GameState.gridColumns, 9);
}

TEST_F(LevelsTest, StatesAndTheirTimings)
{
    _GameState &gs = GameState;
    gs.gameType = GAME_TYPE_ARCADE;
    PlinxStartGame();
    EXPECT_EQ(gs.levelState, LEVEL_STATE_START);
    EXPECT_EQ(TicksInState(), 1);
    EXPECT_EQ(gs.levelState, LEVEL_STATE_INTRO);
    // The caption swells for 0.9 pi / 1.6 seconds, then counts down for one second.
    int intro = TicksInState();
    EXPECT_NEAR(intro * gametest::FRAME, 0.9f * 3.14159265f / 1.6f, 1.5f * gametest::FRAME);
    EXPECT_EQ(gs.levelState, LEVEL_STATE_COUNTDOWN);
    EXPECT_NEAR(TicksInState() * gametest::FRAME, 1.0f, 1.5f * gametest::FRAME);
    EXPECT_EQ(gs.levelState, LEVEL_STATE_PLAY);
    EXPECT_EQ(gs.gridBallScale, 1.0f);

    // A lost life shows for three seconds; then the grid rises back at one unit a second
    // before the level starts again.
    gs.lives = 1;
    gs.scroll = 0.5f;
    LevelsLoseLife();
    EXPECT_EQ(gs.levelState, LEVEL_STATE_LIFE_LOST);
    EXPECT_NEAR(TicksInState() * gametest::FRAME, 3.0f, 1.5f * gametest::FRAME);
    EXPECT_EQ(gs.levelState, LEVEL_STATE_START);
    EXPECT_NEAR(TicksInState() * gametest::FRAME, 0.5f, 1.5f * gametest::FRAME);
    EXPECT_EQ(gs.levelState, LEVEL_STATE_INTRO);
    EXPECT_EQ(gs.level, 0);
}

TEST_F(LevelsTest, ClearedLevelAddsTheBonusAndStartsTheNext)
{
    _GameState &gs = GameState;
    StartArcadeUntilPlay();
    // Only special balls left: the level is done.
    gametest::ApplyMap({"W.S.X"});
    EXPECT_TRUE(LevelsCheckLevelDone());
    EXPECT_EQ(gs.levelState, LEVEL_STATE_DONE);
    int score = gs.score;
    TickGame();
    EXPECT_EQ(gs.score, score + 100);
    EXPECT_EQ(gs.levelState, LEVEL_STATE_START);
    EXPECT_EQ(gs.nextLevel, 1);
    TickGame();
    EXPECT_EQ(gs.level, 1);
    EXPECT_EQ(gs.numColours, 6);
}

TEST_F(LevelsTest, LivesPerGameType)
{
    struct Case
    {
        int gameType, lives;
    } cases[] = {
        {GAME_TYPE_ARCADE, 0}, {GAME_TYPE_STRATEGIC, 0}, {GAME_TYPE_PUZZLE, 2}, {GAME_TYPE_MY_PUZZLES, 0},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.gameType);
        _GameState &gs = GameState;
        SetPuzzle(c.gameType, 9, {0, 1, 2});
        gs.gameType = c.gameType;
        PlinxStartGame();
        EXPECT_EQ(gs.lives, c.lives);
        EXPECT_EQ(gs.gameOver, 0);
        // Every loss but the last takes a life; the one after the last spare ends the game.
        for (int loss = 1; loss <= c.lives + 1; loss++)
        {
            while (gs.levelState != LEVEL_STATE_PLAY)
                TickGame();
            LevelsLoseLife();
            EXPECT_EQ(gs.gameOver, loss == c.lives + 1 ? 1 : 0) << loss;
        }
        EXPECT_EQ(gs.levelState, LEVEL_STATE_GAME_OVER);
    }
}

TEST_F(LevelsTest, PuzzleWithoutBallsIsLostOnceTheGridRests)
{
    _GameState &gs = GameState;
    SetPuzzle(GAME_TYPE_PUZZLE, 9, {});
    gs.gameType = GAME_TYPE_PUZZLE;
    PlinxStartGame();
    // The life ends on the very tick the count-down gives way to play.
    for (int i = 0; i < 600 && gs.levelState != LEVEL_STATE_LIFE_LOST; i++)
    {
        EXPECT_NE(gs.levelState, LEVEL_STATE_PLAY);
        TickGame();
    }
    EXPECT_EQ(gs.currentBall, BALL_EMPTY);
    EXPECT_TRUE(LogHas("No next balls"));
    EXPECT_EQ(gs.levelState, LEVEL_STATE_LIFE_LOST);
    EXPECT_EQ(gs.lives, 1);
}

TEST_F(LevelsTest, GameOverWaitsForEscapeThenGoesToTheMenu)
{
    _GameState &gs = GameState;
    StartArcadeUntilPlay();
    float spin = gs.grid[1][0].spin;
    LevelsLoseLife();
    EXPECT_EQ(gs.gameOver, 1);
    for (int i = 0; i < 1200; i++)
        TickGame();
    EXPECT_EQ(gs.levelState, LEVEL_STATE_GAME_OVER);
    EXPECT_EQ(gs.stateTimer, 0.0f);
    EXPECT_GT(gs.grid[1][0].spin, spin);
    EXPECT_FALSE(AppIsGuiOn());
    EngKeyStates[ENG_VK_ESCAPE] = 2;
    TickGame();
    EXPECT_EQ(EngKeyStates[ENG_VK_ESCAPE], 0);
    EXPECT_EQ(gs.levelState, LEVEL_STATE_PLAY);
    EXPECT_EQ(gs.checkGameOverScore, 1);
    EXPECT_TRUE(AppIsGuiOn());
    EXPECT_EQ(AppGetTargetScreen(), EngFourCC("MAIN"));
}

TEST_F(LevelsTest, EscapeInPlayGoesToThePauseScreen)
{
    _GameState &gs = GameState;
    gs.gameType = GAME_TYPE_STRATEGIC;
    PlinxStartGame();
    // Escape is not taken while the level's caption runs.
    EngKeyStates[ENG_VK_ESCAPE] = 2;
    TickGame();
    EXPECT_FALSE(AppIsGuiOn());
    while (gs.levelState != LEVEL_STATE_PLAY)
        TickGame();
    TickGame();
    EXPECT_TRUE(AppIsGuiOn());
    EXPECT_EQ(AppGetTargetScreen(), EngFourCC("PAUS"));
    EXPECT_EQ(EngKeyStates[ENG_VK_ESCAPE], 0);
}

TEST_F(LevelsTest, Captions)
{
    struct Case
    {
        int gameType, difficulty, level, state, lives;
        const char *caption, *first, *second;
    } cases[] = {
        {GAME_TYPE_ARCADE, 0, 4, LEVEL_STATE_INTRO, 0, "2 : 2", "LEVEL 2-2", ""},
        {GAME_TYPE_STRATEGIC, 2, 0, LEVEL_STATE_COUNTDOWN, 0, "BIG 1", "BIG", "LEVEL 1"},
        {GAME_TYPE_PUZZLE, 1, 3, LEVEL_STATE_INTRO, 0, "SPIRAL", "LEVEL 4", "SPIRAL"},
        {GAME_TYPE_MY_PUZZLES, 0, 0, LEVEL_STATE_INTRO, 0, "\"SPIRAL\"", "SPIRAL", ""},
        {GAME_TYPE_PUZZLE, 0, 0, LEVEL_STATE_LIFE_LOST, 0, "SPIRAL", "LAST LIFE !", ""},
        {GAME_TYPE_PUZZLE, 0, 0, LEVEL_STATE_LIFE_LOST, 2, "SPIRAL", "3 LIVES LEFT", ""},
        {GAME_TYPE_ARCADE, 3, 0, LEVEL_STATE_PLAY, 0, "1 : 1", "", ""},
        {7, 0, 0, LEVEL_STATE_INTRO, 0, "???", "", ""},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.caption);
        _GameState &gs = GameState;
        SetPuzzle(GAME_TYPE_PUZZLE, 9, {0});
        gs.gameType = c.gameType;
        if (c.gameType <= GAME_TYPE_PUZZLE)
            gs.userOptions.difficulty[c.gameType] = (int8_t)c.difficulty;
        gs.level = c.level;
        gs.levelState = (uint8_t)c.state;
        gs.lives = c.lives;
        char caption[64], first[64], second[64];
        LevelsFormatCaptionText(caption, sizeof(caption));
        EXPECT_STREQ(caption, c.caption);
        int lines = LevelsGetCaptionLines(first, second, sizeof(first));
        EXPECT_STREQ(first, c.first);
        EXPECT_STREQ(second, c.second);
        EXPECT_EQ(lines, (c.first[0] != 0) + (c.second[0] != 0));
    }
    EXPECT_STREQ(LevelsGetDifficultyName(GAME_TYPE_STRATEGIC, 5), "MASSIVE");
    EXPECT_STREQ(LevelsGetDifficultyName(GAME_TYPE_ARCADE, 3), "VERY HARD");
    EXPECT_STREQ(LevelsGetDifficultyName(GAME_TYPE_ARCADE, 4), "???");
}
