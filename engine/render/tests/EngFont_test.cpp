// Fonts built from VeraBd.ttf: sheets and glyph cells, refused builds, measuring against
// drawing, scale, clip and limit, the cursor, word-wrapped text and the text state.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EngDebug.h"
#include "EngFont.h"
#include "EngTexture.h"
#include "EngVertexBufferDX9.h"
#include "RenderTestkit.h"

namespace
{
// Pixels rendered at 150 dpi shown at 72 per design unit: a size reads as its height.
constexpr float kPixelScale = 72.0f / 150.0f;

class FontTest : public rendertest::RenderTest
{
protected:
    bool Build(EngFont *font, int size, const EngFontGlyphEffects *effects = nullptr, float f2 = kPixelScale,
               float lineExtra = 0.0f)
    {
        font->SetGlyphEffects(effects);
        return font->CreateFromFontFile(rendertest::VeraBoldPath().c_str(), 0, 0, size, 32, 255, nullptr, 0,
                                        kPixelScale, f2, 0.0f, lineExtra, 0, 0, 0, 0, 1) == 1;
    }

    // The world translation (x, y) each glyph was drawn with.
    std::vector<std::pair<float, float>> GlyphOrigins()
    {
        std::vector<std::pair<float, float>> origins;
        const PlatMatrix *world = nullptr;
        for (const PlatD3dRecord &record : recorder->records)
        {
            if (record.kind == PLAT_REC_TRANSFORM && record.a == PLAT_TS_WORLD)
                world = &record.matrix;
            else if (record.kind == PLAT_REC_DRAW && world)
                origins.push_back({world->m[12], world->m[13]});
        }
        return origins;
    }

    // Draws in the text state (design space); answers the end x.
    float Draw(EngFont &font, float x, float y, const char *text, int count = 0, float limit = 0.0f)
    {
        EngFontPrepareForDrawing(ENG_FONT_RATIO_DESIGN);
        recorder->Clear();
        float end = font.DrawStringPart(x, y, text, count, limit);
        EngFontRestoreAfterDrawing();
        return end;
    }

    EngFont font;
};
} // namespace

TEST_F(FontTest, BadRequestsAreRefused)
{
    struct Row
    {
        const char *file;
        int twoChannels, size, minChar, maxChar;
        const char *report;
    };
    const std::string vera = rendertest::VeraBoldPath();
    const Row rows[] = {
        {vera.c_str(), 0, 20, 0, 256, "Bad max_char_needed [256]"},
        {vera.c_str(), 0, 20, 33, 32, "Bad min_char_needed [33]"},
        {vera.c_str(), 0, 7, 32, 127, "Bad max bitmap size [7]"},
        {vera.c_str(), 0, 513, 32, 127, "Bad max bitmap size [513]"},
        {vera.c_str(), 2, 20, 32, 127, "Bad has_two_channels [2]"},
        {"", 0, 20, 32, 127, "No font file name specified"},
        {"/no/such/font.ttf", 0, 20, 32, 127, "Could not find file </no/such/font.ttf>"},
    };
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.report);
        EngFont bad;
        EXPECT_EQ(0, bad.CreateFromFontFile(row.file, (char)row.twoChannels, 0, row.size, row.minChar, row.maxChar,
                                            nullptr, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1));
        EXPECT_TRUE(LogHas(row.report));
        EXPECT_FALSE(bad.IsCreated());
    }
    ASSERT_TRUE(Build(&font, 20));
    EXPECT_FALSE(Build(&font, 20));
    EXPECT_TRUE(LogHas("FD already setup"));
}

TEST_F(FontTest, GlyphsArePackedInsideTheSheetsWithoutOverlap)
{
    EngFontGlyphEffects shadow = {};
    shadow.border = 3;
    shadow.extraWidth = 4;
    shadow.extraHeight = 4;
    shadow.shadowFactor0 = 0.5f;
    shadow.blurPasses0 = 2;
    struct Row
    {
        int size;
        const EngFontGlyphEffects *effects;
        int minSheets;
    };
    const Row rows[] = {{16, nullptr, 1}, {40, &shadow, 2}, {100, nullptr, 4}};
    for (const Row &row : rows)
    {
        SCOPED_TRACE(row.size);
        EngFont built;
        ASSERT_TRUE(Build(&built, row.size, row.effects));
        ASSERT_GE(built.GetSheetCount(), row.minSheets);
        for (int sheet = 0; sheet < built.GetSheetCount(); sheet++)
        {
            ASSERT_NE(nullptr, built.GetSheetTexture(sheet));
            EXPECT_EQ(ENG_FONT_SHEET_SIZE, built.GetSheetTexture(sheet)->GetWidth());
            EXPECT_EQ(ENG_FONT_SHEET_SIZE, built.GetSheetTexture(sheet)->GetHeight());
        }
        struct Cell
        {
            int c, sheet, x, y, w, h;
        };
        std::vector<Cell> cells;
        for (int c = 32; c < 256; c++)
        {
            Cell cell = {c, built.GetSheetOfChar(c), 0, 0, 0, 0};
            if (!built.GetGlyphCell(c, &cell.x, &cell.y, &cell.w, &cell.h))
                continue;
            EXPECT_GE(cell.x, 0);
            EXPECT_GE(cell.y, 0);
            EXPECT_LE(cell.x + cell.w, ENG_FONT_SHEET_SIZE) << c;
            EXPECT_LE(cell.y + cell.h, ENG_FONT_SHEET_SIZE) << c;
            for (const Cell &other : cells)
            {
                bool apart = other.sheet != cell.sheet || cell.x >= other.x + other.w || other.x >= cell.x + cell.w ||
                             cell.y >= other.y + other.h || other.y >= cell.y + cell.h;
                EXPECT_TRUE(apart) << c << " overlaps " << other.c;
            }
            cells.push_back(cell);
        }
        // Every printable ASCII character got a glyph (Latin-1 and the code page's
        // extra characters too: the euro sign, curly quotes).
        for (int c : {(int)'A', (int)'z', (int)'0', (int)'~', 0x80, 0x93, 0xE9})
        {
            ASSERT_NE(nullptr, built.GetGlyphQuad(c)) << c;
            EXPECT_TRUE(built.GetGlyphQuad(c)->IsCreated()) << c;
        }
        // A blank has a 2 x 2 cell, a quad and an advance.
        int x, y, w, h;
        ASSERT_TRUE(built.GetGlyphCell(' ', &x, &y, &w, &h));
        EXPECT_EQ(2, w);
        EXPECT_EQ(2, h);
        EXPECT_GT(built.GetCharWidth(' '), 0.0f);
    }
}

TEST_F(FontTest, GlyphPixelsReachTheirSheet)
{
    ASSERT_TRUE(Build(&font, 30));
    int x, y, w, h;
    ASSERT_TRUE(font.GetGlyphCell('M', &x, &y, &w, &h));
    rendertest::Image sheet = rendertest::Texels(font.GetSheetTexture(font.GetSheetOfChar('M')));
    int covered = 0, outside = 0;
    for (int row = 0; row < ENG_FONT_SHEET_SIZE; row++)
        for (int col = 0; col < ENG_FONT_SHEET_SIZE; col++)
        {
            bool inCell = col >= x && col < x + w && row >= y && row < y + h;
            if ((sheet.At(col, row) >> 24) == 255)
                (inCell ? covered : outside) += 1;
            // One-channel sheets are white; the glyph is in the alpha.
            ASSERT_EQ(0xFFFFFFu, sheet.At(col, row) & 0xFFFFFFu);
        }
    EXPECT_GT(covered, w * h / 4);
    EXPECT_GT(outside, 0); // the other glyphs
}

TEST_F(FontTest, AFontTooLargeForItsSheetsIsRefused)
{
    EXPECT_FALSE(Build(&font, 400));
    EXPECT_TRUE(LogHas("does not fit"));
    EXPECT_FALSE(font.IsCreated());
    EXPECT_EQ(0, font.GetSheetCount());
    // The same object builds afterwards.
    EXPECT_TRUE(Build(&font, 24));
}

TEST_F(FontTest, AdvancesAddUpToTheMeasuredWidth)
{
    ASSERT_TRUE(Build(&font, 24));
    const char *text = "Wide glyphs, narrow ones: il1|";
    float sum = 0;
    for (const char *p = text; *p; p++)
        sum += font.GetCharWidth((unsigned char)*p);
    EXPECT_FLOAT_EQ(sum, font.GetStringWidth(text));
    EXPECT_NEAR(sum, Draw(font, 50, 100, text) - 50.0f, 1e-3);
    EXPECT_EQ(strlen(text), GlyphOrigins().size());

    font.SetScale(2.0f, 1.5f);
    EXPECT_FLOAT_EQ(2 * sum, font.GetStringWidth(text));
    EXPECT_NEAR(2 * sum, Draw(font, 50, 100, text) - 50.0f, 1e-3);

    // Stored but not in force: a zero scale leaves the font unscaled everywhere.
    font.SetScale(2.0f, 0.0f);
    float sx = 0, sy = 0;
    font.GetScale(&sx, &sy);
    EXPECT_EQ(2.0f, sx);
    EXPECT_EQ(0.0f, sy);
    EXPECT_FLOAT_EQ(sum, font.GetStringWidth(text));
    EXPECT_NEAR(sum, Draw(font, 50, 100, text) - 50.0f, 1e-3);
    float height = 0;
    font.DrawMultilineText(0, 0, 1000, 1000, 0, 0, "one\ntwo", 0, 0, nullptr, &height, nullptr, nullptr);
    EXPECT_FLOAT_EQ(2 * font.GetHeight(false), height);
}

TEST_F(FontTest, ClipLimitAndCursorFollowThePen)
{
    ASSERT_TRUE(Build(&font, 24));
    // Vera's digits all have the same advance.
    const float d = font.GetCharWidth('0');
    ASSERT_FLOAT_EQ(d, font.GetCharWidth('7'));
    const char *digits = "0123456789";

    font.SetRightClip(true, 3 * d);
    Draw(font, 10, 20, digits);
    auto origins = GlyphOrigins();
    ASSERT_EQ(7u, origins.size());
    EXPECT_FLOAT_EQ(10 + 3 * d + font.GetPlacement('3')->offsetX, origins[0].first);
    font.SetRightClip(false, 0);

    EXPECT_FLOAT_EQ(10 + 3 * d, Draw(font, 10, 20, digits, 0, 2.5f * d));
    EXPECT_EQ(3u, GlyphOrigins().size());
    EXPECT_FLOAT_EQ(10 + 4 * d, Draw(font, 10, 20, digits, 4));

    font.SetCursorCharIndex(2);
    Draw(font, 10, 20, digits);
    EXPECT_FLOAT_EQ(10 + 2 * d, font.SetCursorCharIndex(10));
    Draw(font, 10, 20, digits);
    EXPECT_FLOAT_EQ(10 + 10 * d, font.SetCursorCharIndex(-1));
}

TEST_F(FontTest, SettingsAndAlignment)
{
    ASSERT_TRUE(Build(&font, 20, nullptr, kPixelScale, 4.0f));
    EXPECT_FLOAT_EQ(20 * kPixelScale + 4.0f, font.GetHeight(false));
    const float height = font.GetHeight(true);
    EXPECT_FLOAT_EQ(100.0f - height / 2, font.GetAlignedY(100, 1));
    EXPECT_FLOAT_EQ(100.0f - height, font.GetAlignedY(100, 2));
    EXPECT_FLOAT_EQ(100.0f, font.GetAlignedY(100, 0));

    _ColourRGBA colour;
    font.GetColour(&colour);
    EXPECT_EQ(1.0f, colour.r);
    font.SetColour(-1, 0.5f, -1, -1);
    font.GetColour(&colour);
    EXPECT_EQ(1.0f, colour.r);
    EXPECT_EQ(0.5f, colour.g);
    EXPECT_EQ(1.0f, colour.a);

    // The colour reaches the material the glyphs are lit with.
    font.SetColour(0.25f, 0.5f, 0.75f, 0.5f);
    Draw(font, 0, 0, "A");
    const PlatD3dRecord *material = nullptr;
    for (const PlatD3dRecord &record : recorder->records)
        if (record.kind == PLAT_REC_MATERIAL && !material)
            material = &record;
    ASSERT_NE(nullptr, material);
    EXPECT_EQ(0.25f, material->material.emissive.r);
    EXPECT_EQ(0.75f, material->material.emissive.b);
    EXPECT_EQ(0.5f, material->material.diffuse.a);
}

TEST_F(FontTest, WordWrappedText)
{
    ASSERT_TRUE(Build(&font, 24));
    const float L = font.GetHeight(true);
    const float wordWidth = font.GetStringWidth("abc") + font.GetCharWidth('d') / 2;
    float width = 0, height = 0;
    int lines = 0;
    char all = 0;

    EngFontPrepareForDrawing(ENG_FONT_RATIO_DESIGN);
    recorder->Clear();
    font.DrawMultilineText(100, 50, wordWidth, 400, 0, 0, "abc abc", 1, 0, &width, &height, &lines, &all);
    EngFontRestoreAfterDrawing();
    EXPECT_EQ(2, lines);
    EXPECT_EQ(1, all);
    EXPECT_FLOAT_EQ(2 * L, height);
    auto origins = GlyphOrigins();
    ASSERT_EQ(6u, origins.size());
    EXPECT_NEAR(L, origins[0].second - origins[3].second, 1e-3);
    EXPECT_FLOAT_EQ(origins[0].first, origins[3].first);

    // Lines before the first asked for are skipped; lines that do not fit are left.
    font.DrawMultilineText(0, 0, wordWidth, 400, 0, 0, "abc def ghi", 0, 1, nullptr, &height, &lines, &all);
    EXPECT_EQ(2, lines);
    font.DrawMultilineText(0, 0, wordWidth, 1.5f * L, 0, 0, "abc def ghi", 0, 0, nullptr, &height, &lines, &all);
    EXPECT_EQ(1, lines);
    EXPECT_EQ(0, all);
    font.DrawMultilineText(0, 0, wordWidth, 400, 0, 0, " ", 0, 0, &width, &height, &lines, &all);
    EXPECT_EQ(1, lines);
    EXPECT_FLOAT_EQ(L, height);
}

TEST_F(FontTest, LayoutEndsInAnyBox)
{
    ASSERT_TRUE(Build(&font, 24));
    int lines = 0;
    char all = 0;
    // Narrower than any character: one character per line.
    font.DrawMultilineText(0, 0, 1, 100000, 0, 0, "abc def", 0, 0, nullptr, nullptr, &lines, &all);
    EXPECT_EQ(7, lines);
    EXPECT_EQ(1, all);

    // Lines of no height never run out of room, and still end.
    EngFont flat;
    ASSERT_TRUE(Build(&flat, 24, nullptr, 0.0f, 0.0f));
    ASSERT_EQ(0.0f, flat.GetHeight(true));
    flat.DrawMultilineText(0, 0, 1, 0, 0, 0, "abc def", 0, 0, nullptr, nullptr, &lines, &all);
    EXPECT_EQ(7, lines);

    // A line of more than 255 characters is drawn whole.
    std::string longLine(300, 'W');
    EngFontPrepareForDrawing(ENG_FONT_RATIO_DESIGN);
    recorder->Clear();
    float width = 0;
    font.DrawMultilineText(0, 0, 1e7f, 1000, 0, 0, longLine.c_str(), 1, 0, &width, nullptr, &lines, &all);
    EngFontRestoreAfterDrawing();
    EXPECT_EQ(1, lines);
    EXPECT_EQ(300u, GlyphOrigins().size());
    EXPECT_FLOAT_EQ(font.GetStringWidth(longLine.c_str()), width);
}

TEST_F(FontTest, DrawingNeedsTheTextState)
{
    ASSERT_TRUE(Build(&font, 16));
    EXPECT_EQ(0.0f, font.DrawStringPart(0, 0, "A", 0, 0));
    EXPECT_TRUE(LogHas("2D Not setup"));
    device->PrepareFor2D(false);
    EXPECT_EQ(0.0f, font.DrawStringPart(0, 0, "A", 0, 0));
    EXPECT_TRUE(LogHas("Not ready for drawings"));
    device->RestoreAfter2D();

    // Drawing with auto-prepare leaves the state as it found it.
    recorder->Clear();
    EXPECT_GT(font.DrawString(10, 10, 0, 0, "A", 1), 10.0f);
    EXPECT_FALSE(EngFontIsPreparedForDrawing());
    EXPECT_FALSE(device->IsPreparedFor2D());
    EXPECT_EQ(1u, GlyphOrigins().size());

    EngFontPrepareForDrawing(ENG_FONT_RATIO_DESIGN);
    EngFontRestoreAfterDrawing();
    DebugClearMessages();
    EngFontRestoreAfterDrawing();
    EXPECT_TRUE(LogHas(DebugGetResultCodeText(EngFourCC("NSTP"))));
}

TEST(FontBlur, BinomialPassesSpreadAPoint)
{
    std::vector<uint8_t> plane(5 * 5, 0);
    plane[2 * 5 + 2] = 160;
    EngFontBinomColor(1, 0, 1, 5, 5, plane.data(), plane.size());
    // Weights 4, 2 and 1 sixteenths around the point; the border copies its neighbours.
    EXPECT_EQ(40, plane[2 * 5 + 2]);
    EXPECT_EQ(20, plane[1 * 5 + 2]);
    EXPECT_EQ(10, plane[1 * 5 + 1]);
    EXPECT_EQ(20, plane[0 * 5 + 2]);
    EXPECT_EQ(10, plane[0 * 5 + 0]);

    // Two channels: only the channel with passes changes.
    std::vector<uint8_t> pair(5 * 5 * 2, 0);
    pair[(2 * 5 + 2) * 2] = 160;
    pair[(2 * 5 + 2) * 2 + 1] = 160;
    EngFontBinomColor(2, 1, 0, 5, 5, pair.data(), pair.size());
    EXPECT_EQ(160, pair[(2 * 5 + 2) * 2]);
    EXPECT_EQ(40, pair[(2 * 5 + 2) * 2 + 1]);
}
