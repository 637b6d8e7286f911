// Whole-file writes through a temporary file and case-blind file lookup, over the
// engine's file layer and encryption.
#include "GameFiles.h"

#include <cstdio>
#include <cstring>

#include "EngEncryption.h"
#include "EngFile.h"

// The temporary file beside `path`; false when there is no path or the name does not fit.
static bool GameFileTemporaryName(const char *path, char (&temporary)[ENG_FILE_PATH_SIZE])
{
    int length = snprintf(temporary, sizeof(temporary), "%s.tmp", path ? path : "");
    return path && path[0] && length > 0 && length < (int)sizeof(temporary);
}

void GameFileRemoveLeftover(const char *path)
{
    char temporary[ENG_FILE_PATH_SIZE];
    if (GameFileTemporaryName(path, temporary) && EngFileExists(temporary, false))
        EngFileDelete(temporary, true);
}

_GameFileResult GameFileWriteWhole(const char *path, const void *data, uint32_t size, bool encrypt)
{
    char temporary[ENG_FILE_PATH_SIZE];
    if (!data || !GameFileTemporaryName(path, temporary))
        return GAME_FILE_OPEN_FAILED;
    if (encrypt)
    {
        if (!EngEncryptionEncryptAndWriteToFile(temporary, data, size))
        {
            EngFileDelete(temporary, false);
            return GAME_FILE_WRITE_FAILED;
        }
    }
    else
    {
        EngFile file;
        if (!file.CreateForWriting(temporary, false))
            return GAME_FILE_OPEN_FAILED;
        bool written = file.Write(data, size);
        written = file.Close() && written;
        if (!written)
        {
            EngFileDelete(temporary, false);
            return GAME_FILE_WRITE_FAILED;
        }
    }
    if (!EngFileReplaceFile(temporary, path))
    {
        EngFileDelete(temporary, false);
        return GAME_FILE_WRITE_FAILED;
    }
    return GAME_FILE_OK;
}

bool GameFileResolveCase(const char *path, char *out, int size)
{
    if (!path || !out || size < 1)
        return false;
    if (EngFileFindIgnoringCase(path, out, size))
        return true;
    if ((int)strlen(path) >= size)
    {
        out[0] = 0;
        return false;
    }
    strcpy(out, path);
    return true;
}
