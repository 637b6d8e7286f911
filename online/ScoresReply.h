// The scores script's reply read into rows: a list ("Y \n", one line per row, '*' at the
// end), the server's error (" X "), a message (" M ") or a version answer (" V a b c").
// The reply may hold any bytes: every read is bounded by its length, numbers are read
// whole and bounded, and a line with a missing or overlong field is dropped.
#pragma once
#include <cstdint>

#include "OnlineScores.h"

// Which country codes a row may carry (two letters and a zero).
typedef bool (*ScoresCountryCheckFn)(const char *code);

enum _ScoresReplyKind
{
    SCORES_REPLY_LIST = 1,        // rows read (maybe none)
    SCORES_REPLY_SHORT = 2,       // fewer than 3 bytes
    SCORES_REPLY_ERROR = 3,       // the server's error
    SCORES_REPLY_MESSAGE = 4,     // a message for the player, in `message`
    SCORES_REPLY_OUT_OF_DATE = 5, // the game is older than the service wants
    SCORES_REPLY_VERSION = 6,     // another version problem
    SCORES_REPLY_INVALID = 7,     // none of the above
};

struct _ScoresReplyTarget
{
    uint16_t gameVersion;
    ScoresValidityFn valid;            // may be NULL: every parsed row stays
    ScoresCountryCheckFn countryCheck; // NULL: any two upper-case letters
    _ScoresScore *rows;                // room for listSize rows
    int32_t listSize;
    int32_t numRows;                   // out: rows of a list
    char *message;                     // out: the text of a message (may be NULL)
    int messageSize;
};

// Reads `size` bytes of reply into the target; the kind of reply. Only a list touches
// the rows; problems are logged.
int ScoresReplyRead(const char *reply, uint32_t size, _ScoresReplyTarget *target);
// One list line (without its line feed) into a row; false (row undefined) when any of
// its ten blank-separated fields is missing or out of bounds.
bool ScoresReplyParseLine(const char *line, const char *end, ScoresCountryCheckFn countryCheck, _ScoresScore *row);
// A whole field [text, end) as an unsigned number: 1 to 10 digits and nothing else, at
// most 4294967295. The answers of the other online scripts read their numbers with it too.
bool ScoresReplyReadUnsigned(const char *text, const char *end, uint32_t *value);
