// The text entry with an on-screen keyboard that replaces the text popup on large-screen
// (touch) devices. The desktop build is never one, so there it refuses ("Not mobile.");
// it works all the same when the device class is set to a large screen. The entry lives
// in the popup collection: a title, an optional prompt, the text line, one push button
// per key, and "Done", "Shift" and "Del".
#include <cctype>
#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "MWinKinds.h"

enum
{
    KEY_SHIFT = 254,
    KEY_DEL = 255,
};

namespace
{
struct KeyboardEntry
{
    bool open;
    char *buffer;
    int maxChars;
    int inputType; // 0 text with capitals, 1 signed number, 2 dotted number, 3 text
    bool masked, capitals, shift;
    MWinPopupResultFn callback;
    void *user;
    MWinWindow *window;
    MWinButton *textLine, *shiftButton;
} s_entry;
} // namespace

static void KeyboardShowText(MWin *mwin)
{
    if (!s_entry.textLine)
        return;
    char shown[512];
    int length = (int)strlen(s_entry.buffer);
    if (s_entry.masked)
    {
        int count = length < (int)sizeof(shown) - 1 ? length : (int)sizeof(shown) - 1;
        memset(shown, '*', (size_t)count);
        shown[count] = 0;
    }
    else
        snprintf(shown, sizeof(shown), "%s", s_entry.buffer);
    s_entry.textLine->SetText(shown);
    s_entry.textLine->SetTextColourRGBA(1, 1, 1, 1);
}

// Letters follow the shift state; "Shift" shows it by its tint.
static void KeyboardRelabel()
{
    if (!s_entry.window)
        return;
    for (char letter = 'A'; letter <= 'Z'; letter++)
    {
        char id[8] = {'K', 'E', 'Y', '_', letter, 0};
        if (MWinButton *key = s_entry.window->GetButtonFromID(id, false))
        {
            char label[2] = {s_entry.shift ? letter : (char)tolower(letter), 0};
            key->SetText(label);
        }
    }
    if (s_entry.shiftButton)
    {
        if (s_entry.shift)
            s_entry.shiftButton->SetColourMultiplier(0.498f, 1.0f, 0.498f, 1.0f);
        else
            s_entry.shiftButton->SetColourMultiplier(0.8f, 0.8f, 0.8f, 1.0f);
    }
}

static bool KeyboardAccepts(const char *text, char c)
{
    int length = (int)strlen(text);
    switch (s_entry.inputType)
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
        return !(length >= 3 && text[length - 1] != '.' && text[length - 2] != '.' && text[length - 3] != '.');
    default:
        return true;
    }
}

void MWinPopupGetTextKeyCB_Mobile(MWin *mwin, _MWinButtonCallbackInfo *info, int code, int unused)
{
    if (!MWinIsLargeScreenDevice())
    {
        DebugError(ENG_FUNC, "Not mobile.");
        return;
    }
    if (!s_entry.open || !s_entry.buffer)
        return;
    int length = (int)strlen(s_entry.buffer);
    if (code == KEY_SHIFT)
        s_entry.shift = !s_entry.shift;
    else if (code == KEY_DEL)
    {
        if (length > 0)
            s_entry.buffer[--length] = 0;
        s_entry.shift = false;
        if (s_entry.inputType == 0 && s_entry.capitals && (length == 0 || s_entry.buffer[length - 1] == '.'))
            s_entry.shift = true;
    }
    else if (length < s_entry.maxChars)
    {
        char c = (char)code;
        if ((s_entry.inputType == 0 || s_entry.inputType == 3) && c >= 'A' && c <= 'Z' && !s_entry.shift)
            c = (char)tolower(c);
        if (KeyboardAccepts(s_entry.buffer, c))
        {
            s_entry.buffer[length] = c;
            s_entry.buffer[length + 1] = 0;
            if (s_entry.inputType == 0 && c != ' ')
                s_entry.shift = false;
            if (s_entry.inputType == 0 && s_entry.capitals && (c == '.' || c == ' '))
                s_entry.shift = true;
        }
    }
    KeyboardShowText(mwin);
    KeyboardRelabel();
    mwin->PlaySound(MWIN_SOUND_TYPED);
}

static void KeyboardDoneCB(MWin *mwin, _MWinButtonCallbackInfo *info, int a, int b)
{
    MWinPopupResultFn callback = s_entry.callback;
    void *user = s_entry.user;
    memset(&s_entry, 0, sizeof(s_entry));
    if (mwin->PopupCloseIfOn() && callback)
        callback(mwin, 1, user);
}

static MWinButton *KeyboardAddKey(MWinWindow *window, const char *id, const char *label, int code, float x, float y,
                                  float w, float h)
{
    MWinButton *key = window->AddButton(id, MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, label, x, y, w, h,
                                        MWinPopupGetTextKeyCB_Mobile, code, 0);
    if (key)
        key->SetTextScale(1.1f, 1.1f);
    return key;
}

bool MWin::PopupGetText_Mobile(const char *title, const char *prompt, char *buffer, int bufferSize,
                               MWinPopupResultFn callback, void *user)
{
    if (!MWinIsLargeScreenDevice())
    {
        DebugError(ENG_FUNC, "Not mobile.");
        return false;
    }
    if (!buffer || bufferSize < 1)
    {
        DebugError(ENG_FUNC, "No text var.");
        return false;
    }
    int type;
    bool masked, capitals;
    PopupGetTextTakeOptions(&type, &masked, &capitals);
    // The button-less popup gives the entry its collection, dimming and modality.
    PopupSetButtonTexts(nullptr, nullptr, nullptr);
    if (!PopupNotice(title, prompt))
        return false;
    MWinWindow *window = PopupGetWindow();
    if (!window)
        return false;
    window->SetArea(0, 0, 640, 480);
    memset(&s_entry, 0, sizeof(s_entry));
    s_entry.open = true;
    s_entry.buffer = buffer;
    s_entry.maxChars = bufferSize - 1;
    buffer[bufferSize - 1] = 0;
    s_entry.inputType = type;
    s_entry.masked = masked;
    s_entry.capitals = capitals;
    s_entry.shift = type == 0 && capitals && buffer[0] == 0;
    s_entry.callback = callback;
    s_entry.user = user;
    s_entry.window = window;
    float top = prompt && *prompt ? 90.0f : 60.0f;
    s_entry.textLine = window->AddButton("Text", MWIN_BUTTON_STATIC, MWIN_TEXBUT_DEFAULT, "", 40, top, 560, 34);
    static const char *const letterRows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL!", ",ZXCVBNM.?"};
    static const char *const padRows[] = {"123", "456", "789", ".0-"};
    bool pad = type == 1 || type == 2;
    const char *const *rows = pad ? padRows : letterRows;
    float keyW = pad ? 80 : 52, keyH = 44, gap = 4;
    for (int r = 0; r < 4; r++)
    {
        int count = (int)strlen(rows[r]);
        float rowW = count * keyW + (count - 1) * gap;
        float x = (640 - rowW) / 2, y = top + 50 + r * (keyH + gap);
        for (int k = 0; k < count; k++, x += keyW + gap)
        {
            char c = rows[r][k];
            if (c == ' ' || (pad && c == '-' && type != 1))
                continue;
            char id[8] = {'K', 'E', 'Y', '_', c, 0};
            char label[2] = {c, 0};
            KeyboardAddKey(window, id, label, (unsigned char)c, x, y, keyW, keyH);
        }
    }
    float y = top + 50 + 4 * (keyH + gap);
    KeyboardAddKey(window, "KEY_SPACE", "", ' ', 170, y, 300, keyH);
    s_entry.shiftButton = KeyboardAddKey(window, "Shift", "Shift", KEY_SHIFT, 40, y, 120, keyH);
    KeyboardAddKey(window, "Del", "Del", KEY_DEL, 480, y, 120, keyH);
    window->AddButton("Done", MWIN_BUTTON_PUSH, MWIN_TEXBUT_DEFAULT, "Done", 260, y + keyH + 10, 120, keyH,
                      KeyboardDoneCB, 1, 0);
    KeyboardShowText(this);
    KeyboardRelabel();
    return true;
}

bool MWin::PopupRenderFullScreenTextEntryMobile(bool testOnly)
{
    return s_entry.open && IsPopupOn();
}
