// Encoding, request and reply of the puzzle upload.
#include "SendPuzzleEncode.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngMemory.h"
#include "ScoresReply.h"

namespace
{

// What the query texts may hold (60 places; the second 'E' is never reached) and the
// letter or digit each place is sent as.
const char kPlainTable[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 \r\n.,!?-_'\"()&@:;/+*%#=E";
const char kSentTable[] = "mUk5Z1EqatyliD92vOwWsFCRV7QMrbNH6YohKXSJTp3ABfcnG4LxgI0edPzj";
static_assert(sizeof(kPlainTable) == 61 && sizeof(kSentTable) == 61, "both tables hold 60 places");

const char kPuzzleScript[] = "/cgi-bin/plinx/puzzles/SendPuzzle.cgi";

// Reads exactly `count` unsigned decimal numbers (each at most 99999) separated by
// blanks; nothing else but blanks and line ends may follow.
bool ReadNumbers(const char *text, unsigned long *numbers, int count)
{
    const char *p = text;
    for (int i = 0; i < count; i++)
    {
        while (*p == ' ')
            p++;
        const char *end = p;
        while (*end >= '0' && *end <= '9')
            end++;
        uint32_t value = 0;
        if (!ScoresReplyReadUnsigned(p, end, &value) || value > 99999)
            return false;
        numbers[i] = value;
        p = end;
    }
    while (*p == ' ' || *p == '\r' || *p == '\n')
        p++;
    return *p == 0;
}

void SetOutcome(_SendPuzzleOutcome *out, const char *title, const char *text)
{
    EngSafeStrcpy(out->title, title, sizeof(out->title));
    EngSafeStrcpy(out->text, text, sizeof(out->text));
}

} // namespace

bool SendPuzzleEncodeString(char *out, size_t outSize, const char *in)
{
    if (!out || !in || outSize == 0)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return false;
    }
    size_t length = strlen(in);
    if (length >= outSize)
    {
        DebugError(ENG_FUNC, "String too long (%d characters, room for %d)", (int)length, (int)outSize - 1);
        out[0] = 0;
        return false;
    }
    for (size_t i = 0; i < length; i++)
    {
        char c = in[i];
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
        const char *place = c ? strchr(kPlainTable, c) : nullptr;
        if (!place)
        {
            DebugError(ENG_FUNC, "Invalid char %02d in string at pos %d", (int)(unsigned char)in[i], (int)i);
            out[0] = 0;
            return false;
        }
        out[i] = kSentTable[place - kPlainTable];
    }
    out[length] = 0;
    return true;
}

const char *SendPuzzleGetBuildMessage(_SendPuzzleBuildResult result)
{
    switch (result)
    {
    case SEND_PUZZLE_BUILD_OK:
        return "";
    case SEND_PUZZLE_BUILD_BAD_PUZZLE_NAME:
        return "INVALID PUZZLE NAME";
    case SEND_PUZZLE_BUILD_BAD_NAME:
        return "INVALID NAME";
    case SEND_PUZZLE_BUILD_EMAIL_SPACES:
        return "INVALID EMAIL.\n\nREMOVE ANY SPACES IN THE EMAIL ADDRESS";
    case SEND_PUZZLE_BUILD_EMAIL_FORMAT:
        return "INVALID EMAIL FORMAT";
    case SEND_PUZZLE_BUILD_BAD_EMAIL:
        return "INVALID EMAIL";
    case SEND_PUZZLE_BUILD_BAD_PUZZLE:
        return "ERROR IN PUZZLE";
    case SEND_PUZZLE_BUILD_BAD_NOTE:
        return "ERROR IN NOTE";
    default:
        return "PROBLEM IN PUZZLE";
    }
}

_SendPuzzleBuildResult SendPuzzleBuildRequest(const char *baseAddress, const _SendPuzzleTexts *texts, char *out,
                                              size_t outSize)
{
    if (out && outSize)
        out[0] = 0;
    if (!baseAddress || !texts || !out || outSize == 0)
    {
        DebugErrorCode(ENG_FUNC, EngFourCC("BAPA"));
        return SEND_PUZZLE_BUILD_TOO_LONG;
    }
    char puzzleName[SEND_PUZZLE_PUZZLE_NAME_SIZE];
    char name[SEND_PUZZLE_NAME_SIZE];
    char email[SEND_PUZZLE_EMAIL_SIZE];
    char note[SEND_PUZZLE_NOTE_SIZE];
    char puzzle[SEND_PUZZLE_FILE_SIZE];
    if (!texts->puzzleName || !SendPuzzleEncodeString(puzzleName, sizeof(puzzleName), texts->puzzleName))
        return SEND_PUZZLE_BUILD_BAD_PUZZLE_NAME;
    if (!texts->name || !SendPuzzleEncodeString(name, sizeof(name), texts->name))
        return SEND_PUZZLE_BUILD_BAD_NAME;
    const char *givenEmail = texts->email ? texts->email : "";
    if (givenEmail[0])
    {
        if (strchr(givenEmail, ' '))
            return SEND_PUZZLE_BUILD_EMAIL_SPACES;
        if (!strchr(givenEmail, '@'))
            return SEND_PUZZLE_BUILD_EMAIL_FORMAT;
    }
    if (!SendPuzzleEncodeString(email, sizeof(email), givenEmail))
        return SEND_PUZZLE_BUILD_BAD_EMAIL;
    if (!texts->puzzleText || !SendPuzzleEncodeString(puzzle, sizeof(puzzle), texts->puzzleText))
        return SEND_PUZZLE_BUILD_BAD_PUZZLE;
    if (!SendPuzzleEncodeString(note, sizeof(note), texts->note ? texts->note : ""))
        return SEND_PUZZLE_BUILD_BAD_NOTE;
    size_t room = outSize < (size_t)SEND_PUZZLE_REQUEST_SIZE ? outSize : (size_t)SEND_PUZZLE_REQUEST_SIZE;
    int written = snprintf(out, room, "%s%s?v=%d&p=%c&t=%d&pn=%s&n=%s&e=%s&d=%s&m=%s", baseAddress, kPuzzleScript,
                           SEND_PUZZLE_PROTOCOL_VERSION, texts->platform, texts->puzzleType, puzzleName, name, email,
                           puzzle, note);
    if (written < 0 || (size_t)written >= room)
    {
        DebugError(ENG_FUNC, "Request too long");
        out[0] = 0;
        return SEND_PUZZLE_BUILD_TOO_LONG;
    }
    return SEND_PUZZLE_BUILD_OK;
}

void SendPuzzleReadReply(const char *reply, uint32_t size, _SendPuzzleOutcome *out)
{
    if (!out)
        return;
    memset(out, 0, sizeof(*out));
    char text[SEND_PUZZLE_REPLY_SIZE];
    size_t length = 0;
    while (reply && length < size && length < sizeof(text) - 1 && reply[length])
        length++;
    if (length)
        memcpy(text, reply, length);
    text[length] = 0;
    const char *message = length > 3 ? text + 3 : "";
    char code = length > 1 ? text[1] : 0;
    unsigned long numbers[2] = {0, 0};
    char line[160];
    switch (code)
    {
    case 'Y':
        out->sent = 1;
        SetOutcome(out, "PUZZLE SENT OK", message);
        return;
    case 'N':
        SetOutcome(out, "PUZZLE NOT SENT", message);
        return;
    case 'V':
        if (!ReadNumbers(message, numbers, 2))
            break;
        if (numbers[0] != SEND_PUZZLE_PROTOCOL_VERSION)
        {
            DebugError(ENG_FUNC, "Game version [%d] not same as reported game version [%d]",
                       SEND_PUZZLE_PROTOCOL_VERSION, (int)numbers[0]);
            snprintf(line, sizeof(line), "PROBLEM SENDING PUZZLE [GV%d != CGV%d]", SEND_PUZZLE_PROTOCOL_VERSION,
                     (int)numbers[0]);
            SetOutcome(out, "ERROR", line);
        }
        else if (numbers[1] > SEND_PUZZLE_PROTOCOL_VERSION)
            SetOutcome(out, "OLD GAME VERSION",
                       "THIS VERSION OF PLINX IS OUT OF DATE.\n\nPLEASE DOWNLOAD THE LATEST VERSION FROM THE "
                       "FERNBROOKS WEB SITE.");
        else if (numbers[1] < SEND_PUZZLE_PROTOCOL_VERSION)
        {
            DebugError(ENG_FUNC, "Game version [%d] is greater than CGI version [%d]", SEND_PUZZLE_PROTOCOL_VERSION,
                       (int)numbers[1]);
            snprintf(line, sizeof(line), "PROBLEM SENDING PUZZLE [V%d > V%d]", SEND_PUZZLE_PROTOCOL_VERSION,
                     (int)numbers[1]);
            SetOutcome(out, "ERROR", line);
        }
        else
        {
            DebugError(ENG_FUNC, "Versions the same but version problem reported");
            snprintf(line, sizeof(line), "PROBLEM SENDING PUZZLE [V SAME %d]", SEND_PUZZLE_PROTOCOL_VERSION);
            SetOutcome(out, "ERROR", line);
        }
        return;
    case 'X':
        if (!ReadNumbers(message, numbers, 1))
            break;
        DebugError(ENG_FUNC, "Cgi Result error: %02d", (int)numbers[0]);
        snprintf(line, sizeof(line), "PROBLEM SENDING PUZZLE: %d.", (int)numbers[0] + 10000);
        SetOutcome(out, "ERROR", line);
        return;
    default:
        DebugError(ENG_FUNC, "Cgi unknown error");
        SetOutcome(out, "ERROR", "PROBLEM SENDING PUZZLE [99]");
        return;
    }
    DebugError(ENG_FUNC, "Cgi reply unreadable <%.60s>", text);
    SetOutcome(out, "ERROR", "PROBLEM SENDING PUZZLE [99]");
}
