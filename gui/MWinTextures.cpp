// The GUI's textures and texture buttons: registration of image files and recipes, the
// 34 standard slots, loading into the device with the GUI's graphics, and drawing a
// texture button as one, three or nine quads with fixed-size end caps.
#include "MWinTextures.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngGlobals.h"
#include "EngMemory.h"
#include "EngTexture.h"
#include "MWin.h"

MWinTextures::MWinTextures(MWin *ownerPointer) : owner(ownerPointer), loaded(false), textureCount(0), texButCount(0)
{
    if (!owner)
        DebugExitMessage("MWinTextures::MWinTextures", "Internal Error (MWinTextures)");
    memset(textures, 0, sizeof textures);
    texButs = (_MWinTextureButton *)EngMalloc(sizeof(_MWinTextureButton) * MWIN_MAX_TEXTURE_BUTTONS, ENG_FUNC, true);
    for (int &slot : standard)
        slot = -1;
    for (EngTexture *&texture : colourPicker)
        texture = new EngTexture(nullptr, 1);
}

MWinTextures::~MWinTextures()
{
    if (loaded)
        DebugCheck(false, "MWinTextures::~MWinTextures", "Textures still loaded");
    for (_MWinTextureRecord &record : textures)
    {
        delete record.texture;
        record.texture = nullptr;
    }
    for (EngTexture *&texture : colourPicker)
    {
        delete texture;
        texture = nullptr;
    }
    EngFree(texButs, false, ENG_FUNC);
}

// ---- Registration ----------------------------------------------------------------------------

bool MWinTextures::AddTexture(const char *id, const char *file, char loadFlag1, char loadFlag2)
{
    if (MWinIsIDEmpty(file))
    {
        DebugError(ENG_FUNC, "No filename passed in");
        return false;
    }
    if (strlen(file) >= MWIN_FILE_NAME_SIZE)
    {
        DebugError(ENG_FUNC, "Filename too long");
        return false;
    }
    if (textureCount >= MWIN_MAX_TEXTURES)
    {
        DebugError(ENG_FUNC, "Too many textures");
        return false;
    }
    if (!EngFileExists(file, false))
    {
        DebugError(ENG_FUNC, "File does not exist <%s>", file);
        return false;
    }
    _MWinTextureRecord *record = &textures[textureCount];
    memset(record, 0, sizeof *record);
    if (!MWinCopyID(record->id, id ? id : ""))
        return false;
    strcpy(record->file, file);
    record->loadFlag1 = loadFlag1;
    record->loadFlag2 = loadFlag2;
    textureCount++;
    return true;
}

int MWinTextures::GetTextureNum(const char *id)
{
    for (int i = 0; i < textureCount; i++)
        if (MWinIDsEqual(textures[i].id, id))
            return i;
    return -1;
}

EngTexture *MWinTextures::GetTexture(int index)
{
    return index >= 0 && index < textureCount ? textures[index].texture : nullptr;
}

bool MWinTextures::SetTextureButtonState(_MWinTextureButton *button, int state, const char *textureId, float left,
                                         float top, float right, float bottom)
{
    if (!button || MWinIsIDEmpty(textureId) || state < 0 || state >= MWIN_TEXSTATE_COUNT)
    {
        DebugError(ENG_FUNC, "Invalid parameters passed in");
        return false;
    }
    _MWinTextureButtonState *record = &button->states[state];
    record->texture = -1;
    int texture = GetTextureNum(textureId);
    if (texture < 0)
    {
        DebugError(ENG_FUNC, "Texture <%s> does not exist", textureId);
        return false;
    }
    record->texture = texture;
    record->left = left;
    record->top = top;
    record->right = right;
    record->bottom = bottom;
    return true;
}

_MWinTextureButton *MWinTextures::AddTextureButton(const char *id, const char *tex0, float l0, float t0, float r0,
                                                   float b0, const char *tex1, float l1, float t1, float r1, float b1,
                                                   const char *tex2, float l2, float t2, float r2, float b2,
                                                   const char *tex3, float l3, float t3, float r3, float b3)
{
    if (MWinIsIDEmpty(id))
    {
        DebugError(ENG_FUNC, "Invalid ID passed in");
        return nullptr;
    }
    if (!texButs || texButCount >= MWIN_MAX_TEXTURE_BUTTONS)
    {
        DebugError(ENG_FUNC, "Too many texture buttons");
        return nullptr;
    }
    if (GetTexButNum(id) >= 0)
    {
        DebugError(ENG_FUNC, "Texture button alread exits <%s>", id);
        return nullptr;
    }
    _MWinTextureButton *button = &texButs[texButCount];
    memset(button, 0, sizeof *button);
    const char *ids[4] = {tex0, tex1, tex2, tex3};
    const float regions[4][4] = {{l0, t0, r0, b0}, {l1, t1, r1, b1}, {l2, t2, r2, b2}, {l3, t3, r3, b3}};
    for (int state = 0; state < MWIN_TEXSTATE_COUNT; state++)
    {
        button->states[state].texture = -1;
        if (!MWinIsIDEmpty(ids[state]))
            SetTextureButtonState(button, state, ids[state], regions[state][0], regions[state][1], regions[state][2],
                                  regions[state][3]);
    }
    if (!MWinCopyID(button->id, id))
        return nullptr;
    button->styleX = button->styleY = 1;
    button->capSizeX = button->capSizeY = 16.0f;
    texButCount++;
    return button;
}

bool MWinTextures::AddStandardTextureButton(int slot, const char *id, const char *tex0, float l0, float t0, float r0,
                                            float b0, const char *tex1, float l1, float t1, float r1, float b1,
                                            const char *tex2, float l2, float t2, float r2, float b2,
                                            const char *tex3, float l3, float t3, float r3, float b3)
{
    if (!AddTextureButton(id, tex0, l0, t0, r0, b0, tex1, l1, t1, r1, b1, tex2, l2, t2, r2, b2, tex3, l3, t3, r3,
                          b3))
        return false;
    return SetStandardTextureToTexBut(slot, id);
}

bool MWinTextures::SetStandardTextureToTexBut(int slot, const char *id)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugError(ENG_FUNC, "Invalid std tex num %d", slot);
        return false;
    }
    if (MWinIsIDEmpty(id))
    {
        standard[slot] = -1;
        return true;
    }
    int index = GetTexButNum(id);
    if (index < 0)
    {
        DebugError(ENG_FUNC, "Texture Button <%s> does not exist", id);
        return false;
    }
    standard[slot] = index;
    return true;
}

signed char MWinTextures::RemoveStandardTextureButton(int slot)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugError(ENG_FUNC, "Invalid standard texbut num: %d", slot);
        return -1;
    }
    int index = standard[slot];
    if (index < 0 || index >= texButCount)
        return 0;
    texButs[index].id[0] = 0;
    standard[slot] = -1;
    return 1;
}

int MWinTextures::GetStandardTexButNum(int slot)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugError(ENG_FUNC, "Invalid standard texbut num: %d", slot);
        return -1;
    }
    return standard[slot];
}

_MWinTextureButton *MWinTextures::GetStandardTexButID(int slot)
{
    if (slot < 0 || slot >= MWIN_NUM_STD_TEXBUTS)
    {
        DebugError(ENG_FUNC, "Invalid standard texbut num: %d", slot);
        return nullptr;
    }
    return GetTexBut(standard[slot]);
}

int MWinTextures::GetTexButNum(const char *id)
{
    if (MWinIsIDEmpty(id))
        return -1;
    for (int i = 0; i < texButCount; i++)
        if (MWinIDsEqual(texButs[i].id, id))
            return i;
    return -1;
}

_MWinTextureButton *MWinTextures::GetTexBut(int index)
{
    return index >= 0 && index < texButCount ? &texButs[index] : nullptr;
}

bool MWinTextures::SetTexButDrawStyle(const char *id, int styleX, float capFractionX, float capSizeX, int styleY,
                                      float capFractionY, float capSizeY)
{
    _MWinTextureButton *button = GetTexBut(GetTexButNum(id));
    if (!button)
    {
        DebugError(ENG_FUNC, "Texture Button <%s> does not exist", id ? id : "");
        return false;
    }
    button->styleX = styleX;
    button->capFractionX = capFractionX;
    button->capSizeX = capSizeX;
    button->styleY = styleY;
    button->capFractionY = capFractionY;
    button->capSizeY = capSizeY;
    return true;
}

bool MWinTextures::SetTexButDrawExtra(const char *id, float widen, float raise, float lengthen)
{
    _MWinTextureButton *button = GetTexBut(GetTexButNum(id));
    if (!button)
    {
        DebugError(ENG_FUNC, "Texture Button <%s> does not exist", id ? id : "");
        return false;
    }
    button->widen = widen;
    button->raise = raise;
    button->lengthen = lengthen;
    return true;
}

bool MWinTextures::GetTexButDrawExtra(int index, float *widen, float *raise, float *lengthen)
{
    _MWinTextureButton *button = GetTexBut(index);
    if (widen)
        *widen = button ? button->widen : 0.0f;
    if (raise)
        *raise = button ? button->raise : 0.0f;
    if (lengthen)
        *lengthen = button ? button->lengthen : 0.0f;
    return button != nullptr;
}

bool MWinTextures::SetTextureButtonStateColourMultiplier(const char *id, int state, const _ColourRGBA *colour)
{
    if (MWinIsIDEmpty(id))
    {
        DebugError(ENG_FUNC, "Empty texbut ID");
        return false;
    }
    _MWinTextureButton *button = GetTexBut(GetTexButNum(id));
    if (!button)
    {
        DebugError(ENG_FUNC, "Unknown texbut ID <%s>", id);
        return false;
    }
    if (state < 0 || state >= MWIN_TEXSTATE_COUNT)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    _MWinTextureButtonState *record = &button->states[state];
    if (!colour || colour->a <= 0.0f)
    {
        record->multiply = 0;
        return true;
    }
    record->multiply = 1;
    record->r = colour->r;
    record->g = colour->g;
    record->b = colour->b;
    record->a = colour->a;
    return true;
}

bool MWinTextures::SetTextureButtonStateColourMultiplierRGBA(const char *id, int state, float r, float g, float b,
                                                             float a)
{
    _ColourRGBA colour = {r, g, b, a};
    return SetTextureButtonStateColourMultiplier(id, state, &colour);
}

bool MWinTextures::SetStandardTextureButtonStateColourMultiplier(int slot, int state, float r, float g, float b,
                                                                 float a)
{
    _MWinTextureButton *button = GetStandardTexButID(slot);
    if (!button)
        return false;
    return SetTextureButtonStateColourMultiplierRGBA(button->id, state, r, g, b, a);
}

// ---- Device objects ----------------------------------------------------------------------------

bool MWinTextures::CreateTextures()
{
    if (loaded)
    {
        DebugCheck(false, "MWinTextures::CreateTextures", "Textures already loaded");
        DestroyTextures();
    }
    bool ok = true;
    for (int i = 0; i < textureCount; i++)
    {
        _MWinTextureRecord *record = &textures[i];
        delete record->texture;
        char name[MWIN_ID_SIZE];
        snprintf(name, sizeof name, "MWinTextures:%d", i);
        record->texture = new (std::nothrow) EngTexture(name);
        if (!record->texture)
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
            ok = false;
            continue;
        }
        if (!record->texture->LoadFromFileUsingExt(record->file, record->loadFlag1, record->loadFlag2,
                                                   ENG_TEXTURE_EXT_TGA, 0))
        {
            delete record->texture;
            record->texture = nullptr;
            ok = false;
        }
    }
    loaded = ok;
    return ok;
}

void MWinTextures::DestroyTextures()
{
    if (!loaded)
        DebugCheck(false, "MWinTextures::DestroyTextures", "Textures not loaded");
    for (int i = 0; i < textureCount; i++)
    {
        if (textures[i].texture)
            textures[i].texture->Release();
        delete textures[i].texture;
        textures[i].texture = nullptr;
    }
    loaded = false;
}

EngTexture *MWinTextures::GetColourPickerTexture(int index)
{
    return index >= 0 && index < 3 ? colourPicker[index] : nullptr;
}

void MWinTextures::ReleaseColourPickerTextures()
{
    for (EngTexture *texture : colourPicker)
        if (texture)
            texture->Release();
}

// ---- Drawing ----------------------------------------------------------------------------------------

const _MWinTextureButtonState *MWinTextures::DrawableState(int index, int state, EngTexture **texture)
{
    _MWinTextureButton *button = GetTexBut(index);
    if (!button)
        return nullptr;
    if (state < 0 || state >= MWIN_TEXSTATE_COUNT || button->states[state].texture < 0)
        state = 0;
    const _MWinTextureButtonState *record = &button->states[state];
    EngTexture *loadedTexture = GetTexture(record->texture);
    if (!loadedTexture || !loadedTexture->IsLoaded())
        return nullptr;
    *texture = loadedTexture;
    return record;
}

// The colour of every quad: the product of the caller's colour and the state's multiplier.
static void QuadColour(const _MWinTextureButtonState *record, const float *colour, float *out)
{
    out[0] = out[1] = out[2] = out[3] = 1.0f;
    if (colour)
        for (int i = 0; i < 4; i++)
            out[i] = colour[i];
    if (record->multiply)
    {
        out[0] *= record->r;
        out[1] *= record->g;
        out[2] *= record->b;
        out[3] *= record->a;
    }
}

static void DrawPart(EngTexture *texture, const _MWinTextureButtonState *record, const float *colour, float x, float y,
                     float w, float h, float fx0, float fy0, float fx1, float fy1)
{
    if (w <= 0.0f || h <= 0.0f)
        return;
    float du = record->right - record->left, dv = record->bottom - record->top;
    texture->PositionRatioed(x, y, w, h);
    texture->DrawWithTextureCoordinatesAndColourArray(record->left + du * fx0, record->top + dv * fy0,
                                                      record->left + du * fx1, record->top + dv * fy1, colour);
}

bool MWinTextures::DrawTexBut(int index, int state, float x, float y, float w, float h, const float *colour)
{
    EngTexture *texture = nullptr;
    const _MWinTextureButtonState *record = DrawableState(index, state, &texture);
    if (!record)
        return false;
    const _MWinTextureButton *button = &texButs[index];
    if (button->widen != 0.0f)
    {
        x -= button->widen / 2.0f;
        w += button->widen;
    }
    if (button->raise != 0.0f)
    {
        y -= button->raise;
        h += button->raise;
    }
    if (button->lengthen != 0.0f)
        h += button->lengthen;
    float scaleX = EngScreenSettings.widthCorrection > 0.0f ? EngScreenSettings.widthCorrection : 1.0f;
    float scaleY = EngScreenSettings.heightCorrection > 0.0f ? EngScreenSettings.heightCorrection : 1.0f;
    float capW = button->capSizeX * scaleX;
    float capH = button->capSizeY * scaleY;
    bool splitX = button->styleX >= 2 && capW > 0.0f && 2.0f * capW < w;
    bool splitY = button->styleY >= 2 && capH > 0.0f && 2.0f * (capH * 1.333333f) < h;
    if (splitY)
        capH *= 1.333333f;
    int layout = owner ? owner->GetScreenLayout() : 0;
    if (layout == SCREEN_LAYOUT_IPHONE_PORTRAIT || layout == SCREEN_LAYOUT_IPAD_PORTRAIT)
        capW *= 2.4f;
    float quadColour[4];
    QuadColour(record, colour, quadColour);
    float fx = button->capFractionX, fy = button->capFractionY;
    // Columns and rows: (start, size, first fraction, last fraction).
    float columns[3][4], rows[3][4];
    int columnCount = 1, rowCount = 1;
    if (splitX)
    {
        float middle = w - 2.0f * capW;
        const float c[3][4] = {{x, capW, 0, fx}, {x + capW, middle, fx, 1 - fx}, {x + capW + middle, capW, 1 - fx, 1}};
        memcpy(columns, c, sizeof c);
        columnCount = 3;
    }
    else
    {
        const float c[4] = {x, w, 0, 1};
        memcpy(columns[0], c, sizeof c);
    }
    if (splitY)
    {
        float middle = h - 2.0f * capH;
        const float r[3][4] = {{y, capH, 0, fy}, {y + capH, middle, fy, 1 - fy}, {y + capH + middle, capH, 1 - fy, 1}};
        memcpy(rows, r, sizeof r);
        rowCount = 3;
    }
    else
    {
        const float r[4] = {y, h, 0, 1};
        memcpy(rows[0], r, sizeof r);
    }
    for (int row = 0; row < rowCount; row++)
        for (int column = 0; column < columnCount; column++)
            DrawPart(texture, record, quadColour, columns[column][0], rows[row][0], columns[column][1], rows[row][1],
                     columns[column][2], rows[row][2], columns[column][3], rows[row][3]);
    return true;
}

bool MWinTextures::DrawTexBut(int index, int state, const _Dimension *area, const float *colour)
{
    if (!area)
        return false;
    return DrawTexBut(index, state, area->x, area->y, area->w, area->h, colour);
}

bool MWinTextures::DrawTexBut(int index, int state, const _Dimension *area, const float *offset, const float *colour)
{
    if (!area)
        return false;
    float dx = offset ? offset[0] : 0.0f, dy = offset ? offset[1] : 0.0f;
    return DrawTexBut(index, state, area->x + dx, area->y + dy, area->w, area->h, colour);
}

bool MWinTextures::DrawTexButPart(int index, int state, float x, float y, float w, float h, float f0, float f1,
                                  float f2, float f3, const float *colour)
{
    EngTexture *texture = nullptr;
    const _MWinTextureButtonState *record = DrawableState(index, state, &texture);
    if (!record)
        return false;
    float quadColour[4];
    QuadColour(record, colour, quadColour);
    DrawPart(texture, record, quadColour, x, y, w, h, f0, f1, f2, f3);
    return true;
}
