// Local high scores: one table per game type (ARCADE, STRATEGIC, PUZZLE) and difficulty
// in the player's options; at game over the finished game's row is entered and sorted,
// and becomes the table's last score. Also the game's thin glue to the online score
// service (ScoresOnline.cpp): table ids, sending the last score, the online list object.
#pragma once
#include <cstdint>

#include "UserOptions.h"

// The program id and game version the online service knows this game by.
enum
{
    SCORES_PROGRAM_ID = 50,
    SCORES_GAME_VERSION = 240,
};

// The online table of a game type and difficulty: (type x 10 + difficulty + 51) x 100.
int ScoresGetTableId(int gameType, int difficulty);

// The table of the current game type and difficulty (from the working options); NULL,
// logged with `log`, for MY PUZZLES or a difficulty the type does not have.
_GameScores *ScoresGetGameScoresForCurrentGameTypeAndDifficulty(char log);
// The last score of the current table when it is consistent with the table (a damaged
// one is logged and forgotten); `index` (may be NULL) gets its row, else -1.
_HighScore *ScoresGetLastScoreForCurrentGameTypeAndDifficulty(int *index);
// A row's name as text (a name of 20 characters fills the field without a terminator).
void ScoresGetRowName(const _HighScore *row, char out[SCORES_NAME_SIZE + 1]);
// Enters GameState.score into the current table at game over (ARCADE, STRATEGIC and
// PUZZLE), makes it the last score and asks about, or requests, the online submission.
void ScoresCheckGameOverScore();

// ---- Online glue ------------------------------------------------------------------------
// Whether the online layer has handed its service over; without it lists stay empty.
bool ScoresIsOnlineServiceAvailable();
// Sends the current table's last score; true when the service stored it.
char ScoresAddLastScore();
// A new online list object for a table and range, fetched now or when its cache is old.
bool ScoresSetupOnlineScores(int gameType, int difficulty, int range, char now);
void ScoresFreeOnlineScores();
char ScoresIsUpdating();
int ScoresGetNumOnlineScores();
struct _ScoresScore;
// The online row of a local one: score, level code, date, id, name, country, platform.
void ScoresFillOnlineScore(const _HighScore *row, _ScoresScore *score);
const _ScoresScore *ScoresGetOnlineScoresList(char log);
const _ScoresScore *ScoresGetOnlineScore(int index, char log);
// Deletes the cached online lists of a table, for the ranges 0-4.
void ScoresRemoveSavedFilesForAllRanges(int gameType, int difficulty);
