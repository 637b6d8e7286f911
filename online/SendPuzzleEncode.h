// The puzzle upload's texts: the encoding that keeps every query value to letters and
// digits, the request to the puzzle script, and the reading of its one-letter reply.
// Pure text work, no network.
#pragma once
#include <cstddef>
#include <cstdint>

enum
{
    SEND_PUZZLE_PROTOCOL_VERSION = 200,
    SEND_PUZZLE_PUZZLE_NAME_SIZE = 16, // encoded texts, terminator included
    SEND_PUZZLE_NAME_SIZE = 52,
    SEND_PUZZLE_EMAIL_SIZE = 52,
    SEND_PUZZLE_NOTE_SIZE = 64,
    SEND_PUZZLE_FILE_SIZE = 1600,      // the puzzle file: at most 1,599 bytes
    SEND_PUZZLE_REQUEST_SIZE = 1984,
    SEND_PUZZLE_REPLY_SIZE = 512,
};

// Encodes `in` into `out` (outSize bytes): each character (lower-case letters as their
// capitals) becomes the letter or digit at its place in the encoding table. The input is
// left as it is; `out` may be the input itself. False (logged) for a character outside
// the table ("Invalid char %02d in string at pos %d"), for an input that does not fit
// (out then empty), or a NULL pointer.
bool SendPuzzleEncodeString(char *out, size_t outSize, const char *in);

// What goes into one upload, as the player and the puzzle file give it.
struct _SendPuzzleTexts
{
    int puzzleType;
    char platform;         // the platform letter
    const char *puzzleName;
    const char *name;
    const char *email;     // "" or NULL: none
    const char *puzzleText; // the whole puzzle file
    const char *note;
};

enum _SendPuzzleBuildResult
{
    SEND_PUZZLE_BUILD_OK = 0,
    SEND_PUZZLE_BUILD_BAD_PUZZLE_NAME,
    SEND_PUZZLE_BUILD_BAD_NAME,
    SEND_PUZZLE_BUILD_EMAIL_SPACES,
    SEND_PUZZLE_BUILD_EMAIL_FORMAT,
    SEND_PUZZLE_BUILD_BAD_EMAIL,
    SEND_PUZZLE_BUILD_BAD_PUZZLE,
    SEND_PUZZLE_BUILD_BAD_NOTE,
    SEND_PUZZLE_BUILD_TOO_LONG,
};

// Builds the request "<base>/cgi-bin/plinx/puzzles/SendPuzzle.cgi?v=..&p=..&t=..&pn=..
// &n=..&e=..&d=..&m=.." into out (at most SEND_PUZZLE_REQUEST_SIZE bytes are used).
// Checks and encodes in this order: puzzle name, name, e-mail (no blank, an '@'), puzzle
// text, note; the first failure is the answer and out stays empty.
_SendPuzzleBuildResult SendPuzzleBuildRequest(const char *baseAddress, const _SendPuzzleTexts *texts, char *out,
                                              size_t outSize);
// The player's message for a failed build ("INVALID NAME", ...); its popup title is
// "ERROR" except for the internal ones.
const char *SendPuzzleGetBuildMessage(_SendPuzzleBuildResult result);

// What the player is told of a reply.
struct _SendPuzzleOutcome
{
    uint8_t sent;   // the puzzle was taken ('Y'): the next send waits
    char title[32]; // popup title ("" none)
    char text[SEND_PUZZLE_REPLY_SIZE + 64];
};

// Reads a reply of `size` bytes (a zero byte ends it early): its second character
// decides (Y sent, N not sent, V versions, X an error number), the text from its fourth
// character is the server's message. A reply whose numbers cannot be read is a problem,
// never a guess. Always fills `out`.
void SendPuzzleReadReply(const char *reply, uint32_t size, _SendPuzzleOutcome *out);
