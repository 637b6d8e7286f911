// Palette and shared drawing helpers of the data generator.
#include <algorithm>
#include <cmath>

#include "Datagen.h"

DgColour BallColour(int type)
{
    static const uint32_t colours[10] = {
        0xff8a66, // 0 peach
        0xc04dff, // 1 orchid
        0xdfe8ff, // 2 pearl
        0xf02a10, // 3 red
        0x3edc28, // 4 green
        0x3a5cff, // 5 blue
        0xffe020, // 6 yellow
        0x22c8f5, // 7 sky
        0x9c86ff, // 8 lavender
        0xc8f560, // 9 lime
    };
    return ColourHex(colours[std::clamp(type, 0, 9)]);
}

DgColour ShadeSphere(float nx, float ny, float nz, const DgColour &surface, float gloss, float lightX)
{
    // Key light from the front on the horizontal mid-line, a cool fill from the other side.
    float lx = lightX, ly = 0.0f, lz = 0.85f;
    float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    lx /= ll, ly /= ll, lz /= ll;
    float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
    float fill = std::max(0.0f, -nx * 0.7f + nz * 0.3f) * 0.18f;
    float light = 0.22f + 0.85f * diffuse + fill;
    // Darker towards the silhouette.
    float rim = 0.55f + 0.45f * std::sqrt(std::max(0.0f, nz));
    DgColour c = ColourShade(surface, light * rim);
    // Highlights: a sharp one and a broad sheen (half vector of light and viewer).
    float hx = lx, hy = ly, hz = lz + 1.0f;
    float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    float nh = std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl);
    float nh2 = nh * nh, nh4 = nh2 * nh2, nh8 = nh4 * nh4, nh16 = nh8 * nh8, nh64 = nh16 * nh16 * nh16 * nh16;
    float highlight = nh64 * nh4 * nh2 * 0.95f + nh8 * nh * 0.18f;
    // A faint reflected light along the edge opposite the key light.
    float edge = std::max(0.0f, 1.0f - nz);
    float bounce = edge * edge * edge * std::max(0.0f, nx) * 0.25f;
    c.r = c.r + (highlight * gloss) + bounce * surface.r;
    c.g = c.g + (highlight * gloss) + bounce * surface.g;
    c.b = c.b + (highlight * gloss) + bounce * surface.b;
    c.r = Clamp01(c.r), c.g = Clamp01(c.g), c.b = Clamp01(c.b);
    c.a = 1.0f;
    return c;
}

void DrawBall(DgImage &img, float cx, float cy, float radius, const DgColour &colour, float shadow)
{
    if (shadow > 0.0f)
    {
        // The shadow is blurred in a small layer around it.
        int pad = (int)std::ceil(shadow * 2.0f + 2.0f);
        int lx = (int)std::floor(cx - radius) - pad, ly = (int)std::floor(cy + radius * 0.4f) - pad;
        int lw = (int)std::ceil(radius * 2.2f) + 2 * pad, lh = (int)std::ceil(radius * 0.9f) + 2 * pad;
        DgImage layer = ImageCreate(lw, lh);
        ImageFillShape(layer, ShapeEllipse(cx + radius * 0.15f - lx, cy + radius * 0.85f - ly, radius * 0.9f, radius * 0.35f),
                       PaintSolid(ColourRgb(0, 0, 0, 0.5f)));
        ImageBlur(layer, shadow);
        ImageDraw(img, layer, lx, ly);
    }
    ImageFillShape(
        img, ShapeCircle(cx, cy, radius),
        [&](float x, float y) {
            float u = (x - cx) / radius, v = (y - cy) / radius;
            float r2 = u * u + v * v;
            float nz = r2 < 1.0f ? std::sqrt(1.0f - r2) : 0.0f;
            float k = r2 > 1.0f ? 1.0f / std::sqrt(r2) : 1.0f;
            return ShadeSphere(u * k, -v * k, nz, colour, 0.9f);
        },
        cx - radius, cy - radius, cx + radius, cy + radius);
}

DgPanelStyle PanelStyle(const DgColour &top, const DgColour &bottom, const DgColour &rim, float rimWidth, float edgeWidth,
                        float gloss)
{
    DgPanelStyle style;
    style.top = top;
    style.bottom = bottom;
    style.rim = rim;
    style.rimWidth = rimWidth;
    style.edgeWidth = edgeWidth;
    style.gloss = gloss;
    return style;
}

void DrawPanel(DgImage &img, float x, float y, float w, float h, float radius, const DgPanelStyle &style)
{
    if (style.shadow > 0.0f)
    {
        int pad = (int)std::ceil(style.shadow * 2.0f + 2.0f);
        int lx = (int)std::floor(x) - pad, ly = (int)std::floor(y) - pad;
        DgImage layer = ImageCreate((int)std::ceil(w) + 2 * pad + 1, (int)std::ceil(h) + 2 * pad + 1);
        ImageFillShape(layer, ShapeRoundRect(x - lx, y - ly + style.shadow * 0.4f, w, h, radius),
                       PaintSolid(ColourRgb(0, 0, 0, 0.55f)));
        ImageBlur(layer, style.shadow);
        ImageDraw(img, layer, lx, ly);
    }
    DgShape outer = ShapeRoundRect(x, y, w, h, radius);
    if (style.edgeWidth > 0.0f)
        ImageFillShape(img, outer, PaintSolid(style.edge), x, y, x + w, y + h);
    float inset = style.edgeWidth;
    DgShape body = ShapeRoundRect(x + inset, y + inset, w - 2 * inset, h - 2 * inset, std::max(0.0f, radius - inset));
    ImageFillShape(img, body, PaintLinear(0, y, 0, y + h, style.top, style.bottom), x, y, x + w, y + h);
    if (style.gloss > 0.0f)
    {
        // Gloss: a soft light band over the upper half, fading downwards.
        float gx = x + inset + style.rimWidth, gy = y + inset + style.rimWidth;
        float gw = w - 2 * (inset + style.rimWidth), gh = (h - 2 * inset) * 0.48f;
        DgShape band = ShapeIntersect(body, ShapeRoundRect(gx, gy, gw, gh, std::max(0.0f, radius - inset - 1.0f)));
        ImageFillShape(img, band,
                       PaintLinear(0, gy, 0, gy + gh, ColourRgb(1, 1, 1, style.gloss), ColourRgb(1, 1, 1, 0.0f)), x,
                       y, x + w, y + h);
    }
    if (style.rimWidth > 0.0f)
    {
        // The rim is brighter along the top edge than along the bottom.
        DgShape band = [body, rimWidth = style.rimWidth](float px, float py) {
            float d = body(px, py);
            return std::max(d, -d - rimWidth);
        };
        DgColour rimTop = style.rim;
        DgColour rimBottom = ColourWithAlpha(style.rim, style.rim.a * 0.3f);
        ImageFillShape(img, band, PaintLinear(0, y, 0, y + h, rimTop, rimBottom), x, y, x + w, y + h);
    }
}
