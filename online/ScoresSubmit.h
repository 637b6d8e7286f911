// Sending one score row to the scores script: the row goes as a JSON object, encrypted,
// compressed and encoded as URL-safe base64, in one blocking POST on the calling (main)
// thread; the outcome is told to the player in popups and returned as a result code.
#pragma once
#include <cstdint>

#include "OnlineScores.h"

class MWin;

// What a submission came to.
enum _ScoresSubmitResult
{
    SCORES_SUBMIT_TRANSFER_FAILED = -3, // the transfer failed or the reply had a wrong length
    SCORES_SUBMIT_NO_CONNECTION = -2,
    SCORES_SUBMIT_FAILED = -1,          // bad row, internal error, the server's refusal, unreadable reply
    SCORES_SUBMIT_TOO_LOW = 3,          // below the list's minimum (the minimum comes back)
    SCORES_SUBMIT_STORED = 4,
    SCORES_SUBMIT_BETTER_EXISTS = 6,    // the player already has as good a score or better
    SCORES_SUBMIT_OUT_OF_DATE = 7,
};

enum
{
    SCORES_SUBMIT_TIMEOUT_SECONDS = 15,
    SCORES_SUBMIT_REPLY_BUFFER = 16, // at most 15 reply bytes are kept
};

// Sends `row` of table `set`. Popups only when `mwin` is given, its GUI is on and no popup
// is open (decided once, at the start). `minimum` (may be NULL) receives the list's
// minimum score of a TOO_LOW answer and is left alone otherwise.
_ScoresSubmitResult ScoresSubmitScore(int program, uint16_t gameVersion, uint32_t set, const _ScoresScore *row,
                                      MWin *mwin, int32_t *minimum);
// True for the results that mean the score was stored (1, 4, 5); "Unexpected result %d"
// for a value outside -3..7.
bool ScoresSubmitIsSubmitResultCodeASubmission(int32_t result);

// How a submission talks to the player; a test swaps in a recorder.
struct _ScoresSubmitGuiOps
{
    // Whether popups may be shown now (the GUI is on and no popup is open).
    bool (*canShow)(MWin *mwin);
    // A popup with an OK button; `title` NULL: text only. closeAfterSeconds > 0: it
    // closes by itself after that long.
    void (*show)(MWin *mwin, const char *title, const char *text, double closeAfterSeconds);
    // A notice drawn at once, which stays on screen while the transfer blocks.
    void (*drawNotice)(MWin *mwin, const char *text);
};
// NULL: the GUI root's popups.
void ScoresSubmitSetGuiOps(const _ScoresSubmitGuiOps *ops);

// The transfer's time-out in seconds (connect and whole transfer); 0 or less restores
// the standard 15 s.
void ScoresSubmitSetTimeout(int32_t seconds);
int32_t ScoresSubmitGetTimeout();
