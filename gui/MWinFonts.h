// The GUI's font registry: text styles and windows name fonts by string id; the registry
// turns an id into a small font number once and the number into the program's EngFont
// whenever text is measured or drawn. Registered fonts belong to the program.
#pragma once
#include <cstdint>

#include "MWinTypes.h"

class EngFont;

#define MWIN_STANDARD_FONT_ID "MWIN_STANDARD_FONT"

// One named text style of a font.
struct _MWinFontStyle
{
    char name[MWIN_ID_SIZE];
    float scaleX, scaleY;
    float r, g, b, a;
};

// One font record: its position in the registry is its font number.
struct MWinFontC
{
    char id[MWIN_ID_SIZE];   // empty: a free record
    EngFont *ownedFont;      // built by the registry (never in this program)
    EngFont *registeredFont; // handed in by the program, not owned
    uint8_t state;           // 0 empty, 1 owned font, 2 registered font
    _MWinFontStyle *styles;
    int32_t styleCount;
    int32_t styleCapacity;
};

class MWinFonts
{
public:
    explicit MWinFonts(MWin *owner);
    ~MWinFonts();
    MWinFonts(const MWinFonts &) = delete;
    MWinFonts &operator=(const MWinFonts &) = delete;

    // Registers a font the program owns; the font number, or -2 after a report.
    int AddUserFontPointer(const char *id, EngFont *font);
    // -2 for an empty id (quietly), "MWIN_FONT_NONE" or an unknown id; -1 for
    // "MWIN_FONT_DEFAULT"; else the user font's number.
    int GetFontNumFromID(const char *id);
    EngFont *GetUserFont(const char *id, bool report);
    // -1 the standard font, 0 and up a user font; NULL otherwise.
    EngFont *GetFont(int number);
    EngFont *GetUserFontFromNum(int number);
    int GetNumUserFonts() const { return count; }
    bool AreFontsCreated() const { return created; }
    // The style's index in the font's list, or -1 after a report.
    int AddFontStyleToFont(int fontNumber, const char *name, float scaleX, float scaleY, float r, float g, float b,
                           float a);
    // Styles of a font (-1 the standard font); NULL for a bad number.
    const _MWinFontStyle *GetFontStyle(int fontNumber, int styleIndex);
    int GetNumFontStyles(int fontNumber);
    // The style by name (exact); -1 when the font has none of that name.
    int GetFontStyleIndex(int fontNumber, const char *name);
    bool CreateFonts();
    void DestroyFonts();
    void Clear();

private:
    int AddFontPointer(const char *id, EngFont *font);
    MWinFontC *GetRecord(int number);
    bool Grow();

    MWin *owner;
    bool created;
    MWinFontC *fonts;
    int32_t count;
    int32_t capacity;
    MWinFontC standard;
};
