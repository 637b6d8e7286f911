// FreeType text masks and dressed text for the data generator.
#include "DgFont.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace
{
struct FontState
{
    bool setUp = false;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};
FontState fontState;
// FreeType's face is not shared between threads: one text at a time.
std::mutex fontMutex;

void FontSetSize(float pixelSize)
{
    FT_Set_Char_Size(fontState.face, 0, (FT_F26Dot6)std::lround(pixelSize * 64.0f), 72, 72);
}

// Calls `glyphFn(glyphIndex, penX)` for every character and returns the advance.
template <typename Fn>
float FontWalk(const std::string &text, float tracking, Fn glyphFn)
{
    float pen = 0.0f;
    FT_UInt previous = 0;
    for (unsigned char ch : text)
    {
        FT_UInt glyph = FT_Get_Char_Index(fontState.face, ch);
        if (previous && glyph && FT_HAS_KERNING(fontState.face))
        {
            FT_Vector kern;
            if (FT_Get_Kerning(fontState.face, previous, glyph, FT_KERNING_UNFITTED, &kern) == 0)
                pen += kern.x / 64.0f;
        }
        if (FT_Load_Glyph(fontState.face, glyph, FT_LOAD_NO_HINTING) != 0)
            continue;
        glyphFn(glyph, pen);
        pen += fontState.face->glyph->advance.x / 64.0f + tracking;
        previous = glyph;
    }
    return text.empty() ? 0.0f : pen - tracking;
}
} // namespace

bool FontSetup(const std::string &path)
{
    if (fontState.setUp)
        return true;
    if (FT_Init_FreeType(&fontState.library) != 0)
    {
        std::fprintf(stderr, "datagen: FreeType does not start\n");
        return false;
    }
    if (FT_New_Face(fontState.library, path.c_str(), 0, &fontState.face) != 0)
    {
        std::fprintf(stderr, "datagen: cannot load the font <%s>\n", path.c_str());
        FT_Done_FreeType(fontState.library);
        fontState = FontState();
        return false;
    }
    fontState.setUp = true;
    return true;
}

void FontShutdown()
{
    if (!fontState.setUp)
        return;
    FT_Done_Face(fontState.face);
    FT_Done_FreeType(fontState.library);
    fontState = FontState();
}

float FontMeasure(const std::string &text, float pixelSize, float tracking)
{
    std::lock_guard<std::mutex> lock(fontMutex);
    if (!fontState.setUp)
        return 0.0f;
    FontSetSize(pixelSize);
    return FontWalk(text, tracking, [](FT_UInt, float) {});
}

float FontFitSize(const std::string &text, float maxWidth, float maxSize, float tracking)
{
    float size = maxSize;
    float width = FontMeasure(text, size, tracking);
    if (width > maxWidth && width > 0.0f)
        size *= maxWidth / width;
    // Kerning and rounding do not scale exactly: shrink until it fits.
    while (size > 4.0f && FontMeasure(text, size, tracking) > maxWidth)
        size *= 0.98f;
    return size;
}

DgText FontRender(const std::string &text, float pixelSize, int pad, float tracking)
{
    DgText out{};
    std::lock_guard<std::mutex> lock(fontMutex);
    if (!fontState.setUp)
        return out;
    FontSetSize(pixelSize);
    FT_Face face = fontState.face;
    float ascender = face->size->metrics.ascender / 64.0f;
    float descender = -face->size->metrics.descender / 64.0f;
    // Cap height from the letter H.
    float capHeight = ascender * 0.75f;
    FT_UInt h = FT_Get_Char_Index(face, 'H');
    if (h && FT_Load_Glyph(face, h, FT_LOAD_NO_HINTING) == 0)
        capHeight = face->glyph->metrics.horiBearingY / 64.0f;
    float width = FontWalk(text, tracking, [](FT_UInt, float) {});
    int maskW = (int)std::ceil(width + 4.0f) + 2 * pad;
    int maskH = (int)std::ceil(ascender + descender + 2.0f) + 2 * pad;
    out.mask = MaskCreate(std::max(1, maskW), std::max(1, maskH));
    out.baseline = pad + 1.0f + ascender;
    out.ascent = capHeight;
    out.width = width;
    float originX = pad + 1.0f;
    FontWalk(text, tracking, [&](FT_UInt glyph, float pen) {
        float x = originX + pen;
        float fx = x - std::floor(x);
        FT_Vector delta{(FT_Pos)std::lround(fx * 64.0f), 0};
        FT_Set_Transform(face, nullptr, &delta);
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING | FT_LOAD_RENDER) == 0)
        {
            FT_GlyphSlot slot = face->glyph;
            FT_Bitmap &bm = slot->bitmap;
            int left = (int)std::floor(x) + slot->bitmap_left;
            int top = (int)std::lround(out.baseline) - slot->bitmap_top;
            for (unsigned row = 0; row < bm.rows; row++)
                for (unsigned col = 0; col < bm.width; col++)
                {
                    int mx = left + (int)col, my = top + (int)row;
                    if (mx < 0 || my < 0 || mx >= out.mask.width || my >= out.mask.height)
                        continue;
                    float v = bm.buffer[row * bm.pitch + col] / 255.0f;
                    float &m = out.mask.At(mx, my);
                    m = std::min(1.0f, m + v);
                }
        }
        FT_Set_Transform(face, nullptr, nullptr);
    });
    out.baseline = std::round(out.baseline);
    return out;
}

float DrawText(DgImage &img, const std::string &text, float cx, float cy, const DgTextStyle &style)
{
    int pad = (int)std::ceil(std::max({style.outline, style.shadowBlur * 1.5f + std::fabs(style.shadowX) +
                                                          std::fabs(style.shadowY),
                                       style.glow * 1.5f})) + 2;
    DgText t = FontRender(text, style.size, pad, style.tracking);
    int x = (int)std::lround(cx - pad - 1.0f - t.width * 0.5f);
    int y = (int)std::lround(cy + t.ascent * 0.5f - t.baseline);
    float capTop = y + t.baseline - t.ascent;
    float base = y + t.baseline;
    if (style.glow > 0.0f)
    {
        DgMask glow = MaskDilate(t.mask, style.glow * 0.35f);
        MaskBlur(glow, style.glow);
        ImageFillMask(img, glow, x, y, PaintSolid(style.glowColour));
    }
    DgMask body = t.mask;
    DgMask outline;
    if (style.outline > 0.0f)
        outline = MaskDilate(t.mask, style.outline);
    if (style.shadowBlur > 0.0f || style.shadowX != 0.0f || style.shadowY != 0.0f)
    {
        DgMask shadow = style.outline > 0.0f ? outline : body;
        if (style.shadowBlur > 0.0f)
            MaskBlur(shadow, style.shadowBlur);
        ImageFillMask(img, shadow, x + (int)std::lround(style.shadowX), y + (int)std::lround(style.shadowY),
                      PaintSolid(style.shadowColour));
    }
    if (style.outline > 0.0f)
        ImageFillMask(img, outline, x, y, PaintSolid(style.outlineColour));
    DgPaint fill = PaintLinear(0, capTop, 0, base, style.top, style.bottom);
    if (style.shine > 0.0f)
    {
        float shine = style.shine;
        fill = [fill, capTop, base, shine](float px, float py) {
            DgColour c = fill(px, py);
            float t = (py - capTop) / std::max(1.0f, base - capTop);
            // A bright band over the upper part, ending in a crisp edge below the middle.
            float band = t < 0.48f ? (1.0f - t / 0.48f * 0.6f) : 0.0f;
            return ColourTint(c, shine * band);
        };
    }
    ImageFillMask(img, body, x, y, fill);
    return t.width;
}
