// The scores script's answer to a submission, read into what it means: a blank and one
// letter, then an argument from the fourth character (" A", " B 5000", " V 240 241",
// " X reason"). A trailing line feed (with or without a carriage return) is not part of
// the answer. The reply may hold any bytes: reads are bounded by its length, and a number
// that does not read whole and in range refuses the reply instead of being guessed.
#pragma once
#include <cstdint>

enum _ScoresSubmitReplyKind
{
    SUBMIT_REPLY_BAD_LENGTH = 0,  // shorter than a blank and a letter, or longer than any answer
    SUBMIT_REPLY_STORED = 1,      // 'A'
    SUBMIT_REPLY_TOO_LOW = 2,     // 'B': `minimum` holds the list's minimum score
    SUBMIT_REPLY_BETTER_EXISTS = 3, // 'D'
    SUBMIT_REPLY_OUT_OF_DATE = 4, // 'V' naming a newer version of this game
    SUBMIT_REPLY_VERSION = 5,     // another 'V' answer: `text` says what is wrong
    SUBMIT_REPLY_ERROR = 6,       // 'X': `text` holds the server's reason
    SUBMIT_REPLY_MALFORMED = 7,   // a known letter whose numbers do not read: `text` says which
    SUBMIT_REPLY_UNKNOWN = 8,     // none of the above: `text` holds the reply
};

enum
{
    SUBMIT_REPLY_MIN_BYTES = 2,  // " A"
    SUBMIT_REPLY_MAX_BYTES = 19,
    SUBMIT_REPLY_TEXT_SIZE = 96,
};

struct _ScoresSubmitReply
{
    int32_t kind;                     // _ScoresSubmitReplyKind
    int32_t minimum;                  // TOO_LOW: the minimum score (>= 0)
    uint32_t versionA, versionB;      // the two numbers of a 'V' answer
    char text[SUBMIT_REPLY_TEXT_SIZE]; // always terminated; printable bytes only
};

// Reads `size` bytes of reply for a game of `gameVersion`; the kind, also in out->kind.
int ScoresSubmitReadReply(const char *reply, uint32_t size, uint16_t gameVersion, _ScoresSubmitReply *out);
