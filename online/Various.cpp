// Web pages now or after the program, and the clipboard of the main window. The page to
// open is kept here, so that the program's exit callback can open it once the window
// is gone.
#include "Various.h"

#include <cstring>

#include "EngClipboard.h"
#include "EngDebug.h"
#include "EngLanguages.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "MWin.h"

namespace
{

const double kAfterExitPauseSeconds = 10.0;

bool GuiAsk(MWin *mwin, const char *text, void (*answer)(bool yes));
void GuiNotice(MWin *mwin, const char *text);

const _VariousGuiOps kGuiOps = {GuiAsk, GuiNotice};

struct
{
    char url[VARIOUS_URL_SIZE];
    bool afterExit;        // the page opens after the program has ended
    double afterExitPause; // seconds
    _VariousGuiOps ops;
    // The question's answer carries on with these.
    MWin *askingMwin;
    bool askingExitFirst;
} s_various = {"", false, kAfterExitPauseSeconds, kGuiOps, nullptr, false};

void (*s_pendingAnswer)(bool yes);

void GuiAnswerCB(MWin *, char value, void *)
{
    if (s_pendingAnswer)
        s_pendingAnswer(value == 1);
}

bool GuiAsk(MWin *mwin, const char *text, void (*answer)(bool yes))
{
    s_pendingAnswer = answer;
    return mwin->PopupYesNo(nullptr, text, GuiAnswerCB, nullptr);
}

void GuiNotice(MWin *mwin, const char *text)
{
    mwin->PopupNoticeDrawNow(nullptr, text);
}

bool IsFullScreen()
{
    return EngScreenSettings.windowed == 0;
}

void OpenKeptAfterExitCB()
{
    VariousGoOnlineNow(s_various.url);
}

void OpenKept(MWin *mwin, bool exitFirst)
{
    if (exitFirst)
    {
        s_various.afterExit = true;
        if (eng_main_program)
        {
            // The loop ends after this frame; the program then shuts down in its usual
            // order, and the page opens once the window is gone.
            eng_main_program->SetExitCallback(OpenKeptAfterExitCB);
            EngMiscQuitMainLoop();
            return;
        }
    }
    EngWindow *window = eng_main_program ? eng_main_program->GetMainWindow() : nullptr;
    if (IsFullScreen() && window)
        window->ToggleFullscreenMode();
    if (mwin && mwin->IsOn() && !mwin->IsPopupOn())
        s_various.ops.notice(mwin, "Opening browser...");
    VariousGoOnlineNow(s_various.url);
}

void AnswerCB(bool yes)
{
    if (yes)
        OpenKept(s_various.askingMwin, s_various.askingExitFirst);
}

bool HasMainWindow()
{
    return eng_main_program && eng_main_program->GetMainWindow();
}

} // namespace

void VariousSetAfterExitPause(double seconds)
{
    s_various.afterExitPause = seconds > 0 ? seconds : 0;
}

void VariousSetGuiOps(const _VariousGuiOps *ops)
{
    s_various.ops = ops && ops->ask && ops->notice ? *ops : kGuiOps;
}

bool VariousGoOnlineNow(const char *url)
{
    if (!url || !*url)
    {
        DebugError(ENG_FUNC, "No url");
        return false;
    }
    bool opened = VariousOpenWithShell_PC(url);
    if (s_various.afterExit)
        EngMiscSleepSeconds(s_various.afterExitPause);
    return opened;
}

void VariousGoOnline(MWin *mwin, const char *question, const char *url, bool askFullScreen, bool askWindowed,
                     bool exitFirstFullScreen, bool exitFirstWindowed)
{
    if (!url || !*url)
    {
        DebugError(ENG_FUNC, "No url");
        return;
    }
    if (strlen(url) > VARIOUS_URL_MAX_LENGTH)
    {
        DebugError(ENG_FUNC, "Path too long");
        return;
    }
    EngSafeStrcpy(s_various.url, url, sizeof(s_various.url));
    bool fullScreen = IsFullScreen();
    bool ask = fullScreen ? askFullScreen : askWindowed;
    bool exitFirst = fullScreen ? exitFirstFullScreen : exitFirstWindowed;
    if (ask && mwin)
    {
        const char *text = question ? question
                           : exitFirst
                               ? EngLanguagesGetStringOrDefault("Misc_ExitProgramAndGoOnline", "Exit Program and Go Online ?")
                               : EngLanguagesGetStringOrDefault("Misc_GoOnline", "Go Online ?");
        s_various.askingMwin = mwin;
        s_various.askingExitFirst = exitFirst;
        if (!s_various.ops.ask(mwin, text, AnswerCB))
            DebugError(ENG_FUNC, "Could not ask before going online");
        return;
    }
    OpenKept(mwin, exitFirst);
}

bool VariousCopyClipboardFromString(const char *text)
{
    if (!text)
    {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    if (!*text || !HasMainWindow())
        return false;
    return EngClipboardCopyFromString(text);
}

bool VariousPasteClipboardToString(char *buffer, int size)
{
    if (!buffer || size < 2)
    {
        DebugError(ENG_FUNC, "Invalid parameters");
        return false;
    }
    buffer[0] = 0;
    if (!HasMainWindow())
        return false;
    return EngClipboardPasteToString(buffer, size);
}
