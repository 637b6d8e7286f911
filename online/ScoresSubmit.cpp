// Score submission: checks the row, builds its JSON body, encodes it with the program's
// submission key and POSTs it through a CurlInterface, then reads the short answer
// (ScoresSubmitReply.cpp) and tells the player. Main thread only; blocks for up to the
// time-out while the "Submitting" notice stays on screen.
#include "ScoresSubmit.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "CurlInterface.h"
#include "EngDebug.h"
#include "EngInternet.h"
#include "EngJson.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "EngZlib.h"
#include "MWin.h"
#include "Platform.h"
#include "ScoresMain.h"
#include "ScoresSubmitReply.h"

namespace
{

const char kScript[] = "/cgi-bin/common/scores/Scores.fcgi";
// The key the scores script decrypts submissions with: six capitals, '_', a capital and
// two digits.
const char kSubmitKey[] = "FERNSC_P50";
static_assert(sizeof(kSubmitKey) == 11, "10 characters");
const double kPopupSeconds = 3.0;

bool CanShowCB(MWin *mwin)
{
    return mwin->IsOn() && !mwin->IsPopupOn();
}

void ShowCB(MWin *mwin, const char *title, const char *text, double closeAfterSeconds)
{
    if (title)
        mwin->PopupMessage(title, text);
    else
        mwin->PopupMessageText(text);
    if (closeAfterSeconds > 0)
        mwin->PopupSetTimeout(closeAfterSeconds);
}

void DrawNoticeCB(MWin *mwin, const char *text)
{
    mwin->PopupNoticeDrawNow(nullptr, text);
}

const _ScoresSubmitGuiOps kGuiRootOps = {CanShowCB, ShowCB, DrawNoticeCB};

struct
{
    int32_t timeoutSeconds;
    _ScoresSubmitGuiOps gui;
} s_submit = {SCORES_SUBMIT_TIMEOUT_SECONDS, kGuiRootOps};

// The popups of one submission; silent when the GUI may not be used.
struct Messages
{
    MWin *mwin;

    static const char *Text(const char *token, const char *text)
    {
        return token ? EngLanguagesGetStringOrDefault(token, text) : text;
    }
    void Show(const char *titleToken, const char *title, const char *textToken, const char *text,
              double closeAfterSeconds = 0) const
    {
        if (mwin)
            s_submit.gui.show(mwin, title ? Text(titleToken, title) : nullptr, Text(textToken, text),
                              closeAfterSeconds);
    }
    void Error(const char *text) const { Show("Common_Error", "Error", nullptr, text); }
    void Sorry(const char *text) const { Show("Common_Sorry", "Sorry", nullptr, text); }
    void CommunicationProblem() const
    {
        Show("Common_Error", "Error", "Score_InternetProblemCommunicating",
             "Problem encountered communicating with Fernbrooks");
    }
};

// The row's text fields as JSON strings, each bounded by its field.
std::string Field(const char *field, size_t size)
{
    return std::string(field, strnlen(field, size));
}

// The body text (with its terminating zero), or NULL.
char *WriteBody(int program, uint16_t gameVersion, uint32_t set, const _ScoresScore &row)
{
    json::Object body;
    body["ac"] = json::String("Sub");
    body["ver"] = 1.0;
    body["prog"] = (double)program;
    body["gver"] = (double)gameVersion;
    body["set"] = (double)set;
    body["uid"] = (double)row.uid;
    body["name"] = json::String(Field(row.name, sizeof(row.name)));
    body["cc"] = json::String(Field(row.cc, sizeof(row.cc)));
    body["fb"] = json::String(Field(row.fb, sizeof(row.fb)));
    body["v1"] = (double)row.v1;
    body["v2"] = (double)row.v2;
    body["v3"] = (double)row.v3;
    body["v4"] = (double)row.v4;
    body["f1"] = (double)row.f1;
    body["f2"] = (double)row.f2;
    body["f3"] = (double)row.f3;
    body["f4"] = (double)row.f4;
    // The row was checked: its date is valid, so this stays far below 2^32.
    const uint32_t date = ((uint32_t)row.year * 15u + (uint32_t)row.month) * 50u + (uint32_t)row.day;
    body["date"] = (double)date;
    body["plat"] = json::String(std::string(1, PlatformGetCurrentPlatform()));
    return EngJsonWriteObjectToString(body);
}

_ScoresSubmitResult Answer(const _ScoresSubmitReply &reply, const Messages &messages, int32_t *minimum)
{
    switch (reply.kind)
    {
    case SUBMIT_REPLY_STORED:
        messages.Show("Scores_Congratulations", "Congratulations!", "Score_SubmittedScore",
                      "Your score was submitted successfully!", kPopupSeconds);
        return SCORES_SUBMIT_STORED;
    case SUBMIT_REPLY_TOO_LOW:
    {
        if (messages.mwin)
        {
            char text[256];
            snprintf(text, sizeof(text), "%s %d",
                     EngLanguagesGetStringOrDefault("Score_InternetScoreTooLowMinIs",
                                                    "Your score is too low for the internet high scores list.\n\n"
                                                    "The current minimum score needed is:"),
                     (int)reply.minimum);
            messages.Sorry(text);
        }
        if (minimum)
            *minimum = reply.minimum;
        return SCORES_SUBMIT_TOO_LOW;
    }
    case SUBMIT_REPLY_BETTER_EXISTS:
        messages.Show(nullptr, nullptr, "Score_BetterScoreExists",
                      "You have already submitted as good a score or better.", kPopupSeconds);
        return SCORES_SUBMIT_BETTER_EXISTS;
    case SUBMIT_REPLY_OUT_OF_DATE:
        messages.Show(nullptr, nullptr, "Scores_OldVersionNormal",
                      "This game is out of date - you need to download the latest version.");
        return SCORES_SUBMIT_OUT_OF_DATE;
    case SUBMIT_REPLY_VERSION:
        DebugError("ScoresSubmitScore", "%s", reply.text);
        messages.Error(reply.text);
        return SCORES_SUBMIT_FAILED;
    case SUBMIT_REPLY_ERROR:
        DebugError("ScoresSubmitScore", "CE: %s", reply.text);
        messages.Sorry("There was a problem submitting your score.");
        return SCORES_SUBMIT_FAILED;
    case SUBMIT_REPLY_MALFORMED:
        // A number that does not read is never taken as a zero: the answer is refused.
        DebugError("ScoresSubmitScore", "CE: %s", reply.text);
        messages.Sorry("There was a problem submitting your score.");
        return SCORES_SUBMIT_FAILED;
    default:
        DebugError("ScoresSubmitScore", "CE: Unknown [%s].", reply.text);
        messages.Sorry("Unknown problem while submitting.");
        return SCORES_SUBMIT_FAILED;
    }
}

} // namespace

void ScoresSubmitSetGuiOps(const _ScoresSubmitGuiOps *ops)
{
    s_submit.gui = ops ? *ops : kGuiRootOps;
}

void ScoresSubmitSetTimeout(int32_t seconds)
{
    s_submit.timeoutSeconds = seconds > 0 ? seconds : SCORES_SUBMIT_TIMEOUT_SECONDS;
}

int32_t ScoresSubmitGetTimeout()
{
    return s_submit.timeoutSeconds;
}

bool ScoresSubmitIsSubmitResultCodeASubmission(int32_t result)
{
    if (result < -3 || result > 7)
    {
        DebugError(ENG_FUNC, "Unexpected result %d", (int)result);
        return false;
    }
    return result == 1 || result == 4 || result == 5;
}

_ScoresSubmitResult ScoresSubmitScore(int program, uint16_t gameVersion, uint32_t set, const _ScoresScore *row,
                                      MWin *mwin, int32_t *minimum)
{
    const Messages messages = {mwin && s_submit.gui.canShow(mwin) ? mwin : nullptr};
    if (!row)
    {
        DebugError(ENG_FUNC, "Parameters error");
        messages.Show("Common_Error", "Error", "Common_InternalError", "Internal Error");
        return SCORES_SUBMIT_FAILED;
    }
    if (!ScoresMainIsScoreValid(row, false))
    {
        messages.Error("Internal Error 1");
        return SCORES_SUBMIT_FAILED;
    }
    if (!EngInternetIsConnected())
    {
        messages.Show("Common_Error", "Error", "Misc_NoInternetConnection", "No connection to internet found");
        return SCORES_SUBMIT_NO_CONNECTION;
    }
    char *text = WriteBody(program, gameVersion, set, *row);
    if (!text)
    {
        messages.Error("Internal Error 3");
        return SCORES_SUBMIT_FAILED;
    }
    if (messages.mwin)
        s_submit.gui.drawNotice(messages.mwin,
                                EngLanguagesGetStringOrDefault("Score_SubmittingScore", "Submitting your score..."));
    char *body = EngZlibEncryptCompressAndEncodeToBase64Data(kSubmitKey, text, (unsigned int)strlen(text) + 1, false,
                                                             0, nullptr);
    EngFree(text, true, ENG_FUNC);
    if (!body)
    {
        messages.Error("Internal Error 4");
        return SCORES_SUBMIT_FAILED;
    }
    CurlInterface *transfer = new (std::nothrow) CurlInterface("ScoresSub", false);
    if (!transfer)
    {
        EngFree(body, true, ENG_FUNC);
        DebugErrorCode(ENG_FUNC, EngFourCC("OMEM"));
        return SCORES_SUBMIT_FAILED;
    }
    char url[SCORES_URL_SIZE];
    snprintf(url, sizeof(url), "%s%s", OnlineGetBaseAddress(), kScript);
    const bool sent = transfer->DownloadFromUrl(url, nullptr, SCORES_SUBMIT_REPLY_BUFFER, body,
                                                (uint32_t)strlen(body) + 1, false, s_submit.timeoutSeconds, nullptr);
    EngFree(body, true, ENG_FUNC);

    _ScoresSubmitResult result;
    if (!sent)
    {
        DebugError(ENG_FUNC, "Problem submitting [%s].", "(no data)");
        messages.CommunicationProblem();
        result = SCORES_SUBMIT_TRANSFER_FAILED;
    }
    else
    {
        const uint32_t size = transfer->GetDownloadedSize();
        const char *data = size ? transfer->GetDownloadedData() : nullptr;
        _ScoresSubmitReply reply;
        ScoresSubmitReadReply(data, size, gameVersion, &reply);
        if (reply.kind == SUBMIT_REPLY_BAD_LENGTH)
        {
            DebugError(ENG_FUNC, "Problem submitting [%s].", size ? reply.text : "(no data)");
            messages.CommunicationProblem();
            result = SCORES_SUBMIT_TRANSFER_FAILED;
        }
        else
            result = Answer(reply, messages, minimum);
    }
    delete transfer;
    return result;
}
