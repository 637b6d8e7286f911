// Puzzles: the text file written and read back, every kind of bad file refused with the
// current puzzle kept, the lists, the test file, test runs with record, replay and undo,
// and the editor's keys.
#include <cstring>

#include "EngDebug.h"
#include "PersistTestkit.h"

using persisttest::PersistTest;
using persisttest::PuzzleText;

namespace
{

class PuzzlesTest : public PersistTest
{
protected:
    // A recognisable current puzzle, to see that a failed load leaves it alone.
    void SetMarkerPuzzle()
    {
        ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "MARKER"));
        GameState.puzzle.width = 13;
    }
    bool CurrentIsMarker() const
    {
        return strcmp(GameState.puzzle.name, "MARKER") == 0 && GameState.puzzle.width == 13;
    }
};

TEST_F(PuzzlesTest, SavedPuzzleReadsBackWholeUnderItsUpperCaseName)
{
    ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "Round trip"));
    _Puzzle &puzzle = GameState.puzzle;
    puzzle.width = 22;
    puzzle.numBallTypes = 10;
    puzzle.numNextBalls = 50;
    for (int i = 0; i < 50; i++)
        puzzle.nextBalls[i] = (int8_t)(i % 13);
    for (int column = 1; column < 21; column++)
        for (int row = 0; row < 14; row++)
            puzzle.grid[column][row] = (int8_t)((column * 7 + row) % 14 - 1);
    puzzle.grid[0][0] = -1;
    puzzle.moveDown = 29;
    puzzle.removeUp = 0;
    puzzle.fallUp = 17;
    puzzle.arcadeLandUp = 3;
    puzzle.difficulty = 2;
    puzzle.level = 41;
    ASSERT_TRUE(PuzzlesSaveToFile());
    EXPECT_STREQ(puzzle.name, "ROUND TRIP");
    const _Puzzle written = puzzle;

    std::string text = testkit::ReadFile(OwnFolder() + "/ROUND TRIP.qpz");
    EXPECT_EQ(text.rfind("VERSION: 2.00\r\r\nTYPE: 3\r\r\nWIDTH: 22\r\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\r\n13: -1 "), std::string::npos);

    PuzzlesClearCurrentPuzzle();
    ASSERT_TRUE(PuzzlesLoadFromFile(GAME_TYPE_MY_PUZZLES, "ROUND TRIP"));
    EXPECT_EQ(memcmp(&GameState.puzzle, &written, sizeof(_Puzzle)), 0);
}

TEST_F(PuzzlesTest, BadFilesAreRefusedAndTheCurrentPuzzleStays)
{
    struct Case
    {
        const char *what;
        PuzzleText text;
        std::string lineEnd;
        bool loads;
        const char *message;
    };
    auto with = [](auto change) {
        PuzzleText text;
        change(text);
        return text;
    };
    std::string row21 = "05:";
    for (int i = 0; i < 21; i++)
        row21 += " -1";
    std::string longLine = "# " + std::string(700, 'x');
    const Case cases[] = {
        {"CR CR LF", PuzzleText(), "\r\r\n", true, nullptr},
        {"CR LF", PuzzleText(), "\r\n", true, nullptr},
        {"LF", PuzzleText(), "\n", true, nullptr},
        {"version 2", with([](PuzzleText &t) { t.version = "2"; }), "\r\r\n", true, nullptr},
        {"version 2.01", with([](PuzzleText &t) { t.version = "2.01"; }), "\r\r\n", false, "Invalid version"},
        {"type 2 asked as 3", with([](PuzzleText &t) { t.type = 2; }), "\r\r\n", false, "File type:2  !=  Type: 3"},
        {"width 6", with([](PuzzleText &t) { t.width = 6; }), "\r\r\n", false, "Error in file"},
        {"width 23", with([](PuzzleText &t) { t.width = 23; }), "\r\r\n", false, "Error in file"},
        {"no ball types", with([](PuzzleText &t) { t.numBallTypes = 0; }), "\r\r\n", false, "Error in file"},
        {"11 ball types", with([](PuzzleText &t) { t.numBallTypes = 11; }), "\r\r\n", false, "Error in file"},
        {"51 next balls", with([](PuzzleText &t) { t.numNextBalls = 51; }), "\r\r\n", false, "Error in file"},
        {"more next balls than listed", with([](PuzzleText &t) { t.numNextBalls = 4; }), "\r\r\n", false,
         "Error in file"},
        {"empty next ball", with([](PuzzleText &t) { t.nextBalls = "0 -1 2"; }), "\r\r\n", false, "Error in file"},
        {"next ball 13", with([](PuzzleText &t) { t.nextBalls = "0 13 2"; }), "\r\r\n", false, "Invalid line"},
        {"amount 30", with([](PuzzleText &t) { t.fallUp = 30; }), "\r\r\n", false, "Error in file"},
        {"negative amount", with([](PuzzleText &t) { t.moveDown = -1; }), "\r\r\n", false, "Error in file"},
        {"difficulty past a byte", with([](PuzzleText &t) { t.difficulty = 200; }), "\r\r\n", false,
         "Invalid line"},
        {"width not a number", with([](PuzzleText &t) { t.extraLines = {"WIDTH: wide"}; }), "\r\r\n", false,
         "Invalid line"},
        {"grid line of 21 cells skipped", with([&](PuzzleText &t) { t.extraLines = {row21}; }), "\r\r\n", true,
         "Invalid line: [05:"},
        {"long comment skipped", with([&](PuzzleText &t) { t.extraLines = {longLine}; }), "\r\r\n", true,
         "Invalid line"},
        {"row 14", with([](PuzzleText &t) { t.rows = {"14: 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"}; }),
         "\r\r\n", false, "Invalid line num: 14"},
        {"row -1", with([](PuzzleText &t) { t.rows = {"-1: 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"}; }),
         "\r\r\n", false, "Invalid line num: -1"},
        {"cell 13", with([](PuzzleText &t) { t.rows = {"00: -1 13 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"}; }),
         "\r\r\n", false, "Invalid line"},
        {"cell -2", with([](PuzzleText &t) { t.rows = {"00: -1 -2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"}; }),
         "\r\r\n", false, "Invalid line"},
        {"cell past an int", with([](PuzzleText &t) {
             t.rows = {"00: -1 99999999999 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"};
         }),
         "\r\r\n", false, "Invalid line"},
    };
    for (const Case &c : cases)
    {
        SCOPED_TRACE(c.what);
        SetMarkerPuzzle();
        DebugClearMessages();
        WriteOwn("CASE", c.text.Build(c.lineEnd));
        EXPECT_EQ(PuzzlesLoadFromFile(GAME_TYPE_MY_PUZZLES, "CASE"), c.loads ? 1 : 0);
        if (c.loads)
        {
            EXPECT_STREQ(GameState.puzzle.name, "CASE");
            EXPECT_EQ(GameState.puzzle.numNextBalls, 3);
            EXPECT_EQ(GameState.puzzle.grid[2][0], 1);
        }
        else
        {
            EXPECT_TRUE(CurrentIsMarker());
        }
        if (c.message)
        {
            EXPECT_TRUE(LogHas(c.message)) << c.message;
        }
    }
}

TEST_F(PuzzlesTest, NamesAndTypesThatCannotBeFilesAreRefused)
{
    WriteSystem("OWN", PuzzleText().Build());
    const struct
    {
        int type;
        const char *name;
        const char *message;
    } cases[] = {
        {GAME_TYPE_MY_PUZZLES, "", "Invalid name"},
        {GAME_TYPE_MY_PUZZLES, "SIXTEEN CHARS XX", "Invalid name"},
        {GAME_TYPE_MY_PUZZLES, "../../escape", "Invalid name"},
        {GAME_TYPE_MY_PUZZLES, "MISSING", "Could not open file"},
        {GAME_TYPE_ARCADE, "OWN", "Invalid puzzle type"},
        {GAME_TYPE_PUZZLE, "OWN", "File type:3  !=  Type: 2"},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.name);
        DebugClearMessages();
        EXPECT_FALSE(PuzzlesLoadFromFile(c.type, c.name));
        EXPECT_TRUE(LogHas(c.message)) << c.message;
    }
    GameState.puzzle.name[0] = 0;
    EXPECT_FALSE(PuzzlesSaveToFile());
    EXPECT_TRUE(LogHas("No puzzle name"));
    EXPECT_FALSE(PuzzlesReset(GAME_TYPE_PUZZLE, "SYSTEM"));
    EXPECT_FALSE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "a/b"));
    ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, nullptr));
    EXPECT_STREQ(GameState.puzzle.name, "Untitled");
}

TEST_F(PuzzlesTest, ListsAreSortedCappedAndHoldFifteenCharacterNames)
{
    auto system = [](int difficulty, int level) {
        PuzzleText text;
        text.type = GAME_TYPE_PUZZLE;
        text.difficulty = difficulty;
        text.level = level;
        return text.Build();
    };
    WriteSystem("ZED", system(0, 0));
    WriteSystem("ALPHA", system(0, 1));
    WriteSystem("BETA", system(0, 1));
    WriteSystem("HARD ONE", system(2, 0));
    WriteSystem("OWN TYPE", PuzzleText().Build());
    WriteSystem("FIFTEEN CHARS X", system(1, 0));
    WriteSystem("SIXTEEN CHARS XX", system(1, 1));
    PuzzleText own;
    own.difficulty = 2;
    own.level = 7;
    for (int i = 0; i < 101; i++)
    {
        char name[16];
        snprintf(name, sizeof(name), "P%03d", 100 - i);
        WriteOwn(name, own.Build());
    }
    SetMarkerPuzzle();
    PuzzlesLoadAllLists();

    EXPECT_TRUE(CurrentIsMarker());
    const char *expected[] = {"ZED", "ALPHA", "BETA", "FIFTEEN CHARS X", "HARD ONE"};
    ASSERT_EQ(PuzzlesGetNumPuzzles(GAME_TYPE_PUZZLE), 5);
    for (int i = 0; i < 5; i++)
        EXPECT_STREQ(PuzzlesGetListEntry(GAME_TYPE_PUZZLE, i)->name, expected[i]);
    EXPECT_TRUE(LogHas("Ignoring invalid puzzle filename: [SIXTEEN CHARS XX.qpz]"));
    EXPECT_EQ(PuzzlesGetNumPuzzlesOfDifficulty(0), 3);
    EXPECT_EQ(PuzzlesGetNumPuzzlesOfDifficulty(1), 1);
    EXPECT_STREQ(PuzzlesGetPuzzleNameOfDifficulty(0, 2), "BETA");
    EXPECT_STREQ(PuzzlesGetPuzzleNameOfDifficulty(2, 0), "HARD ONE");
    EXPECT_EQ(PuzzlesGetPuzzleNameOfDifficulty(2, 1), nullptr);

    // The first 100 of 101 in name order; own puzzles list with difficulty and level 0.
    ASSERT_EQ(PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES), 100);
    EXPECT_STREQ(PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, 0)->name, "P000");
    EXPECT_STREQ(PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, 99)->name, "P099");
    EXPECT_EQ(PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, 5)->difficulty, 0);
    EXPECT_EQ(PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, 5)->level, 0);
    EXPECT_EQ(PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, 100), nullptr);
}

TEST_F(PuzzlesTest, AFifteenCharacterNameIsSavedAndListed)
{
    ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "fifteen chars x"));
    ASSERT_TRUE(PuzzlesSaveToFile());
    PuzzlesLoadPuzzlesType(GAME_TYPE_MY_PUZZLES);
    ASSERT_EQ(PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES), 1);
    EXPECT_STREQ(PuzzlesGetListEntry(GAME_TYPE_MY_PUZZLES, 0)->name, "FIFTEEN CHARS X");

    DebugClearMessages();
    PuzzlesShutdown();
    PuzzlesLoadPuzzlesType(GAME_TYPE_PUZZLE);
    EXPECT_TRUE(LogHas("No puzzles found in dir"));
}

TEST_F(PuzzlesTest, DeletingRemovesThePuzzleAndItsTestFileWhateverTheCase)
{
    ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "GONE"));
    ASSERT_TRUE(PuzzlesSaveToFile());
    ASSERT_TRUE(PuzzlesSaveTestingFile());
    ASSERT_TRUE(testkit::FileExists(TestFolder() + "/GONE.tes"));
    EXPECT_TRUE(PuzzleDeleteFile(GAME_TYPE_MY_PUZZLES, "gone"));
    EXPECT_FALSE(testkit::FileExists(OwnFolder() + "/GONE.qpz"));
    EXPECT_FALSE(testkit::FileExists(TestFolder() + "/GONE.tes"));
    EXPECT_FALSE(PuzzleDeleteFile(GAME_TYPE_MY_PUZZLES, "GONE"));
    EXPECT_TRUE(LogHas("does not exist"));
}

TEST_F(PuzzlesTest, TestFilesKeepTheirShotsAndRefuseWrongSizesAndVersions)
{
    ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "SHOTS"));
    GameState.puzzle.numNextBalls = 3;
    GameState.turretAngle = 0.5f;
    GameState.turretBallX = 0.25f;
    GameState.turretBallY = 0.75f;
    const _ShotAim first = {0.5f, 0.25f, 0.75f, 0.0f};
    PuzzlesRecordTestShot(&first);
    const _ShotAim second = {-1.0f, 0.25f, 0.75f, 0.0f};
    PuzzlesRecordTestShot(&second);
    ASSERT_TRUE(PuzzlesSaveTestingFile());
    const std::string path = TestFolder() + "/SHOTS.tes";
    const std::string bytes = testkit::ReadFile(path);
    ASSERT_EQ(bytes.size(), 1004u);

    PuzzlesShutdown();
    ASSERT_TRUE(PuzzlesLoadTestingFile());
    ASSERT_TRUE(PuzzlesReplayTestShot(0));
    EXPECT_FLOAT_EQ(GameState.turretAngle, 0.5f);
    EXPECT_FLOAT_EQ(GameState.turretBallY, 0.75f);
    ASSERT_TRUE(PuzzlesReplayTestShot(0));
    EXPECT_FLOAT_EQ(GameState.turretAngle, -1.0f);
    EXPECT_FALSE(PuzzlesReplayTestShot(1));

    std::string wrongVersion = bytes;
    wrongVersion[0] ^= 1;
    std::string badAngle = bytes;
    float angle = 7.0f;
    memcpy(&badAngle[4 + 12], &angle, 4);
    for (const std::string &bad : {bytes.substr(0, 1003), bytes + "x", wrongVersion, badAngle})
    {
        testkit::WriteFile(path, bad);
        EXPECT_FALSE(PuzzlesLoadTestingFile());
        EXPECT_FALSE(PuzzlesReplayTestShot(1)) << "no shot of a refused file is replayed";
    }
    // No test file: nothing to replay, and that is no failure.
    unlink(path.c_str());
    EXPECT_TRUE(PuzzlesLoadTestingFile());
    EXPECT_FALSE(PuzzlesReplayTestShot(1));
}

TEST_F(PuzzlesTest, CopyingMapsColoursOutsideTestRunsAndDropsWhatCannotStand)
{
    _GameState &gs = GameState;
    ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "COPY"));
    _Puzzle &puzzle = gs.puzzle;
    puzzle.width = 7;
    puzzle.numBallTypes = 3;
    const int8_t row0[] = {1, 0, 2, 10, 12}; // columns 1-5
    for (int i = 0; i < 5; i++)
        puzzle.grid[1 + i][0] = row0[i];
    puzzle.grid[1][1] = 11; // an exploding ball cannot stand in the grid
    puzzle.grid[2][1] = 3;  // a colour the puzzle does not have
    puzzle.grid[6][0] = 0;  // the right border
    puzzle.numNextBalls = 3;
    puzzle.nextBalls[0] = 2;
    puzzle.nextBalls[1] = 11;
    puzzle.nextBalls[2] = 0;
    const int8_t colours[] = {7, 4, 9};
    memcpy(gs.colourSet, colours, sizeof(colours));

    PuzzlesCopyToGrid(1);
    const int8_t mapped[] = {4, 7, 9, 10, 12};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(gs.grid[1 + i][0].type, mapped[i]) << i;
    EXPECT_EQ(gs.grid[1][1].type, BALL_EMPTY);
    EXPECT_EQ(gs.grid[2][1].type, BALL_EMPTY);
    EXPECT_EQ(gs.grid[6][0].type, BALL_EMPTY);
    EXPECT_EQ(PuzzlesGetNextBallType(1, 1), 9);
    EXPECT_EQ(PuzzlesGetNextBallType(1, 1), 11);
    EXPECT_EQ(PuzzlesGetNextBallType(0, 1), 7);
    EXPECT_EQ(PuzzlesGetNextBallType(1, 1), 7);
    EXPECT_EQ(PuzzlesGetNextBallType(1, 1), BALL_EMPTY);
    EXPECT_TRUE(LogHas("No next balls"));

    gs.testMode = 1;
    PuzzlesCopyToGrid(1);
    EXPECT_EQ(gs.grid[1][0].type, 1);
    EXPECT_EQ(gs.nextBallList[0], 2);
}

// ---- Test runs and the editor --------------------------------------------------------------

class PuzzleEditorTest : public PuzzlesTest
{
protected:
    void SetUp() override
    {
        PuzzlesTest::SetUp();
        ASSERT_TRUE(PuzzlesReset(GAME_TYPE_MY_PUZZLES, "EDIT"));
        _Puzzle &puzzle = GameState.puzzle;
        puzzle.width = 9;
        puzzle.numBallTypes = 3;
        for (int column = 1; column <= 7; column++)
            puzzle.grid[column][0] = (int8_t)((column - 1) / 2 % 3);
        puzzle.numNextBalls = 6;
        const int8_t next[] = {0, 1, 2, 0, 1, 2};
        memcpy(puzzle.nextBalls, next, sizeof(next));
        ASSERT_TRUE(PuzzlesPrepareToStart());
        ASSERT_TRUE(PuzzlesIsEditing());
    }
    void TearDown() override
    {
        PuzzlesReleaseEditor();
        PuzzlesTest::TearDown();
    }
    void Press(int key)
    {
        EngKeyStates[key] = 2;
        PuzzlesEditorTick();
    }
    // Ticks the test run until a ball can be shot (at most two seconds).
    void TickUntilLoaded()
    {
        AppGoFromMenusToGame(nullptr, 1);
        for (int i = 0; i < 120 && !(GameState.levelState == LEVEL_STATE_PLAY && GameState.turretLoad >= 1.0f &&
                                     GameState.movingCount == 0);
             i++)
            PuzzlesEditorTick();
    }
};

TEST_F(PuzzleEditorTest, KeysPlaceBallsOnlyWhereTheyTouchAndEditTheNextList)
{
    _GameState &gs = GameState;
    // The cursor starts at (1, 0): a stone there replaces the colour.
    Press('S');
    EXPECT_EQ(gs.puzzle.grid[1][0], BALL_STONE);
    EXPECT_EQ(gs.grid[1][0].type, BALL_STONE);
    // Three rows down nothing touches: refused with the message.
    Press(0x28);
    Press(0x28);
    Press(0x28);
    Press('1');
    EXPECT_EQ(gs.puzzle.grid[1][3], BALL_EMPTY);
    EXPECT_STREQ(PuzzlesGetEditorMessage(), "BALL MUST BE TOUCHING ANOTHER BALL OR IN THE TOP ROW");
    // Colours at or past the number of ball types are not offered.
    Press(0x26);
    Press(0x26);
    Press('3');
    EXPECT_EQ(gs.puzzle.grid[1][1], BALL_EMPTY);
    Press('2');
    EXPECT_EQ(gs.puzzle.grid[1][1], 2);
    Press(0x2E);
    EXPECT_EQ(gs.puzzle.grid[1][1], BALL_EMPTY);

    // The next-ball list: an exploding ball at slot 0, one added past the end, one taken out.
    Press(0x09);
    Press('E');
    EXPECT_EQ(gs.puzzle.nextBalls[0], BALL_EXPLODING);
    for (int i = 0; i < 10; i++)
        Press(0x27);
    Press('W');
    EXPECT_EQ(gs.puzzle.numNextBalls, 7);
    EXPECT_EQ(gs.puzzle.nextBalls[6], BALL_WILDCARD);
    Press(0x25);
    Press(0x08);
    EXPECT_EQ(gs.puzzle.numNextBalls, 6);
    EXPECT_EQ(gs.puzzle.nextBalls[5], BALL_WILDCARD);
    EXPECT_EQ(gs.nextBallCount, 6);

    // Escape stores everything and returns to the puzzle properties.
    Press(0x1B);
    EXPECT_TRUE(testkit::FileExists(OwnFolder() + "/EDIT.qpz"));
    EXPECT_TRUE(testkit::FileExists(TestFolder() + "/EDIT.tes"));
    EXPECT_EQ(AppGetTargetScreen(), EngFourCC("CPPR"));
    EXPECT_EQ(PuzzlesGetNumPuzzles(GAME_TYPE_MY_PUZZLES), 1);
}

TEST_F(PuzzleEditorTest, TestRunsRecordReplayAndUndoTheirOwnShots)
{
    _GameState &gs = GameState;
    // The first run records its three shots.
    Press('T');
    ASSERT_EQ(gs.testMode, 1);
    TickUntilLoaded();
    ASSERT_EQ(gs.levelState, LEVEL_STATE_PLAY);
    EXPECT_EQ(gs.currentBall, 0) << "test runs keep the puzzle's own colours";
    const float angles[] = {-0.3f, 0.2f, 0.6f};
    for (float angle : angles)
    {
        PlinxSetTurretAngle(angle, 0, 0);
        EXPECT_TRUE(PuzzlesShoot(0));
        TickUntilLoaded();
    }
    ASSERT_EQ(SaveGameUndoGetCount(), 3);
    const int scoreOfFirstRun = gs.score;
    EngKeyStates[0x1B] = 2;
    PuzzlesEditorTick();
    EXPECT_EQ(gs.testMode, 0);
    EXPECT_EQ(gs.grid[1][0].type, 0) << "the puzzle is back in the editor";

    // The second run starts with an empty history and replays the recorded shots.
    Press('T');
    EXPECT_EQ(SaveGameUndoGetCount(), 0);
    TickUntilLoaded();
    for (float angle : angles)
    {
        PlinxSetTurretAngle(1.2f, 0, 0);
        EXPECT_TRUE(PuzzlesShoot(1));
        EXPECT_FLOAT_EQ(gs.turretAngle, angle);
        TickUntilLoaded();
    }
    EXPECT_EQ(gs.score, scoreOfFirstRun);

    // Undo goes back one shot at a time; the last entry stays.
    SaveGameUndoPop();
    EXPECT_EQ(gs.currentBall, 2);
    EXPECT_EQ(gs.movingCount, 0);
    SaveGameUndoPop();
    EXPECT_EQ(gs.currentBall, 1);
    SaveGameUndoPop();
    EXPECT_EQ(gs.currentBall, 0);
    EXPECT_EQ(gs.score, 0);
    SaveGameUndoPop();
    EXPECT_EQ(gs.currentBall, 0);
    EXPECT_EQ(SaveGameUndoGetCount(), 1);
}

TEST_F(PuzzleEditorTest, ARunStartedFromThePropertiesReturnsThere)
{
    PuzzlesStartTest(1);
    ASSERT_EQ(GameState.testMode, 2);
    TickUntilLoaded();
    PuzzlesEndTest();
    EXPECT_EQ(GameState.testMode, 0);
    PuzzlesEditorTick();
    EXPECT_EQ(AppGetTargetScreen(), EngFourCC("CPPR"));
}

} // namespace

TEST_F(PuzzleEditorTest, OnlyAShotThatLeftJoinsTheUndoHistoryAndTheRecording)
{
    _GameState &gs = GameState;
    Press('T');
    TickUntilLoaded();
    ASSERT_EQ(gs.testMode, 1);
    _TestShot shots[PUZZLE_TEST_SHOTS];
    int32_t index = -1;

    // A ball still sliding out of the barrel cannot go: nothing is remembered.
    gs.turretLoad = 0.5f;
    EXPECT_FALSE(PuzzlesShoot(0));
    EXPECT_EQ(SaveGameUndoGetCount(), 0);
    PuzzlesGetTestShots(shots, &index);
    EXPECT_EQ(index, 0);
    // Nothing recorded at the index: a replay fires nothing.
    gs.turretLoad = 1.0f;
    PlinxUpdateTurretBall();
    EXPECT_FALSE(PuzzlesShoot(1));
    EXPECT_EQ(gs.movingCount, 0);

    // The shot that goes is recorded with the aim it left with, and undo brings back the
    // state before it.
    PlinxSetTurretAngle(0.4f, 0, 0);
    const float ballX = gs.turretBallX;
    const int currentBall = gs.currentBall;
    ASSERT_TRUE(PuzzlesShoot(0));
    EXPECT_EQ(SaveGameUndoGetCount(), 1);
    PuzzlesGetTestShots(shots, &index);
    EXPECT_EQ(index, 1);
    EXPECT_FLOAT_EQ(shots[0].angle, 0.4f);
    EXPECT_FLOAT_EQ(shots[0].x, ballX);
    SaveGameUndoPop();
    EXPECT_EQ(gs.movingCount, 0);
    EXPECT_EQ(gs.currentBall, currentBall);
}
