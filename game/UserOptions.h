// Placeholder for the player's options record (`_UserOptions`), stored whole inside the
// player file. The player-record module owns it and replaces this header with the full
// record; this one names only the options the game rules read, at their stored offsets.
#pragma once
#include <cstddef>
#include <cstdint>

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
    uint8_t reserved18[15];
    uint8_t savedGame[4];         // per game type: a saved game exists
    int8_t gameEffects;           // 0-3
    int8_t menuEffects;           // 0-3
    int8_t reserved39;
    int8_t mouseSensitivity;      // 0-9, 4 = 1.0
    uint8_t reserved41[3];
    int8_t gameSoundsVolume;      // 0-10
    int8_t gameMusicVolume;       // 0-10
    int8_t menuMusicVolume;       // 0-10
    int8_t reserved47;
    uint32_t musicPosition;
    int8_t gameOverMusicVolume;   // 0-10
    uint8_t reserved53[3];
    uint8_t gameScores[194720];   // the local score tables
    uint8_t autoSubmitAsked;
    int8_t autoSubmitOn;
    uint8_t reserved194778[168];
    int8_t strategicStartSize;    // the STRATEGIC start level
    uint8_t reserved194947[65];
};
static_assert(sizeof(_UserOptions) == 195012);
static_assert(offsetof(_UserOptions, difficulty) == 6);
static_assert(offsetof(_UserOptions, arcadeStartLevel) == 10);
static_assert(offsetof(_UserOptions, puzzleLevel) == 11);
static_assert(offsetof(_UserOptions, gameEffects) == 37);
static_assert(offsetof(_UserOptions, mouseSensitivity) == 40);
static_assert(offsetof(_UserOptions, gameSoundsVolume) == 44);
static_assert(offsetof(_UserOptions, musicPosition) == 48);
static_assert(offsetof(_UserOptions, gameScores) == 56);
static_assert(offsetof(_UserOptions, autoSubmitAsked) == 194776);
static_assert(offsetof(_UserOptions, strategicStartSize) == 194946);
