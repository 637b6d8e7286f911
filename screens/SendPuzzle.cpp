// The puzzle upload screen: the form, the terms question, and the blocking send through
// the online part's encoder and URL read.
#include "SendPuzzle.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngGlobals.h"
#include "EngInternet.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "GameState.h"
#include "Platform.h"
#include "Puzzles.h"
#include "ScoresMain.h"
#include "SendPuzzleEncode.h"
#include "User.h"

namespace
{

const double kWaitAfterSendSeconds = 60.0;
const int32_t kReadTimeoutSeconds = 10;
const int kStatusFrames = 4;
const int kNameLength = 49;
const int kEmailLength = 49;
const int kNoteLength = 63;

const char kTermsTitle[] = "DO YOU ACCEPT THE FOLLOWING ?";
const char kTerms[] = "BY SENDING YOU PUZZLE TO FERNBROOKS, YOU ALLOW FERNBROOKS TO MODIFY YOUR PUZZLE IN ANY WAY "
                      "THEY MAY SEEM FIT, AND GIVE FERNBROOKS FULL RIGHTS TO INCLUDE YOUR PUZZLE IN ANY FUTURE "
                      "VERSIONS OF PLINX!";
const char kNoConnection[] =
    "NO INTERNET CONNECTION FOUND.\n\nEXIT THE GAME AND CONNECT TO THE INTERNET, THEN TRY AGAIN.";

#define FIELD(id, y) {id, MWIN_BUTTON_TEXT_EDIT, "Box", "unset", 272.5f, y, 280, 32, 1, 0.9f, 0.3f, 0.8f, 1, 1, 1}
#define LABEL(id, text, y) \
    {id, MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, text, 87.5f, y, 175, 32, 0.9f, 1, 1, 0.8f, 1, 1, 2}

const _ScreensWidgetRow kNormal[SEND_PUZZLE_NUM_WIDGETS] = {
    {"OptionalBox", MWIN_BUTTON_PUSH, "Back2", "", 68.57f, 100.93f, 502.85f, 176.07f, 0.8f, 0.8f, 0.8f, 1, 1, 1, 1},
    FIELD("Name", 155),
    LABEL("NameText", "YOUR NAME:", 155),
    FIELD("Email", 192),
    LABEL("Email1Text", "YOUR EMAIL:", 192),
    FIELD("Note", 229),
    LABEL("NoteText", "NOTE ABOUT THIS PUZZLE:", 229),
    {"Send", MWIN_BUTTON_PUSH, "Main", "SEND", 253.45f, 299, 133.1f, 51.93f, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    {"Back", MWIN_BUTTON_PUSH, "Main", "BACK", 510, 430, 130, 45, 1, 1, 1, 0.75f, 1.3f, 1.42f, 1},
    {"Status", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "STATUS", 14, 386, 613, 32, 1, 0.5f, 0.5f, 1, 1, 1, 1},
    {"OptionalText", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "OPTIONAL INFO", 68.57f, 112, 502.85f, 22, 1, 1, 1, 0.75f,
     1.3f, 1.42f, 1},
};

#undef FIELD
#undef LABEL

struct SendPuzzleScreen
{
    MWinCollection *collection;
    MWinWindow *window;
    MWinButton *widgets[SEND_PUZZLE_NUM_WIDGETS];
};
SendPuzzleScreen s_screen = {};

// What outlives the screen: the remembered texts and the last send that was taken.
struct SendPuzzleState
{
    char name[50];
    char email[50];
    double lastSentTime; // engine seconds; 0 none
};
SendPuzzleState s_send = {};

MWinButton *W(int widget)
{
    return s_screen.widgets[widget];
}

const char *FieldText(int widget)
{
    return W(widget) ? W(widget)->TextEditGetTextOrEmpty() : "";
}

void Popup(MWin *mwin, const char *title, const char *text)
{
    if (!mwin)
        return;
    if (title && title[0])
        mwin->PopupMessage(title, text);
    else
        mwin->PopupMessageText(text);
}

void ShowCursor(bool show)
{
    if (!eng_main_program)
        return;
    if (EngWindow *window = eng_main_program->GetMainWindow())
        show ? window->ShowMouseCursor() : window->HideMouseCursor();
}

void TermsAnsweredCB(MWin *mwin, char value, void *)
{
    if (value != 1 || !mwin)
        return;
    ShowCursor(false);
    mwin->AllowInput(false);
    SendCurrentPuzzle(mwin);
    mwin->AllowInput(true);
    ShowCursor(true);
}

// Reads the whole puzzle file into `text`; a popup says what went wrong.
bool ReadPuzzleFile(MWin *mwin, char *text, uint32_t size)
{
    const char *fileName = PuzzlesGetFilename();
    EngFile file;
    if (!fileName || !file.OpenForReading(fileName, false, true))
    {
        Popup(mwin, nullptr, "PROBLEM OPENING PUZZLE FILE");
        return false;
    }
    uint32_t length = file.GetSize();
    if (length >= size)
    {
        file.Close();
        DebugError("SendCurrentPuzzle", "Puzzle file of %u bytes", length);
        Popup(mwin, nullptr, "PUZZLE FILE TOO BIG");
        return false;
    }
    bool ok = length == 0 || file.Read(text, length, true);
    file.Close();
    if (!ok)
    {
        Popup(mwin, nullptr, "PROBLEM READING PUZZLE FILE");
        return false;
    }
    text[length] = 0;
    return true;
}

} // namespace

MWinButton *SendPuzzleGetWidget(int widget)
{
    return widget >= 0 && widget < SEND_PUZZLE_NUM_WIDGETS ? s_screen.widgets[widget] : nullptr;
}

void SendPuzzleReset()
{
    s_send = {};
}

void SendCurrentPuzzle(MWin *mwin)
{
    const _Puzzle &puzzle = GameState.puzzle;
    if (puzzle.type != GAME_TYPE_MY_PUZZLES)
    {
        Popup(mwin, nullptr, "INTERNAL ERROR [PO1]");
        return;
    }
    if (!PuzzlesSetFilename(puzzle.type, puzzle.name, 0))
    {
        Popup(mwin, nullptr, "PROBLEM IN PUZZLE");
        return;
    }
    char puzzleText[SEND_PUZZLE_FILE_SIZE];
    if (!ReadPuzzleFile(mwin, puzzleText, sizeof(puzzleText)))
        return;
    _SendPuzzleTexts texts = {puzzle.type, PlatformGetCurrentPlatform(), puzzle.name, FieldText(SEND_PUZZLE_NAME),
                              FieldText(SEND_PUZZLE_EMAIL), puzzleText, FieldText(SEND_PUZZLE_NOTE)};
    char request[SEND_PUZZLE_REQUEST_SIZE];
    _SendPuzzleBuildResult built = SendPuzzleBuildRequest(OnlineGetBaseAddress(), &texts, request, sizeof(request));
    if (built != SEND_PUZZLE_BUILD_OK)
    {
        Popup(mwin, "ERROR", SendPuzzleGetBuildMessage(built));
        return;
    }
    if (!EngInternetIsConnected())
    {
        Popup(mwin, nullptr, kNoConnection);
        return;
    }
    if (MWinButton *status = W(SEND_PUZZLE_STATUS))
    {
        status->SetText("CONNECTING TO THE FERNBROOKS WEBSITE ...");
        status->Show();
        for (int frame = 0; frame < kStatusFrames && eng_main_program; frame++)
            EngMiscRenderFrameNow(true, false, false);
        status->Hide();
    }
    char reply[SEND_PUZZLE_REPLY_SIZE];
    uint32_t count = 0;
    if (!EngInternetReadURL(request, reply, sizeof(reply) - 1, &count, nullptr, 0, nullptr, kReadTimeoutSeconds))
    {
        Popup(mwin, nullptr, kNoConnection);
        return;
    }
    _SendPuzzleOutcome outcome;
    SendPuzzleReadReply(reply, count, &outcome);
    if (outcome.sent)
        s_send.lastSentTime = EngMiscGetClock_PC();
    Popup(mwin, outcome.title, outcome.text);
}

// ---- Layout ---------------------------------------------------------------------------------------

SendPuzzleCollectionController::SendPuzzleCollectionController()
{
    ClearButtonPointers();
}

void SendPuzzleCollectionController::ClearButtonPointers()
{
    s_screen = {};
}

MWinCollection *SendPuzzleCollectionController::AddCollectionToDesktop(MWin *mwin, MWinDesktop *desktop)
{
    s_screen.collection = ScreensBuildCollection(mwin, desktop, "SendPuzzle", kNormal, SEND_PUZZLE_NUM_WIDGETS,
                                                 s_screen.widgets, &s_screen.window, this);
    return s_screen.collection;
}

// ---- Behaviour --------------------------------------------------------------------------------------

SendPuzzleCC::SendPuzzleCC(MWinScreens *screens)
{
    ClearButtonPointers();
    SetScreensVar(screens);
}

void SendPuzzleCC::StartingCB(void *data)
{
    if (!s_send.name[0])
    {
        UserClass *user = GameGetUser();
        const _UserInfo *info = user && user->IsLoaded() ? user->GetInfo(0) : nullptr;
        if (info)
            EngSafeStrcpy(s_send.name, info->name, sizeof(s_send.name));
    }
    if (MWinButton *name = W(SEND_PUZZLE_NAME))
    {
        name->TextEditSetLength(kNameLength);
        name->TextEditSetText(s_send.name);
    }
    if (MWinButton *email = W(SEND_PUZZLE_EMAIL))
    {
        email->TextEditSetLength(kEmailLength);
        email->TextEditSetText(s_send.email);
    }
    if (MWinButton *note = W(SEND_PUZZLE_NOTE))
    {
        note->TextEditSetLength(kNoteLength);
        note->TextEditSetText("");
    }
    if (W(SEND_PUZZLE_STATUS))
        W(SEND_PUZZLE_STATUS)->Hide();
    if (W(SEND_PUZZLE_BACK))
        W(SEND_PUZZLE_BACK)->SetEscapeButtonForParentWindow();
}

bool SendPuzzleCC::ControlCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (!button)
        return false;
    MWinScreens *screens = GetScreens();
    MWin *mwin = screens ? screens->GetMWin() : nullptr;
    if (button == W(SEND_PUZZLE_BACK))
    {
        EngSafeStrcpy(s_send.name, FieldText(SEND_PUZZLE_NAME), sizeof(s_send.name));
        EngSafeStrcpy(s_send.email, FieldText(SEND_PUZZLE_EMAIL), sizeof(s_send.email));
        if (screens)
            screens->GoBack();
        return true;
    }
    if (button == W(SEND_PUZZLE_SEND))
    {
        if (s_send.lastSentTime > 0 && EngMiscGetClock_PC() - s_send.lastSentTime < kWaitAfterSendSeconds)
        {
            Popup(mwin, nullptr, "PLEASE WAIT SOME TIME BEFORE SENDING ANOTHER PUZZLE");
            return true;
        }
        if (mwin)
            mwin->PopupYesNo(kTermsTitle, kTerms, TermsAnsweredCB, nullptr);
        return true;
    }
    return false;
}
