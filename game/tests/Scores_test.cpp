// Local high scores: a finished game's entry and the order of the table (score, then
// name), the full table's boundary, the last-score checks, table ids, and a 20-character
// name kept whole and never run into the next field.
#include <cstring>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngMemory.h"
#include "OnlineScores.h"
#include "PersistTestkit.h"
#include "Scores.h"
#include "User.h"

using persisttest::PersistTest;

namespace
{

class ScoresTest : public PersistTest
{
protected:
    void SetUp() override
    {
        PersistTest::SetUp();
        // Creating a player sets the working options to their defaults.
        ASSERT_TRUE(user.CreateNewUser("ANNA", "NZ", 0));
        user.GetInfo()->userId = 321;
        GameState.userOptions.autoSubmitAsked = 1;
        GameSetUser(&user);
    }
    void TearDown() override
    {
        GameSetUser(nullptr);
        PersistTest::TearDown();
    }
    void SetPlayer(const char *name)
    {
        EngSafeStrcpy(user.GetInfo()->name, name, sizeof(user.GetInfo()->name));
    }
    // The game over of a game of the current type and difficulty with `score`.
    void GameOver(const char *player, int score, int level = 4)
    {
        SetPlayer(player);
        GameState.score = score;
        GameState.level = level;
        ScoresCheckGameOverScore();
    }
    _GameScores &Table(int gameType, int difficulty)
    {
        return GameState.userOptions.gameScores[gameType][difficulty];
    }
    std::vector<std::string> Names(const _GameScores &table)
    {
        std::vector<std::string> names;
        for (int i = 0; i < table.numRows; i++)
        {
            char name[SCORES_NAME_SIZE + 1];
            ScoresGetRowName(&table.rows[i], name);
            names.push_back(std::string(name) + ":" + std::to_string(table.rows[i].score));
        }
        return names;
    }

    UserClass user{nullptr, nullptr, 0};
};

TEST_F(ScoresTest, GamesEnterInScoreOrderAndTiesGoByName)
{
    _UserOptions &options = GameState.userOptions;
    options.gameType = GAME_TYPE_STRATEGIC;
    options.difficulty[GAME_TYPE_STRATEGIC] = 5;
    options.strategicStartSize = 3;
    options.speed[GAME_TYPE_STRATEGIC] = 4;
    const struct
    {
        const char *player;
        int score;
        std::vector<std::string> table;
        int lastIndex;
    } steps[] = {
        {"BOB", 500, {"BOB:500"}, 0},
        {"ANNA", 500, {"ANNA:500", "BOB:500"}, 0},
        {"bob", 500, {"ANNA:500", "BOB:500", "bob:500"}, 2},
        {"ZED", 900, {"ZED:900", "ANNA:500", "BOB:500", "bob:500"}, 0},
        {"AL", 10, {"ZED:900", "ANNA:500", "BOB:500", "bob:500", "AL:10"}, 4},
    };
    for (const auto &step : steps)
    {
        SCOPED_TRACE(step.player);
        GameOver(step.player, step.score, 12);
        _GameScores &table = Table(GAME_TYPE_STRATEGIC, 5);
        EXPECT_EQ(Names(table), step.table);
        int index = -2;
        const _HighScore *last = ScoresGetLastScoreForCurrentGameTypeAndDifficulty(&index);
        ASSERT_NE(last, nullptr);
        EXPECT_EQ(index, step.lastIndex);
        EXPECT_EQ(last->score, (uint32_t)step.score);
        for (int i = 0; i < table.numRows; i++)
            EXPECT_EQ(table.rows[i].justAdded, i == step.lastIndex ? 1 : 0);
    }
    const _HighScore &row = Table(GAME_TYPE_STRATEGIC, 5).rows[4];
    EXPECT_EQ(row.gameType, GAME_TYPE_STRATEGIC);
    EXPECT_EQ(row.difficulty, 5);
    EXPECT_STREQ(row.country, "NZ");
    EXPECT_EQ(row.userId, 321);
    EXPECT_EQ(row.startLevel, 3);
    EXPECT_EQ(row.levels, 12);
    EXPECT_EQ(row.speed, 4);
    EXPECT_GE(row.date.year, 2024u);
    EXPECT_EQ(Table(GAME_TYPE_STRATEGIC, 5).sendState, SCORES_SEND_QUALIFIES);
}

TEST_F(ScoresTest, AFullTableTakesOnlyAHigherScoreThanItsLastRow)
{
    _UserOptions &options = GameState.userOptions;
    options.gameType = GAME_TYPE_ARCADE;
    options.difficulty[GAME_TYPE_ARCADE] = 0;
    _GameScores &table = Table(GAME_TYPE_ARCADE, 0);
    for (int i = 0; i < 99; i++)
        GameOver("FILL", 10000 - i * 10);
    EXPECT_EQ(table.numRows, 99);
    GameOver("HUNDRED", 100);
    ASSERT_EQ(table.numRows, 100);
    EXPECT_EQ(table.rows[99].score, 100u);

    GameOver("EQUAL", 100);
    EXPECT_EQ(table.numRows, 100);
    EXPECT_EQ(Names(table)[99], "HUNDRED:100");
    EXPECT_EQ(ScoresGetLastScoreForCurrentGameTypeAndDifficulty(nullptr), nullptr);

    GameOver("HIGHER", 101);
    EXPECT_EQ(Names(table)[99], "HIGHER:101");
    int index;
    ASSERT_NE(ScoresGetLastScoreForCurrentGameTypeAndDifficulty(&index), nullptr);
    EXPECT_EQ(index, 99);

    // An ARCADE row counts levels in groups of three.
    GameOver("LEVELS", 20000, 7);
    EXPECT_EQ(table.rows[0].levels, 2);
}

TEST_F(ScoresTest, ZeroScoresAndOwnPuzzlesEnterNothing)
{
    _UserOptions &options = GameState.userOptions;
    options.gameType = GAME_TYPE_PUZZLE;
    options.difficulty[GAME_TYPE_PUZZLE] = 2;
    GameOver("ANNA", 300);
    ASSERT_TRUE(Table(GAME_TYPE_PUZZLE, 2).lastScoreExists);
    // A score of 0 still forgets every last score.
    GameOver("ANNA", 0);
    EXPECT_EQ(Table(GAME_TYPE_PUZZLE, 2).numRows, 1);
    EXPECT_FALSE(Table(GAME_TYPE_PUZZLE, 2).lastScoreExists);

    GameOver("ANNA", 300);
    options.gameType = GAME_TYPE_MY_PUZZLES;
    GameOver("ANNA", 999);
    EXPECT_TRUE(Table(GAME_TYPE_PUZZLE, 2).lastScoreExists);
    EXPECT_EQ(Table(GAME_TYPE_MY_PUZZLES, 0).numRows, 0);
    EXPECT_EQ(ScoresGetGameScoresForCurrentGameTypeAndDifficulty(1), nullptr);
    EXPECT_TRUE(LogHas("No scores for game type 3"));

    options.gameType = GAME_TYPE_PUZZLE;
    options.difficulty[GAME_TYPE_PUZZLE] = 3;
    EXPECT_EQ(ScoresGetGameScoresForCurrentGameTypeAndDifficulty(1), nullptr);
    EXPECT_TRUE(LogHas("Bad diff value 3 (3)"));
}

TEST_F(ScoresTest, ADamagedLastScoreIsReportedAndForgotten)
{
    _UserOptions &options = GameState.userOptions;
    options.gameType = GAME_TYPE_ARCADE;
    options.difficulty[GAME_TYPE_ARCADE] = 1;
    const struct
    {
        const char *message;
        void (*damage)(_GameScores &table);
    } cases[] = {
        {"Game type problem [1 != 0]", [](_GameScores &t) { t.lastScore.gameType = 1; }},
        {"Difficulty problem [2 != 1]", [](_GameScores &t) { t.lastScore.difficulty = 2; }},
        {"last_score_entry_num problem (1,1)", [](_GameScores &t) { t.lastScoreIndex = 1; }},
        {"last_score_entry_num problem (-1,1)", [](_GameScores &t) { t.lastScoreIndex = -1; }},
        {"contents problem", [](_GameScores &t) { t.rows[0].score++; }},
    };
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.message);
        memset(&Table(GAME_TYPE_ARCADE, 1), 0, sizeof(_GameScores));
        GameOver("ANNA", 50);
        c.damage(Table(GAME_TYPE_ARCADE, 1));
        EXPECT_EQ(ScoresGetLastScoreForCurrentGameTypeAndDifficulty(nullptr), nullptr);
        EXPECT_TRUE(LogHas(c.message));
        EXPECT_FALSE(Table(GAME_TYPE_ARCADE, 1).lastScoreExists);
        EXPECT_FALSE(ScoresAddLastScore());
    }
}

TEST_F(ScoresTest, TableIds)
{
    const int cases[][3] = {{0, 0, 5100}, {1, 5, 6600}, {2, 2, 7300}, {0, 3, 5400}, {1, 0, 6100}};
    for (const auto &c : cases)
        EXPECT_EQ(ScoresGetTableId(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
}

TEST_F(ScoresTest, ATwentyCharacterNameIsKeptWholeAndBounded)
{
    _UserOptions &options = GameState.userOptions;
    options.gameType = GAME_TYPE_ARCADE;
    options.difficulty[GAME_TYPE_ARCADE] = 0;
    options.arcadeStartLevel = 2;
    const std::string twenty = "ABCDEFGHIJKLMNOPQRST";
    GameOver(twenty.c_str(), 700, 9);
    const _HighScore *last = ScoresGetLastScoreForCurrentGameTypeAndDifficulty(nullptr);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(memcmp(last->name, twenty.data(), 20), 0);
    char name[SCORES_NAME_SIZE + 1];
    ScoresGetRowName(last, name);
    EXPECT_EQ(std::string(name), twenty);

    _ScoresScore online;
    ScoresFillOnlineScore(last, &online);
    EXPECT_STREQ(online.name, twenty.c_str()) << "the country must not run into the name";
    EXPECT_STREQ(online.cc, "NZ");
    EXPECT_EQ(online.v1, 700);
    EXPECT_EQ(online.v4, 3u * 65536 + 4);
    EXPECT_EQ(online.uid, 321);
    EXPECT_EQ(online.plat, 'W');

    // Without an online service nothing is stored; the send state keeps the answer.
    EXPECT_FALSE(ScoresAddLastScore());
    EXPECT_EQ(Table(GAME_TYPE_ARCADE, 0).sendState, (uint8_t)EngFourCC("NSTP"));
}

TEST_F(ScoresTest, TheFirstGameOverAsksAboutAutomaticSubmission)
{
    _UserOptions &options = GameState.userOptions;
    options.gameType = GAME_TYPE_ARCADE;
    options.autoSubmitAsked = 0;
    options.difficulty[GAME_TYPE_ARCADE] = 0;
    Table(GAME_TYPE_ARCADE, 0).onlineMinimumScore = 5000;
    GameOver("ANNA", 100);
    EXPECT_EQ(options.autoSubmitAsked, 1);
    EXPECT_EQ(Table(GAME_TYPE_ARCADE, 0).sendState, SCORES_SEND_TOO_LOW);
}

} // namespace
