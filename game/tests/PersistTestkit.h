// Fixture of the persistence tests (puzzles, saved games, players, scores): the game
// fixture, run from the test's own folder so that "Data/SystemPuzzles" is a folder the
// test fills, with the puzzle module and the undo history fresh.
#pragma once
#include <unistd.h>

#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "GameTestkit.h"
#include "Puzzles.h"
#include "SaveGame.h"

namespace persisttest
{

// A puzzle file's lines in the order the game writes them, for a puzzle of `type`, with
// its grid rows (one text per row, numbers separated by blanks, 22 each).
struct PuzzleText
{
    std::string version = "2.00";
    int type = GAME_TYPE_MY_PUZZLES;
    int width = 9;
    int numBallTypes = 3;
    int numNextBalls = 3;
    std::string nextBalls = "0 1 2";
    int moveDown = 5, removeUp = 2, fallUp = 5, arcadeLandUp = 1;
    int difficulty = 0, level = 0;
    std::vector<std::string> extraLines; // after the keys, before the grid
    std::vector<std::string> rows;       // replaced rows: "NN: v v v ..."; the rest empty

    std::string Build(const std::string &lineEnd = "\r\r\n") const
    {
        std::string text;
        auto line = [&](const std::string &content) { text += content + lineEnd; };
        line("VERSION: " + version);
        line("TYPE: " + std::to_string(type));
        line("WIDTH: " + std::to_string(width));
        line("NUM_BALL_TYPES: " + std::to_string(numBallTypes));
        line("NUM_NEXT_BALLS: " + std::to_string(numNextBalls));
        line("NEXT_BALLS_TYPES: " + nextBalls);
        line("MOVE_DOWN_AMOUNT: " + std::to_string(moveDown));
        line("REMOVE_UP_AMOUNT: " + std::to_string(removeUp));
        line("FALL_UP_AMOUNT: " + std::to_string(fallUp));
        line("ARCADE_LAND_UP_AMOUNT: " + std::to_string(arcadeLandUp));
        line("DIFFICULTY: " + std::to_string(difficulty));
        line("LEVEL: " + std::to_string(level));
        for (const std::string &extra : extraLines)
            line(extra);
        if (!rows.empty())
        {
            for (const std::string &row : rows)
                line(row);
            return text;
        }
        for (int row = 0; row < GRID_ROWS; row++)
        {
            char number[8];
            snprintf(number, sizeof(number), "%02d: ", row);
            std::string cells;
            for (int column = 0; column < GRID_MAX_COLUMNS; column++)
                cells += (row == 0 && column >= 1 && column <= 3 ? std::to_string(column - 1) : "-1") + " ";
            line(number + cells);
        }
        return text;
    }
};

class PersistTest : public gametest::GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        folder.emplace(Home());
        ASSERT_TRUE(folder->Entered());
        mkdir("Data", 0755);
        mkdir("Data/SystemPuzzles", 0755);
        PuzzlesShutdown();
        SaveGameUndoClear();
    }
    void TearDown() override
    {
        PuzzlesShutdown();
        SaveGameUndoClear();
        folder.reset();
        GameTest::TearDown();
    }

    std::string OwnFolder() const { return UserFolder() + "/MyPuzzles"; }
    std::string TestFolder() const { return UserFolder() + "/MyPuzzlesTesting"; }
    std::string SystemFolder() const { return Home() + "/Data/SystemPuzzles"; }

    void WriteOwn(const std::string &name, const std::string &text)
    {
        PrefFolderGetSubFolder("MyPuzzles", true);
        testkit::WriteFile(OwnFolder() + "/" + name + ".qpz", text);
    }
    void WriteSystem(const std::string &name, const std::string &text)
    {
        testkit::WriteFile(SystemFolder() + "/" + name + ".qpz", text);
    }

    std::optional<testkit::WorkingFolder> folder;
};

} // namespace persisttest
