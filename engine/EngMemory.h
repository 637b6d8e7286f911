// Checked allocation and bounded string helpers used by every layer. Failures are
// reported under the caller's name; nothing here ends the program.
#pragma once
#include <cstddef>
#include <cwchar>

#include "EngTypes.h"

void *EngMalloc(size_t size, const char *caller, bool zero);
void *EngRealloc(void *pointer, size_t size, const char *caller);
void EngFree(void *pointer, bool report, const char *caller);
char *EngMallocStringFromString(const char *text, bool report, const char *caller);
void EngZeroMemory(void *pointer, size_t size);

// Copies at most size - 1 characters and always terminates; the rest is zero-filled.
char *EngSafeStrcpy(char *destination, const char *source, size_t size);
// Appends within the destination's size; always terminates.
char *EngSafeStrcat(char *destination, const char *source, size_t size);
const char *EngStrStr(const char *text, const char *search, bool wordEnd);
const char *EngStrIStr(const char *text, const char *search, bool wordEnd);
// The text, or "(none)" for null.
const char *EngStringOrNone(const char *text);
const char *EngFourCCToString(int32_t code);
void EngSetColourRGB(_ColourRGB *colour, float red, float green, float blue);

// A text in 8-bit and wide form.
class EngUnicode
{
public:
    EngUnicode(const char *text, bool keep);
    ~EngUnicode();
    EngUnicode(const EngUnicode &) = delete;
    EngUnicode &operator=(const EngUnicode &) = delete;

    const char *GetAsciiString(bool allowNull, bool report);
    const wchar_t *GetWideString() const { return wideText; }

private:
    const char *givenText;
    wchar_t *wideText;
    bool ownsWide;
    char *asciiText;
    bool ownsAscii;
    bool keepAsIs;
};
