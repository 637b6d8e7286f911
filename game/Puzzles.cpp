// Puzzles: the current record (GameState.puzzle), its text file and test file, the two
// puzzle lists, copying a puzzle into the play grid, the working next-ball list, test
// runs and the editor's keys. Files go through the engine's file layer; every file read
// is checked field by field before it replaces anything.
//
// Sections: module state | names and paths | text file | test file | lists | play |
// test runs | editor
#include "Puzzles.h"

#include <cctype>
#include <cstdarg>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>

#include "AppHooks.h"
#include "EngDebug.h"
#include "EngDirList.h"
#include "EngFile.h"
#include "EngGlobals.h"
#include "EngMemory.h"
#include "EngPrefFolder.h"
#include "GameFiles.h"
#include "GameState.h"
#include "Grid.h"
#include "Levels.h"
#include "Plinx.h"
#include "SaveGame.h"
#include "Tick.h"
#include "ViewHooks.h"

static const char SYSTEM_FOLDER[] = "Data/SystemPuzzles";
static const char OWN_FOLDER[] = "MyPuzzles";
static const char TEST_FOLDER[] = "MyPuzzlesTesting";
static const char PLACE_MESSAGE[] = "BALL MUST BE TOUCHING ANOTHER BALL OR IN THE TOP ROW";
// Longest line of a puzzle file, without its line end.
static const int LINE_SIZE = 512;
// Lines of a puzzle file end in CR LF written through a text stream: CR CR LF on disk.
static const char LINE_END[] = "\r\r\n";

// Virtual-key codes of the editor's keys.
enum
{
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_DELETE = 0x2E,
};

// ---- Module state --------------------------------------------------------------------------

static struct
{
    char fileName[ENG_FILE_PATH_SIZE];
    char testFileName[ENG_FILE_PATH_SIZE];
    // Lists: [0] system puzzles, [1] own puzzles.
    _PuzzleListEntry lists[2][PUZZLE_MAX_LIST];
    int32_t listCounts[2];
    int32_t difficultyCounts[PUZZLE_NUM_DIFFICULTIES];
    int32_t difficultyIndex[PUZZLE_NUM_DIFFICULTIES][PUZZLE_MAX_LIST];
    _TestShot testShots[PUZZLE_TEST_SHOTS];
    int32_t testShotIndex;
    // Editor.
    uint8_t editing;
    uint8_t editNextList;   // the next-ball list is the edit target
    uint8_t pendingEscape;  // a test started from the properties returns there
    uint8_t bottomLoaded;
    int32_t cursorColumn, cursorRow, cursorSlot;
    double messageUntil;    // engine seconds; the message shows until then
} s_puzzles;

void PuzzlesShutdown()
{
    memset(&s_puzzles, 0, sizeof(s_puzzles));
}

static int PuzzlesListSlot(int type)
{
    return type == GAME_TYPE_PUZZLE ? 0 : 1;
}

// ---- Names and paths ------------------------------------------------------------------------

bool PuzzlesIsValidName(const char *name)
{
    if (!name)
        return false;
    size_t length = strnlen(name, PUZZLE_NAME_SIZE);
    if (length < 1 || length > PUZZLE_MAX_NAME_LENGTH)
        return false;
    // No separators, wildcards or control characters, and nothing that a file system
    // strips or treats as special at either end.
    for (size_t i = 0; i < length; i++)
    {
        unsigned char ch = (unsigned char)name[i];
        if (ch < 0x20 || ch > 0x7E || strchr("/\\:*?\"<>|", ch))
            return false;
    }
    return name[0] != '.' && name[0] != ' ' && name[length - 1] != '.' && name[length - 1] != ' ';
}

// A name given for a puzzle file; what is wrong with it is reported under `function`.
static bool PuzzlesCheckName(const char *function, const char *name)
{
    if (!name || !name[0])
    {
        DebugError(function, "No name");
        return false;
    }
    if (!PuzzlesIsValidName(name))
    {
        DebugError(function, "Invalid name");
        return false;
    }
    return true;
}

// Builds "<folder>/<name><extension>", matching an existing file whatever its letter case.
static bool PuzzlesBuildPath(const char *folder, const char *name, const char *extension, char *out)
{
    char path[ENG_FILE_PATH_SIZE];
    int length = snprintf(path, sizeof(path), "%s/%s%s", folder, name, extension);
    if (length < 0 || length >= (int)sizeof(path))
        return false;
    return GameFileResolveCase(path, out, ENG_FILE_PATH_SIZE);
}

char PuzzlesSetFilename(int type, const char *name, char allowSystem)
{
    s_puzzles.fileName[0] = 0;
    if (!PuzzlesCheckName(ENG_FUNC, name))
        return 0;
    const char *folder = nullptr;
    if (type == GAME_TYPE_MY_PUZZLES)
        folder = PrefFolderGetSubFolder(OWN_FOLDER, true);
    else if (type == GAME_TYPE_PUZZLE && allowSystem)
        folder = SYSTEM_FOLDER;
    if (!folder)
    {
        DebugError(ENG_FUNC, "Invalid puzzle type");
        return 0;
    }
    if (!PuzzlesBuildPath(folder, name, ".qpz", s_puzzles.fileName))
    {
        DebugError(ENG_FUNC, "Path too long");
        return 0;
    }
    return 1;
}

const char *PuzzlesGetFilename()
{
    return s_puzzles.fileName;
}

char PuzzlesSetTestFilename(int type, const char *name, char report)
{
    s_puzzles.testFileName[0] = 0;
    if (!PuzzlesCheckName(ENG_FUNC, name))
        return 0;
    if (type != GAME_TYPE_MY_PUZZLES)
    {
        if (report)
            DebugError(ENG_FUNC, "Invalid puzzle type");
        return 0;
    }
    if (!PuzzlesBuildPath(PrefFolderGetSubFolder(TEST_FOLDER, true), name, ".tes", s_puzzles.testFileName))
    {
        DebugError(ENG_FUNC, "Path too long");
        return 0;
    }
    return 1;
}

const char *PuzzlesGetTestFilename()
{
    return s_puzzles.testFileName;
}

// ---- The current record -----------------------------------------------------------------------

void PuzzlesClearCurrentPuzzle()
{
    memset(&GameState.puzzle, 0, sizeof(GameState.puzzle));
    GameState.nextListInUse = 0;
}

static void PuzzlesClearTestShots()
{
    memset(s_puzzles.testShots, 0, sizeof(s_puzzles.testShots));
    s_puzzles.testShotIndex = 0;
}

// The working next-ball list becomes the puzzle's own (unmapped) list.
static void PuzzlesSetWorkingListFromPuzzle()
{
    _GameState &gs = GameState;
    const _Puzzle &puzzle = gs.puzzle;
    int count = std::clamp((int)puzzle.numNextBalls, 0, (int)PUZZLE_MAX_NEXT_BALLS);
    for (int i = 0; i < PUZZLE_MAX_NEXT_BALLS; i++)
        gs.nextBallList[i] = i < count ? puzzle.nextBalls[i] : (int8_t)BALL_EMPTY;
    gs.nextBallCount = count;
}

char PuzzlesReset(int type, const char *name)
{
    if (type != GAME_TYPE_MY_PUZZLES)
    {
        DebugError(ENG_FUNC, "Invalid type");
        return 0;
    }
    if (!name || !name[0])
        name = "Untitled";
    if (!PuzzlesIsValidName(name))
    {
        DebugError(ENG_FUNC, "Invalid name");
        return 0;
    }
    PuzzlesClearCurrentPuzzle();
    _Puzzle &puzzle = GameState.puzzle;
    EngSafeStrcpy(puzzle.name, name, sizeof(puzzle.name));
    puzzle.type = GAME_TYPE_MY_PUZZLES;
    puzzle.numBallTypes = 5;
    puzzle.moveDown = 5;
    puzzle.fallUp = 5;
    puzzle.removeUp = 2;
    puzzle.arcadeLandUp = 1;
    puzzle.width = 11;
    puzzle.difficulty = 0;
    puzzle.level = 0;
    memset(puzzle.grid, BALL_EMPTY, sizeof(puzzle.grid));
    memset(puzzle.nextBalls, BALL_EMPTY, sizeof(puzzle.nextBalls));
    puzzle.numNextBalls = 1;
    puzzle.nextBalls[0] = 0;
    PuzzlesSetWorkingListFromPuzzle();
    PuzzlesClearTestShots();
    return 1;
}

// ---- Text file ------------------------------------------------------------------------------

// Appends formatted text to a growing buffer; false once it would overflow.
struct PuzzleText
{
    char text[2048];
    int length;

    bool Add(const char *format, ...) __attribute__((format(printf, 2, 3)))
    {
        va_list args;
        va_start(args, format);
        int room = (int)sizeof(text) - length;
        int written = vsnprintf(text + length, (size_t)room, format, args);
        va_end(args);
        if (written < 0 || written >= room)
            return false;
        length += written;
        return true;
    }
};

char PuzzlesSaveToFile()
{
    _Puzzle &puzzle = GameState.puzzle;
    if (!puzzle.name[0])
    {
        DebugError(ENG_FUNC, "No puzzle name");
        return 0;
    }
    for (size_t i = 0; i < sizeof(puzzle.name) && puzzle.name[i]; i++)
        if (puzzle.name[i] >= 'a' && puzzle.name[i] <= 'z')
            puzzle.name[i] = (char)(puzzle.name[i] - 'a' + 'A');
    if (!PuzzlesSetFilename(puzzle.type, puzzle.name, 0))
        return 0;

    PuzzleText out = {};
    bool ok = out.Add("VERSION: %.2f%s", PUZZLE_FILE_VERSION, LINE_END) &&
              out.Add("TYPE: %d%s", puzzle.type, LINE_END) && out.Add("WIDTH: %d%s", puzzle.width, LINE_END) &&
              out.Add("NUM_BALL_TYPES: %d%s", puzzle.numBallTypes, LINE_END) &&
              out.Add("NUM_NEXT_BALLS: %d%s", puzzle.numNextBalls, LINE_END) && out.Add("NEXT_BALLS_TYPES: ");
    for (int i = 0; ok && i < PUZZLE_MAX_NEXT_BALLS; i++)
        ok = out.Add("%d ", puzzle.nextBalls[i]);
    ok = ok && out.Add("%s", LINE_END) && out.Add("MOVE_DOWN_AMOUNT: %d%s", puzzle.moveDown, LINE_END) &&
         out.Add("REMOVE_UP_AMOUNT: %d%s", puzzle.removeUp, LINE_END) &&
         out.Add("FALL_UP_AMOUNT: %d%s", puzzle.fallUp, LINE_END) &&
         out.Add("ARCADE_LAND_UP_AMOUNT: %d%s", puzzle.arcadeLandUp, LINE_END) &&
         out.Add("DIFFICULTY: %d%s", puzzle.difficulty, LINE_END) && out.Add("LEVEL: %d%s", puzzle.level, LINE_END);
    for (int row = 0; ok && row < PUZZLE_GRID_ROWS; row++)
    {
        ok = out.Add("%02d: ", row);
        for (int column = 0; ok && column < PUZZLE_GRID_COLUMNS; column++)
            ok = out.Add("%d ", puzzle.grid[column][row]);
        ok = ok && out.Add("%s", LINE_END);
    }
    if (!ok)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return 0;
    }
    if (GameFileWriteWhole(s_puzzles.fileName, out.text, (uint32_t)out.length, false) != GAME_FILE_OK)
    {
        DebugError(ENG_FUNC, "Could not open for writing: <%s>", s_puzzles.fileName);
        return 0;
    }
    return 1;
}

// Whole numbers of a line, from `text` on: up to `maximum` of them into `values`. The
// count read, or -1 when something other than a number stands in the line or a number
// lies outside [minimum, maximum value].
static int PuzzlesParseNumbers(const char *text, long *values, int maximum, long minimum, long maximumValue)
{
    int count = 0;
    const char *p = text;
    for (;;)
    {
        while (*p == ' ' || *p == '\t')
            p++;
        if (!*p)
            return count;
        char *end = nullptr;
        errno = 0;
        long value = strtol(p, &end, 10);
        if (end == p || errno == ERANGE || value < minimum || value > maximumValue)
            return -1;
        if (*end && *end != ' ' && *end != '\t')
            return -1;
        if (count < maximum)
            values[count] = value;
        count++;
        p = end;
    }
}

// One key's number ("KEY: %d"); false when it is missing or outside the range.
static bool PuzzlesParseValue(const char *afterKey, long minimum, long maximum, long *value)
{
    long values[1];
    return PuzzlesParseNumbers(afterKey, values, 1, minimum, maximum) == 1 && (*value = values[0], true);
}

// The keys of a puzzle file in the order they are tested; the first found decides.
enum _PuzzleKey
{
    KEY_VERSION,
    KEY_TYPE,
    KEY_WIDTH,
    KEY_NUM_BALL_TYPES,
    KEY_USE_NEXT_BALLS,
    KEY_NUM_NEXT_BALLS,
    KEY_SPECIAL_BALL_FREQ,
    KEY_MOVE_DOWN,
    KEY_REMOVE_UP,
    KEY_FALL_UP,
    KEY_ARCADE_LAND_UP,
    KEY_DIFFICULTY,
    KEY_LEVEL,
    KEY_NEXT_BALLS_TYPES,
    KEY_COUNT,
};
static const char *const s_keys[KEY_COUNT] = {
    "VERSION:",          "TYPE:",           "WIDTH:",           "NUM_BALL_TYPES:",
    "USE_NEXT_BALLS:",   "NUM_NEXT_BALLS:", "SPECIAL_BALL_FREQ:", "MOVE_DOWN_AMOUNT:",
    "REMOVE_UP_AMOUNT:", "FALL_UP_AMOUNT:", "ARCADE_LAND_UP_AMOUNT:", "DIFFICULTY:",
    "LEVEL:",            "NEXT_BALLS_TYPES:",
};

// What a file says, before it is checked as a whole.
struct PuzzleRead
{
    _Puzzle puzzle;
    float version;
    int nextBallsRead; // numbers on the NEXT_BALLS_TYPES line
    bool bad;          // a key line whose value could not be read
};

// One key line; false when its value is unreadable or out of its field's range.
static bool PuzzlesReadKeyLine(int key, const char *value, PuzzleRead &read)
{
    _Puzzle &puzzle = read.puzzle;
    long number = 0;
    switch (key)
    {
    case KEY_VERSION:
    {
        char *end = nullptr;
        float version = strtof(value, &end);
        if (end == value)
            return false;
        read.version = version;
        return true;
    }
    case KEY_USE_NEXT_BALLS:
    case KEY_SPECIAL_BALL_FREQ:
        return true;
    case KEY_NEXT_BALLS_TYPES:
    {
        long values[PUZZLE_MAX_NEXT_BALLS];
        int count = PuzzlesParseNumbers(value, values, PUZZLE_MAX_NEXT_BALLS, BALL_EMPTY, BALL_STONE);
        if (count < 0 || count > PUZZLE_MAX_NEXT_BALLS)
            return false;
        for (int i = 0; i < count; i++)
            puzzle.nextBalls[i] = (int8_t)values[i];
        read.nextBallsRead = count;
        return true;
    }
    case KEY_DIFFICULTY:
        if (!PuzzlesParseValue(value, INT8_MIN, INT8_MAX, &number))
            return false;
        puzzle.difficulty = (int8_t)number;
        return true;
    case KEY_MOVE_DOWN:
    case KEY_REMOVE_UP:
    case KEY_FALL_UP:
    case KEY_ARCADE_LAND_UP:
    {
        // Out-of-range amounts are refused with the other ranges, once the whole file is read.
        if (!PuzzlesParseValue(value, INT8_MIN, INT8_MAX, &number))
            return false;
        int8_t *fields[] = {&puzzle.moveDown, &puzzle.removeUp, &puzzle.fallUp, &puzzle.arcadeLandUp};
        *fields[key - KEY_MOVE_DOWN] = (int8_t)number;
        return true;
    }
    default:
    {
        if (!PuzzlesParseValue(value, INT32_MIN, INT32_MAX, &number))
            return false;
        int32_t *field = key == KEY_TYPE             ? &puzzle.type
                         : key == KEY_WIDTH          ? &puzzle.width
                         : key == KEY_NUM_BALL_TYPES ? &puzzle.numBallTypes
                         : key == KEY_NUM_NEXT_BALLS ? &puzzle.numNextBalls
                                                     : &puzzle.level;
        *field = (int32_t)number;
        return true;
    }
    }
}

// Reads the next line without its line end (CR LF, CR CR LF or LF). A line longer than
// the buffer is read to its end and marked `tooLong`. False at the end of the file.
static bool PuzzlesReadLine(EngFile &file, char *line, bool *tooLong)
{
    *tooLong = false;
    if (!file.ReadLine(line, LINE_SIZE))
        return false;
    size_t length = strlen(line);
    if (length > 0 && line[length - 1] != '\n' && length == (size_t)LINE_SIZE - 1)
    {
        *tooLong = true;
        char rest[LINE_SIZE];
        while (file.ReadLine(rest, LINE_SIZE))
        {
            size_t restLength = strlen(rest);
            if (restLength > 0 && rest[restLength - 1] == '\n')
                break;
        }
    }
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r'))
        line[--length] = 0;
    return true;
}

char PuzzlesLoadFromFile(int type, const char *name)
{
    if (!name || !name[0] || strnlen(name, PUZZLE_NAME_SIZE) > PUZZLE_MAX_NAME_LENGTH)
    {
        DebugError(ENG_FUNC, "Invalid name");
        return 0;
    }
    if (!PuzzlesSetFilename(type, name, 1))
        return 0;
    const char *path = s_puzzles.fileName;

    PuzzleRead read;
    memset(&read, 0, sizeof(read));
    memset(read.puzzle.grid, BALL_EMPTY, sizeof(read.puzzle.grid));
    memset(read.puzzle.nextBalls, BALL_EMPTY, sizeof(read.puzzle.nextBalls));

    EngFile file;
    if (!file.OpenForReading(path, false, false))
    {
        DebugError(ENG_FUNC, "Could not open file: <%s>", path);
        return 0;
    }
    char line[LINE_SIZE];
    bool tooLong = false;
    while (PuzzlesReadLine(file, line, &tooLong))
    {
        if (tooLong)
        {
            DebugError(ENG_FUNC, "Invalid line: [%.40s...]", line);
            continue;
        }
        int key = 0;
        const char *found = nullptr;
        for (; key < KEY_COUNT && !found; key++)
            found = strstr(line, s_keys[key]);
        if (found)
        {
            key--;
            if (!PuzzlesReadKeyLine(key, found + strlen(s_keys[key]), read))
            {
                DebugError(ENG_FUNC, "Invalid line: [%s]", line);
                read.bad = true;
            }
            continue;
        }
        const char *start = line;
        while (*start == ' ' || *start == '\t')
            start++;
        if (!*start || *start == '#')
            continue;

        // A grid line: "%d: " and the 22 cells of that row.
        char *end = nullptr;
        errno = 0;
        long row = strtol(start, &end, 10);
        long cells[PUZZLE_GRID_COLUMNS];
        int count = -1;
        if (end != start && *end == ':' && errno != ERANGE)
            count = PuzzlesParseNumbers(end + 1, cells, PUZZLE_GRID_COLUMNS, BALL_EMPTY, BALL_STONE);
        if (count < 0 && end != start && *end == ':')
        {
            // Numbers that no ball type has, or something else in the line.
            DebugError(ENG_FUNC, "Invalid line: [%s]", line);
            read.bad = true;
            continue;
        }
        if (count < PUZZLE_GRID_COLUMNS)
        {
            DebugError(ENG_FUNC, "Invalid line: [%s]", line);
            continue;
        }
        if (row < 0 || row >= PUZZLE_GRID_ROWS)
        {
            DebugError(ENG_FUNC, "Invalid line num: %ld", row);
            return 0;
        }
        for (int column = 0; column < PUZZLE_GRID_COLUMNS; column++)
            read.puzzle.grid[column][row] = (int8_t)cells[column];
    }
    file.Close();

    _Puzzle &puzzle = read.puzzle;
    if (puzzle.type != type)
    {
        DebugError(ENG_FUNC, "File type:%d  !=  Type: %d", puzzle.type, type);
        return 0;
    }
    if (read.version != PUZZLE_FILE_VERSION)
    {
        DebugError(ENG_FUNC, "Invalid version [%f] in file <%s> - expecting version [%f]", read.version, path,
                   PUZZLE_FILE_VERSION);
        return 0;
    }
    bool valid = !read.bad && puzzle.width >= PUZZLE_MIN_WIDTH && puzzle.width <= PUZZLE_MAX_WIDTH &&
                 puzzle.numBallTypes >= 1 && puzzle.numBallTypes <= PUZZLE_MAX_BALL_TYPES &&
                 puzzle.numNextBalls >= 0 && puzzle.numNextBalls <= PUZZLE_MAX_NEXT_BALLS &&
                 read.nextBallsRead >= puzzle.numNextBalls;
    for (int8_t amount : {puzzle.moveDown, puzzle.removeUp, puzzle.fallUp, puzzle.arcadeLandUp})
        valid = valid && amount >= 0 && amount <= PUZZLE_MAX_AMOUNT;
    // Every ball the player gets must be a ball.
    for (int i = 0; valid && i < puzzle.numNextBalls; i++)
        valid = puzzle.nextBalls[i] != BALL_EMPTY;
    if (!valid)
    {
        DebugError(ENG_FUNC, "Error in file <%s>", path);
        return 0;
    }
    EngSafeStrcpy(puzzle.name, name, sizeof(puzzle.name));
    GameState.puzzle = puzzle;
    return 1;
}

char PuzzleDeleteFile(int type, const char *name)
{
    if (!name || !name[0])
    {
        DebugError(ENG_FUNC, "No name");
        return 0;
    }
    if (!PuzzlesSetFilename(type, name, 0))
        return 0;
    if (!EngFileExists(s_puzzles.fileName, false))
    {
        DebugError(ENG_FUNC, "File <%s> does not exist", s_puzzles.fileName);
        return 0;
    }
    if (!EngFileDelete(s_puzzles.fileName, true))
        return 0;
    if (PuzzlesSetTestFilename(type, name, 0) && EngFileExists(s_puzzles.testFileName, false))
        EngFileDelete(s_puzzles.testFileName, true);
    return 1;
}

// ---- Test file -----------------------------------------------------------------------------------

// A recorded shot can be replayed: finite values, an angle the turret can take.
static bool PuzzlesIsShotValid(const _TestShot &shot)
{
    if (shot.used > 1)
        return false;
    if (!shot.used)
        return true;
    return std::isfinite(shot.x) && std::isfinite(shot.y) && std::isfinite(shot.z) && std::isfinite(shot.angle) &&
           fabsf(shot.angle) <= 1.4f && fabsf(shot.x) <= 2.0f && fabsf(shot.y) <= 2.0f;
}

char PuzzlesSaveTestingFile()
{
    const _Puzzle &puzzle = GameState.puzzle;
    if (!PuzzlesSetTestFilename(puzzle.type, puzzle.name, 1))
        return 0;
    _TestFile file;
    memset(&file, 0, sizeof(file));
    file.version = PUZZLE_FILE_VERSION;
    for (int i = 0; i < PUZZLE_TEST_SHOTS; i++)
    {
        // Written field by field so that the padding is always zero.
        const _TestShot &shot = s_puzzles.testShots[i];
        file.shots[i].x = shot.x;
        file.shots[i].y = shot.y;
        file.shots[i].z = shot.z;
        file.shots[i].angle = shot.angle;
        file.shots[i].used = shot.used ? 1 : 0;
    }
    _GameFileResult result = GameFileWriteWhole(s_puzzles.testFileName, &file, sizeof(file), false);
    if (result == GAME_FILE_OPEN_FAILED)
    {
        DebugError(ENG_FUNC, "Could not create testing file <%s>", s_puzzles.testFileName);
        return 0;
    }
    if (result != GAME_FILE_OK)
    {
        DebugError(ENG_FUNC, "Error writing to test file <%s>", s_puzzles.testFileName);
        return 0;
    }
    return 1;
}

bool PuzzlesReadTestFile(const char *path, _TestFile *out)
{
    EngFile file;
    if (!file.OpenForReading(path, false, false))
    {
        DebugError(ENG_FUNC, "Could not open testing file <%s>", EngStringOrNone(path));
        return false;
    }
    _TestFile read;
    if (!file.Read(&read.version, sizeof(read.version), false))
    {
        DebugError(ENG_FUNC, "Problem reading version from file");
        return false;
    }
    if (read.version != PUZZLE_FILE_VERSION)
        return false;
    uint32_t size = file.GetSize();
    bool readAll = size == sizeof(_TestFile) && file.Read(read.shots, sizeof(read.shots), false);
    for (int i = 0; readAll && i < PUZZLE_TEST_SHOTS; i++)
        readAll = PuzzlesIsShotValid(read.shots[i]);
    if (!readAll)
    {
        DebugError(ENG_FUNC, "Problem reading file");
        return false;
    }
    *out = read;
    for (_TestShot &shot : out->shots)
        memset(shot.pad, 0, sizeof(shot.pad));
    return true;
}

char PuzzlesLoadTestingFile()
{
    const _Puzzle &puzzle = GameState.puzzle;
    if (!PuzzlesSetTestFilename(puzzle.type, puzzle.name, 1))
        return 0;
    // Whatever happens, no shot of another puzzle stays behind to be replayed here.
    PuzzlesClearTestShots();
    if (!EngFileExists(s_puzzles.testFileName, false))
        return 1;
    _TestFile file;
    if (!PuzzlesReadTestFile(s_puzzles.testFileName, &file))
        return 0;
    memcpy(s_puzzles.testShots, file.shots, sizeof(s_puzzles.testShots));
    return 1;
}

// ---- Lists -----------------------------------------------------------------------------------------

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
    _PuzzleListEntry *list = s_puzzles.lists[slot];
    int32_t &count = s_puzzles.listCounts[slot];
    count = 0;

    char folder[ENG_FILE_PATH_SIZE];
    EngSafeStrcpy(folder, type == GAME_TYPE_PUZZLE ? SYSTEM_FOLDER : PrefFolderGetSubFolder(OWN_FOLDER, true),
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
        int32_t &count = s_puzzles.difficultyCounts[difficulty];
        count = 0;
        for (int i = 0; i < s_puzzles.listCounts[slot]; i++)
            if (s_puzzles.lists[slot][i].difficulty == difficulty)
                s_puzzles.difficultyIndex[difficulty][count++] = i;
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
    return s_puzzles.listCounts[PuzzlesListSlot(type)];
}

const _PuzzleListEntry *PuzzlesGetListEntry(int type, int index)
{
    if (index < 0 || index >= PuzzlesGetNumPuzzles(type))
        return nullptr;
    return &s_puzzles.lists[PuzzlesListSlot(type)][index];
}

int PuzzlesGetNumPuzzlesOfDifficulty(int difficulty)
{
    if (difficulty < 0 || difficulty >= PUZZLE_NUM_DIFFICULTIES)
        return 0;
    return s_puzzles.difficultyCounts[difficulty];
}

const char *PuzzlesGetPuzzleNameOfDifficulty(int difficulty, int index)
{
    if (index < 0 || index >= PuzzlesGetNumPuzzlesOfDifficulty(difficulty))
        return nullptr;
    return s_puzzles.lists[PuzzlesListSlot(GAME_TYPE_PUZZLE)][s_puzzles.difficultyIndex[difficulty][index]].name;
}

// ---- Play ------------------------------------------------------------------------------------------

static int8_t PuzzlesMapBall(int8_t value, char mapColours)
{
    const _Puzzle &puzzle = GameState.puzzle;
    if (value >= 0 && value < puzzle.numBallTypes && value < BALL_NUM_COLOURS && mapColours && !GameState.testMode)
        return GameState.colourSet[value];
    return value;
}

void PuzzlesCopyToGrid(char mapColours)
{
    _GameState &gs = GameState;
    const _Puzzle &puzzle = gs.puzzle;
    for (int column = 0; column < GRID_MAX_COLUMNS; column++)
    {
        for (int row = 0; row < GRID_ROWS; row++)
        {
            _GridCell &cell = gs.grid[column][row];
            int8_t value = puzzle.grid[column][row];
            bool ball = (value >= 0 && value < puzzle.numBallTypes && value < BALL_NUM_COLOURS) ||
                        value == BALL_WILDCARD || value == BALL_STONE;
            if (column >= 1 && column <= puzzle.width - 2 && ball)
            {
                cell.type = PuzzlesMapBall(value, mapColours);
                cell.initial = 1;
            }
            else
            {
                cell.type = BALL_EMPTY;
                cell.initial = 0;
            }
        }
    }
    int count = std::clamp((int)puzzle.numNextBalls, 0, (int)PUZZLE_MAX_NEXT_BALLS);
    for (int i = 0; i < PUZZLE_MAX_NEXT_BALLS; i++)
        gs.nextBallList[i] = i < count ? PuzzlesMapBall(puzzle.nextBalls[i], mapColours) : (int8_t)BALL_EMPTY;
    gs.nextBallCount = count;
    gs.nextListInUse = 1;
    gs.movingCount = 0;
    gs.removingCount = 0;
    gs.fallingCount = 0;
}

int8_t PuzzlesGetNextBallType(char advance, char warn)
{
    _GameState &gs = GameState;
    if (gs.nextBallCount <= 0 || gs.nextBallCount > PUZZLE_MAX_NEXT_BALLS)
    {
        if (warn)
            DebugError(ENG_FUNC, "No next balls");
        return BALL_EMPTY;
    }
    int8_t ball = gs.nextBallList[0];
    if (advance)
    {
        for (int i = 1; i < gs.nextBallCount; i++)
            gs.nextBallList[i - 1] = gs.nextBallList[i];
        gs.nextBallCount--;
        gs.nextBallList[gs.nextBallCount] = BALL_EMPTY;
    }
    return ball;
}

// ---- Test runs ---------------------------------------------------------------------------------------

void PuzzlesRecordTestShot(const _ShotAim *fired)
{
    const _GameState &gs = GameState;
    int32_t &index = s_puzzles.testShotIndex;
    if (index < 0 || index >= gs.puzzle.numNextBalls || index >= PUZZLE_TEST_SHOTS)
        return;
    _TestShot &shot = s_puzzles.testShots[index];
    memset(&shot, 0, sizeof(shot));
    shot.x = fired->x;
    shot.y = fired->y;
    shot.z = fired->z;
    shot.angle = fired->angle;
    shot.used = 1;
    index++;
}

char PuzzlesReplayTestShot(char peek)
{
    _GameState &gs = GameState;
    int32_t &index = s_puzzles.testShotIndex;
    if (index < 0 || index >= PUZZLE_TEST_SHOTS)
        return 0;
    const _TestShot &shot = s_puzzles.testShots[index];
    if (!shot.used || !PuzzlesIsShotValid(shot))
        return 0;
    if (peek)
        return 1;
    gs.turretAngle = shot.angle;
    gs.turretBallX = shot.x;
    gs.turretBallY = shot.y;
    gs.turretBallZ = shot.z;
    index++;
    return 1;
}

char PuzzlesShoot(char replay)
{
    _GameState &gs = GameState;
    if (!gs.testMode)
        return PlinxShoot();
    if (!PlinxCanShoot())
        return 0;
    _ShotAim aim = {};
    if (replay)
    {
        int32_t index = s_puzzles.testShotIndex;
        if (!gs.nextListInUse || !PuzzlesReplayTestShot(1))
            return 0;
        const _TestShot &shot = s_puzzles.testShots[index];
        aim = {shot.angle, shot.x, shot.y, shot.z};
    }
    // Taken before the shot, kept only once it has gone.
    static _GameSnapshot before;
    SaveGameCaptureSnapshot(&before);
    _ShotAim fired;
    if (!PlinxShoot(replay ? &aim : nullptr, &fired))
        return 0;
    SaveGameUndoPushSnapshot(&before);
    if (replay)
        s_puzzles.testShotIndex++;
    else
        PuzzlesRecordTestShot(&fired);
    return 1;
}

void PuzzlesGetTestShots(_TestShot shots[PUZZLE_TEST_SHOTS], int32_t *index)
{
    memcpy(shots, s_puzzles.testShots, sizeof(s_puzzles.testShots));
    *index = s_puzzles.testShotIndex;
}

void PuzzlesSetTestShots(const _TestShot shots[PUZZLE_TEST_SHOTS], int32_t index)
{
    for (int i = 0; i < PUZZLE_TEST_SHOTS; i++)
    {
        s_puzzles.testShots[i] = shots[i];
        if (!PuzzlesIsShotValid(shots[i]))
            memset(&s_puzzles.testShots[i], 0, sizeof(_TestShot));
        memset(s_puzzles.testShots[i].pad, 0, sizeof(s_puzzles.testShots[i].pad));
    }
    s_puzzles.testShotIndex = std::clamp(index, 0, (int32_t)PUZZLE_TEST_SHOTS);
}

void PuzzlesStartTest(int mode)
{
    _GameState &gs = GameState;
    if (gs.puzzle.type != GAME_TYPE_MY_PUZZLES)
    {
        DebugError(ENG_FUNC, "Invalid type");
        return;
    }
    gs.testMode = (uint8_t)(mode + 1);
    gs.gameOver = 0;
    gs.score = 0;
    ViewRefreshScoreText();
    gs.gridGiven = 0;
    PuzzlesSaveToFile();
    PuzzlesLoadPuzzlesType(gs.puzzle.type);
    PuzzlesBuildDifficultyLists();
    gs.levelState = LEVEL_STATE_PLAY;
    gs.gameType = gs.puzzle.type;
    gs.moveMode = MOVE_MODE_PER_SHOT;
    // Each run undoes only its own shots.
    SaveGameUndoClear();
    LevelsSetNextLevel(0);
    s_puzzles.testShotIndex = 0;
}

void PuzzlesEndTest()
{
    _GameState &gs = GameState;
    ViewSoundStopLoops(0);
    ViewEffectsStopAllBallEffects();
    gs.turretExplodingEffect = -1;
    gs.turretWildcardEffect = -1;
    if (gs.testMode == 2)
        s_puzzles.pendingEscape = 1;
    gs.testMode = 0;
    gs.gridGiven = 1;
    PuzzlesCopyToGrid(0);
    gs.gridBallScale = 1.0f;
    gs.scroll = 0.0f;
    gs.rollAngle = 0.0f;
}

// ---- Editor -------------------------------------------------------------------------------------------

static const _PuzzleKeyHelp s_editKeys[] = {
    {"Arrows:", "MOVE CURSOR"},
    {"Number Keys:", "Set Ball Type"},
    {"S:", "Set Stone Ball"},
    {"W:", "Set Wildcard Ball"},
    {"E:", "Set Exploding Ball (NEXT BALL LIST ONLY)"},
    {"DELETE:", "Remove Ball"},
    {"TAB:", "Toggle Edit Mode (NEXT BALL LIST ONLY)"},
    {"T:", "TEST LEVEL"},
};
static const _PuzzleKeyHelp s_testKeys[] = {
    {"ESCAPE:", "RETURN TO EDIT MENU"},
    {"U:", "UNDO LAST SHOT"},
    {"RIGHT BUTTON:", "REPLAY BALL FROM LAST TEST RUN (NEXT BALL LIST ONLY)"},
};

const _PuzzleKeyHelp *PuzzlesGetKeyHelp(char testKeys, int *count)
{
    if (testKeys)
    {
        *count = (int)(sizeof(s_testKeys) / sizeof(s_testKeys[0]));
        return s_testKeys;
    }
    *count = (int)(sizeof(s_editKeys) / sizeof(s_editKeys[0]));
    return s_editKeys;
}

bool PuzzlesIsEditing()
{
    return s_puzzles.editing != 0;
}

void PuzzlesSetEditing(bool editing)
{
    s_puzzles.editing = editing ? 1 : 0;
}

static void PuzzlesClampCursor()
{
    const _Puzzle &puzzle = GameState.puzzle;
    s_puzzles.cursorColumn = std::clamp((int)s_puzzles.cursorColumn, 1, std::max(1, (int)puzzle.width - 2));
    s_puzzles.cursorRow = std::clamp((int)s_puzzles.cursorRow, 0, GRID_ROWS - 2);
    s_puzzles.cursorSlot = std::clamp((int)s_puzzles.cursorSlot, 0, std::max(0, (int)puzzle.numNextBalls));
    s_puzzles.cursorSlot = std::min((int)s_puzzles.cursorSlot, PUZZLE_MAX_NEXT_BALLS - 1);
}

char PuzzlesPrepareToStart()
{
    _GameState &gs = GameState;
    _Puzzle &puzzle = gs.puzzle;
    if (puzzle.type != GAME_TYPE_MY_PUZZLES || puzzle.width < PUZZLE_MIN_WIDTH || puzzle.width > PUZZLE_MAX_WIDTH ||
        puzzle.numBallTypes < 1 || puzzle.numBallTypes > PUZZLE_MAX_BALL_TYPES)
    {
        DebugError(ENG_FUNC, "Invalid type");
        return 0;
    }
    gs.gameType = GAME_TYPE_MY_PUZZLES;
    gs.testMode = 0;
    gs.gridColumns = puzzle.width;
    gs.gridRows = GRID_ROWS;
    gs.rowsFilled = 0;
    gs.numColours = puzzle.numBallTypes;
    PuzzlesClampCursor();
    gs.gridGiven = 1;
    PlinxResetGrid();
    PuzzlesCopyToGrid(0);
    gs.levelState = LEVEL_STATE_PLAY;
    gs.gridBallScale = 1.0f;
    gs.scroll = 0.0f;
    gs.rollAngle = 0.0f;
    if (!s_puzzles.bottomLoaded)
    {
        if (ViewEditorLoadPicture())
            s_puzzles.bottomLoaded = 1;
        else
            DebugError(ENG_FUNC, "Could not load bottom texture");
    }
    PuzzlesLoadTestingFile();
    s_puzzles.editing = 1;
    s_puzzles.pendingEscape = 0;
    return 1;
}

void PuzzlesReleaseEditor()
{
    if (s_puzzles.bottomLoaded)
        ViewEditorReleasePicture();
    s_puzzles.bottomLoaded = 0;
    s_puzzles.editing = 0;
}

void PuzzlesGetEditorCursor(int *column, int *row, int *nextSlot, bool *nextListTarget)
{
    *column = s_puzzles.cursorColumn;
    *row = s_puzzles.cursorRow;
    *nextSlot = s_puzzles.cursorSlot;
    *nextListTarget = s_puzzles.editNextList != 0;
}

const char *PuzzlesGetEditorMessage()
{
    return EngFrameTiming.currentTime < s_puzzles.messageUntil ? PLACE_MESSAGE : nullptr;
}

// True once when `key` went down; the press is used up.
static bool PuzzlesKeyPressed(int key)
{
    if (EngKeyStates[key] > 1)
    {
        EngKeyStates[key] = 0;
        return true;
    }
    return false;
}

// Puts `value` (a ball type, or -1 to remove) at the grid cursor.
static void PuzzlesEditGrid(int8_t value)
{
    _GameState &gs = GameState;
    const int column = s_puzzles.cursorColumn, row = s_puzzles.cursorRow;
    if (value != BALL_EMPTY && row != 0 && !GridHasNeighbour(column, row))
    {
        s_puzzles.messageUntil = EngFrameTiming.currentTime + 1.0;
        return;
    }
    gs.puzzle.grid[column][row] = value;
    gs.grid[column][row].type = value;
    gs.grid[column][row].initial = value != BALL_EMPTY;
}

// Puts `value` at the next-list cursor (a ball is added at the end when the cursor lies
// past it), or with -1 takes the ball there out.
static void PuzzlesEditNextList(int8_t value)
{
    _Puzzle &puzzle = GameState.puzzle;
    int slot = s_puzzles.cursorSlot;
    if (value == BALL_EMPTY)
    {
        if (slot >= puzzle.numNextBalls)
            return;
        for (int i = slot; i < puzzle.numNextBalls - 1; i++)
            puzzle.nextBalls[i] = puzzle.nextBalls[i + 1];
        puzzle.numNextBalls--;
        puzzle.nextBalls[puzzle.numNextBalls] = BALL_EMPTY;
    }
    else
    {
        if (slot >= puzzle.numNextBalls)
        {
            if (puzzle.numNextBalls >= PUZZLE_MAX_NEXT_BALLS)
                return;
            slot = puzzle.numNextBalls++;
            s_puzzles.cursorSlot = slot;
        }
        puzzle.nextBalls[slot] = value;
    }
    PuzzlesSetWorkingListFromPuzzle();
    PuzzlesClampCursor();
}

// Escape in the editor: everything is stored and the properties screen returns.
static void PuzzlesLeaveEditor()
{
    s_puzzles.pendingEscape = 0;
    PuzzlesSaveToFile();
    PuzzlesSaveTestingFile();
    PuzzlesLoadPuzzlesType(GAME_TYPE_MY_PUZZLES);
    PuzzlesBuildDifficultyLists();
    ViewSoundStopLoops(0);
    if (s_puzzles.bottomLoaded)
        ViewEditorReleasePicture();
    s_puzzles.bottomLoaded = 0;
    AppGoFromGameToMenus(EngFourCC("CPPR"), nullptr, 0);
}

void PuzzlesEditorTick()
{
    _GameState &gs = GameState;
    if (!s_puzzles.editing || AppIsGuiOn())
        return;
    if (gs.testMode)
    {
        TickGame();
        return;
    }
    if (s_puzzles.pendingEscape || PuzzlesKeyPressed(ENG_VK_ESCAPE))
    {
        PuzzlesLeaveEditor();
        return;
    }
    if (PuzzlesKeyPressed(VK_TAB))
        s_puzzles.editNextList = !s_puzzles.editNextList;
    const bool list = s_puzzles.editNextList != 0;
    if (PuzzlesKeyPressed(VK_LEFT))
        (list ? s_puzzles.cursorSlot : s_puzzles.cursorColumn)--;
    if (PuzzlesKeyPressed(VK_RIGHT))
        (list ? s_puzzles.cursorSlot : s_puzzles.cursorColumn)++;
    if (PuzzlesKeyPressed(VK_UP) && !list)
        s_puzzles.cursorRow--;
    if (PuzzlesKeyPressed(VK_DOWN) && !list)
        s_puzzles.cursorRow++;
    PuzzlesClampCursor();

    int value = -2; // no edit
    for (int digit = 0; digit <= 9; digit++)
        if (PuzzlesKeyPressed('0' + digit) && digit < gs.puzzle.numBallTypes)
            value = digit;
    if (PuzzlesKeyPressed('S'))
        value = BALL_STONE;
    if (PuzzlesKeyPressed('W'))
        value = BALL_WILDCARD;
    if (PuzzlesKeyPressed('E') && list)
        value = BALL_EXPLODING;
    if (PuzzlesKeyPressed(VK_DELETE) | PuzzlesKeyPressed(VK_BACK))
        value = BALL_EMPTY;
    if (value != -2)
    {
        if (list)
            PuzzlesEditNextList((int8_t)value);
        else
            PuzzlesEditGrid((int8_t)value);
    }
    if (PuzzlesKeyPressed('T'))
        PuzzlesStartTest(0);
}
