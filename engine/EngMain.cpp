// The main-thread record, the clock read, exits and signals of the process around the
// one program object, the log's handlers and the program layer's registration.
#include "EngMain.h"

#include <pthread.h>
#include <signal.h>
#include <cstdlib>
#include <cstring>

#include "EngDebug.h"
#include "EngGlobals.h"
#include "EngMemory.h"
#include "EngMisc.h"
#include "EngZlib.h"

static struct
{
    bool setup;
    bool mainThreadSet;
    pthread_t mainThread;
    const _EngMainProgramHost *host;
} s_main = {false, false, {}, nullptr};

// Written by the signal handler only.
static volatile sig_atomic_t s_pendingSignal = 0;

// ---- Set-up and the log's handlers ------------------------------------------------------------

static void EngMainFatalCB(const char *title, const char *reason)
{
    EngMainForceExit(title, reason);
    EngMainCallExit(-1);
}

static void EngMainPopupCB(const char *title, const char *text)
{
    EngMiscShowPopupMessage(ENG_POPUP_WARNING, title, text);
}

static bool EngMainAcceptsExitReportsCB()
{
    return EngMainIsProgramRunning() && !EngMainIsQuitting();
}

static const _DebugHandlers s_debugHandlers = {EngMainFatalCB, EngMainPopupCB, EngMainAcceptsExitReportsCB};

bool EngMainSetup()
{
    if (s_main.setup)
        return true;
    DebugSetHandlers(&s_debugHandlers);
    s_main.setup = true;
    return true;
}

void EngMainShutdown()
{
    if (!s_main.setup)
        return;
    DebugSetHandlers(nullptr);
    s_main.mainThreadSet = false;
    s_pendingSignal = 0;
    EngFrameTiming.currentTime = 0.0;
    EngFrameTiming.frameRate = 60.0f;
    EngFrameTiming.frameTime = 1.0f / 60.0f;
    EngZlibShutdown();
    s_main.setup = false;
}

void EngMainSetProgramHost(const _EngMainProgramHost *host)
{
    s_main.host = host;
}

const _EngMainProgramHost *EngMainGetProgramHost()
{
    return s_main.host;
}

bool EngMainIsProgramRunning()
{
    return s_main.host && s_main.host->isRunning();
}

// ---- Threads, clock, exits ----------------------------------------------------------------------

void EngMainSetMainThread()
{
    s_main.mainThread = pthread_self();
    s_main.mainThreadSet = true;
}

bool EngMainIsMainThreadSet()
{
    return s_main.mainThreadSet;
}

bool EngMainIsThisTheMainThread()
{
    if (!s_main.mainThreadSet)
    {
        DebugError(ENG_FUNC, "Main thread var not set");
        return true;
    }
    return pthread_equal(s_main.mainThread, pthread_self()) != 0;
}

void EngMainCallExit(int code)
{
    DebugInfo("Exiting.");
    if (!s_main.mainThreadSet || EngMainIsThisTheMainThread())
        exit(code);
    DebugError(ENG_FUNC, "Exiting thread...");
    pthread_exit(nullptr);
}

void EngMainForceExit(const char *title, const char *text)
{
    if (EngMainIsProgramRunning())
    {
        s_main.host->forceExit(title, text);
        return;
    }
    // Before a program exists there is nothing to close, but the player still has to
    // learn why the program ends.
    if (title || text)
        EngMiscShowPopupMessage(ENG_POPUP_ERROR, title, text);
}

bool EngMainIsQuitting()
{
    return EngMainIsProgramRunning() && s_main.host->isQuitting();
}

double EngMainGetTime()
{
    EngFrameTiming.currentTime = EngMiscGetClock_PC();
    return EngFrameTiming.currentTime;
}

void EngMainCheckInternals()
{
    DebugFatalIfFalseInFunction(sizeof(EngInt8) == 1, ENG_FUNC, "sizeof(EngInt8) == 1");
    DebugFatalIfFalseInFunction(sizeof(EngUInt8) == 1, ENG_FUNC, "sizeof(EngUInt8) == 1");
    DebugFatalIfFalseInFunction(sizeof(EngInt16) == 2, ENG_FUNC, "sizeof(EngInt16) == 2");
    DebugFatalIfFalseInFunction(sizeof(EngUInt16) == 2, ENG_FUNC, "sizeof(EngUInt16) == 2");
    DebugFatalIfFalseInFunction(sizeof(EngInt32) == 4, ENG_FUNC, "sizeof(EngInt32) == 4");
    DebugFatalIfFalseInFunction(sizeof(EngUInt32) == 4, ENG_FUNC, "sizeof(EngUInt32) == 4");
    char probe = (char)0xFF;
    DebugFatalIfFalseInFunction(probe < 0, ENG_FUNC, "char is not signed.");
}

void EngMainBuildCommandLine(int argc, char **argv, char *out, int size)
{
    if (!out || size < 1)
        return;
    out[0] = 0;
    for (int i = 1; i < argc && argv && argv[i]; i++)
    {
        if (i > 1)
            EngSafeStrcat(out, " ", (size_t)size);
        EngSafeStrcat(out, argv[i], (size_t)size);
    }
}

// ---- Signals -------------------------------------------------------------------------------

static void EngMainSignalHandler(int number)
{
    if (number == SIGABRT)
        return;
    if (s_pendingSignal != 0)
    {
        // The program did not end after the first request: end it now.
        signal(number, SIG_DFL);
        raise(number);
        return;
    }
    s_pendingSignal = number;
}

void EngMainInstallSignalHandlers()
{
    struct sigaction action;
    memset(&action, 0, sizeof(action));
    action.sa_handler = EngMainSignalHandler;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGABRT, &action, nullptr);
}

void EngMainRemoveSignalHandlers()
{
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    signal(SIGABRT, SIG_DFL);
}

int EngMainGetPendingSignal()
{
    return s_pendingSignal;
}
