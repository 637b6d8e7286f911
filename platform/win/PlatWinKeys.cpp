// Keys to virtual-key codes and Unicode to and from Windows-1252.
#include "PlatWinInternal.h"

// ---- Virtual keys ------------------------------------------------------------------------

// Keys whose code does not depend on the keyboard layout, by scancode.
static int32_t PlatWinVirtualKeyFromScancode(int32_t scancode)
{
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return PLAT_VK_F1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return PLAT_VK_F1 + 12 + (scancode - SDL_SCANCODE_F13);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return PLAT_VK_NUMPAD0 + 1 + (scancode - SDL_SCANCODE_KP_1);
    switch (scancode)
    {
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_RETURN2:
    case SDL_SCANCODE_KP_ENTER:
        return PLAT_VK_RETURN;
    case SDL_SCANCODE_ESCAPE:
        return PLAT_VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE:
        return PLAT_VK_BACK;
    case SDL_SCANCODE_TAB:
        return PLAT_VK_TAB;
    case SDL_SCANCODE_SPACE:
        return PLAT_VK_SPACE;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
        return PLAT_VK_SHIFT;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
        return PLAT_VK_CONTROL;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
        return PLAT_VK_MENU;
    case SDL_SCANCODE_LGUI:
        return PLAT_VK_LWIN;
    case SDL_SCANCODE_RGUI:
        return PLAT_VK_RWIN;
    case SDL_SCANCODE_APPLICATION:
        return PLAT_VK_APPS;
    case SDL_SCANCODE_PAUSE:
        return PLAT_VK_PAUSE;
    case SDL_SCANCODE_CAPSLOCK:
        return PLAT_VK_CAPITAL;
    case SDL_SCANCODE_NUMLOCKCLEAR:
        return PLAT_VK_NUMLOCK;
    case SDL_SCANCODE_SCROLLLOCK:
        return PLAT_VK_SCROLL;
    case SDL_SCANCODE_PRINTSCREEN:
        return PLAT_VK_SNAPSHOT;
    case SDL_SCANCODE_PAGEUP:
        return PLAT_VK_PRIOR;
    case SDL_SCANCODE_PAGEDOWN:
        return PLAT_VK_NEXT;
    case SDL_SCANCODE_END:
        return PLAT_VK_END;
    case SDL_SCANCODE_HOME:
        return PLAT_VK_HOME;
    case SDL_SCANCODE_LEFT:
        return PLAT_VK_LEFT;
    case SDL_SCANCODE_UP:
        return PLAT_VK_UP;
    case SDL_SCANCODE_RIGHT:
        return PLAT_VK_RIGHT;
    case SDL_SCANCODE_DOWN:
        return PLAT_VK_DOWN;
    case SDL_SCANCODE_INSERT:
        return PLAT_VK_INSERT;
    case SDL_SCANCODE_DELETE:
        return PLAT_VK_DELETE;
    case SDL_SCANCODE_KP_0:
        return PLAT_VK_NUMPAD0;
    case SDL_SCANCODE_KP_PERIOD:
        return PLAT_VK_DECIMAL;
    case SDL_SCANCODE_KP_PLUS:
        return PLAT_VK_ADD;
    case SDL_SCANCODE_KP_MINUS:
        return PLAT_VK_SUBTRACT;
    case SDL_SCANCODE_KP_MULTIPLY:
        return PLAT_VK_MULTIPLY;
    case SDL_SCANCODE_KP_DIVIDE:
        return PLAT_VK_DIVIDE;
    default:
        return 0;
    }
}

// Punctuation keys by the character they type (as on a US keyboard).
static int32_t PlatWinVirtualKeyFromPunctuation(int32_t character)
{
    switch (character)
    {
    case ';':
        return PLAT_VK_OEM_1;
    case '=':
        return PLAT_VK_OEM_PLUS;
    case ',':
        return PLAT_VK_OEM_COMMA;
    case '-':
        return PLAT_VK_OEM_MINUS;
    case '.':
        return PLAT_VK_OEM_PERIOD;
    case '/':
        return PLAT_VK_OEM_2;
    case '`':
        return PLAT_VK_OEM_3;
    case '[':
        return PLAT_VK_OEM_4;
    case '\\':
        return PLAT_VK_OEM_5;
    case ']':
        return PLAT_VK_OEM_6;
    case '\'':
        return PLAT_VK_OEM_7;
    default:
        return 0;
    }
}

// The key at a position of a US keyboard, for keys whose layout gives no ASCII code.
static int32_t PlatWinVirtualKeyFromPosition(int32_t scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    switch (scancode)
    {
    case SDL_SCANCODE_0:
        return '0';
    case SDL_SCANCODE_SEMICOLON:
        return PLAT_VK_OEM_1;
    case SDL_SCANCODE_EQUALS:
        return PLAT_VK_OEM_PLUS;
    case SDL_SCANCODE_COMMA:
        return PLAT_VK_OEM_COMMA;
    case SDL_SCANCODE_MINUS:
        return PLAT_VK_OEM_MINUS;
    case SDL_SCANCODE_PERIOD:
        return PLAT_VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH:
        return PLAT_VK_OEM_2;
    case SDL_SCANCODE_GRAVE:
        return PLAT_VK_OEM_3;
    case SDL_SCANCODE_LEFTBRACKET:
        return PLAT_VK_OEM_4;
    case SDL_SCANCODE_BACKSLASH:
        return PLAT_VK_OEM_5;
    case SDL_SCANCODE_RIGHTBRACKET:
        return PLAT_VK_OEM_6;
    case SDL_SCANCODE_APOSTROPHE:
        return PLAT_VK_OEM_7;
    case SDL_SCANCODE_NONUSBACKSLASH:
        return PLAT_VK_OEM_102;
    default:
        return 0;
    }
}

int32_t PlatWinVirtualKeyFromSdl(int32_t keycode, int32_t scancode)
{
    if (int32_t virtualKey = PlatWinVirtualKeyFromScancode(scancode))
        return virtualKey;
    // Letters and digits follow the layout, as Windows' codes do.
    if (keycode >= 'a' && keycode <= 'z')
        return keycode - 'a' + 'A';
    if (keycode >= '0' && keycode <= '9')
        return keycode;
    if (int32_t virtualKey = PlatWinVirtualKeyFromPunctuation(keycode))
        return virtualKey;
    return PlatWinVirtualKeyFromPosition(scancode);
}

// ---- Windows-1252 --------------------------------------------------------------------------

// The Unicode code points of Windows-1252's 0x80-0x9F; 0 where the code page has none.
static const uint16_t s_cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int32_t PlatWinCp1252FromCodePoint(uint32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return (int32_t)codePoint;
    if (codePoint < 0xA0)
        return 0;
    for (int32_t i = 0; i < 32; i++)
        if (s_cp1252High[i] == codePoint)
            return 0x80 + i;
    return 0;
}

void PlatWinUtf8FromCp1252(const char *text, char *out, int32_t size)
{
    if (!out || size < 1)
        return;
    int32_t at = 0;
    for (const unsigned char *c = (const unsigned char *)(text ? text : ""); *c; c++)
    {
        uint32_t codePoint = *c < 0x80 ? *c : *c >= 0xA0 ? *c : s_cp1252High[*c - 0x80];
        if (codePoint == 0)
            codePoint = '?';
        char bytes[3];
        int32_t length;
        if (codePoint < 0x80)
        {
            bytes[0] = (char)codePoint;
            length = 1;
        }
        else if (codePoint < 0x800)
        {
            bytes[0] = (char)(0xC0 | (codePoint >> 6));
            bytes[1] = (char)(0x80 | (codePoint & 0x3F));
            length = 2;
        }
        else
        {
            bytes[0] = (char)(0xE0 | (codePoint >> 12));
            bytes[1] = (char)(0x80 | ((codePoint >> 6) & 0x3F));
            bytes[2] = (char)(0x80 | (codePoint & 0x3F));
            length = 3;
        }
        if (at + length > size - 1)
            break;
        for (int32_t i = 0; i < length; i++)
            out[at++] = bytes[i];
    }
    out[at] = 0;
}

// Decodes one UTF-8 sequence; answers its length (at least 1) and the code point, or
// 0xFFFD for a malformed sequence.
int32_t PlatWinDecodeUtf8(const unsigned char *text, uint32_t *codePoint)
{
    unsigned char lead = text[0];
    int32_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0)
    {
        *codePoint = 0xFFFD;
        return 1;
    }
    uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (int32_t i = 1; i < length; i++)
    {
        if ((text[i] & 0xC0) != 0x80)
        {
            *codePoint = 0xFFFD;
            return i;
        }
        value = (value << 6) | (text[i] & 0x3F);
    }
    *codePoint = value;
    return length;
}

void PlatWinCp1252FromUtf8(const char *text, char *out, int32_t size)
{
    if (!out || size < 1)
        return;
    const unsigned char *in = (const unsigned char *)(text ? text : "");
    int32_t at = 0;
    while (*in && at < size - 1)
    {
        uint32_t codePoint;
        in += PlatWinDecodeUtf8(in, &codePoint);
        if (codePoint == '\r' && *in == '\n')
            continue;
        int32_t character = PlatWinCp1252FromCodePoint(codePoint);
        out[at++] = (char)(character ? character : '?');
    }
    out[at] = 0;
}
