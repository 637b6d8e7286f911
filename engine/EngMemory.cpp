// Checked allocation over the C heap and bounded string helpers.
#include "EngMemory.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"

void *EngMalloc(size_t size, const char *caller, bool zero)
{
    if (size == 0)
    {
        if (caller)
            DebugError(caller, "EngMalloc: Zero size");
        else
            DebugError(ENG_FUNC, "Zero size");
        return nullptr;
    }
    void *block = zero ? calloc(1, size) : malloc(size);
    if (!block)
    {
        if (caller)
            DebugError(caller, "EngMalloc: No memory");
        else
            DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
    }
    return block;
}

void *EngRealloc(void *pointer, size_t size, const char *caller)
{
    if (size == 0)
    {
        if (caller)
            DebugError(caller, "EngRealloc: Zero size");
        else
            DebugError(ENG_FUNC, "Zero size");
        return nullptr;
    }
    if (!pointer)
    {
        if (caller)
            DebugError(caller, "EngRealloc: No old memory pointer");
        else
            DebugError(ENG_FUNC, "No old memory pointer");
        return nullptr;
    }
    void *block = realloc(pointer, size);
    if (!block)
    {
        if (caller)
            DebugError(caller, "EngRealloc: No memory");
        else
            DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
    }
    return block;
}

void EngFree(void *pointer, bool report, const char *caller)
{
    if (pointer)
    {
        free(pointer);
        return;
    }
    if (!report)
        return;
    if (caller)
        DebugError(caller, "EngFree: Zero size");
    else
        DebugError(ENG_FUNC, "Zero size");
}

char *EngMallocStringFromString(const char *text, bool report, const char *caller)
{
    if (!text)
    {
        if (report)
            DebugErrorCode(ENG_FUNC, EngFourCC("DNEX"));
        return nullptr;
    }
    if (!text[0] && report)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("NVAL"));
        return nullptr;
    }
    size_t length = strlen(text);
    char *copy = (char *)EngMalloc(length + 1, caller, false);
    if (!copy)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return nullptr;
    }
    memcpy(copy, text, length + 1);
    return copy;
}

void EngZeroMemory(void *pointer, size_t size)
{
    if (!pointer || size == 0)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return;
    }
    memset(pointer, 0, size);
}

char *EngSafeStrcpy(char *destination, const char *source, size_t size)
{
    if (!destination)
    {
        DebugError(ENG_FUNC, "No string");
        return nullptr;
    }
    if (size == 0)
        return destination;
    if (!source || !source[0])
    {
        memset(destination, 0, size);
        return destination;
    }
    size_t length = strnlen(source, size);
    memcpy(destination, source, length);
    if (length < size)
        memset(destination + length, 0, size - length);
    destination[size - 1] = 0;
    return destination;
}

char *EngSafeStrcat(char *destination, const char *source, size_t size)
{
    if (!destination || size == 0)
        return destination;
    size_t used = strnlen(destination, size);
    if (used >= size)
    {
        destination[size - 1] = 0;
        return destination;
    }
    if (source)
        EngSafeStrcpy(destination + used, source, size - used);
    return destination;
}

namespace
{

bool IsWordSeparator(char c)
{
    return c == 0 || c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

const char *StrSearch(const char *function, const char *text, const char *search, bool wordEnd, bool ignoreCase)
{
    if (!text || !search || !search[0])
    {
        DebugError(function, "Invalid parameters");
        return nullptr;
    }
    size_t textLength = strlen(text);
    size_t searchLength = strlen(search);
    if (textLength == 0 || searchLength > textLength)
        return nullptr;
    for (size_t start = 0; start + searchLength <= textLength; start++)
    {
        bool same = ignoreCase ? strncasecmp(text + start, search, searchLength) == 0
                               : strncmp(text + start, search, searchLength) == 0;
        if (same && (!wordEnd || IsWordSeparator(text[start + searchLength])))
            return text + start;
    }
    return nullptr;
}

} // namespace

const char *EngStrStr(const char *text, const char *search, bool wordEnd)
{
    return StrSearch(ENG_FUNC, text, search, wordEnd, false);
}

const char *EngStrIStr(const char *text, const char *search, bool wordEnd)
{
    return StrSearch(ENG_FUNC, text, search, wordEnd, true);
}

const char *EngStringOrNone(const char *text)
{
    return text ? text : "(none)";
}

const char *EngFourCCToString(int32_t code)
{
    static char text[5] = "XXXX";
    uint32_t bits = (uint32_t)code;
    text[0] = (char)(bits >> 24);
    text[1] = (char)(bits >> 16);
    text[2] = (char)(bits >> 8);
    text[3] = (char)bits;
    text[4] = 0;
    return text;
}

void EngSetColourRGB(_ColourRGB *colour, float red, float green, float blue)
{
    if (!colour)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return;
    }
    colour->r = red;
    colour->g = green;
    colour->b = blue;
}

EngUnicode::EngUnicode(const char *text, bool keep)
    : givenText(text), wideText(nullptr), ownsWide(false), asciiText(nullptr), ownsAscii(false), keepAsIs(keep)
{
    if (!text || !text[0] || keep)
        return;
    // One wide character per byte at most, plus the terminator, sized for the real wchar_t.
    size_t length = strlen(text);
    wideText = (wchar_t *)EngMalloc((length + 2) * sizeof(wchar_t), nullptr, true);
    if (!wideText)
    {
        DebugError(ENG_FUNC, "No memory (A2U)");
        return;
    }
    ownsWide = true;
    size_t converted = mbstowcs(wideText, text, length + 1);
    if (converted == (size_t)-1)
    {
        DebugError(ENG_FUNC, "Could not convert string to unicode");
        EngFree(wideText, false, nullptr);
        wideText = nullptr;
        ownsWide = false;
        return;
    }
    wideText[length] = 0;
}

EngUnicode::~EngUnicode()
{
    if (ownsWide)
        EngFree(wideText, false, nullptr);
    if (ownsAscii)
        EngFree(asciiText, false, nullptr);
}

const char *EngUnicode::GetAsciiString(bool allowNull, bool report)
{
    if (!keepAsIs)
    {
        if (givenText && givenText[0])
            return givenText;
        if (asciiText)
            return asciiText;
        if (allowNull)
            return nullptr;
        if (report)
            DebugError(ENG_FUNC, "No string");
        return "";
    }
    if (givenText || allowNull)
        return givenText;
    if (report)
        DebugError(ENG_FUNC, "No string (NCN)");
    return "";
}
