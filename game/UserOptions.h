// The player's options record (`_UserOptions`), stored whole inside the player file, and
// the local high-score records it holds. GameState keeps a working copy of the options
// that play, sound, effects, scores and saved games read and write; it goes back into the
// player record before every save. Options described only as options belong to the menu
// screens, which read and write them; this record fixes their place and default.
#pragma once
#include <cstddef>
#include <cstdint>

#include "EngMisc.h"

enum
{
    SCORES_MAX_ROWS = 100,
    SCORES_NAME_SIZE = 20,    // a name of 20 characters fills it without a terminator
    SCORES_COUNTRY_SIZE = 4,  // 2 letters (3 characters copied) and the terminator
    SCORES_GAME_TYPES = 4,    // room in the options; ARCADE, STRATEGIC and PUZZLE are used
    SCORES_DIFFICULTIES = 10, // room per game type; 4, 6 and 3 are used
    USER_OPTIONS_VERSION = 2200,
};

// One row of a local high-score table.
struct _HighScore
{
    int8_t gameType;   // _GameType
    int8_t difficulty;
    char name[SCORES_NAME_SIZE];
    char country[SCORES_COUNTRY_SIZE];
    uint16_t userId;   // 1-30000
    _EngMiscDate date; // of the game
    int8_t startLevel; // ARCADE start level, STRATEGIC start size, PUZZLE level of the difficulty
    int8_t levels;     // ARCADE the level reached / 3, other types the level reached
    int8_t speed;      // speed option of the game type
    uint8_t pad39;
    uint32_t score;
    uint8_t justAdded; // 1 only on the row of the last game
    uint8_t pad45[3];
};
static_assert(sizeof(_EngMiscDate) == 8);
static_assert(sizeof(_HighScore) == 48);
static_assert(offsetof(_HighScore, difficulty) == 1);
static_assert(offsetof(_HighScore, name) == 2);
static_assert(offsetof(_HighScore, country) == 22);
static_assert(offsetof(_HighScore, userId) == 26);
static_assert(offsetof(_HighScore, date) == 28);
static_assert(offsetof(_HighScore, startLevel) == 36);
static_assert(offsetof(_HighScore, levels) == 37);
static_assert(offsetof(_HighScore, speed) == 38);
static_assert(offsetof(_HighScore, pad39) == 39);
static_assert(offsetof(_HighScore, score) == 40);
static_assert(offsetof(_HighScore, justAdded) == 44);
static_assert(offsetof(_HighScore, pad45) == 45);

// Online send state of a table's last score.
enum
{
    SCORES_SEND_QUALIFIES = 2,   // the last score makes the online list
    SCORES_SEND_TOO_LOW = 3,     // it does not
};

// The local table of one game type and difficulty.
struct _GameScores
{
    int32_t numRows;               // 0-100
    _HighScore rows[SCORES_MAX_ROWS]; // score descending, then name
    uint8_t lastScoreExists;
    uint8_t pad4805[3];
    _HighScore lastScore;          // copy of the last game's row
    int32_t lastScoreIndex;        // its row
    uint8_t sendState;             // SCORES_SEND_*, else the result code of the last submission
    uint8_t pad4861[3];
    int32_t onlineMinimumScore;    // written by the online service; 0 = not yet known
};
static_assert(sizeof(_GameScores) == 4868);
static_assert(offsetof(_GameScores, rows) == 4);
static_assert(offsetof(_GameScores, lastScoreExists) == 4804);
static_assert(offsetof(_GameScores, lastScore) == 4808);
static_assert(offsetof(_GameScores, lastScoreIndex) == 4856);
static_assert(offsetof(_GameScores, sendState) == 4860);
static_assert(offsetof(_GameScores, onlineMinimumScore) == 4864);

struct _UserOptions
{
    int32_t version;              // 2200
    int8_t gameType;              // current game type
    int8_t reserved5;
    int8_t difficulty[3];         // per game type ARCADE, STRATEGIC, PUZZLE
    int8_t reserved9;
    int8_t arcadeStartLevel;      // in groups of three levels
    int8_t puzzleLevel[3];        // per PUZZLE difficulty
    int8_t speed[4];              // per game type
    int8_t reserved18;
    uint8_t reserved19[14];
    uint8_t savedGame[4];         // per game type: a saved game is waiting to be resumed
    int8_t gameEffects;           // 0-3
    int8_t menuEffects;           // 0-3
    int8_t reserved39;
    int8_t mouseSensitivity;      // 0-9, 4 = 1.0
    uint8_t reserved41[3];
    int8_t gameSoundsVolume;      // 0-10
    int8_t gameMusicVolume;       // 0-10
    int8_t menuMusicVolume;       // 0-10
    int8_t reserved47;
    uint32_t musicPosition;       // remembered music position
    int8_t gameOverMusicVolume;   // 0-10
    uint8_t reserved53[3];
    _GameScores gameScores[SCORES_GAME_TYPES][SCORES_DIFFICULTIES]; // table (type x 10 + difficulty)
    uint8_t autoSubmitAsked;
    int8_t autoSubmitOn;          // 1 on, 0 off, -1 not decided
    int8_t menuOption194778;      // menu screens' option, 1
    int8_t menuOption194779;      // menu screens' option, 1
    char menuText194780[50];      // menu screens' text, empty
    char menuText194830[50];      // menu screens' text, empty
    uint8_t alwaysLoad;           // always load this player
    uint8_t reserved194881;
    int8_t processingPower;       // 0 FULL, 1 MEDIUM, 2 LOW, 3 LOWEST (kept, never shown)
    int8_t onlinePositionMode;    // 0 shown while playing, 1 position only, 2 not shown
    uint16_t menuValue194884;
    uint8_t reserved194886[4];
    int8_t menuOption194890;
    uint8_t reserved194891[55];
    int8_t strategicStartSize;    // the STRATEGIC start level
    uint8_t reserved194947[65];
};
static_assert(sizeof(_UserOptions) == 195012);
static_assert(offsetof(_UserOptions, gameType) == 4);
static_assert(offsetof(_UserOptions, difficulty) == 6);
static_assert(offsetof(_UserOptions, arcadeStartLevel) == 10);
static_assert(offsetof(_UserOptions, puzzleLevel) == 11);
static_assert(offsetof(_UserOptions, speed) == 14);
static_assert(offsetof(_UserOptions, reserved18) == 18);
static_assert(offsetof(_UserOptions, savedGame) == 33);
static_assert(offsetof(_UserOptions, gameEffects) == 37);
static_assert(offsetof(_UserOptions, menuEffects) == 38);
static_assert(offsetof(_UserOptions, reserved39) == 39);
static_assert(offsetof(_UserOptions, mouseSensitivity) == 40);
static_assert(offsetof(_UserOptions, gameSoundsVolume) == 44);
static_assert(offsetof(_UserOptions, gameMusicVolume) == 45);
static_assert(offsetof(_UserOptions, menuMusicVolume) == 46);
static_assert(offsetof(_UserOptions, musicPosition) == 48);
static_assert(offsetof(_UserOptions, gameOverMusicVolume) == 52);
static_assert(offsetof(_UserOptions, gameScores) == 56);
static_assert(offsetof(_UserOptions, autoSubmitAsked) == 194776);
static_assert(offsetof(_UserOptions, autoSubmitOn) == 194777);
static_assert(offsetof(_UserOptions, menuOption194778) == 194778);
static_assert(offsetof(_UserOptions, menuOption194779) == 194779);
static_assert(offsetof(_UserOptions, menuText194780) == 194780);
static_assert(offsetof(_UserOptions, menuText194830) == 194830);
static_assert(offsetof(_UserOptions, alwaysLoad) == 194880);
static_assert(offsetof(_UserOptions, processingPower) == 194882);
static_assert(offsetof(_UserOptions, onlinePositionMode) == 194883);
static_assert(offsetof(_UserOptions, menuValue194884) == 194884);
static_assert(offsetof(_UserOptions, menuOption194890) == 194890);
static_assert(offsetof(_UserOptions, strategicStartSize) == 194946);

// Clears the whole record and sets every default.
void UserInfoSetDefaultOptions(_UserOptions *options);
