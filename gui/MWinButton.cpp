// MWinButton's identity, state, texts, font and colours, callbacks and firing, the
// still-exists guard and the input operations every kind shares. Geometry and drawing
// are in MWinButtonDraw.cpp; kinds plug their handlers in through _MWinButtonKindOps.
// Sections: kinds / construction / state / texts / font and style / callbacks and
// firing / input.
#include "MWinButton.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngFont.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "EngTexture.h"
#include "MWin.h"

static struct
{
    const _MWinButtonKindOps *ops[MWIN_BUTTON_KIND_COUNT];
    int liveCount;
    int textAllocCount;
    bool enableGuard;
} buttonState;

// ---- Kinds -----------------------------------------------------------------------------------------

void MWinButtonSetKindOps(int kind, const _MWinButtonKindOps *ops)
{
    if (kind >= 0 && kind < MWIN_BUTTON_KIND_COUNT)
        buttonState.ops[kind] = ops;
}

const _MWinButtonKindOps *MWinButtonGetKindOps(int kind)
{
    return kind >= 0 && kind < MWIN_BUTTON_KIND_COUNT ? buttonState.ops[kind] : nullptr;
}

int MWinButtonGetLiveCount()
{
    return buttonState.liveCount;
}

#define KIND_OPS(name) (MWinButtonGetKindOps(kind) ? MWinButtonGetKindOps(kind)->name : nullptr)

// ---- Construction ------------------------------------------------------------------------------

void MWinButton::ClearFields()
{
    tagSetUp = 0;
    tagFirst = tagSecond = 0;
    kindReady = hoverOrFocus = pressed = enabled = visible = wobbleParticipation = false;
    wobblePhase = 0.0f;
    wobbleStrength = 1.0f;
    onScreen = editing = false;
    callback = nullptr;
    callbackUser = nullptr;
    plainCallback = nullptr;
    callbackUserPointer = nullptr;
    kindData = nullptr;
    checkboxState = 0;
    bindKind = MWIN_BIND_NONE;
    bindPointer = nullptr;
    bindIntMultiplier = 1;
    bindFloatMultiplier = 1.0f;
    captureState = 0;
    grabOffset[0] = grabOffset[1] = 0.0f;
    customTexBut = standardTexBut = false;
    memset(custom, 0, sizeof custom);
    texts[0] = texts[1] = nullptr;
    textLengths[0] = textLengths[1] = 0;
    extraRender = nullptr;
    extraRenderValue = 0;
    extraRenderUser = nullptr;
    stringUser = nullptr;
    id[0] = texButId[0] = fontId[0] = token[0] = 0;
    mwin = nullptr;
    window = nullptr;
    group = nullptr;
    prev = next = nullptr;
    area = screenArea = clipArea = {0, 0, 0, 0};
    kind = MWIN_BUTTON_PLAIN;
    textScale[0] = textScale[1] = 1.0f;
    textColour[0] = textColour[1] = textColour[2] = 0.0f;
    textColour[3] = 1.0f;
    multiplierMode = 0;
    multiplier[0] = multiplier[1] = multiplier[2] = multiplier[3] = 1.0f;
    texButNum = -1;
    intA = intB = 0;
    fontNum = MWIN_FONT_NUM_DEFAULT;
    textAlign = MWIN_ALIGN_CENTRE;
    multiLine = squeeze = false;
    textMargin = 0.0f;
    tokenMode = false;
    tokenNum = -1;
    tokenSubTexts = 0;
    clippingOn = false;
}

MWinButton::MWinButton(MWin *mwinPointer, const char *idText, MWinGroup *owner, _MWinButtonType buttonKind,
                       const char *texButIdText, const char *text, float x, float y, float w, float h)
{
    ClearFields();
    DebugFatalIfFalse(mwinPointer != nullptr, "MWinButton::MWinButton", "No mw");
    mwin = mwinPointer;
    if (idText && strlen(idText) < sizeof id)
        strcpy(id, idText);
    else
        MWinCopyID(id, idText);
    DebugFatalIfFalse(owner != nullptr, "MWinButton::MWinButton", "No Group");
    DebugFatalIfFalse(owner && owner->GetWindow() != nullptr, "MWinButton::MWinButton", "No Window");
    group = owner;
    window = owner ? owner->GetWindow() : nullptr;
    kind = buttonKind;
    enabled = visible = wobbleParticipation = true;
    squeeze = mwin->GetSettings()->squeezeText;
    SetBackTexButToTexBut(texButIdText && texButIdText[0] ? texButIdText : MWIN_TEXBUT_DEFAULT);
    const _MWinLayoutSettings *layout = GetLayoutSettings();
    if (kind != MWIN_BUTTON_PLAIN && layout)
    {
        if (w < 0)
            w = layout->defaultButtonWidth;
        if (h < 0)
            h = layout->defaultButtonHeight;
        if (window && x < 0)
            x = window->GetDesignArea()->w / 2.0f - w / 2.0f;
        if (window && y < 0)
            y = window->GetDesignArea()->h / 2.0f - h / 2.0f;
    }
    ApplyArea(x, y, w, h);
    SetFont(MWIN_FONT_DEFAULT);
    InitKind();
    tagSetUp = 1;
    tagFirst = (uint16_t)(rand() % 65533 + 1);
    tagSecond = (uint16_t)(tagFirst + 1);
    SetText(text);
    buttonState.liveCount++;
}

void MWinButton::InitKind()
{
    wobblePhase = 0.0f;
    if (kind == MWIN_BUTTON_PLAIN || kind == MWIN_BUTTON_PUSH || kind == MWIN_BUTTON_STATIC)
        kindReady = true;
    if (auto init = KIND_OPS(init))
        init(this);
}

MWinButton::~MWinButton()
{
    // Whatever state the program and the button are in, the window and the queue forget
    // the button, so that nothing keeps a pointer to it.
    if (window)
    {
        window->ForgetButton(this);
        if (mwin && window->GetCollection())
            mwin->RemoveAnyQueuedMessagesForButton(this, window, window->GetCollection());
    }
    if (mwin)
        mwin->NoteDeletion();
    FreeTexts();
    if (auto destroy = KIND_OPS(destroy))
        destroy(this);
    DestroyGraphics();
    if (buttonState.textAllocCount < 0)
        DebugError(ENG_FUNC, "Text alloc count: %d", buttonState.textAllocCount);
    tagSetUp = 0;
    tagFirst = 0;
    buttonState.liveCount--;
    ClearFields();
}

// ---- State ---------------------------------------------------------------------------------------

bool MWinButton::IsSetUp() const
{
    return tagSetUp == 1 && tagSecond == (uint16_t)(tagFirst + 1);
}

bool MWinButton::IsActionable() const
{
    if (!enabled || !visible || kind == MWIN_BUTTON_STATIC || kind == MWIN_BUTTON_KIND_17)
        return false;
    if (kind == MWIN_BUTTON_PUSH)
        return HasCallback();
    return true;
}

bool MWinButton::CanTakeFocus() const
{
    if (auto canTakeFocus = KIND_OPS(canTakeFocus))
        return canTakeFocus(this);
    return IsActionable();
}

void MWinButton::RequestRedraw()
{
    if (mwin)
        mwin->RequestRedraw();
}

void MWinButton::Show()
{
    visible = true;
}

void MWinButton::Hide()
{
    if (hoverOrFocus)
    {
        _MWinStillExistsInfo record;
        FillStillExistsCheckInfo(&record);
        LoseHoverOrFocus();
        if (!DoWeStillExist(&record))
            return;
    }
    visible = false;
    RequestRedraw();
}

void MWinButton::Enable()
{
    if (enabled || buttonState.enableGuard)
        return;
    enabled = true;
    if (visible && window && mwin && mwin->IsMouseInArea(&screenArea))
    {
        buttonState.enableGuard = true;
        window->HandleMouseMove();
        buttonState.enableGuard = false;
    }
    RequestRedraw();
}

void MWinButton::Disable()
{
    if (!enabled)
        return;
    if (hoverOrFocus)
    {
        _MWinStillExistsInfo record;
        FillStillExistsCheckInfo(&record);
        LoseHoverOrFocus();
        if (!DoWeStillExist(&record))
            return;
    }
    enabled = false;
    pressed = false;
    RequestRedraw();
}

bool MWinButton::SetEscapeButtonForParentWindow()
{
    if (!window)
    {
        DebugError(ENG_FUNC, "No parent");
        return false;
    }
    window->SetEscapeButton(this);
    return true;
}

bool MWinButton::SetDefaultButtonForParentWindow()
{
    if (!window)
    {
        DebugError(ENG_FUNC, "No parent");
        return false;
    }
    window->SetDefaultButton(this);
    return true;
}

// ---- Texts -----------------------------------------------------------------------------------------

bool MWinButton::AllocAndSetText(int n, const char *text)
{
    if (n < 0 || n > 1)
    {
        DebugError(ENG_FUNC, "Invalid text num");
        return false;
    }
    if (!IsSetUp())
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    FreeText(n);
    if (!text || !text[0])
        return true;
    size_t length = strlen(text);
    texts[n] = (char *)EngMalloc(length + 1, ENG_FUNC, false);
    if (!texts[n])
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return false;
    }
    memcpy(texts[n], text, length + 1);
    textLengths[n] = (int)length;
    buttonState.textAllocCount++;
    if (length >= 512)
        DebugError(ENG_FUNC, "String too long");
    return true;
}

bool MWinButton::FreeText(int n)
{
    if (n < 0 || n > 1)
    {
        DebugError(ENG_FUNC, "Invalid text num");
        return false;
    }
    if (texts[n])
    {
        EngFree(texts[n], false, ENG_FUNC);
        texts[n] = nullptr;
        buttonState.textAllocCount--;
    }
    textLengths[n] = 0;
    return true;
}

void MWinButton::FreeTexts()
{
    FreeText(0);
    FreeText(1);
}

bool MWinButton::SetText(const char *text)
{
    tokenMode = false;
    bool ok = AllocAndSetText(0, text);
    RequestRedraw();
    return ok;
}

bool MWinButton::SetText2(const char *text)
{
    bool ok = AllocAndSetText(1, text);
    RequestRedraw();
    return ok;
}

bool MWinButton::SetTextF(const char *format, ...)
{
    static char buffer[511];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format ? format : "", args);
    va_end(args);
    return SetText(buffer);
}

bool MWinButton::HasText(int n) const
{
    if (n < 0 || n > 1)
    {
        DebugError(ENG_FUNC, "Invalid text number %d", n);
        return false;
    }
    if (tokenMode)
        return n < tokenSubTexts;
    return texts[n] && texts[n][0];
}

const char *MWinButton::GetTextP()
{
    if (tokenMode && tokenSubTexts > 0)
        return EngLanguagesGetString(tokenNum, 0);
    if (!texts[0])
    {
        DebugError(ENG_FUNC, "No text present. Ensure call HasText() first.");
        return nullptr;
    }
    return texts[0];
}

const char *MWinButton::GetTextP2()
{
    if (tokenMode && tokenSubTexts > 1)
        return EngLanguagesGetString(tokenNum, 1);
    if (!texts[1])
    {
        DebugError(ENG_FUNC, "No text present. Ensure call HasText2() first.");
        return nullptr;
    }
    return texts[1];
}

const char *MWinButton::GetTextP(int n)
{
    if (n == 0)
        return GetTextP();
    if (n == 1)
        return GetTextP2();
    DebugError(ENG_FUNC, "Invalid text number %d", n);
    return nullptr;
}

bool MWinButton::SetTextLanguageToken(const char *tokenText)
{
    if (EngLanguagesAreLoaded() && tokenText && tokenText[0] && strlen(tokenText) < sizeof token)
    {
        strcpy(token, tokenText);
        int subTexts = 0;
        tokenNum = EngLanguagesGetTokenNumAndNumSubTextsForToken(token, &subTexts);
        if (tokenNum >= 0)
        {
            tokenSubTexts = subTexts;
            tokenMode = true;
            const char *first = subTexts > 0 ? EngLanguagesGetString(tokenNum, 0) : nullptr;
            const char *second = subTexts > 1 ? EngLanguagesGetString(tokenNum, 1) : nullptr;
            textLengths[0] = first ? (int)strlen(first) : 0;
            textLengths[1] = second ? (int)strlen(second) : 0;
            RequestRedraw();
            return true;
        }
        DebugError(ENG_FUNC, "Token <%s> not found", token);
    }
    tokenMode = false;
    token[0] = 0;
    tokenNum = -1;
    tokenSubTexts = 0;
    return false;
}

void MWinButton::RefreshLanguageText()
{
    if (!tokenMode || !token[0])
        return;
    char copy[MWIN_TOKEN_SIZE];
    strcpy(copy, token);
    SetTextLanguageToken(copy);
}

float MWinButton::GetTextWidth()
{
    EngFont *font = GetEngFont();
    if (multiLine || !font || !HasText(0))
        return 0.0f;
    ApplyFontScale();
    return font->GetStringWidth(GetTextP());
}

bool MWinButton::GetMultiLineTextSize(float *w, float *h)
{
    if (w)
        *w = 0.0f;
    if (h)
        *h = 0.0f;
    EngFont *font = GetEngFont();
    if (!multiLine || !font || !HasText(0))
        return false;
    ApplyFontScale();
    font->DrawMultilineText(screenArea.x + textMargin, screenArea.y, screenArea.w - 2.0f * textMargin, screenArea.h,
                            (char)textAlign, 0, GetTextP(), 0, 0, w, h, nullptr, nullptr);
    return true;
}

// ---- Font and text style -------------------------------------------------------------------------

bool MWinButton::SetFont(const char *fontIdText)
{
    if (!fontIdText || !fontIdText[0])
    {
        DebugError(ENG_FUNC, "Font id is empty");
        strcpy(fontId, MWIN_FONT_DEFAULT);
        fontNum = MWIN_FONT_NUM_DEFAULT;
        return false;
    }
    if (!MWinCopyID(fontId, fontIdText))
    {
        strcpy(fontId, MWIN_FONT_DEFAULT);
        fontNum = MWIN_FONT_NUM_DEFAULT;
        return false;
    }
    if (strcmp(fontId, MWIN_FONT_DEFAULT) == 0)
        fontNum = MWIN_FONT_NUM_DEFAULT;
    else if (strcmp(fontId, MWIN_FONT_NONE) == 0)
        fontNum = MWIN_FONT_NUM_NONE;
    else
    {
        fontNum = mwin && mwin->GetFonts() ? mwin->GetFonts()->GetFontNumFromID(fontId) : MWIN_FONT_NUM_NONE;
        if (fontNum == MWIN_FONT_NUM_NONE)
        {
            DebugError(ENG_FUNC, "User font <%s> not found", fontIdText);
            strcpy(fontId, MWIN_FONT_DEFAULT);
            fontNum = MWIN_FONT_NUM_DEFAULT;
            return false;
        }
    }
    return true;
}

EngFont *MWinButton::GetEngFont()
{
    return mwin ? mwin->GetFont(fontNum) : nullptr;
}

bool MWinButton::SetTextStyle(const char *styleName)
{
    MWinFonts *fonts = mwin ? mwin->GetFonts() : nullptr;
    int index = fonts ? fonts->GetFontStyleIndex(fontNum, styleName) : -1;
    const _MWinFontStyle *style = fonts ? fonts->GetFontStyle(fontNum, index) : nullptr;
    if (!style)
    {
        DebugError(ENG_FUNC, "Style <%s> not found in font %d", styleName ? styleName : "", fontNum);
        return false;
    }
    SetTextScale(style->scaleX, style->scaleY);
    SetTextColourRGBA(style->r, style->g, style->b, style->a);
    return true;
}

void MWinButton::SetTextColour(const float *rgba)
{
    if (!rgba)
        return;
    SetTextColourRGBA(rgba[0], rgba[1], rgba[2], rgba[3]);
}

void MWinButton::SetTextColourRGBA(float r, float g, float b, float a)
{
    const float values[4] = {r, g, b, a};
    for (int i = 0; i < 4; i++)
        if (values[i] >= 0.0f)
            textColour[i] = values[i];
    if (multiplierMode == 1)
        multiplierMode = 2;
    RequestRedraw();
}

void MWinButton::SetTextColourRGB(float r, float g, float b)
{
    SetTextColourRGBA(r, g, b, -1.0f);
}

void MWinButton::GetTextColour(float *rgba) const
{
    if (rgba)
        memcpy(rgba, textColour, sizeof textColour);
}

void MWinButton::SetTextScale(float sx, float sy)
{
    textScale[0] = sx;
    textScale[1] = sy;
}

void MWinButton::SetTextScaleFromArray(const float *scale)
{
    SetTextScale(scale ? scale[0] : 1.0f, scale ? scale[1] : 1.0f);
}

void MWinButton::GetTextScale(float *sx, float *sy) const
{
    if (sx)
        *sx = textScale[0];
    if (sy)
        *sy = textScale[1];
}

void MWinButton::SetColourMultiplier(float r, float g, float b, float a)
{
    multiplierMode = 1;
    multiplier[0] = r;
    multiplier[1] = g;
    multiplier[2] = b;
    multiplier[3] = a;
    RequestRedraw();
}

void MWinButton::SetAlpha(float a)
{
    if (multiplierMode == 0 && a == 1.0f)
    {
        if (multiplier[3] != 1.0f)
        {
            multiplier[3] = 1.0f;
            RequestRedraw();
        }
        return;
    }
    multiplierMode = 1;
    if (multiplier[3] != a)
    {
        multiplier[3] = a;
        RequestRedraw();
    }
}

void MWinButton::SetExtraRenderCallback(MWinButtonExtraRenderFn hook, int value, void *user)
{
    extraRender = hook;
    extraRenderValue = value;
    extraRenderUser = user;
}

// ---- Callbacks and firing ----------------------------------------------------------------------------

bool MWinButton::SetCallback(MWinButtonCallbackFn function, int a, int b, bool check)
{
    if (check && function && window && window->HasController())
    {
        DebugError(ENG_FUNC, "Use controller");
        return false;
    }
    callback = function;
    callbackUser = nullptr;
    plainCallback = nullptr;
    intA = a;
    intB = b;
    return true;
}

bool MWinButton::SetCallback(MWinButtonCallbackUserFn function, int a, int b, void *user, bool check)
{
    if (check && function && window && window->HasController())
    {
        DebugError(ENG_FUNC, "Use controller");
        return false;
    }
    callback = nullptr;
    callbackUser = function;
    plainCallback = nullptr;
    callbackUserPointer = user;
    intA = a;
    intB = b;
    return true;
}

bool MWinButton::SetPlainCallback(MWinButtonPlainCallbackFn function, void *user)
{
    if (function && window && window->HasController())
    {
        DebugError(ENG_FUNC, "Use controller");
        return false;
    }
    callback = nullptr;
    callbackUser = nullptr;
    plainCallback = function;
    callbackUserPointer = user;
    return true;
}

bool MWinButton::HasCallback() const
{
    return (window && window->HasController()) || callback || callbackUser || plainCallback;
}

bool MWinButton::RegisterIntVariable(int *variable, int multiplierValue)
{
    if (multiplierValue == 0)
    {
        DebugError(ENG_FUNC, "ID: %s - 0 val passed as mult", id);
        return false;
    }
    bindKind = variable ? MWIN_BIND_INT : MWIN_BIND_NONE;
    bindPointer = variable;
    bindIntMultiplier = multiplierValue;
    return true;
}

bool MWinButton::RegisterCharVariable(char *variable)
{
    bindKind = variable ? MWIN_BIND_CHAR : MWIN_BIND_NONE;
    bindPointer = variable;
    return true;
}

bool MWinButton::RegisterFloatVariable(float *variable, float multiplierValue)
{
    if (multiplierValue == 0.0f)
    {
        DebugError(ENG_FUNC, "ID: %s - 0 val passed as mult", id);
        return false;
    }
    bindKind = variable ? MWIN_BIND_FLOAT : MWIN_BIND_NONE;
    bindPointer = variable;
    bindFloatMultiplier = multiplierValue;
    return true;
}

void MWinButton::FillCallbackInfo(_MWinButtonCallbackInfo *info)
{
    if (!info)
        return;
    memset(info, 0, sizeof *info);
    strcpy(info->buttonId, id);
    if (window)
        strcpy(info->windowId, window->GetID());
    info->button = this;
    info->checkboxState = checkboxState;
}

void MWinButton::FillStillExistsCheckInfo(_MWinStillExistsInfo *record) const
{
    if (!record)
        return;
    memset(record, 0, sizeof *record);
    record->mwin = mwin;
    record->button = this;
    strcpy(record->buttonId, id);
    if (window)
    {
        strcpy(record->windowId, window->GetID());
        if (window->GetCollection())
            strcpy(record->collectionId, window->GetCollection()->GetID());
    }
}

bool MWinButton::DoWeStillExist(const _MWinStillExistsInfo *record)
{
    if (!record || !record->button)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("IERR"));
        return false;
    }
    const _MWinHost *host = MWinGetHost();
    if (host->isProgramRunning && !host->isProgramRunning())
        return false;
    if (!record->mwin || MWinIsIDEmpty(record->buttonId))
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NSTP"));
        return false;
    }
    if (!record->mwin->IsOn())
        return false;
    // Found again by its ids, and only the very object counts; the recorded pointer is
    // compared, never followed, until it is found among the live buttons.
    MWinButton *found = record->mwin->FindButton(record->collectionId, record->windowId, record->buttonId,
                                                 record->button);
    return found && found->IsSetUp();
}

bool MWinButton::CallCallback(_MWinButtonCallbackInfo *info)
{
    _MWinStillExistsInfo record;
    FillStillExistsCheckInfo(&record);
    _MWinButtonCallbackInfo fresh;
    if (!info)
    {
        FillCallbackInfo(&fresh);
        info = &fresh;
    }
    MWin *root = mwin;
    bool isPush = kind == MWIN_BUTTON_PUSH;
    MWinCollectionController *controller = window ? window->GetController(false) : nullptr;
    if (controller)
    {
        bool handled = controller->ControlCB(this, info);
        if (!DoWeStillExist(&record))
            return false;
        if (handled && isPush)
            root->PlaySound(MWIN_SOUND_FIRED);
        root->RequestRedraw();
        return true;
    }
    if (callback)
        callback(root, info, intA, intB);
    else if (plainCallback)
        plainCallback(callbackUserPointer);
    else if (callbackUser)
        callbackUser(root, info, intA, intB, callbackUserPointer);
    else
        return false;
    if (!DoWeStillExist(&record))
        return false;
    if (isPush)
        root->PlaySound(MWIN_SOUND_FIRED);
    root->RequestRedraw();
    return true;
}

bool MWinButton::QueueFire()
{
    if (window && window->GetCollection())
        return window->SendButtonCallCallbackMessage(this, true);
    return Fire();
}

// ---- Input -----------------------------------------------------------------------------------------------

bool MWinButton::MouseButtonPressed(int which, bool down, int flag)
{
    if (auto handler = KIND_OPS(mouseButtonPressed))
        return handler(this, which, down, flag);
    if (!kindReady || !hoverOrFocus || !enabled || !visible || which != 0)
    {
        pressed = false;
        captureState = 0;
        return false;
    }
    // Labels decline, so that a button below them gets the press.
    if (kind == MWIN_BUTTON_STATIC || kind == MWIN_BUTTON_KIND_17)
        return false;
    if (down)
    {
        pressed = true;
        RequestRedraw();
        return true;
    }
    if (captureState)
    {
        captureState = 0;
        return false;
    }
    if (!pressed)
        return true;
    pressed = false;
    RequestRedraw();
    // A press and a release both over the button: it fires on the next tick, through the
    // queue, so the controller runs outside the input walk.
    QueueFire();
    return true;
}

bool MWinButton::MouseDoubleClicked(int which)
{
    if (auto handler = KIND_OPS(mouseDoubleClicked))
        return handler(this, which);
    return false;
}

bool MWinButton::ReleaseCapture()
{
    pressed = false;
    captureState = 0;
    return false;
}

bool MWinButton::MouseMove()
{
    if (!kindReady || !visible)
        return false;
    const _MWinHost *host = MWinGetHost();
    if (host->takeLeftReleasedReport && host->takeLeftReleasedReport())
        ReleaseCapture();
    if (auto handler = KIND_OPS(mouseMove))
        return handler(this);
    if (captureState)
        captureState = 0;
    return false;
}

bool MWinButton::MouseWheel(int delta)
{
    if (!kindReady || !hoverOrFocus || !visible)
        return false;
    if (auto handler = KIND_OPS(mouseWheel))
        return handler(this, delta);
    return false;
}

bool MWinButton::KeyDown(int key)
{
    if (!kindReady || !hoverOrFocus || !visible)
        return false;
    if (auto handler = KIND_OPS(keyDown))
        return handler(this, key);
    if (kind == MWIN_BUTTON_PUSH && (key == 13 || key == 32))
    {
        QueueFire();
        return true;
    }
    return false;
}

bool MWinButton::KeyDownChar(unsigned char c)
{
    if (!kindReady || !hoverOrFocus || !visible)
        return false;
    if (auto handler = KIND_OPS(keyDownChar))
        return handler(this, c);
    return false;
}

bool MWinButton::KeyUp(int key)
{
    return false;
}

bool MWinButton::IsCapturingInput()
{
    if (!kindReady || !hoverOrFocus)
        return false;
    if (auto handler = KIND_OPS(isCapturingInput))
        return handler(this);
    if (kind == MWIN_BUTTON_KIND_14)
        return captureState != 0;
    return false;
}

void MWinButton::GainHoverOrFocus()
{
    if (!hoverOrFocus)
    {
        hoverOrFocus = true;
        RequestRedraw();
    }
}

void MWinButton::LoseHoverOrFocus()
{
    if (auto handler = KIND_OPS(loseHoverOrFocus))
    {
        // The kind may call out (ending an edit, closing a list): the button is touched
        // again only when it still exists afterwards.
        _MWinStillExistsInfo record;
        FillStillExistsCheckInfo(&record);
        handler(this);
        if (!DoWeStillExist(&record))
            return;
    }
    ReleaseCapture();
    captureState = 0;
    if (hoverOrFocus)
    {
        hoverOrFocus = false;
        RequestRedraw();
    }
}

bool MWinButton::UpdateKind()
{
    if (!IsReady() || !enabled || !visible)
        return false;
    if (auto handler = KIND_OPS(updateKind))
        return handler(this);
    return false;
}
