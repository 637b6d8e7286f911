// The shipped puzzles: every one loads, each PUZZLE difficulty holds at least ten of
// them at levels 0 to n-1, and the recorded solution of each, replayed shot by shot as a
// player would fire it, clears the level without losing a life; the game then goes on to
// the difficulty's next puzzle.
#include <optional>
#include <string>

#include "GameTestkit.h"
#include "PuzzleReplay.h"

namespace
{

class SystemPuzzlesTest : public gametest::GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        // The puzzles are read from "Data/SystemPuzzles", as the game reads them.
        folder.emplace(PLINX_SOURCE_DIR);
        ASSERT_TRUE(folder->Entered());
        PuzzlesShutdown();
        PuzzlesLoadAllLists();
    }
    void TearDown() override
    {
        PuzzlesShutdown();
        folder.reset();
        GameTest::TearDown();
    }
    std::optional<testkit::WorkingFolder> folder;
};

TEST_F(SystemPuzzlesTest, EveryDifficultyHoldsTenOrMoreAtLevelsInOrder)
{
    int total = 0;
    for (int difficulty = 0; difficulty < PUZZLE_NUM_DIFFICULTIES; difficulty++)
    {
        SCOPED_TRACE(difficulty);
        const int count = PuzzlesGetNumPuzzlesOfDifficulty(difficulty);
        EXPECT_GE(count, 10);
        for (int level = 0; level < count; level++)
        {
            const char *name = PuzzlesGetPuzzleNameOfDifficulty(difficulty, level);
            ASSERT_NE(name, nullptr);
            ASSERT_TRUE(PuzzlesLoadFromFile(GAME_TYPE_PUZZLE, name)) << name;
            EXPECT_EQ(GameState.puzzle.level, level) << name;
            EXPECT_EQ(GameState.puzzle.difficulty, difficulty) << name;
        }
        total += count;
    }
    EXPECT_EQ(PuzzlesGetNumPuzzles(GAME_TYPE_PUZZLE), total) << "every shipped file loads";
}

TEST_F(SystemPuzzlesTest, EverySolutionClearsItsLevel)
{
    for (int difficulty = 0; difficulty < PUZZLE_NUM_DIFFICULTIES; difficulty++)
    {
        const int count = PuzzlesGetNumPuzzlesOfDifficulty(difficulty);
        for (int level = 0; level < count; level++)
        {
            const std::string name = PuzzlesGetPuzzleNameOfDifficulty(difficulty, level);
            SCOPED_TRACE(name);
            // Colours differ from play to play; the solution holds for any of them.
            ASSERT_TRUE(puzzlereplay::StartSystemPuzzle(difficulty, level, 1000u + (uint32_t)level));
            _TestFile solution;
            const std::string path = std::string(PLINX_SOURCE_DIR) + "/game/tests/puzzles/" + name + ".tes";
            ASSERT_TRUE(PuzzlesReadTestFile(path.c_str(), &solution)) << path;
            PuzzlesSetTestShots(solution.shots, 0);
            int shots = 0;
            EXPECT_EQ(puzzlereplay::ReplayTestShots(&shots), puzzlereplay::OUTCOME_CLEARED) << "after " << shots;
            EXPECT_EQ(GameState.lives, 2);
            EXPECT_LE(shots, GameState.puzzle.numNextBalls);

            // The level ends and the difficulty's next puzzle starts (the last one ends the run).
            for (int i = 0; i < 1200 && GameState.levelState != LEVEL_STATE_PLAY && !AppIsGuiOn(); i++)
                TickGame();
            if (level + 1 < count)
            {
                EXPECT_EQ(GameState.level, level + 1);
                EXPECT_STREQ(GameState.puzzle.name, PuzzlesGetPuzzleNameOfDifficulty(difficulty, level + 1));
            }
            else
            {
                EXPECT_EQ(AppGetTargetScreen(), EngFourCC("LVDN"));
            }
        }
    }
}

} // namespace
