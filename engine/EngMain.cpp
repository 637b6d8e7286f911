// Process-level start-up and shut-down helpers around the one program object.
#include "EngMain.h"

#include <pthread.h>
#include <cstdlib>

#include "EngDebug.h"
#include "EngMisc.h"

EngProgram *eng_main_program = nullptr;

static struct
{
    bool mainThreadSet;
    pthread_t mainThread;
} s_main = {false, {}};

void EngMainSetMainThread()
{
    s_main.mainThread = pthread_self();
    s_main.mainThreadSet = true;
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
    EngMiscMessageBox_PC(ENG_POPUP_ERROR, title, text);
}

bool EngMainIsQuitting()
{
    return false;
}

double EngMainGetTime()
{
    return EngMiscGetClock_PC();
}
