// The scores script's reply read into rows. Sections: field readers, lines, replies.
#include "ScoresReply.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngMisc.h"

// ---- Field readers ---------------------------------------------------------------------------------

namespace
{

const int kLogCut = 64;

// A printable copy of at most `limit` bytes of a reply for the log: stops at a line
// end or a zero byte, other control bytes become '?'.
void CutForLog(const char *text, const char *end, int limit, char *out, int size)
{
    int length = 0;
    for (const char *p = text; p < end && length < limit && length < size - 1; p++)
    {
        unsigned char c = (unsigned char)*p;
        if (c == '\n' || c == 0)
            break;
        out[length++] = c < 0x20 ? '?' : (char)c;
    }
    out[length] = 0;
}

// Whole-field number readers: digits only (a leading '-' for the signed one), no
// overflow; false for anything else, an empty field included.
bool ParseSigned(const char *text, const char *end, int32_t *value)
{
    bool negative = text < end && *text == '-';
    uint32_t magnitude = 0;
    if (!ScoresReplyReadUnsigned(text + (negative ? 1 : 0), end, &magnitude))
        return false;
    if (magnitude > (negative ? 2147483648u : 2147483647u))
        return false;
    *value = negative ? (int32_t)(0u - magnitude) : (int32_t)magnitude;
    return true;
}

bool ParseDigits(const char *text, int count, int *value)
{
    *value = 0;
    for (int i = 0; i < count; i++)
    {
        if (text[i] < '0' || text[i] > '9')
            return false;
        *value = *value * 10 + (text[i] - '0');
    }
    return true;
}

// Copies a text field of 1 to size - 1 bytes and terminates it; control bytes refused.
bool CopyTextField(const char *text, const char *end, char *out, int size)
{
    long length = end - text;
    if (length < 1 || length > size - 1)
        return false;
    for (const char *p = text; p < end; p++)
    {
        if ((unsigned char)*p < 0x20)
            return false;
    }
    memcpy(out, text, (size_t)length);
    out[length] = 0;
    return true;
}

bool AnyTwoLetters(const char *code)
{
    return code[0] >= 'A' && code[0] <= 'Z' && code[1] >= 'A' && code[1] <= 'Z';
}

} // namespace

// ---- Shared number reader ------------------------------------------------------------------------

bool ScoresReplyReadUnsigned(const char *text, const char *end, uint32_t *value)
{
    if (!text || !end || text >= end || end - text > 10)
        return false;
    uint64_t number = 0;
    for (const char *p = text; p < end; p++)
    {
        if (*p < '0' || *p > '9')
            return false;
        number = number * 10 + (uint64_t)(*p - '0');
    }
    if (number > UINT32_MAX)
        return false;
    *value = (uint32_t)number;
    return true;
}

// ---- Lines -----------------------------------------------------------------------------------------------

bool ScoresReplyParseLine(const char *line, const char *end, ScoresCountryCheckFn countryCheck, _ScoresScore *row)
{
    enum
    {
        FIELDS = 10,
    };
    const char *starts[FIELDS];
    const char *ends[FIELDS];
    int count = 0;
    const char *p = line;
    // Single blanks separate the fields; the tenth runs to the next blank or the end.
    while (count < FIELDS)
    {
        const char *blank = (const char *)memchr(p, ' ', (size_t)(end - p));
        starts[count] = p;
        ends[count] = blank ? blank : end;
        count++;
        if (!blank)
            break;
        p = blank + 1;
    }
    if (count < FIELDS)
    {
        char shown[kLogCut + 1];
        CutForLog(line, end, kLogCut, shown, sizeof(shown));
        DebugError(ENG_FUNC, "Invalid line received: <%s>", shown);
        return false;
    }
    memset(row, 0, sizeof(*row));
    int32_t uid = 0;
    if (!ParseSigned(starts[0], ends[0], &row->v1) || row->v1 < 0)
        return false;
    if (!ParseSigned(starts[1], ends[1], &row->v2))
        return false;
    if (!ScoresReplyReadUnsigned(starts[2], ends[2], &row->v3) || !ScoresReplyReadUnsigned(starts[3], ends[3], &row->v4))
        return false;
    if (!ParseSigned(starts[4], ends[4], &uid) || uid <= 0 || uid > 65535)
        return false;
    row->uid = (uint16_t)uid;
    if (!CopyTextField(starts[5], ends[5], row->name, sizeof(row->name)))
        return false;
    for (char *c = row->name; *c; c++)
    {
        if (*c == '_')
            *c = ' ';
    }
    if (ends[6] - starts[6] < 2)
        return false;
    char code[3] = {starts[6][0], starts[6][1], 0};
    if (!(countryCheck ? countryCheck : AnyTwoLetters)(code))
        return false;
    memcpy(row->cc, code, sizeof(row->cc));
    if (!CopyTextField(starts[7], ends[7], row->fb, sizeof(row->fb)))
        return false;
    int year;
    int month;
    int day;
    if (ends[8] - starts[8] != 10 || !ParseDigits(starts[8], 4, &year) || !ParseDigits(starts[8] + 5, 2, &month) ||
        !ParseDigits(starts[8] + 8, 2, &day))
        return false;
    if (year < 2000 || month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    row->year = year;
    row->month = (int8_t)month;
    row->day = (int8_t)day;
    if (ends[9] <= starts[9])
        return false;
    row->plat = starts[9][0];
    return true;
}

// ---- Replies -----------------------------------------------------------------------------------------------

namespace
{

void ReadList(const char *text, const char *end, _ScoresReplyTarget *target)
{
    target->numRows = 0;
    const char *line = text;
    while (line < end && *line && *line != '*' && target->numRows < target->listSize)
    {
        const char *lineEnd = (const char *)memchr(line, '\n', (size_t)(end - line));
        // A last line without its line feed may have been cut: it is not read.
        if (!lineEnd)
            break;
        _ScoresScore row;
        if (ScoresReplyParseLine(line, lineEnd, target->countryCheck, &row) && (!target->valid || target->valid(&row)))
            target->rows[target->numRows++] = row;
        line = lineEnd + 1;
    }
}

int ReadVersion(const char *text, const char *end, _ScoresReplyTarget *target)
{
    // Three whole numbers separated by single blanks; fewer is a version problem.
    int32_t numbers[3] = {0, 0, 0};
    const char *p = text + 3;
    int found = 0;
    while (found < 3 && p < end)
    {
        const char *fieldEnd = p;
        while (fieldEnd < end && *fieldEnd != ' ' && *fieldEnd != '\n' && *fieldEnd != '\r' && *fieldEnd)
            fieldEnd++;
        if (!ParseSigned(p, fieldEnd, &numbers[found]))
            break;
        found++;
        if (fieldEnd >= end || *fieldEnd != ' ')
            break;
        p = fieldEnd + 1;
    }
    if (found == 3 && numbers[0] == target->gameVersion && numbers[0] < numbers[1])
        return SCORES_REPLY_OUT_OF_DATE;
    char shown[kLogCut + 1];
    CutForLog(text, end, kLogCut, shown, sizeof(shown));
    DebugError(ENG_FUNC, "Version problem: <%s>  <%d,%d> <%d> <%d>", shown, numbers[0], (int)target->gameVersion,
               numbers[1], numbers[2]);
    return SCORES_REPLY_VERSION;
}

} // namespace

int ScoresReplyRead(const char *text, uint32_t size, _ScoresReplyTarget *target)
{
    if (target->message && target->messageSize > 0)
        target->message[0] = 0;
    if (!text || size < 3)
    {
        DebugError(ENG_FUNC, "No data received");
        return SCORES_REPLY_SHORT;
    }
    const char *end = text + size;
    char shown[256];
    if (memcmp(text, "Y \n", 3) == 0)
    {
        if (!target->rows || target->listSize < 0)
        {
            DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
            return SCORES_REPLY_INVALID;
        }
        ReadList(text + 3, end, target);
        return SCORES_REPLY_LIST;
    }
    if (memcmp(text, " X ", 3) == 0)
    {
        CutForLog(text, end, 200, shown, sizeof(shown));
        DebugError(ENG_FUNC, "Error received: <%s>", shown);
        return SCORES_REPLY_ERROR;
    }
    if (memcmp(text, " M ", 3) == 0)
    {
        // A copy: the reply itself goes when the fetch ends.
        if (target->message && target->messageSize > 0)
        {
            int length = 0;
            for (const char *p = text + 3; p < end && *p && length < target->messageSize - 1; p++)
                target->message[length++] = *p;
            target->message[length] = 0;
            EngMiscRemoveTrailingNewlines(target->message);
        }
        DebugInfo("Main scores message received: <%s>", target->message ? target->message : "");
        return SCORES_REPLY_MESSAGE;
    }
    if (memcmp(text, " V ", 3) == 0)
        return ReadVersion(text, end, target);
    CutForLog(text, end, kLogCut, shown, sizeof(shown));
    DebugError(ENG_FUNC, "Invalid data received: <%s>", shown);
    return SCORES_REPLY_INVALID;
}
