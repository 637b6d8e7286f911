// What the updater's portable part asks of its platform back end (UpdaterDownload_PC.cpp).
#pragma once
#include <cstddef>
#include <cstdint>

class EngFile;

enum _UpdaterTransferResult
{
    UPDATER_TRANSFER_DONE = 0,      // status 200 and every byte written to the file
    UPDATER_TRANSFER_CANCELLED = 1, // the progress callback asked to stop
    UPDATER_TRANSFER_FAILED = 2,    // reported
};

// Called as the download goes (total 0 while unknown); nonzero stops it.
typedef int (*UpdaterProgressFn)(void *user, uint64_t totalBytes, uint64_t receivedBytes);

// Fetches `link` into the open file, checking the reply's status and every write.
_UpdaterTransferResult UpdaterTransferToFile_PC(const char *link, EngFile *file, UpdaterProgressFn progress,
                                                void *user);
// The folder downloads are placed in: the XDG desktop folder when it exists, else
// ~/Desktop when that exists, else the home folder. False (reported) when none is known.
bool UpdaterGetDesktopFolder_PC(char *out, size_t size);
// Whether anything (a file, a folder, a link, even a dangling one) is at `path`.
bool UpdaterPathTaken_PC(const char *path);
// Moves `from` to `to`, never replacing anything at `to`: a rename where both are on one
// file system, else a copy into a newly made file. False (reported; nothing left at `to`)
// on failure; `from` is removed only on success.
bool UpdaterMoveFileNoReplace_PC(const char *from, const char *to);
