// Pictures of the maker's other products shown by the other-products screen, under
// "IGA": for each product a title card and a scene from the game (256 x 256 JPEG), or one
// wide scene (512 x 384) for the products shown with a single centred picture; the
// Lantern Maze title is a PNG with transparency.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "Datagen.h"
#include "DgFont.h"
#include "DgOutput.h"

namespace
{
struct Product
{
    const char *file;  // picture file stem under IGA/
    const char *title; // shown on the title card
    uint32_t light, dark;
    int scene;         // which scene drawing to use
    bool single;       // one wide picture only
    bool pngTitle;     // title card as PNG with transparency
};

// Catalogue rows 0, 1, 5, 9, 10, 11, 15, 21, 22, 28 and 29 in that order.
const Product kProducts[] = {
    {"MarbleTide", "MARBLE TIDE", 0x3ab0e0, 0x0a2a5a, 0, false, false},
    {"StarLanes", "STAR LANES", 0x7a5cff, 0x0a0626, 1, false, false},
    {"TileTower", "TILE TOWER", 0xe8c070, 0x5a2a10, 2, false, false},
    {"WordOrchard", "WORD ORCHARD", 0x8ad050, 0x1a4a14, 3, false, false},
    {"GemCascade", "GEM CASCADE", 0xff5ab0, 0x2a0a3a, 4, true, false},
    {"CardIsles", "CARD ISLES", 0x40d0b0, 0x0a3a40, 5, false, false},
    {"BlockDrift", "BLOCK DRIFT", 0xffa040, 0x2a1208, 6, false, false},
    {"PipeWorks", "PIPE WORKS", 0x9ab0c8, 0x1a2430, 7, false, false},
    {"PocketPool", "POCKET POOL", 0x30b050, 0x0a2a10, 8, true, false},
    {"LanternMaze", "LANTERN MAZE", 0xffd060, 0x1a1030, 9, false, true},
    {"OrbitGolf", "ORBIT GOLF", 0x60e0ff, 0x060a20, 10, true, false},
};

void Background(DgImage &img, uint32_t light, uint32_t dark)
{
    float w = (float)img.width, h = (float)img.height;
    ImageFillShape(img, ShapeRoundRect(0, 0, w, h, 0), [&](float x, float y) {
        float dx = (x - w * 0.5f) / w, dy = (y - h * 0.35f) / h;
        float glow = std::exp(-(dx * dx + dy * dy) * 3.0f);
        DgColour c = ColourLerp(ColourHex(dark), ColourShade(ColourHex(light), 0.75f), glow * 0.6f);
        return ColourShade(c, 1.0f + Fbm2(x * 0.02f, y * 0.02f, 3, 5) * 0.12f);
    });
}

void Scene(DgImage &img, const Product &p)
{
    float w = (float)img.width, h = (float)img.height;
    DgRandom rnd(p.scene * 31 + 7);
    Background(img, p.light, p.dark);
    switch (p.scene)
    {
    case 0: // marbles riding a wave
        for (int i = 0; i < 26; i++)
        {
            float x = rnd.Range(0.05f, 0.95f) * w;
            float y = h * (0.45f + 0.15f * std::sin(x / w * 6.28f)) + rnd.Range(-0.25f, 0.3f) * h;
            DrawBall(img, x, y, w * rnd.Range(0.035f, 0.06f), BallColour(rnd.Int(0, 9)), 2.0f);
        }
        for (int k = 0; k < 3; k++)
            ImageFillShape(img, [&, k](float x, float y) {
                float yy = h * (0.78f + k * 0.07f) + std::sin(x / w * 12.0f + k) * h * 0.02f;
                return yy - y;
            }, PaintSolid(ColourRgb(0.2f + k * 0.15f, 0.55f + k * 0.1f, 0.9f, 0.55f)));
        break;
    case 1: // ships racing through stars
        for (int i = 0; i < 120; i++)
        {
            float x = rnd.Range(0, w), y = rnd.Range(0, h), r = rnd.Range(0.4f, 1.6f);
            ImageFillShape(img, ShapeCircle(x, y, r), PaintSolid(ColourRgb(0.9f, 0.9f, 1.0f, rnd.Range(0.4f, 1.0f))), x - 3, y - 3, x + 3, y + 3);
        }
        for (int i = 0; i < 4; i++)
        {
            float cx = w * (0.2f + 0.2f * i), cy = h * (0.75f - 0.15f * i), s = w * 0.06f;
            ImageFillShape(img, ShapeSegment(cx, cy + s, cx, cy + s * 3.5f, s * 0.35f),
                           PaintLinear(0, cy + s, 0, cy + s * 3.5f, ColourRgb(1, 0.7f, 0.2f, 0.9f), ColourRgb(1, 0.3f, 0.1f, 0.0f)));
            ImageFillShape(img, ShapePolygon({{cx, cy - s * 1.4f}, {cx + s, cy + s}, {cx, cy + s * 0.5f}, {cx - s, cy + s}}),
                           PaintLinear(0, cy - s, 0, cy + s, ColourHex(0xe8eeff), ColourHex(0x5a6a9a)));
        }
        break;
    case 2: // a tower of tiles
        for (int row = 0; row < 5; row++)
            for (int col = 0; col < 5 - row; col++)
            {
                float tw = w * 0.15f, th = h * 0.19f;
                float x = w * 0.5f + (col - (4 - row) * 0.5f) * tw - tw * 0.5f, y = h * 0.78f - row * th * 0.85f - th;
                DgPanelStyle tile;
                tile.top = ColourHex(0xfff6e0);
                tile.bottom = ColourHex(0xd8c8a0);
                tile.edge = ColourHex(0x5a3a10);
                tile.rim = ColourRgb(1, 1, 1, 0.7f);
                tile.shadow = 3.0f;
                DrawPanel(img, x, y, tw - 3, th - 3, 5.0f, tile);
                DgTextStyle t;
                t.size = th * 0.5f;
                t.top = t.bottom = BallColour((row * 3 + col) % 10);
                t.outline = 1.0f;
                t.outlineColour = ColourHex(0x3a2008);
                DrawText(img, std::string(1, "ABCDEFGHJK"[(row * 7 + col * 3) % 10]), x + tw * 0.5f, y + th * 0.5f, t);
            }
        break;
    case 3: // letters on apples in a tree
    {
        ImageFillShape(img, ShapeRoundRect(w * 0.45f, h * 0.55f, w * 0.1f, h * 0.45f, 4), PaintSolid(ColourHex(0x5a3414)));
        ImageFillShape(img, ShapeCircle(w * 0.5f, h * 0.42f, w * 0.38f), PaintRadial(w * 0.45f, h * 0.3f, w * 0.4f, ColourHex(0x6ac040), ColourHex(0x1e5a18)));
        const char *word = "ORCHARD";
        for (int i = 0; i < 7; i++)
        {
            float a = i * 0.9f, r = w * (0.12f + 0.03f * (i % 3));
            float x = w * 0.5f + std::cos(a) * r * 1.6f, y = h * 0.42f + std::sin(a) * r;
            DrawBall(img, x, y, w * 0.065f, ColourHex(i % 2 ? 0xe83020 : 0xf06a20), 2.0f);
            DgTextStyle t;
            t.size = w * 0.075f;
            t.outline = 1.5f;
            t.outlineColour = ColourHex(0x401008);
            DrawText(img, std::string(1, word[i]), x, y, t);
        }
        break;
    }
    case 4: // gems in a grid
        for (int row = 0; row < 6; row++)
            for (int col = 0; col < 8; col++)
            {
                float cell = std::min(w / 8.5f, h / 6.5f);
                float cx = w * 0.5f + (col - 3.5f) * cell, cy = h * 0.5f + (row - 2.5f) * cell;
                DgColour c = BallColour((row * 5 + col * 3 + (row * col) % 4) % 10);
                float r = cell * 0.42f;
                std::vector<std::pair<float, float>> gem = {{cx, cy - r}, {cx + r, cy - r * 0.2f}, {cx + r * 0.6f, cy + r}, {cx - r * 0.6f, cy + r}, {cx - r, cy - r * 0.2f}};
                ImageFillShape(img, ShapeGrow(ShapePolygon(gem), 1.5f), PaintSolid(ColourRgb(0, 0, 0, 0.6f)));
                ImageFillShape(img, ShapePolygon(gem), PaintLinear(cx - r, cy - r, cx + r, cy + r, ColourTint(c, 0.5f), ColourShade(c, 0.55f)));
                ImageFillShape(img, ShapePolygon({{cx, cy - r}, {cx + r * 0.5f, cy - r * 0.1f}, {cx - r * 0.5f, cy - r * 0.1f}}),
                               PaintSolid(ColourRgb(1, 1, 1, 0.35f)));
            }
        break;
    case 5: // cards fanned on an island
    {
        ImageFillShape(img, ShapeEllipse(w * 0.5f, h * 0.82f, w * 0.45f, h * 0.12f), PaintSolid(ColourHex(0xe8d090)));
        for (int i = 0; i < 5; i++)
        {
            float a = (i - 2) * 0.22f;
            float cx = w * 0.5f + (i - 2) * w * 0.09f, cy = h * 0.5f;
            float cw = w * 0.22f, ch = h * 0.32f;
            float c = std::cos(a), s = std::sin(a);
            DgShape card = ShapeRoundRect(-cw * 0.5f, -ch * 0.5f, cw, ch, 6.0f);
            DgShape turned = [=](float x, float y) { float dx = x - cx, dy = y - cy; return card(dx * c + dy * s, -dx * s + dy * c); };
            ImageFillShape(img, ShapeGrow(turned, 1.5f), PaintSolid(ColourRgb(0, 0, 0, 0.5f)));
            ImageFillShape(img, turned, PaintSolid(ColourHex(0xfffdf6)));
            DgTextStyle t;
            t.size = ch * 0.4f;
            t.top = t.bottom = ColourHex(i % 2 ? 0xd01818 : 0x101018);
            DrawText(img, std::string(1, "AKQJ9"[i]), cx, cy, t);
        }
        break;
    }
    case 6: // falling blocks
        for (int i = 0; i < 30; i++)
        {
            float s = w / 10.0f;
            int col = rnd.Int(0, 9), height = rnd.Int(0, 4);
            float x = col * s, y = h - (height + 1) * s;
            if (i > 24)
                y = rnd.Range(0.05f, 0.4f) * h;
            DgPanelStyle b;
            DgColour c = BallColour(rnd.Int(0, 9));
            b.top = ColourTint(c, 0.2f);
            b.bottom = ColourShade(c, 0.6f);
            b.rim = ColourRgb(1, 1, 1, 0.6f);
            DrawPanel(img, x + 1, y + 1, s - 2, s - 2, 3.0f, b);
        }
        break;
    case 7: // pipes on a grid
        for (int row = 0; row < 5; row++)
            for (int col = 0; col < 5; col++)
            {
                float s = w / 5.0f, cx = (col + 0.5f) * s, cy = (row + 0.5f) * s * h / w;
                int kind = (row * 7 + col * 3) % 4;
                DgColour pipe = ColourHex(0xb8c8d8);
                auto seg = [&](float x0, float y0, float x1, float y1) {
                    ImageFillShape(img, ShapeSegment(x0, y0, x1, y1, s * 0.14f), PaintSolid(ColourRgb(0, 0, 0, 0.6f)));
                    ImageFillShape(img, ShapeSegment(x0, y0, x1, y1, s * 0.11f), PaintLinear(x0, y0 - s * 0.1f, x0, y0 + s * 0.1f, ColourTint(pipe, 0.5f), ColourShade(pipe, 0.5f)));
                };
                if (kind == 0 || kind == 2)
                    seg(cx - s * 0.5f, cy, cx + s * 0.5f, cy);
                if (kind == 1 || kind == 2)
                    seg(cx, cy - s * 0.5f, cx, cy + s * 0.5f);
                if (kind == 3)
                    seg(cx - s * 0.5f, cy, cx, cy), seg(cx, cy, cx, cy + s * 0.5f);
                DrawBall(img, cx, cy, s * 0.12f, ColourHex(0xd8a030));
            }
        break;
    case 8: // a pool table
    {
        DgPanelStyle rail;
        rail.top = ColourHex(0x8a4a1a);
        rail.bottom = ColourHex(0x4a2008);
        DrawPanel(img, w * 0.04f, h * 0.1f, w * 0.92f, h * 0.8f, 24.0f, rail);
        ImageFillShape(img, ShapeRoundRect(w * 0.09f, h * 0.17f, w * 0.82f, h * 0.66f, 8.0f),
                       PaintRadial(w * 0.5f, h * 0.5f, w * 0.5f, ColourHex(0x2aa84a), ColourHex(0x0e5a22)));
        float pockets[6][2] = {{0.09f, 0.17f}, {0.5f, 0.15f}, {0.91f, 0.17f}, {0.09f, 0.83f}, {0.5f, 0.85f}, {0.91f, 0.83f}};
        for (auto &pk : pockets)
            ImageFillShape(img, ShapeCircle(w * pk[0], h * pk[1], w * 0.035f), PaintSolid(ColourHex(0x050505)));
        for (int row = 0; row < 5; row++)
            for (int k = 0; k <= row; k++)
                DrawBall(img, w * (0.62f + row * 0.045f), h * (0.5f + (k - row * 0.5f) * 0.09f), w * 0.024f, BallColour((row * 3 + k) % 10), 1.5f);
        DrawBall(img, w * 0.3f, h * 0.5f, w * 0.024f, ColourHex(0xfafafa), 1.5f);
        ImageFillShape(img, ShapeSegment(w * 0.05f, h * 0.62f, w * 0.27f, h * 0.51f, 3.0f), PaintLinear(w * 0.05f, 0, w * 0.27f, 0, ColourHex(0x3a2008), ColourHex(0xe8d0a0)));
        break;
    }
    case 9: // a maze lit by a lantern
    {
        int n = 8;
        float s = w / n;
        for (int row = 0; row <= n; row++)
            for (int col = 0; col <= n; col++)
            {
                uint32_t r = rnd.Next();
                if (r & 1)
                    ImageFillShape(img, ShapeSegment(col * s, row * s, col * s + s, row * s, 3.0f), PaintSolid(ColourHex(0x6a5aa0)));
                if (r & 2)
                    ImageFillShape(img, ShapeSegment(col * s, row * s, col * s, row * s + s, 3.0f), PaintSolid(ColourHex(0x6a5aa0)));
            }
        DgImage glow = ImageCreate(img.width, img.height);
        ImageFillShape(glow, ShapeCircle(w * 0.5f, h * 0.5f, w * 0.3f), PaintRadial(w * 0.5f, h * 0.5f, w * 0.3f, ColourRgb(1, 0.8f, 0.3f, 0.55f), ColourRgb(1, 0.6f, 0.2f, 0.0f)));
        ImageDraw(img, glow, 0, 0);
        ImageFillShape(img, ShapeRoundRect(w * 0.46f, h * 0.44f, w * 0.08f, h * 0.12f, 4), PaintLinear(0, h * 0.44f, 0, h * 0.56f, ColourHex(0xfff0a0), ColourHex(0xff9a20)));
        ImageFillShape(img, ShapeRoundRect(w * 0.45f, h * 0.42f, w * 0.1f, h * 0.03f, 2), PaintSolid(ColourHex(0x3a2a18)));
        break;
    }
    default: // golf between planets
    {
        DrawBall(img, w * 0.25f, h * 0.7f, w * 0.16f, ColourHex(0x4aa0e0), 0.0f);
        DrawBall(img, w * 0.75f, h * 0.3f, w * 0.12f, ColourHex(0xe07a40), 0.0f);
        DrawBall(img, w * 0.82f, h * 0.78f, w * 0.06f, ColourHex(0xb0b0c8), 0.0f);
        for (int i = 0; i < 12; i++)
        {
            float t = i / 11.0f;
            float x = Lerp(w * 0.33f, w * 0.68f, t), y = Lerp(h * 0.58f, h * 0.36f, t) - std::sin(t * 3.14f) * h * 0.15f;
            ImageFillShape(img, ShapeCircle(x, y, 2.2f), PaintSolid(ColourRgb(1, 1, 1, 0.8f)), x - 4, y - 4, x + 4, y + 4);
        }
        ImageFillShape(img, ShapeSegment(w * 0.75f, h * 0.18f, w * 0.75f, h * 0.04f, 1.5f), PaintSolid(ColourRgb(1, 1, 1)));
        ImageFillShape(img, ShapePolygon({{w * 0.75f, h * 0.04f}, {w * 0.83f, h * 0.07f}, {w * 0.75f, h * 0.1f}}), PaintSolid(ColourHex(0xff3a3a)));
        DrawBall(img, w * 0.32f, h * 0.56f, w * 0.02f, ColourHex(0xffffff), 0.0f);
        break;
    }
    }
}

DgTextStyle TitleStyle(const Product &p, float size)
{
    DgTextStyle style;
    style.size = size;
    style.top = ColourRgb(1, 1, 1);
    style.bottom = ColourTint(ColourHex(p.light), 0.2f);
    style.outline = 3.0f;
    style.outlineColour = ColourShade(ColourHex(p.dark), 0.5f);
    style.shadowBlur = 4.0f;
    style.shadowY = 3.0f;
    style.shine = 0.3f;
    style.tracking = 1.0f;
    return style;
}

DgImage TitleCard(const Product &p, int size)
{
    DgImage img = ImageCreate(size, size);
    if (!p.pngTitle)
    {
        Background(img, p.light, p.dark);
        DgImage scene = ImageCreate(size, size);
        Scene(scene, p);
        ImageDraw(img, scene, 0, 0, 0.35f);
    }
    std::string title = p.title;
    size_t space = title.find(' ');
    std::string lines[2] = {title.substr(0, space), space == std::string::npos ? "" : title.substr(space + 1)};
    DgTextStyle style = TitleStyle(p, 0.0f);
    for (int i = 0; i < 2; i++)
    {
        style.size = FontFitSize(lines[i], size * 0.86f, size * 0.24f, style.tracking);
        DrawText(img, lines[i], size * 0.5f, size * (0.38f + i * 0.26f), style);
    }
    return img;
}
} // namespace

void GenCatalogue()
{
    for (const Product &p : kProducts)
    {
        std::string stem = std::string("IGA/") + p.file;
        if (p.single)
        {
            DgImage scene = ImageCreate(512, 384);
            Scene(scene, p);
            DrawText(scene, p.title, 256, 352, TitleStyle(p, 40.0f));
            OutPicture(stem + "1.jpg", scene, 90);
            continue;
        }
        OutPicture(stem + (p.pngTitle ? "1.png" : "1.jpg"), TitleCard(p, 256), 90);
        DgImage scene = ImageCreate(256, 256);
        Scene(scene, p);
        OutPicture(stem + "2.jpg", scene, 90);
    }
}
