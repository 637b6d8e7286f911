// Platform letters, icon cells of the atlas and the progress tones. Drawing goes through
// the atlas texture (PlatformGraphics*.cpp); the choices are made here.
#include "Platform.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngMemory.h"

static const char VALID_LETTERS[] = "ABFILMPRWbmr";
// Warnings about letters without an icon, at most this many in a run.
static const int MAX_UNKNOWN_WARNINGS = 20;
static int s_unknownWarnings = 0;

char PlatformGetCurrentPlatform()
{
    return 'W';
}

char PlatformIsPlatformValid(char letter, char log)
{
    if (letter && strchr(VALID_LETTERS, letter))
        return 1;
    if (log)
        DebugError(ENG_FUNC, "Invalid platform '%d'.", letter);
    return 0;
}

bool PlatformGetIconCoordinates(char letter, _Dimension *coordinates, char log)
{
    // Cells of the 4 x 4 atlas, row by row; each icon is its cell inset by 0.01.
    static const char *const cells[4] = {"MWIP", "ALRS", "FrBb", ""};
    int column = -1, row = -1;
    if (letter == 'm')
        letter = 'M';
    for (int r = 0; r < 4 && row < 0; r++)
    {
        const char *found = letter ? strchr(cells[r], letter) : nullptr;
        if (found)
        {
            row = r;
            column = (int)(found - cells[r]);
        }
    }
    if (row < 0)
    {
        if (log && s_unknownWarnings < MAX_UNKNOWN_WARNINGS)
        {
            s_unknownWarnings++;
            DebugError(ENG_FUNC, "Unknown platform: %c", letter);
        }
        return false;
    }
    coordinates->x = (float)column * 0.25f + 0.01f;
    coordinates->y = (float)row * 0.25f + 0.01f;
    coordinates->w = (float)(column + 1) * 0.25f - 0.01f;
    coordinates->h = (float)(row + 1) * 0.25f - 0.01f;
    return true;
}

char *ProgressSoundsGetFilename(int a, int b)
{
    if (a < 0 || a > 4 || b < 0 || b > 3)
    {
        DebugError(ENG_FUNC, "Bad value [%d:%d]", a, b);
        return nullptr;
    }
    char *name = (char *)EngMalloc(256, "ProgressSoundsGetFilename", true);
    if (!name)
        return nullptr;
    snprintf(name, 256, "%s/Progress%d%d.%s", "Data/Common/Sounds/Progress", a, b, "wav");
    if (!EngFileExists(name, true))
    {
        EngFree(name, true, "ProgressSoundsGetFilename");
        return nullptr;
    }
    return name;
}

char ProgressGetNumbersFromRangeOfZeroToOneHundred(int value, int *a, int *b, float *pitch, char final)
{
    if (a)
        *a = 0;
    if (b)
        *b = 0;
    if (pitch)
        *pitch = 1.0f;
    if (final && value == 100)
    {
        if (a)
            *a = 4;
        if (b)
            *b = 3;
        return 1;
    }
    const int q = value / 5;
    int row = q / 4, column = q % 4;
    if (value < 0 || row >= 5 || column >= 4)
    {
        DebugError(ENG_FUNC, "Bad value [%d=>%d=>%d:%d]", value, q, row, column);
        return 0;
    }
    if (final && row == 4 && column == 3)
        column = 2;
    if (a)
        *a = row;
    if (b)
        *b = column;
    if (pitch)
        *pitch = 0.7f + 0.075f * (float)(value - 5 * q);
    return 1;
}
