// Folder listings over opendir/readdir, read whole and sorted when a listing starts.
#include "EngDirList.h"

#include <dirent.h>

#include <algorithm>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"

enum
{
    // Room beyond the folder path for a name (the system's longest is 255 bytes).
    DIRLIST_NAME_ROOM = 512,
};

DirList::DirList()
    : directoryPath(nullptr), nameBuffer(nullptr), spareBuffer(nullptr), filter(nullptr), userData(nullptr),
      state(STATE_CLOSED), maxPathLength(0), acceptedCount(0), nextEntry(0), hasEntries(false), includeParent(0)
{
}

DirList::~DirList()
{
    FreeBuffers();
}

bool DirList::AllocBuffers(int pathLength)
{
    FreeBuffers();
    if (pathLength <= 0)
    {
        DebugError(ENG_FUNC, "Invalid path len");
        return false;
    }
    size_t size = (size_t)pathLength + DIRLIST_NAME_ROOM + 1;
    directoryPath = (char *)EngMalloc(size, "DirList::AllocBuffers", true);
    nameBuffer = (char *)EngMalloc(size, "DirList::AllocBuffers", true);
    spareBuffer = (char *)EngMalloc(size, "DirList::AllocBuffers", true);
    if (!directoryPath || !nameBuffer || !spareBuffer)
    {
        FreeBuffers();
        return false;
    }
    maxPathLength = pathLength + DIRLIST_NAME_ROOM;
    return true;
}

void DirList::FreeBuffers()
{
    if (directoryPath)
        EngFree(directoryPath, false, nullptr);
    if (nameBuffer)
        EngFree(nameBuffer, false, nullptr);
    if (spareBuffer)
        EngFree(spareBuffer, false, nullptr);
    directoryPath = nullptr;
    nameBuffer = nullptr;
    spareBuffer = nullptr;
    maxPathLength = 0;
}

bool DirList::OpenDir(const char *directory, DirListFilterFn filterFn, void *user, bool report)
{
    CloseDir();
    if (!directory || !directory[0])
    {
        DebugError(ENG_FUNC, "Invalid Path Passed In");
        return false;
    }
    char systemPath[ENG_FILE_PATH_SIZE];
    if (!EngFileNormalisePath(directory, systemPath, sizeof(systemPath)))
    {
        DebugError(ENG_FUNC, "Invalid Path Passed In");
        return false;
    }
    if (!AllocBuffers((int)strlen(systemPath)))
        return false;
    if (!EngFileDirectoryExists(systemPath))
    {
        if (report)
            DebugError(ENG_FUNC, "Directory does not exist [%s]", directory);
        FreeBuffers();
        return false;
    }
    strcpy(directoryPath, systemPath);
    filter = filterFn;
    userData = user;
    acceptedCount = 0;
    hasEntries = false;
    state = STATE_OPEN;
    return true;
}

bool DirList::PrepareToGetFilenamesInDir()
{
    if (state == STATE_CLOSED || !directoryPath)
    {
        DebugError(ENG_FUNC, "Directory not opened - call DirList::OpenDir() first.");
        return false;
    }
    if (state == STATE_LISTING)
    {
        DebugError(ENG_FUNC, "Error - get filenames in progress");
        return false;
    }
    acceptedCount = 0;
    entries.clear();
    nextEntry = 0;
    hasEntries = false;
    // A folder that cannot be read gives an empty listing.
    if (DIR *dir = opendir(directoryPath))
    {
        while (struct dirent *entry = readdir(dir))
        {
            const char *name = entry->d_name;
            if (strcmp(name, ".") == 0 || (strcmp(name, "..") == 0 && !includeParent))
                continue;
            entries.emplace_back(name);
        }
        closedir(dir);
        std::sort(entries.begin(), entries.end(), [](const std::string &a, const std::string &b) {
            return EngFileCompareNames(a.c_str(), b.c_str()) < 0;
        });
        hasEntries = !entries.empty();
    }
    state = STATE_LISTING;
    return true;
}

const char *DirList::GetNextFilenameInDir()
{
    if (state != STATE_LISTING)
    {
        DebugError(ENG_FUNC, "Call DirList::PrepareToGetFilenamesInDir() first.");
        return "";
    }
    nameBuffer[0] = 0;
    while (hasEntries && nextEntry < entries.size())
    {
        const std::string &entry = entries[nextEntry++];
        if (nextEntry >= entries.size())
            hasEntries = false;
        if (filter && !filter(acceptedCount, entry.c_str(), directoryPath, userData))
            continue;
        EngSafeStrcpy(nameBuffer, entry.c_str(), (size_t)maxPathLength + 1);
        acceptedCount++;
        return nameBuffer;
    }
    hasEntries = false;
    return nameBuffer;
}

void DirList::CleanupAfterGettingFilenamesInDir()
{
    if (state != STATE_LISTING)
    {
        DebugError(ENG_FUNC, "Not getting files in dir");
        return;
    }
    entries.clear();
    hasEntries = false;
    state = STATE_OPEN;
}

void DirList::CloseDir()
{
    FreeBuffers();
    filter = nullptr;
    userData = nullptr;
    state = STATE_CLOSED;
    acceptedCount = 0;
    entries.clear();
    nextEntry = 0;
    hasEntries = false;
}
