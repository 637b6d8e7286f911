// Bitmap fonts: building from a TrueType file with FreeType (render, pack into sheets,
// blur), measuring, settings and the word-wrapped layout of multi-line text. The sheet
// textures, glyph quads, string drawing and the text drawing state are the DX9 back
// end's part (EngFont_DX9.cpp).
//
// Sections: life cycle, building, measuring and settings, multi-line text.
#include "EngFont.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngMemory.h"
#include "EngTexture.h"
#include "EngVertexBufferDX9.h"
#include "EngGlobals.h"

namespace
{
bool s_logMissingChars = true;

// Rendering resolution of the glyphs (dots per inch, both directions).
constexpr FT_UInt kDpi = 150;
// Rendered bitmaps larger than this are treated as empty.
constexpr int kMaxBitmapSide = 5000;

// Game texts are Windows-1252; FreeType looks characters up by Unicode. Only 0x80-0x9F
// differ from Latin-1 (0 where the code page has no character).
const uint16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

FT_ULong UnicodeOf(int c)
{
    if (c >= 0x80 && c < 0xA0)
        return kCp1252High[c - 0x80];
    return (FT_ULong)c;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// One glyph loaded and turned into a bitmap glyph (the caller frees it with FT_Done_Glyph).
// -1 on failure (reported), 1 otherwise; *glyph NULL when the glyph could not be had.
int LoadBitmapGlyph(FT_Face face, FT_UInt index, int c, FT_Glyph *glyph, const char *function)
{
    *glyph = nullptr;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0)
    {
        DebugError(function, "FT_Load_Glyph failed");
        return -1;
    }
    if (FT_Get_Glyph(face->glyph, glyph) != 0)
    {
        DebugError(function, "FT_Get_Glyph failed");
        *glyph = nullptr;
        return -1;
    }
    if ((*glyph)->format != FT_GLYPH_FORMAT_BITMAP && FT_Glyph_To_Bitmap(glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) != 0)
    {
        // Blanks have no outline to render; that is no failure.
        if (c != 32 && c != 160)
            DebugError(function, "FT_Glyph_To_Bitmap failed");
    }
    return 1;
}

// The rendered bitmap of a glyph when it is usable (both sides 1..5000), else NULL.
const FT_Bitmap *UsableBitmap(FT_Glyph glyph)
{
    if (!glyph || glyph->format != FT_GLYPH_FORMAT_BITMAP)
        return nullptr;
    const FT_Bitmap *bitmap = &((FT_BitmapGlyph)glyph)->bitmap;
    if (bitmap->width < 1 || bitmap->rows < 1 || (int)bitmap->width > kMaxBitmapSide ||
        (int)bitmap->rows > kMaxBitmapSide || !bitmap->buffer)
        return nullptr;
    return bitmap;
}
} // namespace

// The padded cell of a glyph: the bitmap with the border on each side and the shadow's
// room, or 2 x 2 for a glyph without usable bitmap.
static void EngFontGetPaddedGlyphSize(const FT_Bitmap *bitmap, const EngFontGlyphEffects &effects, int *w, int *h)
{
    if (!bitmap)
    {
        *w = *h = 2;
        return;
    }
    *w = (int)bitmap->width + 2 * effects.border + effects.extraWidth;
    *h = (int)bitmap->rows + 2 * effects.border + effects.extraHeight;
}

void EngFontSetLogMissingChars(bool on)
{
    s_logMissingChars = on;
}

// ---- Life cycle -----------------------------------------------------------------------------

EngFont::EngFont()
    : sheetOfChar(nullptr), sheetTextures(nullptr), glyphQuads(nullptr), placements(nullptr), sheetPixels(nullptr),
      cells(nullptr)
{
    memset(&effects, 0, sizeof(effects));
    Reset();
}

EngFont::~EngFont()
{
    Destroy();
}

void EngFont::SetGlyphEffects(const EngFontGlyphEffects *newEffects)
{
    if (newEffects)
        effects = *newEffects;
    else
        memset(&effects, 0, sizeof(effects));
}

void EngFont::Destroy()
{
    EngFree(sheetOfChar, false, ENG_FUNC);
    EngFree(placements, false, ENG_FUNC);
    EngFree(cells, false, ENG_FUNC);
    if (sheetTextures)
    {
        for (int i = 0; i < sheetCount; i++)
            delete sheetTextures[i];
        EngFree(sheetTextures, false, ENG_FUNC);
    }
    delete[] glyphQuads;
    EngFree(sheetPixels, false, ENG_FUNC);
    sheetOfChar = nullptr;
    placements = nullptr;
    cells = nullptr;
    sheetTextures = nullptr;
    glyphQuads = nullptr;
    sheetPixels = nullptr;
    Reset();
}

// ---- Building ---------------------------------------------------------------------------------

bool EngFont::IsWanted(int c, const char *needed, int neededCount) const
{
    return !needed || c >= neededCount || needed[c] != 0;
}

void EngFont::ReleaseGlyph(int c)
{
    if (glyphQuads && c >= 0 && c < charCount)
        glyphQuads[c].Release();
}

bool EngFont::AllocSheetPart(int cellW, int cellH, int *outX, int *outY, bool counting)
{
    const int gap = effects.border + 2, size = sheetSize;
    // A cell wider or taller than a sheet would be written past the sheet's pixels.
    if (gap + cellW > size || gap + cellH > size)
        return false;
    if (sheetsOpened > 0)
    {
        if (penX + cellW <= size && penY + cellH <= size)
        {
            *outX = penX;
            *outY = penY;
            penX += cellW + gap;
            rowHeight = std::max(rowHeight, cellH);
            return true;
        }
        if (penX + cellW > size)
        {
            penX = gap;
            penY += rowHeight + gap;
            rowHeight = cellH;
            if (penY + cellH <= size)
            {
                *outX = gap;
                *outY = penY;
                penX = cellW + 2 * gap;
                return true;
            }
        }
    }
    penX = cellW + 2 * gap;
    penY = gap;
    rowHeight = cellH;
    if (!counting)
    {
        if (!sheetPixels)
        {
            DebugError(ENG_FUNC, "Sheet data not created (%d)", sheetsOpened);
            return false;
        }
        if (sheetsOpened > 0)
            CopySheetDataToTexture(sheetsOpened - 1);
        memset(sheetPixels, 0, (size_t)size * (size_t)size * (twoChannels ? 2 : 1));
    }
    sheetsOpened++;
    *outX = gap;
    *outY = gap;
    return true;
}

char EngFont::CreateFromFontFile(const char *file, char hasTwoChannels, int ignored, int size, int minChar,
                                 int maxChar, const char *needed, int neededCount, float f1, float f2, float f3,
                                 float f4, float f5, float f6, float f7, float f8, char finishQuads)
{
    if (!file || !file[0])
    {
        DebugError(ENG_FUNC, "No font file name specified");
        return 0;
    }
    if (created)
    {
        DebugError(ENG_FUNC, "FD already setup");
        return 0;
    }
    if (minChar < 0 || maxChar < minChar)
    {
        DebugError(ENG_FUNC, "Bad min_char_needed [%d]", minChar);
        return 0;
    }
    if (maxChar < 32 || maxChar > 255)
    {
        DebugError(ENG_FUNC, "Bad max_char_needed [%d]", maxChar);
        return 0;
    }
    if (size < 8 || size > sheetSize)
    {
        DebugError(ENG_FUNC, "Bad max bitmap size [%d]", size);
        return 0;
    }
    if (hasTwoChannels != 0 && hasTwoChannels != 1)
    {
        DebugError(ENG_FUNC, "Bad has_two_channels [%d]", (int)hasTwoChannels);
        return 0;
    }
    bool dx9 = EngDeviceGetMainType() == ENG_DEVICE_DX9;
    if (dx9 && !EngMainDevice)
    {
        DebugError(ENG_FUNC, "No directx9 device");
        return 0;
    }
    if (!finishQuads)
        DebugError(ENG_FUNC, "normal polygon order not finished");
    charCount = maxChar + 1;

    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0)
    {
        DebugError(ENG_FUNC, "FT_Init_FreeType Failed");
        return 0;
    }
    // Everything made from here on is let go through one exit.
    bool ok = false;
    do
    {
        if (!EngFileExists(file, false))
        {
            DebugError(ENG_FUNC, "Could not find file <%s>", file);
            break;
        }
        if (FT_New_Face(library, file, 0, &face) != 0)
        {
            DebugError(ENG_FUNC, "Problem loading font <%s>", file);
            face = nullptr;
            break;
        }
        twoChannels = (uint8_t)hasTwoChannels;
        lineHeight = (float)size * f2 + f4;
        faceHeight = face->height;
        FT_Set_Char_Size(face, size * 64, size * 64, kDpi, kDpi);

        sheetOfChar = (int32_t *)EngMalloc(sizeof(int32_t) * (size_t)charCount, ENG_FUNC, false);
        cells = (int32_t(*)[4])EngMalloc(sizeof(int32_t[4]) * (size_t)charCount, ENG_FUNC, true);
        if (!sheetOfChar || !cells)
        {
            DebugError(ENG_FUNC, "No memory for sheet number list");
            break;
        }
        for (int c = 0; c < charCount; c++)
            sheetOfChar[c] = -1;

        // Counting pass: how many sheets the wanted glyphs take.
        sheetsOpened = penX = penY = rowHeight = 0;
        bool counted = true;
        for (int c = minChar; c <= maxChar && counted; c++)
        {
            FT_UInt index = IsWanted(c, needed, neededCount) ? FT_Get_Char_Index(face, UnicodeOf(c)) : 0;
            if (!index)
                continue;
            FT_Glyph glyph;
            if (LoadBitmapGlyph(face, index, c, &glyph, ENG_FUNC) < 0)
            {
                counted = false;
                break;
            }
            int cellW, cellH, x, y;
            EngFontGetPaddedGlyphSize(UsableBitmap(glyph), effects, &cellW, &cellH);
            FT_Done_Glyph(glyph);
            if (!AllocSheetPart(cellW, cellH, &x, &y, true))
            {
                DebugError(ENG_FUNC, "Glyph %d of %d x %d does not fit a %d x %d sheet", c, cellW, cellH, sheetSize,
                           sheetSize);
                counted = false;
            }
        }
        if (!counted)
            break;
        sheetCount = sheetsOpened;
        if (sheetCount < 1)
        {
            DebugError(ENG_FUNC, "No sheets");
            break;
        }

        if (dx9)
        {
            sheetTextures = (EngTexture **)EngMalloc(sizeof(EngTexture *) * (size_t)sheetCount,
                                                     "EngFont::CreateFromFontFile", true);
            if (!sheetTextures)
            {
                DebugError(ENG_FUNC, "No memory for texture list");
                break;
            }
            glyphQuads = new (std::nothrow) EngVertexBufferDX9[charCount];
            placements = (_EngFontGlyphPlacement *)EngMalloc(sizeof(_EngFontGlyphPlacement) * (size_t)charCount,
                                                             ENG_FUNC, true);
            if (!glyphQuads || !placements)
            {
                DebugError(ENG_FUNC, "No memory for trans list");
                break;
            }
        }
        sheetPixels = (uint8_t *)EngMalloc((size_t)sheetSize * (size_t)sheetSize * (twoChannels ? 2 : 1), ENG_FUNC,
                                           true);
        if (!sheetPixels)
        {
            DebugError(ENG_FUNC, "Could not create sheet data");
            break;
        }
        sheetsOpened = penX = penY = rowHeight = 0;

        // Building pass.
        for (int c = minChar; c <= maxChar; c++)
        {
            if (!IsWanted(c, needed, neededCount))
            {
                sheetOfChar[c] = -1;
                ReleaseGlyph(c);
                continue;
            }
            int result = ParseLetter(face, c, f1, f2, f3);
            if (result < 0)
            {
                DebugError(ENG_FUNC, "EngFont::ParseLetter Failed <%d - %c>", c, (char)c);
                sheetOfChar[c] = -1;
                ReleaseGlyph(c);
            }
            else if (result == 0)
                ReleaseGlyph(c);
        }
        if (sheetsOpened > 0)
            CopySheetDataToTexture(sheetsOpened - 1);
        ok = true;
    } while (false);

    EngFree(sheetPixels, false, ENG_FUNC);
    sheetPixels = nullptr;
    if (face)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    if (!ok)
    {
        Destroy();
        return 0;
    }
    scaleX = scaleY = 1.0f;
    scaled = 0;
    colourR = colourG = colourB = colourA = 1.0f;
    coloured = 0;
    created = 1;
    return 1;
}

int EngFont::ParseLetter(void *facePointer, int c, float f1, float f2, float f3)
{
    FT_Face face = (FT_Face)facePointer;
    FT_UInt index = FT_Get_Char_Index(face, UnicodeOf(c));
    if (!index)
    {
        if (s_logMissingChars)
            DebugInfoInFunction(ENG_FUNC, "EngFont::ParseLetter - No char at %d", c);
        return 0;
    }
    FT_Glyph glyph;
    if (LoadBitmapGlyph(face, index, c, &glyph, ENG_FUNC) < 0)
    {
        if (glyph)
            FT_Done_Glyph(glyph);
        return -1;
    }
    const FT_Bitmap *bitmap = UsableBitmap(glyph);
    int cellW, cellH;
    EngFontGetPaddedGlyphSize(bitmap, effects, &cellW, &cellH);
    int channels = twoChannels ? 2 : 1;
    uint8_t *cell = (uint8_t *)EngMalloc((size_t)cellW * (size_t)cellH * (size_t)channels, ENG_FUNC, true);
    if (!cell)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        FT_Done_Glyph(glyph);
        return -1;
    }
    if (bitmap)
    {
        const int border = effects.border, dx = effects.extraWidth, dy = effects.extraHeight;
        auto put = [&](int x, int y, int channel, int value) {
            if (x >= 0 && y >= 0 && x < cellW && y < cellH)
                cell[((size_t)y * cellW + x) * channels + channel] = (uint8_t)value;
        };
        auto coverage = [&](int col, int row) {
            return (int)bitmap->buffer[(size_t)row * (size_t)std::abs(bitmap->pitch) + col];
        };
        const int w = (int)bitmap->width, h = (int)bitmap->rows;
        if (dx == 0 && dy == 0)
        {
            for (int row = 0; row < h; row++)
                for (int col = 0; col < w; col++)
                    for (int channel = 0; channel < channels; channel++)
                        put(border + col, border + row, channel, coverage(col, row));
        }
        else if (channels == 1)
        {
            for (int row = 0; row < h; row++)
                for (int col = 0; col < w; col++)
                    put(border + dx + col, border + dy + row, 0,
                        std::clamp((int)((float)coverage(col, row) * effects.shadowFactor0), 0, 255));
            for (int row = 0; row < h; row++)
                for (int col = 0; col < w; col++)
                    if (coverage(col, row) >= 128)
                        put(border + col, border + row, 0, coverage(col, row));
        }
        else
        {
            for (int row = 0; row < h; row++)
                for (int col = 0; col < w; col++)
                {
                    int v = coverage(col, row);
                    put(dx + col, dy + row, 0, std::clamp((int)((float)v * effects.shadowFactor0), 0, 255));
                    put(dx + col, dy + row, 1, std::clamp((int)((float)v * effects.shadowFactor1), 0, 255));
                }
            for (int row = 0; row < h; row++)
                for (int col = 0; col < w; col++)
                    if (coverage(col, row) >= 128)
                    {
                        put(col, row, 0, coverage(col, row));
                        put(col, row, 1, coverage(col, row));
                    }
        }
    }
    int advance = (int)(face->glyph->advance.x >> 6);
    advanceWidths[c] = f1 * (float)advance;
    int left = 0, top = 0;
    if (glyph->format == FT_GLYPH_FORMAT_BITMAP)
    {
        left = ((FT_BitmapGlyph)glyph)->left;
        top = ((FT_BitmapGlyph)glyph)->top;
    }
    bool built = true;
    if (EngDeviceGetMainType() == ENG_DEVICE_DX9)
        built = CreateTextureFromData_DX9(c, cellW, cellH, cell, left, top, advance, f1, f2, f3);
    EngFree(cell, false, ENG_FUNC);
    FT_Done_Glyph(glyph);
    return built ? 1 : -1;
}

// ---- Measuring and settings ----------------------------------------------------------------------

float EngFont::GetStringWidth(const char *text) const
{
    if (!created || !text)
        return 0.0f;
    float width = 0.0f;
    for (const char *p = text; *p; p++)
        width += advanceWidths[(uint8_t)*p];
    return width * EffectiveScaleX();
}

float EngFont::GetHeight(bool useScale) const
{
    if (!created)
        return 0.0f;
    return useScale ? lineHeight * EffectiveScaleY() : lineHeight;
}

float EngFont::GetCharWidth(unsigned char c) const
{
    return created ? advanceWidths[c] : 0.0f;
}

float EngFont::GetAlignedY(float y, char verticalAlignment) const
{
    if (!created || EngDeviceGetMainType() != ENG_DEVICE_DX9)
        return 0.0f;
    float height = GetHeight(true);
    if (verticalAlignment == 2)
        return y - height;
    if (verticalAlignment == 1)
        return y - height / 2.0f;
    return y;
}

void EngFont::SetScale(float sx, float sy)
{
    if (!created)
        return;
    scaleX = sx;
    scaleY = sy;
    scaled = !(sx == 1.0f && sy == 1.0f) && sx != 0.0f && sy != 0.0f;
}

void EngFont::SetScaleAspectCorrected(float sx, float sy)
{
    SetScale(sx * EngScreenSettings.widthCorrection, sy);
}

void EngFont::SetScaleFromVector(const _Vector2d *scale)
{
    if (!created)
        return;
    if (!scale)
    {
        scaleX = scaleY = 1.0f;
        scaled = 0;
        return;
    }
    SetScale(scale->x, scale->y);
}

void EngFont::SetScaleFromVectorAspectCorrected(const _Vector2d *scale)
{
    if (!created)
        return;
    if (!scale)
        SetScaleFromVector(nullptr);
    else
        SetScaleAspectCorrected(scale->x, scale->y);
}

void EngFont::GetScaleVector(_Vector2d *out) const
{
    if (created && out)
        *out = {scaleX, scaleY};
}

void EngFont::GetScale(float *sx, float *sy) const
{
    if (!created)
        return;
    if (sx)
        *sx = scaleX;
    if (sy)
        *sy = scaleY;
}

void EngFont::SetColourRGBA(const _ColourRGBA *colour)
{
    if (!created || !colour)
        return;
    colourR = colour->r;
    colourG = colour->g;
    colourB = colour->b;
    colourA = colour->a;
    coloured = 1;
}

void EngFont::SetColour(float r, float g, float b, float a)
{
    if (!created)
        return;
    if (r >= 0.0f)
        colourR = r;
    if (g >= 0.0f)
        colourG = g;
    if (b >= 0.0f)
        colourB = b;
    if (a >= 0.0f)
        colourA = a;
    coloured = 1;
}

void EngFont::GetColour(_ColourRGBA *out) const
{
    if (!created || !out)
        return;
    if (coloured)
        *out = {colourR, colourG, colourB, colourA};
    else
        *out = {1.0f, 1.0f, 1.0f, 1.0f};
}

float EngFont::SetCursorCharIndex(int index)
{
    if (!created)
        return 0.0f;
    cursorIndex = index;
    return cursorX;
}

void EngFont::SetRightClip(bool on, float offset)
{
    if (!created)
        return;
    clipOn = on ? 1 : 0;
    clipOffset = offset;
}

int EngFont::GetSheetOfChar(int c) const
{
    if (!sheetOfChar || c < 0 || c >= charCount)
        return -1;
    return sheetOfChar[c];
}

EngTexture *EngFont::GetSheetTexture(int sheet) const
{
    if (!sheetTextures || sheet < 0 || sheet >= sheetCount)
        return nullptr;
    return sheetTextures[sheet];
}

const _EngFontGlyphPlacement *EngFont::GetPlacement(int c) const
{
    if (!placements || c < 0 || c >= charCount)
        return nullptr;
    return &placements[c];
}

bool EngFont::GetGlyphCell(int c, int *x, int *y, int *w, int *h) const
{
    if (GetSheetOfChar(c) < 0 || !cells)
        return false;
    *x = cells[c][0];
    *y = cells[c][1];
    *w = cells[c][2];
    *h = cells[c][3];
    return true;
}

EngVertexBufferDX9 *EngFont::GetGlyphQuad(int c) const
{
    if (!glyphQuads || c < 0 || c >= charCount)
        return nullptr;
    return &glyphQuads[c];
}

// ---- Multi-line text -----------------------------------------------------------------------------

void EngFont::DrawLine(float x, float y, char hAlign, char vAlign, const char *line, int length)
{
    // With left alignment a leading blank from the word wrap is not drawn.
    if (hAlign == 0 && length > 0 && line[0] == ' ')
    {
        line++;
        length--;
    }
    if (length <= 0)
        return;
    char small[256];
    char *copy = length < (int)sizeof(small) ? small : (char *)EngMalloc((size_t)length + 1, ENG_FUNC, false);
    if (!copy)
        return;
    memcpy(copy, line, (size_t)length);
    copy[length] = 0;
    DrawString(x, y, hAlign, vAlign, copy, 0);
    if (copy != small)
        EngFree(copy, false, ENG_FUNC);
}

void EngFont::DrawMultilineText(float x, float y, float width, float height, char hAlign, char vAlign,
                                const char *text, char draw, int firstLine, float *outWidth, float *outHeight,
                                int *outLines, char *outAllFitted)
{
    float widest = 0.0f, penY = y;
    int lines = 0;
    bool done = true;
    auto report = [&](float w, float h, int count, bool all) {
        if (outWidth)
            *outWidth = w;
        if (outHeight)
            *outHeight = h;
        if (outLines)
            *outLines = count;
        if (outAllFitted)
            *outAllFitted = all ? 1 : 0;
    };
    if (!created || !text)
    {
        report(0.0f, 0.0f, 0, true);
        return;
    }
    const float sx = EffectiveScaleX(), lineStep = lineHeight * EffectiveScaleY();
    const int length = (int)strlen(text);
    if (length == 0 || (length == 1 && IsBlank(text[0])))
    {
        report(0.0f, lineStep, 1, true);
        return;
    }
    auto advance = [&](int k) {
        if (k >= length || IsBlank(text[k]) || text[k] == '\n')
            return 0.0f;
        return advanceWidths[(uint8_t)text[k]] * sx;
    };
    int position = 0, lineIndex = 0;
    while (position < length)
    {
        if (y + height - lineStep < penY)
        {
            done = false;
            break;
        }
        // Every line takes at least one character, so the walk always ends, however
        // narrow the box.
        int start = position, end = length, resume = length;
        float lineWidth = 0.0f;
        for (int i = start; i < length; i++)
        {
            if (text[i] == '\n')
            {
                end = i;
                resume = i + 1;
                break;
            }
            if (i > start && lineWidth + advance(i) + advance(i + 1) >= width)
            {
                end = resume = i;
                if (!IsBlank(text[i]))
                {
                    int blank = i - 1;
                    while (blank > start && !IsBlank(text[blank]))
                        blank--;
                    if (blank > start)
                    {
                        end = blank;
                        resume = blank + 1;
                    }
                }
                break;
            }
            lineWidth += advanceWidths[(uint8_t)text[i]] * sx;
        }
        if (lineIndex >= firstLine)
        {
            if (draw && end > start)
                DrawLine(x, penY, hAlign, vAlign, text + start, end - start);
            float measured = 0.0f;
            for (int i = start; i < end; i++)
                measured += advanceWidths[(uint8_t)text[i]] * sx;
            widest = std::max(widest, measured);
            lines++;
            penY += lineSpacing != 0.0f ? lineSpacing : lineStep;
        }
        lineIndex++;
        position = resume;
    }
    report(widest, penY - y, lines, done && position >= length);
}
