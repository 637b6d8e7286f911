// The GUI's registry of image files and texture buttons: a texture button is a named
// recipe for drawing a background from a region of a registered texture, one region and
// colour per draw state, drawn as one quad, three parts along either axis or nine parts.
// 34 standard slots name the texture buttons the toolkit itself draws with.
#pragma once
#include <cstdint>

#include "MWinTypes.h"

enum
{
    MWIN_MAX_TEXTURES = 64,
    MWIN_MAX_TEXTURE_BUTTONS = 256,
    MWIN_NUM_STD_TEXBUTS = 34,
};

// The standard slots.
enum
{
    MWIN_STD_WIN_BACK = 0,
    MWIN_STD_WIN_TITLE = 1,
    MWIN_STD_BUTTON_HIDE = 2,
    MWIN_STD_BUTTON_BACK = 3,
    MWIN_STD_NONE_4 = 4,
    MWIN_STD_LEFT_ARROW = 5,
    MWIN_STD_RIGHT_ARROW = 6,
    MWIN_STD_UP_ARROW = 7,
    MWIN_STD_DOWN_ARROW = 8,
    MWIN_STD_SCROLL_BUTTON = 9,
    MWIN_STD_SCROLL_BACK = 10,
    MWIN_STD_VSCROLL_BUTTON = 11,
    MWIN_STD_VSCROLL_BACK = 12,
    MWIN_STD_LIST_OPEN_MAIN = 13,
    MWIN_STD_LIST_OPEN_TOP = 14,
    MWIN_STD_LIST_OPEN_BOT = 15,
    MWIN_STD_LIST_OPEN_SEL = 16,
    MWIN_STD_CHECK_BUTTON = 17,
    MWIN_STD_UNCHECK_BUTTON = 18,
    MWIN_STD_TAB_HEADING = 19,
    MWIN_STD_TAB_VERT_DIV = 20,
    MWIN_STD_TAB_ROW_BACK1 = 21,
    MWIN_STD_TAB_ROW_BACK2 = 22,
    MWIN_STD_TAB_ROW_SEL = 23,
    MWIN_STD_TAB_ROW_EMPTY = 24,
    MWIN_STD_BACK_HEADING = 25,
    MWIN_STD_BACK_MAIN = 26,
    MWIN_STD_PUSH_BUTTON = 27,
    MWIN_STD_TEXT_EDIT = 28,
    MWIN_STD_CHOICE = 29,
    MWIN_STD_PANEL = 30,
    MWIN_STD_BLACK = 31,
    MWIN_STD_WHITE = 32,
    MWIN_STD_NONE_33 = 33,
};

struct _MWinTextureButtonState
{
    int32_t texture;          // index of a registered texture, -1 none
    float left, top, right, bottom; // texture coordinates 0..1
    uint8_t multiply;         // the colour multiplier applies
    float r, g, b, a;
};

struct _MWinTextureButton
{
    char id[MWIN_ID_SIZE];    // empty: removed
    _MWinTextureButtonState states[MWIN_TEXSTATE_COUNT];
    int32_t styleX, styleY;   // 1 or less one piece, 2 or more three parts
    float capFractionX, capFractionY; // share of the region one end cap takes
    float capSizeX, capSizeY; // on-screen size of an end cap, design units
    float widen, raise, lengthen; // draw extra
};

struct _MWinTextureRecord
{
    char id[MWIN_ID_SIZE];
    char file[MWIN_FILE_NAME_SIZE];
    char loadFlag1, loadFlag2;
    EngTexture *texture;      // owned; NULL while not loaded
};

class MWinTextures
{
public:
    explicit MWinTextures(MWin *owner);
    ~MWinTextures();
    MWinTextures(const MWinTextures &) = delete;
    MWinTextures &operator=(const MWinTextures &) = delete;

    // ---- Registration ----
    bool AddTexture(const char *id, const char *file, char loadFlag1, char loadFlag2);
    // Four states, each a texture id (empty: none) and its region.
    _MWinTextureButton *AddTextureButton(const char *id, const char *tex0, float l0, float t0, float r0, float b0,
                                         const char *tex1, float l1, float t1, float r1, float b1, const char *tex2,
                                         float l2, float t2, float r2, float b2, const char *tex3, float l3, float t3,
                                         float r3, float b3);
    bool SetTextureButtonState(_MWinTextureButton *button, int state, const char *textureId, float left, float top,
                               float right, float bottom);
    bool AddStandardTextureButton(int slot, const char *id, const char *tex0, float l0, float t0, float r0, float b0,
                                  const char *tex1, float l1, float t1, float r1, float b1, const char *tex2,
                                  float l2, float t2, float r2, float b2, const char *tex3, float l3, float t3,
                                  float r3, float b3);
    bool SetStandardTextureToTexBut(int slot, const char *id);
    // 1 removed, 0 the slot held nothing, -1 a bad slot.
    signed char RemoveStandardTextureButton(int slot);
    int GetStandardTexButNum(int slot);
    _MWinTextureButton *GetStandardTexButID(int slot);
    int GetTexButNum(const char *id);
    _MWinTextureButton *GetTexBut(int index);
    int GetNumTexButs() const { return texButCount; }
    int GetNumTextures() const { return textureCount; }
    int GetTextureNum(const char *id);
    EngTexture *GetTexture(int index);
    bool SetTexButDrawStyle(const char *id, int styleX, float capFractionX, float capSizeX, int styleY,
                            float capFractionY, float capSizeY);
    bool SetTexButDrawExtra(const char *id, float widen, float raise, float lengthen);
    bool GetTexButDrawExtra(int index, float *widen, float *raise, float *lengthen);
    bool SetTextureButtonStateColourMultiplier(const char *id, int state, const _ColourRGBA *colour);
    bool SetTextureButtonStateColourMultiplierRGBA(const char *id, int state, float r, float g, float b, float a);
    bool SetStandardTextureButtonStateColourMultiplier(int slot, int state, float r, float g, float b, float a);

    // ---- Device objects ----
    bool CreateTextures();
    void DestroyTextures();
    bool AreTexturesLoaded() const { return loaded; }
    // The colour picker's three textures (made with the registry).
    EngTexture *GetColourPickerTexture(int index);
    void ReleaseColourPickerTextures();

    // ---- Drawing (design units) ----
    bool DrawTexBut(int index, int state, float x, float y, float w, float h, const float *colour);
    bool DrawTexBut(int index, int state, const _Dimension *area, const float *colour);
    bool DrawTexBut(int index, int state, const _Dimension *area, const float *offset, const float *colour);
    // One quad showing the sub-region (f0, f1)-(f2, f3) in fractions of the state's region.
    bool DrawTexButPart(int index, int state, float x, float y, float w, float h, float f0, float f1, float f2,
                        float f3, const float *colour);

private:
    // The state to draw (state 0 for one without texture) and its loaded texture.
    const _MWinTextureButtonState *DrawableState(int index, int state, EngTexture **texture);

    MWin *owner;
    bool loaded;
    _MWinTextureRecord textures[MWIN_MAX_TEXTURES];
    int32_t textureCount;
    _MWinTextureButton *texButs; // MWIN_MAX_TEXTURE_BUTTONS records
    int32_t texButCount;
    int32_t standard[MWIN_NUM_STD_TEXBUTS];
    EngTexture *colourPicker[3];
};
