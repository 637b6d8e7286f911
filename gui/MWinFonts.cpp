// The GUI's font registry over the program's EngFont objects: ids to numbers, numbers to
// fonts, and the named text styles of each font. Records are appended, never removed,
// so a font number stays valid for the registry's life.
#include "MWinFonts.h"

#include <cstring>

#include "EngDebug.h"
#include "EngFont.h"
#include "EngMemory.h"

static void ClearRecord(MWinFontC *record)
{
    memset(record, 0, sizeof *record);
}

MWinFonts::MWinFonts(MWin *ownerPointer)
    : owner(ownerPointer), created(false), fonts(nullptr), count(0), capacity(0)
{
    if (!owner)
        DebugExitMessage("MWinFonts::MWinFonts", "Internal Error (MWinFonts)");
    ClearRecord(&standard);
}

MWinFonts::~MWinFonts()
{
    Clear();
    for (int i = 0; i < count; i++)
        EngFree(fonts[i].styles, false, ENG_FUNC);
    EngFree(standard.styles, false, ENG_FUNC);
    EngFree(fonts, false, ENG_FUNC);
}

bool MWinFonts::Grow()
{
    int newCapacity = capacity ? capacity * 2 : 4;
    size_t size = sizeof(MWinFontC) * newCapacity;
    MWinFontC *grown = (MWinFontC *)(fonts ? EngRealloc(fonts, size, ENG_FUNC) : EngMalloc(size, ENG_FUNC, true));
    if (!grown)
        return false;
    fonts = grown;
    capacity = newCapacity;
    return true;
}

int MWinFonts::AddUserFontPointer(const char *id, EngFont *font)
{
    if (MWinIsIDEmpty(id))
    {
        DebugError(ENG_FUNC, "No id specified");
        return MWIN_FONT_NUM_NONE;
    }
    return AddFontPointer(id, font);
}

int MWinFonts::AddFontPointer(const char *id, EngFont *font)
{
    if (!font)
    {
        DebugError(ENG_FUNC, "No font passed in");
        return MWIN_FONT_NUM_NONE;
    }
    if (!id)
    {
        standard.registeredFont = font;
        standard.state = 2;
        strcpy(standard.id, MWIN_STANDARD_FONT_ID);
        return MWIN_FONT_NUM_DEFAULT;
    }
    // The id is checked before a record is taken: an id that cannot be stored would
    // otherwise leave a font registered under no id (found by no lookup).
    if (strlen(id) >= MWIN_ID_SIZE)
    {
        DebugError(ENG_FUNC, "Source string Too Long <%s>", id);
        return MWIN_FONT_NUM_NONE;
    }
    for (int i = 0; i < count; i++)
        if (MWinIDsEqual(fonts[i].id, id))
        {
            DebugError(ENG_FUNC, "Font <%s> already created", id);
            return MWIN_FONT_NUM_NONE;
        }
    int number = -1;
    for (int i = 0; i < count && number < 0; i++)
        if (MWinIsIDEmpty(fonts[i].id))
            number = i;
    if (number < 0)
    {
        if (count == capacity && !Grow())
        {
            // A failed append is reported as a failure, never as font number 0.
            DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
            return MWIN_FONT_NUM_NONE;
        }
        ClearRecord(&fonts[count]);
        number = count++;
    }
    MWinFontC *record = &fonts[number];
    if (record->state != 0)
    {
        DebugError(ENG_FUNC, "Font is already loaded");
        return MWIN_FONT_NUM_NONE;
    }
    record->registeredFont = font;
    record->state = 2;
    MWinCopyID(record->id, id);
    return number;
}

int MWinFonts::GetFontNumFromID(const char *id)
{
    if (MWinIsIDEmpty(id))
        return MWIN_FONT_NUM_NONE;
    if (strcmp(id, MWIN_FONT_DEFAULT) == 0)
        return MWIN_FONT_NUM_DEFAULT;
    if (strcmp(id, MWIN_FONT_NONE) == 0)
        return MWIN_FONT_NUM_NONE;
    for (int i = 0; i < count; i++)
        if (MWinIDsEqual(fonts[i].id, id))
            return i;
    DebugError(ENG_FUNC, "Font <%s> does not exist", id);
    return MWIN_FONT_NUM_NONE;
}

static EngFont *FontOf(const MWinFontC *record)
{
    if (record->state == 1)
        return record->ownedFont;
    if (record->state == 2)
        return record->registeredFont;
    return nullptr;
}

EngFont *MWinFonts::GetUserFont(const char *id, bool report)
{
    if (MWinIsIDEmpty(id))
    {
        DebugError(ENG_FUNC, "No id specified");
        return nullptr;
    }
    for (int i = 0; i < count; i++)
        if (MWinIDsEqual(fonts[i].id, id))
            return FontOf(&fonts[i]);
    if (report)
        DebugError(ENG_FUNC, "Font <%s> does not exist", id);
    return nullptr;
}

EngFont *MWinFonts::GetFont(int number)
{
    if (number == MWIN_FONT_NUM_DEFAULT)
        return FontOf(&standard);
    return GetUserFontFromNum(number);
}

EngFont *MWinFonts::GetUserFontFromNum(int number)
{
    if (number < 0 || number >= count)
        return nullptr;
    return FontOf(&fonts[number]);
}

MWinFontC *MWinFonts::GetRecord(int number)
{
    if (number == MWIN_FONT_NUM_DEFAULT)
        return &standard;
    if (number >= 0 && number < count)
        return &fonts[number];
    return nullptr;
}

int MWinFonts::AddFontStyleToFont(int fontNumber, const char *name, float scaleX, float scaleY, float r, float g,
                                  float b, float a)
{
    MWinFontC *record = GetRecord(fontNumber);
    if (!record)
    {
        DebugError(ENG_FUNC, "Bad font num %d (%d)", fontNumber, count);
        return -1;
    }
    if (MWinIsIDEmpty(name) || !(scaleX > 0.0f) || !(scaleY > 0.0f))
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return -1;
    }
    if (record->styleCount == record->styleCapacity)
    {
        int newCapacity = record->styleCapacity ? record->styleCapacity * 2 : 8;
        size_t size = sizeof(_MWinFontStyle) * newCapacity;
        _MWinFontStyle *grown = (_MWinFontStyle *)(record->styles ? EngRealloc(record->styles, size, ENG_FUNC)
                                                                  : EngMalloc(size, ENG_FUNC, true));
        if (!grown)
            return -1;
        record->styles = grown;
        record->styleCapacity = newCapacity;
    }
    _MWinFontStyle *style = &record->styles[record->styleCount];
    memset(style, 0, sizeof *style);
    EngSafeStrcpy(style->name, name, sizeof style->name);
    style->scaleX = scaleX;
    style->scaleY = scaleY;
    style->r = r;
    style->g = g;
    style->b = b;
    style->a = a;
    return record->styleCount++;
}

const _MWinFontStyle *MWinFonts::GetFontStyle(int fontNumber, int styleIndex)
{
    MWinFontC *record = GetRecord(fontNumber);
    if (!record || styleIndex < 0 || styleIndex >= record->styleCount)
        return nullptr;
    return &record->styles[styleIndex];
}

int MWinFonts::GetNumFontStyles(int fontNumber)
{
    MWinFontC *record = GetRecord(fontNumber);
    return record ? record->styleCount : 0;
}

int MWinFonts::GetFontStyleIndex(int fontNumber, const char *name)
{
    MWinFontC *record = GetRecord(fontNumber);
    if (!record || MWinIsIDEmpty(name))
        return -1;
    for (int i = 0; i < record->styleCount; i++)
        if (strcmp(record->styles[i].name, name) == 0)
            return i;
    return -1;
}

bool MWinFonts::CreateFonts()
{
    bool ok = true;
    for (int i = 0; i < count; i++)
        if (MWinIsIDEmpty(fonts[i].id))
            ok = false;
    created = ok;
    return ok;
}

void MWinFonts::DestroyFonts()
{
    for (int i = -1; i < count; i++)
    {
        MWinFontC *record = GetRecord(i);
        if (record->state == 1)
        {
            delete record->ownedFont;
            record->ownedFont = nullptr;
            record->state = 0;
        }
    }
    created = false;
}

void MWinFonts::Clear()
{
    DestroyFonts();
    for (int i = -1; i < count; i++)
        GetRecord(i)->registeredFont = nullptr;
}
