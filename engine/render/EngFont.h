// Bitmap fonts built from TrueType files: at graphics-object creation FreeType renders
// every wanted character once, the glyphs (optionally with a blurred drop shadow in a
// second channel) are packed into 512x512 sheet textures, and every character gets a
// textured quad. Text is drawn glyph by glyph along a pen in the text drawing state
// (orthographic projection over the 640x480 design space or the screen's pixels,
// colour from the material). Measuring, alignment, scale, colour, a cursor position for
// text fields and word-wrapped multi-line text complete it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "EngTypes.h"

class EngTexture;
class EngVertexBufferDX9;

// Glyph effects, read when the font is built; all zero gives plain glyphs.
struct EngFontGlyphEffects
{
    int32_t border;        // space on each side of a glyph cell; cells sit border + 2 apart
    int32_t extraWidth;    // added to the cell, and the shadow's x offset
    int32_t extraHeight;   // added to the cell, and the shadow's y offset
    float shadowFactor0;   // shadow brightness of channel 0
    float shadowFactor1;   // shadow opacity of channel 1
    int32_t blurPasses0;   // blur passes over channel 0 (the only one of a one-channel font)
    int32_t blurPasses1;   // blur passes over channel 1
    int32_t unused[9];
};
static_assert(sizeof(EngFontGlyphEffects) == 64, "16 four-byte values");

// Where a glyph's quad goes relative to the pen, and how far the pen moves (design units).
struct _EngFontGlyphPlacement
{
    float offsetX, offsetY, advance;
};

// Text drawing modes: screen pixels, the 640x480 design space, or matrices untouched.
enum
{
    ENG_FONT_RATIO_SCREEN = 0,
    ENG_FONT_RATIO_DESIGN = 1,
    ENG_FONT_RATIO_PURE = 2,
};

enum
{
    ENG_FONT_SHEET_SIZE = 512,
    ENG_FONT_MAX_CHARS = 256,
};

class EngFont
{
public:
    EngFont();
    ~EngFont();
    EngFont(const EngFont &) = delete;
    EngFont &operator=(const EngFont &) = delete;

    // ---- Building ----
    void Reset();
    // NULL: all zero.
    void SetGlyphEffects(const EngFontGlyphEffects *effects);
    // Renders characters minChar..maxChar (those with needed[c] set, when `needed` is
    // given) at `size` points, 150 dpi. f1, f2: x and y scale from rendered pixels to
    // drawing units; f3: vertical glyph offset; f4: added to the line height; f5-f8 are
    // not used. finishQuads must be 1. 1 done, 0 failed (the font stays not created).
    char CreateFromFontFile(const char *file, char hasTwoChannels, int ignored, int size, int minChar, int maxChar,
                            const char *needed, int neededCount, float f1, float f2, float f3, float f4, float f5,
                            float f6, float f7, float f8, char finishQuads);
    void Destroy();
    bool IsCreated() const { return created != 0; }

    // ---- Measuring and settings ----
    float GetStringWidth(const char *text) const;
    float GetHeight(bool scaled) const;
    float GetCharWidth(unsigned char c) const;
    // y moved up by the (scaled) line height for alignment 2 (bottom), half of it for 1.
    float GetAlignedY(float y, char verticalAlignment) const;
    // Scaled unless both are exactly 1; a 0 keeps the values but leaves the font unscaled.
    void SetScale(float sx, float sy);
    void SetScaleAspectCorrected(float sx, float sy);
    // NULL: 1, 1 and not scaled.
    void SetScaleFromVector(const _Vector2d *scale);
    void SetScaleFromVectorAspectCorrected(const _Vector2d *scale);
    void GetScaleVector(_Vector2d *out) const;
    void GetScale(float *sx, float *sy) const;
    void SetColourRGBA(const _ColourRGBA *colour);
    // Components below 0 keep their stored value.
    void SetColour(float r, float g, float b, float a);
    // 1, 1, 1, 1 when not coloured.
    void GetColour(_ColourRGBA *out) const;
    // -1: none. Answers the cursor x the previous draw measured.
    float SetCursorCharIndex(int index);
    // Characters whose pen position is left of `offset` are measured but not drawn.
    void SetRightClip(bool on, float offset);
    void SetLineSpacing(float spacing) { lineSpacing = spacing; }

    // ---- Drawing (inside a scene, in the text drawing state) ----
    // count 0 draws the whole text; limit > 0 stops at that pen position. Answers the
    // end x.
    float DrawStringPart(float x, float y, const char *text, int count, float limit);
    // hAlign: 0 left, 1 centre, 2 right; autoPrepare wraps the draw in the text state.
    float DrawStringAligned(float x, float y, char hAlign, const char *text, int count, float limit,
                            char autoPrepare);
    // vAlign: 0 top, 1 centre, 2 bottom.
    float DrawStringEx(float x, float y, char hAlign, char vAlign, const char *text, int count, float limit,
                       char autoPrepare);
    float DrawString(float x, float y, char hAlign, char vAlign, const char *text, char autoPrepare);
    // Word-wrapped text in the box (x, y, width, height) from line firstLine on; with
    // draw 0 it only measures. Every output is optional.
    void DrawMultilineText(float x, float y, float width, float height, char hAlign, char vAlign, const char *text,
                           char draw, int firstLine, float *outWidth, float *outHeight, int *outLines,
                           char *outAllFitted);

    // ---- For tests and the DX9 back end ----
    int GetSheetCount() const { return sheetCount; }
    int GetCharCount() const { return charCount; }
    // The sheet a character is on, -1 for none.
    int GetSheetOfChar(int c) const;
    EngTexture *GetSheetTexture(int sheet) const;
    const _EngFontGlyphPlacement *GetPlacement(int c) const;
    // The glyph cell's place on its sheet (pixels); false for a character without glyph.
    bool GetGlyphCell(int c, int *x, int *y, int *w, int *h) const;
    EngVertexBufferDX9 *GetGlyphQuad(int c) const;
    // The cursor x of the last draw.
    float GetCursorX() const { return cursorX; }

private:
    // Where the next cell of cellW x cellH goes: (*outX, *outY) on the current sheet,
    // opening a new one when needed. False when the cell can never fit on a sheet.
    bool AllocSheetPart(int cellW, int cellH, int *outX, int *outY, bool counting);
    bool CopySheetDataToTexture(int sheet);
    // -1 failed, 0 no glyph, 1 built.
    int ParseLetter(void *face, int c, float f1, float f2, float f3);
    bool CreateTextureFromData_DX9(int c, int cellW, int cellH, const uint8_t *cell, int left, int top, int advance,
                                   float f1, float f2, float f3);
    bool IsWanted(int c, const char *needed, int neededCount) const;
    void ReleaseGlyph(int c);
    // The scale that applies: the stored one when scaled, else 1.
    float EffectiveScaleX() const { return scaled ? scaleX : 1.0f; }
    float EffectiveScaleY() const { return scaled ? scaleY : 1.0f; }
    // Draws one laid-out line of `length` characters (no terminator needed).
    void DrawLine(float x, float y, char hAlign, char vAlign, const char *line, int length);

    uint8_t created;
    float lineHeight;
    EngFontGlyphEffects effects;
    int32_t *sheetOfChar;
    int32_t charCount;
    int32_t sheetSize;
    int32_t sheetCount;
    float scaleX, scaleY;
    uint8_t scaled;
    float colourR, colourG, colourB, colourA;
    uint8_t coloured;
    float lineSpacing;
    float advanceWidths[ENG_FONT_MAX_CHARS];
    int32_t faceHeight;
    int32_t cursorIndex;
    float cursorX;
    uint8_t clipOn;
    float clipOffset;
    EngTexture **sheetTextures;
    EngVertexBufferDX9 *glyphQuads;
    _EngFontGlyphPlacement *placements;
    uint8_t twoChannels;
    uint8_t *sheetPixels;
    // Packing state while building: sheets opened, pen and row height on the open sheet.
    int32_t sheetsOpened, penX, penY, rowHeight;
    // Each glyph's cell on its sheet (x, y, w, h in pixels), for checks.
    int32_t (*cells)[4];
};

// Missing characters are reported while building unless this is switched off.
void EngFontSetLogMissingChars(bool on);

// ---- Text drawing state (one per program) ----
void EngFontPrepareForDrawingWithOrientation(int orientation, char ratioMode);
void EngFontPrepareForDrawing(char ratioMode);
void EngFontPrepareForDrawingWithCurrentOrientation(char ratioMode);
void EngFontPrepareForDrawingPure2();
void EngFontRestoreAfterDrawing();
bool EngFontIsPreparedForDrawing();
bool EngFontRestoreAfterDrawingIfPrepared();
// 1 when already prepared in a compatible mode (nothing done); else prepares, sets
// *didPrepare and answers 0.
char EngFontPrepareForDrawingWithOrientationIfNeeded(char ratioMode, char *didPrepare);
// save 1: remember the state and leave it; save 0: prepare again as remembered.
void EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(char save);
// Blurs a sheet of one or two interleaved 8-bit channels in place: each pass sets every
// inner pixel to the 3x3 binomial average (1 2 1 / 2 4 2 / 1 2 1, / 16) of the previous
// pass, and the outermost rows and columns copy their inner neighbours.
void EngFontBinomColor(int channels, int passes1, int passes0, int width, int height, uint8_t *data, size_t size);
// The device calls this as it goes: what text drawing prepared (and saved) belongs to that
// device, so the next device starts unprepared.
void EngFontForgetDeviceState();
