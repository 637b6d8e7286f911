// The GUI's button sheet (1024 x 1024, 32-bit TGA). Every region that the game's texture
// buttons name is drawn where they cut it:
//   window panel (0-0.25, 0-0.25), bar for headings, choices and selected rows
//   (0.5-1, 0-0.19), left/right/up/down arrow buttons and the text field (row 0.25-0.5),
//   dark box (0-0.25, 0.375-0.44), check boxes and the slider knob (0-0.125, 0.44-0.5),
//   list selection (0.5-0.75, 0.44-0.5), the push button in its four states (0.5-0.75)
//   and the big start button in its four states (0.75-1); the disabled start button is
//   plain white where the sheet's white patch (0.774-0.851) is cut from it.
#include <algorithm>
#include <cmath>

#include "Datagen.h"
#include "DgOutput.h"

namespace
{
const int kSize = 1024;

struct ButtonLook
{
    DgColour top, bottom, rim;
    float gloss;
    float rimWidth;
};

// A button body in a cell with elliptical corners (the sheet is stretched unevenly).
void DrawButtonBody(DgImage &img, float x, float y, float w, float h, float rx, float ry, const ButtonLook &look,
                    bool sunken)
{
    DgShape edge = ShapeRoundRectXY(x, y, w, h, rx, ry);
    ImageFillShape(img, edge, PaintSolid(ColourRgb(0.01f, 0.02f, 0.07f, 0.92f)), x, y, x + w, y + h);
    float in = 3.0f;
    DgShape body = ShapeRoundRectXY(x + in, y + in, w - 2 * in, h - 2 * in, rx - in, ry - in);
    ImageFillShape(img, body, PaintLinear(0, y, 0, y + h, look.top, look.bottom), x, y, x + w, y + h);
    if (sunken)
    {
        // Inner shadow along the top.
        DgShape top = ShapeRoundRectXY(x + in, y + in, w - 2 * in, h * 0.3f, rx - in, ry - in);
        ImageFillShape(img, ShapeIntersect(body, top),
                       PaintLinear(0, y, 0, y + h * 0.3f, ColourRgb(0, 0, 0.05f, 0.45f), ColourRgb(0, 0, 0.05f, 0.0f)), x, y,
                       x + w, y + h);
    }
    if (look.gloss > 0.0f)
    {
        float gy = y + in + 4.0f, gh = (h - 2 * in) * 0.46f;
        DgShape glossShape = ShapeRoundRectXY(x + in + 8.0f, gy, w - 2 * in - 16.0f, gh, rx * 0.8f, ry * 0.6f);
        ImageFillShape(img, ShapeIntersect(body, glossShape),
                       PaintLinear(0, gy, 0, gy + gh, ColourRgb(1, 1, 1, look.gloss), ColourRgb(1, 1, 1, look.gloss * 0.15f)), x,
                       y, x + w, y + h);
    }
    if (look.rimWidth > 0.0f)
    {
        DgShape ring = [body, rw = look.rimWidth](float px, float py) {
            float d = body(px, py);
            return std::max(d, -d - rw);
        };
        ImageFillShape(img, ring, PaintLinear(0, y, 0, y + h, look.rim, ColourWithAlpha(look.rim, look.rim.a * 0.35f)), x, y,
                       x + w, y + h);
    }
}

// The translucent window panel, with a soft dark glow around it (texture buttons cut
// this art a few pixels inside or outside its edge, so the edge fades out).
void DrawWindowPanel(DgImage &img, float x, float y, float w, float h)
{
    DgImage glow = ImageCreate((int)(w + 32), (int)(h + 32));
    ImageFillShape(glow, ShapeRoundRect(16, 16, w, h, 20.0f), PaintSolid(ColourRgb(0, 0.01f, 0.05f, 0.6f)));
    ImageBlur(glow, 8.0f);
    ImageDraw(img, glow, (int)x - 16, (int)y - 16);
    DgPanelStyle style = PanelStyle(ColourRgb(0.10f, 0.16f, 0.40f, 0.90f), ColourRgb(0.03f, 0.05f, 0.17f, 0.93f),
                                    ColourRgb(0.55f, 0.82f, 1.0f, 0.85f), 2.5f, 2.0f, 0.07f);
    style.edge = ColourRgb(0.0f, 0.01f, 0.05f, 0.8f);
    DrawPanel(img, x, y, w, h, 20.0f, style);
}

// A round button with an arrow pointing at `angle` radians (0 = right).
void DrawArrowButton(DgImage &img, float cx, float cy, float r, float angle)
{
    ImageFillShape(img, ShapeCircle(cx, cy, r), PaintSolid(ColourRgb(0.01f, 0.02f, 0.07f, 0.9f)), cx - r, cy - r, cx + r,
                   cy + r);
    float ri = r - 4.0f;
    ImageFillShape(img, ShapeCircle(cx, cy, ri), [&](float x, float y) {
        float u = (x - cx) / ri, v = (y - cy) / ri;
        float r2 = std::min(1.0f, u * u + v * v);
        DgColour c = ShadeSphere(u * 0.6f, -v * 0.6f, std::sqrt(1.0f - r2 * 0.36f), ColourHex(0x2d6ee0), 0.6f, -0.25f);
        return c;
    });
    ImageFillShape(img, ShapeOutline(ShapeCircle(cx, cy, ri - 1.5f), 1.5f), PaintSolid(ColourRgb(0.7f, 0.9f, 1.0f, 0.6f)),
                   cx - r, cy - r, cx + r, cy + r);
    float c = std::cos(angle), s = std::sin(angle);
    auto at = [&](float ax, float ay) { return std::pair<float, float>{cx + ax * c - ay * s, cy + ax * s + ay * c}; };
    float a = r * 0.46f;
    std::vector<std::pair<float, float>> arrow = {at(a, 0),          at(-a * 0.35f, -a * 0.85f), at(-a * 0.35f, -a * 0.3f),
                                                  at(-a, -a * 0.3f), at(-a, a * 0.3f),           at(-a * 0.35f, a * 0.3f),
                                                  at(-a * 0.35f, a * 0.85f)};
    DgShape shape = ShapePolygon(arrow);
    ImageFillShape(img, ShapeGrow(shape, 2.5f), PaintSolid(ColourRgb(0.02f, 0.05f, 0.2f, 0.6f)), cx - r, cy - r, cx + r, cy + r);
    ImageFillShape(img, shape, PaintLinear(0, cy - a, 0, cy + a, ColourRgb(1, 1, 1), ColourHex(kIce)), cx - r, cy - r, cx + r,
                   cy + r);
}

void DrawTextField(DgImage &img, float x, float y, float w, float h, bool focused)
{
    DgPanelStyle style = PanelStyle(ColourRgb(0.01f, 0.02f, 0.08f, 0.95f), ColourRgb(0.06f, 0.10f, 0.26f, 0.95f),
                                    focused ? ColourRgb(0.45f, 0.9f, 1.0f, 1.0f) : ColourRgb(0.45f, 0.6f, 0.85f, 0.7f),
                                    focused ? 3.0f : 2.0f, 2.0f, 0.0f);
    DrawPanel(img, x, y, w, h, 10.0f, style);
}

void DrawCheckBox(DgImage &img, float x, float y, float size, bool checked)
{
    DgPanelStyle style = PanelStyle(ColourHex(0x3a66c8), ColourHex(0x122a70), ColourRgb(0.7f, 0.9f, 1.0f, 0.8f), 2.0f, 2.0f, 0.25f);
    DrawPanel(img, x, y, size, size, 11.0f, style);
    if (!checked)
        return;
    std::vector<std::pair<float, float>> tick = {{x + size * 0.2f, y + size * 0.5f},  {x + size * 0.32f, y + size * 0.38f},
                                                 {x + size * 0.44f, y + size * 0.52f}, {x + size * 0.74f, y + size * 0.2f},
                                                 {x + size * 0.86f, y + size * 0.32f}, {x + size * 0.44f, y + size * 0.78f}};
    DgShape shape = ShapePolygon(tick);
    ImageFillShape(img, ShapeGrow(shape, 2.0f), PaintSolid(ColourRgb(0, 0.1f, 0, 0.6f)), x, y, x + size, y + size);
    ImageFillShape(img, shape, PaintLinear(0, y, 0, y + size, ColourHex(0xd8ffb8), ColourHex(0x48d040)), x, y, x + size, y + size);
}
} // namespace

void GenButtons()
{
    DgImage img = ImageCreate(kSize, kSize);
    const float q = kSize * 0.25f;

    // Window panel (also the popup, list and heading backgrounds).
    DrawWindowPanel(img, 9, 9, q - 18, q - 18);

    // The bar of tab-panel headings, choices and selected rows: steel blue, light enough
    // to take the GUI's tints and dark enough for white and yellow text.
    ButtonLook bar{ColourHex(0x8c9ed0, 0.95f), ColourHex(0x2c3a66, 0.95f), ColourRgb(0.85f, 0.92f, 1.0f, 0.9f), 0.3f, 3.0f};
    DrawButtonBody(img, kSize * 0.5f + 3, 4, kSize * 0.5f - 8, kSize * 0.186f - 6, 52.0f, 52.0f, bar, false);

    // Arrow buttons: left, right, up, down.
    DrawArrowButton(img, kSize * 0.0615f, kSize * 0.3125f, 58.0f, 3.14159265f);
    DrawArrowButton(img, kSize * 0.1885f, kSize * 0.3125f, 58.0f, 0.0f);
    DrawArrowButton(img, kSize * 0.312f, kSize * 0.312f, 59.0f, -1.5707963f);
    DrawArrowButton(img, kSize * 0.3125f, kSize * 0.4365f, 59.0f, 1.5707963f);

    // Text field, normal and focused.
    DrawTextField(img, kSize * 0.503f + 1, kSize * 0.25f + 2, kSize * 0.243f - 2, kSize * 0.061f - 3, false);
    DrawTextField(img, kSize * 0.503f + 1, kSize * 0.312f + 2, kSize * 0.243f - 2, kSize * 0.062f - 3, true);

    // The dark box (window titles, frames, black labels).
    DgPanelStyle box = PanelStyle(ColourRgb(0.02f, 0.03f, 0.10f, 0.90f), ColourRgb(0.0f, 0.01f, 0.04f, 0.92f),
                                  ColourRgb(0.5f, 0.7f, 1.0f, 0.5f), 1.5f, 1.5f, 0.06f);
    DrawPanel(img, 3, kSize * 0.375f + 2, q - 4, kSize * 0.0625f - 4, 13.0f, box);

    // Check boxes (the empty one is also the slider knob).
    DrawCheckBox(img, 3, kSize * 0.439f + 2, kSize * 0.06f - 4, true);
    DrawCheckBox(img, kSize * 0.0635f + 2, kSize * 0.439f + 2, kSize * 0.06f - 4, false);

    // List selection bar.
    ButtonLook selection{ColourRgb(0.35f, 0.8f, 1.0f, 0.85f), ColourRgb(0.1f, 0.4f, 0.85f, 0.85f), ColourRgb(0.8f, 0.95f, 1.0f, 0.9f),
                         0.3f, 2.0f};
    DrawButtonBody(img, kSize * 0.501f + 2, kSize * 0.445f + 1, kSize * 0.248f - 4, kSize * 0.049f - 2, 20.0f, 20.0f, selection,
                   false);

    // The push button: normal, hover, pressed, disabled.
    const ButtonLook states[4] = {
        {ColourHex(0x2f67d8), ColourHex(0x0c2260), ColourRgb(0.6f, 0.85f, 1.0f, 0.9f), 0.32f, 3.0f},
        {ColourHex(0x4a8cff), ColourHex(0x173c9c), ColourRgb(0.85f, 0.97f, 1.0f, 1.0f), 0.38f, 4.0f},
        {ColourHex(0x0a1c50), ColourHex(0x2456c0), ColourRgb(0.5f, 0.75f, 1.0f, 0.7f), 0.0f, 2.5f},
        {ColourRgb(0.34f, 0.37f, 0.45f, 0.85f), ColourRgb(0.16f, 0.18f, 0.24f, 0.85f), ColourRgb(0.7f, 0.72f, 0.8f, 0.5f), 0.15f, 2.0f},
    };
    // The frame texture cut from the normal button begins 0.511 down the sheet: the
    // button's top edge lies below that in all four states.
    for (int s = 0; s < 4; s++)
        DrawButtonBody(img, s * q + 3, kSize * 0.511f + 1, q - 6, kSize * 0.748f - 3 - (kSize * 0.511f + 1), 26.0f, 62.0f,
                       states[s], s == 2);

    // The start button: normal, hover, pressed, and disabled (plain white).
    const ButtonLook start[3] = {
        {ColourHex(0xffa43a), ColourHex(0xc8400a), ColourRgb(1.0f, 0.93f, 0.7f, 1.0f), 0.42f, 4.0f},
        {ColourHex(0xffc25a), ColourHex(0xe85a14), ColourRgb(1.0f, 1.0f, 0.85f, 1.0f), 0.5f, 5.0f},
        {ColourHex(0x8a2a04), ColourHex(0xe0701c), ColourRgb(1.0f, 0.8f, 0.55f, 0.8f), 0.0f, 3.0f},
    };
    for (int s = 0; s < 3; s++)
    {
        if (s == 1)
        {
            // Hover: a warm glow around the button.
            DgImage glow = ImageCreate((int)q, (int)q);
            ImageFillShape(glow, ShapeRoundRect(8, 8, q - 16, q - 16, 44.0f), PaintSolid(ColourRgb(1.0f, 0.75f, 0.3f, 0.8f)));
            ImageBlur(glow, 8.0f);
            ImageDraw(img, glow, (int)(s * q), (int)(kSize * 0.75f));
        }
        DrawButtonBody(img, s * q + 6, kSize * 0.75f + 6, q - 12, q - 12, 44.0f, 44.0f, start[s], s == 2);
    }
    float dx = 3 * q + 6, dy = kSize * 0.75f + 6;
    ImageFillShape(img, ShapeRoundRect(dx, dy, q - 12, q - 12, 40.0f), PaintSolid(ColourRgb(0.55f, 0.58f, 0.65f, 1.0f)));
    ImageFillShape(img, ShapeRoundRect(dx + 3, dy + 3, q - 18, q - 18, 37.0f), PaintSolid(ColourRgb(1, 1, 1)));

    OutPicture("PlinxButtons.tga", img);
}
