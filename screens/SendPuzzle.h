// The puzzle upload screen ('SPUZ', collection "SendPuzzle"): sends the current own
// puzzle to the maker's puzzle script with the player's name, an optional e-mail address
// and a note, after the player has accepted the terms. Name and e-mail are remembered
// between visits; a new send waits 60 s after one that was taken.
#pragma once
#include "MWin.h"
#include "ScreensBuild.h"

class SendPuzzleCollectionController : public ScreensCollectionController
{
public:
    SendPuzzleCollectionController();
    void ClearButtonPointers() override;
    MWinCollection *AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop) override;
};

class SendPuzzleCC : public SendPuzzleCollectionController
{
public:
    explicit SendPuzzleCC(MWinScreens *screens);
    void StartingCB(void *data) override;
    bool ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;
};

enum _SendPuzzleWidget
{
    SEND_PUZZLE_OPTIONAL_BOX,
    SEND_PUZZLE_NAME,
    SEND_PUZZLE_NAME_TEXT,
    SEND_PUZZLE_EMAIL,
    SEND_PUZZLE_EMAIL_TEXT,
    SEND_PUZZLE_NOTE,
    SEND_PUZZLE_NOTE_TEXT,
    SEND_PUZZLE_SEND,
    SEND_PUZZLE_BACK,
    SEND_PUZZLE_STATUS,
    SEND_PUZZLE_OPTIONAL_TEXT,
    SEND_PUZZLE_NUM_WIDGETS,
};
// The widgets while the screen is built (NULL otherwise).
MWinButton *SendPuzzleGetWidget(int widget);

// Sends the current puzzle with the texts of the screen's fields; the outcome shows in
// one popup. Used by the screen once the player has accepted.
void SendCurrentPuzzle(MWin *mwin);
// The remembered name and e-mail, and the time of the last send that was taken, back to
// their start values.
void SendPuzzleReset();
