// The field's borders: a metal rail down each side and along the top, tinted with a
// colour that blends to a new random one each level, and the bottom bar under them. The
// top rail comes down with the grid as it scrolls; the side rails' rivets follow it.
//
// Sections: tint, layout, drawing.
#include <algorithm>
#include <cmath>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngTexture.h"
#include "GameState.h"
#include "PlayScreen.h"
#include "PlayScreenInternal.h"
#include "ViewLooks.h"

namespace
{
// Borders.tga: 512 x 512 texels with a 32-texel rail down each side and along the top;
// the side rails repeat every 64 texels.
const float kTextureSize = 512.0f;
const float kRail = 32.0f;
const float kRepeat = 64.0f;
const float kBarTop = 380.0f, kBarHeight = 100.0f;

struct
{
    EngTexture *texture;
    _ColourRGB tint, target;
    _BordersLayout layout;
} s_borders = {nullptr, {1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f}, {}};

// Texture coordinates from texel positions.
_Dimension Texels(float left, float top, float right, float bottom)
{
    return {left / kTextureSize, top / kTextureSize, right / kTextureSize, bottom / kTextureSize};
}

void DrawPart(float x, float y, float w, float h, const _Dimension &coordinates)
{
    if (w <= 0.0f || h <= 0.0f)
        return;
    s_borders.texture->PositionRatioed(x, y, w, h);
    s_borders.texture->SetTextureCoordinatesFromDimension(&coordinates);
    s_borders.texture->Draw();
}
} // namespace

// ---- Tint -----------------------------------------------------------------------------------------

void BordersNewTint(char atOnce)
{
    const _ColourRGB &current = s_borders.tint;
    float r = 1.0f, g = 1.0f, b = 1.0f;
    // A colour far enough from the current one and not grey; a bounded search, as a
    // broken generator must not hang the game.
    for (int tries = 0; tries < 1000; tries++)
    {
        r = ViewLooksRandom();
        g = ViewLooksRandom();
        b = ViewLooksRandom();
        float distance = std::fabs(r - current.r) + std::fabs(g - current.g) + std::fabs(b - current.b);
        bool coloured = std::fabs(r - g) >= 0.5f || std::fabs(g - b) >= 0.5f || std::fabs(r - b) >= 0.5f;
        if (distance >= 1.0f && coloured)
            break;
    }
    float lift = 1.0f - std::max(r, std::max(g, b));
    s_borders.target = {r + lift, g + lift, b + lift};
    if (atOnce)
        s_borders.tint = s_borders.target;
}

void BordersTick(char force)
{
    // A long stall must not carry the tint past its target.
    float blend = force ? 1.0f : std::min(1.0f, std::max(0.0f, GameState.timeStep * 0.1f));
    _ColourRGB &tint = s_borders.tint;
    const _ColourRGB &target = s_borders.target;
    tint.r += (target.r - tint.r) * blend;
    tint.g += (target.g - tint.g) * blend;
    tint.b += (target.b - tint.b) * blend;
}

void BordersGetTint(_ColourRGB *current, _ColourRGB *target)
{
    if (current)
        *current = s_borders.tint;
    if (target)
        *target = s_borders.target;
}

// ---- Layout ---------------------------------------------------------------------------------------

void BordersComputeLayout()
{
    const _GameState &gs = GameState;
    _BordersLayout &layout = s_borders.layout;
    float fieldPixels = gs.fieldScale * (gs.rightWall - gs.leftWall) * PLAY_PIXELS_PER_UNIT;
    float width = std::max(0.0f, fieldPixels * 1.02f * 1.1226562f);
    layout.outerWidth = width;
    layout.borderWidth = 0.061328124f * width;
    layout.outerX = 320.0f - width * 0.5f;
    layout.bar = {layout.outerX + layout.borderWidth, kBarTop, width - 2.0f * layout.borderWidth, kBarHeight};
    const _Dimension &bar = layout.bar;
    layout.scoreBox = {bar.x + bar.w * 27.0f / 640.0f, bar.y + bar.h * 0.2f, bar.w * 136.0f / 640.0f, bar.h * 0.56f};
    layout.captionBox = {bar.x + bar.w * 479.0f / 640.0f, bar.y + bar.h * 0.2f, bar.w * 136.0f / 640.0f,
                         bar.h * 0.56f};
    layout.topHeight = 0.0f;
}

const _BordersLayout *BordersGetLayout()
{
    return &s_borders.layout;
}

// ---- Drawing --------------------------------------------------------------------------------------

char BordersCreateGraphics()
{
    if (!s_borders.texture)
        s_borders.texture = new EngTexture(nullptr, 1);
    if (s_borders.texture->IsLoaded())
        return 1;
    if (!s_borders.texture->LoadFromFile("Data/Borders.tga", 1, ENG_ALPHA_FROM_FILE, 0))
    {
        DebugError(ENG_FUNC, "Could not load texture");
        return 0;
    }
    return 1;
}

void BordersReleaseGraphics()
{
    delete s_borders.texture;
    s_borders.texture = nullptr;
}

void BordersRender()
{
    if (!s_borders.texture || !s_borders.texture->IsLoaded() || !EngMainDevice)
        return;
    const _GameState &gs = GameState;
    _BordersLayout &layout = s_borders.layout;
    const float x = layout.outerX, width = layout.outerWidth, rail = layout.borderWidth;
    if (width <= 0.0f || rail <= 0.0f)
        return;
    // The top rail's upper edge follows the grid's top edge (never above the screen).
    float top = (gs.scroll + gs.topY + 1.0f) * PLAY_PIXELS_PER_UNIT - rail * 0.5f;
    if (!(top > 0.0f))
        top = 0.0f;
    top = std::min(top, kBarTop - rail);
    layout.topHeight = top;

    const _ColourRGB &tint = s_borders.tint;
    s_borders.texture->SetColour(tint.r, tint.g, tint.b, 1.0f);
    // The plate above the top rail, from the rail's brushed middle.
    DrawPart(x, 0.0f, width, top, Texels(kRail, 14.0f, kTextureSize - kRail, 18.0f));
    DrawPart(x, top, width, rail, Texels(0.0f, 0.0f, kTextureSize, kRail));
    // Side rails in pieces of the repeating part of the texture, shifted with the top.
    const float texelsPerPixel = kRail / rail;
    const float sideTop = top + rail;
    for (int side = 0; side < 2; side++)
    {
        float left = side == 0 ? 0.0f : kTextureSize - kRail;
        float sideX = side == 0 ? x : x + width - rail;
        for (float y = sideTop; y < kBarTop;)
        {
            float phase = std::fmod((y - sideTop) * texelsPerPixel, kRepeat);
            float start = kRepeat + phase;
            float texels = std::min((kBarTop - y) * texelsPerPixel, kTextureSize - kRepeat - start);
            float pixels = texels / texelsPerPixel;
            DrawPart(sideX, y, rail, pixels, Texels(left, start, left + kRail, start + texels));
            y += pixels;
        }
    }
    s_borders.texture->SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    s_borders.texture->SetTextureCoordinatesFromDimension(nullptr);
    PlayScreenDrawBar(&layout.bar);
}
