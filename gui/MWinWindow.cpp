// Windows: creation from the create-info, the title bar and its two buttons, geometry
// and scaling, scrolling, input routing to buttons (hover, presses, Tab, Escape, Enter),
// the per-frame tick and drawing.
// Sections: construction / contents / geometry / scrolling / input / tick and drawing.
#include "MWinWindow.h"

#include <cstring>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngGlobals.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "MWin.h"

// ---- Construction ---------------------------------------------------------------------------

MWinWindow::MWinWindow(MWin *mwinPointer, const char *idText, MWinCollection *owner,
                       const _MWinWindowCreateInfo *createInfo)
    : mwin(mwinPointer), createdOk(0), collection(owner), shown(true), active(false), scaled(false), stretch(false),
      firstGroup(nullptr), lastGroup(nullptr), prev(nullptr), next(nullptr), hideButton(nullptr),
      extraButton(nullptr), escapeButton(nullptr), defaultButton(nullptr), controller(nullptr),
      textAlign(MWIN_ALIGN_LEFT), alphaOverride(false), fontNum(MWIN_FONT_NUM_DEFAULT), titleTexBut(-1),
      bodyTexBut(-1), dragging(false), scrollingOn(false)
{
    id[0] = 0;
    MWinCopyID(id, idText);
    titleText[0] = 0;
    titleToken[0] = 0;
    memset(dragMouse, 0, sizeof dragMouse);
    memset(dragWindow, 0, sizeof dragWindow);
    memset(scrollRange, 0, sizeof scrollRange);
    memset(scrollPos, 0, sizeof scrollPos);
    memset(thumbRect, 0, sizeof thumbRect);
    memset(trackRect, 0, sizeof trackRect);
    memset(thumbDrag, 0, sizeof thumbDrag);
    memset(thumbDragStartPos, 0, sizeof thumbDragStartPos);
    memset(thumbDragStartMouse, 0, sizeof thumbDragStartMouse);
    memset(pageStep, 0, sizeof pageStep);
    titleBarRect = titleTextRect = designArea = drawArea = {0, 0, 0, 0};
    scaled = mwin && mwin->IsScaling() && (!collection || collection->IsScaling());
    firstGroup = lastGroup = new MWinGroup(mwin, this);
    createdOk = kCreatedOk;
    ApplyCreateInfo(createInfo);
}

MWinWindow::~MWinWindow()
{
    if (mwin)
        mwin->NoteDeletion();
    escapeButton = defaultButton = nullptr;
    while (lastGroup)
    {
        MWinGroup *group = lastGroup;
        MWinGroup *before = group->GetPrev();
        if (before && before->GetNext() != group)
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
            break;
        }
        lastGroup = before;
        if (before)
            before->SetLinks(before->GetPrev(), nullptr);
        delete group;
    }
    firstGroup = lastGroup = nullptr;
    delete hideButton;
    delete extraButton;
    hideButton = extraButton = nullptr;
    scroller.TurnOff();
    controller = nullptr;
    createdOk = 0;
    id[0] = 0;
    collection = nullptr;
}

void MWinWindow::ApplyCreateInfo(const _MWinWindowCreateInfo *createInfo)
{
    memset(&info, 0, sizeof info);
    if (createInfo)
        info = *createInfo;
    else
    {
        DebugError(ENG_FUNC, "No info passed in");
        info.x = info.y = 10;
        info.w = info.h = 50;
    }
    info.title[sizeof info.title - 1] = 0;
    info.titleToken[sizeof info.titleToken - 1] = 0;
    if (info.hasExtraButton > 1)
    {
        DebugError(ENG_FUNC, "has_extra_button is %d - setting to 0.", info.hasExtraButton);
        info.hasExtraButton = 0;
    }
    if (info.hasHideButton && !info.hasTitleBar)
    {
        DebugError(ENG_FUNC, "Hide button but no title bar");
        info.hasHideButton = 0;
    }
    if (info.hasExtraButton && !info.hasTitleBar)
    {
        DebugError(ENG_FUNC, "Extra button but no title bar");
        info.hasExtraButton = 0;
    }
    if (info.titleToken[0])
        SetTitleLanguageToken(info.titleToken);
    else
        SetTitle(info.title);
    SetTitleTexBut(info.titleTexBut[0] ? info.titleTexBut : MWIN_TEXBUT_DEFAULT);
    SetBodyTexBut(info.bodyTexBut[0] ? info.bodyTexBut : MWIN_TEXBUT_DEFAULT);
    SetFont(info.font[0] ? info.font : MWIN_FONT_DEFAULT);
    SetTitleTextColour(1, 1, 1, 1);
    SetTitleTextScale(1, 1);
    textAlign = MWIN_ALIGN_LEFT;
    MakeTitleBarButtons();
    float w = info.w > 0 ? info.w : 100.0f, h = info.h > 0 ? info.h : 100.0f;
    float virtualW = 640.0f, virtualH = 480.0f;
    GetVirtualSize(&virtualW, &virtualH);
    float x = info.x == MWIN_CENTRE ? (virtualW - w) / 2.0f : info.x;
    float y = info.y;
    if (info.y == MWIN_CENTRE)
    {
        float title = info.hasTitleBar ? GetLayoutSettings()->titleBarHeight : 0.0f;
        y = (virtualH - h - title) / 2.0f + title;
    }
    SetArea(x, y, w, h);
}

void MWinWindow::MakeTitleBarButtons()
{
    if (info.hasHideButton)
    {
        const char *text = info.hideToken[0] ? "" : info.hideText;
        hideButton = new MWinButton(mwin, MWIN_STD_HIDE_ID, firstGroup, MWIN_BUTTON_PUSH,
                                    info.hideTexBut[0] ? info.hideTexBut : MWIN_TEXBUT_DEFAULT, text, 0, 0, -1, -1);
        if (info.hideToken[0])
            hideButton->SetTextLanguageToken(info.hideToken);
        // The window's font was set before its buttons existed: the back button draws in it too.
        hideButton->SetFont(info.font[0] ? info.font : MWIN_FONT_DEFAULT);
    }
    if (info.hasExtraButton)
    {
        const char *text = info.extraToken[0] ? "" : info.extraText;
        extraButton = new MWinButton(mwin, MWIN_STD_EXTRA_ID, firstGroup, MWIN_BUTTON_PUSH,
                                     info.extraTexBut[0] ? info.extraTexBut : MWIN_TEXBUT_DEFAULT, text, 0, 0, -1, -1);
        if (info.extraToken[0])
            extraButton->SetTextLanguageToken(info.extraToken);
    }
}

// ---- Contents ---------------------------------------------------------------------------------

MWinButton *MWinWindow::AddButton(const char *buttonId, _MWinButtonType kind, const char *texButId, const char *text,
                                  float x, float y, float w, float h)
{
    if (!firstGroup)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return nullptr;
    }
    return firstGroup->AddButton(buttonId, kind, texButId, text, x, y, w, h);
}

MWinButton *MWinWindow::AddButton(const char *buttonId, _MWinButtonType kind, const char *texButId, const char *text,
                                  float x, float y, float w, float h, MWinButtonCallbackFn callback, int a, int b)
{
    if (!firstGroup)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return nullptr;
    }
    return firstGroup->AddButton(buttonId, kind, texButId, text, x, y, w, h, callback, a, b);
}

MWinGroup *MWinWindow::AddGroup()
{
    MWinGroup *group = new MWinGroup(mwin, this);
    if (!lastGroup)
        firstGroup = lastGroup = group;
    else
    {
        lastGroup->SetLinks(lastGroup->GetPrev(), group);
        group->SetLinks(lastGroup, nullptr);
        lastGroup = group;
    }
    return group;
}

void MWinWindow::SetController(MWinCollectionController *newController)
{
    controller = newController;
}

void MWinWindow::ClearController()
{
    controller = nullptr;
}

MWinCollectionController *MWinWindow::GetController(bool report)
{
    if (!controller && report)
        DebugFatalIfFalse(false, "MWinWindow::GetController", "No controller");
    return controller;
}

void MWinWindow::SetEscapeButton(MWinButton *button)
{
    escapeButton = button;
    if (collection)
        collection->SetEscapeWindow(button ? this : nullptr);
}

void MWinWindow::SetDefaultButton(MWinButton *button)
{
    defaultButton = button;
}

void MWinWindow::ForgetButton(const MWinButton *button)
{
    if (escapeButton == button)
    {
        escapeButton = nullptr;
        if (collection && collection->GetEscapeWindow() == this)
            collection->SetEscapeWindow(nullptr);
    }
    if (defaultButton == button)
        defaultButton = nullptr;
}

void MWinWindow::SetTitle(const char *text)
{
    titleToken[0] = 0;
    titleText[0] = 0;
    if (text)
        EngSafeStrcpy(titleText, text, sizeof titleText);
}

bool MWinWindow::SetTitleLanguageToken(const char *token)
{
    titleToken[0] = 0;
    if (!token || !token[0])
        return false;
    if (strlen(token) >= sizeof titleToken)
        return false;
    strcpy(titleToken, token);
    const char *text = EngLanguagesAreLoaded() ? EngLanguagesGetStringForToken(token) : nullptr;
    titleText[0] = 0;
    if (text)
        EngSafeStrcpy(titleText, text, sizeof titleText);
    return text != nullptr;
}

void MWinWindow::RefreshLanguageTexts()
{
    if (titleToken[0])
    {
        char token[MWIN_TOKEN_SIZE];
        strcpy(token, titleToken);
        SetTitleLanguageToken(token);
    }
    if (hideButton)
        hideButton->RefreshLanguageText();
    if (extraButton)
        extraButton->RefreshLanguageText();
    for (MWinGroup *group = firstGroup; group; group = group->GetNext())
        group->RefreshLanguageTexts();
}

void MWinWindow::SetTitleTextColour(float r, float g, float b, float a)
{
    titleColour[0] = r;
    titleColour[1] = g;
    titleColour[2] = b;
    titleColour[3] = a;
}

void MWinWindow::SetTitleTextScale(float x, float y)
{
    titleScale[0] = x;
    titleScale[1] = y;
}

void MWinWindow::SetAlpha(float factor)
{
    if (factor != 1.0f || alphaOverride)
    {
        alphaOverride = true;
        alphaColour[0] = alphaColour[1] = alphaColour[2] = 1.0f;
        alphaColour[3] = factor;
    }
}

int MWinWindow::TexButFromId(const char *texButId, int standardSlot, bool *ok)
{
    *ok = true;
    if (!texButId || !texButId[0] || strcmp(texButId, MWIN_TEXBUT_DEFAULT) == 0)
        return mwin && mwin->GetTextures() ? mwin->GetTextures()->GetStandardTexButNum(standardSlot) : -1;
    if (strcmp(texButId, MWIN_TEXBUT_NONE) == 0)
        return -1;
    int index = mwin && mwin->GetTextures() ? mwin->GetTextures()->GetTexButNum(texButId) : -1;
    if (index < 0)
    {
        DebugError(ENG_FUNC, "Texture button <%s> not found", texButId);
        *ok = false;
    }
    return index;
}

bool MWinWindow::SetTitleTexBut(const char *texButId)
{
    bool ok;
    titleTexBut = TexButFromId(texButId, MWIN_STD_WIN_TITLE, &ok);
    return ok;
}

bool MWinWindow::SetBodyTexBut(const char *texButId)
{
    bool ok;
    bodyTexBut = TexButFromId(texButId, MWIN_STD_WIN_BACK, &ok);
    return ok;
}

bool MWinWindow::SetFont(const char *fontId)
{
    if (!fontId || !fontId[0] || strcmp(fontId, MWIN_FONT_DEFAULT) == 0)
        fontNum = MWIN_FONT_NUM_DEFAULT;
    else if (strcmp(fontId, MWIN_FONT_NONE) == 0)
        fontNum = MWIN_FONT_NUM_NONE;
    else
    {
        fontNum = mwin && mwin->GetFonts() ? mwin->GetFonts()->GetFontNumFromID(fontId) : MWIN_FONT_NUM_NONE;
        if (fontNum == MWIN_FONT_NUM_NONE)
        {
            fontNum = MWIN_FONT_NUM_DEFAULT;
            return false;
        }
    }
    if (hideButton)
        hideButton->SetFont(fontId && fontId[0] ? fontId : MWIN_FONT_DEFAULT);
    return true;
}

// ---- Geometry ------------------------------------------------------------------------------------

int MWinWindow::GetScreenLayout()
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwin");
        return 0;
    }
    if (!collection)
        return mwin->GetScreenLayout();
    return collection->GetScreenLayout();
}

const _MWinLayoutSettings *MWinWindow::GetLayoutSettings()
{
    if (!mwin)
        return nullptr;
    return mwin->GetLayoutSettings(GetScreenLayout());
}

void MWinWindow::GetVirtualSize(float *w, float *h)
{
    if (!mwin)
    {
        DebugError(ENG_FUNC, "No mwin");
        if (w)
            *w = 640.0f;
        if (h)
            *h = 480.0f;
        return;
    }
    mwin->GetVirtualSize(w, h);
}

void MWinWindow::SetArea(float x, float y, float w, float h)
{
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    float title = info.hasTitleBar && layout ? layout->titleBarHeight : 0.0f;
    if (info.hasTitleBar && y < title)
        y = title;
    if (w < 1.0f)
        w = 1.0f;
    if (h < 1.0f)
        h = 1.0f;
    designArea.w = w;
    designArea.h = h;
    drawArea.w = scaled && mwin ? w * mwin->GetHorizontalScaleIfScaled() : w;
    drawArea.h = scaled && mwin ? h * mwin->GetVerticalScaleIfScaled() : h;
    SetPosition(x, y);
}

void MWinWindow::SetPosition(float x, float y)
{
    designArea.x = x;
    designArea.y = y;
    drawArea.x = scaled ? MWinCentreOffsetX(x, designArea.w) : x;
    drawArea.y = scaled ? MWinCentreOffsetY(y, designArea.h) : y;
    UpdateLayout();
    UpdateGroupPositions();
}

void MWinWindow::UpdateGroupPositions()
{
    for (MWinGroup *group = firstGroup; group; group = group->GetNext())
        group->UpdatePositions();
    UpdateHideAndExtraButtons();
}

void MWinWindow::UpdateLayout()
{
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    float title = layout ? layout->titleBarHeight : 30.0f;
    titleBarRect = {0, -title, drawArea.w, title};
    titleTextRect = titleBarRect;
    if (layout && (hideButton || extraButton))
    {
        float inset = layout->titleButtonMargin + layout->titleButtonWidth;
        titleTextRect.x += inset;
        titleTextRect.w -= 2.0f * inset;
    }
    UpdateScrollGeometry();
}

void MWinWindow::UpdateHideAndExtraButtons()
{
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    if (!layout)
        return;
    float w = layout->titleButtonWidth, h = layout->titleButtonHeight, margin = layout->titleButtonMargin;
    float centreY = titleBarRect.y + titleBarRect.h / 2.0f + layout->titleButtonOffsetY;
    // Title-bar buttons keep their place whatever the content's scroll offset.
    float y = centreY - h / 2.0f + scrollPos[1];
    float leftX = margin + scrollPos[0], rightX = drawArea.w - margin - w + scrollPos[0];
    bool hideRight = layout->titleButtonSide == 1;
    if (hideButton)
    {
        hideButton->SetArea(hideRight ? rightX : leftX, y, w, h);
        float scale = 0.8f * titleScale[1];
        hideButton->SetTextScale(0.8f * titleScale[0], scale);
        hideButton->SetTextColourRGBA(titleColour[0], titleColour[1], titleColour[2], titleColour[3]);
    }
    if (extraButton)
    {
        float shrink = info.hasExtraButton == 1 ? 0.8f : 0.6f;
        float ew = w * shrink, eh = h * shrink;
        float x = hideRight ? leftX : rightX;
        extraButton->SetArea(x + (w - ew) / 2.0f, y + (h - eh) / 2.0f, ew, eh);
    }
}

bool MWinWindow::CenterGroupOfButtons(MWinButton **buttons, bool horizontally, bool vertically)
{
    if (!buttons)
    {
        DebugError(ENG_FUNC, "No buttons");
        return false;
    }
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    for (MWinButton **b = buttons; *b; b++)
    {
        if (!(*b)->IsVisible())
            continue;
        const _Dimension *a = (*b)->GetAreaP();
        left = a->x < left ? a->x : left;
        top = a->y < top ? a->y : top;
        right = a->x + a->w > right ? a->x + a->w : right;
        bottom = a->y + a->h > bottom ? a->y + a->h : bottom;
    }
    if (right < left)
        return false;
    float title = info.hasTitleBar && GetLayoutSettings() ? GetLayoutSettings()->titleBarHeight : 0.0f;
    float dx = horizontally ? (designArea.w - (right - left)) / 2.0f - left : 0.0f;
    float dy = vertically ? (designArea.h - (bottom - top)) / 2.0f - top - title / 2.0f : 0.0f;
    for (MWinButton **b = buttons; *b; b++)
        if ((*b)->IsVisible())
            (*b)->SetPosition((*b)->GetAreaP()->x + dx, (*b)->GetAreaP()->y + dy);
    return true;
}

// ---- Scrolling --------------------------------------------------------------------------------------

void MWinWindow::SetScrollSize(float xRange, float yRange)
{
    scrollRange[0] = xRange > 0 ? xRange : 0.0f;
    scrollRange[1] = yRange > 0 ? yRange : 0.0f;
    scrollingOn = scrollRange[0] > 0 || scrollRange[1] > 0;
    if (!scrollingOn)
    {
        scrollPos[0] = scrollPos[1] = 0.0f;
        scroller.TurnOff();
    }
    else if (EngMiscIsLargeScreenDevice())
    {
        _Dimension area = drawArea;
        scroller.TurnOn(&area, true, scrollRange[0] > 0, scrollPos[0], 0, scrollRange[0], scrollRange[0], 0, true,
                        scrollRange[1] > 0, scrollPos[1], 0, scrollRange[1], scrollRange[1], 0, true, 3.0f);
    }
    SetScrollPosition(scrollPos[0], scrollPos[1]);
}

void MWinWindow::SetScrollPosition(float x, float y)
{
    float wanted[2] = {x, y};
    for (int axis = 0; axis < 2; axis++)
    {
        float value = wanted[axis];
        if (value > scrollRange[axis])
            value = scrollRange[axis];
        if (value < 0)
            value = 0;
        scrollPos[axis] = value;
    }
    UpdateScrollGeometry();
    UpdateGroupPositions();
    if (mwin)
        mwin->RequestRedraw();
}

void MWinWindow::UpdateScrollGeometry()
{
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    if (!layout || !scrollingOn)
        return;
    float barW = layout->vScrollbarWidth, thumbW = layout->vScrollThumbWidth;
    float barH = layout->hScrollbarHeight, thumbH = layout->hScrollThumbHeight;
    // Horizontal track along the bottom, vertical along the right edge (absolute).
    float hLength = drawArea.w - (scrollRange[1] > 0 ? barW : 0.0f);
    float vLength = drawArea.h - (scrollRange[0] > 0 ? barH : 0.0f);
    trackRect[0] = {drawArea.x, drawArea.y + drawArea.h - barH, hLength, barH};
    trackRect[1] = {drawArea.x + drawArea.w - barW, drawArea.y, barW, vLength};
    float visible[2] = {hLength, vLength};
    for (int axis = 0; axis < 2; axis++)
    {
        float track = axis == 0 ? trackRect[0].w : trackRect[1].h;
        float length = scrollRange[axis] > 0 ? track * visible[axis] / (visible[axis] + scrollRange[axis]) : track;
        float start = (axis == 0 ? trackRect[0].x : trackRect[1].y) +
                      (scrollRange[axis] > 0 ? (track - length) * scrollPos[axis] / scrollRange[axis] : 0.0f);
        if (axis == 0)
            thumbRect[0] = {start, trackRect[0].y + (barH - thumbH) / 2.0f, length, thumbH};
        else
            thumbRect[1] = {trackRect[1].x + (barW - thumbW) / 2.0f, start, thumbW, length};
    }
}

bool MWinWindow::HandleScrollPress(bool pressed)
{
    if (!scrollingOn || !mwin)
        return false;
    if (!pressed)
    {
        bool taken = false;
        for (int axis = 0; axis < 2; axis++)
        {
            if (thumbDrag[axis])
            {
                thumbDrag[axis] = false;
                taken = true;
            }
            if (pageStep[axis])
            {
                float visible = axis == 0 ? trackRect[0].w : trackRect[1].h;
                float pos[2] = {scrollPos[0], scrollPos[1]};
                pos[axis] += pageStep[axis] * visible;
                pageStep[axis] = 0;
                SetScrollPosition(pos[0], pos[1]);
                taken = true;
            }
        }
        return taken;
    }
    for (int axis = 0; axis < 2; axis++)
    {
        if (scrollRange[axis] <= 0)
            continue;
        if (mwin->IsMouseInArea(&thumbRect[axis]))
        {
            thumbDrag[axis] = true;
            thumbDragStartPos[axis] = scrollPos[axis];
            thumbDragStartMouse[axis] = axis == 0 ? mwin->GetMouseX() : mwin->GetMouseY();
            return true;
        }
        if (mwin->IsMouseInArea(&trackRect[axis]))
        {
            float mouse = axis == 0 ? mwin->GetMouseX() : mwin->GetMouseY();
            float thumbStart = axis == 0 ? thumbRect[0].x : thumbRect[1].y;
            pageStep[axis] = mouse < thumbStart ? -1 : 1;
            return true;
        }
    }
    return false;
}

bool MWinWindow::HandleScrollMouseMove()
{
    if (!scrollingOn || !mwin)
        return false;
    for (int axis = 0; axis < 2; axis++)
    {
        if (!thumbDrag[axis])
            continue;
        float track = axis == 0 ? trackRect[0].w - thumbRect[0].w : trackRect[1].h - thumbRect[1].h;
        float mouse = axis == 0 ? mwin->GetMouseX() : mwin->GetMouseY();
        float pos[2] = {scrollPos[0], scrollPos[1]};
        if (track > 0)
            pos[axis] = thumbDragStartPos[axis] + (mouse - thumbDragStartMouse[axis]) * scrollRange[axis] / track;
        SetScrollPosition(pos[0], pos[1]);
        return true;
    }
    return false;
}

void MWinWindow::RenderScrollbars()
{
    MWinTextures *textures = mwin->GetTextures();
    if (scrollRange[0] > 0)
    {
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_SCROLL_BACK), 0, &trackRect[0], nullptr);
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_SCROLL_BUTTON), thumbDrag[0] ? 2 : 0,
                             &thumbRect[0], nullptr);
    }
    if (scrollRange[1] > 0)
    {
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_VSCROLL_BACK), 0, &trackRect[1], nullptr);
        textures->DrawTexBut(textures->GetStandardTexButNum(MWIN_STD_VSCROLL_BUTTON), thumbDrag[1] ? 2 : 0,
                             &thumbRect[1], nullptr);
    }
}

// ---- State and lookups -----------------------------------------------------------------------------

void MWinWindow::Show()
{
    shown = true;
    if (collection)
        collection->WindowsChanged();
}

void MWinWindow::Hide()
{
    LoseAllHover();
    shown = false;
    if (collection)
        collection->WindowsChanged();
}

void MWinWindow::Activate()
{
    active = true;
    HandleMouseMove();
}

void MWinWindow::Deactivate()
{
    active = false;
    dragging = false;
}

void MWinWindow::LoseAllHover()
{
    if (!mwin)
        return;
    MWin *root = mwin;
    uint32_t deletions = root->GetDeleteCount();
    for (MWinButton *b : {hideButton, extraButton})
        if (b && b->HasHoverOrFocus())
        {
            b->SetPressed(false);
            b->LoseHoverOrFocus();
            if (root->GetDeleteCount() != deletions)
                return;
        }
    for (MWinGroup *group = lastGroup; group; group = group->GetPrev())
        for (MWinButton *button = group->GetLastButton(); button; button = button->GetPrev())
        {
            button->SetPressed(false);
            if (button->HasHoverOrFocus())
            {
                button->LoseHoverOrFocus();
                if (root->GetDeleteCount() != deletions)
                    return;
            }
        }
}

bool MWinWindow::IsMouseOver()
{
    if (!mwin || !shown)
        return false;
    if (mwin->IsMouseInArea(&drawArea))
        return true;
    if (!info.hasTitleBar)
        return false;
    _Dimension title = {drawArea.x, drawArea.y + titleBarRect.y, titleBarRect.w, titleBarRect.h};
    return mwin->IsMouseInArea(&title);
}

MWinButton *MWinWindow::GetFirstButton()
{
    if (!firstGroup)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return nullptr;
    }
    return firstGroup->GetFirstButton();
}

MWinButton *MWinWindow::GetActiveButton()
{
    for (MWinGroup *group = lastGroup; group; group = group->GetPrev())
    {
        if (!group->IsCreatedOk())
        {
            DebugError(ENG_FUNC, "Group not created ok.");
            return nullptr;
        }
        if (group->GetPrev() && group->GetPrev()->GetNext() != group)
        {
            DebugError(ENG_FUNC, "Group pointers not ok.");
            return nullptr;
        }
        if (!group->IsShown())
            continue;
        for (MWinButton *button = group->GetLastButton(); button; button = button->GetPrev())
        {
            if (!button->IsSetUp())
            {
                DebugError(ENG_FUNC, "Button not created ok.");
                return nullptr;
            }
            if (button->GetPrev() && button->GetPrev()->GetNext() != button)
            {
                DebugError(ENG_FUNC, "Button pointers not ok.");
                return nullptr;
            }
            if (button->HasHoverOrFocus())
                return button;
        }
    }
    return nullptr;
}

MWinButton *MWinWindow::GetButtonFromID(const char *buttonId, bool report)
{
    if (MWinIsIDEmpty(buttonId))
    {
        if (report)
            DebugError(ENG_FUNC, "No Button ID");
        return nullptr;
    }
    if (hideButton && MWinIDsEqual(hideButton->GetID(), buttonId))
        return hideButton;
    if (extraButton && MWinIDsEqual(extraButton->GetID(), buttonId))
        return extraButton;
    for (MWinGroup *group = firstGroup; group; group = group->GetNext())
        for (MWinButton *button = group->GetFirstButton(); button; button = button->GetNext())
            if (MWinIDsEqual(button->GetID(), buttonId))
                return button;
    if (report)
        DebugError(ENG_FUNC, "Button <%s> not found in window <%s> of collection <%s>", buttonId, id,
                   collection ? collection->GetID() : "(none)");
    return nullptr;
}

bool MWinWindow::SendButtonCallCallbackMessage(MWinButton *button, bool report)
{
    if (!button || button->GetWindow() != this || !collection || !mwin)
    {
        DebugError(ENG_FUNC, "Invalid button");
        return false;
    }
    if (!button->IsVisible())
    {
        if (report)
            DebugError(ENG_FUNC, "Button [%s] is not shown.", button->GetID());
        return false;
    }
    if (!button->IsEnabled())
        return false;
    return mwin->AddMessageToQueue(collection->GetID(), id, button->GetID(), MWIN_MSG_CALL_CALLBACK, button);
}

// ---- Input --------------------------------------------------------------------------------------------

bool MWinWindow::HandleMouseMove()
{
    if (!mwin)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    if (!shown || !layout)
        return false;
    if (dragging)
    {
        float virtualW, virtualH;
        GetVirtualSize(&virtualW, &virtualH);
        float x = mwin->GetMouseX() - dragMouse[0] + dragWindow[0];
        float y = mwin->GetMouseY() - dragMouse[1] + dragWindow[1];
        float top = info.hasTitleBar ? layout->titleBarHeight : 0.0f;
        if (x + designArea.w > virtualW)
            x = virtualW - designArea.w;
        if (y + designArea.h > virtualH)
            y = virtualH - designArea.h;
        if (x < 0)
            x = 0;
        if (y < top)
            y = top;
        SetPosition(x, y);
        return true;
    }
    MWinButton *activeButton = GetActiveButton();
    if (activeButton && activeButton->IsCapturingInput())
    {
        activeButton->MouseMove();
        return true;
    }
    // Walks that call out keep the root in a local: a callback may delete this window.
    MWin *root = mwin;
    uint32_t deletions = root->GetDeleteCount();
    for (MWinButton *b : {hideButton, extraButton})
    {
        if (!b || !b->IsVisible() || !b->IsEnabled())
            continue;
        if (b->IsMouseOver())
        {
            if (!b->HasHoverOrFocus())
                b->GainHoverOrFocus();
        }
        else if (b->HasHoverOrFocus())
        {
            b->SetPressed(false);
            b->LoseHoverOrFocus();
            if (root->GetDeleteCount() != deletions)
                return true;
        }
    }
    bool gained = false;
    for (MWinGroup *group = lastGroup; group; group = group->GetPrev())
    {
        if (!group->IsShown())
            continue;
        for (MWinButton *button = group->GetLastButton(); button; button = button->GetPrev())
        {
            bool over = button->IsVisible() && button->IsMouseOver();
            if (!over)
            {
                button->SetPressed(false);
                if (button->HasHoverOrFocus())
                {
                    button->LoseHoverOrFocus();
                    // A callback may have changed the screen: stop before following a link.
                    if (root->GetDeleteCount() != deletions)
                        return true;
                }
            }
            else if (!button->HasHoverOrFocus())
            {
                button->GainHoverOrFocus();
                gained = true;
                if (!EngMiscIsLargeScreenDevice() && button->IsEnabled() && button->CanTakeFocus())
                    mwin->PlaySound(MWIN_SOUND_HOVER);
            }
        }
    }
    if (gained)
        return false;
    activeButton = GetActiveButton();
    if (activeButton)
    {
        activeButton->MouseMove();
        return true;
    }
    return false;
}

bool MWinWindow::FireTitleBarButton(MWinButton *button)
{
    if (!controller || !mwin || !collection)
        return false;
    char collectionId[MWIN_ID_SIZE], windowId[MWIN_ID_SIZE];
    strcpy(collectionId, collection->GetID());
    strcpy(windowId, id);
    MWinDesktop *desktop = mwin->GetDesktop();
    uint32_t before = desktop ? desktop->GetState() : 0;
    _MWinButtonCallbackInfo callbackInfo;
    button->FillCallbackInfo(&callbackInfo);
    MWin *root = mwin;
    bool handled = controller->ControlCB(button, &callbackInfo);
    if (handled && root->GetWindowFromIDs(collectionId, windowId, false) == this && desktop &&
        desktop->GetState() == before)
        root->PlaySound(MWIN_SOUND_FIRED);
    return handled;
}

bool MWinWindow::HandleButtonPressed(int which, bool pressed, int flag, bool skipScrollbars)
{
    if (!mwin)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (!shown)
        return false;
    if (dragging)
    {
        if (which == 0 && !pressed)
            dragging = false;
        return true;
    }
    if (!skipScrollbars && which == 0 && HandleScrollPress(pressed))
        return true;
    for (MWinButton *b : {hideButton, extraButton})
    {
        if (!b || !b->IsVisible() || !b->IsMouseOver())
            continue;
        if (which == 0 && pressed)
            b->SetPressed(true);
        else if (which == 0 && !pressed)
        {
            bool wasPressed = b->IsPressed();
            b->SetPressed(false);
            if (wasPressed && b->HasHoverOrFocus() && b->IsEnabled())
                FireTitleBarButton(b);
        }
        return true;
    }
    MWinButton *activeButton = GetActiveButton();
    if (!pressed)
    {
        // The release goes to the button the press went to (a label over it lets the
        // press through to the button below), else to the active button.
        MWinButton *holder = nullptr;
        for (MWinGroup *group = lastGroup; group && !holder; group = group->GetPrev())
            for (MWinButton *button = group->GetLastButton(); button && !holder; button = button->GetPrev())
                if (button->IsPressed() || button->GetCaptureState())
                    holder = button;
        if (holder || activeButton)
            return (holder ? holder : activeButton)->MouseButtonPressed(which, false, flag);
    }
    if (pressed && activeButton && activeButton->IsCapturingInput())
        return activeButton->MouseButtonPressed(which, true, flag);
    MWin *root = mwin;
    uint32_t deletions = root->GetDeleteCount();
    for (MWinGroup *group = lastGroup; group; group = group->GetPrev())
    {
        if (!group->IsShown())
            continue;
        for (MWinButton *button = group->GetLastButton(); button; button = button->GetPrev())
        {
            if (button->IsVisible() && button->IsMouseOver())
            {
                if (button->MouseButtonPressed(which, pressed, flag))
                    return true;
                if (root->GetDeleteCount() != deletions || !root->IsOn())
                    return true;
            }
            else if (button->HasHoverOrFocus() && !button->IsMouseOver())
            {
                button->LoseHoverOrFocus();
                if (root->GetDeleteCount() != deletions)
                    return true;
            }
        }
    }
    if (which == 0 && pressed)
    {
        _Dimension title = {drawArea.x, drawArea.y + titleBarRect.y, titleBarRect.w, titleBarRect.h};
        if (info.dragMode == 2 || (info.dragMode == 1 && info.hasTitleBar && mwin->IsMouseInArea(&title)))
        {
            dragging = true;
            dragMouse[0] = mwin->GetMouseX();
            dragMouse[1] = mwin->GetMouseY();
            dragWindow[0] = designArea.x;
            dragWindow[1] = designArea.y;
            return true;
        }
    }
    return false;
}

bool MWinWindow::CanAnswerKey(MWinButton *button)
{
    if (!button || !button->IsVisible() || !button->IsEnabled())
        return false;
    if (mwin->IsTextEditActive())
        return false;
    MWinButton *activeButton = GetActiveButton();
    return !(activeButton && activeButton->IsCapturingInput());
}

MWinButton *MWinWindow::StepButton(MWinButton *from, bool backward)
{
    if (!from)
        return nullptr;
    MWinButton *step = backward ? from->GetPrev() : from->GetNext();
    if (step)
        return step;
    MWinGroup *group = from->GetGroup();
    for (int i = 0; i < 1000 && group; i++)
    {
        group = backward ? group->GetPrev() : group->GetNext();
        if (!group)
            group = backward ? lastGroup : firstGroup;
        if (!group->IsShown())
            continue;
        step = backward ? group->GetLastButton() : group->GetFirstButton();
        if (step)
            return step;
    }
    return nullptr;
}

bool MWinWindow::KeyTabs(bool backward)
{
    MWinButton *activeButton = GetActiveButton();
    MWinButton *from = activeButton;
    MWinButton *found = nullptr;
    if (!from)
    {
        from = backward ? (lastGroup ? lastGroup->GetLastButton() : nullptr)
                        : (firstGroup ? firstGroup->GetFirstButton() : nullptr);
        if (from && from->CanTakeFocus())
            found = from;
    }
    int steps = 0;
    for (MWinButton *b = from; !found && b && steps < 1001; steps++)
    {
        if (steps == 1000)
        {
            DebugError(ENG_FUNC, backward ? "Coult not get prev button" : "Could not get next button");
            break;
        }
        b = StepButton(b, backward);
        if (b && b->CanTakeFocus())
            found = b;
    }
    if (!found)
        return true;
    MWin *root = mwin;
    uint32_t deletions = root->GetDeleteCount();
    if (activeButton && activeButton != found)
    {
        activeButton->LoseHoverOrFocus();
        if (root->GetDeleteCount() != deletions)
            return true;
    }
    const _Dimension *screen = found->GetScreenAreaP();
    // The pointer goes to the button and the move is answered at once, so hover and focus
    // follow without waiting for the window system's own mouse-move event.
    root->MoveMouseToVirtual(screen->x + screen->w / 2.0f, screen->y + screen->h / 2.0f);
    if (root->GetDeleteCount() != deletions)
        return true;
    if (found->GetType() == MWIN_BUTTON_TEXT_EDIT && !found->IsEditing() && found->HasHoverOrFocus())
        found->KeyDown(13);
    return true;
}

bool MWinWindow::HandleKeyDown(int key)
{
    if (!shown || !mwin || EngKeyStates[18] > 1)
        return false;
    if (key == 27)
    {
        MWinButton *target = CanAnswerKey(escapeButton) ? escapeButton : (CanAnswerKey(hideButton) ? hideButton : nullptr);
        if (target)
        {
            EngKeyStates[27] = 0;
            SendButtonCallCallbackMessage(target, true);
            return true;
        }
    }
    else if (key == 13 && CanAnswerKey(defaultButton))
    {
        EngKeyStates[13] = 0;
        SendButtonCallCallbackMessage(defaultButton, true);
        return true;
    }
    else if (key == 9)
        return KeyTabs(EngKeyStates[16] > 1);
    MWin *root = mwin;
    uint32_t deletions = root->GetDeleteCount();
    for (MWinGroup *group = lastGroup; group; group = group->GetPrev())
    {
        if (!group->IsShown())
            continue;
        for (MWinButton *button = group->GetLastButton(); button; button = button->GetPrev())
        {
            if (!button->HasHoverOrFocus())
                continue;
            if (button->KeyDown(key))
                return true;
            if (root->GetDeleteCount() != deletions || !root->IsOn())
                return false;
        }
    }
    return false;
}

bool MWinWindow::HandleKeyDownChar(unsigned char c)
{
    MWinButton *button = shown ? GetActiveButton() : nullptr;
    return button ? button->KeyDownChar(c) : false;
}

bool MWinWindow::HandleKeyUp(int key)
{
    MWinButton *button = shown ? GetActiveButton() : nullptr;
    return button ? button->KeyUp(key) : false;
}

bool MWinWindow::HandleDoubleClick(int which)
{
    MWinButton *button = shown ? GetActiveButton() : nullptr;
    return button ? button->MouseDoubleClicked(which) : false;
}

bool MWinWindow::HandleMouseWheel(int delta)
{
    if (!shown)
        return false;
    MWinButton *button = GetActiveButton();
    if (button)
        return button->MouseWheel(delta);
    if (!scrollingOn || scrollRange[1] <= 0 || thumbDrag[0] || thumbDrag[1])
        return false;
    // Away from the player scrolls up: 2 % of the range per notch.
    SetScrollPosition(scrollPos[0], scrollPos[1] - delta * scrollRange[1] * 0.02f);
    return true;
}

// ---- Tick and drawing ------------------------------------------------------------------------------

bool MWinWindow::Tick()
{
    if (!shown || !mwin)
        return false;
    bool changed = false;
    if (scroller.IsOn())
    {
        changed = scroller.Tick();
        if (changed)
            SetScrollPosition(scroller.GetPositionX(), scroller.GetPositionY());
    }
    MWin *root = mwin;
    uint32_t deletions = root->GetDeleteCount();
    for (MWinGroup *group = firstGroup; group; group = group->GetNext())
        for (MWinButton *button = group->GetFirstButton(); button; button = button->GetNext())
        {
            if (button->IsEnabled() && button->UpdateKind())
                changed = true;
            if (root->GetDeleteCount() != deletions)
                return true;
        }
    return changed;
}

void MWinWindow::Render()
{
    if (!IsCreatedOk() || !collection || !mwin || !mwin->GetTextures() || !shown)
        return;
    MWinTextures *textures = mwin->GetTextures();
    const float *alpha = alphaOverride ? alphaColour : nullptr;
    if (info.hasTitleBar)
    {
        _Dimension title = {drawArea.x, drawArea.y + titleBarRect.y, titleBarRect.w, titleBarRect.h};
        textures->DrawTexBut(titleTexBut, active ? MWIN_TEXSTATE_HOVER : MWIN_TEXSTATE_NORMAL, &title, alpha);
        EngFont *font = fontNum != MWIN_FONT_NUM_NONE ? mwin->GetFont(fontNum) : nullptr;
        if (font && titleText[0])
        {
            const _MWinLayoutSettings *layout = GetLayoutSettings();
            float sx = titleScale[0], sy = titleScale[1];
            if (layout && layout->textScaleX > 0 && layout->textScaleY > 0)
            {
                sx *= layout->textScaleX;
                sy *= layout->textScaleY;
            }
            if (scaled)
            {
                sx *= mwin->GetHorizontalScaleIfScaled();
                sy *= mwin->GetVerticalScaleIfScaled();
            }
            font->SetScale(sx, sy);
            font->SetColour(titleColour[0], titleColour[1], titleColour[2],
                            titleColour[3] * (alphaOverride ? alphaColour[3] : 1.0f));
            _Dimension text = {drawArea.x + titleTextRect.x, drawArea.y + titleTextRect.y, titleTextRect.w,
                               titleTextRect.h};
            mwin->DrawFontText(fontNum, textAlign, mwin->GetCurrentLayoutSettings()->textMargin, &text, nullptr,
                               titleText, 0, true, true);
        }
        if (hideButton && hideButton->IsVisible())
            hideButton->RenderPlain();
        if (extraButton && extraButton->IsVisible())
            extraButton->RenderPlain();
    }
    textures->DrawTexBut(bodyTexBut, MWIN_TEXSTATE_NORMAL, &drawArea, alpha);
    if (scrollingOn)
        RenderScrollbars();
    for (MWinGroup *group = firstGroup; group; group = group->GetNext())
        group->Render();
}

bool MWinWindow::CreateGraphics()
{
    bool ok = true;
    for (MWinButton *b : {hideButton, extraButton})
        if (b && !b->CreateGraphics())
            ok = false;
    for (MWinGroup *group = firstGroup; group; group = group->GetNext())
        if (!group->CreateGraphics())
            ok = false;
    // Texture-button numbers may have been registered after the window was made.
    SetTitleTexBut(info.titleTexBut[0] ? info.titleTexBut : MWIN_TEXBUT_DEFAULT);
    SetBodyTexBut(info.bodyTexBut[0] ? info.bodyTexBut : MWIN_TEXBUT_DEFAULT);
    return ok;
}

void MWinWindow::DestroyGraphics()
{
    for (MWinButton *b : {hideButton, extraButton})
        if (b)
            b->DestroyGraphics();
    for (MWinGroup *group = firstGroup; group; group = group->GetNext())
        group->DestroyGraphics();
}
