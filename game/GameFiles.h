// Whole-file writes of the game's records (player files, saved games, puzzles, test
// files): the new contents go to a temporary file beside the target, which then takes
// the target's place in one step, so a crash or a full disk never loses the old copy.
#pragma once
#include <cstdint>

enum _GameFileResult
{
    GAME_FILE_OK = 0,
    GAME_FILE_OPEN_FAILED = 1,  // the temporary file could not be created
    GAME_FILE_WRITE_FAILED = 2, // writing or replacing failed; the old file is untouched
};

// Writes `size` bytes of `data` to `path` through a temporary file; with `encrypt` the
// bytes are encrypted (a 16-byte counter block, then the data). Failures are logged by the
// file layer; the caller adds its own message.
_GameFileResult GameFileWriteWhole(const char *path, const void *data, uint32_t size, bool encrypt);
// Removes the temporary file a write to `path` cut short (power loss, a kill) may have left.
void GameFileRemoveLeftover(const char *path);

// The path of an existing file named like `path` when letter case is ignored (as the
// player's and puzzle names are on a case-blind file system); `path` itself when there is
// none. False when it does not fit `out`.
bool GameFileResolveCase(const char *path, char *out, int size);
