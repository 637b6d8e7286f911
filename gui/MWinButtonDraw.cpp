// MWinButton's geometry (area, screen and clip rectangles), its background texture
// button (named or custom) and its drawing: clipping, background, text in one or two
// lines or word-wrapped, the extra draw hook and the attention wobble.
#include <cmath>
#include <cstring>
#include <new>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngLanguages.h"
#include "EngTexture.h"
#include "MWin.h"

#define KIND_OPS(name) (MWinButtonGetKindOps(kind) ? MWinButtonGetKindOps(kind)->name : nullptr)

// The standard slot of each kind's default background.
static const int kindStandardSlot[MWIN_BUTTON_KIND_COUNT] = {3, 27, 4, 28, 10, 12, 4, 29, 27, 29, 30, 10, 3, 3, 3, 4, 3, 3};

// ---- Geometry ---------------------------------------------------------------------------------------

const _MWinLayoutSettings *MWinButton::GetLayoutSettings() const
{
    if (window)
        return window->GetLayoutSettings();
    return mwin ? mwin->GetCurrentLayoutSettings() : nullptr;
}

void MWinButton::GetArea(float *out) const
{
    if (out)
        memcpy(out, &area, sizeof area);
}

void MWinButton::GetScreenArea(float *out) const
{
    if (out)
        memcpy(out, &screenArea, sizeof screenArea);
}

void MWinButton::GetAreaInts(int *left, int *top, int *right, int *bottom) const
{
    if (left)
        *left = (int)area.x;
    if (top)
        *top = (int)area.y;
    if (right)
        *right = (int)(area.x + area.w);
    if (bottom)
        *bottom = (int)(area.y + area.h);
}

void MWinButton::ApplyArea(float x, float y, float w, float h)
{
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    if (w <= 0.0f)
        w = layout ? layout->defaultButtonWidth : 60.0f;
    if (h <= 0.0f)
        h = layout ? layout->defaultButtonHeight : 20.0f;
    area.w = w < 2.0f ? 2.0f : w;
    area.h = h < 2.0f ? 2.0f : h;
    SetPosition(x, y);
}

void MWinButton::SetArea(float x, float y, float w, float h)
{
    ApplyArea(x, y, w, h);
}

void MWinButton::SetPosition(float x, float y)
{
    area.x = x;
    area.y = y;
    CalcScreenArea();
}

void MWinButton::SetAreaInts(int left, int top, int right, int bottom)
{
    int currentLeft, currentTop, currentRight, currentBottom;
    GetAreaInts(&currentLeft, &currentTop, &currentRight, &currentBottom);
    if (left == MWIN_KEEP)
        left = currentLeft;
    if (top == MWIN_KEEP)
        top = currentTop;
    if (right == MWIN_KEEP)
        right = currentRight;
    if (bottom == MWIN_KEEP)
        bottom = currentBottom;
    SetArea((float)left, (float)top, (float)(right - left), (float)(bottom - top));
}

void MWinButton::CalcScreenArea()
{
    if (!mwin || !mwin->GetTextures())
        return;
    if (!window)
        screenArea = area;
    else
    {
        const _Dimension *client = window->GetArea();
        float scrollX = -window->GetScrollX(), scrollY = -window->GetScrollY();
        screenArea = {client->x + area.x + scrollX, client->y + area.y + scrollY, area.w, area.h};
        const _Dimension *design = window->GetDesignArea();
        if (window->StretchesContent() && design->w > 0)
        {
            float left = client->x + scrollX + area.x / design->w * client->w;
            float right = client->x + scrollX + (area.x + area.w) / design->w * client->w;
            screenArea.x = left;
            screenArea.w = right - left;
            if (design->h > 0 && !window->IsTitleBarButton(this))
            {
                float top = client->y + scrollY + area.y / design->h * client->h;
                float bottom = client->y + scrollY + (area.y + area.h) / design->h * client->h;
                screenArea.y = top;
                screenArea.h = bottom - top;
            }
        }
        if (screenArea.w < 2.0f)
            screenArea.w = 2.0f;
        if (screenArea.h < 2.0f)
            screenArea.h = 2.0f;
    }
    clipArea = screenArea;
    MWinTextures *textures = mwin->GetTextures();
    if (texButNum >= 0 && kind != MWIN_BUTTON_PANEL && kind != MWIN_BUTTON_KIND_14)
    {
        float widen = 0, raise = 0, lengthen = 0;
        textures->GetTexButDrawExtra(texButNum, &widen, &raise, &lengthen);
        clipArea.x -= widen / 2.0f;
        clipArea.w += widen;
        clipArea.y -= raise;
        clipArea.h += raise + lengthen;
    }
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    if (window && !window->IsTitleBarButton(this))
    {
        _Dimension client = *window->GetArea();
        if (layout && window->HasTitleBar() && window->GetDesignArea()->w < 640.0f)
        {
            client.x += layout->frameInsetX;
            client.w -= 2.0f * layout->frameInsetX;
        }
        if (layout && window->HasTitleBar() && window->GetDesignArea()->h < 480.0f)
        {
            client.y += layout->frameInsetY;
            client.h -= 2.0f * layout->frameInsetY;
        }
        if (clipArea.w > 0 && clipArea.x < client.x)
        {
            clipArea.w -= client.x - clipArea.x;
            clipArea.x = client.x;
        }
        if (clipArea.w > 0 && clipArea.x + clipArea.w > client.x + client.w)
            clipArea.w = client.x + client.w - clipArea.x;
        if (clipArea.y < client.y)
        {
            clipArea.h -= client.y - clipArea.y;
            clipArea.y = client.y;
        }
        if (clipArea.y + clipArea.h > client.y + client.h)
            clipArea.h = client.y + client.h - clipArea.y;
        if (clipArea.w <= 0 || clipArea.h <= 0)
            clipArea.w = clipArea.h = 0;
    }
    float baseMargin = layout ? layout->textMargin : 0.0f;
    bool hasBackground = texButNum >= 0 || customTexBut;
    if ((kind == MWIN_BUTTON_PUSH || kind == MWIN_BUTTON_STATIC || kind == MWIN_BUTTON_VALUE_BAR) && hasBackground &&
        layout)
        textMargin = layout->relativeTextMargin * area.w + baseMargin;
    else
        textMargin = baseMargin;
    onScreen = !(screenArea.y + screenArea.h <= 0.0f || screenArea.y > 480.0f || screenArea.x + screenArea.w < 0.0f ||
                 screenArea.x > 640.0f);
    UpdateLayout();
}

bool MWinButton::IsMouseOver() const
{
    return mwin && mwin->IsMouseInArea(&screenArea);
}

void MWinButton::UpdateLayout()
{
    if (auto handler = KIND_OPS(updateLayout))
        handler(this);
}

// ---- Background texture button ----------------------------------------------------------------------

bool MWinButton::SetBackTexButToTexBut(const char *texButIdText)
{
    if (!texButIdText || !texButIdText[0])
    {
        DebugError(ENG_FUNC, "No id");
        SetBackTexButToNone();
        return false;
    }
    if (strcmp(texButIdText, MWIN_TEXBUT_DEFAULT) == 0)
    {
        SetBackTexButToDefault();
        return true;
    }
    if (strcmp(texButIdText, MWIN_TEXBUT_NONE) == 0)
    {
        SetBackTexButToNone();
        return true;
    }
    ReleaseCustomTextures();
    customTexBut = false;
    standardTexBut = false;
    if (!MWinCopyID(texButId, texButIdText))
        return false;
    MWinTextures *textures = mwin ? mwin->GetTextures() : nullptr;
    texButNum = textures ? textures->GetTexButNum(texButId) : -1;
    return texButNum >= 0;
}

void MWinButton::SetBackTexButToDefault()
{
    ReleaseCustomTextures();
    customTexBut = false;
    standardTexBut = true;
    strcpy(texButId, MWIN_TEXBUT_DEFAULT);
    MWinTextures *textures = mwin ? mwin->GetTextures() : nullptr;
    int slot = kind >= 0 && kind < MWIN_BUTTON_KIND_COUNT ? kindStandardSlot[kind] : 3;
    texButNum = textures ? textures->GetStandardTexButNum(slot) : -1;
}

void MWinButton::SetBackTexButToNone()
{
    ReleaseCustomTextures();
    customTexBut = false;
    standardTexBut = false;
    strcpy(texButId, MWIN_TEXBUT_NONE);
    texButNum = -1;
}

void MWinButton::ReleaseCustomTextures()
{
    for (_MWinCustomTexButState &state : custom)
    {
        if (state.loaded)
        {
            state.loaded->Release();
            delete state.loaded;
            state.loaded = nullptr;
        }
    }
}

bool MWinButton::SetCustomTexBut(int state, EngTexture *texture, char flag, float left, float top, float right,
                                 float bottom, float r, float g, float b, float a)
{
    strcpy(texButId, MWIN_TEXBUT_NONE);
    texButNum = -1;
    standardTexBut = false;
    ReleaseCustomTextures();
    if (state < 0)
        state = 0;
    if (state >= MWIN_TEXSTATE_COUNT)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    _MWinCustomTexButState *record = &custom[state];
    record->given = texture;
    record->flag = flag;
    record->left = left;
    record->top = top;
    record->right = right;
    record->bottom = bottom;
    record->r = r;
    record->g = g;
    record->b = b;
    record->a = a;
    customTexBut = true;
    if (!CreateCustomTexBut())
    {
        ReleaseCustomTextures();
        customTexBut = false;
        return false;
    }
    return true;
}

bool MWinButton::SetCustomTexButTexture(EngTexture *texture)
{
    return SetCustomTexBut(0, texture, 0, 0, 0, 1, 1, 1, 1, 1, 1);
}

bool MWinButton::CreateCustomTexBut()
{
    ReleaseCustomTextures();
    for (int state = 0; state < MWIN_TEXSTATE_COUNT; state++)
    {
        _MWinCustomTexButState *record = &custom[state];
        if (!record->file[0] || record->given)
            continue;
        record->loaded = new (std::nothrow) EngTexture("MWinButton - Custom");
        if (!record->loaded)
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
            return false;
        }
        if (!record->loaded->LoadFromFileUsingExt(record->file, record->loadFlag1, record->loadFlag2,
                                                  ENG_TEXTURE_EXT_TGA, 0))
        {
            DebugError(ENG_FUNC, "Could not load custom texture state %d <%s>", state, record->file);
            customTexBut = false;
            return false;
        }
    }
    return true;
}

bool MWinButton::CreateGraphics()
{
    bool ok = true;
    if (customTexBut && !CreateCustomTexBut())
        ok = false;
    if (auto handler = KIND_OPS(createGraphics))
        if (!handler(this))
            ok = false;
    // Texture buttons may have been registered after the button was made.
    if (standardTexBut)
        SetBackTexButToDefault();
    else if (!customTexBut && texButId[0] && strcmp(texButId, MWIN_TEXBUT_NONE) != 0)
        texButNum = mwin->GetTextures()->GetTexButNum(texButId);
    CalcScreenArea();
    return ok;
}

void MWinButton::DestroyGraphics()
{
    ReleaseCustomTextures();
    if (auto handler = KIND_OPS(destroyGraphics))
        handler(this);
}

// ---- Drawing ------------------------------------------------------------------------------------------

int MWinButton::GetDrawState() const
{
    if (!enabled)
        return MWIN_TEXSTATE_DISABLED;
    if (pressed)
        return MWIN_TEXSTATE_PRESSED;
    if (hoverOrFocus)
        return MWIN_TEXSTATE_HOVER;
    return MWIN_TEXSTATE_NORMAL;
}

bool MWinButton::StartClipping()
{
    clippingOn = false;
    if (!EngMainDevice || clipArea.h <= 0.0f)
        return false;
    if (kind == MWIN_BUTTON_STATIC && texButNum < 0 && !customTexBut)
        return true;
    if (!mwin->GetSettings()->clipButtons)
        return true;
    if (EngMainDevice->IsViewportFullScreen())
        EngMainDevice->TurnOnCrop(clipArea.x, clipArea.y, clipArea.w, clipArea.h);
    else
        EngMainDevice->TurnOnCropInViewport(clipArea.x, clipArea.y, clipArea.w, clipArea.h);
    clippingOn = true;
    return true;
}

void MWinButton::EndClipping()
{
    if (clippingOn && EngMainDevice)
        EngMainDevice->TurnOffCrop();
    clippingOn = false;
}

bool MWinButton::StartClippingToWindow()
{
    return StartClippingToRect(nullptr);
}

bool MWinButton::StartClippingToRect(const float *rect)
{
    if (!EngMainDevice || !window)
        return false;
    _Dimension clip = *window->GetArea();
    if (rect)
    {
        float right = rect[0] + rect[2], bottom = rect[1] + rect[3];
        float left = rect[0] > clip.x ? rect[0] : clip.x;
        float top = rect[1] > clip.y ? rect[1] : clip.y;
        clip = {left, top, right - left, bottom - top};
    }
    if (clip.w <= 0 || clip.h <= 0)
        return false;
    EngMainDevice->TurnOnCrop(clip.x, clip.y, clip.w, clip.h);
    clippingOn = true;
    return true;
}

bool MWinButton::IsDrawable()
{
    if (!visible)
        return false;
    if (multiplierMode != 0 && multiplier[3] <= 0.0f)
        return false;
    return StartClipping();
}

void MWinButton::RenderTexButStateRect(int state, float x, float y, float w, float h)
{
    const float *colour = multiplierMode != 0 ? multiplier : nullptr;
    if (customTexBut)
    {
        const _MWinCustomTexButState *record = &custom[state];
        EngTexture *texture = record->given ? record->given : record->loaded;
        if (!texture)
        {
            record = &custom[0];
            texture = record->given ? record->given : record->loaded;
        }
        if (!texture || !texture->IsLoaded())
            return;
        float rgba[4] = {record->r, record->g, record->b, record->a};
        if (colour)
            for (int i = 0; i < 4; i++)
                rgba[i] *= colour[i];
        texture->PositionRatioed(x, y, w, h);
        texture->DrawWithTextureCoordinatesAndColourArray(record->left, record->top, record->right, record->bottom,
                                                          rgba);
        return;
    }
    mwin->GetTextures()->DrawTexBut(texButNum, state, x, y, w, h, colour);
}

void MWinButton::RenderTexButState(int state, const float *rect)
{
    if (rect)
        RenderTexButStateRect(state, rect[0], rect[1], rect[2], rect[3]);
}

void MWinButton::RenderBackTexBut(int state)
{
    RenderTexButStateRect(state, screenArea.x, screenArea.y, screenArea.w, screenArea.h);
}

void MWinButton::RenderBack(int state)
{
    if (auto handler = KIND_OPS(renderBack))
        if (handler(this, state))
            return;
    RenderBackTexBut(state);
}

void MWinButton::ApplyFontColour()
{
    EngFont *font = GetEngFont();
    if (!font)
        return;
    float rgba[4];
    memcpy(rgba, textColour, sizeof rgba);
    if (multiplierMode == 1)
        for (int i = 0; i < 4; i++)
            rgba[i] *= multiplier[i];
    if (!enabled)
        rgba[3] *= mwin->GetSettings()->disabledAlphaFactor;
    font->SetColour(rgba[0], rgba[1], rgba[2], rgba[3]);
}

void MWinButton::ApplyFontScale()
{
    ApplyFontColour();
    EngFont *font = GetEngFont();
    if (!font)
        return;
    float sx = textScale[0], sy = textScale[1];
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    if (layout && layout->textScaleX > 0 && layout->textScaleY > 0)
    {
        sx *= layout->textScaleX;
        sy *= layout->textScaleY;
    }
    if (window && window->StretchesContent())
    {
        sx *= EngScreenSettings.scaleToScreenX;
        sy *= EngScreenSettings.scaleToScreenY;
    }
    font->SetScale(sx, sy);
}

void MWinButton::RenderSingleLine(const char *text, float dy)
{
    _Dimension box = screenArea;
    box.y += dy;
    mwin->DrawFontText(fontNum, textAlign, textMargin, &box, nullptr, text, 0, true, squeeze);
}

void MWinButton::RenderTextLines()
{
    const char *first = nullptr, *second = nullptr;
    if (tokenMode)
    {
        if (tokenSubTexts == 1)
            first = EngLanguagesGetString(tokenNum, 0);
        else if (tokenSubTexts == 2)
        {
            first = EngLanguagesGetString(tokenNum, 0);
            second = EngLanguagesGetString(tokenNum, 1);
        }
    }
    else
    {
        first = texts[0];
        second = texts[0] ? texts[1] : nullptr;
    }
    if (!first)
        return;
    if (!second)
    {
        RenderSingleLine(first, 0.0f);
        return;
    }
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    float d = (layout ? layout->twoLineSpacing : 10.0f) * textScale[1];
    if (layout && layout->textScaleY > 0)
        d *= layout->textScaleY;
    RenderSingleLine(first, -d);
    RenderSingleLine(second, d);
}

void MWinButton::RenderMultiLine()
{
    if (!HasText(0))
        return;
    mwin->DrawFontTextInBox(fontNum, textAlign, textMargin, &screenArea, nullptr, GetTextP(), 0, true);
}

void MWinButton::RenderTextDefault()
{
    if (multiLine)
        RenderMultiLine();
    else
        RenderTextLines();
}

void MWinButton::RenderText(int state)
{
    if (fontNum == MWIN_FONT_NUM_NONE)
        return;
    ApplyFontScale();
    if (auto handler = KIND_OPS(renderText))
        if (handler(this, state))
            return;
    RenderTextDefault();
}

void MWinButton::GetTextRange(float *left, float *right, float margin)
{
    if (margin < 0)
        margin = textMargin;
    float l = screenArea.x + margin, r = screenArea.x + screenArea.w - margin;
    if (left)
        *left = l;
    if (right)
        *right = r;
}

void MWinButton::Render()
{
    if (!onScreen)
        return;
    bool wobbling = mwin->GetSettings()->wobble && wobblePhase > 0.0f && wobbleParticipation;
    _Dimension savedScreen = screenArea, savedClip = clipArea;
    float savedScale[2] = {textScale[0], textScale[1]};
    if (wobbling)
    {
        const float pi = 3.14159265f;
        float t = wobblePhase;
        float a = sinf(pi * (1.5f * t < 1.0f ? 1.5f * t : 1.0f));
        float w = 9.0f * t <= 3.0f ? 1.0f : (9.0f * t <= 6.0f ? 0.2f : 0.5f);
        float s = sinf(9.0f * pi * t) * w * a * wobbleStrength;
        float dx = 0.04f * s * screenArea.w, dy = 0.04f * s * screenArea.h;
        for (_Dimension *r : {&screenArea, &clipArea})
        {
            r->x -= dx;
            r->w += 2.0f * dx;
            r->y += dy;
            r->h -= 2.0f * dy;
        }
        textScale[0] *= 1.0f + 0.05f * s;
        textScale[1] *= 1.0f - 0.06f * s;
    }
    if (IsDrawable())
    {
        int state = GetDrawState();
        RenderBack(state);
        RenderText(state);
        if (extraRender && kind != MWIN_BUTTON_PANEL)
            extraRender(this, &screenArea, state, extraRenderValue, extraRenderUser);
        EndClipping();
    }
    if (wobbling)
    {
        screenArea = savedScreen;
        clipArea = savedClip;
        textScale[0] = savedScale[0];
        textScale[1] = savedScale[1];
    }
}

void MWinButton::RenderPlain()
{
    if (!visible)
        return;
    int state = GetDrawState();
    RenderBack(state);
    RenderText(state);
    if (extraRender && kind != MWIN_BUTTON_PANEL)
        extraRender(this, &screenArea, state, extraRenderValue, extraRenderUser);
}

void MWinButton::RenderOpenListOnTop()
{
    if (auto handler = KIND_OPS(renderOnTop))
        handler(this);
}
