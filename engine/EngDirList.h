// DirList: the names in one folder, one at a time, optionally through a filter. Names
// come in name order (letter case ignored, as EngFileCompareNames), whatever order the
// file system keeps them in; the folder itself (".") and its parent ("..") never come.
//
// Calling order: OpenDir, PrepareToGetFilenamesInDir, GetNextFilenameInDir until it
// returns "", CleanupAfterGettingFilenamesInDir, CloseDir.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Answers whether `name` (in `directory`) is taken; `acceptedSoFar` counts the names
// taken before it in this listing.
typedef bool (*DirListFilterFn)(int acceptedSoFar, const char *name, const char *directory, void *userData);

class DirList
{
public:
    DirList();
    ~DirList();
    DirList(const DirList &) = delete;
    DirList &operator=(const DirList &) = delete;

    bool OpenDir(const char *directory, DirListFilterFn filter, void *userData, bool report);
    bool PrepareToGetFilenamesInDir();
    // The next name taken; "" at the end or out of order.
    const char *GetNextFilenameInDir();
    void CleanupAfterGettingFilenamesInDir();
    void CloseDir();
    void FreeBuffers();

private:
    enum
    {
        STATE_CLOSED = 0,
        STATE_OPEN = 1,
        STATE_LISTING = 2,
    };
    bool AllocBuffers(int pathLength);

    char *directoryPath;
    char *nameBuffer;
    char *spareBuffer;
    DirListFilterFn filter;
    void *userData;
    int state;
    int maxPathLength;
    int acceptedCount;
    // The listing read at preparation, sorted; `hasEntries` plays the part of an open
    // search handle.
    std::vector<std::string> entries;
    size_t nextEntry;
    bool hasEntries;
    uint8_t includeParent;
};
