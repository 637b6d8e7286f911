// The puzzle's two file formats: the text file ("<name>.qpz": "KEY: value" lines, then
// the grid rows) read and written for the current record, and the test file ("<name>.tes",
// stored whole) that keeps the test shots. Every file read is checked field by field
// before it replaces anything. Sits on the current puzzle (Puzzles.cpp).
//
// Sections: text file | test file
#include "Puzzles.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "GameFiles.h"
#include "GameState.h"

// Longest line of a puzzle file, without its line end.
static const int LINE_SIZE = 512;
// Lines of a puzzle file end in CR LF written through a text stream: CR CR LF on disk.
static const char LINE_END[] = "\r\r\n";

// ---- Text file -----------------------------------------------------------------------

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
    if (GameFileWriteWhole(PuzzlesGetFilename(), out.text, (uint32_t)out.length, false) != GAME_FILE_OK)
    {
        DebugError(ENG_FUNC, "Could not open for writing: <%s>", PuzzlesGetFilename());
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
    const char *path = PuzzlesGetFilename();

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
    if (!EngFileExists(PuzzlesGetFilename(), false))
    {
        DebugError(ENG_FUNC, "File <%s> does not exist", PuzzlesGetFilename());
        return 0;
    }
    if (!EngFileDelete(PuzzlesGetFilename(), true))
        return 0;
    if (PuzzlesSetTestFilename(type, name, 0) && EngFileExists(PuzzlesGetTestFilename(), false))
        EngFileDelete(PuzzlesGetTestFilename(), true);
    return 1;
}

// ---- Test file -----------------------------------------------------------------------

char PuzzlesSaveTestingFile()
{
    const _Puzzle &puzzle = GameState.puzzle;
    if (!PuzzlesSetTestFilename(puzzle.type, puzzle.name, 1))
        return 0;
    _TestFile file;
    memset(&file, 0, sizeof(file));
    file.version = PUZZLE_FILE_VERSION;
    _TestShot shots[PUZZLE_TEST_SHOTS];
    int32_t index;
    PuzzlesGetTestShots(shots, &index);
    for (int i = 0; i < PUZZLE_TEST_SHOTS; i++)
    {
        // Written field by field so that the padding is always zero.
        const _TestShot &shot = shots[i];
        file.shots[i].x = shot.x;
        file.shots[i].y = shot.y;
        file.shots[i].z = shot.z;
        file.shots[i].angle = shot.angle;
        file.shots[i].used = shot.used ? 1 : 0;
    }
    _GameFileResult result = GameFileWriteWhole(PuzzlesGetTestFilename(), &file, sizeof(file), false);
    if (result == GAME_FILE_OPEN_FAILED)
    {
        DebugError(ENG_FUNC, "Could not create testing file <%s>", PuzzlesGetTestFilename());
        return 0;
    }
    if (result != GAME_FILE_OK)
    {
        DebugError(ENG_FUNC, "Error writing to test file <%s>", PuzzlesGetTestFilename());
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
    if (!EngFileExists(PuzzlesGetTestFilename(), false))
        return 1;
    _TestFile file;
    if (!PuzzlesReadTestFile(PuzzlesGetTestFilename(), &file))
        return 0;
    PuzzlesSetTestShots(file.shots, 0);
    return 1;
}
