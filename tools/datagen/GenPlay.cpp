// Play-screen pictures: turret and its end cap, the field borders, the bottom bars of the
// game and the editor, the text and place boxes, the particle sprite, the texture cursor
// and the platform icon atlas.
#include <algorithm>
#include <cmath>

#include "Datagen.h"
#include "DgFont.h"
#include "DgOutput.h"

namespace
{
// Brushed metal: a horizontal profile across `width` with fine vertical streaks.
DgColour Metal(float t, const DgColour &dark, const DgColour &light, float streak)
{
    // Bright band a little left of the centre, dark edges.
    float profile = std::exp(-std::pow((t - 0.38f) / 0.22f, 2.0f)) * 0.85f + 0.15f * (1.0f - std::fabs(t - 0.5f) * 2.0f);
    DgColour c = ColourLerp(dark, light, Clamp01(profile));
    return ColourShade(c, 1.0f + streak * 0.06f);
}

DgImage Turret()
{
    const int w = 64, h = 192;
    DgImage img = ImageCreate(w, h);
    // Barrel: tapered from 36 pixels at the pivot to 26 at the muzzle.
    auto half = [&](float y) { return Lerp(13.0f, 18.0f, y / h); };
    DgShape barrel = [&](float x, float y) {
        float top = 16.0f, bottom = h + 4.0f;
        float dx = std::fabs(x - w * 0.5f) - half(y);
        float dy = std::max(top - y, y - bottom);
        return std::max(dx, dy);
    };
    ImageFillShape(img, ShapeGrow(barrel, 1.2f), PaintSolid(ColourRgb(0.02f, 0.03f, 0.08f, 0.85f)));
    ImageFillShape(img, barrel, [&](float x, float y) {
        float t = (x - (w * 0.5f - half(y))) / (2.0f * half(y));
        float streak = Noise2(x * 0.9f, y * 0.05f, 3);
        return Metal(t, ColourHex(0x2a3550), ColourHex(0xdfe6f5), streak);
    });
    // The groove the ball runs in.
    ImageFillShape(img, ShapeRoundRect(w * 0.5f - 5.0f, 24.0f, 10.0f, h - 30.0f, 5.0f),
                   PaintLinear(0, 0, 0, h, ColourRgb(0.05f, 0.1f, 0.25f, 0.85f), ColourRgb(0.1f, 0.2f, 0.4f, 0.9f)));
    // Glowing chevrons along the groove, brighter toward the muzzle.
    for (int i = 0; i < 5; i++)
    {
        float cy = 40.0f + i * 30.0f;
        float glow = 1.0f - i * 0.15f;
        std::vector<std::pair<float, float>> chevron = {{w * 0.5f, cy - 6.0f}, {w * 0.5f + 8.0f, cy + 2.0f},
                                                        {w * 0.5f + 8.0f, cy + 7.0f}, {w * 0.5f, cy - 1.0f},
                                                        {w * 0.5f - 8.0f, cy + 7.0f}, {w * 0.5f - 8.0f, cy + 2.0f}};
        ImageFillShape(img, ShapePolygon(chevron), PaintSolid(ColourWithAlpha(ColourHex(kCyan), glow)));
    }
    // Muzzle ring.
    ImageFillShape(img, ShapeRoundRect(w * 0.5f - 19.0f, 6.0f, 38.0f, 16.0f, 7.0f),
                   PaintSolid(ColourRgb(0.02f, 0.03f, 0.08f, 0.9f)));
    ImageFillShape(img, ShapeRoundRect(w * 0.5f - 18.0f, 7.0f, 36.0f, 14.0f, 6.0f),
                   PaintLinear(0, 7, 0, 21, ColourHex(0xfff1b0), ColourHex(0xb57a10)));
    ImageFillShape(img, ShapeRoundRect(w * 0.5f - 12.0f, 11.0f, 24.0f, 5.0f, 2.5f),
                   PaintSolid(ColourRgb(0.1f, 0.06f, 0.02f, 0.8f)));
    return img;
}

DgImage TurretEnd()
{
    const int w = 64, h = 48;
    DgImage img = ImageCreate(w, h);
    ImageFillShape(img, ShapeEllipse(w * 0.5f, h * 0.5f, 31.0f, 23.0f), PaintSolid(ColourRgb(0.02f, 0.03f, 0.08f, 0.9f)));
    ImageFillShape(img, ShapeEllipse(w * 0.5f, h * 0.5f, 29.5f, 21.5f), [&](float x, float y) {
        float u = (x - w * 0.5f) / 29.5f, v = (y - h * 0.5f) / 21.5f;
        float r2 = std::min(1.0f, u * u + v * v);
        return ShadeSphere(u, -v, std::sqrt(1.0f - r2), ColourHex(0xc9a040), 0.8f);
    });
    ImageFillShape(img, ShapeEllipse(w * 0.5f, h * 0.5f, 18.0f, 13.0f), PaintSolid(ColourRgb(0.03f, 0.05f, 0.12f, 0.95f)));
    ImageFillShape(img, ShapeEllipse(w * 0.5f, h * 0.5f, 12.0f, 8.5f), [&](float x, float y) {
        float u = (x - w * 0.5f) / 12.0f, v = (y - h * 0.5f) / 8.5f;
        float r2 = std::min(1.0f, u * u + v * v);
        return ShadeSphere(u, -v, std::sqrt(1.0f - r2), ColourHex(kCyan), 1.0f);
    });
    return img;
}

// A greyscale (tinted by the game) metal rail along one axis: `t` across the rail 0-1
// from its outer to its inner edge, `along` the position along it.
DgColour RailColour(float t, float along)
{
    // Bevels: light outer lip, dark channel, raised bright inner edge.
    float v;
    if (t < 0.12f)
        v = Lerp(0.55f, 0.95f, t / 0.12f);
    else if (t < 0.3f)
        v = Lerp(0.95f, 0.62f, (t - 0.12f) / 0.18f);
    else if (t < 0.72f)
        v = 0.5f + 0.08f * std::sin((t - 0.3f) / 0.42f * 3.14159f);
    else if (t < 0.86f)
        v = Lerp(0.6f, 1.0f, (t - 0.72f) / 0.14f);
    else
        v = Lerp(1.0f, 0.35f, (t - 0.86f) / 0.14f);
    // Fine brushing along the rail; tiles every 64 pixels.
    float brush = std::sin(along * 0.098174770f * 3.0f + t * 9.0f) * 0.02f;
    v += brush;
    return ColourRgb(v, v, v);
}

DgImage Borders()
{
    const int size = 512, band = 32;
    DgImage img = ImageCreate(size, size);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++)
        {
            float fx = x + 0.5f, fy = y + 0.5f;
            DgColour c;
            bool left = x < band, right = x >= size - band, top = y < band;
            if (!left && !right && !top)
                continue;
            if (top && !(left || right))
                c = RailColour(fy / band, fx);
            else if (top)
            {
                // Corners: the rail that is nearer its inner edge wins (a mitred joint).
                float ts = left ? fx / band : (size - fx) / band;
                float tt = fy / band;
                c = ts > tt ? RailColour(ts, fy) : RailColour(tt, fx);
            }
            else
                c = RailColour(left ? fx / band : (size - fx) / band, fy);
            img.At(x, y) = ColourPremultiply(c);
        }
    // Rivets every 64 pixels down the sides and along the top.
    for (int i = 0; i < size / 64; i++)
    {
        float along = 32.0f + i * 64.0f;
        float spots[3][2] = {{band * 0.5f, along}, {size - band * 0.5f, along}, {along, band * 0.5f}};
        for (auto &s : spots)
        {
            if (s[0] > band && s[0] < size - band && s[1] < band && (s[0] < 64 || s[0] > size - 64))
                continue;
            ImageFillShape(img, ShapeCircle(s[0], s[1] + 1.0f, 4.5f), PaintSolid(ColourRgb(0.15f, 0.15f, 0.15f, 0.7f)));
            ImageFillShape(img, ShapeCircle(s[0], s[1], 4.0f), [&](float x, float y) {
                float u = (x - s[0]) / 4.0f, v = (y - s[1]) / 4.0f;
                float r2 = std::min(1.0f, u * u + v * v);
                return ShadeSphere(u, -v, std::sqrt(1.0f - r2), ColourRgb(0.8f, 0.8f, 0.8f), 0.9f);
            });
        }
    }
    return img;
}

// The console of the bottom bar: dark blue metal with recessed slots.
DgImage Console(int w, int h, bool editor)
{
    DgImage img = ImageCreate(w, h);
    ImageFillShape(img, ShapeRoundRect(0, 0, (float)w, (float)h, 0.0f), [&](float x, float y) {
        float n = Fbm2(x * 0.02f, y * 0.08f, 3, 8) * 0.06f;
        DgColour c = GradientAt({{0.0f, ColourHex(0x3a4f8c)}, {0.08f, ColourHex(0x1d2a5c)}, {1.0f, ColourHex(0x0b1230)}}, y / h);
        return ColourShade(c, 1.0f + n);
    });
    // A bright lip along the top edge.
    ImageFillShape(img, ShapeRoundRect(0, 0, (float)w, 3.0f, 0.0f), PaintLinear(0, 0, 0, 3, ColourHex(0xa8c8ff), ColourHex(0x4c68b0)));
    // Faint hexagon pattern.
    const float hexR = 9.0f;
    for (int row = 0; row * hexR * 1.5f < h + hexR; row++)
        for (int col = 0; col * hexR * 1.732f < w + hexR; col++)
        {
            float cx = col * hexR * 1.732f + (row % 2) * hexR * 0.866f, cy = 8.0f + row * hexR * 1.5f;
            std::vector<std::pair<float, float>> hex;
            for (int k = 0; k < 6; k++)
                hex.push_back({cx + std::sin(k * 1.0472f) * (hexR - 1.0f), cy - std::cos(k * 1.0472f) * (hexR - 1.0f)});
            ImageFillShape(img, ShapeOutline(ShapePolygon(hex), 0.5f), PaintSolid(ColourRgb(0.6f, 0.75f, 1.0f, 0.05f)),
                           cx - hexR, cy - hexR, cx + hexR, cy + hexR);
        }
    auto slot = [&](float x, float y, float sw, float sh) {
        ImageFillShape(img, ShapeRoundRect(x - 2, y - 2, sw + 4, sh + 4, 9.0f),
                       PaintLinear(0, y - 2, 0, y + sh + 2, ColourHex(0x050818), ColourHex(0x6a86c8)));
        ImageFillShape(img, ShapeRoundRect(x, y, sw, sh, 7.0f),
                       PaintLinear(0, y, 0, y + sh, ColourHex(0x04071a), ColourHex(0x101c48)));
    };
    if (editor)
    {
        // One long groove for the next-ball strip and two small slots.
        slot(w * 0.04f, h * 0.16f, w * 0.92f, h * 0.34f);
        slot(w * 27.0f / 640.0f, h * 0.6f, w * 136.0f / 640.0f, h * 0.3f);
        slot(w * 479.0f / 640.0f, h * 0.6f, w * 136.0f / 640.0f, h * 0.3f);
    }
    else
    {
        slot(w * 27.0f / 640.0f, h * 0.2f, w * 136.0f / 640.0f, h * 0.56f);
        slot(w * 479.0f / 640.0f, h * 0.2f, w * 136.0f / 640.0f, h * 0.56f);
        // The turret's socket in the middle.
        float cx = w * 0.5f;
        ImageFillShape(img, ShapeCircle(cx, h * 0.76f, h * 0.52f),
                       PaintRadial(cx, h * 0.76f, h * 0.52f, ColourHex(0x02040e), ColourHex(0x5a78c0)));
        ImageFillShape(img, ShapeCircle(cx, h * 0.76f, h * 0.46f),
                       PaintRadial(cx, h * 0.6f, h * 0.5f, ColourHex(0x1a2a60), ColourHex(0x050a20)));
        ImageFillShape(img, ShapeOutline(ShapeCircle(cx, h * 0.76f, h * 0.38f), 0.8f),
                       PaintSolid(ColourRgb(0.24f, 0.78f, 1.0f, 0.45f)));
    }
    // Screws in the corners.
    float screws[4][2] = {{8, 12}, {(float)w - 8, 12}, {8, (float)h - 8}, {(float)w - 8, (float)h - 8}};
    for (auto &s : screws)
        DrawBall(img, s[0], s[1], 3.0f, ColourHex(0x8090b0));
    return img;
}

DgImage TextBack()
{
    const int w = 128, h = 32;
    DgImage img = ImageCreate(w, h, ColourHex(0x101c48));
    ImageFillShape(img, ShapeRoundRect(0, 0, w, h, 0.0f), PaintLinear(0, 0, 0, h, ColourHex(0x03061a), ColourHex(0x16265c)));
    ImageFillShape(img, ShapeRoundRect(1, 1, w - 2, h - 2, 3.0f), PaintLinear(0, 0, 0, h, ColourHex(0x060b26), ColourHex(0x1b2d6a)));
    // A faint reflection across the upper half.
    ImageFillShape(img, ShapeRoundRect(3, 2, w - 6, h * 0.42f, 2.0f),
                   PaintLinear(0, 2, 0, h * 0.45f, ColourRgb(0.6f, 0.8f, 1.0f, 0.14f), ColourRgb(0.6f, 0.8f, 1.0f, 0.0f)));
    return img;
}

DgImage BoxBg()
{
    const int w = 512, h = 64;
    DgImage img = ImageCreate(w, h);
    DgPanelStyle style = PanelStyle(ColourRgb(0.09f, 0.16f, 0.38f, 0.95f), ColourRgb(0.02f, 0.04f, 0.14f, 0.95f),
                                    ColourRgb(0.55f, 0.85f, 1.0f, 0.9f), 2.0f, 1.5f, 0.18f);
    DrawPanel(img, 4, 4, w - 8, h - 8, 20.0f, style);
    return img;
}

void EffectSprite()
{
    const int size = 64;
    // Soft round glow with a faint four-ray sparkle. Stored as grey levels equal to the
    // alpha (white on black), so that it also works when loaded without its alpha. The
    // glow fills the square to where it has faded to a few levels (three quarters of the
    // radius it would take to vanish): a sprite costs its whole square at every frame,
    // and the effects size their sprites to match (EFFECT_SPRITE_FILL in the game's effects).
    const float reach = 0.75f;
    DgImage img = ImageRenderSupersampled(size, size, 2, [&](float x, float y) {
        float edgeU = (x - size * 0.5f) / (size * 0.5f), edgeV = (y - size * 0.5f) / (size * 0.5f);
        float u = edgeU * reach, v = edgeV * reach;
        float r2 = u * u + v * v;
        float glow = std::exp(-r2 * 5.5f);
        float rays = std::exp(-std::fabs(u) * 26.0f) * std::exp(-std::fabs(v) * 2.6f) +
                     std::exp(-std::fabs(v) * 26.0f) * std::exp(-std::fabs(u) * 2.6f);
        float core = std::exp(-r2 * 40.0f);
        float edge = Clamp01((1.0f - (edgeU * edgeU + edgeV * edgeV)) * 8.0f);
        float a = Clamp01(glow * 0.85f + rays * 0.35f + core * 0.4f) * edge;
        return DgColour{a, a, a, a};
    });
    std::vector<uint8_t> rgba((size_t)size * size * 4);
    for (int i = 0; i < size * size; i++)
        for (int k = 0; k < 4; k++)
            rgba[i * 4 + k] = (uint8_t)(Clamp01(img.px[i].a) * 255.0f + 0.5f);
    OutTgaBytes("NormalEffect.tga", size, size, rgba, &img);
}

void Cursor()
{
    const int w = 14, h = 20;
    std::vector<std::pair<float, float>> arrow = {{2.0f, 1.6f},  {2.0f, 15.8f}, {5.4f, 12.6f}, {8.0f, 18.2f},
                                                  {10.2f, 17.2f}, {7.7f, 11.8f}, {12.0f, 11.8f}};
    DgShape shape = ShapePolygon(arrow);
    DgImage img = ImageRenderSupersampled(w, h, 4, [&](float x, float y) {
        float d = shape(x, y);
        if (d < 0.0f)
        {
            DgColour c = ColourLerp(ColourRgb(1, 1, 1), ColourHex(kIce), Clamp01((y - 2.0f) / 16.0f));
            return ColourPremultiply(c);
        }
        if (d < 1.1f)
            return ColourPremultiply(ColourHex(0x0a1030));
        if (d < 2.2f)
            return DgColour{0, 0, 0, 0.25f * (2.2f - d)};
        return DgColour{0, 0, 0, 0};
    });
    // Drawn with "add the colour, keep the background times alpha": store the
    // premultiplied colour and alpha = 1 - coverage.
    std::vector<uint8_t> rgba((size_t)w * h * 4);
    for (int i = 0; i < w * h; i++)
    {
        const DgColour &p = img.px[i];
        rgba[i * 4 + 0] = (uint8_t)std::lround(Clamp01(p.r) * 255.0f);
        rgba[i * 4 + 1] = (uint8_t)std::lround(Clamp01(p.g) * 255.0f);
        rgba[i * 4 + 2] = (uint8_t)std::lround(Clamp01(p.b) * 255.0f);
        rgba[i * 4 + 3] = (uint8_t)std::lround((1.0f - Clamp01(p.a)) * 255.0f);
    }
    OutTgaBytes("Cursor.tga", w, h, rgba, &img);
}

// Platform icons: a coloured badge with a device outline and the platform's letter.
DgImage PlatformAtlas()
{
    const int cell = 64;
    DgImage img = ImageCreate(cell * 4, cell * 4);
    struct Icon
    {
        char letter;
        int device; // 0 screen, 1 phone, 2 tablet, 3 browser window
        uint32_t colour;
    };
    const Icon icons[12] = {{'M', 0, 0x8c96a8}, {'W', 0, 0x2a7fe0}, {'I', 1, 0x707a88}, {'P', 0, 0x3a5a9a},
                            {'A', 1, 0x5aa832}, {'L', 0, 0xe0a020}, {'R', 2, 0xc0392b}, {'S', 3, 0x8e44ad},
                            {'F', 3, 0x3b5998}, {'r', 1, 0xd35400}, {'B', 1, 0x34495e}, {'b', 2, 0x16a085}};
    for (int i = 0; i < 12; i++)
    {
        float x = (i % 4) * cell, y = (i / 4) * cell;
        const Icon &ic = icons[i];
        DgColour base = ColourHex(ic.colour);
        DrawPanel(img, x + 3, y + 3, cell - 6, cell - 6, 12.0f,
                  PanelStyle(ColourTint(base, 0.25f), ColourShade(base, 0.6f), ColourRgb(1, 1, 1, 0.6f), 1.5f, 1.5f, 0.3f));
        DgColour white = ColourRgb(1, 1, 1, 0.95f);
        float cx = x + cell * 0.5f, cy = y + cell * 0.5f;
        DgShape device;
        switch (ic.device)
        {
        case 1:
            device = ShapeOutline(ShapeRoundRect(cx - 11, cy - 20, 22, 40, 5), 1.6f);
            break;
        case 2:
            device = ShapeOutline(ShapeRoundRect(cx - 18, cy - 16, 36, 32, 4), 1.6f);
            break;
        case 3:
            device = ShapeUnion(ShapeOutline(ShapeRoundRect(cx - 21, cy - 17, 42, 34, 3), 1.6f),
                                ShapeRoundRect(cx - 21, cy - 17, 42, 8, 3));
            break;
        default:
            device = ShapeUnion(ShapeOutline(ShapeRoundRect(cx - 21, cy - 18, 42, 28, 3), 1.6f),
                                ShapeUnion(ShapeRoundRect(cx - 3, cy + 10, 6, 5, 0), ShapeRoundRect(cx - 11, cy + 15, 22, 3, 1.5f)));
            break;
        }
        ImageFillShape(img, device, PaintSolid(white), x, y, x + cell, y + cell);
        DgTextStyle text;
        text.size = ic.device == 1 ? 19.0f : 21.0f;
        text.top = ColourRgb(1, 1, 1);
        text.bottom = ColourHex(kIce);
        text.shadowBlur = 1.5f;
        text.shadowY = 1.0f;
        float ty = ic.device == 0 ? cy - 4.0f : (ic.device == 3 ? cy + 3.0f : cy);
        DrawText(img, std::string(1, ic.letter), cx, ty, text);
    }
    return img;
}
} // namespace

void GenPlayScreen()
{
    OutPicture("Turret.png", Turret());
    OutPicture("TurretEnd.tga", TurretEnd());
    OutPicture("Borders.tga", Borders());
    OutPicture("Bottom.jpg", Console(640, 100, false), 92);
    OutPicture("CpBottom.bmp", Console(640, 100, true));
    OutPicture("TextBack.bmp", TextBack());
    OutPicture("BoxBg.png", BoxBg());
    EffectSprite();
    Cursor();
    OutPicture("Common/Platform.png", PlatformAtlas());
}
