// The updater's platform side: the installer transfer over the internet stand-in, the
// desktop folder, and a move onto the desktop that never replaces a file.
#include "UpdaterInternal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "PlatInet.h"
#include "PlatShell.h"

namespace
{

const uint32_t kConnectTimeoutSeconds = 10;

struct TransferContext
{
    EngFile *file;
    uint64_t written;
    uint8_t writeFailed;
    UpdaterProgressFn progress;
    void *user;
};

size_t WriteCB(void *user, const char *data, size_t size)
{
    TransferContext *context = (TransferContext *)user;
    if (size == 0)
        return 0;
    uint32_t written = context->file->FWrite(data, (uint32_t)size);
    if (written != size)
    {
        context->writeFailed = 1;
        return 0;
    }
    context->written += written;
    return written;
}

int ProgressCB(void *user, uint64_t totalBytes, uint64_t receivedBytes)
{
    TransferContext *context = (TransferContext *)user;
    return context->progress ? context->progress(context->user, totalBytes, receivedBytes) : 0;
}

bool IsDirectory(const char *path)
{
    struct stat info;
    return path && *path && stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

_UpdaterTransferResult UpdaterTransferToFile_PC(const char *link, EngFile *file, UpdaterProgressFn progress,
                                                void *user)
{
    if (!link || !*link || !file || !file->IsOpen())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return UPDATER_TRANSFER_FAILED;
    }
    TransferContext context = {file, 0, 0, progress, user};
    PlatInetTransferParms parms = {};
    parms.url = link;
    parms.connectTimeoutSeconds = kConnectTimeoutSeconds;
    parms.write = WriteCB;
    parms.writeUser = &context;
    parms.progress = ProgressCB;
    parms.progressUser = &context;
    parms.sameProtocolOnly = 1;
    int32_t status = 0;
    PlatInetTransferResult result = PlatInetTransfer(&parms, &status);
    if (result == PLAT_INET_TRANSFER_ABORTED)
        return UPDATER_TRANSFER_CANCELLED;
    if (context.writeFailed)
    {
        EngFileOutputLastError(ENG_FUNC, "Writing the download", false, 0, false);
        DebugError(ENG_FUNC, "Could not write the download after %llu bytes", (unsigned long long)context.written);
        return UPDATER_TRANSFER_FAILED;
    }
    if (result != PLAT_INET_TRANSFER_OK)
    {
        DebugError(ENG_FUNC, "Problem (from: %d  error: %d) %s %s", 10, (int)result,
                   PlatInetGetTransferResultText(result), PlatInetGetErrorText());
        return UPDATER_TRANSFER_FAILED;
    }
    if (status != 200)
    {
        DebugError(ENG_FUNC, "The server answered HTTP %d", (int)status);
        return UPDATER_TRANSFER_FAILED;
    }
    return UPDATER_TRANSFER_DONE;
}

bool UpdaterGetDesktopFolder_PC(char *out, size_t size)
{
    if (!out || size < 2)
        return false;
    out[0] = 0;
    char home[1024];
    if (!PlatShellGetHomeFolder(home, sizeof(home)))
    {
        DebugError(ENG_FUNC, "No home folder: %s", PlatShellGetErrorText());
        return false;
    }
    char folder[1100];
    if (PlatShellGetDesktopFolder(folder, sizeof(folder)) && IsDirectory(folder))
        return EngSafeStrcpy(out, folder, size) && strlen(folder) < size;
    snprintf(folder, sizeof(folder), "%s/Desktop", home);
    if (IsDirectory(folder))
        return EngSafeStrcpy(out, folder, size) && strlen(folder) < size;
    if (!IsDirectory(home))
    {
        DebugError(ENG_FUNC, "No desktop or home folder <%s>", home);
        return false;
    }
    return EngSafeStrcpy(out, home, size) && strlen(home) < size;
}

bool UpdaterPathTaken_PC(const char *path)
{
    struct stat info;
    return path && lstat(path, &info) == 0;
}

bool UpdaterMoveFileNoReplace_PC(const char *from, const char *to)
{
    if (!from || !to || UpdaterPathTaken_PC(to))
    {
        DebugError(ENG_FUNC, "Cannot move <%s> to <%s>", from ? from : "", to ? to : "");
        return false;
    }
    // A hard link never replaces what may have appeared at `to` meanwhile.
    if (link(from, to) == 0)
    {
        unlink(from);
        return true;
    }
    if (errno != EXDEV && errno != EPERM && errno != ENOTSUP)
    {
        EngFileOutputLastError(ENG_FUNC, "link", false, 0, false);
        return false;
    }
    // Another file system (or one without links): copy into a file made afresh.
    FILE *source = fopen(from, "rb");
    if (!source)
    {
        EngFileOutputLastError(ENG_FUNC, from, false, 0, false);
        return false;
    }
    FILE *target = fopen(to, "wbx");
    if (!target)
    {
        EngFileOutputLastError(ENG_FUNC, to, false, 0, false);
        fclose(source);
        return false;
    }
    char block[65536];
    bool ok = true;
    size_t count;
    while (ok && (count = fread(block, 1, sizeof(block), source)) > 0)
        ok = fwrite(block, 1, count, target) == count;
    ok = ok && !ferror(source);
    fclose(source);
    ok = (fclose(target) == 0) && ok;
    if (!ok)
    {
        DebugError(ENG_FUNC, "Could not copy <%s> to <%s>", from, to);
        unlink(to);
        return false;
    }
    unlink(from);
    return true;
}
