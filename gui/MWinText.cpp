// Text drawing for buttons, windows and tab panels: one line of a GUI font in a box
// (aligned, vertically centred, squeezed to fit when asked) and word-wrapped text.
#include <cstring>

#include "EngFont.h"
#include "MWin.h"

EngFont *MWin::GetFont(int fontNum)
{
    if (!fonts || fontNum == MWIN_FONT_NUM_NONE)
        return nullptr;
    return fonts->GetFont(fontNum);
}

void MWin::DrawFontText(int fontNum, _MWinTextAlign align, float margin, float x, float y, float w, float h,
                        const float *offset, const char *text, int count, bool prepare, bool squeeze)
{
    EngFont *font = GetFont(fontNum);
    if (!font || !text || !text[0])
        return;
    margin *= GetHorizontalScaleIfScaled();
    float drawX = align == MWIN_ALIGN_LEFT ? x + margin : (align == MWIN_ALIGN_RIGHT ? x + w - margin : x + w / 2.0f);
    float drawY = y + h / 2.0f;
    if (offset)
    {
        drawX += offset[0];
        drawY += offset[1];
    }
    float sx = 1.0f, sy = 1.0f;
    bool squeezed = false;
    if (squeeze)
    {
        float room = align == MWIN_ALIGN_CENTRE ? w - 2.0f * margin : w - margin;
        float width = font->GetStringWidth(text);
        if (room > 0.0f && width > room)
        {
            font->GetScale(&sx, &sy);
            font->SetScale(room * sx / width, sy);
            squeezed = true;
        }
    }
    font->DrawStringEx(drawX, drawY, (char)align, 1, text, count, 0.0f, prepare ? 1 : 0);
    if (squeezed)
        font->SetScale(sx, sy);
}

void MWin::DrawFontText(int fontNum, _MWinTextAlign align, float margin, const _Dimension *box, const float *offset,
                        const char *text, int count, bool prepare, bool squeeze)
{
    if (box)
        DrawFontText(fontNum, align, margin, box->x, box->y, box->w, box->h, offset, text, count, prepare, squeeze);
}

void MWin::DrawFontTextInBox(int fontNum, _MWinTextAlign align, float margin, const _Dimension *box,
                             const float *offset, const char *text, int count, bool prepare)
{
    EngFont *font = GetFont(fontNum);
    if (!font || !box || !text || !text[0])
        return;
    float x = align == MWIN_ALIGN_LEFT ? box->x + margin
                                       : (align == MWIN_ALIGN_RIGHT ? box->x + box->w - margin : box->x + box->w / 2.0f);
    float y = box->y;
    if (offset)
    {
        x += offset[0];
        y += offset[1];
    }
    char didPrepare = 0;
    if (prepare)
        EngFontPrepareForDrawingWithOrientationIfNeeded(ENG_FONT_RATIO_DESIGN, &didPrepare);
    // Each wrapped line is aligned on x, as a single line would be.
    font->DrawMultilineText(x, y, box->w - 2.0f * margin, box->h, (char)align, 0, text, 1, 0, nullptr, nullptr,
                            nullptr, nullptr);
    (void)count;
    if (didPrepare)
        EngFontRestoreAfterDrawing();
}
