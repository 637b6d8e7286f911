// The submission answer's reader: pure, no log, so that it can be fuzzed and tested on
// any bytes; the caller reports and tells the player.
#include "ScoresSubmitReply.h"

#include <cstdio>
#include <cstring>

#include "ScoresReply.h"

namespace
{

// The reply as a text that may be shown or logged: bytes outside the printable range
// become '?', and the copy stops at the text's size.
void CopyPrintable(const char *from, uint32_t size, char *to, size_t toSize)
{
    size_t n = 0;
    for (uint32_t i = 0; i < size && n + 1 < toSize; i++)
    {
        unsigned char c = (unsigned char)from[i];
        to[n++] = c >= 0x20 && c < 0x7F ? (char)c : '?';
    }
    to[n] = 0;
}

int Finish(_ScoresSubmitReply *out, int kind)
{
    out->kind = kind;
    return kind;
}

} // namespace

int ScoresSubmitReadReply(const char *reply, uint32_t size, uint16_t gameVersion, _ScoresSubmitReply *out)
{
    if (!out)
        return SUBMIT_REPLY_BAD_LENGTH;
    memset(out, 0, sizeof(*out));
    if (!reply)
        return Finish(out, SUBMIT_REPLY_BAD_LENGTH);
    // The script ends its answer with a line feed; the answer itself is what comes before.
    uint32_t length = size;
    if (length > 0 && reply[length - 1] == '\n')
        length--;
    if (length > 0 && reply[length - 1] == '\r')
        length--;
    CopyPrintable(reply, length, out->text, sizeof(out->text));
    if (size > SUBMIT_REPLY_MAX_BYTES)
        return Finish(out, SUBMIT_REPLY_BAD_LENGTH);
    if (length < SUBMIT_REPLY_MIN_BYTES)
        return Finish(out, SUBMIT_REPLY_BAD_LENGTH);
    if (reply[0] != ' ')
        return Finish(out, SUBMIT_REPLY_UNKNOWN);

    const char *end = reply + length;
    // The argument starts at the fourth character, after the letter and one blank.
    const bool hasArgument = length >= 4 && reply[2] == ' ';
    const char *argument = hasArgument ? reply + 3 : end;
    switch (reply[1])
    {
    case 'A':
        return Finish(out, SUBMIT_REPLY_STORED);
    case 'D':
        return Finish(out, SUBMIT_REPLY_BETTER_EXISTS);
    case 'X':
        CopyPrintable(argument, (uint32_t)(end - argument), out->text, sizeof(out->text));
        return Finish(out, SUBMIT_REPLY_ERROR);
    case 'B':
    {
        uint32_t minimum = 0;
        if (!hasArgument || !ScoresReplyReadUnsigned(argument, end, &minimum) || minimum > 2147483647u)
        {
            snprintf(out->text, sizeof(out->text), "Minimum score unreadable");
            return Finish(out, SUBMIT_REPLY_MALFORMED);
        }
        out->minimum = (int32_t)minimum;
        return Finish(out, SUBMIT_REPLY_TOO_LOW);
    }
    case 'V':
    {
        uint32_t a = 0, b = 0;
        const char *blank = hasArgument ? (const char *)memchr(argument, ' ', (size_t)(end - argument)) : nullptr;
        bool readable = blank && ScoresReplyReadUnsigned(argument, blank, &a) && ScoresReplyReadUnsigned(blank + 1, end, &b);
        if (!readable)
        {
            snprintf(out->text, sizeof(out->text), "Version numbers unreadable");
            return Finish(out, SUBMIT_REPLY_MALFORMED);
        }
        out->versionA = (uint32_t)a;
        out->versionB = (uint32_t)b;
        if (a != gameVersion)
        {
            snprintf(out->text, sizeof(out->text), "Problem reading high scores list  [GV%d > CGV%u]",
                     (int)gameVersion, (unsigned)a);
            return Finish(out, SUBMIT_REPLY_VERSION);
        }
        if (b == gameVersion)
        {
            snprintf(out->text, sizeof(out->text), "Problem reading high scores list  [V SAME %d]", (int)gameVersion);
            return Finish(out, SUBMIT_REPLY_VERSION);
        }
        if (b > gameVersion)
            return Finish(out, SUBMIT_REPLY_OUT_OF_DATE);
        snprintf(out->text, sizeof(out->text), "Problem reading high scores list  [V%d > V%u]", (int)gameVersion,
                 (unsigned)b);
        return Finish(out, SUBMIT_REPLY_VERSION);
    }
    default:
        return Finish(out, SUBMIT_REPLY_UNKNOWN);
    }
}
