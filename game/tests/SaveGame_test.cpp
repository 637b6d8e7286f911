// Saved games and undo: a restored snapshot plays on byte for byte as the game it was
// taken from, a saved game resumed at any moment ends with the same score, damaged files
// are refused with the game, the file and the mark kept, and the undo history keeps ten.
#include <sys/stat.h>

#include <cstring>
#include <memory>

#include "EngDebug.h"
#include "PersistTestkit.h"
#include "ScriptedPlay.h"

using persisttest::PersistTest;

namespace
{

// The offset of the first byte in which two snapshots differ; -1 when none does.
int FirstDifference(const _GameSnapshot &a, const _GameSnapshot &b)
{
    const uint8_t *x = reinterpret_cast<const uint8_t *>(&a);
    const uint8_t *y = reinterpret_cast<const uint8_t *>(&b);
    for (size_t i = 0; i < sizeof(_GameSnapshot); i++)
        if (x[i] != y[i])
            return (int)i;
    return -1;
}

// A game of `gameType` started with a fixed seed, as the saved-game tests play it.
void StartSeededGame(int gameType, uint32_t seed)
{
    _GameState &gs = GameState;
    gs.gameType = gameType;
    gs.userOptions.gameType = (int8_t)gameType;
    gs.userOptions.mouseSensitivity = 4;
    PlinxSetFixedSeed(seed);
    PlinxStartGame();
}

class SaveGameTest : public PersistTest
{
protected:
    // A running game of `gameType` at difficulty 0 with a fixed seed, in play.
    void StartGame(int gameType, uint32_t seed)
    {
        _GameState &gs = GameState;
        StartSeededGame(gameType, seed);
        for (int i = 0; i < 600 && gs.levelState != LEVEL_STATE_PLAY; i++)
            TickGame();
        ASSERT_EQ(gs.levelState, LEVEL_STATE_PLAY);
    }

    // One tick of a scripted player: a shot whenever a ball is loaded.
    static void ScriptTick(ScriptedAim &aim)
    {
        const _GameState &gs = GameState;
        if (gs.levelState == LEVEL_STATE_PLAY && gs.turretLoad >= 1.0f && !gs.gameOver)
        {
            PlinxSetTurretAngle(aim.NextAngle(), 0, 0);
            PlinxShoot();
        }
        TickGame();
    }

    std::string SavedGamePath(int gameType) const
    {
        return UserFolder() + "/SavedGame" + std::to_string(gameType) + "_0.dat";
    }

    std::unique_ptr<_GameSnapshot> Capture()
    {
        auto snapshot = std::make_unique<_GameSnapshot>();
        memset(snapshot.get(), 0, sizeof(_GameSnapshot));
        SaveGameCaptureSnapshot(snapshot.get());
        return snapshot;
    }
};

TEST_F(SaveGameTest, ARestoredSnapshotPlaysOnByteForByte)
{
    for (int gameType : {GAME_TYPE_ARCADE, GAME_TYPE_STRATEGIC})
    {
        SCOPED_TRACE(gameType);
        StartGame(gameType, 4242);
        ScriptedAim aim = {77};
        for (int i = 0; i < 200; i++)
            ScriptTick(aim);
        const auto start = Capture();
        const ScriptedAim aimAtStart = aim;
        for (int i = 0; i < 600; i++)
            ScriptTick(aim);
        const auto first = Capture();
        ASSERT_GT(first->score, start->score) << "the 600 ticks must play";

        // Whatever happened meanwhile, the restored game plays the same 600 ticks.
        GameState.score = 0;
        GameState.rng.Seed(1);
        GameState.looksRng.Seed(2);
        SaveGameRestoreSnapshot(start.get());
        aim = aimAtStart;
        for (int i = 0; i < 600; i++)
            ScriptTick(aim);
        const auto second = Capture();
        EXPECT_EQ(FirstDifference(*first, *second), -1);
    }
}

TEST_F(SaveGameTest, TheRestoredGeneratorDrawsWhatTheSavedGameWouldHave)
{
    StartGame(GAME_TYPE_ARCADE, 99);
    ScriptedAim aim = {5};
    for (int i = 0; i < 300; i++)
        ScriptTick(aim);
    ASSERT_GT(GameState.rngDraws, 0u);
    const auto snapshot = Capture();
    const uint32_t next = GameState.rng.GetRandom();
    GameState.rng.Seed(12345);
    SaveGameRestoreSnapshot(snapshot.get());
    EXPECT_EQ(GameState.rng.GetRandom(), next);

    // A snapshot without a seed leaves the generator as it is.
    snapshot->rngSeed = 0;
    GameState.rng.Seed(7);
    EngRandomGenerator expected;
    expected.Seed(7);
    SaveGameRestoreSnapshot(snapshot.get());
    EXPECT_EQ(GameState.rng.GetRandom(), expected.GetRandom());
}

// Plays a scripted game to its end; with `saveAt` >= 0 the game is saved at that tick,
// the whole game state thrown away, and the saved game resumed and played on.
static int PlayToTheEnd(int gameType, uint32_t seed, int saveAt, bool *resumed, int *ticks)
{
    PlayShutdown();
    PlaySetup();
    AppGoFromMenusToGame(nullptr, 1);
    _GameState &gs = GameState;
    StartSeededGame(gameType, seed);
    ScriptedAim aim = {seed};
    int tick = 0;
    for (; tick < 200000 && !gs.gameOver; tick++)
    {
        if (tick == saveAt)
        {
            if (!SaveGameToBeResumed(0))
                return -1;
            PlayShutdown();
            PlaySetup();
            PlinxSetFixedSeed(0);
            gs.userOptions.gameType = (int8_t)gameType;
            gs.userOptions.mouseSensitivity = 4;
            gs.userOptions.savedGame[gameType] = 1;
            if (!ResumeSavedGame(0) || gs.userOptions.savedGame[gameType] != 0)
                return -1;
            // The pause screen's "RESUME": back to the game, which goes on.
            AppGoFromMenusToGame(nullptr, 1);
            PlinxStartGame();
            *resumed = true;
        }
        if (gs.levelState == LEVEL_STATE_PLAY && gs.turretLoad >= 1.0f)
        {
            PlinxSetTurretAngle(aim.NextAngle(), 0, 0);
            PlinxShoot();
        }
        TickGame();
    }
    *ticks = tick;
    return gs.gameOver ? gs.score : -2;
}

TEST_F(SaveGameTest, AGameSavedAtAnyMomentResumesToTheSameFinalScore)
{
    uint32_t pick = 2024;
    for (int gameType : {GAME_TYPE_ARCADE, GAME_TYPE_STRATEGIC})
    {
        for (uint32_t seed : {11u, 12u, 13u, 14u})
        {
            SCOPED_TRACE(testing::Message() << "type " << gameType << " seed " << seed);
            bool resumed = false;
            int ticks = 0;
            const int expected = PlayToTheEnd(gameType, seed, -1, &resumed, &ticks);
            ASSERT_GT(expected, 0);
            pick = pick * 1664525u + 1013904223u;
            const int saveAt = 1 + (int)((pick >> 8) % (uint32_t)(ticks - 1));
            EXPECT_EQ(PlayToTheEnd(gameType, seed, saveAt, &resumed, &ticks), expected) << "saved at tick " << saveAt;
            EXPECT_TRUE(resumed) << "saved at tick " << saveAt;
        }
    }
}

TEST_F(SaveGameTest, BadFilesAreRefusedAndTheGameFileAndMarkStay)
{
    StartGame(GAME_TYPE_STRATEGIC, 31);
    ScriptedAim aim = {3};
    for (int i = 0; i < 400; i++)
        ScriptTick(aim);
    ASSERT_TRUE(SaveGameToBeResumed(0));
    const std::string path = SavedGamePath(GAME_TYPE_STRATEGIC);
    const std::string good = testkit::ReadFile(path);
    ASSERT_EQ(good.size(), 38560u);
    float version;
    memcpy(&version, good.data(), 4);
    EXPECT_EQ(version, 2.4f);

    auto patched = [&](size_t offset, const void *value, size_t size) {
        std::string bytes = good;
        memcpy(&bytes[offset], value, size);
        return bytes;
    };
    const float wrongVersion = 2.41f, notANumber = NAN, phase = 70.5f;
    const uint32_t tooMany = 51, hugeDraws = 0xFFFFFFF0u, manyDraws = 1u << 20, arcade = 0, badState = 9, animated = 309, colours = 11;
    const int32_t row14 = 14, odd = 15, aboveCap = 2147483647, threeLives = 3, removeOver = 250022,
                  fallOver = 2500216, bonusOver = 10000861, frequencyOver = 1201, negative = -10;
    const struct
    {
        const char *what;
        std::string bytes;
        const char *message;
    } cases[] = {
        {"one byte short", good.substr(0, 38559), "Could not read from file"},
        {"one byte long", good + "x", "Could not read from file"},
        {"version 2.41", patched(0, &wrongVersion, 4), "Invalid version"},
        {"51 moving balls", patched(offsetof(_GameSnapshot, movingCount), &tooMany, 4), "moving count"},
        {"replayed draws", patched(offsetof(_GameSnapshot, rngDraws), &hugeDraws, 4), "draw count"},
        {"2^20 replayed draws", patched(offsetof(_GameSnapshot, rngDraws), &manyDraws, 4), "draw count"},
        {"another game type", patched(offsetof(_GameSnapshot, gameType), &arcade, 4), "game type"},
        {"level state 9", patched(offsetof(_GameSnapshot, levelState), &badState, 4), "level state"},
        {"turret angle NaN", patched(offsetof(_GameSnapshot, turretAngle), &notANumber, 4), "play value"},
        // Each point and count field just past what the rules give.
        {"score not in tens", patched(offsetof(_GameSnapshot, score), &odd, 4), "score"},
        {"score past the cap", patched(offsetof(_GameSnapshot, score), &aboveCap, 4), "score"},
        {"negative score", patched(offsetof(_GameSnapshot, score), &negative, 4), "score"},
        {"three lives", patched(offsetof(_GameSnapshot, lives), &threeLives, 4), "progress"},
        {"remove points", patched(offsetof(_GameSnapshot, removePoints), &removeOver, 4), "points"},
        {"fall points", patched(offsetof(_GameSnapshot, fallPoints), &fallOver, 4), "points"},
        {"negative fall points", patched(offsetof(_GameSnapshot, fallPoints), &negative, 4), "points"},
        {"arcade bonus", patched(offsetof(_GameSnapshot, arcadeLevelBonus), &bonusOver, 4), "points"},
        {"strategic bonus", patched(offsetof(_GameSnapshot, strategicLevelBonus), &bonusOver, 4), "points"},
        {"puzzle bonus", patched(offsetof(_GameSnapshot, puzzleLevelBonus), &bonusOver, 4), "points"},
        {"wildcard frequency", patched(offsetof(_GameSnapshot, wildcardFrequency), &frequencyOver, 4),
         "level tuning"},
        {"exploding frequency", patched(offsetof(_GameSnapshot, explodingFrequency), &frequencyOver, 4),
         "level tuning"},
        {"309 removing balls", patched(offsetof(_GameSnapshot, removingCount), &animated, 4), "animation count"},
        {"309 falling balls", patched(offsetof(_GameSnapshot, fallingCount), &animated, 4), "animation count"},
        {"51 next balls", patched(offsetof(_GameSnapshot, nextBallCount), &tooMany, 4), "next-ball list"},
        {"11 colours", patched(offsetof(_GameSnapshot, numColours), &colours, 4), "number of colours"},
        {"roll phase 70.5", patched(offsetof(_GameSnapshot, grid) + offsetof(_GridCell, rollPhase), &phase, 4),
         "grid cell"},
        {"removal record in row 14",
         patched(offsetof(_GameSnapshot, removingList) + offsetof(_RemovingBall, row), &row14, 4),
         nullptr},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.what);
        std::string bytes = c.bytes;
        if (!c.message)
        {
            // The removal record only counts when the list holds it.
            uint32_t one = 1;
            memcpy(&bytes[offsetof(_GameSnapshot, removingCount)], &one, 4);
        }
        testkit::WriteFile(path, bytes);
        GameState.userOptions.gameType = GAME_TYPE_STRATEGIC;
        GameState.userOptions.savedGame[GAME_TYPE_STRATEGIC] = 1;
        GameState.score = 777;
        DebugClearMessages();
        EXPECT_FALSE(ResumeSavedGame(0));
        EXPECT_EQ(GameState.score, 777);
        EXPECT_EQ(GameState.userOptions.savedGame[GAME_TYPE_STRATEGIC], 1);
        EXPECT_TRUE(testkit::FileExists(path));
        EXPECT_TRUE(LogHas(c.message ? c.message : "removing ball")) << (c.message ? c.message : "");
    }
    unlink(path.c_str());
    EXPECT_FALSE(ResumeSavedGame(0));
    EXPECT_TRUE(LogHas("Could not open saved game file"));
    EXPECT_EQ(GameState.userOptions.savedGame[GAME_TYPE_STRATEGIC], 1);
}

TEST_F(SaveGameTest, OnlyArcadeStrategicAndPuzzleGamesAreSaved)
{
    StartGame(GAME_TYPE_ARCADE, 8);
    _UserOptions &options = GameState.userOptions;
    options.gameType = GAME_TYPE_MY_PUZZLES;
    EXPECT_FALSE(SaveGameToBeResumed(0));
    EXPECT_FALSE(testkit::FileExists(SavedGamePath(GAME_TYPE_MY_PUZZLES)));
    EXPECT_EQ(options.savedGame[GAME_TYPE_MY_PUZZLES], 0);
    EXPECT_FALSE(SaveGameDoesSavedGameExist(0));

    // A game type outside 0-3 is taken as ARCADE.
    options.gameType = 9;
    EXPECT_TRUE(SaveGameToBeResumed(0));
    EXPECT_EQ(options.gameType, GAME_TYPE_ARCADE);
    EXPECT_TRUE(LogHas("Internal error"));
    EXPECT_EQ(options.savedGame[GAME_TYPE_ARCADE], 1);
    EXPECT_TRUE(SaveGameDoesSavedGameExist(0));

    // Escape during play saves and goes to the pause screen.
    unlink(SavedGamePath(GAME_TYPE_ARCADE).c_str());
    options.savedGame[GAME_TYPE_ARCADE] = 0;
    EngKeyStates[0x1B] = 2;
    TickGame();
    EXPECT_TRUE(SaveGameDoesSavedGameExist(0));
    EXPECT_EQ(options.savedGame[GAME_TYPE_ARCADE], 1);
    EXPECT_EQ(AppGetTargetScreen(), EngFourCC("PAUS"));
}

TEST_F(SaveGameTest, AFailedWriteKeepsTheOldFileAndTheMarkUnchanged)
{
    StartGame(GAME_TYPE_ARCADE, 8);
    ASSERT_TRUE(SaveGameToBeResumed(0));
    const std::string path = SavedGamePath(GAME_TYPE_ARCADE);
    const std::string before = testkit::ReadFile(path);
    GameState.userOptions.savedGame[GAME_TYPE_ARCADE] = 0;
    // The temporary file cannot be made: a folder stands in its place.
    ASSERT_EQ(mkdir((path + ".tmp").c_str(), 0755), 0);
    GameState.score += 1000;
    EXPECT_FALSE(SaveGameToBeResumed(0));
    EXPECT_EQ(testkit::ReadFile(path), before);
    EXPECT_EQ(GameState.userOptions.savedGame[GAME_TYPE_ARCADE], 0);
    rmdir((path + ".tmp").c_str());
}

TEST_F(SaveGameTest, RemovingTheSavedGameClearsMarkFileAndUndoHistory)
{
    StartGame(GAME_TYPE_STRATEGIC, 8);
    ASSERT_TRUE(SaveGameToBeResumed(0));
    SaveGameUndoPush();
    // A save cut short left its temporary file behind: it goes too.
    const std::string temporary = SavedGamePath(GAME_TYPE_STRATEGIC) + ".tmp";
    testkit::WriteFile(temporary, "half a save");
    SaveGameRemoveAnyCurrentSavedGame();
    EXPECT_FALSE(SaveGameDoesSavedGameExist(0));
    EXPECT_FALSE(testkit::FileExists(temporary));
    EXPECT_EQ(GameState.userOptions.savedGame[GAME_TYPE_STRATEGIC], 0);
    EXPECT_EQ(SaveGameUndoGetCount(), 0);
}

TEST_F(SaveGameTest, UndoKeepsTheTenNewestAndPopsThemInOrder)
{
    StartGame(GAME_TYPE_STRATEGIC, 8);
    _GameState &gs = GameState;
    for (int i = 1; i <= 11; i++)
    {
        gs.score = i * 10;
        SaveGameUndoPush();
    }
    EXPECT_EQ(SaveGameUndoGetCount(), 10);
    for (int expected = 110; expected >= 20; expected -= 10)
    {
        gs.score = -1;
        SaveGameUndoPop();
        EXPECT_EQ(gs.score, expected);
    }
    EXPECT_EQ(SaveGameUndoGetCount(), 1);
    gs.score = -1;
    SaveGameUndoPop();
    EXPECT_EQ(gs.score, 20) << "the last entry restores the same state again";

    SaveGameUndoClear();
    gs.score = 5;
    SaveGameUndoPop();
    EXPECT_EQ(gs.score, 5);
}

} // namespace
