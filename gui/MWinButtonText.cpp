// The text edit (kind 3): a one-line field that shows its text like any button while
// idle and, while editing, keeps an edit buffer with a cursor, filters typed characters
// by an input type, and copies and pastes plain text through the engine's clipboard.
// Editing ends with Enter (confirmed), Escape, a click outside or the loss of focus;
// each end hands the text to the bound variable and to the callback.
//
// Sections: state; setters and getters; start and end of editing; keys and characters;
// mouse and blink; drawing; handler table.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngClipboard.h"
#include "EngDebug.h"
#include "EngFont.h"
#include "EngWindow.h"
#include "MWinKinds.h"

enum
{
    TEXT_EDIT_MAX_LENGTH = 511,
};

namespace
{
struct TextEditData
{
    _MWinPictureLayer picture; // first: every kind state starts with it
    bool cursorVisible;
    uint8_t mode;    // 0 idle, 1 editing by click, Enter or program, 2 touch
    char *buffer;    // maxLength + 3 bytes while editing
    int cursor;
    int maxLength;
    bool lengthSet;
    int inputType;   // 0 any, 1 signed number, 2 dotted digit groups, 3 no spaces
    void (*beginHook)();
    bool clearOnEdit, notifyChanges, password, fourth;
    int boundSize;   // size of a bound char buffer
};

// One blink clock for every text edit.
double s_nextBlink = 0;
} // namespace

// ---- State --------------------------------------------------------------------------------

static TextEditData *EditOf(const MWinButton *button)
{
    return button->GetType() == MWIN_BUTTON_TEXT_EDIT ? (TextEditData *)button->GetKindData() : nullptr;
}

static void TextEditInit(MWinButton *button)
{
    TextEditData *data = (TextEditData *)calloc(1, sizeof(TextEditData));
    if (data)
        data->maxLength = TEXT_EDIT_MAX_LENGTH;
    button->SetKindData(data);
    button->SetEditing(false);
    button->SetKindReady(false);
}

static void TextEditDestroy(MWinButton *button)
{
    if (TextEditData *data = EditOf(button))
        free(data->buffer);
    free(button->GetKindData());
    button->SetKindData(nullptr);
}

// A change the callback hears of while editing (event 255), when asked for.
static bool TextEditNotifyChange(MWinButton *button, TextEditData *data)
{
    if (!data->notifyChanges || !button->IsVisible() || !MWinKindHasListener(button))
        return true;
    _MWinButtonCallbackInfo info;
    button->FillCallbackInfo(&info);
    info.textEditEvent = 255;
    _MWinStillExistsInfo record;
    button->FillStillExistsCheckInfo(&record);
    button->CallCallback(&info);
    return button->DoWeStillExist(&record);
}

// ---- Setters and getters ------------------------------------------------------------------

bool MWinButton::TextEditSetLength(int n)
{
    TextEditData *data = EditOf(this);
    if (!data)
        return false;
    if (n > TEXT_EDIT_MAX_LENGTH)
    {
        DebugError(ENG_FUNC, "Length too long: %d", n);
        n = TEXT_EDIT_MAX_LENGTH;
    }
    data->maxLength = n;
    data->lengthSet = n > 0;
    kindReady = data->lengthSet;
    return true;
}

int MWinButton::TextEditGetLength() const
{
    TextEditData *data = EditOf(this);
    return data ? data->maxLength : 0;
}

bool MWinButton::TextEditRegisterBuffer(char *buffer, int size)
{
    TextEditData *data = EditOf(this);
    if (!data || !buffer || size < 1)
        return false;
    SetBinding(MWIN_BIND_CHAR_BUFFER, buffer);
    data->boundSize = size;
    TextEditSetLength(size - 1);
    // The caller's text may lack its terminator within the size: never read past it.
    char shown[TEXT_EDIT_MAX_LENGTH + 1];
    int length = (int)strnlen(buffer, (size_t)size - 1);
    if (length > TEXT_EDIT_MAX_LENGTH)
        length = TEXT_EDIT_MAX_LENGTH;
    memcpy(shown, buffer, (size_t)length);
    shown[length] = 0;
    return TextEditSetText(shown);
}

bool MWinButton::TextEditSetText(const char *text)
{
    TextEditData *data = EditOf(this);
    if (!data)
        return false;
    bool done;
    if (!text || !*text)
        done = AllocAndSetText(0, nullptr);
    else if ((int)strlen(text) <= data->maxLength)
        done = AllocAndSetText(0, text);
    else
    {
        char *cut = (char *)malloc((size_t)data->maxLength + 1);
        if (!cut)
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
            return false;
        }
        memcpy(cut, text, (size_t)data->maxLength);
        cut[data->maxLength] = 0;
        done = AllocAndSetText(0, cut);
        free(cut);
    }
    if (data->cursor > data->maxLength - 1)
        data->cursor = data->maxLength - 1;
    if (data->cursor < 0)
        data->cursor = 0;
    RequestRedraw();
    return done;
}

const char *MWinButton::TextEditGetTextP()
{
    TextEditData *data = EditOf(this);
    if (!data)
        return nullptr;
    if (editing)
    {
        if (!data->buffer)
            DebugError(ENG_FUNC, "No text");
        return data->buffer;
    }
    return HasText() ? GetTextP() : nullptr;
}

const char *MWinButton::TextEditGetTextOrEmpty()
{
    const char *text = TextEditGetTextP();
    return text ? text : "";
}

int MWinButton::TextEditGetNumber()
{
    const char *text = TextEditGetTextP();
    int number = 0;
    if (!text || sscanf(text, "%d", &number) != 1)
        return 0;
    return number;
}

bool MWinButton::TextEditIsEditing() const
{
    return EditOf(this) && editing;
}

int MWinButton::TextEditGetEditMode() const
{
    TextEditData *data = EditOf(this);
    return data ? data->mode : 0;
}

int MWinButton::TextEditGetCursor() const
{
    TextEditData *data = EditOf(this);
    return data ? data->cursor : 0;
}

void MWinButton::TextEditSetInputType(int type)
{
    if (TextEditData *data = EditOf(this))
        data->inputType = type >= 0 && type <= 3 ? type : 0;
}

void MWinButton::TextEditSetOptions(bool clearOnEdit, bool notifyChanges, bool password, bool fourth)
{
    if (TextEditData *data = EditOf(this))
    {
        data->clearOnEdit = clearOnEdit;
        data->notifyChanges = notifyChanges;
        data->password = password;
        data->fourth = fourth;
    }
}

void MWinButton::TextEditSetBeginEditingHook(void (*hook)())
{
    if (TextEditData *data = EditOf(this))
        data->beginHook = hook;
}

bool MWinButton::TextEditUpdateCursor()
{
    TextEditData *data = EditOf(this);
    if (!data || !data->buffer)
    {
        DebugError(ENG_FUNC, "No text");
        return false;
    }
    AllocAndSetText(0, data->buffer);
    RequestRedraw();
    return true;
}

// ---- Start and end of editing -------------------------------------------------------------

bool MWinButton::TextEditTurnOnEditing(char mode)
{
    TextEditData *data = EditOf(this);
    if (!data || editing)
        return false;
    if (data->maxLength < 1)
    {
        DebugError(ENG_FUNC, "Length not set");
        return false;
    }
    if (data->beginHook)
        data->beginHook();
    data->mode = (uint8_t)mode;
    if (data->clearOnEdit)
        AllocAndSetText(0, nullptr);
    free(data->buffer);
    data->buffer = (char *)calloc((size_t)data->maxLength + 3, 1);
    if (!data->buffer)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        data->mode = 0;
        return false;
    }
    // A text of exactly the maximum length is kept (only a longer one could not fit).
    if (HasText() && (int)strlen(GetTextP()) <= data->maxLength)
        strcpy(data->buffer, GetTextP());
    data->cursor = (int)strlen(data->buffer);
    editing = true;
    mwin->PlaySound(MWIN_SOUND_CHANGED);
    if (window)
    {
        if (MWinCollection *collection = window->GetCollection())
            collection->Activate();
        window->Activate();
    }
    GainHoverOrFocus();
    RequestRedraw();
    return true;
}

bool MWinButton::TextEditTurnOffEditing(bool enter)
{
    TextEditData *data = EditOf(this);
    if (!data || !editing)
        return false;
    if (!data->buffer)
    {
        DebugError(ENG_FUNC, "No text");
        editing = false;
        return false;
    }
    data->buffer[data->maxLength] = 0;
    AllocAndSetText(0, data->buffer);
    free(data->buffer);
    data->buffer = nullptr;
    data->mode = 0;
    data->cursor = 0;
    pressed = false;
    editing = false;
    const char *text = HasText() ? GetTextP() : "";
    if (bindKind == MWIN_BIND_CHAR_BUFFER && bindPointer && data->boundSize > 0)
    {
        // Never more than the caller's buffer holds.
        snprintf((char *)bindPointer, (size_t)data->boundSize, "%s", text);
    }
    else if (bindPointer)
        MWinKindWriteBound(this, TextEditGetNumber());
    MWin *root = mwin;
    if (enter)
        root->PlaySound(MWIN_SOUND_CHANGED);
    if (visible && MWinKindHasListener(this))
    {
        _MWinButtonCallbackInfo info;
        FillCallbackInfo(&info);
        info.textEditEvent = enter ? 1 : 0;
        _MWinStillExistsInfo record;
        FillStillExistsCheckInfo(&record);
        CallCallback(&info);
        if (!DoWeStillExist(&record))
        {
            root->ButtonsChanged();
            return true;
        }
    }
    RequestRedraw();
    root->ButtonsChanged();
    return true;
}

bool MWinButton::TextEditMoveCursorToButtonAndTurnOnEditing()
{
    if (!EditOf(this))
        return false;
    int x = (int)(screenArea.x + screenArea.w / 2), y = (int)(screenArea.y + screenArea.h / 2);
    mwin->HandleMouseMoveDesign((float)x, (float)y);
    const _MWinHost *host = MWinGetHost();
    if (host && host->setMouseCursorVirtual)
        host->setMouseCursorVirtual((float)x, (float)y + 10.0f);
    return TextEditTurnOnEditing(1);
}

// ---- Keys and characters ------------------------------------------------------------------

bool MWinButton::TextEditHandleKeyDown(int key)
{
    TextEditData *data = EditOf(this);
    if (!data)
        return false;
    if (!editing)
    {
        if (key == MWIN_VK_RETURN)
        {
            TextEditTurnOnEditing(1);
            return true;
        }
        return false;
    }
    int length = data->buffer ? (int)strlen(data->buffer) : 0;
    switch (key)
    {
    case MWIN_VK_RETURN:
        TextEditTurnOffEditing(true);
        return true;
    case MWIN_VK_ESCAPE:
        TextEditTurnOffEditing(false);
        return true;
    case MWIN_VK_LEFT:
    case MWIN_VK_RIGHT:
    case MWIN_VK_HOME:
    case MWIN_VK_END:
        if (key == MWIN_VK_LEFT && data->cursor > 0)
            data->cursor--;
        else if (key == MWIN_VK_RIGHT && data->cursor < length)
            data->cursor++;
        else if (key == MWIN_VK_HOME)
            data->cursor = 0;
        else if (key == MWIN_VK_END)
            data->cursor = length;
        TextEditUpdateCursor();
        mwin->PlaySound(MWIN_SOUND_TYPED);
        return true;
    case MWIN_VK_BACK:
    case MWIN_VK_DELETE:
    {
        int at = key == MWIN_VK_BACK ? data->cursor - 1 : data->cursor;
        if (!data->buffer || at < 0 || at >= length)
            return true;
        memmove(data->buffer + at, data->buffer + at + 1, (size_t)(length - at));
        data->cursor = at;
        TextEditUpdateCursor();
        MWin *root = mwin;
        if (!TextEditNotifyChange(this, data))
            return true;
        root->PlaySound(MWIN_SOUND_TYPED);
        return true;
    }
    case 'V':
        if (MWinKindKeyHeld(MWIN_VK_CONTROL))
        {
            DebugInfo("PASTE");
            return true;
        }
        return false;
    case MWIN_VK_UP:
    case MWIN_VK_DOWN:
        return true;
    default:
        return false;
    }
}

// Whether the input type lets the character in after the text so far.
static bool TextEditAccepts(int inputType, const char *text, unsigned char c)
{
    int length = (int)strlen(text);
    switch (inputType)
    {
    case 1:
        if (c >= '0' && c <= '9')
            return true;
        if (c == '-')
            return length == 0;
        if (c == '.')
            return !strchr(text, '.');
        return false;
    case 2:
        if (c == '.')
            return length > 0 && text[length - 1] != '.';
        if (c < '0' || c > '9')
            return false;
        if (length >= 3 && text[length - 1] != '.' && text[length - 2] != '.' && text[length - 3] != '.')
            return false;
        return true;
    case 3:
        return c != ' ' && c != '\t';
    default:
        return true;
    }
}

bool MWinButton::TextEditHandleKeyDownUChar(unsigned char c)
{
    TextEditData *data = EditOf(this);
    if (!data || !editing)
        return false;
    if (!data->buffer)
    {
        DebugError(ENG_FUNC, "No text");
        return false;
    }
    if (data->maxLength <= 0)
    {
        DebugError(ENG_FUNC, "No text length");
        return false;
    }
    if (c == 8 || c == 9 || c == 13 || c == 27 || c == 35 || c == 36)
        return false;
    bool control = MWinKindKeyHeld(MWIN_VK_CONTROL);
    bool plain = !MWinKindKeyHeld(MWIN_VK_SHIFT) && !MWinKindKeyHeld(MWIN_VK_MENU);
    if ((c == 22 || (c == 'v' && control)) && plain)
    {
        EngKeyStates[MWIN_VK_CONTROL] = 0;
        int room = data->maxLength - data->cursor;
        if (room > 0)
        {
            char *pasted = (char *)malloc((size_t)room + 1);
            if (!pasted)
            {
                DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
                return true;
            }
            if (EngClipboardPasteToString(pasted, room + 1))
            {
                // One by one, so that the filters and the length limit apply to each.
                bool saved = data->notifyChanges;
                data->notifyChanges = false;
                for (int i = 0; pasted[i]; i++)
                    TextEditHandleKeyDownUChar((unsigned char)pasted[i]);
                data->notifyChanges = saved;
            }
            free(pasted);
        }
        MWin *root = mwin;
        if (!TextEditNotifyChange(this, data))
            return true;
        root->PlaySound(MWIN_SOUND_TYPED);
        return true;
    }
    if ((c == 3 || (c == 'c' && control)) && plain)
    {
        EngClipboardCopyFromString(data->buffer);
        return true;
    }
    mwin->PlaySound(MWIN_SOUND_TYPED);
    int length = (int)strlen(data->buffer);
    if (length >= data->maxLength)
        return true;
    // Control characters (a pasted line end) have no place in a one-line field.
    if (c < 32 || c == 127)
        return false;
    if (!TextEditAccepts(data->inputType, data->buffer, c))
        return false;
    if (data->cursor > length)
        data->cursor = length;
    memmove(data->buffer + data->cursor + 1, data->buffer + data->cursor, (size_t)(length - data->cursor + 1));
    data->buffer[data->cursor] = (char)c;
    data->cursor++;
    TextEditUpdateCursor();
    TextEditNotifyChange(this, data);
    return true;
}

// ---- Mouse and blink ----------------------------------------------------------------------

bool MWinButton::TextEditHandleMousePress()
{
    TextEditData *data = EditOf(this);
    if (!data)
        return false;
    if (!editing)
        return TextEditTurnOnEditing(1);
    float mouseX = mwin->GetMouseX(), mouseY = mwin->GetMouseY();
    if (mouseX < screenArea.x || mouseX >= screenArea.x + screenArea.w || mouseY < screenArea.y ||
        mouseY >= screenArea.y + screenArea.h)
        return TextEditTurnOffEditing(false);
    int length = (int)strlen(data->buffer);
    float start = screenArea.x + MWinKindLayout(this, MWIN_LF_EDIT_INSET);
    int at = length;
    for (int i = 0; i <= length; i++)
    {
        if (start + MWinKindTextWidth(this, data->buffer, i) >= mouseX)
        {
            at = i;
            break;
        }
    }
    if (at > data->maxLength - 1)
        at = data->maxLength - 1;
    data->cursor = at < 0 ? 0 : at;
    return TextEditUpdateCursor();
}

// Press and release as for a push button; the release over the field (or, while
// editing, anywhere: the field captures the mouse) starts or ends editing or places the
// cursor.
static bool TextEditMousePressed(MWinButton *button, int which, bool down, int flag)
{
    if (!MWinKindPressReady(button, which))
        return false;
    if (down)
    {
        button->SetPressed(true);
        return true;
    }
    if (button->GetCaptureState())
    {
        button->SetCaptureState(0);
        return false;
    }
    if (!button->IsPressed())
        return true;
    button->SetPressed(false);
    button->TextEditHandleMousePress();
    return true;
}

static bool TextEditUpdate(MWinButton *button)
{
    TextEditData *data = EditOf(button);
    if (!data)
        return false;
    if (!button->IsEditing())
    {
        if (data->cursorVisible)
        {
            data->cursorVisible = false;
            return true;
        }
        return false;
    }
    button->SetPressed(true);
    double now = MWinKindTime();
    if (now < s_nextBlink - 1.0)
        s_nextBlink = now;
    if (now >= s_nextBlink)
    {
        s_nextBlink = now + 0.3;
        data->cursorVisible = !data->cursorVisible;
        button->TextEditUpdateCursor();
        return true;
    }
    return false;
}

static bool TextEditKeyDown(MWinButton *button, int key)
{
    return button->TextEditHandleKeyDown(key);
}

static bool TextEditKeyDownChar(MWinButton *button, unsigned char c)
{
    return button->TextEditHandleKeyDownUChar(c);
}

static bool TextEditIsCapturing(const MWinButton *button)
{
    return button->IsEditing();
}

static void TextEditLoseFocus(MWinButton *button)
{
    button->TextEditTurnOffEditing(false);
}

// ---- Drawing ------------------------------------------------------------------------------

static bool TextEditRenderText(MWinButton *button, int state)
{
    TextEditData *data = EditOf(button);
    if (!data)
        return false;
    MWin *mwin = button->GetMWin();
    const _Dimension *screen = button->GetScreenAreaP();
    const char *text = button->IsEditing() && data->buffer ? data->buffer : (button->HasText() ? button->GetTextP() : "");
    EngFont *font = button->GetEngFont();
    int length = (int)strlen(text);
    char stars[TEXT_EDIT_MAX_LENGTH + 1];
    if (data->password)
    {
        memset(stars, '*', (size_t)length);
        stars[length] = 0;
        text = stars;
    }
    float inset = MWinKindLayout(button, MWIN_LF_EDIT_INSET);
    float room = screen->w - 2 * inset;
    bool showCursor = button->IsEditing() && data->cursorVisible;
    // While editing, a text wider than the field is drawn from the left and moved so
    // that the cursor stays inside it.
    int first = 0;
    bool editingWide = button->IsEditing() && font && MWinKindTextWidth(button, text, -1) > room;
    if (editingWide)
        while (first < data->cursor && MWinKindTextWidth(button, text + first, data->cursor - first) > room)
            first++;
    _Dimension box = *screen;
    _MWinTextAlign align = button->GetTextAlign();
    if (editingWide)
    {
        align = MWIN_ALIGN_LEFT;
        box.x += inset;
        box.w -= inset;
    }
    const char *shown = text + first;
    if (showCursor && font)
        font->SetCursorCharIndex(data->cursor - first);
    if (!button->IsEditing() && !data->password && !editingWide)
        button->RenderTextLines();
    else
        mwin->DrawFontText(button->GetFontNum(), align, editingWide ? 0 : button->GetTextMargin(), &box, nullptr,
                           *shown ? shown : " ", 0, true, !button->IsEditing());
    if (!showCursor || !font)
        return true;
    float cursorX = font->GetCursorX();
    font->SetCursorCharIndex(-1);
    if (!*shown)
        cursorX = align == MWIN_ALIGN_LEFT ? box.x + button->GetTextMargin()
                  : align == MWIN_ALIGN_RIGHT ? box.x + box.w - button->GetTextMargin()
                                              : box.x + box.w / 2;
    _ColourRGBA colour;
    font->GetColour(&colour);
    font->SetColour(colour.r, colour.g, colour.b, colour.a * 0.6f);
    float sx, sy;
    font->GetScale(&sx, &sy);
    font->SetScale(sx, sy * 1.5f);
    _Dimension cursorBox = {cursorX - 20.0f, screen->y, 40.0f, screen->h};
    mwin->DrawFontText(button->GetFontNum(), MWIN_ALIGN_CENTRE, 0, &cursorBox, nullptr, "I", 0, true, false);
    font->SetScale(sx, sy);
    font->SetColourRGBA(&colour);
    return true;
}

// ---- Handler table ------------------------------------------------------------------------

const _MWinButtonKindOps mwin_text_edit_ops = {
    TextEditInit,        TextEditDestroy, TextEditUpdate,      nullptr,           nullptr,
    TextEditRenderText,  nullptr,         TextEditMousePressed, nullptr,          nullptr,
    nullptr,             TextEditKeyDown, TextEditKeyDownChar, TextEditIsCapturing, TextEditLoseFocus,
    nullptr,             nullptr,         nullptr,
};
