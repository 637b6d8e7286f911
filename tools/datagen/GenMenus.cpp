// Menu and start-up pictures: the menu background, the game's title, the maker's logo and
// its emblem (splash quarters and the layers of the animated splash picture), the banner
// of the start-up settings dialog and the program icon.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Datagen.h"
#include "DgFont.h"
#include "DgOutput.h"

namespace
{
const float kPi = 3.14159265358979f;

DgShape ShapeRotatedEllipse(float cx, float cy, float rx, float ry, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    DgShape e = ShapeEllipse(0, 0, rx, ry);
    return [=](float x, float y) {
        float dx = x - cx, dy = y - cy;
        return e(dx * c + dy * s, -dx * s + dy * c);
    };
}

// Soft out-of-focus lights in the ball colours.
void DrawBokeh(DgImage &img, int count, float minR, float maxR, float alpha, uint64_t seed)
{
    DgRandom rnd(seed);
    for (int i = 0; i < count; i++)
    {
        float x = rnd.Range(0, (float)img.width), y = rnd.Range(0, (float)img.height);
        float r = rnd.Range(minR, maxR);
        DgColour c = ColourWithAlpha(BallColour(rnd.Int(0, 9)), alpha * rnd.Range(0.4f, 1.0f));
        // A disc with a soft rim, brighter toward its edge like an out-of-focus light.
        float soft = std::max(1.0f, minR * 0.35f);
        int x0 = std::max(0, (int)(x - r - soft)), x1 = std::min(img.width, (int)(x + r + soft) + 1);
        int y0 = std::max(0, (int)(y - r - soft)), y1 = std::min(img.height, (int)(y + r + soft) + 1);
        for (int py = y0; py < y1; py++)
            for (int px = x0; px < x1; px++)
            {
                float d = std::sqrt((px + 0.5f - x) * (px + 0.5f - x) + (py + 0.5f - y) * (py + 0.5f - y));
                float cover = 1.0f - SmoothStep(r - soft, r + soft, d);
                float rim = 0.55f + 0.45f * Clamp01(d / r);
                ImageBlendPixel(img, px, py, ColourWithAlpha(c, c.a * rim), cover);
            }
    }
}

DgImage MenuBackground()
{
    const int w = 1024, h = 768;
    DgImage img = ImageCreate(w, h);
    ImageFillShape(img, ShapeRoundRect(0, 0, w, h, 0), [&](float x, float y) {
        DgColour c = GradientAt({{0.0f, ColourHex(0x16245e)}, {0.55f, ColourHex(kNight)}, {1.0f, ColourHex(kInk)}}, y / h);
        float dx = (x - w * 0.5f) / w, dy = (y - h * 0.22f) / h;
        float glow = std::exp(-(dx * dx * 3.0f + dy * dy * 5.0f));
        c = ColourLerp(c, ColourHex(0x3460c8), glow * 0.45f);
        float n = Fbm2(x * 0.004f, y * 0.004f, 4, 21);
        return ColourShade(c, 1.0f + n * 0.18f);
    });
    // Light rays fanning down from the top.
    DgImage rays = ImageCreate(w, h);
    for (int i = 0; i < 9; i++)
    {
        float a = -0.9f + i * 0.22f;
        float x0 = w * 0.5f, y0 = -h * 0.2f;
        float x1 = x0 + std::sin(a) * h * 1.6f, y1 = y0 + std::cos(a) * h * 1.6f;
        ImageFillShape(rays, ShapeSegment(x0, y0, x1, y1, 22.0f + (i % 3) * 10.0f),
                       PaintLinear(x0, y0, x1, y1, ColourRgb(0.6f, 0.8f, 1.0f, 0.10f), ColourRgb(0.6f, 0.8f, 1.0f, 0.0f)));
    }
    ImageBlur(rays, 18.0f);
    ImageDraw(img, rays, 0, 0);
    // A faint hexagonal grid of empty ball places, fading downward.
    const float r = 26.0f;
    for (int row = 0; row < 12; row++)
        for (int col = -1; col < 22; col++)
        {
            float cx = col * r * 2.0f + (row % 2) * r * 0.95f + 10.0f, cy = r + row * r * 1.8f;
            float fade = 0.16f * (1.0f - row / 12.0f);
            ImageFillShape(img, ShapeOutline(ShapeCircle(cx, cy, r - 3.0f), 1.0f), PaintSolid(ColourRgb(0.55f, 0.75f, 1.0f, fade)),
                           cx - r, cy - r, cx + r, cy + r);
        }
    DrawBokeh(img, 34, 10.0f, 42.0f, 0.22f, 7);
    DrawBokeh(img, 14, 40.0f, 90.0f, 0.08f, 8);
    // Vignette.
    ImageFillShape(img, ShapeRoundRect(0, 0, w, h, 0), [&](float x, float y) {
        float dx = (x / w - 0.5f) * 1.6f, dy = (y / h - 0.5f) * 1.6f;
        float v = SmoothStep(0.35f, 1.25f, std::sqrt(dx * dx + dy * dy));
        return ColourRgb(0, 0, 0.02f, v * 0.7f);
    });
    return img;
}

// The game's name: near-white letters, a dark outline, a cool glow and a soft shadow.
DgTextStyle GameTitleStyle(float size)
{
    DgTextStyle style;
    style.size = size;
    style.tracking = size * 0.032f;
    style.top = ColourRgb(1, 1, 1);
    style.bottom = ColourHex(0xb8c8e8);
    style.outline = size * 0.047f;
    style.outlineColour = ColourHex(0x0a1236);
    style.shadowBlur = size * 0.053f;
    style.shadowY = size * 0.042f;
    style.shadowColour = ColourRgb(0, 0, 0.05f, 0.7f);
    style.glow = size * 0.095f;
    style.glowColour = ColourRgb(0.45f, 0.8f, 1.0f, 0.45f);
    style.shine = 0.35f;
    return style;
}

DgImage TitlePicture()
{
    const int w = 1024, h = 256;
    DgImage img = ImageCreate(w, h);
    DgTextStyle style = GameTitleStyle(190.0f);
    float textW = FontMeasure("PLINX", style.size, style.tracking);
    float cx = w * 0.5f - 40.0f;
    DrawText(img, "PLINX", cx, h * 0.5f, style);
    // The exclamation mark: a tapered bar and a ball for its dot.
    float ex = cx + textW * 0.5f + 70.0f;
    std::vector<std::pair<float, float>> bar = {{ex - 20, 52}, {ex + 20, 52}, {ex + 9, 160}, {ex - 9, 160}};
    DgShape barShape = ShapePolygon(bar);
    ImageFillShape(img, ShapeGrow(barShape, 9.0f), PaintSolid(ColourHex(0x0a1236)));
    ImageFillShape(img, barShape, PaintLinear(0, 52, 0, 160, ColourRgb(1, 1, 1), ColourHex(0xb8c8e8)));
    ImageFillShape(img, ShapeCircle(ex, 196, 27.0f), PaintSolid(ColourHex(0x0a1236)));
    DrawBall(img, ex, 196, 20.0f, ColourHex(kGold));
    return img;
}

// The maker's emblem: a ring around a fern frond over a little brook.
void DrawEmblem(DgImage &img, float cx, float cy, float size)
{
    float ringR = size * 0.46f, ringW = size * 0.045f;
    ImageFillShape(img, ShapeOutline(ShapeCircle(cx, cy, ringR), ringW + size * 0.012f), PaintSolid(ColourRgb(0, 0.05f, 0.02f, 0.8f)));
    ImageFillShape(img, ShapeOutline(ShapeCircle(cx, cy, ringR), ringW),
                   PaintLinear(cx, cy - ringR, cx, cy + ringR, ColourHex(0xd8ffb0), ColourHex(0x2e8a3a)));
    // Inner disc.
    ImageFillShape(img, ShapeCircle(cx, cy, ringR - ringW), PaintRadial(cx, cy - size * 0.15f, ringR, ColourHex(0x1c4a3a), ColourHex(0x06140f)));
    // The brook: two waves across the bottom of the disc.
    DgShape disc = ShapeCircle(cx, cy, ringR - ringW * 1.5f);
    for (int k = 0; k < 2; k++)
    {
        float base = cy + size * (0.22f + k * 0.09f);
        DgShape wave = [=](float x, float y) {
            float yy = base + std::sin((x - cx) / size * 14.0f + k * 1.3f) * size * 0.018f;
            return std::fabs(y - yy) - size * 0.018f;
        };
        ImageFillShape(img, ShapeIntersect(wave, disc), PaintSolid(ColourWithAlpha(ColourHex(k ? 0x2a8ad8 : 0x6cc8ff), 0.9f)));
    }
    // The frond: a curved stem with leaflets on both sides.
    auto stem = [&](float t, float &x, float &y) {
        float x0 = cx - size * 0.06f, y0 = cy + size * 0.2f;
        float x1 = cx - size * 0.2f, y1 = cy - size * 0.1f;
        float x2 = cx + size * 0.1f, y2 = cy - size * 0.36f;
        float u = 1.0f - t;
        x = u * u * x0 + 2 * u * t * x1 + t * t * x2;
        y = u * u * y0 + 2 * u * t * y1 + t * t * y2;
    };
    DgColour leafDark = ColourHex(0x2e9a3a), leafLight = ColourHex(0xb4f07a);
    for (int i = 0; i < 11; i++)
    {
        float t = 0.08f + i * 0.083f;
        float x, y, xa, ya;
        stem(t, x, y);
        stem(t + 0.01f, xa, ya);
        float dir = std::atan2(ya - y, xa - x);
        float len = size * (0.17f * std::pow(1.0f - t, 0.7f) + 0.025f);
        for (int side = -1; side <= 1; side += 2)
        {
            float a = dir + side * 1.05f;
            float lx = x + std::cos(a) * len * 0.5f, ly = y + std::sin(a) * len * 0.5f;
            ImageFillShape(img, ShapeRotatedEllipse(lx, ly, len * 0.5f, len * 0.17f, a),
                           PaintLinear(x, y, x + std::cos(a) * len, y + std::sin(a) * len, leafDark, leafLight), lx - len, ly - len,
                           lx + len, ly + len);
        }
    }
    for (int i = 0; i < 40; i++)
    {
        float x0, y0, x1, y1;
        stem(i / 40.0f, x0, y0);
        stem((i + 1) / 40.0f, x1, y1);
        ImageFillShape(img, ShapeSegment(x0, y0, x1, y1, size * 0.012f * (1.3f - i / 40.0f)), PaintSolid(ColourHex(0x9ce070)),
                       std::min(x0, x1) - 4, std::min(y0, y1) - 4, std::max(x0, x1) + 4, std::max(y0, y1) + 4);
    }
}

DgTextStyle MakerTextStyle(float size)
{
    DgTextStyle style;
    style.size = size;
    style.tracking = size * 0.06f;
    style.top = ColourHex(0xe8ffd8);
    style.bottom = ColourHex(0x78c850);
    style.outline = size * 0.06f;
    style.outlineColour = ColourHex(0x06140f);
    style.shadowBlur = size * 0.08f;
    style.shadowY = size * 0.05f;
    style.shine = 0.25f;
    return style;
}

DgImage MakerLogo()
{
    const int w = 512, h = 128;
    DgImage img = ImageCreate(w, h);
    DrawEmblem(img, 64, 64, 116);
    float size = FontFitSize("FERNBROOKS", 370.0f, 58.0f, 3.0f);
    DgTextStyle style = MakerTextStyle(size);
    DrawText(img, "FERNBROOKS", 128 + 186, 54, style);
    DgTextStyle sub;
    sub.size = 19.0f;
    sub.tracking = 9.0f;
    sub.top = sub.bottom = ColourHex(0xa8d8ff);
    sub.shadowBlur = 2.0f;
    sub.shadowY = 1.0f;
    DrawText(img, "GAMES", 128 + 186, 100, sub);
    return img;
}

DgImage SplashSquare()
{
    const int size = 512;
    DgImage img = ImageCreate(size, size, ColourRgb(0, 0, 0));
    // A faint green glow behind the emblem, falling to black at the edges (the splash
    // is drawn over a black screen).
    ImageFillShape(img, ShapeCircle(size * 0.5f, size * 0.42f, size * 0.48f),
                   PaintRadial(size * 0.5f, size * 0.42f, size * 0.48f, ColourRgb(0.06f, 0.2f, 0.12f), ColourRgb(0, 0, 0)));
    DrawEmblem(img, size * 0.5f, size * 0.4f, size * 0.62f);
    float textSize = FontFitSize("FERNBROOKS", size * 0.86f, 80.0f, 4.0f);
    DrawText(img, "FERNBROOKS", size * 0.5f, size * 0.83f, MakerTextStyle(textSize));
    return img;
}

DgImage FernRing()
{
    DgImage img = ImageCreate(256, 256);
    DrawEmblem(img, 128, 128, 250);
    return img;
}

DgImage MakerText()
{
    DgImage img = ImageCreate(512, 128);
    float size = FontFitSize("FERNBROOKS", 480.0f, 80.0f, 4.0f);
    DrawText(img, "FERNBROOKS", 256, 64, MakerTextStyle(size));
    return img;
}

DgImage GlowRing()
{
    const int size = 128;
    return ImageRenderSupersampled(size, size, 2, [&](float x, float y) {
        float u = (x - size * 0.5f) / (size * 0.5f), v = (y - size * 0.5f) / (size * 0.5f);
        float r = std::sqrt(u * u + v * v);
        float ring = std::exp(-std::pow((r - 0.78f) / 0.09f, 2.0f));
        float a = std::atan2(v, u);
        float sparkle = 0.6f + 0.4f * std::pow(std::fabs(std::cos(a * 4.0f)), 8.0f);
        float k = Clamp01(ring * sparkle) * Clamp01((1.0f - r) * 6.0f);
        return ColourPremultiply(ColourRgb(0.75f, 1.0f, 0.7f, k));
    });
}

DgImage Banner()
{
    const int w = 560, h = 100;
    DgImage img = ImageCreate(w, h);
    ImageFillShape(img, ShapeRoundRect(0, 0, w, h, 0), [&](float x, float y) {
        DgColour c = GradientAt({{0.0f, ColourHex(0x1c3070)}, {1.0f, ColourHex(kInk)}}, y / h);
        float glow = std::exp(-std::pow((x - w * 0.3f) / (w * 0.35f), 2.0f) - std::pow((y - h * 0.3f) / h, 2.0f));
        return ColourLerp(c, ColourHex(0x3460c8), glow * 0.45f);
    });
    DrawBokeh(img, 14, 4.0f, 14.0f, 0.3f, 11);
    // A small cluster of balls on the right, as in the game's grid.
    const float r = 15.0f;
    int colours[] = {3, 5, 6, 4, 7, 1, 0};
    float places[][2] = {{w - 150, 28}, {w - 120, 28}, {w - 90, 28}, {w - 60, 28},
                         {w - 135, 55}, {w - 105, 55}, {w - 75, 55}};
    for (int i = 0; i < 7; i++)
        DrawBall(img, places[i][0], places[i][1], r, BallColour(colours[i]), 3.0f);
    DrawBall(img, w - 105, 84, r * 0.9f, BallColour(2), 3.0f);
    DgTextStyle style = GameTitleStyle(58.0f);
    float tw = FontMeasure("PLINX!", style.size, style.tracking);
    DrawText(img, "PLINX!", 30 + tw * 0.5f, 42, style);
    DgTextStyle sub;
    sub.size = 15.0f;
    sub.tracking = 2.0f;
    sub.top = sub.bottom = ColourHex(kIce);
    float sw = FontMeasure("A BALL-SHOOTING PUZZLE GAME", sub.size, sub.tracking);
    DrawText(img, "A BALL-SHOOTING PUZZLE GAME", 32 + sw * 0.5f, 80, sub);
    return img;
}

// The program icon drawn at `size` pixels (drawn, not scaled, so that the small sizes
// stay sharp): three balls on a rounded panel.
DgImage Icon(int size)
{
    const float s = size / 128.0f;
    DgImage img = ImageCreate(size, size);
    DgPanelStyle style = PanelStyle(ColourHex(0x2a4aa8), ColourHex(0x0a1236), ColourRgb(0.7f, 0.9f, 1.0f, 0.7f),
                                    std::max(2.5f * s, 1.0f), std::max(2.0f * s, 0.75f), 0.22f);
    DrawPanel(img, 4 * s, 4 * s, size - 8 * s, size - 8 * s, 26.0f * s, style);
    const float r = 23.0f * s;
    DrawBall(img, 64 * s - r, 50 * s, r, BallColour(3), 4.0f * s);
    DrawBall(img, 64 * s + r, 50 * s, r, BallColour(5), 4.0f * s);
    DrawBall(img, 64 * s, 50 * s + r * 1.75f, r, BallColour(6), 4.0f * s);
    return img;
}
} // namespace

void GenMenus()
{
    OutPicture("MenuBg.jpg", MenuBackground(), 92);
    OutPicture("PlinxText.png", TitlePicture());
    OutPicture("FbLogo.png", MakerLogo());
    DgImage splash = SplashSquare();
    for (int q = 0; q < 4; q++)
    {
        char name[32];
        std::snprintf(name, sizeof name, "Splash%d.jpg", q + 1);
        OutPicture(name, ImageCrop(splash, (q % 2) * 256, (q / 2) * 256, 256, 256), 94);
    }
    OutPicture("FernRing.png", FernRing());
    OutPicture("FbText.png", MakerText());
    OutPicture("TexEffects1.png", GlowRing());
    OutPicture("StartupBanner.png", Banner());
    OutPicture("PlinxIcon.png", Icon(128));
    // The desktop's copies, one per size of the icon theme.
    for (int size : {16, 32, 48, 128, 256})
        OutPicture("Icons/PlinxIcon" + std::to_string(size) + ".png", Icon(size));
}
