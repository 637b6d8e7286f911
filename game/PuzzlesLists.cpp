// The two puzzle lists: the system puzzles of "Data/SystemPuzzles" and the player's own
// of the per-user "MyPuzzles" folder, read from the file names and each file's keys,
// sorted, and the system puzzles indexed by difficulty. Sits on the current puzzle and
// its file format.
#include "Puzzles.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "EngDebug.h"
#include "EngDirList.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "EngPrefFolder.h"
#include "GameState.h"

static struct
{
    // [0] system puzzles, [1] own puzzles.
    _PuzzleListEntry lists[2][PUZZLE_MAX_LIST];
    int32_t listCounts[2];
    int32_t difficultyCounts[PUZZLE_NUM_DIFFICULTIES];
    int32_t difficultyIndex[PUZZLE_NUM_DIFFICULTIES][PUZZLE_MAX_LIST];
} s_lists;

void PuzzlesListsShutdown()
{
    memset(&s_lists, 0, sizeof(s_lists));
}

static int PuzzlesListSlot(int type)
{
    return type == GAME_TYPE_PUZZLE ? 0 : 1;
}

// Takes files ending in ".qpz" (letter case ignored).
static bool PuzzlesFileFilter(int acceptedSoFar, const char *name, const char *directory, void *userData)
{
    size_t length = strlen(name);
    return length > 4 && strcasecmp(name + length - 4, ".qpz") == 0;
}

static bool PuzzlesSystemOrder(const _PuzzleListEntry &a, const _PuzzleListEntry &b)
{
    if (a.difficulty != b.difficulty)
        return a.difficulty < b.difficulty;
    if (a.level != b.level)
        return a.level < b.level;
    return strcmp(a.name, b.name) < 0;
}

static bool PuzzlesNameOrder(const _PuzzleListEntry &a, const _PuzzleListEntry &b)
{
    return strcmp(a.name, b.name) < 0;
}

void PuzzlesLoadPuzzlesType(int type)
{
    if (type != GAME_TYPE_PUZZLE && type != GAME_TYPE_MY_PUZZLES)
    {
        DebugError(ENG_FUNC, "Invalid type");
        return;
    }
    const int slot = PuzzlesListSlot(type);
    _PuzzleListEntry *list = s_lists.lists[slot];
    int32_t &count = s_lists.listCounts[slot];
    count = 0;

    char folder[ENG_FILE_PATH_SIZE];
    EngSafeStrcpy(folder, type == GAME_TYPE_PUZZLE ? PUZZLES_SYSTEM_FOLDER : PrefFolderGetSubFolder(PUZZLES_OWN_FOLDER, true),
                  sizeof(folder));
    DirList dir;
    if (!dir.OpenDir(folder, PuzzlesFileFilter, nullptr, false) || !dir.PrepareToGetFilenamesInDir())
    {
        DebugError(ENG_FUNC, "Could not open directory <%s>", folder);
        dir.CloseDir();
        return;
    }
    // Loading goes through the current record: keep it, and give it back at the end.
    const _Puzzle kept = GameState.puzzle;
    for (const char *fileName = dir.GetNextFilenameInDir(); fileName[0] && count < PUZZLE_MAX_LIST;
         fileName = dir.GetNextFilenameInDir())
    {
        // The base name without ".qpz" names the puzzle; it is held to the same limit
        // as a saved puzzle's name.
        char name[PUZZLE_NAME_SIZE] = "";
        size_t length = strlen(fileName) - 4;
        if (length <= PUZZLE_MAX_NAME_LENGTH)
        {
            memcpy(name, fileName, length);
            name[length] = 0;
        }
        if (!PuzzlesIsValidName(name))
        {
            DebugNoteInFunction(DEBUG_NOTE_STANDARD, ENG_FUNC, "Ignoring invalid puzzle filename: [%s]", fileName);
            continue;
        }
        if (!PuzzlesLoadFromFile(type, name))
            continue;
        _PuzzleListEntry &entry = list[count++];
        memset(&entry, 0, sizeof(entry));
        EngSafeStrcpy(entry.name, name, sizeof(entry.name));
        if (type == GAME_TYPE_PUZZLE)
        {
            entry.difficulty = GameState.puzzle.difficulty;
            entry.level = GameState.puzzle.level;
        }
    }
    dir.CleanupAfterGettingFilenamesInDir();
    dir.CloseDir();
    GameState.puzzle = kept;

    if (type == GAME_TYPE_PUZZLE)
    {
        std::sort(list, list + count, PuzzlesSystemOrder);
        if (count == 0)
            DebugError(ENG_FUNC, "No puzzles found in dir <%s>", folder);
    }
    else
    {
        std::sort(list, list + count, PuzzlesNameOrder);
    }
}

void PuzzlesBuildDifficultyLists()
{
    const int slot = PuzzlesListSlot(GAME_TYPE_PUZZLE);
    for (int difficulty = 0; difficulty < PUZZLE_NUM_DIFFICULTIES; difficulty++)
    {
        int32_t &count = s_lists.difficultyCounts[difficulty];
        count = 0;
        for (int i = 0; i < s_lists.listCounts[slot]; i++)
            if (s_lists.lists[slot][i].difficulty == difficulty)
                s_lists.difficultyIndex[difficulty][count++] = i;
    }
}

void PuzzlesLoadAllLists()
{
    PuzzlesLoadPuzzlesType(GAME_TYPE_PUZZLE);
    PuzzlesLoadPuzzlesType(GAME_TYPE_MY_PUZZLES);
    PuzzlesBuildDifficultyLists();
}

int PuzzlesGetNumPuzzles(int type)
{
    if (type != GAME_TYPE_PUZZLE && type != GAME_TYPE_MY_PUZZLES)
        return 0;
    return s_lists.listCounts[PuzzlesListSlot(type)];
}

const _PuzzleListEntry *PuzzlesGetListEntry(int type, int index)
{
    if (index < 0 || index >= PuzzlesGetNumPuzzles(type))
        return nullptr;
    return &s_lists.lists[PuzzlesListSlot(type)][index];
}

int PuzzlesGetNumPuzzlesOfDifficulty(int difficulty)
{
    if (difficulty < 0 || difficulty >= PUZZLE_NUM_DIFFICULTIES)
        return 0;
    return s_lists.difficultyCounts[difficulty];
}

const char *PuzzlesGetPuzzleNameOfDifficulty(int difficulty, int index)
{
    if (index < 0 || index >= PuzzlesGetNumPuzzlesOfDifficulty(difficulty))
        return nullptr;
    return s_lists.lists[PuzzlesListSlot(GAME_TYPE_PUZZLE)][s_lists.difficultyIndex[difficulty][index]].name;
}
