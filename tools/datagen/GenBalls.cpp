// The balls: 10 colours x 35 frames of a ball rolling half a turn, packed 8 x 8 per
// 512 x 512 JPEG sheet; the circular masks; the wildcard, exploding and stone balls.
//
// The game shows frames 35-69 as frames 34-0 turned upside down. A ball rolling about the
// horizontal axis looks the same that way when its pattern is symmetric about the plane
// of the axis and the view direction, and its light lies on the horizontal mid-line;
// frame f is drawn at (f + 0.5) steps of 1/70 turn so that the flipped half continues
// the motion without a repeated or missing step.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Datagen.h"
#include "DgOutput.h"

namespace
{
const int kTile = 64;
const int kFrames = 35;
const float kPi = 3.14159265358979f;

float Band(float distance, float halfWidth, float soft)
{
    return 1.0f - SmoothStep(halfWidth - soft, halfWidth + soft, std::fabs(distance));
}

// How much of the pattern colour shows at body point (x, y, z); symmetric in y.
float BallPattern(int type, float x, float y, float z)
{
    const float soft = 0.035f;
    float ay = std::fabs(y);
    switch (type)
    {
    case 0: // six spots at the ends of the three axes
    {
        float m = std::max({std::fabs(x), ay, std::fabs(z)});
        return SmoothStep(0.86f - soft, 0.86f + soft, m);
    }
    case 1: // two crossing bands
        return std::max(Band(y, 0.2f, soft), Band(z, 0.09f, soft));
    case 2: // pearl swirl
    {
        float a = std::atan2(z, x);
        return 0.55f * Band(std::sin(a * 3.0f + ay * 4.0f), 0.35f, 0.25f);
    }
    case 3: // six-pointed stars front and back, a ring around the side
    {
        float az = std::fabs(z);
        float r = std::sqrt(x * x + y * y);
        float a = std::atan2(ay, std::fabs(x));
        float star = 0.26f + 0.17f * std::pow(std::fabs(std::cos(a * 3.0f)), 3.0f);
        float s = az > 0.0f ? 1.0f - SmoothStep(star - soft, star + soft, r) : 0.0f;
        return std::max(s * SmoothStep(0.2f, 0.4f, az), Band(x, 0.08f, soft) * SmoothStep(0.3f, 0.5f, ay + 0.2f));
    }
    case 4: // eight segments around the rolling axis
    {
        float a = std::atan2(z, y);
        float s = std::cos(a * 4.0f);
        return SmoothStep(-0.12f, 0.12f, s) * SmoothStep(0.2f, 0.35f, 1.0f - std::fabs(x));
    }
    case 5: // rings around the x and z axes
        return std::max(Band(std::fabs(z) - 0.62f, 0.07f, soft), Band(std::fabs(x) - 0.62f, 0.07f, soft));
    case 6: // dots
    {
        static const float dots[][3] = {{0, 0, 1},         {0, 0, -1},        {1, 0, 0},       {-1, 0, 0},
                                        {0.5f, 0.7f, 0.5f}, {-0.5f, 0.7f, 0.5f}, {0.5f, 0.7f, -0.5f},
                                        {-0.5f, 0.7f, -0.5f}};
        float best = 0.0f;
        for (const auto &d : dots)
        {
            float len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            float c = (x * d[0] + ay * d[1] + z * d[2]) / len;
            best = std::max(best, SmoothStep(0.93f - 0.012f, 0.93f + 0.012f, c));
        }
        return best;
    }
    case 7: // a wavy band
    {
        float a = std::atan2(z, x);
        return Band(y, 0.22f + 0.09f * std::sin(a * 5.0f), soft);
    }
    case 8: // quarters
    {
        float q = x * z;
        return SmoothStep(-0.02f, 0.02f, q) * (1.0f - Band(ay, 0.06f, soft) * 0.0f);
    }
    default: // 9: chevrons
    {
        float a = std::atan2(z, x);
        return Band(std::sin(a * 2.0f + ay * 6.0f), 0.3f, 0.12f);
    }
    }
}

DgColour PatternColour(int type, const DgColour &base)
{
    switch (type)
    {
    case 2:
        return ColourRgb(0.72f, 0.78f, 1.0f);
    case 6:
        return ColourHex(0xff7a10);
    case 8:
        return ColourHex(0x5a3cd8);
    case 9:
        return ColourHex(0x3c9a18);
    default:
        return ColourTint(base, 0.72f);
    }
}

// Straight colour of ball `type` at pixel point (px, py) of a tile, rolled by `angle`.
DgColour BallSample(int type, float px, float py, float angle)
{
    float radius = kTile * 0.5f - 0.5f;
    float u = (px - kTile * 0.5f) / radius, v = (py - kTile * 0.5f) / radius;
    float r2 = u * u + v * v;
    float nx = u, ny = -v, nz = 0.0f;
    if (r2 < 1.0f)
        nz = std::sqrt(1.0f - r2);
    else
    {
        float k = 1.0f / std::sqrt(r2);
        nx *= k, ny *= k;
    }
    // Body coordinates: undo the roll about the x axis.
    float c = std::cos(angle), s = std::sin(angle);
    float bx = nx, by = ny * c + nz * s, bz = -ny * s + nz * c;
    DgColour base = BallColour(type);
    // Outside the ball (hidden by the mask) only the plain edge colour continues.
    DgColour surface = r2 < 1.0f ? ColourLerp(base, PatternColour(type, base), BallPattern(type, bx, by, bz)) : base;
    return ShadeSphere(nx, ny, nz, surface, 0.85f);
}

DgImage RenderFrame(int type, int frame)
{
    float angle = (frame + 0.5f) * kPi / kFrames;
    return ImageRenderSupersampled(
        kTile, kTile, 2, [&](float x, float y) { return BallSample(type, x, y, angle); }, false);
}

DgImage RenderMask(int size)
{
    float radius = size * 0.5f - 0.5f;
    DgImage mask = ImageRenderSupersampled(size, size, 4, [&](float x, float y) {
        float dx = x - size * 0.5f, dy = y - size * 0.5f;
        float a = dx * dx + dy * dy <= radius * radius ? 1.0f : 0.0f;
        return DgColour{a, a, a, a};
    });
    return mask;
}

// A special ball of `size` pixels from a surface function of the sphere normal; lit from
// the viewer so that it looks the same at every turn (the game spins these).
DgImage RenderSpecial(int size, const std::function<DgColour(float, float, float)> &surface, float gloss)
{
    float radius = size * 0.5f - 0.5f;
    return ImageRenderSupersampled(size, size, 4, [&](float px, float py) {
        float u = (px - size * 0.5f) / radius, v = (py - size * 0.5f) / radius;
        float r2 = u * u + v * v;
        if (r2 > 1.0f)
            return DgColour{0, 0, 0, 0};
        float nz = std::sqrt(1.0f - r2);
        DgColour c = ShadeSphere(u, -v, nz, surface(u, -v, nz), gloss, -0.18f);
        return ColourPremultiply(c);
    });
}

DgColour Hue(float h)
{
    h = h - std::floor(h);
    float r = Clamp01(std::fabs(h * 6.0f - 3.0f) - 1.0f);
    float g = Clamp01(2.0f - std::fabs(h * 6.0f - 2.0f));
    float b = Clamp01(2.0f - std::fabs(h * 6.0f - 4.0f));
    return ColourRgb(r, g, b);
}

DgColour WildcardSurface(float x, float y, float z)
{
    // A rainbow pinwheel with a white star in the middle.
    float a = std::atan2(y, x) / (2.0f * kPi);
    float r = std::sqrt(x * x + y * y);
    DgColour c = ColourTint(Hue(a + r * 0.35f), 0.12f);
    float arm = std::sin((a * 6.0f + r * 1.6f) * 2.0f * kPi);
    c = ColourShade(c, 0.82f + 0.18f * arm);
    float angle = std::atan2(y, x);
    float star = 0.16f + 0.22f * std::pow(std::fabs(std::cos(angle * 2.0f)), 6.0f);
    float white = 1.0f - SmoothStep(star - 0.03f, star + 0.03f, r);
    (void)z;
    return ColourLerp(c, ColourRgb(1, 1, 1), white);
}

DgColour ExplodingSurface(float x, float y, float z)
{
    // Charcoal shell with glowing cracks and a hot core.
    float n = Fbm3(x * 3.0f, y * 3.0f, z * 3.0f, 4, 77);
    float crack = 1.0f - SmoothStep(0.0f, 0.06f, std::fabs(n));
    float r = std::sqrt(x * x + y * y);
    DgColour shell = ColourLerp(ColourHex(0x2a2024), ColourHex(0x3c3034), Fbm3(x * 9, y * 9, z * 9, 3, 5) * 0.5f + 0.5f);
    DgColour glow = ColourLerp(ColourHex(0xffe27a), ColourHex(0xff4a10), Clamp01(r * 1.3f));
    float core = 1.0f - SmoothStep(0.12f, 0.34f, r);
    return ColourLerp(shell, glow, std::max(crack * 0.95f, core));
}

DgColour StoneSurface(float x, float y, float z)
{
    float n = Fbm3(x * 4.0f, y * 4.0f, z * 4.0f, 5, 31) * 0.5f + 0.5f;
    float speck = Fbm3(x * 22.0f, y * 22.0f, z * 22.0f, 2, 9);
    DgColour c = ColourLerp(ColourHex(0x5e5e66), ColourHex(0xa8a8ae), n);
    if (speck > 0.35f)
        c = ColourShade(c, 0.75f);
    else if (speck < -0.45f)
        c = ColourTint(c, 0.3f);
    float crack = Fbm3(x * 2.5f + 3.0f, y * 2.5f, z * 2.5f, 3, 12);
    c = ColourShade(c, 1.0f - 0.55f * (1.0f - SmoothStep(0.0f, 0.035f, std::fabs(crack))));
    return c;
}

void WriteMaskTga(const std::string &name, int size)
{
    DgImage mask = RenderMask(size);
    std::vector<uint8_t> rgba((size_t)size * size * 4);
    for (int i = 0; i < size * size; i++)
    {
        rgba[i * 4 + 0] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = 255;
        rgba[i * 4 + 3] = (uint8_t)std::lround(Clamp01(mask.px[i].a) * 255.0f);
    }
    OutTgaBytes(name, size, size, rgba, &mask);
}
} // namespace

void GenBalls()
{
    const int perSheet = 64;
    std::vector<DgImage> frames(10 * kFrames);
    ParallelFor((int)frames.size(), [&](int k) { frames[k] = RenderFrame(k / kFrames, k % kFrames); });
    DgImage sheet;
    for (int k = 0; k < 10 * kFrames; k++)
    {
        if (k % perSheet == 0)
            sheet = ImageCreate(512, 512, ColourRgb(0, 0, 0));
        int tile = k % perSheet;
        ImageDraw(sheet, frames[k], (tile % 8) * kTile, (tile / 8) * kTile);
        if (tile == perSheet - 1 || k == 10 * kFrames - 1)
        {
            char name[32];
            std::snprintf(name, sizeof name, "Packed/%02d.jpg", k / perSheet);
            OutPicture(name, sheet, 95);
        }
    }
    WriteMaskTga("RollAlpha64.tga", 64);
    WriteMaskTga("RollAlpha.tga", 128);
    OutPicture("1.tga", RenderSpecial(128, WildcardSurface, 0.9f));
    OutPicture("2.tga", RenderSpecial(128, ExplodingSurface, 0.7f));
    OutPicture("3.tga", RenderSpecial(128, StoneSurface, 0.25f));
}
