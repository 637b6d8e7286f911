// Popups: a modal window that the GUI root lays out itself around a title, a message and
// up to three standard buttons, optionally with a text entry or a list panel, in a
// collection of its own ("MWIN_POPUP"); the other collections are switched off and the
// desktop dims them meanwhile. The button that closes a popup reaches the caller's
// result callback on the tick after the press, once the popup has gone, so the callback
// may open the next popup. At most one popup exists at a time.
//
// Sections: state; opening and closing; layout; the opening operations; notices; tick
// and settings; the handler table for the GUI root.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMain.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "MWinKinds.h"

#define POPUP_WINDOW_ID "MWIN_POPUP_WIN"
#define POPUP_TEMP_WINDOW_ID "MWIN_POPUP_WIN_TEMP"

enum
{
    POPUP_MAX_SAVED = 16,
    POPUP_TEXT_SIZE = 64,
};

namespace
{
struct PopupSaved
{
    char collection[MWIN_ID_SIZE];
    char window[MWIN_ID_SIZE]; // its active window, empty for none
};

struct PopupState
{
    bool on;
    int savedMouseOver; // -1: none saved
    MWinPopupResultFn callback;
    void *user;
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *message, *ok, *cancel, *no, *panel, *textEdit;
    MWinPopupRowFn rowCallback;
    double timeout;
    signed char errorTint;
    char customTexts[3][POPUP_TEXT_SIZE]; // first, third, second button
    int entryType;
    bool entryMasked, entryCaps;
    // Appearance.
    char bodyTexBut[MWIN_ID_SIZE], titleTexBut[MWIN_ID_SIZE], titleFont[MWIN_ID_SIZE];
    char buttonTexBut[MWIN_ID_SIZE], textFont[MWIN_ID_SIZE];
    float textColour[4], textScale[2], titleColour[4], titleScale[2];
    int titleAlign;
    // Geometry of the device class (desktop).
    float minBoxW, maxBoxW, buttonW, buttonH;
    float minBoxWOverride; // > 0 for the next layout only (list popups)
    PopupSaved saved[POPUP_MAX_SAVED];
    int savedCount;
};
} // namespace

static PopupState *PopupOf(MWin *mwin)
{
    return mwin ? (PopupState *)mwin->GetPopupState() : nullptr;
}

static void PopupSetDefaults(PopupState *state)
{
    memset(state, 0, sizeof(*state));
    state->savedMouseOver = -1;
    strcpy(state->bodyTexBut, MWIN_TEXBUT_DEFAULT);
    strcpy(state->titleTexBut, MWIN_TEXBUT_DEFAULT);
    strcpy(state->buttonTexBut, MWIN_TEXBUT_DEFAULT);
    strcpy(state->titleFont, MWIN_FONT_DEFAULT);
    strcpy(state->textFont, MWIN_FONT_DEFAULT);
    state->textColour[3] = state->titleColour[3] = 1;
    state->textScale[0] = state->textScale[1] = state->titleScale[0] = state->titleScale[1] = 1;
    state->minBoxW = 50;
    state->maxBoxW = 600;
    state->buttonW = 60;
    state->buttonH = 30;
}

static void PopupInitCB(MWin *mwin)
{
    PopupState *state = PopupOf(mwin);
    if (!state)
    {
        state = (PopupState *)malloc(sizeof(PopupState));
        DebugFatalIfFalse(state != nullptr, "MWin::PopupInit", "No memory for the popup state");
        mwin->SetPopupState(state);
    }
    PopupSetDefaults(state);
}

static void PopupShutdownCB(MWin *mwin)
{
    free(mwin->GetPopupState());
    mwin->SetPopupState(nullptr);
}

static bool PopupIsOnCB(MWin *mwin)
{
    PopupState *state = PopupOf(mwin);
    return state && state->on;
}

// ---- Opening and closing ------------------------------------------------------------------

static bool PopupCreateCollection(MWin *mwin, const char *function)
{
    PopupState *state = PopupOf(mwin);
    if (!state || !mwin->IsOn())
    {
        DebugError(function, "MWin is not on");
        return false;
    }
    if (state->on || state->collection)
    {
        DebugError(function, "Popup already on");
        return false;
    }
    MWinDesktop *desktop = mwin->GetDesktop();
    if (!DebugCheck(desktop != nullptr, function, "No desktop"))
        return false;
    state->savedCount = 0;
    for (MWinCollection *c = desktop->GetFirstCollection(); c; c = c->GetNext())
    {
        if (!c->IsActive())
            continue;
        if (state->savedCount < POPUP_MAX_SAVED)
        {
            PopupSaved *saved = &state->saved[state->savedCount++];
            MWinCopyID(saved->collection, c->GetID());
            MWinWindow *active = c->GetActiveWindow();
            saved->window[0] = 0;
            if (active)
                MWinCopyID(saved->window, active->GetID());
        }
        c->Deactivate();
    }
    desktop->SetDim(true, 0.5f);
    state->collection = desktop->AddCollection(MWIN_POPUP_COLLECTION_ID);
    if (!state->collection)
    {
        DebugError(function, "Could not create new collection");
        desktop->SetDim(false, 0.5f);
        return false;
    }
    mwin->SetPopupCollection(state->collection);
    state->collection->SetScreenLayout(mwin->GetScreenLayout());
    state->collection->Activate();
    return true;
}

static bool PopupCompleteSetup(MWin *mwin, MWinPopupResultFn callback, void *user)
{
    PopupState *state = PopupOf(mwin);
    if (state->savedMouseOver != -1)
        DebugError("MWin::PopupCompleteSetup", "Internal Error (mwp_save_mouse_over_collections)");
    _MWinSettings *settings = mwin->GetSettings();
    state->savedMouseOver = settings->activateCollectionUnderMouse ? 1 : 0;
    settings->activateCollectionUnderMouse = false;
    state->callback = callback;
    state->user = user;
    state->on = true;
    mwin->ButtonsChanged();
    return true;
}

// Removes the popup and brings back the screen below; the result callback is not called.
static bool PopupCloseCollection(MWin *mwin)
{
    PopupState *state = PopupOf(mwin);
    MWinDesktop *desktop = mwin->GetDesktop();
    if (!state || !desktop)
        return false;
    if (desktop->GetCollectionFromID(MWIN_POPUP_COLLECTION_ID, false))
        desktop->RemoveCollection(MWIN_POPUP_COLLECTION_ID);
    state->collection = nullptr;
    state->window = nullptr;
    state->message = state->ok = state->cancel = state->no = state->panel = state->textEdit = nullptr;
    state->rowCallback = nullptr;
    mwin->SetPopupCollection(nullptr);
    desktop->SetDim(false, 0.5f);
    if (state->savedMouseOver == -1)
        DebugError("MWin::PopupCloseCollection", "Internal Error (mwp_save_mouse_over_collections)");
    else
        mwin->GetSettings()->activateCollectionUnderMouse = state->savedMouseOver != 0;
    state->savedMouseOver = -1;
    state->on = false;
    for (int i = 0; i < state->savedCount; i++)
    {
        MWinCollection *c = desktop->GetCollectionFromID(state->saved[i].collection, false);
        if (!c)
            continue;
        c->Activate();
        if (MWinWindow *window = c->GetWindowFromID(state->saved[i].window, false))
            window->Activate();
    }
    state->savedCount = 0;
    state->user = nullptr;
    mwin->RequestRedraw();
    return true;
}

static void PopupCloseCB(MWin *mwin)
{
    if (PopupIsOnCB(mwin) || (PopupOf(mwin) && PopupOf(mwin)->collection))
        PopupCloseCollection(mwin);
}

bool MWin::PopupCloseIfOn()
{
    PopupState *state = PopupOf(this);
    if (!state || (!state->on && !state->collection))
        return false;
    return PopupCloseCollection(this);
}

// The standard buttons' own callback: close, then tell the caller (a = the value).
static void PopupButtonCB(MWin *mwin, _MWinButtonCallbackInfo *info, int value, int unused)
{
    PopupState *state = PopupOf(mwin);
    if (!state)
        return;
    MWinPopupResultFn callback = state->callback;
    void *user = state->user;
    if (PopupCloseCollection(mwin) && callback)
        callback(mwin, (char)value, user);
}

// ---- Layout -------------------------------------------------------------------------------

// Measures a text as the popup will show it: one line (title) or wrapped in `width`.
static void PopupMeasure(MWin *mwin, MWinCollection *collection, const char *text, bool wrapped, float width,
                         const float *scale, float *outW, float *outH)
{
    PopupState *state = PopupOf(mwin);
    *outW = 0;
    if (outH)
        *outH = 0;
    _MWinWindowCreateInfo info = {};
    info.kind = MWIN_WINDOW_ORDINARY;
    info.x = 0;
    info.y = 0;
    info.w = 640;
    info.h = 480;
    strcpy(info.bodyTexBut, MWIN_TEXBUT_NONE);
    strcpy(info.titleTexBut, MWIN_TEXBUT_NONE);
    strcpy(info.font, MWIN_FONT_DEFAULT);
    MWinWindow *temp = collection->AddWindow(POPUP_TEMP_WINDOW_ID, &info);
    if (!temp)
    {
        DebugError("MWin::PopupSetupDefaultButtons", "Could not create temp popup window");
        return;
    }
    MWinButton *label = temp->AddButton("TEMP", MWIN_BUTTON_STATIC, state->buttonTexBut, "Temp", 0, 0, width, 480);
    if (!label)
        DebugError("MWin::PopupSetupDefaultButtons", "Could not create temp button");
    else
    {
        label->SetFont(state->textFont);
        label->SetTextColour(state->textColour);
        label->SetTextScale(scale[0], scale[1]);
        label->SetText(text);
        if (wrapped)
        {
            label->SetMultiLineText(true);
            float w = 0, h = 0;
            if (label->GetMultiLineTextSize(&w, &h))
            {
                *outW = w;
                if (outH)
                    *outH = h;
            }
        }
        else
            *outW = label->GetTextWidth();
    }
    // The measuring window goes again at once; it must never stay in the popup.
    collection->RemoveWindow(temp);
}

enum
{
    POPUP_FIRST_NONE = 0,
    POPUP_FIRST_OK = 1,
    POPUP_FIRST_YES = 2,
    POPUP_SECOND_NONE = 0,
    POPUP_SECOND_CANCEL = 1,
    POPUP_SECOND_NO = 2,
};

static const char *PopupButtonText(PopupState *state, int slot, const char *token, const char *text)
{
    if (state->customTexts[slot][0])
        return state->customTexts[slot];
    if (!EngLanguagesAreLoaded())
        return slot == 0 && !strcmp(text, "Ok") ? "OK" : text;
    if (token && EngLanguagesDoesTokenExist(token))
        return EngLanguagesGetStringForToken(token);
    return text;
}

static MWinButton *PopupAddButton(MWin *mwin, const char *id, const char *text, int value, float w, float h, float y)
{
    PopupState *state = PopupOf(mwin);
    MWinButton *button = state->window->AddButton(id, MWIN_BUTTON_PUSH, state->buttonTexBut, text, 0, y, w, h,
                                                  PopupButtonCB, value, 0);
    if (!button)
        return nullptr;
    button->SetFont(state->textFont);
    button->SetTextColour(state->textColour);
    button->SetTextScale(state->textScale[0] * 0.8f, state->textScale[1] * 0.8f);
    return button;
}

static bool PopupSetupDefaultButtons(MWin *mwin, const char *title, const char *text, int firstKind, int secondKind,
                                     bool third, float addedW, float addedH)
{
    PopupState *state = PopupOf(mwin);
    float minW = state->minBoxWOverride > 0 ? state->minBoxWOverride : state->minBoxW;
    state->minBoxWOverride = 0;
    float bw = state->buttonW, bh = 0.9f * state->buttonH;
    float boxW = minW + addedW;
    if (boxW > 640)
        boxW = 640;
    float maxW = state->maxBoxW > boxW ? state->maxBoxW : boxW;
    bool hasTitle = title && *title && strlen(title) < MWIN_TITLE_SIZE;
    float titleW = 0;
    if (hasTitle)
    {
        float measured;
        PopupMeasure(mwin, state->collection, title, false, maxW - 60, state->titleScale, &measured, nullptr);
        titleW = measured + addedW + 40;
        if (titleW > maxW)
            titleW = maxW;
        if (boxW < titleW)
            boxW = titleW;
    }
    bool hasMessage = text && *text;
    float msgW = 0, msgH = 0;
    if (hasMessage)
    {
        PopupMeasure(mwin, state->collection, text, true, maxW - 60 - addedW, state->textScale, &msgW, &msgH);
        msgH += 3;
        if (msgW > maxW)
        {
            DebugError("MWin::PopupSetupDefaultButtons", "msg_w %.0f > max_box_w %.0f", msgW, maxW);
            msgW = maxW;
        }
        if (boxW < msgW)
            boxW = msgW;
    }
    boxW += hasTitle || hasMessage ? 40 : 5;
    if (boxW > maxW)
    {
        DebugInfo("box_w %.0f > max_box_w %0.f", boxW, maxW);
        msgW -= boxW - maxW;
        boxW = maxW;
    }
    int n = (firstKind ? 1 : 0) + (secondKind ? 1 : 0) + (third ? 1 : 0);
    float gaps = 12 + (n - 1) * 6.0f;
    float rowW = n > 0 ? n * bw + gaps : 0;
    if (boxW < rowW)
        boxW = rowW;
    float height = addedH;
    if (hasMessage)
        height += msgH + 10;
    if (n > 0)
        height += bh + 20;
    float fx = 1, fy = 1;
    if (mwin->IsScaling())
    {
        float sx = mwin->GetHorizontalScaleIfScaled(), sy = mwin->GetVerticalScaleIfScaled();
        if (sx > 0)
            fx = 1 / sx;
        if (sy > 0)
            fy = 1 / sy;
    }
    boxW *= fx;
    height = height / 2 + fy * height / 2;
    float msgAreaW = fx * (msgW + 20);
    float gap = 6 * fx;
    float contentW = boxW / fx;
    if (hasMessage && msgAreaW > contentW)
        contentW = msgAreaW;
    if (titleW > contentW)
        contentW = titleW;
    if (rowW > contentW)
        contentW = rowW;
    float windowW = contentW + 20;

    _MWinWindowCreateInfo info = {};
    info.kind = MWIN_WINDOW_MODAL;
    info.x = MWIN_CENTRE;
    info.y = MWIN_CENTRE;
    info.w = windowW;
    info.h = height;
    info.dragMode = 1;
    info.hasTitleBar = hasTitle ? 1 : 0;
    if (hasTitle)
        snprintf(info.title, sizeof(info.title), "%s", title);
    MWinCopyID(info.titleTexBut, state->titleTexBut);
    MWinCopyID(info.bodyTexBut, state->bodyTexBut);
    MWinCopyID(info.font, state->titleFont);
    state->window = state->collection->AddWindow(POPUP_WINDOW_ID, &info);
    if (!state->window)
    {
        DebugError("MWin::PopupSetupDefaultButtons", "Could not create popup window");
        return false;
    }
    if (hasTitle)
    {
        state->window->SetTitleTextColour(state->titleColour[0], state->titleColour[1], state->titleColour[2],
                                          state->titleColour[3]);
        state->window->SetTitleTextScale(state->titleScale[0], state->titleScale[1]);
        state->window->SetTextAlign((_MWinTextAlign)state->titleAlign);
    }
    if (hasMessage)
    {
        state->message = state->window->AddButton("MSG", MWIN_BUTTON_STATIC, MWIN_TEXBUT_NONE, text, -1,
                                                  (n > 0 ? 10 : 6) * fy, msgAreaW, fy * msgH);
        if (state->message)
        {
            state->message->SetMultiLineText(true);
            state->message->SetFont(state->textFont);
            state->message->SetTextColour(state->textColour);
            state->message->SetTextScale(state->textScale[0], state->textScale[1]);
        }
    }
    if (state->errorTint < 0)
    {
        static const float tint[4] = {1.0f, 0.2824f, 0.2353f, 0.9f};
        if (hasTitle)
            state->window->SetTitleTextColour(tint[0], tint[1], tint[2], tint[3]);
        if (state->message)
            state->message->SetTextColour(tint);
    }
    state->errorTint = 0;

    float y = height - 10 - bh;
    if (firstKind)
        state->ok = PopupAddButton(mwin, "OK",
                                   PopupButtonText(state, 0, firstKind == POPUP_FIRST_YES ? "Popup_Yes" : "Popup_OK",
                                                   firstKind == POPUP_FIRST_YES ? "Yes" : "Ok"),
                                   1, bw, bh, y);
    if (third)
        state->no = PopupAddButton(mwin, "NO", PopupButtonText(state, 1, "Popup_No", "No"), 2, bw, bh, y);
    if (secondKind)
        state->cancel =
            PopupAddButton(mwin, "CANCEL",
                           PopupButtonText(state, 2, secondKind == POPUP_SECOND_NO ? "Popup_No" : "Popup_Cancel",
                                           secondKind == POPUP_SECOND_NO ? "No" : "Cancel"),
                           0, bw, bh, y);
    // Enter and Escape: a lone OK or a lone Cancel answers both; OK answers Enter and a
    // Cancel answers Escape wherever they stand. A Yes/No popup answers neither: the
    // player picks by mouse or by Tab and Enter on the focused button.
    MWinButton *enterButton = nullptr, *escapeButton = nullptr;
    if (firstKind == POPUP_FIRST_OK)
        enterButton = state->ok;
    if (secondKind == POPUP_SECOND_CANCEL)
        escapeButton = state->cancel;
    if (n == 1 && state->ok && firstKind == POPUP_FIRST_OK)
        escapeButton = state->ok;
    if (n == 1 && state->cancel && secondKind == POPUP_SECOND_CANCEL)
        enterButton = state->cancel;
    if (n == 3)
        enterButton = nullptr;
    if (enterButton)
        state->window->SetDefaultButton(enterButton);
    if (escapeButton)
    {
        state->window->SetEscapeButton(escapeButton);
        state->collection->SetEscapeWindow(state->window);
    }

    MWinButton *row[3] = {state->ok, state->no, state->cancel};
    float widths[3] = {};
    float sum = 0;
    float sx = mwin->GetHorizontalScaleIfScaled();
    for (int i = 0; i < 3; i++)
    {
        if (!row[i])
            continue;
        widths[i] = row[i]->GetTextWidth() / (sx > 0 ? sx : 1) + 15;
        if (widths[i] < 0.9f * bw)
            widths[i] = 0.9f * bw;
        sum += widths[i];
    }
    if (n > 0 && gaps + sum > boxW && sum > 0)
    {
        float factor = (boxW - gaps) / sum;
        for (int i = 0; i < 3; i++)
            if (row[i])
            {
                widths[i] *= factor;
                if (widths[i] < 0.9f * bw)
                    widths[i] = 0.9f * bw;
            }
    }
    float x = gap;
    MWinButton *placed[4] = {};
    int count = 0;
    for (int i = 0; i < 3; i++)
    {
        if (!row[i])
            continue;
        row[i]->SetArea(x, y, widths[i], bh);
        x += widths[i] + gap;
        placed[count++] = row[i];
    }
    if (state->ok)
        state->window->CenterGroupOfButtons(placed, true, false);
    memset(state->customTexts, 0, sizeof(state->customTexts));
    return true;
}

// ---- The opening operations ---------------------------------------------------------------

static bool PopupOpen(MWin *mwin, const char *function, const char *title, const char *text, int firstKind,
                      int secondKind, bool third, MWinPopupResultFn callback, void *user)
{
    if (!PopupCreateCollection(mwin, function))
        return false;
    if (!PopupSetupDefaultButtons(mwin, title, text, firstKind, secondKind, third, 0, 0))
    {
        PopupOf(mwin)->savedMouseOver = mwin->GetSettings()->activateCollectionUnderMouse ? 1 : 0;
        PopupCloseCollection(mwin);
        return false;
    }
    return PopupCompleteSetup(mwin, callback, user);
}

bool MWin::PopupMessageCB(const char *title, const char *text, MWinPopupResultFn callback, void *user)
{
    return PopupOpen(this, ENG_FUNC, title, text, POPUP_FIRST_OK, POPUP_SECOND_NONE, false, callback, user);
}

bool MWin::PopupMessage(const char *title, const char *text)
{
    return PopupOpen(this, ENG_FUNC, title, text, POPUP_FIRST_OK, POPUP_SECOND_NONE, false, nullptr, nullptr);
}

bool MWin::PopupMessageText(const char *text)
{
    return PopupOpen(this, ENG_FUNC, nullptr, text, POPUP_FIRST_OK, POPUP_SECOND_NONE, false, nullptr, nullptr);
}

bool MWin::PopupError(const char *title, const char *text, MWinPopupResultFn callback, void *user)
{
    PopupState *state = PopupOf(this);
    if (!title)
        title = EngLanguagesAreLoaded() ? EngLanguagesGetStringOrDefault("Common_Error", "Error") : "Error";
    if (state)
        state->errorTint = -1;
    bool opened = PopupOpen(this, ENG_FUNC, title, text, POPUP_FIRST_OK, POPUP_SECOND_NONE, false, callback, user);
    if (state)
        state->errorTint = 0;
    return opened;
}

bool MWin::PopupErrorText(const char *text)
{
    return PopupError("", text, nullptr, nullptr);
}

bool MWin::PopupOKCancel(const char *title, const char *text, MWinPopupResultFn callback, void *user)
{
    return PopupOpen(this, ENG_FUNC, title, text, POPUP_FIRST_OK, POPUP_SECOND_CANCEL, false, callback, user);
}

bool MWin::PopupYesNo(const char *title, const char *text, MWinPopupResultFn callback, void *user)
{
    return PopupOpen(this, ENG_FUNC, title, text, POPUP_FIRST_YES, POPUP_SECOND_NO, false, callback, user);
}

bool MWin::PopupYesNoCancel(const char *title, const char *text, MWinPopupResultFn callback, void *user)
{
    return PopupOpen(this, ENG_FUNC, title, text, POPUP_FIRST_YES, POPUP_SECOND_CANCEL, true, callback, user);
}

// Ending the text entry with Enter answers OK.
static void PopupTextEditCB(MWin *mwin, _MWinButtonCallbackInfo *info, int a, int b)
{
    PopupState *state = PopupOf(mwin);
    if (state && state->ok && info->textEditEvent == 1)
        state->ok->QueueFire();
}

bool MWin::PopupGetText(const char *title, const char *prompt, char *buffer, int bufferSize,
                        MWinPopupResultFn callback, void *user)
{
    if (!buffer)
    {
        DebugError(ENG_FUNC, "No text var.");
        return false;
    }
    if (bufferSize < 1)
    {
        DebugError(ENG_FUNC, "No max len.");
        return false;
    }
    if (MWinIsLargeScreenDevice())
        return PopupGetText_Mobile(title, prompt, buffer, bufferSize, callback, user);
    PopupState *state = PopupOf(this);
    if (!PopupCreateCollection(this, ENG_FUNC))
        return false;
    if (!PopupSetupDefaultButtons(this, title, prompt, POPUP_FIRST_OK, POPUP_SECOND_CANCEL, false, 0,
                                  2 * state->buttonH))
    {
        state->savedMouseOver = GetSettings()->activateCollectionUnderMouse ? 1 : 0;
        PopupCloseCollection(this);
        return false;
    }
    bool hasTitle = title && *title;
    float y = (prompt && *prompt ? 50.0f : 20.0f) - (hasTitle ? 0.0f : 10.0f);
    const _Dimension *area = state->window->GetDesignArea();
    state->textEdit = state->window->AddButton("TEXTEDIT", MWIN_BUTTON_TEXT_EDIT, state->buttonTexBut, "", -1, y,
                                               area->w - 40, state->buttonH, PopupTextEditCB, 0, 0);
    if (state->textEdit)
    {
        state->textEdit->SetFont(state->textFont);
        state->textEdit->SetTextColour(state->textColour);
        state->textEdit->TextEditSetInputType(state->entryType);
        state->textEdit->TextEditSetOptions(false, false, state->entryMasked, state->entryCaps);
        // The caller's buffer is edited in place: it receives the text whenever editing
        // ends (never more than bufferSize - 1 characters), whichever button then closes
        // the popup.
        state->textEdit->TextEditRegisterBuffer(buffer, bufferSize);
    }
    state->entryType = 0;
    state->entryMasked = state->entryCaps = false;
    PopupCompleteSetup(this, callback, user);
    if (state->textEdit)
        state->textEdit->TextEditMoveCursorToButtonAndTurnOnEditing();
    return true;
}

// The list panel's own callback: a new selection goes to the row callback, an
// activated row answers OK.
static void PopupPanelCB(MWin *mwin, _MWinButtonCallbackInfo *info, int a, int b)
{
    PopupState *state = PopupOf(mwin);
    if (!state)
        return;
    if (info->panelActivated)
    {
        if (state->ok)
            state->ok->QueueFire();
        return;
    }
    if (state->rowCallback)
        state->rowCallback(mwin, info->panelRow, state->user);
}

bool MWin::PopupPanel(const char *title, const char *text, int rows, int rowsPerPageRule, float width, float height,
                      MWinButtonStringsFn rowText, char firstKind, int **selection, MWinPopupRowFn rowCallback,
                      MWinPopupResultFn callback, void *user)
{
    if (!selection || !*selection)
    {
        DebugError(ENG_FUNC, "No panel sel val");
        return false;
    }
    PopupState *state = PopupOf(this);
    if (!PopupCreateCollection(this, ENG_FUNC))
        return false;
    state->minBoxWOverride = width + 10;
    if (!PopupSetupDefaultButtons(this, title, text, firstKind, POPUP_SECOND_CANCEL, false, 0, height + 10))
    {
        state->savedMouseOver = GetSettings()->activateCollectionUnderMouse ? 1 : 0;
        PopupCloseCollection(this);
        return false;
    }
    float y = 10;
    if (state->message)
        y += state->message->GetAreaP()->y + state->message->GetAreaP()->h;
    state->panel = state->window->AddButton("PANEL", MWIN_BUTTON_PANEL, MWIN_TEXBUT_DEFAULT, "", -1, y, width,
                                            height, PopupPanelCB, 0, 0);
    if (state->panel)
    {
        state->panel->SetFont(state->textFont);
        state->panel->SetTextColour(state->textColour);
        state->panel->PanelSetStringsCallback(rows, rowsPerPageRule, rowText, user);
        state->panel->PanelRegisterIntVariable(*selection, 0);
        state->panel->PanelCenterOnPos();
    }
    state->rowCallback = rowCallback;
    PopupCompleteSetup(this, callback, user);
    return true;
}

// ---- Notices ------------------------------------------------------------------------------

bool MWin::PopupNotice(const char *title, const char *text)
{
    return PopupOpen(this, ENG_FUNC, title, text, POPUP_FIRST_NONE, POPUP_SECOND_NONE, false, nullptr, nullptr);
}

static void PopupDrawFrame()
{
    EngMiscRenderFrameNow(true, false, false);
}

static void PopupFadeStep(MWin *mwin, bool in)
{
    PopupState *state = PopupOf(mwin);
    double start = EngMainGetTime();
    for (;;)
    {
        double passed = EngMainGetTime() - start;
        float alpha = (float)(passed / 0.1);
        if (alpha > 1)
            alpha = 1;
        if (alpha < 0)
            alpha = 0;
        if (state->window)
            state->window->SetAlpha(in ? alpha : 1 - alpha);
        PopupDrawFrame();
        if (passed >= 0.1)
            break;
        EngMiscSleepSeconds(0.01);
    }
}

bool MWin::PopupNoticeForTime(const char *title, const char *text, double seconds, bool fade)
{
    PopupCloseIfOn();
    if (!PopupNotice(title, text))
        return false;
    PopupState *state = PopupOf(this);
    if (fade && seconds > 0.2)
    {
        GetDesktop()->SetDim(false, 0.5f);
        PopupFadeStep(this, true);
        if (state->window)
            state->window->SetAlpha(1);
        PopupDrawFrame();
        EngMiscWaitSeconds(seconds - 0.2);
        PopupFadeStep(this, false);
    }
    else
    {
        PopupDrawFrame();
        PopupDrawFrame();
        EngMiscWaitSeconds(seconds);
    }
    PopupCloseIfOn();
    if (eng_main_program)
        eng_main_program->RequestEventDrivenRedraw(false);
    return true;
}

bool MWin::PopupNoticeDrawNow(const char *title, const char *text)
{
    PopupCloseIfOn();
    if (!PopupNotice(title, text))
        return false;
    PopupDrawFrame();
    PopupDrawFrame();
    PopupCloseIfOn();
    return true;
}

// ---- Tick and settings --------------------------------------------------------------------

static void PopupTickCB(MWin *mwin)
{
    PopupState *state = PopupOf(mwin);
    if (!state || state->timeout <= 0)
        return;
    if (!state->on)
    {
        state->timeout = 0;
        return;
    }
    if (MWinKindTime() > state->timeout)
    {
        state->timeout = 0;
        PopupCloseCollection(mwin);
    }
}

static void PopupSetupSizesCB(MWin *mwin)
{
    PopupState *state = PopupOf(mwin);
    if (!state)
        return;
    // The desktop set, the same for both orientations.
    state->minBoxW = 50;
    state->maxBoxW = 600;
    state->buttonW = 60;
    state->buttonH = 30;
}

void MWin::PopupSetTimeout(double seconds)
{
    if (PopupState *state = PopupOf(this))
        state->timeout = seconds > 0 ? MWinKindTime() + seconds : 0;
}

void MWin::PopupSetButtonTexts(const char *first, const char *third, const char *second)
{
    PopupState *state = PopupOf(this);
    if (!state)
        return;
    const char *texts[3] = {first, third, second};
    for (int i = 0; i < 3; i++)
        if (texts[i])
            snprintf(state->customTexts[i], POPUP_TEXT_SIZE, "%s", texts[i]);
}

void MWin::PopupGetTextSetOptions(int type, bool masked, bool capitals)
{
    if (PopupState *state = PopupOf(this))
    {
        state->entryType = type;
        state->entryMasked = masked;
        state->entryCaps = capitals;
    }
}

void MWin::PopupGetTextTakeOptions(int *type, bool *masked, bool *capitals)
{
    PopupState *state = PopupOf(this);
    *type = state ? state->entryType : 0;
    *masked = state && state->entryMasked;
    *capitals = state && state->entryCaps;
    if (state)
    {
        state->entryType = 0;
        state->entryMasked = state->entryCaps = false;
    }
}

void MWin::PopupSetSettings(const char *bodyTexBut, const char *titleTexBut, const char *titleFont,
                            const char *buttonTexBut, const char *textFont, float textR, float textB, float textG,
                            float textA, float textScaleX, float textScaleY, float titleR, float titleB, float titleG,
                            float titleA, float titleScaleX, float titleScaleY, int titleAlign)
{
    PopupState *state = PopupOf(this);
    if (!state)
        return;
    if (!MWinIsIDEmpty(bodyTexBut))
        MWinCopyID(state->bodyTexBut, bodyTexBut);
    if (!MWinIsIDEmpty(titleTexBut))
        MWinCopyID(state->titleTexBut, titleTexBut);
    if (!MWinIsIDEmpty(titleFont))
        MWinCopyID(state->titleFont, titleFont);
    if (!MWinIsIDEmpty(buttonTexBut))
        MWinCopyID(state->buttonTexBut, buttonTexBut);
    if (!MWinIsIDEmpty(textFont))
        MWinCopyID(state->textFont, textFont);
    // Colours come red, blue, green, alpha.
    const float in[12] = {textR, textG, textB, textA, textScaleX, textScaleY,
                          titleR, titleG, titleB, titleA, titleScaleX, titleScaleY};
    float *out[12] = {&state->textColour[0], &state->textColour[1], &state->textColour[2], &state->textColour[3],
                      &state->textScale[0],  &state->textScale[1],  &state->titleColour[0], &state->titleColour[1],
                      &state->titleColour[2], &state->titleColour[3], &state->titleScale[0], &state->titleScale[1]};
    for (int i = 0; i < 12; i++)
        if (in[i] >= 0)
            *out[i] = in[i];
    if (titleAlign != -1)
        state->titleAlign = titleAlign;
}

MWinButton *MWin::PopupGetButton(const char *id)
{
    PopupState *state = PopupOf(this);
    if (!state || !state->window)
        return nullptr;
    return state->window->GetButtonFromID(id, false);
}

MWinWindow *MWin::PopupGetWindow()
{
    PopupState *state = PopupOf(this);
    return state ? state->window : nullptr;
}

// ---- The handler table for the GUI root ---------------------------------------------------

const _MWinPopupOps mwin_popup_ops = {PopupInitCB, PopupShutdownCB, PopupTickCB, PopupSetupSizesCB, PopupIsOnCB,
                                      PopupCloseCB};
